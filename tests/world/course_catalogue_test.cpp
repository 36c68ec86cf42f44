#include "test_dir.h"
#include "world/course_catalogue.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velnor {
namespace {

using test::TempDir;

const std::string kFixtures = VELNOR_FIXTURES "/courses";

CourseCatalogue scanned(const std::string& root) {
    CourseCatalogue catalogue(root);
    catalogue.scanCourses();
    return catalogue;
}

std::vector<std::string> names(const CourseCatalogue& catalogue) {
    std::vector<std::string> result;
    for (const CatalogueEntry& entry : catalogue.entries())
        result.emplace_back(entry.name);
    return result;
}

// Loads the only course of a one-course file made of `lines`.
CourseCatalogue loadedFrom(const TempDir& dir, const std::string& lines) {
    dir.write("c.rod", "[C]\n" + lines);
    CourseCatalogue catalogue = scanned(dir.path());
    EXPECT_EQ(catalogue.loadCourse(0), 0);
    return catalogue;
}

TEST(CourseCatalogueTest, TheExampleCourse) {
    CourseCatalogue catalogue = scanned(kFixtures);
    ASSERT_EQ(names(catalogue), std::vector<std::string>{"Straight"});
    EXPECT_STREQ(catalogue.entry(0).comment, "One straight");
    EXPECT_STREQ(catalogue.entry(0).path, "straight.rod");
    EXPECT_EQ(catalogue.entry(0).offset, 33); // after the first line and its CRLF
    ASSERT_EQ(catalogue.loadCourse(0), 0);

    const CourseWorld& world = catalogue.loadedWorld();
    const RoadPiece& road = world.roadPiece(0);
    EXPECT_TRUE(road.isUsed());
    EXPECT_EQ(road.vertex(0), (Vec3{-1000, -50, 0}));
    EXPECT_EQ(road.vertex(1), (Vec3{1000, -50, 0}));
    EXPECT_EQ(road.vertex(2), (Vec3{1000, 50, 0}));
    EXPECT_EQ(road.vertex(3), (Vec3{-1000, 50, 0}));
    EXPECT_EQ(road.pieceType(), 3);
    EXPECT_EQ(road.colour(), (Colour{0.8f, 0.8f, 0.8f, 1}));
    EXPECT_FALSE(world.roadPiece(1).isUsed());

    const StartFinishGate& gate = catalogue.loadedGate();
    EXPECT_EQ(gate.direction, (Vec3{1, 0, 0}));
    EXPECT_EQ(gate.end0, (Vec3{500, -50, 0}));
    EXPECT_EQ(gate.end1, (Vec3{500, 50, 0}));

    const BuildingBlock& block = world.block(0);
    const Box& house = block.box(0);
    EXPECT_TRUE(house.isUsed());
    EXPECT_EQ(house.vertex(0), (Vec3{20, 100, 30}));
    EXPECT_EQ(house.vertex(2), (Vec3{-20, 60, 30}));
    EXPECT_EQ(house.vertex(7), (Vec3{20, 60, 0}));
    EXPECT_EQ(house.colour(), (Colour{0.9f, 0.8f, 0.6f, 1}));
    const Cylinder& pillar = block.cylinder(0);
    EXPECT_TRUE(pillar.isUsed());
    EXPECT_EQ(pillar.position(), (Vec3{0, 20, 80}));
    EXPECT_EQ(pillar.radius(), 5);
    EXPECT_EQ(pillar.halfHeight(), 20);
    EXPECT_EQ(pillar.rotation(), (Rotation{90, 1, 0, 0}));
    EXPECT_EQ(pillar.colour(), (Colour{0.3f, 0.3f, 0.3f, 1}));
    EXPECT_EQ(block.pitch(), (Vec3{200, 0, 0}));
    EXPECT_EQ(block.counts(), (std::array<int, 3>{5, 1, 1}));
    EXPECT_EQ(block.origin(), (Vec3{-400, 0, 0}));
    EXPECT_EQ(block.cell(4, 0), (Vec3{400, 0, 0}));
    EXPECT_FALSE(world.block(1).hasUsedPart());

    // A car at the start stands on the road.
    RoadPiece start = road;
    start.setCarWidth(17);
    EXPECT_EQ(start.containsCar(), 0);
}

TEST(CourseCatalogueTest, RecordForms) {
    TempDir dir;
    const CourseCatalogue c = loadedFrom(dir, "#road\n"
                                              "p010=1 2 3\n"      // piece 1, corner 0
                                              "p01=7 7 7\n"       // corner digit is '='
                                              "p500=1 1 1\n"      // piece 50: out of range
                                              "p024=1 1 1\n"      // corner 4: out of range
                                              "p030=5\n"          // missing numbers are 0
                                              "c01=0.1 0.2 0.3\n" // alpha missing: 0
                                              "t05=7\n"
                                              "t06=-1\n"
                                              "t07=4.9\n"
                                              "x99=junk\n"
                                              "#build\n"
                                              "n03=0 2.9 5\n"
                                              "y02=1 2 3\n"
                                              "pb02000=1 1 1\n" // box 0, corner 0
                                              "pb0203=4 5 6\n"  // box 0, corner 3
                                              "pb0217=1 1 1\n"  // box 1, corner 7
                                              "pb022=1 1 1\n"   // no corner digit
                                              "m02=5 10 0 0\n"
                                              "m04=4 1 2 3\n"
                                              "m01=10 0 0 0\n"  // target out of range
                                              "rb020=9\n"       // no radius for boxes
                                              "pp019=1 1 1\n"); // part 9: out of range
    const CourseWorld& world = c.loadedWorld();
    EXPECT_EQ(world.roadPiece(1).vertex(0), (Vec3{10, 20, 30}));
    EXPECT_TRUE(world.roadPiece(1).isUsed());
    EXPECT_EQ(world.roadPiece(1).vertex(1), (Vec3{0, 0, 0}));
    EXPECT_FALSE(world.roadPiece(2).isUsed());
    EXPECT_EQ(world.roadPiece(3).vertex(0), (Vec3{50, 0, 0}));
    EXPECT_EQ(world.roadPiece(1).colour(), (Colour{0.1f, 0.2f, 0.3f, 0}));
    EXPECT_EQ(world.roadPiece(5).pieceType(), 3);
    EXPECT_EQ(world.roadPiece(6).pieceType(), 3);
    EXPECT_EQ(world.roadPiece(6).colour(), (Colour{0.8f, 0.8f, 0.8f, 1}));
    EXPECT_EQ(world.roadPiece(7).pieceType(), 4);

    EXPECT_EQ(world.block(3).counts(), (std::array<int, 3>{1, 2, 5}));
    EXPECT_EQ(world.block(2).box(0).vertex(0), (Vec3{10, 10, 10}));
    EXPECT_EQ(world.block(2).box(0).vertex(3), (Vec3{40, 50, 60}));
    EXPECT_EQ(world.block(2).box(1).vertex(7), (Vec3{10, 10, 10}));
    EXPECT_FALSE(world.block(2).box(2).isUsed());
    const BuildingBlock& copy = world.block(5);
    EXPECT_EQ(copy.pitch(), (Vec3{10, 20, 30}));
    EXPECT_TRUE(copy.box(0).isUsed());
    EXPECT_EQ(copy.origin(), (Vec3{100, 0, 0}));
    EXPECT_EQ(world.block(2).origin(), (Vec3{0, 0, 0}));
    EXPECT_EQ(world.block(4).origin(), (Vec3{10, 20, 30}));
    EXPECT_FALSE(world.block(1).hasUsedPart());
}

TEST(CourseCatalogueTest, ABlockPlacesAtMostSixtyFourCells) {
    // A block places its parts in counts x by counts y cells; a block may place 64 cells at
    // most (the bundled Town Course's largest has 10): the x count is held to 64, then the y
    // count to what fits beside it. The third count is not used and held to 64 as well.
    struct Case {
        const char* name;
        const char* line;
        std::array<int, 3> counts;
    };
    const Case cases[] = {
        {"a town quarter", "n00=5 2 1", {5, 2, 1}},
        {"a square at the limit", "n00=8 8 1", {8, 8, 1}},
        {"a row at the limit", "n00=64 1 1", {64, 1, 1}},
        {"a row one past it", "n00=65 1 1", {64, 1, 1}},
        {"a square one row past it", "n00=8 9 1", {8, 8, 1}},
        {"rows cut to fit", "n00=9 8 1", {9, 7, 1}},
        {"a long column", "n00=1 100000 1", {1, 64, 1}},
        {"a grid that froze the game", "n00=100000 100000 1", {64, 1, 1}},
        {"the unused count", "n00=1 1 100000", {1, 1, 64}},
        {"the largest integers", "n00=99999999999 99999999999 99999999999", {64, 1, 64}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const CourseCatalogue loaded =
            loadedFrom(dir, std::string("#build\npb00000=1 1 1\n") + c.line + "\nm00=3 0 0 0\n");
        EXPECT_EQ(loaded.loadedWorld().block(0).counts(), c.counts);
        EXPECT_EQ(loaded.loadedWorld().block(3).counts(), c.counts); // a copy holds the same
    }
}

// Every coordinate, size and colour of a world and gate is a finite number.
void expectAllFinite(const CourseWorld& world, const StartFinishGate& gate) {
    const auto finite = [](const auto& values, const std::string& what) {
        for (const float v : values)
            EXPECT_TRUE(std::isfinite(v)) << what;
    };
    const auto object = [&](const SceneObject& part, const std::string& what) {
        finite(part.position(), what + " position");
        finite(part.offset(), what + " offset");
        finite(part.colour(), what + " colour");
        finite(part.rotation(), what + " rotation");
    };
    const auto box = [&](const Box& part, const std::string& what) {
        object(part, what);
        for (int v = 0; v < Box::kCorners; ++v)
            finite(part.vertex(v), what + " corner " + std::to_string(v));
    };
    for (int i = 0; i < CourseWorld::kRoadPieces; ++i)
        box(world.roadPiece(i), "road piece " + std::to_string(i));
    for (int b = 0; b < CourseWorld::kBlocks; ++b) {
        const BuildingBlock& block = world.block(b);
        const std::string name = "block " + std::to_string(b);
        finite(block.pitch(), name + " pitch");
        finite(block.origin(), name + " origin");
        for (int k = 0; k < BuildingBlock::kParts; ++k) {
            box(block.box(k), name + " box " + std::to_string(k));
            const Cylinder& pillar = block.cylinder(k);
            object(pillar, name + " pillar " + std::to_string(k));
            finite(std::array<float, 2>{pillar.radius(), pillar.halfHeight()},
                   name + " pillar size " + std::to_string(k));
        }
    }
    finite(gate.direction, "gate direction");
    finite(gate.end0, "gate end 0");
    finite(gate.end1, "gate end 1");
}

TEST(CourseCatalogueTest, NumbersOutOfRangeReadAsZero) {
    // 1e999 is beyond every float; 4e37 m is a float but 4e38 world units is not; "nan" and
    // "inf" are no numbers at all: reading stops there and the values from it on are 0.
    TempDir dir;
    const CourseCatalogue c = loadedFrom(dir, "#road\n"
                                              "p000=1e999 2 3\n"
                                              "p001=-1e999 -2 -3\n"
                                              "p002=4e37 1 1\n"
                                              "p010=1 nan 3\n"
                                              "p011=inf 1 1\n"
                                              "c00=1e999 0.5 -1e999 1\n"
                                              "t02=1e999\n"
                                              "gd=1e999 1 0\n"
                                              "gl0=1e999 -5 4e37\n"
                                              "#build\n"
                                              "pb00000=1e999 1 1\n"
                                              "cb000=1e999 1 1 1\n"
                                              "pp000=1e999 8 4e37\n"
                                              "rp000=1e999\n"
                                              "pp010=0 0 33e36\n"
                                              "hp010=30e36\n" // half 1.5e38 over 3.3e38
                                              "y00=1e999 20 0\n"
                                              "n00=1e999 2 1\n"
                                              "m01=1 1e999 5 4e37\n");
    const CourseWorld& world = c.loadedWorld();
    const StartFinishGate& gate = c.loadedGate();
    EXPECT_EQ(world.roadPiece(0).vertex(0), (Vec3{0, 20, 30}));
    EXPECT_EQ(world.roadPiece(0).vertex(1), (Vec3{0, -20, -30}));
    EXPECT_EQ(world.roadPiece(0).vertex(2), (Vec3{0, 10, 10}));
    EXPECT_EQ(world.roadPiece(1).vertex(0), (Vec3{10, 0, 0}));
    EXPECT_EQ(world.roadPiece(1).vertex(1), (Vec3{0, 0, 0}));
    EXPECT_EQ(world.roadPiece(0).colour(), (Colour{0, 0.5f, 0, 1}));
    EXPECT_EQ(world.roadPiece(2).pieceType(), 0); // type 0: a white marking
    EXPECT_EQ(gate.direction, (Vec3{0, 1, 0}));
    EXPECT_EQ(gate.end0, (Vec3{0, -50, 0}));
    EXPECT_EQ(world.block(0).box(0).vertex(0), (Vec3{0, 10, 10}));
    EXPECT_EQ(world.block(0).box(0).colour(), (Colour{0, 1, 1, 1}));
    EXPECT_EQ(world.block(0).cylinder(0).position(), (Vec3{0, 0, 80}));
    EXPECT_EQ(world.block(0).cylinder(0).radius(), 0);
    EXPECT_EQ(world.block(1).cylinder(0).position(), (Vec3{0, 0, 0})); // raised past the floats
    EXPECT_FLOAT_EQ(world.block(1).cylinder(0).halfHeight(), 1.5e38f);
    EXPECT_EQ(world.block(0).pitch(), (Vec3{0, 200, 0}));
    EXPECT_EQ(world.block(0).counts(), (std::array<int, 3>{1, 2, 1}));
    EXPECT_EQ(world.block(1).origin(), (Vec3{0, 50, 0}));
    expectAllFinite(world, gate);
}

TEST(CourseCatalogueTest, ACourseRunsOnIntoHeadersHoldingItsName) {
    TempDir dir;
    dir.write("ovals.rod", "[Oval]\n#road\np000=1 0 0\n[Oval 2]\n#road\np010=2 0 0\n");
    CourseCatalogue catalogue = scanned(dir.path());
    ASSERT_EQ(names(catalogue), (std::vector<std::string>{"Oval", "Oval 2"}));
    ASSERT_EQ(catalogue.loadCourse(0), 0);
    EXPECT_TRUE(catalogue.loadedWorld().roadPiece(0).isUsed());
    EXPECT_TRUE(catalogue.loadedWorld().roadPiece(1).isUsed()); // Oval 2's piece as well
    ASSERT_EQ(catalogue.loadCourse(1), 0);
    EXPECT_FALSE(catalogue.loadedWorld().roadPiece(0).isUsed());
    EXPECT_TRUE(catalogue.loadedWorld().roadPiece(1).isUsed());
}

TEST(CourseCatalogueTest, SectionsAndOtherCourses) {
    TempDir dir;
    dir.write("a.rod", "[A]\n"
                       "/ #road in a comment opens nothing\n"
                       "p000=1 1 1\n"
                       "#build\n"
                       "y00=1 0 0\n"
                       "x #road here too\n"
                       "p010=2 2 2\n"
                       "[B]\n"
                       "#road\n"
                       "p020=3 3 3\n");
    CourseCatalogue catalogue = scanned(dir.path());
    ASSERT_EQ(catalogue.loadCourse(0), 0);
    const CourseWorld& world = catalogue.loadedWorld();
    EXPECT_FALSE(world.roadPiece(0).isUsed()); // before any section
    EXPECT_EQ(world.block(0).pitch(), (Vec3{10, 0, 0}));
    EXPECT_TRUE(world.roadPiece(1).isUsed());  // "#road" anywhere in a line opens it
    EXPECT_FALSE(world.roadPiece(2).isUsed()); // B's
}

TEST(CourseCatalogueTest, HeaderWithASpaceAfterTheBracket) {
    TempDir dir;
    dir.write("a.rod", "[Oval] \n#road\np000=1 0 0\n");
    CourseCatalogue catalogue = scanned(dir.path());
    ASSERT_EQ(names(catalogue), std::vector<std::string>{"Oval]"});
    ASSERT_EQ(catalogue.loadCourse(0), 0);
    EXPECT_TRUE(catalogue.loadedWorld().roadPiece(0).isUsed());
}

TEST(CourseCatalogueTest, FilesByExtension) {
    TempDir dir;
    dir.write("UPPER.ROD", "[Upper]\n");
    dir.write("sub/deeper.rod", "[Deeper]\n");
    dir.write("old.rod.bak", "[Old]\n");
    dir.write("rod", "[NoExtension]\n");
    EXPECT_EQ(names(scanned(dir.path())), (std::vector<std::string>{"Upper", "Deeper"}));
    TempDir empty;
    EXPECT_EQ(scanned(empty.path()).lastIndex(), -1);
}

TEST(CourseCatalogueTest, CommentsBelongToTheCourseListedLast) {
    TempDir dir;
    dir.write("a.rod", "comment = before any course\n[A]\ncomment =   spaced\n");
    dir.write("b.rod", "comment = for A, from the next file\n[B]\ncomment no equals\n"
                       "COMMENT=upper\n");
    CourseCatalogue catalogue = scanned(dir.path());
    EXPECT_STREQ(catalogue.entry(0).comment, "for A, from the next file");
    EXPECT_STREQ(catalogue.entry(1).comment, "upper");
}

TEST(CourseCatalogueTest, LoadFailuresLeaveTheWorldReset) {
    TempDir dir;
    dir.write("a.rod", "[A]\n#road\np000=1 0 0\ngd=1 0 0\n");
    CourseCatalogue catalogue = scanned(dir.path());
    EXPECT_EQ(catalogue.loadCourse(1), -1);
    ASSERT_EQ(catalogue.loadCourse(0), 0);
    dir.write("a.rod", "[Renamed]\n#road\np000=1 0 0\n");
    EXPECT_EQ(catalogue.loadCourse(0), -1);
    EXPECT_FALSE(catalogue.loadedWorld().roadPiece(0).isUsed());
    std::remove(dir.file("a.rod").c_str());
    EXPECT_EQ(catalogue.loadCourse(0), -1);
}

TEST(CourseCatalogueTest, TheGateStaysFromTheCourseLoadedBefore) {
    TempDir dir;
    dir.write("a.rod", "[A]\n#road\ngd=0 -1 0\ngl0=1 2 0\n[Other]\n#road\np000=1 0 0\n");
    CourseCatalogue catalogue = scanned(dir.path());
    ASSERT_EQ(catalogue.loadCourse(0), 0);
    ASSERT_EQ(catalogue.loadCourse(1), 0);
    EXPECT_EQ(catalogue.loadedGate().direction, (Vec3{0, -1, 0}));
    EXPECT_EQ(catalogue.loadedGate().end0, (Vec3{10, 20, 0}));
}

TEST(CourseCatalogueTest, StalePositionFoundFromTheStart) {
    TempDir dir;
    dir.write("a.rod", "[A]\n#road\np000=1 0 0\n[B]\n#road\np010=1 0 0\n");
    CourseCatalogue catalogue = scanned(dir.path());
    dir.write("a.rod", "[B]\n#road\np010=1 0 0\n/ a longer comment moves A on\n[A]\n#road\n"
                       "p000=1 0 0\n");
    ASSERT_EQ(catalogue.loadCourse(1), 0); // B: past its old position, found from the start
    EXPECT_TRUE(catalogue.loadedWorld().roadPiece(1).isUsed());
    EXPECT_FALSE(catalogue.loadedWorld().roadPiece(0).isUsed());
}

TEST(CourseCatalogueTest, MoreThanAHundredCourses) {
    TempDir dir;
    std::string file;
    for (int i = 0; i < 105; ++i)
        file += "[Course " + std::to_string(i) + "]\ncomment = number " + std::to_string(i) + "\n";
    dir.write("many.rod", file);
    const CourseCatalogue catalogue = scanned(dir.path());
    ASSERT_EQ(catalogue.count(), CourseCatalogue::kCapacity);
    EXPECT_STREQ(catalogue.entry(99).name, "Course 99");
    EXPECT_STREQ(catalogue.entry(99).comment, "number 99");
    // the comments of the courses not listed describe no listed course
    for (const int i : {0, 1, 98})
        EXPECT_EQ(std::string(catalogue.entry(i).comment), "number " + std::to_string(i)) << i;
}

TEST(CourseCatalogueTest, LongNamesCommentsAndPathsAreCut) {
    TempDir dir;
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + std::string here.
    dir.write(
        "a.rod",
        std::string("[").append(40, 'n').append("]\ncomment = ").append(300, 'c').append("\n"));
    dir.write(std::string(250, 'd') + ".rod", "[TooDeep]\n");
    const CourseCatalogue catalogue = scanned(dir.path());
    ASSERT_EQ(catalogue.count(), 1);
    EXPECT_EQ(std::string(catalogue.entry(0).name), std::string(31, 'n'));
    EXPECT_EQ(std::string(catalogue.entry(0).comment), std::string(255, 'c'));
}

// Course files give lengths in metres; the world is in tenths of a metre. A pillar "ppBBk" stands
// at (x, z, y) of its line (the file gives its height second), turned 90° about x so that it
// stands upright, and its height "hp" lifts it by half the height.
TEST(CourseCatalogueTest, PillarsBoxesAndTheGateAsTheFileGivesThem) {
    TempDir dir;
    const CourseCatalogue c = loadedFrom(dir, "#road\n"
                                              "p493=1 2 3\n"
                                              "c49=0.1 0.2 0.3 0.4\n"
                                              "t49=4\n"
                                              "c50=0.5 0.5 0.5 0.5\n" // no piece 50
                                              "t50=4\n"
                                              "gd=0 -1 0\n" // a direction, not a length
                                              "gl0=1 2 3\n"
                                              "gl1=4 5 6\n"
                                              "gl2=7 8 9\n" // a line has two ends only
                                              "#build\n"
                                              "pp012=3 4 5\n"
                                              "rp012=2\n"
                                              "hp012=6\n"
                                              "cp012=0.1 0.2 0.3 0.4\n"
                                              "cb013=0.5 0.6 0.7 0.8\n"
                                              "hb012=5\n"       // boxes have no height
                                              "pp093=1 1 1\n"   // block 9, the last
                                              "pp103=1 1 1\n"   // no block 10
                                              "pp014=1 1 1\n"); // no part 4
    const CourseWorld& world = c.loadedWorld();
    EXPECT_EQ(world.roadPiece(49).vertex(3), (Vec3{10, 20, 30}));
    EXPECT_TRUE(world.roadPiece(49).isUsed());
    EXPECT_EQ(world.roadPiece(49).pieceType(), 4);
    EXPECT_EQ(world.roadPiece(49).colour(), (Colour{0.635f, 0.415f, 0.062f, 1})); // the type's
    EXPECT_FALSE(world.ground().isUsed());
    EXPECT_EQ(world.ground().colour(), (Colour{0, 0, 0, 1}));

    const StartFinishGate& gate = c.loadedGate();
    EXPECT_EQ(gate.direction, (Vec3{0, -1, 0}));
    EXPECT_EQ(gate.end0, (Vec3{10, 20, 30}));
    EXPECT_EQ(gate.end1, (Vec3{40, 50, 60}));

    const Cylinder& pillar = world.block(1).cylinder(2);
    EXPECT_TRUE(pillar.isUsed());
    EXPECT_EQ(pillar.radius(), 20);
    EXPECT_EQ(pillar.halfHeight(), 30);
    EXPECT_EQ(pillar.position(), (Vec3{30, 50 + 30, 40}));
    EXPECT_EQ(pillar.rotation(), (Rotation{90, 1, 0, 0}));
    EXPECT_EQ(pillar.colour(), (Colour{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(world.block(1).box(3).colour(), (Colour{0.5f, 0.6f, 0.7f, 0.8f}));
    EXPECT_EQ(world.block(1).box(2).colour(), (Colour{0, 0, 0, 1}));
    EXPECT_FALSE(world.block(1).cylinder(3).isUsed());
    EXPECT_TRUE(world.block(9).cylinder(3).isUsed());
    EXPECT_EQ(world.block(9).cylinder(3).position(), (Vec3{10, 10, 10}));
    for (int b = 0; b < CourseWorld::kBlocks; ++b) {
        if (b != 1 && b != 9) {
            EXPECT_FALSE(world.block(b).hasUsedPart()) << b;
        }
    }
}

// A course file's path, relative to the game directory, may be 247 bytes long, not one more; a
// file that is not there lists nothing.
TEST(CourseCatalogueTest, PathsUpTo247BytesAndMissingFiles) {
    TempDir dir;
    const std::string folder(100, 'd');
    const std::string fits = folder + "/" + std::string(142, 'e') + ".rod";   // 247 bytes
    const std::string longer = folder + "/" + std::string(143, 'e') + ".rod"; // 248 bytes
    ASSERT_EQ(fits.size(), 247u);
    dir.write(fits, "[Fits]\n");
    dir.write(longer, "[Longer]\n");
    CourseCatalogue catalogue(dir.path());
    EXPECT_EQ(catalogue.listCourseFile(fits), 0);
    EXPECT_EQ(catalogue.listCourseFile(longer), -1);
    EXPECT_EQ(catalogue.listCourseFile("missing.rod"), -1);
    ASSERT_EQ(catalogue.count(), 1);
    EXPECT_STREQ(catalogue.entry(0).name, "Fits");
}

TEST(CourseCatalogueTest, AResetWorldHasNoGround) {
    CourseWorld world;
    world.ground().setUsed(1);
    world.ground().setVertex(0, 1, 2, 3);
    world.resetWorld();
    EXPECT_FALSE(world.ground().isUsed());
    EXPECT_EQ(world.ground().vertex(0), (Vec3{0, 0, 0}));
}

} // namespace
} // namespace velnor
