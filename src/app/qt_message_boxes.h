#pragma once

#include "platform/message_boxes.h"

class QWidget;

namespace velnor {

// The game's questions and messages as Qt message boxes with the caption "Velnor".
class QtMessageBoxes final : public MessageBoxes {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    bool question(const std::string& text) override;
    bool warningQuestion(const std::string& text) override;
    void information(const std::string& text) override;
    void message(const std::string& text, const std::string& caption) override;

private:
    QWidget* owner() const;

    QWidget* parent_ = nullptr;
};

} // namespace velnor
