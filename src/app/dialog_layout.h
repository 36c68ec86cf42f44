#pragma once

#include <QFont>
#include <QString>

class QDialog;
class QWidget;

namespace velnor {

// Places controls by dialog units, as Windows lays out a dialog: a horizontal unit is a quarter
// of the dialog font's average character width, a vertical unit an eighth of its height. The
// dialogs' font is "ＭＳ Ｐゴシック" 9 pt, or IPAPGothic.
class DialogLayout {
public:
    explicit DialogLayout(QDialog& dialog) : DialogLayout(dialog, dialogFont()) {}
    // A dialog of another font; its units follow that font.
    DialogLayout(QDialog& dialog, const QFont& font);

    static QFont dialogFont();

    int x(int units) const { return units * baseWidth_ / 4; }
    int y(int units) const { return units * baseHeight_ / 8; }
    // The dialog's client size in dialog units.
    void setSize(int width, int height);
    // Puts `control` at (x, y, w, h) dialog units and gives it its numeric id as object name.
    template <typename Control>
    Control* place(Control* control, int id, int x, int y, int w, int h);

    // A control of the dialog by its id.
    static QWidget* control(const QWidget& dialog, int id);

private:
    void placeWidget(QWidget* control, int id, int x, int y, int w, int h);

    QDialog& dialog_;
    int baseWidth_;
    int baseHeight_;
};

template <typename Control>
Control* DialogLayout::place(Control* control, int id, int x, int y, int w, int h) {
    placeWidget(control, id, x, y, w, h);
    return control;
}

// Text typed into a dialog, as the Shift-JIS bytes of the files, cut to `maxBytes` at a character
// boundary; what Shift-JIS cannot hold becomes "?".
std::string typedText(const QString& text, std::size_t maxBytes);

// A number for an edit field, as the car files write it: `decimals` digits after the point.
QString fixedText(double value, int decimals = 6);

} // namespace velnor
