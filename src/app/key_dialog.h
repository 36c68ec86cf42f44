#pragma once

#include "app/actions.h"

#include <QDialog>
#include <QLineEdit>
#include <functional>

class QComboBox;
class QTableWidget;

namespace velnor {

class MessageBoxes;

// The field of the key assignment dialog that takes the next key pressed. Tab leaves it, Enter
// and Esc are the dialog's (OK and cancel); Alt, Ctrl and the like alone wait for the key they
// go with.
class KeyField : public QLineEdit {
public:
    explicit KeyField(std::function<void(int key, Qt::KeyboardModifiers)> pressed)
        : pressed_(std::move(pressed)) {
        setReadOnly(true);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void(int, Qt::KeyboardModifiers)> pressed_;
};

// "キー設定": every action with its key and pad button. The player chooses a row and presses a
// key to give it to that action (in the table, or in the key field for the keys that move
// through the table), or picks its pad button from the list. A key or button another
// action has, and a key the game keeps for itself, are refused with a message that says why.
// "標準に戻す" puts the standard assignment back in the dialog; OK keeps the dialog's
// assignment (bindings()), ｷｬﾝｾﾙ leaves it.
class KeyDialog : public QDialog {
public:
    static constexpr int kTable = 1101;
    static constexpr int kKeyField = 1102;
    static constexpr int kPadList = 1103;
    static constexpr int kStandard = 1104;
    // The table's columns.
    static constexpr int kActionColumn = 0;
    static constexpr int kKeyColumn = 1;
    static constexpr int kPadColumn = 2;

    KeyDialog(const Bindings& bindings, MessageBoxes& messages, QWidget* parent);

    const Bindings& bindings() const { return bindings_; }
    // The action of the chosen row.
    Action chosen() const;
    void choose(Action action);

protected:
    // Keys pressed in the table are assigned as in the key field, but for those that move
    // through the table (↑ ↓, Page Up/Down, Home, End) and the dialog's own (Tab, Enter, Esc).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);
    void padButtonChosen(int index);
    void restoreStandard();
    // The table, the key field and the pad list as the assignment is now.
    void refresh();

    Bindings bindings_;
    MessageBoxes& messages_;
    QTableWidget* table_ = nullptr;
    KeyField* keyField_ = nullptr;
    QComboBox* padList_ = nullptr;
};

} // namespace velnor
