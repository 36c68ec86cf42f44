#include "platform/atomic_file.h"
#include "test_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velnor {
namespace {

std::size_t filesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

TEST(AtomicFileTest, ReplacesTheWholeFileAndKeepsItsPermissions) {
    test::TempDir dir;
    dir.write("a.car", "old contents that are longer\n");
    chmod(dir.file("a.car").c_str(), 0640);
    ASSERT_TRUE(replaceFile(dir.file("a.car"), "new\n"));
    EXPECT_EQ(dir.read("a.car"), "new\n");
    struct stat info {};
    stat(dir.file("a.car").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicFileTest, CreatesAMissingFile) {
    test::TempDir dir;
    ASSERT_TRUE(replaceFile(dir.file("new.car"), "x"));
    std::string contents;
    ASSERT_TRUE(readWholeFile(dir.file("new.car"), contents));
    EXPECT_EQ(contents, "x");
}

TEST(AtomicFileTest, AWriteThatFailsHalfWayLeavesTheOldFileWhole) {
    test::TempDir dir;
    const std::string old(100, 'o');
    dir.write("a.car", old);
    {
        test::FileSizeLimit limit(50);
        EXPECT_FALSE(replaceFile(dir.file("a.car"), std::string(200, 'n')));
    }
    EXPECT_EQ(dir.read("a.car"), old);
    EXPECT_EQ(filesIn(dir.path()), 1u); // no temporary file left behind
}

TEST(AtomicFileTest, AMissingFolderFails) {
    test::TempDir dir;
    EXPECT_FALSE(replaceFile(dir.file("gone/a.car"), "x"));
    std::string contents;
    EXPECT_FALSE(readWholeFile(dir.file("gone/a.car"), contents));
}

} // namespace
} // namespace velnor
