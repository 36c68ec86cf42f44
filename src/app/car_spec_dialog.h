#pragma once

#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace velnor {

class CarSpec;
class MessageBoxes;
class Vehicle;

// "自動車のスペック入力": a car typed in, or a stored car edited. On OK every field goes into
// `target` through its setters (a value they refuse, or a field left empty where that counts,
// keeps what `target` held). "道路条件..." (1025, not shown) opens the road conditions of `car`.
class CarSpecDialog : public QDialog {
public:
    // `shown` gives the fields when editing; null for a new car (empty fields, a sedan).
    CarSpecDialog(const CarSpec* shown, CarSpec& target, Vehicle& car, MessageBoxes& messages,
                  QWidget* parent);

    void accept() override;

private:
    QLineEdit* field(int id) const;
    // Shows the data of a stored car in the fields and its type's button.
    void fillFields(const CarSpec& spec);

    CarSpec& target_;
    QButtonGroup* types_ = nullptr;
};

} // namespace velnor
