#include "cars/car_catalogue.h"
#include "sim/car_figures.h"
#include "text/text_codec.h"
#include "tool/json_output.h"
#include "tool/standing_start_plot.h"
#include "tool/tool_command.h"

namespace velnor {
namespace {

QString bodyName(int type) {
    const QString label = fromShiftJis(bodyTypeLabel(type));
    return label.isEmpty() ? QStringLiteral("?") : label;
}

QString optionalSeconds(const std::optional<double>& value) {
    return value ? QString::asprintf("%.2f s", *value) : QStringLiteral("never");
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

} // namespace

// One car as the game loads it, with its derived figures; --plot draws its standing start.
int showCar(const Invocation& call, QTextStream& out, QTextStream& err) {
    const QString plotFile = call.parser.value("plot");
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

} // namespace velnor
