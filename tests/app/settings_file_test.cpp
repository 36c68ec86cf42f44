#include "app/settings_file.h"
#include "test_dir.h"

#include <QFile>
#include <Qt>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velnor {
namespace {

// The settings file where the game looks for it, under a temporary XDG_CONFIG_HOME.
class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override {
        had_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        saved_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path()));
    }
    void TearDown() override {
        if (had_)
            qputenv("XDG_CONFIG_HOME", saved_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    // The file's path as the test expects it, worked out apart from the game's code.
    std::string iniPath() const { return dir.file("velnor/velnor.ini"); }
    void writeIni(const std::string& text) const { dir.write("velnor/velnor.ini", text); }

    LoadedSettings load() {
        SettingsFile file(SettingsFile::standardPath());
        return file.load();
    }

    static std::vector<int> linesOf(const LoadedSettings& loaded) {
        std::vector<int> lines;
        for (const SettingsProblem& problem : loaded.problems)
            lines.push_back(problem.line);
        return lines;
    }

    test::TempDir dir;

private:
    bool had_ = false;
    QByteArray saved_;
};

// Action numbers as in the game's list: accelerator, brake, left, right, up, down, view,
// cursor, save, restart, pause, mute.
constexpr int kAccel = 0, kBrake = 1, kLeft = 2, kUp = 4, kView = 6, kCursor = 7, kSave = 8;

// The standard assignment as the README's key table and the pad layout give it.
Bindings standardByHand() {
    Bindings b;
    b.key = {Qt::Key_X,     Qt::Key_Z,      Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
             Qt::Key_Space, Qt::Key_Delete, Qt::Key_S,    Qt::Key_R,     Qt::Key_P,  Qt::Key_M};
    b.padButton = {0, 1, 13, 14, 10, 9, 3, -1, 2, 4, 6, -1};
    return b;
}

TEST_F(SettingsFileTest, TheFileIsWhereTheDesktopKeepsSettings) {
    EXPECT_EQ(SettingsFile::standardPath().toStdString(), iniPath());
}

TEST_F(SettingsFileTest, AMissingFileIsTheStandardAssignmentWithNothingSaid) {
    const LoadedSettings loaded = load();
    EXPECT_EQ(loaded.bindings.key, standardByHand().key);
    EXPECT_EQ(loaded.bindings.padButton, standardByHand().padButton);
    EXPECT_TRUE(loaded.problems.empty());
    EXPECT_FALSE(loaded.window.geometry.has_value());
    EXPECT_FALSE(loaded.race.pauseOnFocusLoss);
    EXPECT_FALSE(std::filesystem::exists(iniPath())); // reading writes nothing
}

// Every action's key and button, the keys whose names mean something to an INI file among
// them, and the window's placement: written and read back the same, in readable lines.
TEST_F(SettingsFileTest, EveryKeyButtonAndTheWindowRoundTrip) {
    Bindings b;
    b.key = {Qt::Key_Comma,
             Qt::Key_Equal,
             Qt::Key_Semicolon,
             Qt::Key_Backslash,
             Qt::Key_QuoteDbl,
             Qt::Key_Shift,
             Qt::Key_Space,
             Qt::Key_NumberSign,
             Qt::Key_Henkan,
             Qt::Key_yen,
             -1,
             Qt::Key_F12};
    b.padButton = {20, 19, 11, 12, 7, 8, 5, 15, -1, 16, 0, 17};
    WindowPlacement window;
    window.geometry = QRect(-300, 25, 1111, 777);
    window.maximized = true;
    window.fullScreen = true;
    SettingsFile file(SettingsFile::standardPath());
    // The folder made on the way; each race switch the other way from the standard.
    ASSERT_TRUE(file.save(b, window, RaceSettings{true, false, false}, SoundSettings{0, 37, true}));

    const std::string text = dir.read("velnor/velnor.ini");
    for (const char* line : {"[keys]\n",
                             "accelerator=\",\"\n",
                             "nextview=Space\n",
                             "steerright=\\\\\n",
                             "pause=none\n",
                             "[pad]\n",
                             "accelerator=touchpad\n",
                             "steerleft=dpup\n",
                             "saveghost=none\n",
                             "[window]\n",
                             "x=-300\n",
                             "width=1111\n",
                             "fullscreen=true\n",
                             "[race]\n",
                             "pause_on_focus_loss=true\n",
                             "show_gap=false\n",
                             "show_splits=false\n",
                             "mute=F12\n",
                             "mute=paddle2\n",
                             "[sound]\n",
                             "music_volume=0\n",
                             "sound_volume=37\n",
                             "muted=true\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;

    const LoadedSettings loaded = file.load();
    EXPECT_TRUE(loaded.problems.empty()) << loaded.problems.front().english.toStdString();
    EXPECT_EQ(loaded.bindings.key, b.key);
    EXPECT_EQ(loaded.bindings.padButton, b.padButton);
    EXPECT_EQ(loaded.window, window);
    EXPECT_EQ(loaded.race, (RaceSettings{true, false, false}));
    EXPECT_EQ(loaded.sound, (SoundSettings{0, 37, true}));
    EXPECT_FALSE(file.backedUp());
}

// One bad line among good ones: only the action (or window value) of that line keeps its
// standard value, the good lines hold, and the line is reported by its number.
TEST_F(SettingsFileTest, EachKindOfBadLineFallsBackForThatLineAlone) {
    // Lines 1-5: keys and a button that no other action has.
    const std::string good = "[keys]\nbrake=A\nsteerleft=J\n[pad]\nbrake=leftstick\n";
    struct Row {
        const char* name;
        std::string lines; // after the good ones, from line 6
        std::vector<int> reported;
    };
    const std::vector<Row> rows = {
        {"not name=value", "garbage\n", {6}},
        {"a section header not closed", "[keys\n", {6}},
        {"a name without a value's '='", "[keys]\naccelerator\n", {7}},
        {"an unknown action", "[keys]\nflyaway=Q\n", {7}},
        {"a key name that is no key", "[keys]\naccelerator=Wibble\n", {7}},
        {"a combination", "[keys]\naccelerator=Ctrl+Q\n", {7}},
        {"two keys", "[keys]\naccelerator=\"Q,W\"\n", {7}},
        {"a list", "[keys]\naccelerator=Q,W\n", {7}},
        {"F2", "[keys]\naccelerator=F2\n", {7}},
        {"F3", "[keys]\nshiftup=F3\n", {7}},
        {"F11", "[keys]\nshiftup=F11\n", {7}},
        {"Enter", "[keys]\nshiftup=Return\n", {7}},
        {"keypad Enter", "[keys]\nshiftup=Enter\n", {7}},
        {"Esc", "[keys]\nnextview=Esc\n", {7}},
        {"Alt", "[keys]\nnextview=Alt\n", {7}},
        {"Ctrl", "[keys]\nnextview=Control\n", {7}},
        {"a key another action has", "[keys]\nsaveghost=J\n", {7}},
        {"an action given twice", "[keys]\nbrake=Q\n", {7}},
        {"an unknown button", "[pad]\naccelerator=triangle\n", {7}},
        {"a button another action has", "[pad]\ncursor=leftstick\n", {7}},
        {"an unknown section, its lines with it", "[sounds]\naccelerator=Q\nvolume=3\n", {6}},
        {"an unknown window value", "[window]\nopacity=3\n", {7}},
        {"two bad lines", "[keys]\nflyaway=Q\naccelerator=Wibble\n", {7, 8}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeIni(good + row.lines);
        const LoadedSettings loaded = load();
        EXPECT_EQ(linesOf(loaded), row.reported);
        Bindings want = standardByHand();
        want.key[kBrake] = Qt::Key_A;
        want.key[kLeft] = Qt::Key_J;
        want.padButton[kBrake] = 7;
        EXPECT_EQ(loaded.bindings.key, want.key);
        EXPECT_EQ(loaded.bindings.padButton, want.padButton);
    }
}

TEST_F(SettingsFileTest, LinesBeforeAnySectionAreReported) {
    writeIni("accelerator=Q\n[keys]\nbrake=W\n");
    const LoadedSettings loaded = load();
    EXPECT_EQ(linesOf(loaded), std::vector<int>{1});
    EXPECT_EQ(loaded.bindings.key[kAccel], Qt::Key_X);
    EXPECT_EQ(loaded.bindings.key[kBrake], Qt::Key_W);
}

// Comments, blank lines, Windows line ends, spaces, any case and QSettings' quoting are read
// as QSettings reads them; nothing of that is a problem.
TEST_F(SettingsFileTest, WhatQSettingsAcceptsIsNoProblem) {
    writeIni("; the player's own keys\r\n# and a note\r\n\r\n[KEYS]\r\n"
             "  Accelerator =  q  ; comment\r\nbrake=\"=\"\r\nsteerleft=\\\\\r\n"
             "[pad]\r\naccelerator=LeftShoulder\r\nshiftdown=none\r\n");
    const LoadedSettings loaded = load();
    EXPECT_TRUE(loaded.problems.empty()) << loaded.problems.front().english.toStdString();
    EXPECT_EQ(loaded.bindings.key[kAccel], Qt::Key_Q);
    EXPECT_EQ(loaded.bindings.key[kBrake], Qt::Key_Equal);
    EXPECT_EQ(loaded.bindings.key[kLeft], Qt::Key_Backslash);
    EXPECT_EQ(loaded.bindings.padButton[kAccel], 9);
    EXPECT_EQ(loaded.bindings.padButton[5], -1);
}

// The window's values: each bad one is reported, and the geometry is used only whole.
TEST_F(SettingsFileTest, BadWindowValues) {
    struct Row {
        const char* name;
        std::string lines;
        std::vector<int> reported;
        std::optional<QRect> geometry;
        bool maximized;
    };
    const std::string size = "[window]\nx=10\ny=20\nwidth=700\nheight=500\n";
    const std::vector<Row> rows = {
        {"all good", size + "maximized=true\n", {}, QRect(10, 20, 700, 500), true},
        {"a width of no number",
         "[window]\nx=10\ny=20\nwidth=abc\nheight=500\n",
         {4, 0},
         std::nullopt,
         false},
        {"a width of 0",
         "[window]\nx=10\ny=20\nwidth=0\nheight=500\n",
         {4, 0},
         std::nullopt,
         false},
        {"a height of 1",
         "[window]\nx=10\ny=20\nwidth=700\nheight=1\n",
         {},
         QRect(10, 20, 700, 1),
         false},
        {"x past the desktop",
         "[window]\nx=40000\ny=20\nwidth=700\nheight=500\n",
         {2, 0},
         std::nullopt,
         false},
        {"x at the desktop's edge",
         "[window]\nx=-32767\ny=20\nwidth=700\nheight=500\n",
         {},
         QRect(-32767, 20, 700, 500),
         false},
        {"no height", "[window]\nx=10\ny=20\nwidth=700\n", {0}, std::nullopt, false},
        {"maximized maybe", size + "maximized=maybe\n", {6}, QRect(10, 20, 700, 500), false},
        {"x twice", size + "x=30\n", {6}, QRect(10, 20, 700, 500), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeIni(row.lines);
        const LoadedSettings loaded = load();
        EXPECT_EQ(linesOf(loaded), row.reported);
        EXPECT_EQ(loaded.window.geometry, row.geometry);
        EXPECT_EQ(loaded.window.maximized, row.maximized);
    }
}

// The race's switches: true or false in any case; any other line of [race] is reported and
// leaves its switch as it was (standard: the pause off, the gap and the splits on; or as an
// earlier good line set it).
TEST_F(SettingsFileTest, TheRaceSection) {
    struct Row {
        const char* name;
        std::string lines;
        std::vector<int> reported;
        bool pauseOnFocusLoss;
        bool showGap = true;
        bool showSplits = true;
    };
    const std::vector<Row> rows = {
        {"on", "[race]\npause_on_focus_loss=true\n", {}, true},
        {"off", "[race]\npause_on_focus_loss=false\n", {}, false},
        {"any case", "[RACE]\nPause_On_Focus_Loss = TRUE\n", {}, true},
        {"neither true nor false", "[race]\npause_on_focus_loss=yes\n", {2}, false},
        {"a number", "[race]\npause_on_focus_loss=1\n", {2}, false},
        {"an unknown race value", "[race]\nlaps=5\n", {2}, false},
        {"given twice, the first holds",
         "[race]\npause_on_focus_loss=true\npause_on_focus_loss=false\n",
         {3},
         true},
        {"a bad line, then a good one",
         "[race]\npause_on_focus_loss=maybe\npause_on_focus_loss=true\n",
         {2},
         true},
        {"in the window's section", "[window]\npause_on_focus_loss=true\n", {2}, false},
        {"the gap off", "[race]\nshow_gap=false\n", {}, false, false, true},
        {"the splits off", "[race]\nSHOW_SPLITS=False\n", {}, false, true, false},
        {"all three, each its own",
         "[race]\nshow_splits=false\npause_on_focus_loss=true\n"
         "show_gap=false\n",
         {},
         true,
         false,
         false},
        {"a bad gap line keeps it on", "[race]\nshow_gap=no\n", {2}, false, true, true},
        {"one switch twice does not block another",
         "[race]\nshow_gap=false\nshow_gap=true\nshow_splits=false\n",
         {3},
         false,
         false,
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeIni(row.lines);
        const LoadedSettings loaded = load();
        EXPECT_EQ(linesOf(loaded), row.reported);
        EXPECT_EQ(loaded.race.pauseOnFocusLoss, row.pauseOnFocusLoss);
        EXPECT_EQ(loaded.race.showGap, row.showGap);
        EXPECT_EQ(loaded.race.showSplits, row.showSplits);
        EXPECT_EQ(loaded.bindings.key, standardByHand().key);
    }
}

// The volumes: whole numbers from 0 to 100, the mute true or false, each line on its own; a bad
// line is reported and leaves its value standard (full volume, heard) or as a good line set it.
TEST_F(SettingsFileTest, TheSoundSection) {
    struct Row {
        const char* name;
        std::string lines;
        std::vector<int> reported;
        SoundSettings sound;
    };
    const std::vector<Row> rows = {
        {"standard", "[sound]\n", {}, {100, 100, false}},
        {"each its own",
         "[sound]\nmusic_volume=40\nsound_volume=75\nmuted=true\n",
         {},
         {40, 75, true}},
        {"the ends of the range",
         "[Sound]\nMusic_Volume=0\nsound_volume=100\n",
         {},
         {0, 100, false}},
        {"above the range", "[sound]\nmusic_volume=101\n", {2}, {100, 100, false}},
        {"below the range", "[sound]\nsound_volume=-1\n", {2}, {100, 100, false}},
        {"not a whole number",
         "[sound]\nmusic_volume=50.5\nsound_volume=loud\n",
         {2, 3},
         {100, 100, false}},
        {"a mute neither true nor false", "[sound]\nmuted=1\n", {2}, {100, 100, false}},
        {"an unknown sound value", "[sound]\nengine_volume=3\n", {2}, {100, 100, false}},
        {"given twice, the first holds",
         "[sound]\nsound_volume=10\nsound_volume=90\n",
         {3},
         {100, 10, false}},
        {"in the race's section", "[race]\nmuted=true\n", {2}, {100, 100, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeIni(row.lines);
        const LoadedSettings loaded = load();
        EXPECT_EQ(linesOf(loaded), row.reported);
        EXPECT_EQ(loaded.sound, row.sound);
    }
}

// An action left without a line keeps its standard key unless an action of the file took it:
// then it has none, and that is said; the file written next says "none" and reads back so.
TEST_F(SettingsFileTest, AStandardKeyTakenByTheFileLeavesItsActionWithout) {
    writeIni("[keys]\naccelerator=Z\n[pad]\nsteerleft=a\n");
    SettingsFile file(SettingsFile::standardPath());
    const LoadedSettings loaded = file.load();
    EXPECT_EQ(linesOf(loaded), (std::vector<int>{0, 0}));
    EXPECT_EQ(loaded.bindings.key[kAccel], Qt::Key_Z);
    EXPECT_EQ(loaded.bindings.key[kBrake], -1);
    EXPECT_EQ(loaded.bindings.padButton[kLeft], 0);
    EXPECT_EQ(loaded.bindings.padButton[kAccel], -1);
    EXPECT_NE(loaded.problems[0].english.indexOf(QStringLiteral("brake")), -1);
    ASSERT_TRUE(file.save(loaded.bindings, loaded.window, loaded.race, loaded.sound));
    EXPECT_NE(dir.read("velnor/velnor.ini").find("brake=none\n"), std::string::npos);
    const LoadedSettings again = file.load();
    EXPECT_TRUE(again.problems.empty());
    EXPECT_EQ(again.bindings.key, loaded.bindings.key);
    EXPECT_EQ(again.bindings.padButton, loaded.bindings.padButton);
}

// The messages name the file and the line, quote the file's text as it is (never as a format
// of their own), and say where the original was kept.
TEST_F(SettingsFileTest, TheMessagesNameFileAndLine) {
    const std::string original = "[keys]\naccelerator=%1%2<b>x</b>\n";
    writeIni(original);
    SettingsFile file(SettingsFile::standardPath());
    const LoadedSettings loaded = file.load();
    ASSERT_EQ(linesOf(loaded), std::vector<int>{2});
    const QString path = QString::fromStdString(iniPath());
    EXPECT_EQ(problemsForTerminal(path, loaded.problems),
              "velnor: " + path + ":2: \"%1%2<b>x</b>\" is not a key\n");
    const QString player = problemsForPlayer(path, loaded.problems, file.backedUp());
    EXPECT_TRUE(player.contains(QString::fromUtf8("2 行目: 「%1%2<b>x</b>」はキーの名前では")))
        << player.toStdString();
    EXPECT_TRUE(player.contains(path + ".bak")) << player.toStdString();
    // The original is kept whole, since the next write keeps only what was used.
    EXPECT_TRUE(file.backedUp());
    EXPECT_EQ(dir.read("velnor/velnor.ini.bak"), original);
}

TEST_F(SettingsFileTest, ManyProblemsAreCutShortForThePlayer) {
    std::string text = "[keys]\n";
    for (int i = 0; i < 20; ++i)
        text += "flyaway" + std::to_string(i) + "=Q\n";
    writeIni(text);
    const LoadedSettings loaded = load();
    ASSERT_EQ(loaded.problems.size(), 20u);
    const QString player = problemsForPlayer(QStringLiteral("f"), loaded.problems, false, 12);
    EXPECT_TRUE(player.contains(QString::fromUtf8("13 行目")));
    EXPECT_FALSE(player.contains(QString::fromUtf8("14 行目")));
    EXPECT_TRUE(player.contains(QString::fromUtf8("ほか 8 件")));
}

// Writing replaces the file by renaming a whole new one over it: a hard link to the old file
// still holds the old text.
TEST_F(SettingsFileTest, WritingReplacesTheFileWhole) {
    writeIni("[keys]\nbrake=A\n");
    const std::string old = dir.file("old.ini");
    ASSERT_EQ(::link(iniPath().c_str(), old.c_str()), 0);
    SettingsFile file(SettingsFile::standardPath());
    ASSERT_TRUE(file.save(standardByHand(), WindowPlacement{}, RaceSettings{}, SoundSettings{}));
    EXPECT_EQ(dir.read("old.ini"), "[keys]\nbrake=A\n");
    EXPECT_NE(dir.read("velnor/velnor.ini").find("brake=Z\n"), std::string::npos);
}

// A settings folder that cannot be made or a file that cannot be read: the standard settings,
// the game goes on, and writing says it failed.
TEST_F(SettingsFileTest, AnUnusableFolderOrFileNeverStopsTheGame) {
    dir.write("velnor", "a file where the folder should be");
    SettingsFile blocked(SettingsFile::standardPath());
    EXPECT_TRUE(blocked.load().problems.empty());
    EXPECT_FALSE(
        blocked.save(standardByHand(), WindowPlacement{}, RaceSettings{}, SoundSettings{}));

    std::filesystem::remove(dir.file("velnor"));
    std::filesystem::create_directories(iniPath()); // a folder named as the file
    SettingsFile unreadable(SettingsFile::standardPath());
    const LoadedSettings loaded = unreadable.load();
    EXPECT_EQ(linesOf(loaded), std::vector<int>{0});
    EXPECT_EQ(loaded.bindings.key, standardByHand().key);
    EXPECT_FALSE(
        unreadable.save(standardByHand(), WindowPlacement{}, RaceSettings{}, SoundSettings{}));
}

} // namespace
} // namespace velnor
