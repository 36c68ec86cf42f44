#pragma once

#include <QIcon>

class QPainter;

namespace velnor {

// The desktop's name for the game: its desktop entry, its icon in the icon theme and its
// AppStream metainfo are all named after it.
inline constexpr const char* kDesktopId = "org.velnor.Velnor";

// Paints the icon into the square from (0, 0) to (size, size) of the painter's device, in the
// painter's current transform. The one drawing behind the window icon and the installed icon
// files, whatever their format.
void paintProgramIcon(QPainter& painter, double size);

// The icon drawn on a transparent square picture of size × size pixels.
QImage programIconImage(int size);

// The game's icon, drawn at the two sizes a desktop asks for: 32 × 32 for the window list and
// the version box, 16 × 16 for title bars.
QIcon programIcon();

} // namespace velnor
