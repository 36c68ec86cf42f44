#pragma once

#include "platform/music_player.h"

#include <string>

namespace velnor {

// The game's music: "title.mp3" on the title screen, and at each race start the next of
// "velnor1.mp3" ... "velnor5.mp3" in turn, skipping files that do not open. A kind of music that
// fails (the title music, or all five race files) is not tried again during the run. Files are
// looked for in the game directory; each plays once.
class Music {
public:
    static constexpr int kRaceFiles = 5;

    Music(MusicPlayer& player, std::string root);

    void playTitleMusic();
    void playRaceMusic();
    void stop() { player_.stop(); }
    // The race paused: its music holds, and goes on where it was.
    void pause() { player_.pause(); }
    void resume() { player_.resume(); }
    // 0 (silence) to 1, for every file from now on.
    void setVolume(float volume) { player_.setVolume(volume); }

    // The first paint of the title screen starts the title music.
    bool titleMusicPending = true;
    int playlistIndex = 0;
    bool raceMusicDisabled = false;
    bool titleMusicDisabled = false;

private:
    MusicPlayer& player_;
    std::string root_;
};

} // namespace velnor
