#pragma once

#include <string>

namespace velnor {

class Canvas;

// The title screen: "title.bmp" of the game directory centred (20 pixels above the middle) when
// it can be read, the version at the bottom right and "[F2]キーを押してください" at the bottom
// left.
void drawTitleScreen(Canvas& canvas, const std::string& root);

} // namespace velnor
