#include "app/dialog_layout.h"

#include "platform/fixed_text.h"
#include "platform/number_text.h"
#include "text/text_codec.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLineEdit>

namespace velnor {

QFont DialogLayout::dialogFont() {
    QFont font;
    font.setFamilies({QString::fromUtf8("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic")});
    font.setPixelSize(12); // 9 points at 96 dots per inch
    return font;
}

DialogLayout::DialogLayout(QDialog& dialog, const QFont& font) : dialog_(dialog) {
    dialog.setFont(font);
    const QFontMetrics metrics(font);
    // The average width of the 52 Latin letters, rounded, as Windows measures a dialog font.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseWidth_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    baseHeight_ = font.pixelSize(); // the cell height of the dialog font
}

void DialogLayout::setSize(int width, int height) {
    dialog_.setFixedSize(x(width), y(height));
}

void DialogLayout::placeWidget(QWidget* control, int id, int x0, int y0, int w, int h) {
    control->setParent(&dialog_);
    control->setGeometry(x(x0), y(y0), x(w), y(h));
    if (id != 0)
        control->setObjectName(QString::number(id));
}

QWidget* DialogLayout::control(const QWidget& dialog, int id) {
    return dialog.findChild<QWidget*>(QString::number(id));
}

namespace {

// Characters that would break or hide a line of the files: the C0 and C1 controls with DEL, and
// the Unicode line and paragraph separators.
bool isControl(QChar c) {
    return c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
           c.category() == QChar::Separator_Paragraph;
}

} // namespace

QString withoutControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    bool gap = false; // controls seen since the last kept character
    for (const QChar c : text) {
        if (isControl(c)) {
            gap = true;
            continue;
        }
        if (gap && !out.isEmpty())
            out += ' ';
        gap = false;
        out += c;
    }
    return out;
}

std::string typedText(const QString& text, std::size_t maxBytes) {
    const std::string bytes = toShiftJis(withoutControls(text));
    return bytes.substr(0, shiftJisPrefixLength(bytes, maxBytes));
}

void setFieldText(QLineEdit& field, const QString& text) {
    field.setText(text);
    field.setCursorPosition(0);
}

QString fixedText(double value, int decimals) {
    return QString::fromStdString(formatFixed(value, decimals));
}

} // namespace velnor
