#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace velnor {

struct InputScript;

// The options and the command line every command shares.
struct Invocation {
    QString dir;                      // the game directory (--dir)
    bool json = false;                // machine-readable output (--json)
    QStringList positional;           // the command's name and its arguments
    const QCommandLineParser& parser; // the command's own options
};

// One velnor-tool command. Returns the exit status: 0 success, 1 a failure named on `err`, 2 a
// usage error.
using CommandFunction = int (*)(const Invocation& call, QTextStream& out, QTextStream& err);

// A row of the tool's command table: what runs for a name and how --help lists it.
struct ToolCommand {
    const char* name;
    const char* synopsis; // the name and its arguments as --help lists them
    const char* help;     // what it does; a '\n' continues the text on the next help line
    CommandFunction run;
    QStringList options;            // the options it reads besides --dir and --json
    bool takesArguments;            // false: the name with arguments is no command at all
    bool readsGameDirectory = true; // false: it reads only the files it is given
};

int listCars(const Invocation& call, QTextStream& out, QTextStream& err);
int showCar(const Invocation& call, QTextStream& out, QTextStream& err);
int listCourses(const Invocation& call, QTextStream& out, QTextStream& err);
int showCourse(const Invocation& call, QTextStream& out, QTextStream& err);
int runRace(const Invocation& call, QTextStream& out, QTextStream& err);
int showGhost(const Invocation& call, QTextStream& out, QTextStream& err);
int lintFiles(const Invocation& call, QTextStream& out, QTextStream& err);
int drawMap(const Invocation& call, QTextStream& out, QTextStream& err);
int writeTitle(const Invocation& call, QTextStream& out, QTextStream& err);

// Reads an inputs file into `script`; false (with the message on `err`) when it cannot. The race
// drives by it, the map draws the path it drives.
bool readInputs(const QString& path, InputScript& script, QTextStream& err);

} // namespace velnor
