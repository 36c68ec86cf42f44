// The race's sounds on SDL's audio: mixed into the device's samples over the music, played by
// SDL's dummy driver as by a sound card, and silent where there is no audio device at all.
#include "app/sdl_music_player.h"
#include "app/sdl_sound_output.h"

#include <QThread>
#include <SDL2/SDL_mixer.h>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace velnor {
namespace {

// Adding the race's stereo sound to the device's samples: integers scaled by their full scale
// (0.5 of 16 bits is 16383.5, cut to 16383 towards zero) and saturating at their ends, floats
// added as they are, one channel the mean of the two sides, channels past the second untouched.
TEST(MixIntoTest, TheSoundIsAddedToEachFormatAndLayout) {
    const std::array<float, 4> sound = {0.5f, -0.25f, 0.5f, -0.5f}; // two frames

    std::vector<std::int16_t> s16 = {1000, -1000, 30000, -30000};
    mixInto(sound.data(), 2, s16.data(), SampleFormat::kS16, 2);
    EXPECT_EQ(s16, (std::vector<std::int16_t>{17383, -9191, 32767, -32768}));

    std::vector<std::int16_t> mono = {0, 100};
    mixInto(sound.data(), 2, mono.data(), SampleFormat::kS16, 1);
    EXPECT_EQ(mono, (std::vector<std::int16_t>{4095, 100})); // (0.5 - 0.25) / 2; (0.5 - 0.5) / 2

    std::vector<std::int32_t> s32 = {0, 2000000000, 0, 0};
    mixInto(sound.data(), 2, s32.data(), SampleFormat::kS32, 2);
    EXPECT_EQ(s32, (std::vector<std::int32_t>{1073741823, 1463129088, 1073741823, -1073741823}));

    std::vector<float> f32 = {0.25f, 0.25f, 7, 7, 0, 0, 7, 7}; // four channels
    mixInto(sound.data(), 2, f32.data(), SampleFormat::kF32, 4);
    EXPECT_EQ(f32, (std::vector<float>{0.75f, 0, 7, 7, 0.5f, -0.5f, 7, 7}));

    std::vector<std::int16_t> other = {5, 6, 7, 8};
    mixInto(sound.data(), 2, other.data(), SampleFormat::kOther, 2);
    EXPECT_EQ(other, (std::vector<std::int16_t>{5, 6, 7, 8}));
}

// SDL's dummy driver takes the mixer's buffers at the pace of a sound card: the race's sounds
// are mixed into them from the audio thread while the game's thread sends states and cues, and
// the output leaves before the music's audio closes.
TEST(SdlSoundOutputTest, TheDummyDriverPlaysTheSounds) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlMusicPlayer music;
    SdlSoundOutput sound;
    ASSERT_TRUE(sound.active());
    SoundState state;
    state.playerGain = 1;
    state.playerRpm = 3000;
    for (int wait = 0; wait < 500 && sound.framesMixed() < 8192; ++wait) {
        sound.output().publish(state);
        sound.output().cue(Cue::kCountBeep, -3000);
        state.playerRpm += 10;
        QThread::msleep(10);
    }
    EXPECT_GE(sound.framesMixed(), 8192u); // some 0.2 s of sound taken by the device

    // The music's volume on the mixer's scale of 0 to 128, out-of-range values held to its ends.
    const std::pair<float, int> volumes[] = {{0.5f, 64}, {0.4f, 51}, {1.0f, 128}, {2.0f, 128},
                                             {0.0f, 0},  {-1.0f, 0}, {NAN, 0}};
    for (const auto& [volume, mixer] : volumes) {
        music.setVolume(volume);
        EXPECT_EQ(Mix_VolumeMusic(-1), mixer) << volume;
    }
}

// No audio device: the music opens nothing, the race's sounds go nowhere, and nothing fails.
TEST(SdlSoundOutputTest, WithoutAnAudioDeviceItIsSilent) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlMusicPlayer music;
    SdlSoundOutput sound;
    EXPECT_FALSE(sound.active());
    sound.output().publish(SoundState{});
    sound.output().cue(Cue::kGoBeep, 0);
    sound.output().setHeld(true);
    sound.output().setVolume(0.5f);
    music.setVolume(0.5f);
    EXPECT_FALSE(music.open("title.mp3"));
    EXPECT_EQ(sound.framesMixed(), 0u);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}

} // namespace
} // namespace velnor
