// velnor-tool ghost: a course's ghost replayed as a race replays it. The ghost is a run the
// autopilot drives on the race fixtures' oval and the tool saves; its replay must give that run's
// laps, which the race reports from the player's own car.
#include "test_dir.h"
#include "tool/tool.h"
#include "tool_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <filesystem>
#include <gtest/gtest.h>

namespace velnor {
namespace {

using test::runWith;

class GhostToolTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
        root = QString::fromStdString(dir.path());
    }
    // The autopilot's run saved as the oval's ghost; its laps as the race reports them.
    QJsonObject saveAutopilotGhost() const {
        const test::ToolRun race = runWith({"--dir", root, "--json", "race", "--car", "Tester",
                                            "--course", "Oval", "--autopilot", "--save-ghost"});
        EXPECT_EQ(race.status, 0) << race.err.toStdString();
        EXPECT_TRUE(race.json()["ghostSaved"].toBool());
        return race.json();
    }

    test::TempDir dir;
    QString root;
};

TEST_F(GhostToolTest, TheReplayDrivesTheLapsOfTheRunItKeeps) {
    const QJsonObject race = saveAutopilotGhost();
    const QJsonArray laps = race["laps"].toArray();
    ASSERT_EQ(laps.size(), 3);

    const test::ToolRun json = runWith({"--dir", root, "--json", "ghost", "Oval"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject ghost = json.json();
    EXPECT_EQ(ghost["laps"].toArray(), laps);
    EXPECT_TRUE(ghost["finished"].toBool());
    EXPECT_EQ(ghost["totalTime"].toInt(), race["totalTime"].toInt());
    EXPECT_EQ(ghost["statedFinish"].toInt(), race["totalTime"].toInt());
    EXPECT_EQ(ghost["car"].toString(), "Tester");
    EXPECT_EQ(ghost["carname"].toString(), "Tester");
    EXPECT_EQ(ghost["file"].toString(), root + "/Oval.gst");
    EXPECT_EQ(ghost["fullFrom"].toInt(), -1);

    // A race against it reports the same laps for its ghost.
    const test::ToolRun against = runWith({"--dir", root, "--json", "race", "--car", "Tester",
                                           "--course", "Oval", "--until-ms", "1000"});
    ASSERT_EQ(against.status, 0) << against.err.toStdString();
    EXPECT_EQ(against.json()["ghost"].toObject()["laps"].toArray(), laps);
    EXPECT_EQ(against.json()["ghost"].toObject()["totalTime"].toInt(), race["totalTime"].toInt());

    const test::ToolRun sheet = runWith({"--dir", root, "ghost", "Oval"});
    ASSERT_EQ(sheet.status, 0);
    const auto time = [](int ms) {
        return QString::asprintf("%02d'%02d.%03d", ms / 60000, ms / 1000 % 60, ms % 1000);
    };
    const int total = race["totalTime"].toInt();
    EXPECT_TRUE(sheet.out.startsWith("Ghost of Oval: Tester\n")) << sheet.out.toStdString();
    for (int lap = 0; lap < 3; ++lap)
        EXPECT_TRUE(
            sheet.out.contains(QString("  lap %1  %2\n").arg(lap + 1).arg(time(laps[lap].toInt()))))
            << sheet.out.toStdString();
    EXPECT_TRUE(sheet.out.contains("  total  " + time(total) + " as replayed; the file states " +
                                   time(total) + "\n"))
        << sheet.out.toStdString();
}

// One line per tenth of a second from 0 to the last tenth before the finish plus 2 s: race time,
// x, y, speed; standing at the origin at 0.
TEST_F(GhostToolTest, TheCsvPathHasALinePerTenthOfASecond) {
    const int total = saveAutopilotGhost()["totalTime"].toInt();
    const test::ToolRun csv = runWith({"--dir", root, "ghost", "Oval", "--csv"});
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], "time_s,x,y,speed_kmh");
    const int tenths = (total + 2000) / 100; // the last line's time in tenths of a second
    ASSERT_EQ(lines.size(), 1 + tenths + 1);
    EXPECT_EQ(lines[1], "0.0,0.0,0.0,0.0");
    double fastest = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(',');
        ASSERT_EQ(fields.size(), 4) << lines[i].toStdString();
        ASSERT_EQ(fields[0], QString::number((i - 1) / 10.0, 'f', 1));
        fastest = std::max(fastest, fields[3].toDouble());
    }
    EXPECT_GT(fastest, 30.0); // it drove round the oval, not stood
}

// The autopilot's three laps of the bundled Technical Circuit change some control more than 1024
// times: the file's 1024th row holds the last change kept. The tool names that moment, read here
// from the file's text: the earliest time in that row (digital and value rows alike) of a channel
// that is not empty there.
TEST_F(GhostToolTest, AGhostWhoseLogIsFullSaysFromWhen) {
    test::TempDir game;
    for (const char* file : {"Velnor.car", "Velnor.mod", "courses"})
        std::filesystem::copy(VELNOR_DATA "/" + std::string(file), game.file(file),
                              std::filesystem::copy_options::recursive);
    const QString where = QString::fromStdString(game.path());
    const test::ToolRun race = runWith({"--dir", where, "race", "--car", "Stella 2.0", "--course",
                                        "Technical Circuit", "--autopilot", "--save-ghost"});
    ASSERT_EQ(race.status, 0) << race.err.toStdString();

    const QStringList lines =
        QString::fromStdString(game.read("Technical Circuit.gst")).split('\n');
    ASSERT_GT(lines.size(), 3 + 1024 + 1 + 1024);
    ASSERT_TRUE(lines[3 + 1024].trimmed().isEmpty()) << "1024 digital rows";
    int expected = -1;
    const auto earliest = [&](const QString& row, bool digital) {
        const QStringList fields = row.split(' ', Qt::SkipEmptyParts);
        for (int i = 0; i + 1 < fields.size(); i += 2) {
            const bool empty = digital ? fields[i + 1] == "-1" : fields[i + 1].toDouble() == -10000;
            if (!empty && (expected < 0 || fields[i].toInt() < expected))
                expected = fields[i].toInt();
        }
    };
    earliest(lines[3 + 1023], true);
    if (lines[3 + 1024 + 1 + 1024].trimmed().isEmpty()) // exactly 1024 value rows
        earliest(lines[3 + 1024 + 1023 + 1], false);
    ASSERT_GT(expected, 0);

    const test::ToolRun json = runWith({"--dir", where, "--json", "ghost", "Technical Circuit"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    EXPECT_EQ(json.json()["fullFrom"].toInt(), expected);
    const test::ToolRun sheet = runWith({"--dir", where, "ghost", "Technical Circuit"});
    EXPECT_TRUE(sheet.out.contains(
        QString::asprintf("  its log is full from %02d'%02d.%03d: ", expected / 60000,
                          expected / 1000 % 60, expected % 1000)))
        << sheet.out.toStdString();
}

TEST_F(GhostToolTest, ErrorsNameTheFileAndTheReason) {
    dir.write("Elsewhere.gst", "/ a note\n[Oval]\ncarname = Tester\n");
    std::filesystem::create_directory(dir.file("Oval.gst"));
    struct Row {
        const char* name;
        QStringList arguments;
        int status;
        QString message;
    };
    const std::string gst = dir.file("Oval.gst");
    const Row rows[] = {
        {"no course of the name", {"ghost", "Nowhere"}, 1, "no course named \"Nowhere\""},
        {"no course given", {"ghost"}, 2, "usage: velnor-tool [--dir DIR] [--json] ghost COURSE"},
        {"two courses given", {"ghost", "Oval", "Oval"}, 2, "usage:"},
        {"the ghost file is a folder",
         {"ghost", "Oval"},
         1,
         QString::fromStdString(gst) + ": not a file"},
    };
    for (const Row& row : rows) {
        const test::ToolRun run = runWith(QStringList{"--dir", root} + row.arguments);
        EXPECT_EQ(run.status, row.status) << row.name;
        EXPECT_TRUE(run.err.startsWith("velnor-tool: ")) << row.name;
        EXPECT_TRUE(run.err.contains(row.message)) << row.name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << row.name;
    }
    std::filesystem::remove(dir.file("Oval.gst"));
    const test::ToolRun none = runWith({"--dir", root, "ghost", "Oval"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "velnor-tool: " + QString::fromStdString(gst) +
                            ": no ghost of the course \"Oval\"\n");
    dir.write("Oval.gst", "/ saved elsewhere\n\n[Other Oval]\ncarname = Tester\n");
    const test::ToolRun other = runWith({"--dir", root, "ghost", "Oval"});
    EXPECT_EQ(other.status, 1);
    EXPECT_EQ(other.err, "velnor-tool: " + QString::fromStdString(gst) +
                             ":3: the ghost of \"Other Oval\", not of \"Oval\"\n");
}

} // namespace
} // namespace velnor
