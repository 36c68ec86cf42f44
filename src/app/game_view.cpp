#include "app/game_view.h"

#include "app/main_window.h"
#include "world/scene.h"

#include <QOpenGLContext>
#include <QPainter>

namespace velnor {

GameView::GameView(MainWindow& window) : QOpenGLWidget(&window), window_(window) {
    setFocusPolicy(Qt::NoFocus);
    setUpdateBehavior(QOpenGLWidget::NoPartialUpdate);
}

void GameView::initializeGL() {
    contextMade_ = context() != nullptr && context()->isValid();
    window_.renderContextCreated(contextMade_);
}

void GameView::resizeGL(int, int) {}

void GameView::paintGL() {
    if (window_.game().gameState == GameState::kTitle) {
        window_.titlePainted();
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), window_.mainCanvas().image());
        return;
    }
    drawFrame(window_.game());
}

} // namespace velnor
