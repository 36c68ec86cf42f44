#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

class QWidget;

namespace velnor {

// A window's off-screen picture: the game draws into it when it likes, and the window copies it
// when it paints. One pixel wider and higher than the window's client area.
class Canvas {
public:
    void attach(QWidget* window) { window_ = window; }
    // A picture for the attached window's client size (or `clientSize`), white and cleared.
    void create();
    void create(QSize clientSize);
    // Fills the client area with the background colour.
    void clear();
    void release();
    // A new picture for the new client size, keeping the background colour.
    void resize();
    void resize(QSize clientSize);

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    QWidget* window() const { return window_; }
    QColor background() const { return background_; }
    void setBackground(QColor colour) { background_ = colour; }
    bool isCreated() const { return !image_.isNull(); }
    QSize clientSize() const { return clientSize_; }

private:
    QWidget* window_ = nullptr;
    QImage image_;
    QSize clientSize_;
    QColor background_ = Qt::white;
};

} // namespace velnor
