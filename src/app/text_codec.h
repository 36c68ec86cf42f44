#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace velnor {

// Shift-JIS bytes of the game's files as text for the screen and for JSON. Invalid bytes become
// U+FFFD rather than failing.
QString fromShiftJis(std::string_view bytes);

// Text typed by the user as Shift-JIS bytes; a character Shift-JIS cannot hold becomes "?".
std::string toShiftJis(const QString& text);

} // namespace velnor
