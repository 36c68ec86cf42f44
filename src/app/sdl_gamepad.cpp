#include "app/sdl_gamepad.h"

#include <SDL2/SDL.h>

namespace velnor {
namespace {

void addChanges(const std::vector<PadChange>& changes, std::vector<PadEvent>& events) {
    for (const PadChange& change : changes)
        events.push_back({PadEvent::Kind::kChange, {}, change});
}

} // namespace

SdlGamepad::SdlGamepad() {
    // SDL would take SIGINT and SIGTERM for its event queue; the game handles them itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL has no window of its own (Qt has the game's), so to SDL the game is always in the
    // background: without this it would hold back every controller event. The window lets the
    // pad act only while it has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    initialised_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    // The controllers already there are announced by device-added events at the first poll.
}

SdlGamepad::~SdlGamepad() {
    if (controller_)
        SDL_GameControllerClose(controller_);
    if (initialised_)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

std::vector<PadEvent> SdlGamepad::poll(const Bindings& bindings) {
    std::vector<PadEvent> events;
    if (!initialised_)
        return events;
    SDL_PumpEvents();
    // The raw joystick events repeat the controller's; nothing else in the game reads SDL's queue.
    SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_JOYBATTERYUPDATED);
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION,
                          SDL_CONTROLLERSENSORUPDATE) > 0) {
        switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            added(event.cdevice.which, events);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            removed(event.cdevice.which, events);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (controller_ && event.cbutton.which == instanceId_)
                addChanges(input_.button(event.cbutton.button,
                                         event.type == SDL_CONTROLLERBUTTONDOWN, bindings),
                           events);
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (controller_ && event.caxis.which == instanceId_)
                addChanges(input_.axis(event.caxis.axis, event.caxis.value), events);
            break;
        default:
            break;
        }
    }
    return events;
}

void SdlGamepad::added(int deviceIndex, std::vector<PadEvent>& events) {
    if (controller_)
        return; // the first one connected drives
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller)
        return;
    controller_ = controller;
    instanceId_ = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    const char* name = SDL_GameControllerName(controller);
    name_ = name ? name : "";
    events.push_back({PadEvent::Kind::kConnected, name_, {}});
}

void SdlGamepad::removed(int instanceId, std::vector<PadEvent>& events) {
    if (!controller_ || instanceId != instanceId_)
        return;
    close(events);
    // Another controller still connected takes over.
    for (int i = 0; i < SDL_NumJoysticks() && !controller_; ++i)
        if (SDL_IsGameController(i))
            added(i, events);
}

void SdlGamepad::close(std::vector<PadEvent>& events) {
    addChanges(input_.letGoAll(), events);
    SDL_GameControllerClose(controller_);
    controller_ = nullptr;
    instanceId_ = -1;
    events.push_back({PadEvent::Kind::kDisconnected, name_, {}});
    name_.clear();
}

} // namespace velnor
