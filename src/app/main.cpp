// Velnor: the game. It plays in the per-user game directory, or in the one --dir names.
#include "app/directory_notice.h"
#include "app/game_view.h"
#include "app/main_window.h"
#include "app/program_icon.h"
#include "app/qt_message_boxes.h"
#include "app/quit_signals.h"
#include "app/race_setup.h"
#include "app/sdl_music_player.h"
#include "app/sdl_sound_output.h"
#include "app/settings_file.h"
#include "platform/atomic_file.h"
#include "platform/frame_heap.h"
#include "platform/game_directory.h"
#include "platform/steady_clock.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// The game's options. Qt's own (-platform, -style...) are taken by QApplication before these are
// read; --help is answered before the display is opened, so that it works without one.
struct Options {
    bool autopilot = false;
    int framesPerSecond = -1; // the display's rate
    QString dir;              // the game directory named on the command line; empty: the player's
};

const QCommandLineOption
    kAutopilot(QStringLiteral("autopilot"),
               QStringLiteral("The autopilot drives your car in every race; the rest is yours."));

const QCommandLineOption kFps(QStringLiteral("fps"),
                              QStringLiteral("Frames a second while racing (the display's rate by "
                                             "default; 0: as fast as possible). The race runs "
                                             "the same at any rate."),
                              QStringLiteral("N"));

const QCommandLineOption kDir(QStringLiteral("dir"),
                              QStringLiteral("Play in DIR: its cars, courses, records and ghosts "
                                             "(default: $XDG_DATA_HOME/velnor, made and filled "
                                             "with the game's data at the first start)."),
                              QStringLiteral("DIR"));

void describeOptions(QCommandLineParser& parser) {
    QCoreApplication::setApplicationName(QStringLiteral("velnor"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(velnor::kGameVersion));
    parser.setApplicationDescription(QStringLiteral("Velnor, a car-driving simulator."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(kDir);
    parser.addOption(kAutopilot);
    parser.addOption(kFps);
}

// 0 to go on with `options`, else the exit status: 2 for a wrong command line.
int readOptions(const QStringList& arguments, Options& options) {
    QCommandLineParser parser;
    describeOptions(parser);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "velnor: %s\n\n%s", qPrintable(parser.errorText()),
                     qPrintable(parser.helpText()));
        return 2;
    }
    options.autopilot = parser.isSet(kAutopilot);
    options.dir = parser.value(kDir);
    if (parser.isSet(kDir) && options.dir.isEmpty()) {
        std::fprintf(stderr, "velnor: --dir takes a directory\n\n%s",
                     qPrintable(parser.helpText()));
        return 2;
    }
    if (parser.isSet(kFps)) {
        bool ok = false;
        options.framesPerSecond = parser.value(kFps).toInt(&ok);
        if (!ok || options.framesPerSecond < 0 || options.framesPerSecond > 1000) {
            std::fprintf(stderr, "velnor: --fps takes a whole number from 0 to 1000\n\n%s",
                         qPrintable(parser.helpText()));
            return 2;
        }
    }
    return 0;
}

bool wanted(int argc, char* argv[], const char* longName, const char* shortName) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], longName) == 0 || std::strcmp(argv[i], shortName) == 0)
            return true;
    return false;
}

// --help and --version, answered before the display is opened so that they work without one.
std::optional<int> answerWithoutDisplay(int argc, char* argv[]) {
    QCommandLineParser parser;
    describeOptions(parser);
    if (wanted(argc, argv, "--help", "-h")) {
        std::fputs(qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                        QStringLiteral("velnor"))),
                   stdout);
        return 0;
    }
    if (wanted(argc, argv, "--version", "-v")) {
        std::printf("velnor %s\n", velnor::kGameVersion);
        return 0;
    }
    return std::nullopt;
}

// The per-user game directory (made and seeded), or the one named by --dir.
velnor::GameDirectory openGameDirectory(const Options& options) {
    if (!options.dir.isEmpty())
        return velnor::openGivenDirectory(options.dir.toStdString());
    return velnor::openUserDirectory(velnor::userGameDirectory(), velnor::bundledData());
}

} // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> status = answerWithoutDisplay(argc, argv))
        return *status;
    velnor::keepFrameBuffersInHeap();
    velnor::useGameSurfaceFormat();

    QApplication app(argc, argv);
    // The desktop entry's name: the display server (Wayland) matches the window to its menu entry.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(velnor::kDesktopId));
    Options options;
    if (const int status = readOptions(QCoreApplication::arguments(), options))
        return status;
    const velnor::GameDirectory directory = openGameDirectory(options);
    const std::string problem = velnor::describeForTerminal(directory);
    if (!problem.empty())
        std::fprintf(stderr, "velnor: %s\n", problem.c_str());
    if (directory.path.empty() || directory.problem == velnor::GameDirectory::Problem::kMissing)
        return 1; // nothing to play
    // A directory the game must not change is guarded for as long as it plays.
    std::optional<velnor::RefusedFolder> guard;
    if (directory.readOnly)
        guard.emplace(directory.path);
    app.setWindowIcon(velnor::programIcon());
    std::setlocale(LC_NUMERIC, "C");
    // SIGTERM and SIGINT close the game as its menu's exit does, without a question.
    velnor::QuitSignals quitSignals;
    velnor::SteadyClock clock;
    velnor::QtMessageBoxes messages;
    velnor::SdlMusicPlayer music;
    velnor::SdlSoundOutput sound; // over the music's audio: made after it, gone before it
    velnor::SelectionDialogs setup(messages);
    velnor::MainWindow window(directory.path, clock, messages, music, setup);
    window.setAutopilot(options.autopilot);
    window.setFrameRate(options.framesPerSecond);
    window.setSoundOutput(sound.output());
    messages.setParent(&window);
    setup.setParent(&window);
    quitSignals.setOnQuit([&window] { window.quitWithoutQuestion(); });
    // The keys and the window as the player left them ($XDG_CONFIG_HOME/velnor/velnor.ini).
    velnor::SettingsFile settings(velnor::SettingsFile::standardPath());
    window.showWithSettings(settings);
    if (!problem.empty()) // over the window, once it is up
        QTimer::singleShot(0, &window,
                           [&] { messages.message(velnor::directoryNotice(directory), "Velnor"); });
    return app.exec();
}
