// Velnor: the game. Its working directory is the game directory.
#include "app/main_window.h"
#include "app/program_icon.h"
#include "app/qt_message_boxes.h"
#include "app/quit_signals.h"
#include "app/race_setup.h"
#include "app/sdl_music_player.h"
#include "platform/steady_clock.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <clocale>

int main(int argc, char* argv[]) {
    // The scene is drawn with fixed-function OpenGL: a compatibility context, 24-bit colour, depth.
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication app(argc, argv);
    app.setWindowIcon(velnor::programIcon());
    std::setlocale(LC_NUMERIC, "C");
    // SIGTERM and SIGINT close the game as its menu's exit does, without a question.
    velnor::QuitSignals quitSignals;
    velnor::SteadyClock clock;
    velnor::QtMessageBoxes messages;
    velnor::SdlMusicPlayer music;
    velnor::SelectionDialogs setup(messages);
    velnor::MainWindow window(".", clock, messages, music, setup);
    messages.setParent(&window);
    setup.setParent(&window);
    quitSignals.setOnQuit([&window] { window.quitWithoutQuestion(); });
    window.show();
    return app.exec();
}
