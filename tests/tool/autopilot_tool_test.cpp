// velnor-tool race and map on a course the autopilot cannot drive: a message that says why, and
// an exit status of 1, at once.
#include "race/straight_road.h"
#include "test_dir.h"
#include "tool/tool.h"

#include <QTextStream>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace velnor {
namespace {

int runQuietly(const QStringList& arguments, QString& err) {
    QString out;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status = runTool(QStringList{"velnor-tool"} + arguments, outStream, errStream);
    errStream.flush();
    return status;
}

TEST(AutopilotToolTest, ACourseWithoutAClosedRoadThroughTheGateIsGivenUpWithTheReason) {
    test::TempDir dir;
    for (const char* file : {"Velnor.car", "Velnor.mod"})
        std::filesystem::copy_file(VELNOR_DATA "/" + std::string(file), dir.file(file));
    dir.write("straight.rod",
              std::string("[Straight On]\n#road\n") + test::kStraightRoadThroughTheGate);
    const QString root = QString::fromStdString(dir.path());
    QString err;
    EXPECT_EQ(runQuietly({"--dir", root, "race", "--car", "Stella 2.0", "--course", "Straight On",
                          "--autopilot"},
                         err),
              1);
    EXPECT_TRUE(err.contains("velnor-tool: the autopilot gives up")) << err.toStdString();
    EXPECT_TRUE(err.contains("no closed road through the gate")) << err.toStdString();

    QString mapErr;
    const QString map = QString::fromStdString(dir.file("map.png"));
    EXPECT_EQ(runQuietly({"--dir", root, "map", "--course", "Straight On", "--car", "Stella 2.0",
                          "--autopilot", "-o", map},
                         mapErr),
              1);
    EXPECT_TRUE(mapErr.contains("no closed road through the gate")) << mapErr.toStdString();
}

} // namespace
} // namespace velnor
