#include "app/ghost_toggle.h"

#include "platform/message_boxes.h"
#include "race/game.h"

#include <QKeyEvent>

namespace velnor {

bool heldForTheMenu(const QKeyEvent& event) {
    return (event.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) != 0;
}

GhostToggle::GhostToggle(Game& game, MessageBoxes& messages, QObject* parent)
    : QObject(parent), game_(game), messages_(messages) {}

bool GhostToggle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_G || heldForTheMenu(*key))
        return QObject::eventFilter(watched, event);
    if (game_.ghostEnabled()) {
        messages_.information("ゴーストカーを表示しません");
        game_.setGhostEnabled(false);
    } else {
        messages_.information("ゴーストカーを表示します");
        game_.setGhostEnabled(true);
    }
    return true;
}

} // namespace velnor
