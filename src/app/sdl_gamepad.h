#pragma once

#include "app/pad_input.h"

#include <string>
#include <vector>

struct _SDL_GameController;

namespace velnor {

// Something the pad did since the last poll.
struct PadEvent {
    enum class Kind { kConnected, kDisconnected, kChange };
    Kind kind;
    std::string name; // the controller's name, UTF-8 as the driver gives it (kConnected, ...)
    PadChange change{Action::kCount, ActionSource::kPadButton, false}; // kChange
};

// The game controller that drives, through SDL's game controller API and its mapping database:
// the first one connected. Controllers may come and go while the game runs; when the one that
// drives goes, everything it held is let go and the next connected one, if any, takes over.
// Without SDL's joystick support (or without permission to read the devices) there is simply
// never a controller.
class SdlGamepad {
public:
    SdlGamepad();
    ~SdlGamepad();
    SdlGamepad(const SdlGamepad&) = delete;
    SdlGamepad& operator=(const SdlGamepad&) = delete;

    // Everything pending since the last poll, in order; buttons act through `bindings`.
    std::vector<PadEvent> poll(const Bindings& bindings);
    bool connected() const { return controller_ != nullptr; }
    // False where SDL could not start its controller support: there will never be a pad.
    bool available() const { return initialised_; }

private:
    void added(int deviceIndex, std::vector<PadEvent>& events);
    void removed(int instanceId, std::vector<PadEvent>& events);
    void close(std::vector<PadEvent>& events);

    bool initialised_ = false;
    _SDL_GameController* controller_ = nullptr;
    int instanceId_ = -1;
    std::string name_;
    PadInput input_;
};

} // namespace velnor
