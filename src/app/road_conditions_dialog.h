#pragma once

#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace velnor {

class MessageBoxes;
class Vehicle;

// "道路条件の入力 その%d": the road conditions of a run, one entry at a time: where it begins, the
// surface, the rolling resistance, the grade (in degrees, or in percent when the text ends in
// "%"). OK shows a summary of the run to be simulated.
class RoadConditionsDialog : public QDialog {
public:
    RoadConditionsDialog(Vehicle& car, MessageBoxes& messages, QWidget* parent);

    void accept() override;

private:
    QLineEdit* field(int id) const;
    void store();
    void refresh();
    void setCaption();

    Vehicle& car_;
    MessageBoxes& messages_;
    QButtonGroup* surfaces_ = nullptr;
};

} // namespace velnor
