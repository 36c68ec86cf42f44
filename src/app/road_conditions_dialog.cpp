#include "app/road_conditions_dialog.h"

#include "app/dialog_layout.h"
#include "platform/message_boxes.h"
#include "platform/number_text.h"
#include "sim/vehicle.h"
#include "text/text_codec.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace velnor {
namespace {

struct SurfacePlace {
    int id;
    int x, y, w, h;
};
constexpr SurfacePlace kSurfaces[kSurfaceCount] = {
    {1029, 20, 50, 60, 8},   {1030, 110, 50, 80, 8}, {1031, 20, 65, 80, 10},
    {1032, 110, 65, 80, 10}, {1033, 20, 80, 80, 8},  {1035, 110, 80, 75, 10},
};

constexpr float kPi = 3.1415927f;

} // namespace

RoadConditionsDialog::RoadConditionsDialog(Vehicle& car, MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), car_(car), messages_(messages) {
    DialogLayout layout(*this);
    layout.setSize(214, 165);
    layout.place(new QLabel(QString::fromUtf8("この条件が設定される移動距離[m]\n"
                                              "（スタート位置を0[m]とする）")),
                 0, 10, 10, 110, 20);
    layout.place(new QLineEdit, 1050, 125, 10, 70, 12);
    layout.place(new QGroupBox(QString::fromUtf8("路面")), 0, 15, 35, 185, 80)->lower();
    surfaces_ = new QButtonGroup(this);
    for (int s = 0; s < kSurfaceCount; ++s) {
        const SurfacePlace& p = kSurfaces[s];
        auto* radio =
            layout.place(new QRadioButton(fromShiftJis(surfaceLabel(s))), p.id, p.x, p.y, p.w, p.h);
        surfaces_->addButton(radio, s);
    }
    connect(surfaces_, &QButtonGroup::idClicked, this, [this](int surface) {
        setFieldText(*field(1034), fixedText(proposedRollingCoefficient(surface), 3));
        car_.roadConditions().setSurface(surface, -1);
    });
    layout.place(new QLabel(QString::fromUtf8("ころがり抵抗係数")), 0, 25, 95, 65, 10);
    layout.place(new QLineEdit, 1034, 125, 95, 65, 12);
    layout.place(new QLabel(QString::fromUtf8("道路傾斜 °")), 0, 25, 125, 85, 10);
    layout.place(new QLineEdit, 1036, 125, 125, 65, 12);
    auto* previous =
        layout.place(new QPushButton(QString::fromUtf8("&< 前の条件")), 1051, 15, 145, 40, 15);
    auto* next =
        layout.place(new QPushButton(QString::fromUtf8("次の条件 &>")), 1052, 60, 145, 40, 15);
    auto* ok = layout.place(new QPushButton(QStringLiteral("OK")), 1, 115, 145, 40, 15);
    auto* cancel = layout.place(new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ")), 2, 160, 145, 40, 15);
    ok->setDefault(true);
    connect(previous, &QPushButton::clicked, this, [this] {
        store();
        car_.roadConditions().previous();
        refresh();
    });
    connect(next, &QPushButton::clicked, this, [this] {
        store();
        car_.roadConditions().next();
        refresh();
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // On opening the entry's stored values are not shown, only the defaults.
    setCaption();
    surfaces_->button(0)->setChecked(true);
    setFieldText(*field(1034), fixedText(0.25, 3));
    setFieldText(*field(1050), QStringLiteral("0.000"));
    setFieldText(*field(1036), QStringLiteral("0.000"));
}

QLineEdit* RoadConditionsDialog::field(int id) const {
    return static_cast<QLineEdit*>(DialogLayout::control(*this, id));
}

void RoadConditionsDialog::setCaption() {
    setWindowTitle(
        QString::fromUtf8("道路条件の入力 その%1").arg(car_.roadConditions().currentIndex() + 1));
}

// The fields into the current entry.
void RoadConditionsDialog::store() {
    RoadConditions& road = car_.roadConditions();
    road.setStart(scanDouble(field(1050)->text().toStdString()), -1);
    road.setRolling(scanDouble(field(1034)->text().toStdString()), -1);
    QString grade = field(1036)->text();
    if (grade.endsWith('%')) {
        grade.chop(1);
        messages_.message("grad = " + grade.toStdString(), "デバッグ");
        road.setGradePercent(scanDouble(grade.toStdString()), -1);
    } else {
        road.setGradeDegrees(scanDouble(grade.toStdString()), -1);
    }
}

void RoadConditionsDialog::refresh() {
    const RoadConditions& road = car_.roadConditions();
    setCaption();
    const int surface = road.surface();
    surfaces_->button(surface >= 0 && surface <= 4 ? surface : 5)->setChecked(true);
    setFieldText(*field(1050), fixedText(road.start(), 3));
    setFieldText(*field(1034), fixedText(road.rolling(), 3));
    setFieldText(*field(1036), fixedText(road.grade() * 180 / kPi, 3));
}

void RoadConditionsDialog::accept() {
    store();
    RoadConditions& road = car_.roadConditions();
    road.selectFirst();
    const CarSpec& spec = car_.spec();
    // All ten values in one pass: a value is never read as a place holder, so a car named "%1"
    // shows as it is.
    const QString summary =
        QString::fromUtf8(
            "以下の条件でシミュレートします\n\n  車名  %1\n\n  全幅 %2 [mm]    全高 %3 [mm]"
            "    重量 %4 [kg]\n\n  総排気量 %5 [cc]    タイヤ %6\n\n  タイプ %7    "
            "空気抵抗 %8\n\n  ころがり抵抗 %9    傾斜 %10 [°]\n               ...\n\n"
            "（一部、小数点以下切り捨て表記）")
            .arg(fromShiftJis(spec.carname()), fixedText(spec.width() * 1000, 0),
                 fixedText(spec.height() * 1000, 0), fixedText(spec.weight(), 0),
                 fixedText(spec.displacement(), 0), fixedText(spec.tire(), 3),
                 QString::number(spec.type()), fixedText(spec.air(), 4),
                 fixedText(road.rolling(0), 4), fixedText(road.grade(0) * 180 / kPi, 3));
    messages_.message(summary.toStdString(), "スタート");
    QDialog::accept();
}

} // namespace velnor
