#pragma once

namespace velnor {

class Game;

// What the start command asks before a race: the car (and its transmission), then the course.
// Each answers whether the player accepted.
class RaceSetup {
public:
    virtual ~RaceSetup() = default;
    virtual bool chooseCar(Game& game) = 0;
    virtual bool chooseCourse(Game& game) = 0;
};

// Until the selection dialogs exist: the first car of the list, automatic, and the first course.
class FirstCarAndCourse final : public RaceSetup {
public:
    bool chooseCar(Game& game) override;
    bool chooseCourse(Game& game) override;
};

} // namespace velnor
