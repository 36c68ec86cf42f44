#pragma once

#include <QObject>

class QKeyEvent;

namespace velnor {

class Game;
class MessageBoxes;

// Whether a key is pressed with Alt, Ctrl or Meta held: such keys belong to the menu and the
// accelerators, never to the game's own keys (Alt+G opens the Game menu and nothing else).
bool heldForTheMenu(const QKeyEvent& event);

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
