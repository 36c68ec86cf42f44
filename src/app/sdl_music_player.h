#pragma once

#include "platform/music_player.h"

struct _Mix_Music;

namespace velnor {

// Music through SDL2_mixer, with SDL's audio alone. Without an audio device every file fails to
// open, and the game stays silent.
class SdlMusicPlayer final : public MusicPlayer {
public:
    SdlMusicPlayer();
    ~SdlMusicPlayer() override;
    SdlMusicPlayer(const SdlMusicPlayer&) = delete;
    SdlMusicPlayer& operator=(const SdlMusicPlayer&) = delete;

    bool open(const std::string& path) override;
    void play() override;
    void stop() override;
    void close() override;
    void pause() override;
    void resume() override;
    void setVolume(float volume) override;

private:
    bool audio_ = false;
    _Mix_Music* music_ = nullptr;
};

} // namespace velnor
