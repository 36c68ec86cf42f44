#pragma once

#include "platform/game_directory.h"

#include <string>

namespace velnor {

// What the game tells the player at the start about a game directory it cannot use as it should:
// the problem with the path, and how the game goes on. Empty when there is nothing to tell.
std::string directoryNotice(const GameDirectory& directory);

} // namespace velnor
