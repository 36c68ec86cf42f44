#pragma once

#include <QIcon>

namespace velnor {

// The game's icon, drawn at the two sizes a desktop asks for: 32 × 32 for the window list and
// the version box, 16 × 16 for title bars.
QIcon programIcon();

} // namespace velnor
