#include "app/title_screen.h"

#include "hud/canvas.h"
#include "hud/text.h"
#include "platform/directory_walk.h"

#include <QImage>
#include <QPainter>

namespace velnor {

void drawTitleScreen(Canvas& canvas, const std::string& root) {
    QPainter painter(&canvas.image());
    const int w = canvas.clientSize().width();
    const int h = canvas.clientSize().height();
    const QImage picture(QString::fromStdString(joinPath(root, "title.bmp")));
    if (!picture.isNull())
        painter.drawImage((w - picture.width()) / 2, (h - picture.height()) / 2 - 20, picture);
    const QColor blue(51, 51, 255);
    drawText(painter, QStringLiteral("Ver 1.02"), w - 100, h - 24, Align::kLeft, blue, 20);
    drawText(painter, QString::fromUtf8("[F2]キーを押してください"), 20, h - 24, Align::kLeft, blue,
             18);
}

} // namespace velnor
