#include "cars/car_catalogue.h"
#include "race/game.h"
#include "race/headless_race.h"
#include "text/text_codec.h"
#include "tool/course_map.h"
#include "tool/tool_command.h"
#include "world/course_catalogue.h"

#include <QTemporaryDir>
#include <filesystem>
#include <memory>

namespace velnor {
namespace {

// Copies the game directory for a scratch race that must leave no records or ghosts behind.
bool copyGameDirectory(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::copy(from.toStdString(), to.toStdString(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing,
                          error);
    return !error;
}

// The car whose width the on-road area is drawn for: the one named, else the first listed (none
// when there is no car: width 0). False (with the message on `err`) when the car named is not
// found.
bool findMapCar(const Invocation& call, std::string& carName, float& width, QTextStream& err) {
    const QCommandLineParser& parser = call.parser;
    auto cars = std::make_unique<CarCatalogue>(call.dir.toStdString());
    cars->scanCars();
    cars->sortCars();
    carName = parser.isSet("car") ? toShiftJis(parser.value("car")) : std::string();
    if (carName.empty() && cars->count() > 0)
        carName = cars->entry(0).name;
    width = 0;
    if (carName.empty())
        return true;
    if (cars->findCar(carName) != 0) {
        err << "velnor-tool: no car named \"" << fromShiftJis(carName) << "\"\n";
        return false;
    }
    cars->loadModel(Game::kModelFile, cars->workCar().spec().type());
    width = cars->model().bodyWidth();
    return true;
}

// The path the car drives by --race INPUTS or the autopilot, in a copy of the game directory so
// that the race leaves no records behind. False (with the message on `err`) when it cannot run.
bool drivenPath(const Invocation& call, const std::string& carName, std::vector<TracePoint>& path,
                QTextStream& err) {
    const QCommandLineParser& parser = call.parser;
    RaceOptions options;
    options.car = carName;
    options.course = toShiftJis(parser.value("course"));
    options.autopilot = parser.isSet("autopilot");
    options.ghost = false;
    QTemporaryDir scratch;
    if (!scratch.isValid() || !copyGameDirectory(call.dir, scratch.path())) {
        err << "velnor-tool: cannot make a scratch copy of " << call.dir << "\n";
        return false;
    }
    options.root = scratch.path().toStdString();
    if (parser.isSet("race") && !readInputs(parser.value("race"), options.inputs, err))
        return false;
    const RaceResult race = runHeadlessRace(options, &path);
    if (!race.error.empty()) {
        err << "velnor-tool: " << fromShiftJis(race.error) << "\n";
        return false;
    }
    return true;
}

} // namespace

// A top-down picture of a course, with the path a race drives on it when asked.
int drawMap(const Invocation& call, QTextStream& out, QTextStream& err) {
    const QCommandLineParser& parser = call.parser;
    if (!parser.isSet("course") || !parser.isSet("output") || call.positional.size() != 1) {
        err << "velnor-tool: usage: velnor-tool [--dir DIR] map --course NAME -o FILE.png"
               " [--car NAME] [--race INPUTS | --autopilot]\n";
        return 2;
    }
    auto courses = std::make_unique<CourseCatalogue>(call.dir.toStdString());
    courses->scanCourses();
    const QString courseName = parser.value("course");
    const int course = courses->indexOfCourse(toShiftJis(courseName));
    if (course < 0 || courses->loadCourse(course) != 0) {
        err << "velnor-tool: no course named \"" << courseName << "\" can be read below "
            << call.dir << "\n";
        return 1;
    }
    std::string carName;
    float width = 0;
    if (!findMapCar(call, carName, width, err))
        return 1;
    std::vector<TracePoint> path;
    if ((parser.isSet("race") || parser.isSet("autopilot")) &&
        !drivenPath(call, carName, path, err))
        return 1;
    const QImage map = drawCourseMap(courses->loadedWorld(), courses->loadedGate(), width, path);
    const QString output = parser.value("output");
    if (!map.save(output)) {
        err << "velnor-tool: " << output << ": cannot be written\n";
        return 1;
    }
    out << "wrote " << output << " (" << map.width() << " x " << map.height() << ")\n";
    return 0;
}

} // namespace velnor
