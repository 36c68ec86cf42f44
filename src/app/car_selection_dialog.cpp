#include "app/car_selection_dialog.h"

#include "app/car_spec_dialog.h"
#include "app/dialog_layout.h"
#include "app/ghost_toggle.h"
#include "app/transmission_dialog.h"
#include "hud/text.h"
#include "platform/message_boxes.h"
#include "race/game.h"
#include "text/text_codec.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <string>

namespace velnor {
namespace {
const QRect kSummaryArea(QPoint(30, 170), QPoint(299, 299)); // pixels
} // namespace

CarSelectionDialog::CarSelectionDialog(Game& game, MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), game_(game), messages_(messages) {
    setWindowTitle(QString::fromUtf8("自動車の選択"));
    DialogLayout layout(*this);
    layout.setSize(214, 165);
    list_ = layout.place(new QListWidget, kList, 15, 10, 130, 95);
    auto* ok = layout.place(new QPushButton(QStringLiteral("OK")), 1, 160, 10, 40, 15);
    auto* cancel = layout.place(new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ")), 2, 160, 30, 40, 15);
    auto* add =
        layout.place(new QPushButton(QString::fromUtf8("新規入力...")), kNew, 160, 50, 40, 15);
    auto* edit =
        layout.place(new QPushButton(QString::fromUtf8("詳細設定...")), kEdit, 160, 70, 40, 15);
    auto* remove =
        layout.place(new QPushButton(QString::fromUtf8("削除")), kDelete, 160, 90, 40, 15);
    note_ = layout.place(new QLabel, kNote, 10, 115, 35, 12);
    note_->setTextFormat(Qt::PlainText); // a car's comment, as its file has it
    for (QWidget* hidden : std::initializer_list<QWidget*>{add, edit, remove, note_})
        hidden->hide();
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, [this] { newCar(); });
    connect(edit, &QPushButton::clicked, this, [this] { editCar(); });
    connect(remove, &QPushButton::clicked, this, [this] { deleteCar(); });

    fillList();
    list_->setCurrentRow(0);
    list_->installEventFilter(new GhostToggle(game, messages, this));
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        shownCar_ = row;
        update(kSummaryArea);
    });
    game.setGhostEnabled(true); // every opening switches the ghost on again
    list_->setFocus();
}

void CarSelectionDialog::fillList() {
    list_->clear();
    const CarCatalogue& cars = game_.carCatalogue;
    for (int i = 0; i <= cars.lastIndex(); ++i)
        list_->addItem(fromShiftJis(cars.entry(i).name));
}

int CarSelectionDialog::selectedCar() const {
    const int i = list_->currentRow();
    return i >= 0 && i <= game_.carCatalogue.lastIndex() ? i : -1;
}

void CarSelectionDialog::keepingSummary(const std::function<void()>& change) {
    const int shown = shownCar_;
    change();
    shownCar_ = shown;
}

void CarSelectionDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (shownCar_ < 0 || shownCar_ > game_.carCatalogue.lastIndex())
        return;
    QPainter painter(this);
    painter.setFont(makeFont(12));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(kSummaryArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     fromShiftJis(game_.carCatalogue.entry(shownCar_).comment));
}

void CarSelectionDialog::accept() {
    if (game_.carCatalogue.loadCar(list_->currentRow()) != 0)
        return; // no car, or its file is gone: the dialog stays open
    game_.playerCar = game_.carCatalogue.workCar();
    TransmissionDialog(game_.playerCar.spec(), this).exec();
    QDialog::accept();
}

void CarSelectionDialog::setNote(int index) {
    if (index >= 0 && index <= game_.carCatalogue.lastIndex())
        note_->setText(fromShiftJis(game_.carCatalogue.entry(index).comment));
}

void CarSelectionDialog::reportWriteFailure(const char* path) {
    messages_.message(std::string("ファイル ") + path + " に書き込めません");
}

void CarSelectionDialog::newCar() {
    CarCatalogue& cars = game_.carCatalogue;
    if (cars.count() >= CarCatalogue::kCapacity) {
        // Said before the player types a car that could not be kept.
        messages_.information("これ以上自動車を登録できません（登録できるのは" +
                              std::to_string(CarCatalogue::kCapacity) + "台までです）");
        return;
    }
    cars.workCar().fullReset(game_.now());
    CarSpecDialog dialog(nullptr, game_.playerCar.spec(), game_.playerCar, messages_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    cars.workCar() = game_.playerCar;
    if (cars.appendCar(kNewCarFile) != 0) {
        reportWriteFailure(kNewCarFile);
        return;
    }
    const int i = cars.lastIndex();
    list_->addItem(fromShiftJis(cars.entry(i).name));
    keepingSummary([&] { list_->setCurrentRow(i); });
    setNote(i);
}

void CarSelectionDialog::deleteCar() {
    CarCatalogue& cars = game_.carCatalogue;
    const int i = selectedCar();
    if (i < 0)
        return;
    const std::string path = cars.entry(i).path;
    if (!messages_.warningQuestion(fromShiftJis(cars.entry(i).name).toStdString() +
                                   " を削除しますか？"))
        return;
    if (cars.deleteCar(i) != 0) {
        reportWriteFailure(path.c_str());
        return;
    }
    keepingSummary([&] {
        delete list_->takeItem(i);
        list_->setCurrentRow(i == cars.lastIndex() + 1 ? i - 1 : i);
    });
    setNote(i);
}

void CarSelectionDialog::editCar() {
    CarCatalogue& cars = game_.carCatalogue;
    const int i = selectedCar();
    if (i < 0)
        return;
    cars.loadCar(i);
    CarSpecDialog dialog(&cars.workCar().spec(), game_.playerCar.spec(), game_.playerCar, messages_,
                         this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::string path = cars.entry(i).path;
    cars.workCar() = game_.playerCar;
    if (cars.rewriteCar(i) != 0) {
        reportWriteFailure(path.c_str());
        return;
    }
    keepingSummary([&] {
        fillList();
        setNote(i);
        list_->setCurrentRow(i);
    });
}

} // namespace velnor
