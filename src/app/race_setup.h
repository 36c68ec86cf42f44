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
    // After an accepted course: whether its ghost is to be watched instead of a race.
    virtual bool watchChosen() const { return false; }
};

// The selection dialogs: the car (and then its transmission), the course.
class SelectionDialogs final : public RaceSetup {
public:
    explicit SelectionDialogs(MessageBoxes& messages) : messages_(messages) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    bool chooseCar(Game& game) override;
    bool chooseCourse(Game& game) override;
    bool watchChosen() const override { return watchChosen_; }

private:
    MessageBoxes& messages_;
    QWidget* parent_ = nullptr;
    bool watchChosen_ = false;
};

// Without asking: the first car of the list, automatic, and the first course (for tests and
// measurements); its ghost watched when `watch` is set.
class FirstCarAndCourse final : public RaceSetup {
public:
    bool chooseCar(Game& game) override;
    bool chooseCourse(Game& game) override;
    bool watchChosen() const override { return watch; }

    bool watch = false;
};

} // namespace velnor
