#include "app/car_spec_dialog.h"

#include "app/dialog_layout.h"
#include "app/road_conditions_dialog.h"
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

struct FieldPlace {
    const char* label;
    int id;
    int x, y, w, h;
};

constexpr FieldPlace kFields[] = {
    {"車名", 1048, 35, 10, 65, 12},           {"説明", 1049, 135, 10, 70, 12},
    {"全幅mm", 1003, 35, 30, 29, 12},         {"全高mm", 1004, 100, 30, 29, 12},
    {"ﾎｲｰﾙﾍﾞｰｽ", 1005, 175, 30, 29, 12},      {"車両重量 kg", 1006, 50, 50, 50, 12},
    {"タイヤ径", 1016, 146, 50, 50, 12},      {"総排気量 cc", 1028, 50, 70, 50, 12},
    {"圧縮比", 1007, 146, 70, 50, 12},        {"最大出力", 1008, 50, 90, 50, 12},
    {"最大トルク", 1009, 146, 90, 50, 13},    {"１速", 1010, 50, 115, 40, 12},
    {"２速", 1011, 110, 115, 40, 12},         {"３速", 1012, 171, 115, 35, 12},
    {"４速", 1013, 50, 135, 40, 12},          {"５速", 1014, 110, 135, 40, 12},
    {"６速", 1015, 171, 135, 35, 12},         {"減速比", 1040, 50, 155, 32, 12},
    {"空気抵抗係数", 1023, 150, 205, 50, 12},
};

struct TypePlace {
    const char* label;
    int id;
    int x, y;
    int type;
};

// In the order OK looks for the checked one.
constexpr TypePlace kTypes[] = {
    {"セダン", 1017, 10, 190, 0},  {"バン", 1018, 50, 190, 1},
    {"1BOX", 1019, 85, 190, 2},    {"ハッチバック", 1024, 120, 190, 3},
    {"クーペ", 1020, 170, 190, 4}, {"トラック", 1021, 10, 205, 5},
    {"バス", 1022, 50, 205, 6},
};

} // namespace

CarSpecDialog::CarSpecDialog(const CarSpec* shown, CarSpec& target, Vehicle& car,
                             MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), target_(target) {
    setWindowTitle(QString::fromUtf8("自動車のスペック入力"));
    DialogLayout layout(*this);
    layout.setSize(215, 255);

    auto* group =
        layout.place(new QGroupBox(QString::fromUtf8("自動車タイプ")), 0, 7, 175, 199, 50);
    group->lower();
    auto* gearsLabel = layout.place(new QLabel(QString::fromUtf8("変速比")), 0, 10, 115, 24, 10);
    gearsLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (const FieldPlace& f : kFields) {
        auto* edit = layout.place(new QLineEdit, f.id, f.x, f.y, f.w, f.h);
        edit->setMaxLength(63);
        // The label stands just left of its field.
        const QString text = QString::fromUtf8(f.label);
        const int labelUnits = 4 * QFontMetrics(font()).horizontalAdvance(text) / layout.x(4) + 2;
        auto* label = layout.place(new QLabel(text), 0, std::max(0, f.x - labelUnits), f.y,
                                   labelUnits - 1, f.h);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    types_ = new QButtonGroup(this);
    for (const TypePlace& t : kTypes) {
        auto* radio =
            layout.place(new QRadioButton(QString::fromUtf8(t.label)), t.id, t.x, t.y, 48, 10);
        types_->addButton(radio, t.type);
    }
    connect(types_, &QButtonGroup::idClicked, this, [this](int type) {
        setFieldText(*field(1023), fixedText(proposedAirCoefficient(type), 4));
    });

    auto* roads =
        layout.place(new QPushButton(QString::fromUtf8("道路条件...")), 1025, 10, 234, 40, 15);
    auto* graph =
        layout.place(new QPushButton(QString::fromUtf8("グラフ入力...")), 1026, 55, 234, 40, 15);
    roads->hide();
    graph->hide();
    connect(roads, &QPushButton::clicked, this,
            [this, &car, &messages] { RoadConditionsDialog(car, messages, this).exec(); });
    auto* ok = layout.place(new QPushButton(QStringLiteral("OK")), 1, 120, 234, 40, 15);
    auto* cancel = layout.place(new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ")), 2, 166, 234, 40, 15);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (shown) {
        fillFields(*shown);
    } else {
        types_->button(0)->setChecked(true);
        setFieldText(*field(1023), fixedText(0.0025, 4));
    }
    field(1048)->setFocus();
}

QLineEdit* CarSpecDialog::field(int id) const {
    return static_cast<QLineEdit*>(DialogLayout::control(*this, id));
}

void CarSpecDialog::fillFields(const CarSpec& spec) {
    setFieldText(*field(1048), fromShiftJis(spec.carname()));
    setFieldText(*field(1049), fromShiftJis(spec.comment()));
    setFieldText(*field(1003), fixedText(spec.width() * 1000));
    setFieldText(*field(1004), fixedText(spec.height() * 1000));
    setFieldText(*field(1005), fixedText(spec.wheelbase() * 1000));
    setFieldText(*field(1006), fixedText(spec.weight()));
    setFieldText(*field(1016), fixedText(spec.tire()));
    setFieldText(*field(1028), fixedText(spec.displacement()));
    setFieldText(*field(1007), fixedText(spec.compression()));
    setFieldText(*field(1008), fixedText(spec.power()));
    setFieldText(*field(1009), fixedText(spec.torque()));
    for (int k = 0; k < CarSpec::kGears; ++k)
        setFieldText(*field(1010 + k), fixedText(spec.gear(k)));
    setFieldText(*field(1040), fixedText(spec.slow()));
    if (QAbstractButton* type = types_->button(spec.type()))
        type->setChecked(true);
    setFieldText(*field(1023), fixedText(spec.air(), 4));
}

void CarSpecDialog::accept() {
    CarSpec& spec = target_;
    const auto number = [this](int id) { return scanDouble(field(id)->text().toStdString()); };
    const auto given = [this](int id) { return !field(id)->text().isEmpty(); };
    spec.setCarname(typedText(field(1048)->text(), CarSpec::kNameSize - 1));
    spec.setComment(typedText(field(1049)->text(), CarSpec::kCommentSize - 1));
    spec.setWidth(number(1003) * 0.001);
    spec.setHeight(number(1004) * 0.001);
    spec.setWheelbase(number(1005) * 0.001);
    spec.setWeight(number(1006));
    const QString tyre = field(1016)->text();
    if (tyre.contains('/'))
        spec.setTireFromText(tyre.toStdString());
    else
        spec.setTire(number(1016));
    spec.setDisplacement(number(1028));
    spec.setCompression(number(1007));
    spec.setPower(number(1008));
    spec.setTorque(number(1009));
    for (int k = 0; k < CarSpec::kGears; ++k)
        if (given(1010 + k))
            spec.setGear(k, number(1010 + k));
    if (given(1040))
        spec.setSlow(number(1040));
    if (given(1023))
        spec.setAir(number(1023));
    for (const TypePlace& t : kTypes) {
        if (types_->button(t.type)->isChecked()) {
            spec.setType(t.type);
            break;
        }
    }
    QDialog::accept();
}

} // namespace velnor
