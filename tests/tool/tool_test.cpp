#include "sim/car_spec.h"
#include "sim/road_conditions.h"
#include "test_dir.h"
#include "text/text_codec.h"
#include "tool/tool.h"
#include "tool_run.h"

#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <gtest/gtest.h>

namespace velnor {
namespace {

using test::runWith;
using test::ToolRun;

const QString kFixtures = QStringLiteral(VELNOR_FIXTURES "/cars");

TEST(ToolTest, CarsListsTheCatalogueInOrderWithDecodedSummaries) {
    const ToolRun run = runWith({"--dir", kFixtures, "--json", "cars"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray cars = run.json()["cars"].toArray();
    ASSERT_EQ(cars.size(), 2);
    const QJsonObject example = cars[0].toObject();
    EXPECT_EQ(example["index"].toInt(), 0);
    EXPECT_EQ(example["name"].toString(), "Example");
    EXPECT_EQ(example["path"].toString(), "garage/example.car");
    EXPECT_EQ(example["offset"].toInt(), 81);
    EXPECT_EQ(example["summary"].toString(),
              QString::fromUtf8("総排気量      2000 [cc]\n"
                                "総重量        1000 [kg]\n"
                                "最大出力       150 [ps] /  6000 [rpm]\n"
                                "最大トルク    20.0 [kg・m] /  4000 [rpm]\n"
                                "計算例の車"));
    EXPECT_EQ(cars[1].toObject()["name"].toString(), QString::fromUtf8("テスト号"));
}

TEST(ToolTest, CarShowsTheLoadedDataAndDerivedFigures) {
    const ToolRun run = runWith({"--dir", kFixtures, "--json", "car", "Example"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject car = run.json();
    EXPECT_EQ(car["carname"].toString(), "Example");
    EXPECT_DOUBLE_EQ(car["width"].toDouble(), 1.7);
    EXPECT_EQ(car["gear"].toArray().size(), 6);
    EXPECT_EQ(car["gear"].toArray()[4].toDouble(), 0.8);
    EXPECT_EQ(car["automatic"].toInt(), 1);
    EXPECT_NEAR(car["carColour"].toArray()[2].toDouble(), 1.0, 1e-6);
    EXPECT_NEAR(car["carColour"].toArray()[0].toDouble(), 0.2, 1e-6);

    const QJsonObject derived = car["derived"].toObject();
    EXPECT_EQ(derived["gearCount"].toInt(), 5);
    EXPECT_NEAR(derived["restAccelerator"].toDouble(), 0.0022440, 1e-7);
    EXPECT_NEAR(derived["restBrake"].toDouble(), 0.009, 1e-9);
    EXPECT_NEAR(derived["frontalArea"].toDouble(), 2.38, 1e-9);
    EXPECT_NEAR(derived["airResistanceAt100"].toDouble(), 59.5, 1e-9);
    const QJsonArray gears = derived["gears"].toArray();
    ASSERT_EQ(gears.size(), 5);
    const QJsonObject first = gears[0].toObject();
    EXPECT_EQ(first["gear"].toInt(), 1);
    EXPECT_NEAR(first["driveForceAtLimit"].toDouble(), 549.76, 0.005);
    EXPECT_NEAR(first["accelerationFromRest"].toDouble(), 5.2407, 1e-4);
    EXPECT_NEAR(first["revLimitSpeed"].toDouble(), 64.6, 0.05);

    const QJsonObject run120 = derived["acceleration"].toObject();
    EXPECT_TRUE(run120["to50"].isDouble());
    EXPECT_TRUE(run120["to100"].isDouble());
    EXPECT_LT(run120["to50"].toDouble(), run120["to100"].toDouble());
    EXPECT_GT(run120["speedAt60"].toDouble(), 100.0);
    EXPECT_FALSE(run120["topGearReached"].toBool()); // tops out in fourth
}

TEST(ToolTest, JapaneseNamesAndTyreDesignations) {
    const ToolRun run =
        runWith({"--dir", kFixtures, "--json", "car", QString::fromUtf8("テスト号")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject car = run.json();
    EXPECT_NEAR(car["tire"].toDouble(), 14 * 0.0254 + 2 * 0.155 * 0.65, 1e-12);
    EXPECT_EQ(car["carColour"].toArray()[0].toDouble(), -1.0);
    EXPECT_EQ(car["derived"].toObject()["gearCount"].toInt(), 4);
}

TEST(ToolTest, HumanReadableSheet) {
    const ToolRun run = runWith({"--dir", kFixtures, "car", "Example"});
    ASSERT_EQ(run.status, 0);
    for (const char* expected : {"Example", "549.76", "64.6", "59.5 kgf", "0-100 km/h"})
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(expected))) << expected;
    const ToolRun list = runWith({"--dir", kFixtures, "cars"});
    EXPECT_TRUE(list.out.contains("garage/example.car @81"));
}

TEST(ToolTest, ErrorsNameWhatIsWrong) {
    struct Case {
        QStringList arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"--dir", kFixtures, "car", "Nobody"}, 1, "no car named \"Nobody\""},
        {{"--dir", kFixtures + "/missing", "cars"}, 1, "not a directory"},
        {{"--dir", kFixtures, "fly"}, 2, "unknown command"},
        {{"--dir", kFixtures, "car"}, 2, "usage"},
        {{"--bogus"}, 2, "bogus"},
    };
    for (const Case& c : cases) {
        const ToolRun run = runWith(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST(ToolTest, BundledCarsAreDrivable) {
    const ToolRun list = runWith({"--dir", VELNOR_DATA, "--json", "cars"});
    ASSERT_EQ(list.status, 0);
    const QJsonArray cars = list.json()["cars"].toArray();
    ASSERT_GE(cars.size(), 1);
    for (const QJsonValue& entry : cars) {
        const QString name = entry.toObject()["name"].toString();
        const ToolRun car = runWith({"--dir", VELNOR_DATA, "--json", "car", name});
        ASSERT_EQ(car.status, 0) << name.toStdString();
        const QJsonObject derived = car.json()["derived"].toObject();
        EXPECT_GE(derived["gearCount"].toInt(), 1) << name.toStdString();
        EXPECT_TRUE(derived["acceleration"].toObject()["to100"].isDouble()) << name.toStdString();
        EXPECT_TRUE(derived["acceleration"].toObject()["topGearReached"].toBool())
            << name.toStdString();
    }
}

TEST(ToolTest, CoursesWithTheirRecords) {
    test::TempDir dir;
    dir.write("a.rod", "[Hill]\ncomment = \x8d\xe2\x93\xb9\n[Oval]\n");
    dir.write("Velnor.rec", "[Oval]\n0 = 61000 59500 60250\n1 = 70000\n2 =\n\n");
    const ToolRun run = runWith({"--dir", QString::fromStdString(dir.path()), "--json", "courses"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray courses = run.json()["courses"].toArray();
    ASSERT_EQ(courses.size(), 2);
    EXPECT_EQ(courses[0].toObject()["comment"].toString(), QString::fromUtf8("坂道"));
    EXPECT_EQ(courses[0].toObject()["records"].toArray(), (QJsonArray{0, 0, 0}));
    EXPECT_EQ(courses[1].toObject()["records"].toArray(), (QJsonArray{180750, 70000, 0}));
    EXPECT_EQ(courses[1].toObject()["offset"].toInt(), 22);

    const ToolRun sheet = runWith({"--dir", QString::fromStdString(dir.path()), "courses"});
    EXPECT_TRUE(sheet.out.contains("best  03'00.750  01'10.000  --'--.---"))
        << sheet.out.toStdString();
}

TEST(ToolTest, CourseAsLoaded) {
    const QString fixtures = QStringLiteral(VELNOR_FIXTURES "/courses");
    const ToolRun run = runWith({"--dir", fixtures, "--json", "course", "Straight"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject course = run.json();
    EXPECT_EQ(course["comment"].toString(), "One straight");
    const QJsonArray pieces = course["pieces"].toArray();
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_EQ(pieces[0].toObject()["corners"].toArray()[2].toArray(), (QJsonArray{1000, 50, 0}));
    EXPECT_EQ(pieces[0].toObject()["colour"].toArray(), (QJsonArray{0.8, 0.8, 0.8, 1}));
    const QJsonObject block = course["blocks"].toArray()[0].toObject();
    EXPECT_EQ(block["counts"].toArray(), (QJsonArray{5, 1, 1}));
    EXPECT_EQ(block["boxes"].toArray().size(), 1);
    const QJsonObject pillar = block["cylinders"].toArray()[0].toObject();
    EXPECT_EQ(pillar["position"].toArray(), (QJsonArray{0, 20, 80}));
    EXPECT_EQ(pillar["halfHeight"].toDouble(), 20);
    const QJsonObject gate = course["gate"].toObject();
    EXPECT_EQ(gate["axis"].toInt(), 0);
    EXPECT_EQ(gate["alongMin"].toDouble(), 400);
    EXPECT_EQ(gate["acrossMax"].toDouble(), 50);

    const ToolRun missing = runWith({"--dir", fixtures, "course", "Nowhere"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("no course named \"Nowhere\""));
    const ToolRun sheet = runWith({"--dir", fixtures, "course", "Straight"});
    EXPECT_TRUE(sheet.out.contains("zone along 400 .. 500, across -50 .. 50"));
}

TEST(ToolTest, TheAutopilotFinishesEveryBundledCourseWithEveryBundledCar) {
    test::TempDir dir;
    std::filesystem::copy(VELNOR_DATA, dir.path(), std::filesystem::copy_options::recursive);
    const QString root = QString::fromStdString(dir.path());
    const QJsonArray cars = runWith({"--dir", root, "--json", "cars"}).json()["cars"].toArray();
    const QJsonArray courses =
        runWith({"--dir", root, "--json", "courses"}).json()["courses"].toArray();
    ASSERT_GE(cars.size(), 1);
    ASSERT_GE(courses.size(), 1);
    for (const QJsonValue& car : cars) {
        for (const QJsonValue& course : courses) {
            const QString carName = car.toObject()["name"].toString();
            const QString courseName = course.toObject()["name"].toString();
            const ToolRun race = runWith({"--dir", root, "--json", "race", "--car", carName,
                                          "--course", courseName, "--autopilot", "--no-ghost"});
            ASSERT_EQ(race.status, 0) << race.err.toStdString();
            EXPECT_TRUE(race.json()["finished"].toBool())
                << carName.toStdString() << " on " << courseName.toStdString();
            EXPECT_EQ(race.json()["offRoad"].toInt(), 0)
                << carName.toStdString() << " on " << courseName.toStdString();
        }
    }
}

TEST(ToolTest, ARaceWithoutAWindow) {
    test::TempDir dir;
    std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                          std::filesystem::copy_options::recursive);
    const QString root = QString::fromStdString(dir.path());
    const ToolRun run = runWith({"--dir", root, "--json", "race", "--car", "Tester", "--course",
                                 "Oval", "--autopilot", "--save-ghost"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject race = run.json();
    EXPECT_TRUE(race["finished"].toBool());
    EXPECT_EQ(race["laps"].toArray().size(), 3);
    EXPECT_EQ(race["finishRank"].toInt(), 0);
    EXPECT_TRUE(race["recordsWritten"].toBool());
    EXPECT_TRUE(race["ghostSaved"].toBool());
    EXPECT_TRUE(race["ghost"].isNull());
    EXPECT_EQ(race["offRoad"].toInt(), 0);
    EXPECT_EQ(race["car"].toObject()["speed"].toDouble(), 0);
    for (const char* key : {"totalTime", "passes", "raceTime"})
        EXPECT_GT(race[key].toDouble(), 0) << key;

    // The next race meets the ghost; this one stops at 20 s.
    const ToolRun second = runWith({"--dir", root, "--json", "race", "--car", "Tester", "--course",
                                    "Oval", "--until-ms", "20000"});
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    const QJsonObject again = second.json();
    EXPECT_FALSE(again["finished"].toBool());
    EXPECT_EQ(again["finishRank"].toInt(), -1);
    EXPECT_EQ(again["raceTime"].toInt(), 20000); // a pass every millisecond
    EXPECT_EQ(again["ghost"].toObject()["carname"].toString(), "Tester");
    EXPECT_GT(again["ghost"].toObject()["distance"].toDouble(), 200);
    EXPECT_EQ(again["car"].toObject()["distance"].toDouble(), 0); // nobody pressed a key

    dir.write("bad.txt", "100 X down\n200 W down\n");
    const ToolRun bad = runWith({"--dir", root, "race", "--car", "Tester", "--course", "Oval",
                                 "--inputs", QString::fromStdString(dir.file("bad.txt"))});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains("bad.txt:2: unknown key \"W\"")) << bad.err.toStdString();
    EXPECT_EQ(runWith({"--dir", root, "race", "--car", "Nobody", "--course", "Oval"}).status, 1);
    EXPECT_EQ(runWith({"--dir", root, "race", "--car", "Tester"}).status, 2);
    // The passes' pace is the game's, not an option.
    EXPECT_EQ(
        runWith({"--dir", root, "race", "--car", "Tester", "--course", "Oval", "--frame-ms", "7"})
            .status,
        2);
}

// The ghost watched headless: no car of one's own, the run's laps, no place, nothing written; a
// course without a ghost is an error.
TEST(ToolTest, WatchingAGhostWithoutAWindow) {
    test::TempDir dir;
    std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                          std::filesystem::copy_options::recursive);
    const QString root = QString::fromStdString(dir.path());
    const QStringList watch = {"--dir", root, "--json", "race", "--watch", "--course", "Oval"};
    const ToolRun none = runWith(watch);
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains("the course \"Oval\" has no ghost to watch"))
        << none.err.toStdString();

    const ToolRun run = runWith({"--dir", root, "--json", "race", "--car", "Tester", "--course",
                                 "Oval", "--autopilot", "--save-ghost"});
    ASSERT_TRUE(run.json()["ghostSaved"].toBool()) << run.err.toStdString();
    const std::string records = dir.read("Velnor.rec");
    const ToolRun seen = runWith(watch);
    ASSERT_EQ(seen.status, 0) << seen.err.toStdString();
    const QJsonObject race = seen.json();
    EXPECT_TRUE(race["finished"].toBool());
    EXPECT_EQ(race["laps"].toArray().size(), 3);
    EXPECT_NEAR(race["totalTime"].toInt(), run.json()["totalTime"].toInt(), 5);
    EXPECT_EQ(race["finishRank"].toInt(), -1);
    EXPECT_FALSE(race["recordsWritten"].toBool());
    EXPECT_TRUE(race["ghost"].isNull()); // no second car
    EXPECT_EQ(dir.read("Velnor.rec"), records);
    EXPECT_EQ(runWith({"--dir", root, "race", "--watch"}).status, 2); // a course is needed
}

TEST(ToolTest, TheBundledFilesLintClean) {
    QStringList files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(VELNOR_DATA)) {
        const QString path = QString::fromStdString(entry.path().string());
        if (path.endsWith(".car") || path.endsWith(".rod") || path.endsWith(".mod"))
            files << path;
    }
    ASSERT_GE(files.size(), 6);
    const ToolRun run = runWith(QStringList{"lint"} + files);
    EXPECT_EQ(run.status, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

TEST(ToolTest, LintNamesFileLineAndReason) {
    test::TempDir dir;
    dir.write("bad.car", "before\n[Kite]\nwidth = 0\n wheel = 5\ngear7 = 3\ntire = 195/65\n"
                         "color = 300 2\ncomment = see [x]\n");
    dir.write("bad.rod", "[A]\n#road\np500=1 2 3\nt01=7\ngd=0.5 0 0\n#build\nn00=0 1 1\n");
    dir.write("Velnor.rec", "[A]\n0 = 100 0 200\n");
    dir.write("notes.txt", "");
    const QString root = QString::fromStdString(dir.path());
    const ToolRun run =
        runWith({"lint", root + "/bad.car", root + "/bad.rod", root + "/Velnor.rec"});
    EXPECT_EQ(run.status, 1);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    const QStringList expected = {
        "/bad.car:1: before the first car: ignored",
        "/bad.car:3: width: 0 is refused (it must be above 0); the value before it stays",
        "/bad.car:4: begins with a space: not read as a key",
        "/bad.car:5: no such gear (gear1 to gear6): ignored",
        "/bad.car:6: tire: a size designation without R is refused",
        "/bad.car:7: color: fewer than three numbers; the missing ones read as 0",
        "/bad.car:7: color: a value outside 0-255 is clamped",
        "/bad.car:8: holds both '[' and ']': read as the header of a car named \"x\"",
        "/bad.rod:3: no road piece 50 (0-49): ignored",
        "/bad.rod:4: no road type 7 (0-4): it is stored as 3",
        "/bad.rod:5: the gate's direction is no axis ((+-1, 0) or (0, +-1)): no lap is ever "
        "counted",
        "/bad.rod:7: a count below 1 is taken as 1",
        "/Velnor.rec:2: the lap times after a 0 are not read",
    };
    ASSERT_EQ(lines.size(), expected.size()) << run.out.toStdString();
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], root + expected[i]);
    EXPECT_EQ(runWith({"lint", root + "/notes.txt"}).status, 2);
    EXPECT_EQ(runWith({"lint", root + "/missing.car"}).status, 2);
}

TEST(ToolTest, LintNamesHugeGridsAndNumbersTheGameReadsAsZero) {
    test::TempDir dir;
    dir.write("big.rod", "[A]\n"
                         "#road\n"
                         "p000=1e999 2 3\n" // 3: beyond the floats
                         "p001=4e37 1 1\n"  // 4: a float, but 4e38 world units is not
                         "c00=4e37 1 1 1\n" // 5: a colour is not scaled: fine
                         "c01=nan 1 1 1\n"  // 6: no number
                         "t01=-1e999\n"     // 7
                         "gd=1 0 0 1e999\n" // 8: a fourth number is not read
                         "#build\n"
                         "n00=100000 100000 1\n" // 10: the grid that froze the game
                         "n01=8 8 1\n"           // 11: at the limit
                         "n02=9 8 1\n"           // 12
                         "pp000=1 2 INF\n"       // 13
                         "m01=1 0 0 4e37\n"      // 14
                         "m02=4e37 0 0 0\n");    // 15: the block number is not scaled
    dir.write("big.mod", "[type0]\nw=1e999\n#body\np00=1 -nan 3\ns=1e999\n#tire\nr0=2e38\n");
    const QString root = QString::fromStdString(dir.path());
    const ToolRun run = runWith({"lint", root + "/big.rod", root + "/big.mod"});
    EXPECT_EQ(run.status, 1);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    const QStringList expected = {
        "/big.rod:3: 1e999 is too large a number: read as 0",
        "/big.rod:4: 4e37 is too large once in world units: read as 0",
        "/big.rod:6: nan is no number: it and the numbers after it read as 0",
        "/big.rod:7: -1e999 is too large a number: read as 0",
        "/big.rod:10: a grid of 100000 x 100000 cells is more than one block places (64): "
        "read as 64 x 1",
        "/big.rod:12: a grid of 9 x 8 cells is more than one block places (64): read as 9 x 7",
        "/big.rod:13: INF is no number: it and the numbers after it read as 0",
        "/big.rod:14: 4e37 is too large once in world units: read as 0",
        "/big.rod:15: no building block to copy to (0-9): ignored",
        "/big.mod:2: 1e999 is too large a number: read as 0",
        "/big.mod:4: -nan is no number: it and the numbers after it read as 0",
        "/big.mod:5: 1e999 is too large a number: read as 0",
    };
    ASSERT_EQ(lines.size(), expected.size()) << run.out.toStdString();
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], root + expected[i]);
}

TEST(ToolTest, MapAndPlotPictures) {
    test::TempDir dir;
    std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                          std::filesystem::copy_options::recursive);
    const QString root = QString::fromStdString(dir.path());
    const QString map = root + "/map.png";
    const ToolRun drawn = runWith(
        {"--dir", root, "map", "--course", "Oval", "--car", "Tester", "--autopilot", "-o", map});
    ASSERT_EQ(drawn.status, 0) << drawn.err.toStdString();
    const QImage picture(map);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(std::max(picture.width(), picture.height()), 1000);
    // The start lies 200 world units (20 m) in from the left of the oval's pieces; the road
    // there is grey, the accepted area green round it, the path drawn over it.
    int green = 0, path = 0;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2) {
            const QColor c = picture.pixelColor(x, y);
            green += c == QColor(196, 226, 176);
            path += c.saturation() > 200 && c.value() > 150;
        }
    EXPECT_GT(green, 100);
    EXPECT_GT(path, 100);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Velnor.rec"))); // the race left no records

    const QString plot = root + "/plot.png";
    ASSERT_EQ(runWith({"--dir", root, "car", "Tester", "--plot", plot}).status, 0);
    EXPECT_EQ(QImage(plot).size(), QSize(900, 500));
    EXPECT_EQ(runWith({"--dir", root, "map", "--course", "Nowhere", "-o", map}).status, 1);
}

TEST(TextCodecTest, LabelsOfBodiesAndSurfaces) {
    const char* const bodies[] = {"セダン", "バン",     "1BOX", "ハッチバック",
                                  "クーペ", "トラック", "バス"};
    for (int type = 0; type < kBodyTypeCount; ++type)
        EXPECT_EQ(fromShiftJis(bodyTypeLabel(type)), QString::fromUtf8(bodies[type])) << type;
    const char* const surfaces[] = {"乾いた砂地",           "砂または石灰質の道",
                                    "新しく砂利を敷いた道", "石の多い凸凹路",
                                    "手入れのよい小砂利道", "アスファルト舗装路"};
    for (int surface = 0; surface < kSurfaceCount; ++surface)
        EXPECT_EQ(fromShiftJis(surfaceLabel(surface)), QString::fromUtf8(surfaces[surface]));
    EXPECT_STREQ(bodyTypeLabel(7), "");
    EXPECT_STREQ(surfaceLabel(-1), "");
}

TEST(TextCodecTest, ShiftJisBothWays) {
    EXPECT_EQ(toShiftJis(QString::fromUtf8("セダン")), "\x83Z\x83_\x83\x93");
    EXPECT_EQ(toShiftJis(QString::fromUtf8("Kite 1BOX")), "Kite 1BOX");
    // What Shift-JIS cannot hold becomes "?", one for each character.
    EXPECT_EQ(toShiftJis(QString::fromUtf8("café😀.")), "caf??.");
    EXPECT_EQ(fromShiftJis("\x83Z\x83_\x83\x93"), QString::fromUtf8("セダン"));
    EXPECT_EQ(fromShiftJis("kg\x81"
                           "Em"),
              QString::fromUtf8("kg・m"));
}

} // namespace
} // namespace velnor

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    // Maps and plots draw text: a GUI application, off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
