#include "race/headless_race.h"
#include "race/input_script.h"
#include "race/lap_counter.h"
#include "text/text_codec.h"
#include "tool/json_output.h"
#include "tool/tool_command.h"

#include <QFile>
#include <type_traits>

namespace velnor {

// Reads an inputs file into `script`; false (with the message on `err`) when it cannot.
bool readInputs(const QString& path, InputScript& script, QTextStream& err) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "velnor-tool: " << path << ": " << file.errorString() << "\n";
        return false;
    }
    const QByteArray text = file.readAll();
    script = parseInputScript(std::string_view(text.constData(), text.size()));
    if (!script.ok()) {
        err << "velnor-tool: " << path << ":" << QString::fromStdString(script.error) << "\n";
        return false;
    }
    return true;
}

namespace {

QJsonObject carStateJson(const CarState& car) {
    return QJsonObject{
        {"x", shortest(car.x)}, {"y", shortest(car.y)},     {"heading", shortest(car.heading)},
        {"speed", car.speed},   {"distance", car.distance}, {"gear", car.gear}};
}

void printRaceSheet(QTextStream& out, const RaceResult& race) {
    out << (race.finished ? "Finished" : "Not finished") << " after " << race.passes
        << " passes, race time " << QString::fromStdString(formatRaceTime(race.raceTime)) << "\n";
    for (std::size_t lap = 0; lap < race.laps.size(); ++lap)
        out << "  lap " << lap + 1 << "  " << QString::fromStdString(formatRaceTime(race.laps[lap]))
            << "\n";
    if (race.finished) {
        out << "  total  " << QString::fromStdString(formatRaceTime(race.totalTime));
        out << (race.finishRank >= 0 ? QString("  place %1").arg(race.finishRank + 1)
                                     : QString("  no place"))
            << (race.recordsWritten ? ", records written" : "") << "\n";
    }
    const CarState& car = race.car;
    out << QString::asprintf("Car at (%.1f, %.1f), heading %.1f°, %.1f km/h in gear %d, %.1f m "
                             "driven, off the road %d time(s)\n",
                             car.x, car.y, car.heading, car.speed, car.gear, car.distance,
                             race.offRoad);
    if (race.ghostRaced)
        out << "Ghost " << fromShiftJis(race.ghostCarName)
            << QString::asprintf(" at (%.1f, %.1f), %.1f km/h, %.1f m driven\n", race.ghost.x,
                                 race.ghost.y, race.ghost.speed, race.ghost.distance);
    if (race.ghostRaced) {
        out << "  its laps as replayed:";
        for (const std::int32_t lap : race.ghostLaps)
            out << "  " << QString::fromStdString(formatRaceTime(lap));
        out << (race.ghostTotal > 0
                    ? "  total  " + QString::fromStdString(formatRaceTime(race.ghostTotal))
                    : QString("  (not finished)"))
            << "\n";
    }
    if (race.ghostSaved)
        out << "The run was saved as the course's ghost.\n";
}

// The race's options from the command line: 0 when they are whole, else the exit status (the
// message on `err`).
int readRaceOptions(const Invocation& call, RaceOptions& options, QTextStream& err) {
    const QCommandLineParser& parser = call.parser;
    options.root = call.dir.toStdString();
    options.watch = parser.isSet("watch");
    if ((!parser.isSet("car") && !options.watch) || !parser.isSet("course") ||
        call.positional.size() != 1) {
        err << "velnor-tool: usage: velnor-tool [--dir DIR] [--json] race --car NAME --course NAME"
               " [--manual] [--inputs FILE | --autopilot] [--start-tick T]"
               " [--until-ms T] [--timeout-ms T] [--no-ghost] [--save-ghost]\n"
               "       velnor-tool [--dir DIR] [--json] race --watch --course NAME"
               " [--start-tick T] [--until-ms T] [--timeout-ms T]\n";
        return 2;
    }
    options.car = toShiftJis(parser.value("car"));
    options.course = toShiftJis(parser.value("course"));
    options.manual = parser.isSet("manual");
    options.autopilot = parser.isSet("autopilot");
    options.ghost = !parser.isSet("no-ghost");
    options.saveGhost = parser.isSet("save-ghost");
    if (options.autopilot && parser.isSet("inputs")) {
        err << "velnor-tool: --inputs and --autopilot cannot be used together\n";
        return 2;
    }
    const auto number = [&](const char* name, auto& target, long long low, long long high) {
        if (!parser.isSet(name))
            return true;
        bool ok = false;
        const long long value = parser.value(name).toLongLong(&ok);
        if (!ok || value < low || value > high) {
            err << "velnor-tool: --" << name << " takes a whole number from " << low << " to "
                << high << "\n";
            return false;
        }
        target = static_cast<std::remove_reference_t<decltype(target)>>(value);
        return true;
    };
    std::int32_t until = 0;
    if (!number("start-tick", options.startTick, 0, 4294967295LL) ||
        !number("until-ms", until, -3000, 2147483647LL) ||
        !number("timeout-ms", options.timeoutMs, 0, 2147483647LL))
        return 2;
    if (parser.isSet("until-ms"))
        options.untilMs = until;
    if (parser.isSet("inputs") && !readInputs(parser.value("inputs"), options.inputs, err))
        return 1;
    return 0;
}

QJsonObject raceJson(const RaceResult& race) {
    QJsonArray laps;
    for (const std::int32_t lap : race.laps)
        laps.append(lap);
    QJsonValue ghost(QJsonValue::Null);
    if (race.ghostRaced) {
        QJsonObject state = carStateJson(race.ghost);
        state.remove("gear");
        state.insert("carname", fromShiftJis(race.ghostCarName));
        QJsonArray ghostLaps;
        for (const std::int32_t lap : race.ghostLaps)
            ghostLaps.append(lap);
        state.insert("laps", ghostLaps); // as its replay at the start drove them
        state.insert("totalTime", race.ghostTotal);
        ghost = state;
    }
    return QJsonObject{{"finished", race.finished},
                       {"laps", laps},
                       {"totalTime", race.totalTime},
                       {"finishRank", race.finishRank},
                       {"passes", static_cast<double>(race.passes)},
                       {"raceTime", race.raceTime},
                       {"car", carStateJson(race.car)},
                       {"offRoad", race.offRoad},
                       {"ghost", ghost},
                       {"recordsWritten", race.recordsWritten},
                       {"ghostSaved", race.ghostSaved}};
}

} // namespace

// A whole race on a manual clock, through the same core code as the game.
int runRace(const Invocation& call, QTextStream& out, QTextStream& err) {
    RaceOptions options;
    if (const int status = readRaceOptions(call, options, err); status != 0)
        return status;
    const RaceResult race = runHeadlessRace(options);
    if (!race.error.empty()) {
        err << "velnor-tool: " << fromShiftJis(race.error) << "\n";
        return 1;
    }
    if (call.json)
        printJson(out, raceJson(race));
    else
        printRaceSheet(out, race);
    return 0;
}

} // namespace velnor
