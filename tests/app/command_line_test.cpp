// The game and velnor-tool as a player starts them: their command lines, and the per-user game
// directory made, filled and kept across starts. Each program runs as a child process with a
// home folder of the test's own, on the display of the test (Xvfb).
#include "app/directory_notice.h"
#include "platform/atomic_file.h"
#include "test_dir.h"

#include <QProcess>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <vector>

namespace velnor {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
};

// The environment of a player whose home is `home`: XDG_DATA_HOME as given (null: unset), the
// settings in the test's folder, no sound.
QProcessEnvironment playerEnvironment(const std::string& home, const char* xdgDataHome) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(home));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home + "/.config"));
    environment.insert("SDL_AUDIODRIVER", "dummy");
    environment.remove("XDG_DATA_HOME");
    if (xdgDataHome)
        environment.insert("XDG_DATA_HOME", QString::fromUtf8(xdgDataHome));
    return environment;
}

// Runs a program that ends by itself.
ProgramRun runProgram(const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment, const std::string& workingDir) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(workingDir));
    process.start(program, arguments);
    process.closeWriteChannel();
    ProgramRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Whether process `pid` has a handler of its own for `signal` (its SigCgt mask).
bool catchesSignal(qint64 pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// Starts the game, waits until it is up (its SIGTERM handler, set once its directory is chosen,
// before its window), ends it as a logout does and returns how it went: status 0 when it came
// up and closed normally.
ProgramRun startAndCloseGame(const QStringList& arguments, const QProcessEnvironment& environment,
                             const std::string& workingDir) {
    QProcess game;
    game.setProcessEnvironment(environment);
    game.setWorkingDirectory(QString::fromStdString(workingDir));
    game.start(QStringLiteral(VELNOR_GAME), arguments);
    ProgramRun run;
    if (!game.waitForStarted(10000))
        return run;
    bool ready = false;
    for (int i = 0; i < 1500 && !ready && game.state() == QProcess::Running; ++i) {
        QTest::qWait(20);
        ready = catchesSignal(game.processId(), SIGTERM);
    }
    if (ready) {
        QTest::qWait(200); // into its event loop, where the signal is taken
        ::kill(static_cast<pid_t>(game.processId()), SIGTERM);
    }
    if (!game.waitForFinished(20000)) {
        game.kill();
        game.waitForFinished();
        run.err = QString::fromUtf8(game.readAllStandardError());
        return run;
    }
    run.status = game.exitStatus() == QProcess::NormalExit ? game.exitCode() : -1;
    run.out = QString::fromUtf8(game.readAllStandardOutput());
    run.err = QString::fromUtf8(game.readAllStandardError());
    return run;
}

// Every file below `root` with its bytes and modification time (nanoseconds).
std::map<std::string, std::pair<std::string, long long>> snapshot(const std::string& root) {
    std::map<std::string, std::pair<std::string, long long>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_directory())
            continue;
        struct stat info {};
        stat(entry.path().c_str(), &info);
        std::string bytes;
        readWholeFile(entry.path().string(), bytes);
        files[entry.path().lexically_relative(root).string()] = {
            bytes, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
    }
    return files;
}

std::map<std::string, std::string> contents(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& [path, state] : snapshot(root))
        files[path] = state.first;
    return files;
}

void ageFiles(const std::string& root) {
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) {
            const timespec times[2] = {{1000000000, 0}, {1000000000, 0}}; // 2001
            utimensat(AT_FDCWD, entry.path().c_str(), times, 0);
        }
}

TEST(CommandLineTest, OptionsOfBothPrograms) {
    TempDir home;
    QProcessEnvironment noDisplay = playerEnvironment(home.path(), nullptr);
    noDisplay.remove("DISPLAY");
    noDisplay.remove("WAYLAND_DISPLAY");
    noDisplay.insert("QT_QPA_PLATFORM", "xcb"); // a window here would fail at once
    const QProcessEnvironment display = playerEnvironment(home.path(), nullptr);
    struct Case {
        QString program;
        QStringList arguments;
        QProcessEnvironment environment;
        int status;
        const char* out; // contained in stdout
        const char* err; // contained in stderr
    };
    const QString game = VELNOR_GAME;
    const QString tool = VELNOR_TOOL;
    const Case cases[] = {
        {game, {"--version"}, noDisplay, 0, "velnor 1.02\n", ""},
        {game, {"--help"}, noDisplay, 0, "--dir <DIR>", ""},
        {game, {"--help"}, noDisplay, 0, "--autopilot", ""},
        {game, {"--help"}, noDisplay, 0, "--version", ""},
        {game, {"--bogus"}, display, 2, "", "Usage: "},
        {game, {"--bogus"}, display, 2, "", "bogus"},
        {game, {"--fps", "fast"}, display, 2, "", "--fps"},
        {game, {"--dir"}, display, 2, "", "Usage: "},
        {game, {"--dir", "no/such/folder"}, display, 1, "", "no/such/folder: not a directory"},
        {tool, {"--version"}, display, 0, "velnor-tool 1.02\n", ""},
        {tool, {"--help"}, display, 0, "--dir <DIR>", ""},
        {tool, {"--bogus", "cars"}, display, 2, "", "Usage: "},
        {tool, {"--dir", "no/such/folder", "cars"}, display, 1, "", "not a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.program + " " + c.arguments.join(' ')).toStdString());
        const ProgramRun run = runProgram(c.program, c.arguments, c.environment, home.path());
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.out))) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.err))) << run.err.toStdString();
    }
    // None of these made a game directory.
    EXPECT_FALSE(fs::exists(home.file(".local")));
}

// Where the per-user directory goes for each XDG_DATA_HOME, filled by the tool's first start
// with a byte-for-byte copy of the data.
TEST(CommandLineTest, TheFirstStartFillsThePerUserDirectory) {
    struct Case {
        const char* xdgDataHome; // null: unset; "@" stands for the test's folder
        const char* expected;    // below the test's folder
    };
    const Case cases[] = {
        {nullptr, "home/.local/share/velnor"},
        {"", "home/.local/share/velnor"},
        {"relative", "home/.local/share/velnor"},
        {"@/xdg", "xdg/velnor"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        SCOPED_TRACE(c.xdgDataHome ? c.xdgDataHome : "(unset)");
        std::string xdg = c.xdgDataHome ? c.xdgDataHome : "";
        if (xdg.rfind('@', 0) == 0)
            xdg = dir.path() + xdg.substr(1);
        fs::create_directories(dir.file("home"));
        const ProgramRun run = runProgram(
            VELNOR_TOOL, {"--json", "cars"},
            playerEnvironment(dir.file("home"), c.xdgDataHome ? xdg.c_str() : nullptr), dir.path());
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains("Stella 2.0")) << run.out.toStdString();
        EXPECT_EQ(contents(dir.file(c.expected)), contents(VELNOR_DATA));
        EXPECT_FALSE(fs::exists(dir.file("relative")));
    }
}

// The program moved elsewhere with its data beside it seeds from that data, not the sources'.
TEST(CommandLineTest, AMovedInstallSeedsFromItsOwnData) {
    TempDir dir;
    fs::create_directories(dir.file("prefix/bin"));
    fs::copy_file(VELNOR_TOOL, dir.file("prefix/bin/velnor-tool"));
    fs::create_directories(dir.file("prefix/share/velnor"));
    fs::copy(VELNOR_DATA, dir.file("prefix/share/velnor"), fs::copy_options::recursive);
    dir.write("prefix/share/velnor/garage/installed.car", "/ only in this install\n");
    const ProgramRun run =
        runProgram(QString::fromStdString(dir.file("prefix/bin/velnor-tool")), {"cars"},
                   playerEnvironment(dir.file("home"), nullptr), dir.path());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(contents(dir.file("home/.local/share/velnor")),
              contents(dir.file("prefix/share/velnor")));
}

// No start, of the game or the tool, overwrites or deletes a file of the player's: an edited
// car file, records, ghosts and files of their own stay as they are (their times too), and a
// bundled file they deleted comes back.
TEST(CommandLineTest, NoStartChangesAFileThePlayerHas) {
    TempDir dir;
    const QProcessEnvironment environment = playerEnvironment(dir.file("home"), nullptr);
    const std::string user = dir.file("home/.local/share/velnor");
    ASSERT_EQ(runProgram(VELNOR_TOOL, {"cars"}, environment, dir.path()).status, 0);
    std::string cars = dir.read("home/.local/share/velnor/Velnor.car");
    cars.replace(cars.find("Stella 2.0"), 10, "Stella 2.X");
    dir.write("home/.local/share/velnor/Velnor.car", cars);
    dir.write("home/.local/share/velnor/Velnor.rec", "[Beginner Oval]\n0 = 1 2 3\n");
    dir.write("home/.local/share/velnor/Beginner Oval.gst", "a ghost");
    dir.write("home/.local/share/velnor/mine/extra.car", "/ the player's\n");
    fs::remove(dir.file("home/.local/share/velnor/courses/oval.rod"));
    ageFiles(user);
    auto before = snapshot(user);

    const ProgramRun listed = runProgram(VELNOR_TOOL, {"cars"}, environment, dir.path());
    EXPECT_EQ(listed.status, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains("Stella 2.X")) << listed.out.toStdString();
    const ProgramRun played = startAndCloseGame({}, environment, dir.path());
    EXPECT_EQ(played.status, 0) << played.err.toStdString();

    auto after = snapshot(user);
    EXPECT_EQ(after["courses/oval.rod"].first, contents(VELNOR_DATA)["courses/oval.rod"]);
    after.erase("courses/oval.rod");
    EXPECT_EQ(after, before);
}

// A file where the per-user directory should be: both programs say so with the path and go on
// from the installed data, writing nothing there.
TEST(CommandLineTest, AFileInTheWayIsToldAndTheGameStillStarts) {
    TempDir dir;
    fs::create_directories(dir.file("prefix/bin"));
    fs::copy_file(VELNOR_TOOL, dir.file("prefix/bin/velnor-tool"));
    fs::create_directories(dir.file("prefix/share/velnor"));
    fs::copy(VELNOR_DATA, dir.file("prefix/share/velnor"), fs::copy_options::recursive);
    dir.write("home/.local/share/velnor", "a file in the way");
    const QProcessEnvironment environment = playerEnvironment(dir.file("home"), nullptr);
    const auto installed = snapshot(dir.file("prefix/share/velnor"));
    const QString path = QString::fromStdString(dir.file("home/.local/share/velnor"));

    const ProgramRun race = runProgram(QString::fromStdString(dir.file("prefix/bin/velnor-tool")),
                                       {"--json", "race", "--car", "Stella 2.0", "--course",
                                        "Beginner Oval", "--autopilot", "--save-ghost"},
                                       environment, dir.path());
    EXPECT_EQ(race.status, 0) << race.err.toStdString();
    EXPECT_TRUE(race.err.contains(path + " cannot be made")) << race.err.toStdString();
    EXPECT_TRUE(race.out.contains("\"finished\": true")) << race.out.toStdString();
    EXPECT_EQ(snapshot(dir.file("prefix/share/velnor")), installed);

    const ProgramRun played = startAndCloseGame({}, environment, dir.path());
    EXPECT_EQ(played.status, 0) << played.err.toStdString();
    EXPECT_TRUE(played.err.contains(path + " cannot be made")) << played.err.toStdString();
    EXPECT_EQ(dir.read("home/.local/share/velnor"), "a file in the way");
}

// --dir, relative to where the program starts or absolute: that directory alone is played, and
// no per-user directory is made.
TEST(CommandLineTest, AGivenDirectoryIsPlayedAsItIs) {
    TempDir dir;
    fs::copy(VELNOR_FIXTURES "/race", dir.file("game"), fs::copy_options::recursive);
    const QProcessEnvironment environment = playerEnvironment(dir.file("home"), nullptr);
    for (const std::string& given : {std::string("game"), dir.file("game")}) {
        SCOPED_TRACE(given);
        const QString arg = QString::fromStdString(given);
        const ProgramRun cars =
            runProgram(VELNOR_TOOL, {"--dir", arg, "cars"}, environment, dir.path());
        EXPECT_EQ(cars.status, 0) << cars.err.toStdString();
        EXPECT_TRUE(cars.out.contains("Tester")) << cars.out.toStdString();
        const ProgramRun played = startAndCloseGame({"--dir", arg}, environment, dir.path());
        EXPECT_EQ(played.status, 0) << played.err.toStdString();
        EXPECT_FALSE(played.err.contains("velnor:")) << played.err.toStdString();
    }
    EXPECT_FALSE(fs::exists(dir.file("home/.local")));
}

// The box the game shows at the start names the directory and, where the game plays from the
// installed data instead, that too; a directory without a problem shows no box.
TEST(CommandLineTest, TheNoticeNamesThePaths) {
    using Problem = GameDirectory::Problem;
    struct Case {
        GameDirectory directory;
        std::vector<std::string> named; // every one of these in the text
    };
    const Case cases[] = {
        {{"/usr/share/velnor", true, Problem::kCannotMake, "/home/a/.local/share/velnor",
          "Not a directory"},
         {"/home/a/.local/share/velnor", "/usr/share/velnor", "Not a directory", "保存されません"}},
        {{"/home/a/.local/share/velnor", true, Problem::kCannotWrite, "/home/a/.local/share/velnor",
          "Permission denied"},
         {"/home/a/.local/share/velnor", "Permission denied", "保存されません"}},
        {{"/home/a/game", true, Problem::kCannotWrite, "/home/a/game/title.bmp", "File too large"},
         {"/home/a/game", "/home/a/game/title.bmp", "File too large"}},
        {{"/usr/share/velnor", true, Problem::kNoUserDir, "", ""}, {"/usr/share/velnor"}},
        {{"/home/a/.local/share/velnor", false, Problem::kNoInstalledData,
          "/home/a/.local/share/velnor", ""},
         {"/home/a/.local/share/velnor"}},
    };
    for (const Case& c : cases) {
        const std::string text = directoryNotice(c.directory);
        for (const std::string& named : c.named)
            EXPECT_NE(text.find(named), std::string::npos) << text << " lacks " << named;
    }
    EXPECT_EQ(directoryNotice(GameDirectory{"/home/a/game", false, Problem::kNone, "", ""}), "");
}

} // namespace
} // namespace velnor
