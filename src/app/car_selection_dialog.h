#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace velnor {

class Game;
class MessageBoxes;

// "自動車の選択": the stored cars with the summary of the highlighted one. OK reads the car,
// makes it the player's car and asks for the transmission. The buttons to enter a new car, edit
// and delete one (1045, 1049, 1046) are there but not shown.
class CarSelectionDialog : public QDialog {
public:
    static constexpr int kList = 1041;
    static constexpr int kNew = 1045;
    static constexpr int kEdit = 1049;
    static constexpr int kDelete = 1046;
    static constexpr int kNote = 1047;
    static constexpr const char* kNewCarFile = "Velnor.car";

    CarSelectionDialog(Game& game, MessageBoxes& messages, QWidget* parent);

    void accept() override;
    // The catalogue index whose summary is painted.
    int shownCar() const { return shownCar_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fillList();
    // The highlighted car, or -1 when the highlight is on none.
    int selectedCar() const;
    // Changes the list while the summary keeps showing the car it showed.
    void keepingSummary(const std::function<void()>& change);
    void newCar();
    void editCar();
    void deleteCar();
    void setNote(int index);
    void reportWriteFailure(const char* path);

    Game& game_;
    MessageBoxes& messages_;
    QListWidget* list_ = nullptr;
    QLabel* note_ = nullptr;
    int shownCar_ = 0;
};

} // namespace velnor
