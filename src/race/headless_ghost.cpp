#include "race/headless_ghost.h"

#include "platform/data_line.h"
#include "platform/directory_walk.h"
#include "platform/line_reader.h"
#include "platform/tick_clock.h"
#include "race/game.h"
#include "race/ghost_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace velnor {
namespace {

// Why the ghost file `path` of course `course` gives no ghost: it is missing, cannot be read, or
// its first section names another course.
std::string whyNoGhost(const std::string& path, const std::string& course) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? path + ": no ghost of the course \"" + course + "\""
                               : path + ": " + std::strerror(errno);
    if (!S_ISREG(info.st_mode))
        return path + ": not a file";
    LineReader reader;
    if (!reader.open(path))
        return path + ": cannot be read";
    TextLine line;
    for (int number = 1; reader.next(line); ++number) {
        if (isCommentLine(line.text) || !isHeaderLine(line.text))
            continue;
        return path + ":" + std::to_string(number) + ": the ghost of \"" +
               std::string(headerName(line.text)) + "\", not of \"" + course + "\"";
    }
    return path + ": no section \"[" + course + "]\": not a ghost file";
}

// The race time at which the first channel of `log` to fill up took its last entry; -1 if none.
std::int32_t fullFrom(const GhostLog& log) {
    constexpr int kLast = GhostLog::kCapacity - 1;
    std::int32_t from = -1;
    const auto take = [&](std::int32_t time) { from = from < 0 ? time : std::min(from, time); };
    for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel)
        if (log.eventState(channel, kLast) != -1)
            take(log.eventTime(channel, kLast));
    for (int channel = 0; channel < GhostLog::kAnalogChannels; ++channel)
        if (log.value(channel, kLast) != GhostLog::kEmptyValue)
            take(log.valueTime(channel, kLast));
    return from;
}

} // namespace

GhostReplay replayCourseGhost(const std::string& root, const std::string& course) {
    GhostReplay replay;
    ManualClock clock(1000);
    RaceEvents events;
    auto game = std::make_unique<Game>(root, clock, events);
    game->courseCatalogue.scanCourses();
    game->carCatalogue.scanCars();
    game->carCatalogue.sortCars();
    const int index = game->courseCatalogue.indexOfCourse(course);
    if (index < 0) {
        replay.error = "no course named \"" + course + "\"";
        return replay;
    }
    if (game->chooseCourse(index) != 0) {
        replay.error = std::string(game->courseCatalogue.entry(index).path) +
                       ": cannot read the course \"" + course + "\"";
        return replay;
    }
    replay.file = joinPath(root, ghostFileName(game->courseCatalogue.entry(index).name));
    game->setGhostEnabled(true);
    game->startRace(640, 480);
    if (!game->ghostEnabled()) {
        replay.error = whyNoGhost(replay.file, course);
        return replay;
    }
    replay.namedCar = game->ghostLog().carName();
    replay.car = game->ghostCar().spec().carname();
    replay.standIn = game->carCatalogue.indexOfCar(replay.namedCar) < 0 &&
                     game->carCatalogue.indexOfCar(std::string(firstWord(replay.namedCar))) < 0;
    replay.statedFinish = game->ghostLog().finishTime();
    replay.fullFrom = fullFrom(game->ghostLog());
    replay.run = game->ghostRun();
    return replay;
}

} // namespace velnor
