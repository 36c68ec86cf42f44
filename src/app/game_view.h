#pragma once

#include <QImage>
#include <QOpenGLWindow>
#include <QWidget>

namespace velnor {

class MainWindow;

// Whether this display can give the game an OpenGL context of the default format.
bool openGlAvailable();
// The surface every OpenGL context of the game asks for, set as the default before the window is
// made: a compatibility context for the fixed-function scene, 24-bit colour, depth, double
// buffered.
void useGameSurfaceFormat();

// The 3D view: the title screen's canvas in the title state, the race in 3D while racing and
// after the finish. A native window of its own that swaps its own frames, so a frame costs the
// scene and the swap alone: the window's other widgets are not composed with it at every frame
// (with a software renderer that composition cost more than the scene).
class GameView : public QOpenGLWindow {
public:
    explicit GameView(MainWindow& window);

    // The view as the game draws it now, in device pixels: a frame drawn afresh into the back
    // buffer and read back, not shown. Null before the view is first exposed.
    QImage grabFramebuffer();
    // Draws the view and swaps it to the screen at the event loop's next turn, once however
    // often it is asked meanwhile. (QWindow::update waits 5 ms for the window system, which
    // would show each frame that much later and hold a loop without a pause to 200 frames a
    // second.) Nothing is drawn while the view is not exposed.
    void drawSoon();

protected:
    void paintGL() override;
    bool event(QEvent* event) override;
    // Keys typed with the pointer over the view can come to its window: they are the main
    // window's.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    MainWindow& window_;
    bool drawPosted_ = false; // a draw is waiting in the event queue
};

// The main window's client area where the 3D view can be had: the view's window fills it, and
// the race panels are native child widgets stacked over it. A grab of the area (QWidget::grab)
// shows what the player sees: the view's picture with the panels over it.
class ViewArea : public QWidget {
public:
    ViewArea(QWidget* parent, GameView& view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    GameView& view_;
    QWidget* container_ = nullptr;
};

// The client area where no OpenGL context can be had: the title screen, and the race panels
// over a blank view, so the game still starts, shows its menus and can be quit.
class PlainView : public QWidget {
public:
    explicit PlainView(MainWindow& window);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MainWindow& window_;
};

} // namespace velnor
