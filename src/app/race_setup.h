#pragma once

class QWidget;

namespace velnor {

class Game;
class MessageBoxes;

// What the start command asks before a race: the car (and its transmission), then the course.
// Each answers whether the player accepted.
class RaceSetup {
public:
    virtual ~RaceSetup() = default;
    virtual bool chooseCar(Game& game) = 0;
    virtual bool chooseCourse(Game& game) = 0;
};

// The selection dialogs: the car (and then its transmission), the course.
class SelectionDialogs final : public RaceSetup {
public:
    explicit SelectionDialogs(MessageBoxes& messages) : messages_(messages) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    bool chooseCar(Game& game) override;
    bool chooseCourse(Game& game) override;

private:
    MessageBoxes& messages_;
    QWidget* parent_ = nullptr;
};

// Without asking: the first car of the list, automatic, and the first course (for tests and
// measurements).
class FirstCarAndCourse final : public RaceSetup {
public:
    bool chooseCar(Game& game) override;
    bool chooseCourse(Game& game) override;
};

} // namespace velnor
