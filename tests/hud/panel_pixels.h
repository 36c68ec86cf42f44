#pragma once

#include "hud/canvas.h"

#include <QImage>

namespace velnor::test {

// Whether any pixel of the rectangle has the colour.
inline bool hasColour(const QImage& image, QRect area, QColor colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

// Whether any pixel of the rectangle is not white: something was drawn there.
inline bool hasInk(const QImage& image, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != Qt::white)
                return true;
    return false;
}

// A panel's canvas of the given client size, white.
inline Canvas panelOf(int width, int height) {
    Canvas canvas;
    canvas.create(QSize(width, height));
    return canvas;
}

} // namespace velnor::test
