#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace velnor {

class Game;
class MessageBoxes;

// "コースの選択": the listed courses with the comment and best three times of the highlighted
// one. OK loads the course and makes it the race's course; if it cannot be read the dialog stays.
// "ゴーストを見る", enabled while the highlighted course has a ghost file, loads the course as OK
// does and asks for its ghost to be watched instead of a race.
class CourseSelectionDialog : public QDialog {
public:
    static constexpr int kList = 1053;
    static constexpr int kRecords = 1055;
    static constexpr int kComment = 1054;
    static constexpr int kWatch = 1056;

    CourseSelectionDialog(Game& game, MessageBoxes& messages, QWidget* parent);

    void accept() override;
    // Whether the dialog was accepted by "ゴーストを見る" rather than OK.
    bool watchChosen() const { return watchChosen_; }

private:
    void refresh();
    void watch();

    Game& game_;
    bool watchChosen_ = false;
    QPushButton* watch_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* records_ = nullptr;
    QLabel* comment_ = nullptr;
};

// The three record lines of a course as the course selection shows them.
QString recordLines(const Game& game, int course);

} // namespace velnor
