#include "app/ghost_toggle.h"

#include "platform/message_boxes.h"
#include "race/game.h"

#include <QKeyEvent>

namespace velnor {

GhostToggle::GhostToggle(Game& game, MessageBoxes& messages, QObject* parent)
    : QObject(parent), game_(game), messages_(messages) {}

bool GhostToggle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_G)
        return QObject::eventFilter(watched, event);
    if (game_.ghostEnabled) {
        messages_.information("ゴーストカーを表示しません");
        game_.ghostEnabled = 0;
    } else {
        messages_.information("ゴーストカーを表示します");
        game_.ghostEnabled = 1;
    }
    return true;
}

} // namespace velnor
