#pragma once

#include <string>

namespace velnor {

// The questions and messages the game shows, with the caption "Velnor" unless another is given.
// Texts are UTF-8.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // OK/Cancel with the question icon; true for OK.
    virtual bool question(const std::string& text) = 0;
    // OK/Cancel with the warning icon; true for OK.
    virtual bool warningQuestion(const std::string& text) = 0;
    // OK with the information icon.
    virtual void information(const std::string& text) = 0;
    // OK alone, no icon.
    virtual void message(const std::string& text, const std::string& caption = "Velnor") = 0;
};

} // namespace velnor
