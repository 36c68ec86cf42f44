#include "app/sdl_music_player.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <algorithm>
#include <cmath>

namespace velnor {

SdlMusicPlayer::SdlMusicPlayer() {
    // SDL would take SIGINT and SIGTERM for an event queue the game never reads, and the game
    // would no longer end on them; the game handles them itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0)
        return;
    Mix_Init(MIX_INIT_MP3);
    // 1024 frames (23 ms) a buffer: the engine's note follows the accelerator without a lag
    // that is heard.
    audio_ = Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0;
}

SdlMusicPlayer::~SdlMusicPlayer() {
    close();
    if (audio_)
        Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlMusicPlayer::open(const std::string& path) {
    close();
    if (!audio_)
        return false;
    music_ = Mix_LoadMUS(path.c_str());
    return music_ != nullptr;
}

void SdlMusicPlayer::play() {
    if (music_)
        Mix_PlayMusic(music_, 0); // once, from the start
}

void SdlMusicPlayer::stop() {
    if (audio_)
        Mix_HaltMusic();
}

void SdlMusicPlayer::pause() {
    if (audio_)
        Mix_PauseMusic();
}

void SdlMusicPlayer::resume() {
    if (audio_)
        Mix_ResumeMusic();
}

void SdlMusicPlayer::setVolume(float volume) {
    if (!audio_)
        return;
    // The mixer keeps the music's volume across the files it plays.
    const float level = volume > 0 ? std::min(volume, 1.0f) : 0.0f; // NaN: silence
    Mix_VolumeMusic(static_cast<int>(std::lround(level * MIX_MAX_VOLUME)));
}

void SdlMusicPlayer::close() {
    if (!music_)
        return;
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    music_ = nullptr;
}

} // namespace velnor
