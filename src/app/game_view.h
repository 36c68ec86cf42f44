#pragma once

#include <QOpenGLWidget>

namespace velnor {

class MainWindow;

// The main window's client area: the title screen's canvas in the title state, the race in 3D
// while racing and after the finish.
class GameView : public QOpenGLWidget {
public:
    explicit GameView(MainWindow& window);

    // Whether an OpenGL context could be made (known after the first show).
    bool hasContext() const { return contextMade_; }

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int width, int height) override;

private:
    MainWindow& window_;
    bool contextMade_ = false;
};

} // namespace velnor
