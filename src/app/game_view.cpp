#include "app/game_view.h"

#include "app/main_window.h"
#include "render/frame_view.h"
#include "render/scene.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>

namespace velnor {

bool openGlAvailable() {
    // QOpenGLWidget cannot report a context it failed to make (it never calls initializeGL
    // then and may crash on its first flush), so the display is asked before the view is made.
    QOpenGLContext context;
    context.setFormat(QSurfaceFormat::defaultFormat());
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return false;
    context.doneCurrent();
    return true;
}

namespace {

// The title screen is a picture on the main canvas; it is copied to whichever view shows it.
void paintTitle(MainWindow& window, QPaintDevice& device) {
    window.titlePainted();
    QPainter painter(&device);
    painter.drawImage(QPoint(0, 0), window.mainCanvas().image());
}

// What the scene draws of the race: the one place that reads the game for a frame.
FrameView frameView(Game& game) {
    return {.world = game.worldToDraw(),
            .playerModel = game.playerModelToDraw(),
            .ghostModel = game.ghostModelToDraw(),
            .ghostShown = game.ghostEnabled() != 0,
            .camera = game.camera()};
}

} // namespace

GameView::GameView(MainWindow& window) : QOpenGLWidget(&window), window_(window) {
    setFocusPolicy(Qt::NoFocus);
    setUpdateBehavior(QOpenGLWidget::NoPartialUpdate);
}

void GameView::paintGL() {
    if (window_.game().gameState() == GameState::kTitle) {
        paintTitle(window_, *this);
        return;
    }
    drawFrame(frameView(window_.game()));
}

PlainView::PlainView(MainWindow& window) : QWidget(&window), window_(window) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlainView::paintEvent(QPaintEvent*) {
    if (window_.game().gameState() == GameState::kTitle) {
        paintTitle(window_, *this);
        return;
    }
    QPainter(this).fillRect(rect(), Qt::black);
}

} // namespace velnor
