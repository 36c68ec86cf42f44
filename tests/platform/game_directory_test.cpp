#include "platform/atomic_file.h"
#include "platform/game_directory.h"
#include "test_dir.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace velnor {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using Problem = GameDirectory::Problem;

// One file as a test compares it: its bytes, and its modification time and inode, which change
// when anything writes or replaces it.
struct FileState {
    std::string bytes;
    long long modifiedNs = 0;
    ino_t inode = 0;
    bool operator==(const FileState&) const = default;
};

// Every entry below `root` by its relative path: files with their state, folders and links with
// a mark of their own. Hidden names are listed too, so a leftover temporary file shows.
std::map<std::string, FileState> snapshot(const std::string& root) {
    std::map<std::string, FileState> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).string();
        struct stat info {};
        lstat(entry.path().c_str(), &info);
        FileState state;
        if (S_ISLNK(info.st_mode))
            state.bytes = "link -> " + fs::read_symlink(entry.path()).string();
        else if (S_ISDIR(info.st_mode))
            state.bytes = "folder";
        else
            readWholeFile(entry.path().string(), state.bytes);
        state.modifiedNs = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
        state.inode = info.st_ino;
        files[relative] = state;
    }
    return files;
}

// Only the bytes: a copy is compared with its original this way.
std::map<std::string, std::string> contents(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& [path, state] : snapshot(root))
        files[path] = state.bytes;
    return files;
}

// Sets a file's modification time a day back, so that a rewrite within the same second shows.
void ageFile(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    const timespec times[2] = {{info.st_atim.tv_sec - 86400, 0}, {info.st_mtim.tv_sec - 86400, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

TEST(GameDirectoryTest, ThePerUserDirectoryFollowsTheXdgRules) {
    struct Case {
        const char* xdgDataHome; // null: unset
        const char* home;
        std::string expected;
    };
    const Case cases[] = {
        {"/srv/data", "/home/ann", "/srv/data/velnor"},
        {nullptr, "/home/ann", "/home/ann/.local/share/velnor"},
        {"", "/home/ann", "/home/ann/.local/share/velnor"},
        {"relative/data", "/home/ann", "/home/ann/.local/share/velnor"},
        {"/srv/data", nullptr, "/srv/data/velnor"},
        {nullptr, "home/ann", ""},
        {"", "", ""},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(userGameDirectory(c.xdgDataHome, c.home), c.expected)
            << (c.xdgDataHome ? c.xdgDataHome : "(unset)") << ", " << (c.home ? c.home : "(unset)");
}

TEST(GameDirectoryTest, TheInstalledDataIsFoundBesideTheProgram) {
    TempDir dir;
    dir.write("usr/bin/velnor", "program");
    dir.write("usr/share/velnor/Velnor.car", "cars");
    dir.write("opt/bin/velnor", "program"); // an install without its data
    dir.write("odd/bin/velnor", "program"); // share/velnor is a file there
    dir.write("odd/share/velnor", "not a folder");
    dir.write("source/data/Velnor.car", "cars"); // the fallback of a build
    const std::string fallback = dir.file("source/data");
    struct Case {
        std::string executableDir;
        std::string fallback;
        std::string expected;
    };
    const Case cases[] = {
        {dir.file("usr/bin"), fallback, dir.file("usr/bin/../share/velnor")},
        {dir.file("opt/bin"), fallback, fallback},
        {dir.file("odd/bin"), fallback, fallback},
        {"", fallback, fallback},
        {dir.file("opt/bin"), dir.file("source/missing"), ""},
        {dir.file("opt/bin"), "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findInstalledData(c.executableDir, c.fallback), c.expected) << c.executableDir;
}

TEST(GameDirectoryTest, TheFirstStartMakesTheDirectoryAndCopiesEverything) {
    TempDir home;
    const std::string user = home.file(".local/share/velnor");
    const GameDirectory directory = openUserDirectory(user, VELNOR_DATA);
    EXPECT_EQ(directory.problem, Problem::kNone) << describeForTerminal(directory);
    EXPECT_FALSE(directory.readOnly);
    EXPECT_EQ(directory.path, user);
    const auto copied = contents(user);
    EXPECT_EQ(copied, contents(VELNOR_DATA));
    EXPECT_GE(copied.size(), 7u); // cars, model, title, courses/ and its four courses
}

// The copies keep the bundled files' permission bits, with the owner's write added: an installed
// file is often read-only, and the player's copy must be editable (0444 gives 0644, 0640 stays).
TEST(GameDirectoryTest, TheCopiesKeepTheirModesAndThePlayerMayWriteThem) {
    TempDir dir;
    dir.write("bundled/Velnor.car", "[Car]\n");
    dir.write("bundled/courses/a.rod", "#road\n");
    ASSERT_EQ(chmod(dir.file("bundled/Velnor.car").c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.file("bundled/courses/a.rod").c_str(), 0640), 0);
    std::filesystem::create_directories(dir.file("mine"));
    const SeedResult seeded = seedGameDirectory(dir.file("bundled"), dir.file("mine"));
    ASSERT_TRUE(seeded.ok) << seeded.failed << ": " << seeded.reason;
    EXPECT_EQ(seeded.copied, 2);
    const struct {
        const char* file;
        mode_t mode;
    } cases[] = {{"mine/Velnor.car", 0644}, {"mine/courses/a.rod", 0640}};
    for (const auto& c : cases) {
        struct stat info {};
        ASSERT_EQ(stat(dir.file(c.file).c_str(), &info), 0) << c.file;
        EXPECT_EQ(info.st_mode & 07777, c.mode) << c.file;
    }
}

// A player's directory is theirs: a later start only adds what is missing.
TEST(GameDirectoryTest, ALaterStartAddsWhatIsMissingAndChangesNothingElse) {
    TempDir home;
    const std::string user = home.file("velnor");
    ASSERT_TRUE(openUserDirectory(user, VELNOR_DATA).problem == Problem::kNone);
    home.write("velnor/Velnor.car", "[Mine]\nwidth = 1700\n"); // an edited car file
    home.write("velnor/Velnor.rec", "[Oval]\n0 = 1 2 3\n");    // records
    home.write("velnor/Beginner Oval.gst", "ghost");           // a ghost
    home.write("velnor/garage/extra.car", "[Extra]\n");        // the player's own files
    home.write("velnor/title.bmp", "");                        // emptied, still theirs
    fs::remove(home.file("velnor/courses/oval.rod"));          // deleted: comes back
    for (const auto& entry : fs::recursive_directory_iterator(user))
        if (entry.is_regular_file())
            ageFile(entry.path().string());
    auto before = snapshot(user);

    for (int start = 0; start < 2; ++start) {
        const GameDirectory directory = openUserDirectory(user, VELNOR_DATA);
        EXPECT_EQ(directory.problem, Problem::kNone) << describeForTerminal(directory);
        auto after = snapshot(user);
        ASSERT_TRUE(after.count("courses/oval.rod"));
        std::string bundled;
        readWholeFile(VELNOR_DATA "/courses/oval.rod", bundled);
        EXPECT_EQ(after["courses/oval.rod"].bytes, bundled);
        after.erase("courses/oval.rod");
        before.erase("courses/oval.rod");
        // Folders' times change as files come and go in them; their files are what counts.
        for (auto* files : {&before, &after})
            for (auto& [path, state] : *files)
                if (state.bytes == "folder")
                    state = {};
        EXPECT_EQ(after, before);
    }
}

TEST(GameDirectoryTest, NoWriteGoesThroughALinkAndLinksInTheDataStayInside) {
    TempDir dir;
    dir.write("data/Velnor.car", "cars");
    dir.write("data/courses/oval.rod", "oval");
    dir.write("data/.hidden", "hidden");
    dir.write("secret.txt", "outside");
    dir.write("elsewhere/keep.txt", "keep");
    fs::create_symlink("Velnor.car", dir.file("data/linked.car"));
    fs::create_symlink("../secret.txt", dir.file("data/secret.car"));
    fs::create_symlink("courses", dir.file("data/more"));
    // The player's: `courses` a link to a folder elsewhere, a dangling link where a file goes.
    fs::create_directories(dir.file("user"));
    fs::create_directory_symlink("../elsewhere", dir.file("user/courses"));
    fs::create_symlink("nowhere", dir.file("user/Velnor.car"));

    const SeedResult seeded = seedGameDirectory(dir.file("data"), dir.file("user"));
    EXPECT_TRUE(seeded.ok) << seeded.failed << ": " << seeded.reason;
    EXPECT_EQ(seeded.copied, 1); // linked.car alone
    const std::map<std::string, std::string> expected = {
        {"Velnor.car", "link -> nowhere"},
        {"courses", "link -> ../elsewhere"},
        {"linked.car", "cars"},
    };
    EXPECT_EQ(contents(dir.file("user")), expected);
    EXPECT_EQ(contents(dir.file("elsewhere")),
              (std::map<std::string, std::string>{{"keep.txt", "keep"}}));
}

TEST(GameDirectoryTest, ADirectoryThatCannotBeMadeLeavesTheInstalledDataReadOnly) {
    TempDir dir;
    dir.write("home/.local/share", "a file in the way");
    dir.write("home2/.local/share/velnor", "a file in the way");
    struct Case {
        std::string user;
        std::string installed;
        Problem problem;
        std::string path;
        bool readOnly;
    };
    const Case cases[] = {
        {dir.file("home/.local/share/velnor"), VELNOR_DATA, Problem::kCannotMake, VELNOR_DATA,
         true},
        {dir.file("home2/.local/share/velnor"), VELNOR_DATA, Problem::kCannotMake, VELNOR_DATA,
         true},
        {"", VELNOR_DATA, Problem::kNoUserDir, VELNOR_DATA, true},
        {dir.file("fresh/velnor"), "", Problem::kNoInstalledData, dir.file("fresh/velnor"), false},
        {dir.file("home/.local/share/velnor"), "", Problem::kCannotMake, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user);
        const GameDirectory directory = openUserDirectory(c.user, c.installed);
        EXPECT_EQ(directory.problem, c.problem);
        EXPECT_EQ(directory.path, c.path);
        EXPECT_EQ(directory.readOnly, c.readOnly);
        const std::string told = describeForTerminal(directory);
        EXPECT_NE(told.find(c.user.empty() ? "home directory" : c.user), std::string::npos) << told;
    }
    EXPECT_EQ(dir.read("home/.local/share"), "a file in the way");
    EXPECT_EQ(dir.read("home2/.local/share/velnor"), "a file in the way");
    EXPECT_TRUE(fs::is_directory(dir.file("fresh/velnor")));
}

// A full disk: the copies that fit are made whole, the one that does not leaves nothing, the
// game is told, and the next start finishes the work.
TEST(GameDirectoryTest, AFullDiskLeavesNoHalfFileAndTheNextStartFinishes) {
    TempDir home;
    const std::string user = home.file("velnor");
    GameDirectory directory;
    {
        test::FileSizeLimit limit(8192); // the cars and courses fit, title.bmp does not
        directory = openUserDirectory(user, VELNOR_DATA);
    }
    EXPECT_EQ(directory.problem, Problem::kCannotWrite);
    EXPECT_TRUE(directory.readOnly);
    EXPECT_EQ(directory.problemPath, user + "/title.bmp");
    EXPECT_NE(describeForTerminal(directory).find(user), std::string::npos);
    const auto partial = contents(user);
    const auto bundled = contents(VELNOR_DATA);
    EXPECT_FALSE(partial.count("title.bmp"));
    EXPECT_TRUE(partial.count("Velnor.car"));
    for (const auto& [path, bytes] : partial) { // nothing half written, no temporary left
        ASSERT_TRUE(bundled.count(path)) << path;
        EXPECT_EQ(bytes, bundled.at(path)) << path;
    }
    EXPECT_EQ(openUserDirectory(user, VELNOR_DATA).problem, Problem::kNone);
    EXPECT_EQ(contents(user), bundled);

    // A complete directory on a full disk: the probe tells.
    test::FileSizeLimit full(0);
    const GameDirectory again = openUserDirectory(user, VELNOR_DATA);
    EXPECT_EQ(again.problem, Problem::kCannotWrite);
    EXPECT_EQ(again.problemPath, user);
    EXPECT_TRUE(again.readOnly);
}

TEST(GameDirectoryTest, AReadOnlyDirectoryIsToldAndLeftAsItIs) {
    TempDir dir;
    chmod(dir.path().c_str(), 0755);
    const std::string user = dir.file("velnor");
    ASSERT_EQ(openUserDirectory(user, VELNOR_DATA).problem, Problem::kNone);
    fs::remove(dir.file("velnor/Velnor.mod"));
    for (const auto& entry : fs::recursive_directory_iterator(user))
        chmod(entry.path().c_str(), entry.is_directory() ? 0555 : 0444);
    chmod(user.c_str(), 0555);
    const auto before = snapshot(user);
    const int result = test::runUnprivileged([&] {
        const GameDirectory user1 = openUserDirectory(user, VELNOR_DATA);
        const GameDirectory given = openGivenDirectory(user);
        int failures = 0;
        failures |= user1.problem == Problem::kCannotWrite ? 0 : 1;
        failures |= user1.readOnly && user1.path == user ? 0 : 2;
        failures |= user1.problemPath == user + "/Velnor.mod" ? 0 : 4;
        failures |= given.problem == Problem::kCannotWrite && given.readOnly ? 0 : 8;
        return failures;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(snapshot(user), before);
}

TEST(GameDirectoryTest, AGivenDirectoryIsTakenAsItIs) {
    TempDir dir;
    dir.write("game/Velnor.car", "cars");
    dir.write("file", "not a folder");
    const GameDirectory given = openGivenDirectory(dir.file("game"));
    EXPECT_EQ(given.problem, Problem::kNone);
    EXPECT_FALSE(given.readOnly);
    EXPECT_EQ(contents(dir.file("game")),
              (std::map<std::string, std::string>{{"Velnor.car", "cars"}}));
    for (const std::string& missing : {dir.file("nowhere"), dir.file("file")}) {
        const GameDirectory none = openGivenDirectory(missing);
        EXPECT_EQ(none.problem, Problem::kMissing) << missing;
        EXPECT_NE(describeForTerminal(none).find(missing), std::string::npos);
    }
}

TEST(GameDirectoryTest, ARefusedFolderIsNeverWrittenWhileTheGuardLives) {
    TempDir dir;
    dir.write("game/Velnor.rec", "records");
    dir.write("game/sub/x.gst", "ghost");
    dir.write("game2/Velnor.rec", "next door");
    fs::create_directory_symlink("game", dir.file("into"));
    struct Case {
        std::string path;
        bool refused;
    };
    const Case cases[] = {
        {dir.file("game/Velnor.rec"), true},
        {dir.file("game/new.gst"), true},
        {dir.file("game/sub/x.gst"), true},
        {dir.file("into/Velnor.rec"), true},
        {dir.file("game2/../game/Velnor.rec"), true},
        {dir.file("game2/Velnor.rec"), false}, // a name that only begins the same
        {dir.file("other.rec"), false},
    };
    {
        RefusedFolder guard(dir.file("game"));
        for (const Case& c : cases) {
            std::string before;
            readWholeFile(c.path, before);
            EXPECT_EQ(replaceFile(c.path, "written"), !c.refused) << c.path;
            std::string after;
            readWholeFile(c.path, after);
            EXPECT_EQ(after, c.refused ? before : "written") << c.path;
        }
    }
    EXPECT_TRUE(replaceFile(dir.file("game/Velnor.rec"), "free again"));
    EXPECT_EQ(dir.read("game/Velnor.rec"), "free again");
}

} // namespace
} // namespace velnor
