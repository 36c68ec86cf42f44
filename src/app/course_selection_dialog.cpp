#include "app/course_selection_dialog.h"

#include "app/dialog_layout.h"
#include "app/ghost_toggle.h"
#include "race/game.h"
#include "text/text_codec.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace velnor {

QString recordLines(const Game& game, int course) {
    QString lines;
    for (int place = 0; place < RecordBook::kPlaces; ++place) {
        const LapCounter& record = game.records().place(course, place);
        lines += QString::number(place + 1) + QStringLiteral("    ");
        lines += QString::fromStdString(recordTimeText(record));
        lines += '\n';
    }
    return lines;
}

CourseSelectionDialog::CourseSelectionDialog(Game& game, MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), game_(game) {
    setWindowTitle(QString::fromUtf8("コースの選択"));
    DialogLayout layout(*this);
    layout.setSize(214, 165);
    list_ = layout.place(new QListWidget, kList, 15, 10, 130, 95);
    auto* ok = layout.place(new QPushButton(QStringLiteral("OK")), 1, 160, 10, 40, 15);
    auto* cancel = layout.place(new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ")), 2, 160, 30, 40, 15);
    // Below the two, in the free part of their column: two lines, as the column is narrow.
    watch_ = layout.place(new QPushButton(QString::fromUtf8("ゴーストを\n見る(&W)")), kWatch, 155,
                          55, 50, 25);
    watch_->setEnabled(false); // until a course with a ghost is highlighted
    records_ = layout.place(new QLabel, kRecords, 15, 115, 180, 25);
    comment_ = layout.place(new QLabel, kComment, 15, 145, 180, 10);
    records_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Shown as the text they are, never as markup: the comment comes from a course file of any
    // origin.
    records_->setTextFormat(Qt::PlainText);
    comment_->setTextFormat(Qt::PlainText);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(watch_, &QPushButton::clicked, this, [this] { watch(); });

    for (const CatalogueEntry& entry : game.courseCatalogue.entries())
        list_->addItem(fromShiftJis(entry.name));
    list_->installEventFilter(new GhostToggle(game, messages, this));
    connect(list_, &QListWidget::currentRowChanged, this, [this] { refresh(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { refresh(); });
    list_->setCurrentRow(0);
    list_->setFocus();
    refresh();
}

void CourseSelectionDialog::refresh() {
    const int row = list_->currentRow();
    if (row < 0 || row > game_.courseCatalogue.lastIndex())
        return;
    comment_->setText(fromShiftJis(game_.courseCatalogue.entry(row).comment));
    records_->setText(recordLines(game_, row));
    watch_->setEnabled(game_.courseHasGhost(row) == 1);
}

void CourseSelectionDialog::accept() {
    if (game_.chooseCourse(list_->currentRow()) != 0)
        return; // it cannot be read: the dialog stays open
    QDialog::accept();
}

void CourseSelectionDialog::watch() {
    if (game_.courseHasGhost(list_->currentRow()) != 1)
        return; // its ghost went meanwhile: nothing to watch
    if (game_.chooseCourse(list_->currentRow()) != 0)
        return;
    watchChosen_ = true;
    QDialog::accept();
}

} // namespace velnor
