#include "app/panel_widget.h"

#include <QPainter>
#include <QResizeEvent>

namespace velnor {

PanelWidget::PanelWidget(QWidget* parent, QRect geometry) : QWidget(parent) {
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A window of its own, stacked over the 3D view's: showing the panel anew puts its own
    // pixels on the screen, and the view's frames are not composed with it. Its parent stays a
    // plain widget (see ViewArea).
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_NativeWindow);
    setFocusPolicy(Qt::NoFocus);
    canvas_.create(geometry.size());
}

void PanelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas_.image(), QRect(QPoint(0, 0), size()));
}

void PanelWidget::resizeEvent(QResizeEvent* event) {
    // Qt delivers a resize when a widget is first shown, after the game has drawn into the
    // canvas: that picture stays. Only a panel of another size gets a new, blank canvas.
    if (event->size() != canvas_.clientSize())
        canvas_.resize(event->size());
}

} // namespace velnor
