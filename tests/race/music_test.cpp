#include "race/music.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace velnor {
namespace {

// A player that can open the files it is given and writes down what it is asked to do.
class FakePlayer final : public MusicPlayer {
public:
    explicit FakePlayer(std::set<std::string> playable) : playable_(std::move(playable)) {}
    bool open(const std::string& path) override {
        calls.push_back("open " + path);
        return playable_.count(path) != 0;
    }
    void play() override { calls.push_back("play"); }
    void stop() override { calls.push_back("stop"); }
    void close() override { calls.push_back("close"); }
    void pause() override { calls.push_back("pause"); }
    void resume() override { calls.push_back("resume"); }
    void setVolume(float) override { calls.push_back("volume"); }

    std::vector<std::string> calls;

private:
    std::set<std::string> playable_;
};

using Calls = std::vector<std::string>;

TEST(MusicTest, TheTitleMusicPlaysFromTheGameDirectory) {
    FakePlayer player({"game/title.mp3"});
    Music music(player, "game");
    music.playTitleMusic();
    EXPECT_EQ(player.calls, (Calls{"close", "open game/title.mp3", "play"}));
    EXPECT_FALSE(music.titleMusicDisabled);
    music.stop();
    EXPECT_EQ(player.calls.back(), "stop");
}

TEST(MusicTest, TitleMusicThatWillNotOpenIsNotTriedAgain) {
    FakePlayer player({});
    Music music(player, "game");
    music.playTitleMusic();
    EXPECT_EQ(player.calls, (Calls{"close", "open game/title.mp3"}));
    EXPECT_TRUE(music.titleMusicDisabled);
    music.playTitleMusic();
    EXPECT_EQ(player.calls.size(), 2u);
}

TEST(MusicTest, EachRaceStartsTheNextOfTheFiveInTurn) {
    FakePlayer player(
        {"g/velnor1.mp3", "g/velnor2.mp3", "g/velnor3.mp3", "g/velnor4.mp3", "g/velnor5.mp3"});
    Music music(player, "g");
    std::vector<std::string> opened;
    for (int race = 0; race < 7; ++race) {
        player.calls.clear();
        music.playRaceMusic();
        ASSERT_EQ(player.calls.size(), 3u) << race;
        EXPECT_EQ(player.calls[0], "close");
        EXPECT_EQ(player.calls[2], "play");
        opened.push_back(player.calls[1]);
    }
    EXPECT_EQ(opened, (Calls{"open g/velnor1.mp3", "open g/velnor2.mp3", "open g/velnor3.mp3",
                             "open g/velnor4.mp3", "open g/velnor5.mp3", "open g/velnor1.mp3",
                             "open g/velnor2.mp3"}));
}

TEST(MusicTest, RaceFilesThatWillNotOpenAreSkipped) {
    FakePlayer player({"g/velnor2.mp3", "g/velnor5.mp3"});
    Music music(player, "g");
    music.playRaceMusic();
    EXPECT_EQ(player.calls, (Calls{"close", "open g/velnor1.mp3", "open g/velnor2.mp3", "play"}));
    EXPECT_EQ(music.playlistIndex, 2);
    player.calls.clear();
    music.playRaceMusic();
    EXPECT_EQ(player.calls, (Calls{"close", "open g/velnor3.mp3", "open g/velnor4.mp3",
                                   "open g/velnor5.mp3", "play"}));
    EXPECT_EQ(music.playlistIndex, 0);
    player.calls.clear();
    music.playRaceMusic();
    EXPECT_EQ(player.calls, (Calls{"close", "open g/velnor1.mp3", "open g/velnor2.mp3", "play"}));
    EXPECT_FALSE(music.raceMusicDisabled);
}

TEST(MusicTest, WhenNoneOfTheFiveOpensRaceMusicIsNotTriedAgain) {
    FakePlayer player({"g/title.mp3"});
    Music music(player, "g");
    music.playRaceMusic();
    EXPECT_EQ(player.calls,
              (Calls{"close", "open g/velnor1.mp3", "open g/velnor2.mp3", "open g/velnor3.mp3",
                     "open g/velnor4.mp3", "open g/velnor5.mp3"}));
    EXPECT_TRUE(music.raceMusicDisabled);
    player.calls.clear();
    music.playRaceMusic();
    EXPECT_TRUE(player.calls.empty());
    music.playTitleMusic(); // the title music is another kind: it still plays
    EXPECT_EQ(player.calls, (Calls{"close", "open g/title.mp3", "play"}));
}

} // namespace
} // namespace velnor
