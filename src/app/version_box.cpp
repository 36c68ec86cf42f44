#include "app/version_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace velnor {

VersionBox::VersionBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("バージョン情報"));
    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("Velnor Version 1.02"), this);
    name->setTextFormat(Qt::PlainText);
    auto* notice = new QLabel(QString::fromUtf8("Velnor の開発者たちによる自由な作品"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setObjectName(QStringLiteral("1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(notice, 1, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
}

} // namespace velnor
