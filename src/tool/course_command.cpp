#include "text/text_codec.h"
#include "tool/json_output.h"
#include "tool/tool_command.h"
#include "world/course_catalogue.h"

#include <memory>

namespace velnor {
namespace {

QJsonArray piecesJson(const CourseWorld& world) {
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
    return pieces;
}

QJsonObject blockJson(int b, const BuildingBlock& block) {
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
    return QJsonObject{{"index", b},
                       {"pitch", vectorJson(block.pitch())},
                       {"counts", vectorJson(block.counts())},
                       {"origin", vectorJson(block.origin())},
                       {"boxes", boxes},
                       {"cylinders", cylinders}};
}

QJsonObject courseJson(const CatalogueEntry& entry, const CourseWorld& world,
                       const StartFinishGate& gate) {
    QJsonArray blocks;
    for (int b = 0; b < CourseWorld::kBlocks; ++b)
        if (world.block(b).hasUsedPart())
            blocks.append(blockJson(b, world.block(b)));
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
                       {"pieces", piecesJson(world)},
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

} // namespace

// One course as the game loads it: road pieces, building blocks, gate and gate zone.
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

} // namespace velnor
