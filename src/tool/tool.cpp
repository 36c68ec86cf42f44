#include "tool/tool.h"

#include "platform/atomic_file.h"
#include "platform/game_directory.h"
#include "tool/tool_command.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <optional>

namespace velnor {
namespace {

// The commands, in the order --help lists them. A new command is a file with its function and a
// row here.
const ToolCommand kCommands[] = {
    {"cars", "cars", "the sorted car catalogue", listCars, {}, false},
    {"car",
     "car NAME",
     "one car as the game loads it, with its derived figures (--plot FILE.png)",
     showCar,
     {"plot"},
     true},
    {"courses",
     "courses",
     "the course catalogue with each course's best three times",
     listCourses,
     {},
     false},
    {"course",
     "course NAME",
     "one course as the game loads it: road, buildings, gate",
     showCourse,
     {},
     true},
    {"race",
     "race",
     "a whole race on a manual clock (--car, --course, --inputs or --autopilot)",
     runRace,
     {"car", "course", "manual", "inputs", "autopilot", "start-tick", "until-ms", "timeout-ms",
      "no-ghost", "save-ghost", "watch"},
     true},
    {"ghost",
     "ghost COURSE",
     "the course's ghost replayed: its car, laps and total (--csv: its path,\n"
     "one line per tenth of a second)",
     showGhost,
     {"csv"},
     true},
    {"lint",
     "lint FILE...",
     "what the game ignores, cuts or clamps in car, course, model, ghost and\n"
     "records files, as FILE:LINE: what and why (exit 1 when there is any)",
     lintFiles,
     {},
     true,
     false},
    {"map",
     "map",
     "a top-down picture of a course (--course, -o, --car, --race or --autopilot)",
     drawMap,
     {"course", "output", "car", "race", "autopilot"},
     true},
    {"title",
     "title FILE",
     "draws the title picture (title.bmp) into FILE",
     writeTitle,
     {},
     true,
     false},
};

// The options the commands read, in the order --help lists them; the table above names which
// command reads which.
const QList<QCommandLineOption> kCommandOptions = {
    {"car", "race: the car.", "NAME"},
    {"course", "race: the course.", "NAME"},
    {"manual", "race: manual transmission."},
    {"inputs", "race: key events, one a line: TIME KEY STATE.", "FILE"},
    {"autopilot", "race: the autopilot drives."},
    {"start-tick", "race: the clock at the start (1000).", "T"},
    {"until-ms", "race: stop at this race time.", "T"},
    {"timeout-ms", "race: give up at this race time (900000).", "T"},
    {"no-ghost", "race: do not race the course's ghost."},
    {"save-ghost", "race: save the run as the course's ghost after a finish."},
    {"watch", "race: watch the course's ghost drive its run alone (no --car needed)."},
    {{"o", "output"}, "map: the picture to write.", "FILE"},
    {"plot", "car: draw the standing start into this picture.", "FILE"},
    {"race", "map: draw the path driven with these key events.", "INPUTS"},
    {"csv", "ghost: the replayed path as CSV: time (s), x, y, speed (km/h)."},
};

// The --help description: what the tool is for and one line per command (more where its help
// runs on), the help aligned after the longest synopsis.
QString description() {
    QString text = "Looks at Velnor's game directory without a window.\n\nCommands:";
    for (const ToolCommand& command : kCommands) {
        const QString help = QString::fromUtf8(command.help);
        text += "\n  " + QString::fromUtf8(command.synopsis).leftJustified(12) + ' ' +
                QString(help).replace('\n', "\n" + QString(15, ' '));
    }
    return text;
}

const ToolCommand* findCommand(const QStringList& positional) {
    const QString name = positional.value(0);
    for (const ToolCommand& command : kCommands)
        if (name == command.name && (command.takesArguments || positional.size() == 1))
            return &command;
    return nullptr;
}

// The game directory a command reads: the one --dir names, as it is, or the player's own, made and
// seeded as the game does it. Empty (with the reason on `err`) when there is none; `guard` keeps
// a directory the tool must not change from being written.
QString gameDirectory(const QCommandLineParser& parser, const QCommandLineOption& dirOption,
                      std::optional<RefusedFolder>& guard, QTextStream& err) {
    if (parser.isSet(dirOption)) {
        const QString dir = parser.value(dirOption);
        if (QFileInfo(dir).isDir())
            return dir;
        err << "velnor-tool: " << dir << ": not a directory\n";
        return {};
    }
    const GameDirectory directory = openUserDirectory(userGameDirectory(), bundledData());
    const std::string problem = describeForTerminal(directory);
    if (!problem.empty())
        err << "velnor-tool: " << QString::fromStdString(problem) << "\n";
    if (directory.readOnly && !directory.path.empty())
        guard.emplace(directory.path);
    return QString::fromStdString(directory.path);
}

} // namespace

int runTool(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    const QCommandLineOption dirOption(
        "dir",
        "The game directory (default: $XDG_DATA_HOME/velnor, made and filled with the game's "
        "data at the first use).",
        "DIR");
    const QCommandLineOption versionOption({"v", "version"}, "The version of the game.");
    const QCommandLineOption jsonOption("json", "Machine-readable output on stdout.");
    parser.addOption(dirOption);
    parser.addOption(jsonOption);
    parser.addOptions(kCommandOptions);
    parser.addHelpOption();
    parser.addOption(versionOption);
    parser.addPositionalArgument("command", "cars | car NAME | courses | course NAME | race");

    if (!parser.parse(arguments)) {
        err << "velnor-tool: " << parser.errorText() << "\n\n" << parser.helpText();
        return 2;
    }
    if (parser.isSet("help")) {
        out << parser.helpText();
        return 0;
    }
    if (parser.isSet(versionOption)) {
        out << "velnor-tool " << kGameVersion << "\n";
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    const ToolCommand* command = findCommand(positional);
    if (!command) {
        err << "velnor-tool: unknown command \"" << positional.value(0) << "\"; try --help\n";
        return 2;
    }
    std::optional<RefusedFolder> guard;
    QString dir = ".";
    if (command->readsGameDirectory || parser.isSet(dirOption)) {
        dir = gameDirectory(parser, dirOption, guard, err);
        if (dir.isEmpty())
            return 1;
    }
    const Invocation call{dir, parser.isSet(jsonOption), positional, parser};
    return command->run(call, out, err);
}

} // namespace velnor
