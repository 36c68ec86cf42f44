#include "hud/text.h"

#include <QFontMetrics>
#include <QPainter>

namespace velnor {

QFont makeFont(int height) {
    QFont font;
    font.setFamilies({QString::fromUtf8("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                      QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(height);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void drawText(QPainter& painter, const QString& text, int x, int y, Align align, QColor colour,
              int fontHeight, QColor background) {
    const QFont font = makeFont(fontHeight);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    int left = x;
    if (align == Align::kCentre)
        left = x - width / 2;
    else if (align == Align::kRight)
        left = x - width;
    const QRect cell(left, y, width, metrics.height());
    painter.save();
    painter.fillRect(cell, background);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}

} // namespace velnor
