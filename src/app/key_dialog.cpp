#include "app/key_dialog.h"

#include "app/binding_names.h"
#include "app/dialog_layout.h"
#include "platform/message_boxes.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace velnor {

void KeyField::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore(); // the dialog's: cancel, OK
        return;
    default:
        break;
    }
    event->accept();
    if (event->isAutoRepeat() || isModifierKey(event->key()))
        return;
    pressed_(event->key(), event->modifiers());
}

KeyDialog::KeyDialog(const Bindings& bindings, MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), bindings_(bindings), messages_(messages) {
    setWindowTitle(QString::fromUtf8("キー設定"));
    createControls();
    choose(Action::kAccelerator);
    table_->setFocus();
}

void KeyDialog::createControls() {
    DialogLayout layout(*this);
    layout.setSize(260, 224);
    auto* hint = layout.place(
        new QLabel(QString::fromUtf8("行を選んでキーを押すと、その操作のキーになります。")), 0, 7,
        5, 246, 9);
    hint->setTextFormat(Qt::PlainText);
    table_ = layout.place(new QTableWidget(kActionCount, 3), kTable, 7, 16, 246,
                          158); // every row, none scrolled
    table_->setHorizontalHeaderLabels({QString::fromUtf8("操作"), QString::fromUtf8("キー"),
                                       QString::fromUtf8("パッドのボタン")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(layout.y(12));
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(kActionColumn, layout.x(110));
    table_->setColumnWidth(kKeyColumn, layout.x(60));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int a = 0; a < kActionCount; ++a)
        for (int column = 0; column < 3; ++column)
            table_->setItem(a, column, new QTableWidgetItem);

    layout.place(new QLabel(QString::fromUtf8("キー:")), 0, 7, 182, 24, 8);
    keyField_ = layout.place(
        new KeyField([this](int key, Qt::KeyboardModifiers mods) { keyPressed(key, mods); }),
        kKeyField, 32, 180, 80, 12);
    layout.place(new QLabel(QString::fromUtf8("パッド:")), 0, 122, 182, 30, 8);
    padList_ = layout.place(new QComboBox, kPadList, 153, 180, 100, 12);
    padList_->addItem(padButtonTitle(-1));
    for (int button = 0; button < kPadButtonCount; ++button)
        padList_->addItem(padButtonTitle(button));

    auto* standard =
        layout.place(new QPushButton(QString::fromUtf8("標準に戻す")), kStandard, 7, 202, 60, 15);
    auto* ok = layout.place(new QPushButton(QStringLiteral("OK")), 1, 153, 202, 48, 15);
    auto* cancel = layout.place(new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ")), 2, 205, 202, 48, 15);
    ok->setDefault(true);
    standard->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(standard, &QPushButton::clicked, this, [this] { restoreStandard(); });
    table_->installEventFilter(this);
    connect(table_, &QTableWidget::currentCellChanged, this, [this] { refresh(); });
    // A row chosen with the mouse is ready for its key at once.
    connect(table_, &QTableWidget::cellClicked, this, [this] { keyField_->setFocus(); });
    connect(padList_, &QComboBox::activated, this, [this](int index) { padButtonChosen(index); });
}

bool KeyDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != table_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return QDialog::eventFilter(watched, event);
    default:
        break;
    }
    if (!key->isAutoRepeat() && !isModifierKey(key->key()))
        keyPressed(key->key(), key->modifiers());
    return true;
}

Action KeyDialog::chosen() const {
    const int row = table_->currentRow();
    return row >= 0 && row < kActionCount ? static_cast<Action>(row) : Action::kAccelerator;
}

void KeyDialog::choose(Action action) {
    table_->setCurrentCell(static_cast<int>(action), kActionColumn);
    refresh();
}

void KeyDialog::keyPressed(int key, Qt::KeyboardModifiers modifiers) {
    const QString refusal = keyRefusal(key, modifiers);
    if (!refusal.isEmpty()) {
        messages_.message(
            (refusal + QString::fromUtf8("\n別のキーを選んでください。")).toStdString());
        return;
    }
    const Action action = chosen();
    const Action holder = bindings_.actionOfKey(key);
    if (holder != Action::kCount && holder != action) {
        messages_.message(QString::fromUtf8("キー %1 はすでに「%2」に割り当てられています。")
                              .arg(keyTitle(key), actionTitle(holder))
                              .toStdString());
        return;
    }
    bindings_.key[static_cast<int>(action)] = key;
    refresh();
}

void KeyDialog::padButtonChosen(int index) {
    const int button = index - 1; // the list starts with "なし"
    const Action action = chosen();
    const Action holder = bindings_.actionOfPadButton(button);
    if (holder != Action::kCount && holder != action) {
        messages_.message(
            QString::fromUtf8("パッドのボタン %1 はすでに「%2」に割り当てられています。")
                .arg(padButtonTitle(button), actionTitle(holder))
                .toStdString());
    } else {
        bindings_.padButton[static_cast<int>(action)] = button;
    }
    refresh(); // a refused button goes back in the list too
}

void KeyDialog::restoreStandard() {
    bindings_ = Bindings::standard();
    refresh();
}

void KeyDialog::refresh() {
    for (int a = 0; a < kActionCount; ++a) {
        table_->item(a, kActionColumn)->setText(actionTitle(static_cast<Action>(a)));
        table_->item(a, kKeyColumn)->setText(keyTitle(bindings_.key[a]));
        table_->item(a, kPadColumn)->setText(padButtonTitle(bindings_.padButton[a]));
    }
    const int a = static_cast<int>(chosen());
    keyField_->setText(keyTitle(bindings_.key[a]));
    padList_->setCurrentIndex(bindings_.padButton[a] + 1);
}

} // namespace velnor
