#pragma once

#include <QDialog>

class QLabel;
class QListWidget;

namespace velnor {

class Game;
class MessageBoxes;

// "コースの選択": the listed courses with the comment and best three times of the highlighted
// one. OK loads the course and makes it the race's course; if it cannot be read the dialog stays.
class CourseSelectionDialog : public QDialog {
public:
    static constexpr int kList = 1053;
    static constexpr int kRecords = 1055;
    static constexpr int kComment = 1054;

    CourseSelectionDialog(Game& game, MessageBoxes& messages, QWidget* parent);

    void accept() override;

private:
    void refresh();

    Game& game_;
    QListWidget* list_ = nullptr;
    QLabel* records_ = nullptr;
    QLabel* comment_ = nullptr;
};

// The three record lines of a course as the course selection shows them.
QString recordLines(const Game& game, int course);

} // namespace velnor
