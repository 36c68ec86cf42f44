#include "tool/tool.h"

#include "cars/car_catalogue.h"
#include "race/game.h"
#include "race/headless_race.h"
#include "race/lap_counter.h"
#include "sim/car_figures.h"
#include "text/text_codec.h"
#include "tool/course_map.h"
#include "tool/lint.h"
#include "world/course_catalogue.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <charconv>
#include <filesystem>
#include <memory>
#include <type_traits>

namespace velnor {
namespace {

QString bodyName(int type) {
    const QString label = fromShiftJis(bodyTypeLabel(type));
    return label.isEmpty() ? QStringLiteral("?") : label;
}

QJsonValue optionalNumber(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QString optionalSeconds(const std::optional<double>& value) {
    return value ? QString::asprintf("%.2f s", *value) : QStringLiteral("never");
}

// A single-precision value as the shortest decimal that reads back as it (0.9f is 0.9, not
// 0.899999976).
double shortest(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double result = value;
    std::from_chars(text, written.ptr, result);
    return result;
}

QJsonArray vectorJson(const auto& values) {
    QJsonArray array;
    for (const auto value : values) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, float>)
            array.append(shortest(value));
        else
            array.append(value);
    }
    return array;
}

void printJson(QTextStream& out, const QJsonObject& object) {
    out << QJsonDocument(object).toJson(QJsonDocument::Indented);
}

// The options and the command line every command shares.
struct Invocation {
    QString dir;
    bool json = false;
    QStringList positional;
};

int listCars(const Invocation& call, QTextStream& out) {
    CarCatalogue catalogue(call.dir.toStdString());
    catalogue.scanCars();
    catalogue.sortCars();
    if (call.json) {
        QJsonArray cars;
        for (int i = 0; i <= catalogue.lastIndex(); ++i) {
            const CatalogueEntry& entry = catalogue.entry(i);
            cars.append(QJsonObject{{"index", i},
                                    {"name", fromShiftJis(entry.name)},
                                    {"path", QString::fromLocal8Bit(entry.path)},
                                    {"offset", entry.offset},
                                    {"summary", fromShiftJis(entry.comment)}});
        }
        printJson(out, QJsonObject{{"cars", cars}});
        return 0;
    }
    if (catalogue.count() == 0)
        out << "No car files below " << call.dir << "\n";
    for (int i = 0; i <= catalogue.lastIndex(); ++i) {
        const CatalogueEntry& entry = catalogue.entry(i);
        out << QString::asprintf("%3d  ", i) << fromShiftJis(entry.name) << "  ("
            << QString::fromLocal8Bit(entry.path) << " @" << entry.offset << ")\n";
        for (const QString& line : fromShiftJis(entry.comment).split('\n'))
            out << "       " << line << "\n";
    }
    return 0;
}

QJsonObject carJson(const Vehicle& car, const CarColour& colour, const CarFigures& figures) {
    const CarSpec& spec = car.spec();
    QJsonArray gears;
    for (int i = 0; i < CarSpec::kGears; ++i)
        gears.append(spec.gear(i));
    QJsonArray usable;
    for (const GearFigures& gear : figures.gears)
        usable.append(QJsonObject{{"gear", gear.gear},
                                  {"ratio", gear.ratio},
                                  {"acceleratorLimit", gear.acceleratorLimit},
                                  {"driveForceAtLimit", gear.driveForceAtLimit},
                                  {"accelerationFromRest", gear.accelerationFromRest},
                                  {"revLimitSpeed", gear.revLimitSpeed}});
    const StandingStart& run = figures.acceleration;
    const QJsonObject derived{
        {"gearCount", figures.gearCount},
        {"restAccelerator", figures.restAccelerator},
        {"restBrake", figures.restBrake},
        {"frontalArea", figures.frontalArea},
        {"airResistanceAt100", figures.airResistanceAt100},
        {"gears", usable},
        {"acceleration", QJsonObject{{"to50", optionalNumber(run.to50)},
                                     {"to100", optionalNumber(run.to100)},
                                     {"to150", optionalNumber(run.to150)},
                                     {"speedAt60", run.speedAt60},
                                     {"topGearReached", run.topGearReached}}}};
    return QJsonObject{{"carname", fromShiftJis(spec.carname())},
                       {"comment", fromShiftJis(spec.comment())},
                       {"width", spec.width()},
                       {"height", spec.height()},
                       {"wheelbase", spec.wheelbase()},
                       {"weight", spec.weight()},
                       {"displacement", spec.displacement()},
                       {"compression", spec.compression()},
                       {"power", spec.power()},
                       {"torque", spec.torque()},
                       {"gear", gears},
                       {"slow", spec.slow()},
                       {"tire", spec.tire()},
                       {"type", spec.type()},
                       {"automatic", spec.automatic()},
                       {"air", spec.air()},
                       {"carColour", vectorJson(colour)},
                       {"derived", derived}};
}

void printCarSheet(QTextStream& out, const CatalogueEntry& entry, const Vehicle& car,
                   const CarColour& colour, const CarFigures& figures) {
    const CarSpec& spec = car.spec();
    out << fromShiftJis(spec.carname()) << "  (" << QString::fromLocal8Bit(entry.path) << ")\n";
    for (const QString& line : fromShiftJis(entry.comment).split('\n'))
        out << "  " << line << "\n";
    out << "\n";
    out << "Body          " << bodyName(spec.type()) << " (type " << spec.type() << ")\n";
    out << QString::asprintf("Size          %.0f x %.0f mm, wheelbase %.0f mm\n",
                             spec.width() * 1000, spec.height() * 1000, spec.wheelbase() * 1000);
    out << QString::asprintf("Weight        %.0f kg\n", spec.weight());
    out << QString::asprintf("Engine        %.0f cc, compression %.1f, %.0f PS, %.1f kg·m\n",
                             spec.displacement(), spec.compression(), spec.power(), spec.torque());
    out << "Gears        ";
    for (int i = 0; i < CarSpec::kGears; ++i)
        out << QString::asprintf(" %.3f", spec.gear(i));
    out << QString::asprintf(", final %.3f\n", spec.slow());
    out << QString::asprintf("Tyre          %.4f m diameter\n", spec.tire());
    out << QString::asprintf("Air           %.4f kgf/(m² (km/h)²)\n", spec.air());
    if (colour[0] < 0)
        out << "Colour        none (the model's own)\n";
    else
        out << QString::asprintf("Colour        %.0f %.0f %.0f\n", colour[0] * 255, colour[1] * 255,
                                 colour[2] * 255);

    out << "\nOn level asphalt (rolling 0.015)\n";
    out << QString::asprintf("  rest accelerator a0 %.7f, rest brake b0 %.4f\n",
                             figures.restAccelerator, figures.restBrake);
    out << QString::asprintf("  frontal area %.3f m², air resistance at 100 km/h %.1f kgf\n",
                             figures.frontalArea, figures.airResistanceAt100);
    out << "  gear  ratio   accel. limit  force (kgf)  from rest (m/s²)  at 8000 rpm (km/h)\n";
    for (const GearFigures& gear : figures.gears)
        out << QString::asprintf("  %4d  %6.3f  %12.5f  %11.2f  %16.4f  %18.1f\n", gear.gear,
                                 gear.ratio, gear.acceleratorLimit, gear.driveForceAtLimit,
                                 gear.accelerationFromRest, gear.revLimitSpeed);
    if (figures.gears.empty())
        out << "  (no usable gear: gear1 is 0 or missing)\n";

    const StandingStart& run = figures.acceleration;
    out << "\nStanding start (automatic, accelerator held)\n";
    out << "  0-50 km/h   " << optionalSeconds(run.to50) << "\n";
    out << "  0-100 km/h  " << optionalSeconds(run.to100) << "\n";
    out << "  0-150 km/h  " << optionalSeconds(run.to150) << "\n";
    out << QString::asprintf("  after 60 s  %.1f km/h\n", run.speedAt60);
    out << "  top gear    " << (run.topGearReached ? "reached" : "not reached") << "\n";
}

// The standing start as a picture: speed (blue, left scale) and engine speed (orange, right
// scale) over race time, the gear changes marked.
QImage standingStartPlot(const StandingStart& run, const QString& title) {
    constexpr int kWidth = 900, kHeight = 500, kLeft = 60, kRight = 70, kTop = 40, kBottom = 50;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plot(kLeft, kTop, kWidth - kLeft - kRight, kHeight - kTop - kBottom);
    double topSpeed = 50;
    for (const StandingStart::Sample& sample : run.samples)
        topSpeed = std::max(topSpeed, sample.speed);
    topSpeed = std::ceil(topSpeed / 50) * 50;
    const double lastTime = run.samples.empty() ? 1 : run.samples.back().time;
    const double firstTime = run.samples.empty() ? 0 : run.samples.front().time;
    const auto x = [&](double t) {
        return plot.left() + (t - firstTime) / (lastTime - firstTime) * plot.width();
    };
    const auto ySpeed = [&](double kmh) { return plot.bottom() - kmh / topSpeed * plot.height(); };
    const auto yRpm = [&](double rpm) { return plot.bottom() - rpm / 8000 * plot.height(); };

    painter.setPen(QColor(225, 225, 225));
    for (int s = 0; s <= topSpeed; s += 50)
        painter.drawLine(QPointF(plot.left(), ySpeed(s)), QPointF(plot.right(), ySpeed(s)));
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    for (int s = 0; s <= topSpeed; s += 50)
        painter.drawText(QRectF(0, ySpeed(s) - 8, kLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(s));
    for (int rpm = 0; rpm <= 8000; rpm += 2000)
        painter.drawText(QRectF(plot.right() + 6, yRpm(rpm) - 8, kRight, 16),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(rpm));
    for (int t = 0; t <= lastTime; t += 10)
        painter.drawText(QRectF(x(t) - 20, plot.bottom() + 4, 40, 16), Qt::AlignCenter,
                         QString::number(t));
    painter.drawText(QRectF(0, kHeight - 24, kWidth, 20), Qt::AlignCenter,
                     QStringLiteral("race time (s)"));
    painter.drawText(QRectF(kLeft, 8, plot.width(), 24), Qt::AlignLeft | Qt::AlignVCenter,
                     title + QStringLiteral(": speed (km/h, blue) and engine speed (rpm, orange)"));

    QPainterPath speed, engine;
    int gear = run.samples.empty() ? 1 : run.samples.front().gear;
    for (std::size_t i = 0; i < run.samples.size(); ++i) {
        const StandingStart::Sample& s = run.samples[i];
        const QPointF ps(x(s.time), ySpeed(s.speed)), pe(x(s.time), yRpm(s.engineSpeed));
        if (i == 0) {
            speed.moveTo(ps);
            engine.moveTo(pe);
        } else {
            speed.lineTo(ps);
            engine.lineTo(pe);
        }
        if (s.gear != gear) {
            gear = s.gear;
            painter.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
            painter.drawLine(QPointF(x(s.time), plot.top()), QPointF(x(s.time), plot.bottom()));
            painter.drawText(QPointF(x(s.time) + 3, plot.top() + 14), QString::number(gear));
        }
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 150, 0), 1.5));
    painter.drawPath(engine);
    painter.setPen(QPen(QColor(30, 60, 220), 2));
    painter.drawPath(speed);
    return image;
}

int showCar(const Invocation& call, QTextStream& out, QTextStream& err, const QString& plotFile) {
    if (call.positional.size() != 2) {
        err << "velnor-tool: usage: velnor-tool [--dir DIR] [--json] car NAME\n";
        return 2;
    }
    CarCatalogue catalogue(call.dir.toStdString());
    catalogue.scanCars();
    catalogue.sortCars();
    const std::string name = toShiftJis(call.positional[1]);
    const int index = catalogue.indexOfCar(name);
    if (index < 0) {
        err << "velnor-tool: no car named \"" << call.positional[1] << "\" in any car file below "
            << call.dir << "\n";
        return 1;
    }
    if (catalogue.loadCar(index) != 0) {
        err << "velnor-tool: " << QString::fromLocal8Bit(catalogue.entry(index).path)
            << ": cannot read the car \"" << call.positional[1] << "\"\n";
        return 1;
    }
    const Vehicle& car = catalogue.workCar();
    const CarFigures figures = computeCarFigures(car);
    if (!plotFile.isEmpty() &&
        !standingStartPlot(figures.acceleration, call.positional[1]).save(plotFile)) {
        err << "velnor-tool: " << plotFile << ": cannot be written\n";
        return 1;
    }
    if (call.json)
        printJson(out, carJson(car, catalogue.carColour(), figures));
    else
        printCarSheet(out, catalogue.entry(index), car, catalogue.carColour(), figures);
    return 0;
}

std::unique_ptr<CourseCatalogue> scannedCourses(const Invocation& call) {
    auto catalogue = std::make_unique<CourseCatalogue>(call.dir.toStdString());
    catalogue->scanCourses();
    catalogue->readRecords();
    return catalogue;
}

int listCourses(const Invocation& call, QTextStream& out) {
    const auto catalogue = scannedCourses(call);
    const RecordBook& records = catalogue->records();
    if (call.json) {
        QJsonArray courses;
        for (int i = 0; i <= catalogue->lastIndex(); ++i) {
            const CatalogueEntry& entry = catalogue->entry(i);
            QJsonArray totals;
            for (int place = 0; place < RecordBook::kPlaces; ++place) {
                const LapCounter& record = records.place(i, place);
                totals.append(record.isEmpty() ? 0 : record.totalTime());
            }
            courses.append(QJsonObject{{"index", i},
                                       {"name", fromShiftJis(entry.name)},
                                       {"path", QString::fromLocal8Bit(entry.path)},
                                       {"offset", entry.offset},
                                       {"comment", fromShiftJis(entry.comment)},
                                       {"records", totals}});
        }
        printJson(out, QJsonObject{{"courses", courses}});
        return 0;
    }
    if (catalogue->count() == 0)
        out << "No course files below " << call.dir << "\n";
    for (int i = 0; i <= catalogue->lastIndex(); ++i) {
        const CatalogueEntry& entry = catalogue->entry(i);
        out << QString::asprintf("%3d  ", i) << fromShiftJis(entry.name) << "  ("
            << QString::fromLocal8Bit(entry.path) << " @" << entry.offset << ")\n";
        if (entry.comment[0] != '\0')
            out << "       " << fromShiftJis(entry.comment) << "\n";
        out << "       best";
        for (int place = 0; place < RecordBook::kPlaces; ++place)
            out << "  " << QString::fromStdString(recordTimeText(records.place(i, place)));
        out << "\n";
    }
    return 0;
}

QJsonObject courseJson(const CatalogueEntry& entry, const CourseWorld& world,
                       const StartFinishGate& gate) {
    QJsonArray pieces;
    for (int i = 0; i < CourseWorld::kRoadPieces; ++i) {
        const RoadPiece& piece = world.roadPiece(i);
        if (!piece.isUsed())
            continue;
        QJsonArray corners;
        for (int v = 0; v < 4; ++v)
            corners.append(vectorJson(piece.vertex(v)));
        pieces.append(QJsonObject{{"index", i},
                                  {"type", piece.pieceType()},
                                  {"colour", vectorJson(piece.colour())},
                                  {"corners", corners}});
    }
    QJsonArray blocks;
    for (int b = 0; b < CourseWorld::kBlocks; ++b) {
        const BuildingBlock& block = world.block(b);
        if (!block.hasUsedPart())
            continue;
        QJsonArray boxes;
        QJsonArray cylinders;
        for (int k = 0; k < BuildingBlock::kParts; ++k) {
            const Box& box = block.box(k);
            if (box.isUsed()) {
                QJsonArray vertices;
                for (int v = 0; v < Box::kCorners; ++v)
                    vertices.append(vectorJson(box.vertex(v)));
                boxes.append(QJsonObject{
                    {"index", k}, {"colour", vectorJson(box.colour())}, {"vertices", vertices}});
            }
            const Cylinder& cylinder = block.cylinder(k);
            if (cylinder.isUsed())
                cylinders.append(QJsonObject{{"index", k},
                                             {"colour", vectorJson(cylinder.colour())},
                                             {"position", vectorJson(cylinder.position())},
                                             {"radius", shortest(cylinder.radius())},
                                             {"halfHeight", shortest(cylinder.halfHeight())},
                                             {"rotation", vectorJson(cylinder.rotation())}});
        }
        blocks.append(QJsonObject{{"index", b},
                                  {"pitch", vectorJson(block.pitch())},
                                  {"counts", vectorJson(block.counts())},
                                  {"origin", vectorJson(block.origin())},
                                  {"boxes", boxes},
                                  {"cylinders", cylinders}});
    }
    const QJsonObject gateObject{{"direction", vectorJson(gate.direction)},
                                 {"end0", vectorJson(gate.end0)},
                                 {"end1", vectorJson(gate.end1)},
                                 {"axis", gate.gateAxis()},
                                 {"alongMin", shortest(gate.zoneAlongMin())},
                                 {"alongMax", shortest(gate.zoneAlongMax())},
                                 {"acrossMin", shortest(gate.zoneAcrossMin())},
                                 {"acrossMax", shortest(gate.zoneAcrossMax())}};
    return QJsonObject{{"name", fromShiftJis(entry.name)},
                       {"comment", fromShiftJis(entry.comment)},
                       {"pieces", pieces},
                       {"blocks", blocks},
                       {"gate", gateObject}};
}

QString xyz(const Vec3& v) {
    return QString::asprintf("(%g, %g, %g)", v[0], v[1], v[2]);
}

void printCourseSheet(QTextStream& out, const CatalogueEntry& entry, const CourseWorld& world,
                      const StartFinishGate& gate) {
    out << fromShiftJis(entry.name) << "  (" << QString::fromLocal8Bit(entry.path) << ")\n";
    if (entry.comment[0] != '\0')
        out << "  " << fromShiftJis(entry.comment) << "\n";
    out << "\nRoad pieces (world units of 0.1 m)\n";
    out << "  piece  type  corner 0 / 1 / 2 / 3\n";
    for (int i = 0; i < CourseWorld::kRoadPieces; ++i) {
        const RoadPiece& piece = world.roadPiece(i);
        if (!piece.isUsed())
            continue;
        out << QString::asprintf("  %5d  %4d  ", i, piece.pieceType()) << xyz(piece.vertex(0))
            << " " << xyz(piece.vertex(1)) << " " << xyz(piece.vertex(2)) << " "
            << xyz(piece.vertex(3)) << "\n";
    }
    out << "\nBuilding blocks\n";
    for (int b = 0; b < CourseWorld::kBlocks; ++b) {
        const BuildingBlock& block = world.block(b);
        if (!block.hasUsedPart())
            continue;
        int boxes = 0;
        int cylinders = 0;
        for (int k = 0; k < BuildingBlock::kParts; ++k) {
            boxes += block.box(k).isUsed();
            cylinders += block.cylinder(k).isUsed();
        }
        out << QString::asprintf("  block %d: %d box(es), %d cylinder(s), %d x %d cells, pitch ", b,
                                 boxes, cylinders, block.counts()[0], block.counts()[1])
            << xyz(block.pitch()) << ", origin " << xyz(block.origin()) << "\n";
    }
    out << "\nGate\n";
    if (gate.gateAxis() < 0) {
        out << "  direction " << xyz(gate.direction) << " is no axis: no lap is ever counted\n";
        return;
    }
    out << "  crossed towards " << xyz(gate.direction) << " at "
        << (gate.gateAxis() == 0 ? "x = " : "y = ") << gate.gateLine() << "\n";
    out << QString::asprintf("  zone along %g .. %g, across %g .. %g\n", gate.zoneAlongMin(),
                             gate.zoneAlongMax(), gate.zoneAcrossMin(), gate.zoneAcrossMax());
}

int showCourse(const Invocation& call, QTextStream& out, QTextStream& err) {
    if (call.positional.size() != 2) {
        err << "velnor-tool: usage: velnor-tool [--dir DIR] [--json] course NAME\n";
        return 2;
    }
    auto catalogue = std::make_unique<CourseCatalogue>(call.dir.toStdString());
    catalogue->scanCourses();
    const int index = catalogue->indexOfCourse(toShiftJis(call.positional[1]));
    if (index < 0) {
        err << "velnor-tool: no course named \"" << call.positional[1]
            << "\" in any course file below " << call.dir << "\n";
        return 1;
    }
    const CatalogueEntry& entry = catalogue->entry(index);
    if (catalogue->loadCourse(index) != 0) {
        err << "velnor-tool: " << QString::fromLocal8Bit(entry.path)
            << ": cannot read the course \"" << call.positional[1] << "\"\n";
        return 1;
    }
    if (call.json)
        printJson(out, courseJson(entry, catalogue->loadedWorld(), catalogue->loadedGate()));
    else
        printCourseSheet(out, entry, catalogue->loadedWorld(), catalogue->loadedGate());
    return 0;
}

// Copies the game directory for a scratch race that must leave no records or ghosts behind.
bool copyGameDirectory(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::copy(from.toStdString(), to.toStdString(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing,
                          error);
    return !error;
}

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
    if (race.ghostSaved)
        out << "The run was saved as the course's ghost.\n";
}

int runRace(const Invocation& call, const QCommandLineParser& parser, QTextStream& out,
            QTextStream& err) {
    RaceOptions options;
    options.root = call.dir.toStdString();
    if (!parser.isSet("car") || !parser.isSet("course") || call.positional.size() != 1) {
        err << "velnor-tool: usage: velnor-tool [--dir DIR] [--json] race --car NAME --course NAME"
               " [--manual] [--inputs FILE | --autopilot] [--frame-ms N] [--start-tick T]"
               " [--until-ms T] [--timeout-ms T] [--no-ghost] [--save-ghost]\n";
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
    if (!number("frame-ms", options.frameMs, 1, 1000) ||
        !number("start-tick", options.startTick, 0, 4294967295LL) ||
        !number("until-ms", until, -3000, 2147483647LL) ||
        !number("timeout-ms", options.timeoutMs, 0, 2147483647LL))
        return 2;
    if (parser.isSet("until-ms"))
        options.untilMs = until;
    if (parser.isSet("inputs") && !readInputs(parser.value("inputs"), options.inputs, err))
        return 1;

    const RaceResult race = runHeadlessRace(options);
    if (!race.error.empty()) {
        err << "velnor-tool: " << fromShiftJis(race.error) << "\n";
        return 1;
    }
    if (!call.json) {
        printRaceSheet(out, race);
        return 0;
    }
    QJsonArray laps;
    for (const std::int32_t lap : race.laps)
        laps.append(lap);
    QJsonValue ghost(QJsonValue::Null);
    if (race.ghostRaced) {
        QJsonObject state = carStateJson(race.ghost);
        state.remove("gear");
        state.insert("carname", fromShiftJis(race.ghostCarName));
        ghost = state;
    }
    printJson(out, QJsonObject{{"finished", race.finished},
                               {"laps", laps},
                               {"totalTime", race.totalTime},
                               {"finishRank", race.finishRank},
                               {"passes", static_cast<double>(race.passes)},
                               {"raceTime", race.raceTime},
                               {"car", carStateJson(race.car)},
                               {"offRoad", race.offRoad},
                               {"ghost", ghost},
                               {"recordsWritten", race.recordsWritten},
                               {"ghostSaved", race.ghostSaved}});
    return 0;
}

int drawMap(const Invocation& call, const QCommandLineParser& parser, QTextStream& out,
            QTextStream& err) {
    if (!parser.isSet("course") || !parser.isSet("output") || call.positional.size() != 1) {
        err << "velnor-tool: usage: velnor-tool [--dir DIR] map --course NAME -o FILE.png"
               " [--car NAME] [--race INPUTS | --autopilot]\n";
        return 2;
    }
    const std::string root = call.dir.toStdString();
    auto courses = std::make_unique<CourseCatalogue>(root);
    courses->scanCourses();
    const QString courseName = parser.value("course");
    const int course = courses->indexOfCourse(toShiftJis(courseName));
    if (course < 0 || courses->loadCourse(course) != 0) {
        err << "velnor-tool: no course named \"" << courseName << "\" can be read below "
            << call.dir << "\n";
        return 1;
    }
    // The car whose width the on-road area is drawn for: the one named, else the first listed.
    auto cars = std::make_unique<CarCatalogue>(root);
    cars->scanCars();
    cars->sortCars();
    std::string carName = parser.isSet("car") ? toShiftJis(parser.value("car")) : std::string();
    if (carName.empty() && cars->count() > 0)
        carName = cars->entry(0).name;
    float width = 0;
    if (!carName.empty()) {
        if (cars->findCar(carName) != 0) {
            err << "velnor-tool: no car named \"" << fromShiftJis(carName) << "\"\n";
            return 1;
        }
        cars->loadModel(Game::kModelFile, cars->workCar().spec().type());
        width = cars->model().bodyWidth();
    }

    std::vector<TracePoint> path;
    if (parser.isSet("race") || parser.isSet("autopilot")) {
        RaceOptions options;
        options.root = root;
        options.car = carName;
        options.course = toShiftJis(courseName);
        options.autopilot = parser.isSet("autopilot");
        options.ghost = false;
        // A copy of the game directory, so that the race leaves no records behind.
        QTemporaryDir scratch;
        if (!scratch.isValid() || !copyGameDirectory(call.dir, scratch.path())) {
            err << "velnor-tool: cannot make a scratch copy of " << call.dir << "\n";
            return 1;
        }
        options.root = scratch.path().toStdString();
        if (parser.isSet("race") && !readInputs(parser.value("race"), options.inputs, err))
            return 1;
        const RaceResult race = runHeadlessRace(options, &path);
        if (!race.error.empty()) {
            err << "velnor-tool: " << fromShiftJis(race.error) << "\n";
            return 1;
        }
    }
    const QImage map = drawCourseMap(courses->loadedWorld(), courses->loadedGate(), width, path);
    const QString output = parser.value("output");
    if (!map.save(output)) {
        err << "velnor-tool: " << output << ": cannot be written\n";
        return 1;
    }
    out << "wrote " << output << " (" << map.width() << " x " << map.height() << ")\n";
    return 0;
}

int lintFiles(const Invocation& call, QTextStream& out, QTextStream& err) {
    if (call.positional.size() < 2) {
        err << "velnor-tool: usage: velnor-tool lint FILE...\n";
        return 2;
    }
    int findings = 0;
    int failures = 0;
    for (qsizetype i = 1; i < call.positional.size(); ++i) {
        const QString path = call.positional[i];
        std::string error;
        const std::vector<LintMessage> messages = lintFile(path.toStdString(), error);
        if (!error.empty()) {
            err << "velnor-tool: " << path << ": " << QString::fromStdString(error) << "\n";
            ++failures;
            continue;
        }
        for (const LintMessage& message : messages)
            out << path << ":" << message.line << ": " << fromShiftJis(message.text) << "\n";
        findings += static_cast<int>(messages.size());
    }
    return failures > 0 ? 2 : findings > 0 ? 1 : 0;
}

// The title picture: a road running into the distance under the sky, and the game's name.
QImage titlePicture() {
    QImage picture(640, 480, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(120, 190, 255));
    sky.setColorAt(1, QColor(204, 255, 255));
    painter.fillRect(0, 0, 640, 240, sky);
    QLinearGradient ground(0, 240, 0, 480);
    ground.setColorAt(0, QColor(230, 160, 110));
    ground.setColorAt(1, QColor(204, 128, 77));
    painter.fillRect(0, 240, 640, 240, ground);
    // The road and its centre line, narrowing to the horizon.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(204, 204, 204));
    painter.drawPolygon(
        QPolygonF({QPointF(300, 240), QPointF(340, 240), QPointF(620, 480), QPointF(20, 480)}));
    painter.setBrush(Qt::white);
    for (int i = 0; i < 6; ++i) {
        const double y0 = 250 + i * i * 7.0 + i * 10.0;
        const double y1 = y0 + 6 + i * 4.0;
        const auto half = [](double y) { return 1 + (y - 240) / 240 * 7; };
        painter.drawPolygon(QPolygonF({QPointF(320 - half(y0), y0), QPointF(320 + half(y0), y0),
                                       QPointF(320 + half(y1), y1), QPointF(320 - half(y1), y1)}));
    }
    // The name, with a shadow.
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(96);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 12);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 80, 120));
    painter.drawText(QRect(6, 66, 640, 120), Qt::AlignCenter, QStringLiteral("VELNOR"));
    painter.setPen(QColor(51, 51, 255));
    painter.drawText(QRect(0, 60, 640, 120), Qt::AlignCenter, QStringLiteral("VELNOR"));
    QFont small(QStringLiteral("IPAGothic"));
    small.setPixelSize(22);
    painter.setFont(small);
    painter.setPen(QColor(40, 40, 120));
    painter.drawText(QRect(0, 170, 640, 30), Qt::AlignCenter,
                     QString::fromUtf8("ドライビング・シミュレーター"));
    return picture;
}

int writeTitle(const Invocation& call, QTextStream& out, QTextStream& err) {
    if (call.positional.size() != 2) {
        err << "velnor-tool: usage: velnor-tool title FILE.bmp\n";
        return 2;
    }
    if (!titlePicture().save(call.positional[1])) { // the format follows the file name
        err << "velnor-tool: " << call.positional[1] << ": cannot be written\n";
        return 1;
    }
    out << "wrote " << call.positional[1] << "\n";
    return 0;
}

} // namespace

int runTool(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Looks at Velnor's game directory without a window.\n\n"
        "Commands:\n"
        "  cars         the sorted car catalogue\n"
        "  car NAME     one car as the game loads it, with its derived figures (--plot FILE.png)\n"
        "  courses      the course catalogue with each course's best three times\n"
        "  course NAME  one course as the game loads it: road, buildings, gate\n"
        "  race         a whole race on a manual clock (--car, --course, --inputs or --autopilot)\n"
        "  lint FILE... what the game ignores, cuts or clamps in car, course, model, ghost and\n"
        "               records files, as FILE:LINE: what and why (exit 1 when there is any)\n"
        "  map          a top-down picture of a course (--course, -o, --car, --race or "
        "--autopilot)\n"
        "  title FILE   draws the title picture (title.bmp) into FILE");
    const QCommandLineOption dirOption("dir", "The game directory (default: the current one).",
                                       "DIR", ".");
    const QCommandLineOption jsonOption("json", "Machine-readable output on stdout.");
    parser.addOption(dirOption);
    parser.addOption(jsonOption);
    parser.addOptions({
        {"car", "race: the car.", "NAME"},
        {"course", "race: the course.", "NAME"},
        {"manual", "race: manual transmission."},
        {"inputs", "race: key events, one a line: TIME KEY STATE.", "FILE"},
        {"autopilot", "race: the autopilot drives."},
        {"frame-ms", "race: ms the clock advances before each pass (10).", "N"},
        {"start-tick", "race: the clock at the start (1000).", "T"},
        {"until-ms", "race: stop at this race time.", "T"},
        {"timeout-ms", "race: give up at this race time (900000).", "T"},
        {"no-ghost", "race: do not race the course's ghost."},
        {"save-ghost", "race: save the run as the course's ghost after a finish."},
        {{"o", "output"}, "map: the picture to write.", "FILE"},
        {"plot", "car: draw the standing start into this picture.", "FILE"},
        {"race", "map: draw the path driven with these key events.", "INPUTS"},
    });
    parser.addHelpOption();
    parser.addPositionalArgument("command", "cars | car NAME | courses | course NAME | race");

    if (!parser.parse(arguments)) {
        err << "velnor-tool: " << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet("help")) {
        out << parser.helpText();
        return 0;
    }
    Invocation call{parser.value(dirOption), parser.isSet(jsonOption),
                    parser.positionalArguments()};
    if (!QFileInfo(call.dir).isDir()) {
        err << "velnor-tool: " << call.dir << ": not a directory\n";
        return 1;
    }
    const QString command = call.positional.value(0);
    if (command == "cars" && call.positional.size() == 1)
        return listCars(call, out);
    if (command == "car")
        return showCar(call, out, err, parser.value("plot"));
    if (command == "courses" && call.positional.size() == 1)
        return listCourses(call, out);
    if (command == "course")
        return showCourse(call, out, err);
    if (command == "race")
        return runRace(call, parser, out, err);
    if (command == "title")
        return writeTitle(call, out, err);
    if (command == "map")
        return drawMap(call, parser, out, err);
    if (command == "lint")
        return lintFiles(call, out, err);
    err << "velnor-tool: unknown command \"" << command << "\"; try --help\n";
    return 2;
}

} // namespace velnor
