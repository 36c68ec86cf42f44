#pragma once

#include <QDialog>

namespace velnor {

class CarSpec;

// "オートマチック/マニュアルの選択": AT (1056) or MT (1057) sets the car's transmission; Escape
// leaves it as it was.
class TransmissionDialog : public QDialog {
public:
    static constexpr int kAutomatic = 1056;
    static constexpr int kManual = 1057;

    TransmissionDialog(CarSpec& spec, QWidget* parent);
};

} // namespace velnor
