#include "app/game_view.h"

#include "app/main_window.h"
#include "render/frame_view.h"
#include "render/scene.h"

#include <GL/gl.h>
#include <QCoreApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>
#include <QResizeEvent>
#include <QSurfaceFormat>
#include <algorithm>

namespace velnor {

void useGameSurfaceFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    QSurfaceFormat::setDefaultFormat(format);
}

bool openGlAvailable() {
    // The view makes its context only when it is first shown, and cannot report one it failed
    // to make then, so the display is asked before the view is made.
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

// In the 3D view the title is scaled to the framebuffer's device pixels as the window's other
// widgets are (by the raster painter), then copied into it pixel for pixel from its top edge.
// (A painter on the view would place it from the bottom edge, half a pixel off where a
// fractional ratio makes the framebuffer's height a rounded one, and sample it anew.)
void paintTitle(MainWindow& window, GameView& view) {
    const qreal ratio = view.devicePixelRatio();
    const QSize device = view.size() * ratio;
    QImage picture(device, QImage::Format_RGBA8888);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    paintTitle(window, picture);
    picture = picture.mirrored(); // OpenGL's rows run from the bottom up
    glViewport(0, 0, device.width(), device.height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (const GLenum off : {GL_DEPTH_TEST, GL_LIGHTING, GL_BLEND, GL_TEXTURE_2D, GL_FOG})
        glDisable(off);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glRasterPos2f(-1, -1); // the lower left corner
    glDrawPixels(device.width(), device.height(), GL_RGBA, GL_UNSIGNED_BYTE, picture.constBits());
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

GameView::GameView(MainWindow& window)
    : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate), window_(window) {
    // The keys are the main window's: a click on the view must not take the focus from it.
    setFlag(Qt::WindowDoesNotAcceptFocus);
    // The scene hides what lies behind by the depth test, whatever format the game asked for.
    QSurfaceFormat surface = QSurfaceFormat::defaultFormat();
    surface.setDepthBufferSize(std::max(surface.depthBufferSize(), 24));
    setFormat(surface);
}

QImage GameView::grabFramebuffer() {
    if (!isValid())
        return {};
    makeCurrent();
    paintGL();
    // Reads the back buffer, where the frame was just drawn.
    return QOpenGLWindow::grabFramebuffer();
}

void GameView::drawSoon() {
    if (drawPosted_)
        return;
    drawPosted_ = true;
    QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

bool GameView::event(QEvent* event) {
    if (event->type() == QEvent::UpdateRequest) {
        drawPosted_ = false;
        if (!isExposed())
            return true; // minimised or hidden: drawn when exposed again
    }
    return QOpenGLWindow::event(event);
}

void GameView::keyPressEvent(QKeyEvent* event) {
    QCoreApplication::sendEvent(&window_, event);
}

void GameView::keyReleaseEvent(QKeyEvent* event) {
    QCoreApplication::sendEvent(&window_, event);
}

void GameView::paintGL() {
    if (window_.game().gameState() == GameState::kTitle) {
        paintTitle(window_, *this);
        return;
    }
    drawFrame(frameView(window_.game()));
}

ViewArea::ViewArea(QWidget* parent, GameView& view) : QWidget(parent), view_(view) {
    // The view's window goes into a native window placed in the main window's own; the panels,
    // made later as native windows there too, are stacked over it. The area itself stays a
    // plain widget: where the menu bar's height makes its place a fractional one in device
    // pixels, windows nested in a window of its own would round their places once more.
    container_ = QWidget::createWindowContainer(&view, this);
    container_->setAttribute(Qt::WA_DontCreateNativeAncestors);
    container_->setAttribute(Qt::WA_NativeWindow);
    setFocusPolicy(Qt::NoFocus);
    // The view's window covers the whole area: nothing of the area's own is ever shown.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    container_->setFocusPolicy(Qt::NoFocus);
    container_->setGeometry(rect());
    container_->lower();
}

void ViewArea::paintEvent(QPaintEvent*) {
    // On the screen the view's window hides whatever is painted here, and the area is painted
    // only when it is shown or resized; in a grab this is the view's picture, which the panels
    // are then painted over.
    QPainter painter(this);
    const QImage picture = view_.grabFramebuffer();
    painter.drawImage(rect(), picture);
}

void ViewArea::resizeEvent(QResizeEvent* event) {
    container_->setGeometry(QRect(QPoint(0, 0), event->size()));
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
