#include "app/main_window.h"
#include "platform/message_boxes.h"

// Watching the course's ghost drive its run alone, from the course selection: the race's view,
// panels and keys, with the ghost's car in the player's place. Esc (or Enter after its finish,
// or F3) ends it at the title; the driving keys and S do nothing meanwhile.
namespace velnor {

void MainWindow::startWatching() {
    const QSize size = clientSize();
    syncPassClock(); // the dialogs took their time
    if (game_->startWatching(size.width(), size.height()) != 0) {
        // Its ghost file went between the course selection and now.
        messages_.message("このコースのゴーストカーがありません。");
        return;
    }
    fitViewport();
    mainCanvas_.clear();
    redrawView();
}

void MainWindow::stopWatching() {
    stopRace();
    music_.playTitleMusic();
}

} // namespace velnor
