#include "tool/tool_command.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace velnor {
namespace {

// The title picture: a road running into the distance under the sky, and the game's name.
QImage titlePicture() {
    QImage picture(640, 480, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(120, 190, 255));
    sky.setColorAt(1, QColor(204, 255, 255));
    painter.fillRect(0, 0, 640, 240, sky);
    QLinearGradient ground(0, 240, 0, 480);
    ground.setColorAt(0, QColor(230, 160, 110));
    ground.setColorAt(1, QColor(204, 128, 77));
    painter.fillRect(0, 240, 640, 240, ground);
    // The road and its centre line, narrowing to the horizon.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(204, 204, 204));
    painter.drawPolygon(
        QPolygonF({QPointF(300, 240), QPointF(340, 240), QPointF(620, 480), QPointF(20, 480)}));
    painter.setBrush(Qt::white);
    for (int i = 0; i < 6; ++i) {
        const double y0 = 250 + i * i * 7.0 + i * 10.0;
        const double y1 = y0 + 6 + i * 4.0;
        const auto half = [](double y) { return 1 + (y - 240) / 240 * 7; };
        painter.drawPolygon(QPolygonF({QPointF(320 - half(y0), y0), QPointF(320 + half(y0), y0),
                                       QPointF(320 + half(y1), y1), QPointF(320 - half(y1), y1)}));
    }
    // The name, with a shadow.
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(96);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 12);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 80, 120));
    painter.drawText(QRect(6, 66, 640, 120), Qt::AlignCenter, QStringLiteral("VELNOR"));
    painter.setPen(QColor(51, 51, 255));
    painter.drawText(QRect(0, 60, 640, 120), Qt::AlignCenter, QStringLiteral("VELNOR"));
    QFont small(QStringLiteral("IPAGothic"));
    small.setPixelSize(22);
    painter.setFont(small);
    painter.setPen(QColor(40, 40, 120));
    painter.drawText(QRect(0, 170, 640, 30), Qt::AlignCenter,
                     QString::fromUtf8("ドライビング・シミュレーター"));
    return picture;
}

} // namespace

// Draws the title picture into the file named, in the format its name gives.
int writeTitle(const Invocation& call, QTextStream& out, QTextStream& err) {
    if (call.positional.size() != 2) {
        err << "velnor-tool: usage: velnor-tool title FILE.bmp\n";
        return 2;
    }
    if (!titlePicture().save(call.positional[1])) { // the format follows the file name
        err << "velnor-tool: " << call.positional[1] << ": cannot be written\n";
        return 1;
    }
    out << "wrote " << call.positional[1] << "\n";
    return 0;
}

} // namespace velnor
