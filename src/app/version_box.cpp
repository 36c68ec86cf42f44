#include "app/version_box.h"

#include "app/dialog_layout.h"
#include "app/program_icon.h"
#include "platform/game_directory.h"

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>

namespace velnor {
namespace {

// The box's font, the bold system font of the desktop the game was made for: 16 pixels high,
// which makes its dialog units two pixels each way.
QFont systemFont() {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

} // namespace

VersionBox::VersionBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("バージョン情報"));
    DialogLayout layout(*this, systemFont());
    layout.setSize(230, 75);
    auto* icon = layout.place(new QLabel, 0, 14, 9, 20, 20);
    icon->setPixmap(programIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* name = layout.place(
        new QLabel(QStringLiteral("Velnor Version ") + QString::fromLatin1(kGameVersion)), 0, 49,
        10, 119, 8);
    name->setTextFormat(Qt::PlainText);
    layout.place(new QLabel(QString::fromUtf8("Velnor の開発者たちの作品")), 0, 49, 20, 108, 8);
    auto* ok = layout.place(new QPushButton(QStringLiteral("OK")), 1, 195, 6, 30, 11);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Placed at (22, 17) units from the owner's client area, as a dialog without centring is.
    if (auto* owner = qobject_cast<QMainWindow*>(parent); owner && owner->centralWidget())
        move(owner->centralWidget()->mapToGlobal(QPoint(layout.x(22), layout.y(17))));
}

} // namespace velnor
