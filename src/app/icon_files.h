#pragma once

#include <QString>
#include <vector>

namespace velnor {

// The pixel sizes of the icon's pictures in the icon theme, besides the scalable one.
const std::vector<int>& iconThemeSizes();

// The icon's file names below an icon theme's folder, relative to it:
// "48x48/apps/org.velnor.Velnor.png", "scalable/apps/org.velnor.Velnor.svg".
QString iconPicturePath(int size);
QString iconScalablePath();

// Writes the icon into the icon theme folder `theme` (made as needed): a PNG for every size of
// iconThemeSizes() and the scalable SVG, all from the window icon's drawing. False with the file
// and the reason in `error` when one cannot be written.
bool writeIconFiles(const QString& theme, QString& error);

} // namespace velnor
