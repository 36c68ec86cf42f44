#pragma once

#include "platform/message_boxes.h"
#include "platform/music_player.h"
#include "platform/steady_clock.h"
#include "race/sound/recording_output.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

namespace velnor::test {

// Answers questions from a script (OK when it runs out) and keeps every text shown.
class FakeMessageBoxes final : public MessageBoxes {
public:
    bool question(const std::string& text) override {
        shown.push_back("? " + text);
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool warningQuestion(const std::string& text) override {
        shown.push_back("! " + text);
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void information(const std::string& text) override { shown.push_back("i " + text); }
    void message(const std::string& text, const std::string& caption) override {
        shown.push_back(caption == "Velnor" ? "  " + text : "[" + caption + "] " + text);
    }

    std::deque<bool> answers;
    std::vector<std::string> shown;
};

// Plays nothing; keeps what was opened and played, and whether the music is paused (as the
// mixer: playing anew forgets a pause). Only the file names in `playable` open.
class FakeMusicPlayer final : public MusicPlayer {
public:
    bool open(const std::string& path) override {
        const std::string name = path.substr(path.rfind('/') + 1);
        opened.push_back(name);
        current = playable.count(name) ? name : "";
        return !current.empty();
    }
    void play() override {
        played.push_back(current);
        paused = false;
    }
    void stop() override { ++stops; }
    void close() override { current.clear(); }
    void pause() override {
        ++pauses;
        paused = true;
    }
    void resume() override {
        ++resumes;
        paused = false;
    }
    void setVolume(float level) override { volume = level; }

    std::set<std::string> playable;
    std::string current;
    std::vector<std::string> opened;
    std::vector<std::string> played;
    int stops = 0;
    int pauses = 0;
    int resumes = 0;
    bool paused = false;
    float volume = 1;
};

// The game's clock, moved by hand, and the system's monotonic clock that stamps key events,
// moved with it (its count far from the game's, and wrapping at 2^32 a few seconds in).
class HandClock final : public SteadyClock {
public:
    static constexpr std::uint32_t kMonotonicAtStart = 4294962000u;

    void advance(std::int64_t ms) { ms_ += ms; }
    // The stamp a key event that happened at `tick` of the game's clock carries.
    std::uint32_t stampOf(std::uint32_t tick) const { return monotonicMs() - (now() - tick); }

protected:
    std::int64_t elapsed() const override { return ms_; }
    std::uint32_t monotonicMs() const override {
        return kMonotonicAtStart + static_cast<std::uint32_t>(ms_);
    }

private:
    std::int64_t ms_ = 1000;
};

} // namespace velnor::test
