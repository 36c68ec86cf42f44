#pragma once

#include <QOpenGLWidget>
#include <QWidget>

namespace velnor {

class MainWindow;

// Whether this display can give the game an OpenGL context of the default format.
bool openGlAvailable();

// The main window's client area: the title screen's canvas in the title state, the race in 3D
// while racing and after the finish.
class GameView : public QOpenGLWidget {
public:
    explicit GameView(MainWindow& window);

protected:
    void paintGL() override;

private:
    MainWindow& window_;
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
