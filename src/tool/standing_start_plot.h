#pragma once

#include "sim/car_figures.h"

#include <QImage>
#include <QString>

namespace velnor {

// The standing start as a picture: speed (blue, left scale) and engine speed (orange, right
// scale) over race time, the gear changes marked.
QImage standingStartPlot(const StandingStart& run, const QString& title);

} // namespace velnor
