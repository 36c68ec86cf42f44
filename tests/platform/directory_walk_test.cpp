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

TEST(DirectoryWalkTest, LinksAndHiddenFoldersAreNotFollowed) {
    test::TempDir dir;
    dir.write("real/one.car", "");
    dir.write(".hidden/two.car", "");
    std::filesystem::create_directory_symlink(dir.path(), dir.file("real/loop"));
    std::filesystem::create_symlink(dir.file("real/one.car"), dir.file("link.car"));
    std::filesystem::create_symlink(dir.file("gone.car"), dir.file("dangling.car"));
    std::filesystem::create_directory_symlink(dir.file("real"), dir.file("folder.car"));
    EXPECT_EQ(walkAll(dir.path(), "car"), std::vector<std::string>{"real/one.car"});
}

TEST(DirectoryWalkTest, MissingRootListsNothing) {
    EXPECT_TRUE(walkAll("/nonexistent/velnor", "car").empty());
}

} // namespace
} // namespace velnor
