#include "app/panel_widget.h"

#include <QPainter>

namespace velnor {

PanelWidget::PanelWidget(QWidget* parent, QRect geometry) : QWidget(parent) {
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    canvas_.create(geometry.size());
}

void PanelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas_.image(), QRect(QPoint(0, 0), size()));
}

void PanelWidget::resizeEvent(QResizeEvent*) {
    canvas_.clear();
}

} // namespace velnor
