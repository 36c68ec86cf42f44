#include "race/music.h"

#include "platform/directory_walk.h"

namespace velnor {

Music::Music(MusicPlayer& player, std::string root) : player_(player), root_(std::move(root)) {}

void Music::playTitleMusic() {
    if (titleMusicDisabled)
        return;
    player_.close();
    if (player_.open(joinPath(root_, "title.mp3")))
        player_.play();
    else
        titleMusicDisabled = true;
}

void Music::playRaceMusic() {
    if (raceMusicDisabled)
        return;
    player_.close();
    for (int attempt = 0; attempt < kRaceFiles; ++attempt) {
        const std::string file = "velnor" + std::to_string(playlistIndex + 1) + ".mp3";
        playlistIndex = (playlistIndex + 1) % kRaceFiles;
        if (player_.open(joinPath(root_, file))) {
            player_.play();
            return;
        }
    }
    raceMusicDisabled = true;
}

} // namespace velnor
