#pragma once

#include "app/title_screen.h"
#include "hud/canvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <string>

// Pictures as the window tests compare them: what a widget shows against what the game's drawing
// functions draw afresh for the same state.
namespace velnor::test {

// A picture in device pixels as the eye compares it: 32-bit RGB.
inline QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

// How many pixels of `reference`, a picture in logical pixels of an area `size` large, are not
// shown by `shown`, a picture of that area in device pixels at `ratio` device pixels per logical
// pixel. Each logical pixel is looked for in the device pixel under its centre, which lies well
// inside it at any ratio of 1 or more, whichever way the picture was scaled. A picture of the
// wrong size differs everywhere.
inline int differences(const QImage& shown, const QImage& reference, QSize size, qreal ratio) {
    const QSize device(qRound(size.width() * ratio), qRound(size.height() * ratio));
    if (shown.size() != device)
        return size.width() * size.height();
    const QImage want = rgb(reference);
    const QImage got = rgb(shown);
    const auto at = [ratio](int logical, int limit) {
        return std::min(static_cast<int>((logical + 0.5) * ratio), limit - 1);
    };
    int count = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            count += got.pixel(at(x, device.width()), at(y, device.height())) != want.pixel(x, y);
    return count;
}

// What a widget shows of itself and its children, in device pixels.
inline QImage grabbed(QWidget* widget) {
    return widget->grab().toImage();
}

// Pixels of `reference` that the display does not show where `area` of `window` lies: the window
// system's own pixels, once the window has composed the 3D view and whatever lies over it. The
// display is given a bounded while to catch up with the last repaint. Without a display of its
// own (the offscreen platform) there is nothing to look at: 0.
inline int screenDifferences(QWidget& window, QWidget* area, const QImage& reference) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return 0;
    const QPoint at = area->mapTo(&window, QPoint(0, 0));
    const qreal ratio = window.devicePixelRatioF();
    const auto shownNow = [&] {
        const QPixmap pixels = window.screen()->grabWindow(window.winId(), at.x(), at.y(),
                                                           area->width(), area->height());
        return differences(pixels.toImage(), reference, area->size(), ratio);
    };
    int count = shownNow();
    for (int i = 0; i < 50 && count != 0; ++i) {
        QTest::qWait(20);
        count = shownNow();
    }
    return count;
}

// The title screen as drawn afresh for a client area of `size`.
inline QImage referenceTitle(const std::string& root, QSize size) {
    Canvas canvas;
    canvas.create(size);
    drawTitleScreen(canvas, root);
    return canvas.image();
}

} // namespace velnor::test
