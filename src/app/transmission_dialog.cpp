#include "app/transmission_dialog.h"

#include "app/dialog_layout.h"
#include "sim/car_spec.h"

#include <QPushButton>

namespace velnor {

TransmissionDialog::TransmissionDialog(CarSpec& spec, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QString::fromUtf8("オートマチック/マニュアルの選択"));
    DialogLayout layout(*this);
    layout.setSize(129, 59);
    auto* at = layout.place(new QPushButton(QStringLiteral("AT")), kAutomatic, 10, 20, 45, 20);
    auto* mt = layout.place(new QPushButton(QStringLiteral("MT")), kManual, 70, 20, 45, 20);
    // Neither is the default button, but Enter presses the one that has the focus.
    for (QPushButton* button : {at, mt}) {
        button->setDefault(false);
        button->setAutoDefault(true);
    }
    at->setFocus();
    connect(at, &QPushButton::clicked, this, [this, &spec] {
        spec.setAutomatic(1);
        done(kAutomatic);
    });
    connect(mt, &QPushButton::clicked, this, [this, &spec] {
        spec.setAutomatic(0);
        done(kManual);
    });
}

} // namespace velnor
