#include "hud/text.h"

#include <QFontMetrics>
#include <QPainter>
#include <map>

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

namespace {

struct Face {
    QFont font;
    QFontMetrics metrics;
};

// The panels are redrawn every pass in a handful of heights: each font and its metrics are made
// once. Only the window's thread draws; the cache lives until the process ends (never destroyed,
// so no font outlives Qt's font database at exit).
const Face& faceOf(int height) {
    static auto* faces = new std::map<int, Face>;
    auto found = faces->find(height);
    if (found == faces->end()) {
        const QFont font = makeFont(height);
        found = faces->emplace(height, Face{font, QFontMetrics(font)}).first;
    }
    return found->second;
}

} // namespace

void drawText(QPainter& painter, const QString& text, int x, int y, Align align, QColor colour,
              int fontHeight, QColor background) {
    const Face& face = faceOf(fontHeight);
    const QFont& font = face.font;
    const QFontMetrics& metrics = face.metrics;
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
