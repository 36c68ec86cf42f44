// Velnor: the game. Its working directory is the game directory.
#include "app/game_view.h"
#include "app/main_window.h"
#include "app/program_icon.h"
#include "app/qt_message_boxes.h"
#include "app/quit_signals.h"
#include "app/race_setup.h"
#include "app/sdl_music_player.h"
#include "app/settings_file.h"
#include "platform/frame_heap.h"
#include "platform/steady_clock.h"

#include <QApplication>
#include <QCommandLineParser>
#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

// The game's options. Qt's own (-platform, -style...) are taken by QApplication before these are
// read; --help is answered before the display is opened, so that it works without one.
struct Options {
    bool autopilot = false;
    int framesPerSecond = -1; // the display's rate
};

const QCommandLineOption
    kAutopilot(QStringLiteral("autopilot"),
               QStringLiteral("The autopilot drives your car in every race; the rest is yours."));

const QCommandLineOption kFps(QStringLiteral("fps"),
                              QStringLiteral("Frames a second while racing (the display's rate by "
                                             "default; 0: as fast as possible). The race runs "
                                             "the same at any rate."),
                              QStringLiteral("N"));

void describeOptions(QCommandLineParser& parser) {
    QCoreApplication::setApplicationName(QStringLiteral("velnor"));
    parser.setApplicationDescription(
        QStringLiteral("Velnor, a car-driving simulator. Plays in the current directory."));
    parser.addHelpOption();
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

bool helpWanted(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    if (helpWanted(argc, argv)) {
        QCommandLineParser parser;
        describeOptions(parser);
        std::fputs(qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                        QStringLiteral("velnor"))),
                   stdout);
        return 0;
    }
    velnor::keepFrameBuffersInHeap();
    velnor::useGameSurfaceFormat();

    QApplication app(argc, argv);
    Options options;
    if (const int status = readOptions(QCoreApplication::arguments(), options))
        return status;
    app.setWindowIcon(velnor::programIcon());
    std::setlocale(LC_NUMERIC, "C");
    // SIGTERM and SIGINT close the game as its menu's exit does, without a question.
    velnor::QuitSignals quitSignals;
    velnor::SteadyClock clock;
    velnor::QtMessageBoxes messages;
    velnor::SdlMusicPlayer music;
    velnor::SelectionDialogs setup(messages);
    velnor::MainWindow window(".", clock, messages, music, setup);
    window.setAutopilot(options.autopilot);
    window.setFrameRate(options.framesPerSecond);
    messages.setParent(&window);
    setup.setParent(&window);
    quitSignals.setOnQuit([&window] { window.quitWithoutQuestion(); });
    // The keys and the window as the player left them ($XDG_CONFIG_HOME/velnor/velnor.ini).
    velnor::SettingsFile settings(velnor::SettingsFile::standardPath());
    window.showWithSettings(settings);
    return app.exec();
}
