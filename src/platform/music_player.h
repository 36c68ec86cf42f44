#pragma once

#include <string>

namespace velnor {

// Plays one music file at a time, once, from its start.
class MusicPlayer {
public:
    virtual ~MusicPlayer() = default;
    // Opens the file as the current media (closing the previous one); false if it cannot be
    // played.
    virtual bool open(const std::string& path) = 0;
    // Plays the current media from its start, once.
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual void close() = 0;
    // Holds the media where it is, and goes on from there; nothing when nothing plays. Playing
    // anew after a pause plays, the pause forgotten.
    virtual void pause() = 0;
    virtual void resume() = 0;
    // The music's volume from now on, this media and the next: 0 (silence) to 1 (as recorded).
    virtual void setVolume(float volume) = 0;
};

} // namespace velnor
