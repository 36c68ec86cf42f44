#pragma once

#include <QFont>
#include <QString>

class QDialog;
class QLineEdit;
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

    // Pixels of `units` (0 or more) dialog units, rounded to the nearest pixel with halves up, as
    // the dialog templates' own conversion does.
    int x(int units) const { return (units * baseWidth_ + 2) / 4; }
    int y(int units) const { return (units * baseHeight_ + 4) / 8; }
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

// Text typed (or pasted) into a field, made fit for one line of a file: each run of control
// characters (line breaks, tabs and the like) between two characters becomes one space, and those
// at either end are dropped. "Falco\nGT" becomes "Falco GT".
QString withoutControls(const QString& text);

// Text typed into a dialog, as the Shift-JIS bytes of the files, cut to `maxBytes` at a character
// boundary: without control characters (withoutControls), and what Shift-JIS cannot hold becomes
// "?".
std::string typedText(const QString& text, std::size_t maxBytes);

// Puts `text` into an edit field showing its start, as a field opens on Windows (setText alone
// leaves the cursor, and the view, at the end).
void setFieldText(QLineEdit& field, const QString& text);

// A number for an edit field, as the car files write it: `decimals` digits after the point.
QString fixedText(double value, int decimals = 6);

} // namespace velnor
