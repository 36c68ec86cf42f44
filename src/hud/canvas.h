#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

namespace velnor {

// A window's off-screen picture: the game draws into it when it likes, and the window copies it
// when it paints. One pixel wider and higher than the window's client area.
class Canvas {
public:
    // A picture for a window's client size, white and cleared.
    void create(QSize clientSize);
    // Fills the client area with the background colour.
    void clear();
    void release();
    // A new picture for the new client size, keeping the background colour.
    void resize(QSize clientSize);

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    QColor background() const { return background_; }
    void setBackground(QColor colour) { background_ = colour; }
    bool isCreated() const { return !image_.isNull(); }
    QSize clientSize() const { return clientSize_; }

private:
    QImage image_;
    QSize clientSize_;
    QColor background_ = Qt::white;
};

} // namespace velnor
