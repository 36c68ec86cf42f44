#include "app/program_icon.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velnor {

// A red car seen from the side on a dark blue badge, laid out on a 32-unit grid and scaled.
void paintProgramIcon(QPainter& painter, double size) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 40, 110));
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    painter.setBrush(QColor(235, 235, 235)); // the road
    painter.drawRect(QRectF(2, 23, 28, 2));

    QPainterPath body;
    body.moveTo(3, 21);
    body.lineTo(3, 16);
    body.lineTo(10, 14);
    body.lineTo(14, 9);
    body.lineTo(22, 9);
    body.lineTo(26, 14);
    body.lineTo(29, 15);
    body.lineTo(29, 21);
    body.closeSubpath();
    painter.setBrush(QColor(215, 30, 30));
    painter.drawPath(body);
    painter.setBrush(QColor(170, 210, 240)); // the windows
    painter.drawPolygon(QPolygonF({QPointF(12, 14), QPointF(15, 10.5), QPointF(18, 10.5),
                                   QPointF(18, 14)}));
    painter.drawPolygon(QPolygonF({QPointF(19.5, 14), QPointF(19.5, 10.5), QPointF(21.5, 10.5),
                                   QPointF(24, 14)}));
    for (const double x : {9.0, 23.0}) { // the wheels
        painter.setBrush(QColor(30, 30, 30));
        painter.drawEllipse(QPointF(x, 21), 3.2, 3.2);
        painter.setBrush(QColor(180, 180, 180));
        painter.drawEllipse(QPointF(x, 21), 1.3, 1.3);
    }
    painter.restore();
}

QImage programIconImage(int size) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    paintProgramIcon(painter, size);
    return picture;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {32, 16})
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    return icon;
}

} // namespace velnor
