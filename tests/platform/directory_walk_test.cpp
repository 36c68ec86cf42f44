#include "platform/directory_walk.h"
#include "test_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velnor {
namespace {

std::vector<std::string> walkAll(const std::string& root, const char* extension) {
    std::vector<std::string> paths;
    walkFiles(root, extension, [&](const std::string& path) { paths.push_back(path); });
    return paths;
}

TEST(DirectoryWalkTest, SortedByteOrderDepthFirst) {
    test::TempDir dir;
    for (const char* name : {"b.car", "B.car", "a/z.car", "a/b/c.car", "ab.car", "CARS.CAR",
                             "cars.car.bak", "noext", "car", "x.rod", "a.car/inner.car"})
        dir.write(name, "");
    const std::vector<std::string> expected = {
        "B.car", "CARS.CAR", "a/b/c.car", "a/z.car", "a.car/inner.car", "ab.car", "b.car"};
    EXPECT_EQ(walkAll(dir.path(), "car"), expected);
    EXPECT_EQ(walkAll(dir.path(), "rod"), std::vector<std::string>{"x.rod"});
}

TEST(DirectoryWalkTest, LinkedFilesAndFoldersAreListedLoopsAreNot) {
    test::TempDir dir;
    test::TempDir away; // outside the game directory
    away.write("theirs.car", "");
    away.write("kit/parts.car", "");
    dir.write("real/one.car", "");
    dir.write(".hidden/two.car", "");
    namespace fs = std::filesystem;
    fs::create_directory_symlink(dir.path(), dir.file("real/loop"));       // back to the top
    fs::create_directory_symlink(dir.file("real"), dir.file("real/self")); // to itself
    fs::create_symlink(dir.file("real/one.car"), dir.file("link.car"));    // a file inside
    fs::create_symlink(away.file("theirs.car"), dir.file("theirs.car"));   // a file outside
    fs::create_symlink("real/one.car", dir.file("relative.car"));          // a relative link
    fs::create_symlink(dir.file("gone.car"), dir.file("dangling.car"));    // to nothing
    fs::create_directory_symlink(away.file("kit"), dir.file("kit"));       // a folder outside
    fs::create_directory_symlink(away.file("kit"), dir.file("kit again")); // the same again
    fs::create_directory_symlink(dir.file(".hidden"), dir.file("shown"));  // a hidden folder
    const std::vector<std::string> expected = {
        "kit/parts.car", "link.car", "real/one.car", "relative.car", "shown/two.car", "theirs.car",
    };
    EXPECT_EQ(walkAll(dir.path(), "car"), expected);

    // Course files alike.
    away.write("track.rod", "");
    fs::create_symlink(away.file("track.rod"), dir.file("track.rod"));
    EXPECT_EQ(walkAll(dir.path(), "rod"), std::vector<std::string>{"track.rod"});
}

TEST(DirectoryWalkTest, AFolderLinkedBeforeItsRealPlaceIsWalkedOnce) {
    test::TempDir dir;
    dir.write("zone/one.car", "");
    std::filesystem::create_directory_symlink(dir.file("zone"), dir.file("alias"));
    // "alias" comes first in byte order, so the folder is walked there.
    EXPECT_EQ(walkAll(dir.path(), "car"), std::vector<std::string>{"alias/one.car"});
}

TEST(DirectoryWalkTest, MissingRootListsNothing) {
    EXPECT_TRUE(walkAll("/nonexistent/velnor", "car").empty());
}

} // namespace
} // namespace velnor
