#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace velnor {

// Shift-JIS bytes of the game's files as text for the screen and for JSON. Invalid bytes become
// U+FFFD rather than failing.
QString fromShiftJis(std::string_view bytes);

// Text typed by the user as Shift-JIS bytes; a character Shift-JIS cannot hold becomes "?". The
// JIS X 0208 forms that input methods type (〜 − ¥ ‖ ¬ ¢ £ —) go to the codes where the code page
// has its own forms of them (～ － \ ∥ ￢ ￠ ￡ ―), which is what reading them back shows.
std::string toShiftJis(const QString& text);

} // namespace velnor
