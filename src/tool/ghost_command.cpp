#include "race/headless_ghost.h"
#include "race/lap_counter.h"
#include "text/text_codec.h"
#include "tool/json_output.h"
#include "tool/tool_command.h"

namespace velnor {
namespace {

QString raceTime(std::int32_t ms) {
    return QString::fromStdString(formatRaceTime(ms));
}

void printGhostSheet(QTextStream& out, const QString& course, const GhostReplay& ghost) {
    out << "Ghost of " << course << ": " << fromShiftJis(ghost.car);
    if (ghost.standIn)
        out << " (no listed car is named \"" << fromShiftJis(ghost.namedCar)
            << "\": in the game the car chosen last stands in, here the default car)";
    else if (ghost.car != ghost.namedCar)
        out << " (the file names \"" << fromShiftJis(ghost.namedCar) << "\")";
    out << "\n  file  " << QString::fromLocal8Bit(ghost.file.c_str()) << "\n";
    const LapCounter& laps = ghost.run.laps;
    for (int lap = 0; lap < laps.completedLaps(); ++lap)
        out << "  lap " << lap + 1 << "  " << raceTime(laps.lapTime(lap)) << "\n";
    if (ghost.run.finished)
        out << "  total  " << raceTime(laps.totalTime()) << " as replayed";
    else
        out << "  not finished: " << laps.completedLaps() << " of " << laps.lapTotal()
            << " laps in " << raceTime(ghost.run.path.empty() ? 0 : ghost.run.path.back().time)
            << " as replayed";
    out << "; the file states " << raceTime(ghost.statedFinish) << "\n";
    if (ghost.fullFrom >= 0)
        out << "  its log is full from " << raceTime(ghost.fullFrom)
            << ": from there the ghost drives on as its controls last were\n";
}

QJsonObject ghostJson(const QString& course, const GhostReplay& ghost) {
    QJsonArray laps;
    for (int lap = 0; lap < ghost.run.laps.completedLaps(); ++lap)
        laps.append(ghost.run.laps.lapTime(lap));
    return QJsonObject{{"course", course},
                       {"file", QString::fromLocal8Bit(ghost.file.c_str())},
                       {"carname", fromShiftJis(ghost.namedCar)},
                       {"car", fromShiftJis(ghost.car)},
                       {"laps", laps},
                       {"finished", ghost.run.finished},
                       {"totalTime", ghost.run.finished ? ghost.run.laps.totalTime() : 0},
                       {"statedFinish", ghost.statedFinish},
                       {"fullFrom", ghost.fullFrom}};
}

// One line per tenth of a second: race time (s), position (world units), speed (km/h).
void printGhostPath(QTextStream& out, const GhostRun& run) {
    out << "time_s,x,y,speed_kmh\n";
    for (const GhostPathPoint& point : run.path)
        if (point.time % 100 == 0)
            out << QString::asprintf("%.1f,%.1f,%.1f,%.1f\n", point.time / 1000.0, point.x, point.y,
                                     point.speed);
}

} // namespace

// The course's ghost replayed as a race against it replays it at its start.
int showGhost(const Invocation& call, QTextStream& out, QTextStream& err) {
    if (call.positional.size() != 2) {
        err << "velnor-tool: usage: velnor-tool [--dir DIR] [--json] ghost COURSE [--csv]\n";
        return 2;
    }
    const QString course = call.positional[1];
    const GhostReplay ghost = replayCourseGhost(call.dir.toStdString(), toShiftJis(course));
    if (!ghost.error.empty()) {
        err << "velnor-tool: " << fromShiftJis(ghost.error) << "\n";
        return 1;
    }
    if (call.parser.isSet("csv"))
        printGhostPath(out, ghost.run);
    else if (call.json)
        printJson(out, ghostJson(course, ghost));
    else
        printGhostSheet(out, course, ghost);
    return 0;
}

} // namespace velnor
