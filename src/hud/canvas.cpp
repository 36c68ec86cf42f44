#include "hud/canvas.h"

#include <QPainter>

namespace velnor {

void Canvas::create(QSize clientSize) {
    clientSize_ = clientSize.expandedTo(QSize(0, 0));
    image_ = QImage(clientSize_.width() + 1, clientSize_.height() + 1, QImage::Format_RGB32);
    background_ = Qt::white;
    clear();
}

void Canvas::clear() {
    if (image_.isNull())
        return;
    QPainter painter(&image_);
    painter.fillRect(QRect(QPoint(0, 0), clientSize_), background_);
}

void Canvas::release() {
    image_ = QImage();
    clientSize_ = QSize();
}

void Canvas::resize(QSize clientSize) {
    const QColor kept = background_;
    release();
    create(clientSize);
    background_ = kept;
}

} // namespace velnor
