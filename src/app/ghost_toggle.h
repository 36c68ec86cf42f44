#pragma once

#include <QObject>

namespace velnor {

class Game;
class MessageBoxes;

// The G key in the car and course lists: switches the ghost car of the next race off or on,
// saying which, and goes no further (the list's selection stays).
class GhostToggle : public QObject {
public:
    GhostToggle(Game& game, MessageBoxes& messages, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Game& game_;
    MessageBoxes& messages_;
};

} // namespace velnor
