// What the window benchmarks share: the bundled game in a temporary copy, shown in the real
// window on the real clock, with silent music and message boxes that say yes; and the process's
// CPU time and the frames the 3D view shows, measured over a stretch of wall time with Qt's event
// loop running as it does in the game.
#pragma once

#include "app/game_view.h"
#include "app/main_window.h"
#include "app/race_setup.h"
#include "platform/frame_heap.h"
#include "platform/message_boxes.h"
#include "platform/music_player.h"
#include "platform/steady_clock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <sys/resource.h>

namespace velnor::bench {

class Silence final : public MusicPlayer {
public:
    bool open(const std::string&) override { return false; }
    void play() override {}
    void stop() override {}
    void close() override {}
    void pause() override {}
    void resume() override {}
    void setVolume(float) override {}
};

class Yes final : public MessageBoxes {
public:
    bool question(const std::string&) override { return true; }
    bool warningQuestion(const std::string&) override { return true; }
    void information(const std::string&) override {}
    void message(const std::string&, const std::string&) override {}
};

// What the game's main sets before the window is made: the heap keeps the frames' temporary
// pictures, and the game's surface format.
inline void setUpAsTheGame() {
    keepFrameBuffersInHeap();
    useGameSurfaceFormat();
}

// CPU seconds (user and system) of `who`: RUSAGE_SELF counts every thread of the process, the
// renderer's too; RUSAGE_THREAD only the calling one.
inline double cpuSeconds(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](timeval t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Pages the process touched for the first time (fresh heap or mappings the kernel zero-fills).
inline long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// What a stretch of wall time cost.
struct Stretch {
    double wallSeconds = 0;
    double cpuSeconds = 0;     // every thread of the process
    double mainCpuSeconds = 0; // the window's thread alone
    int framesShown = 0;       // frames the 3D view swapped to the screen
    long pageFaults = 0;       // minor page faults of the process
    double cpuPerSecond() const { return wallSeconds > 0 ? cpuSeconds / wallSeconds : 0; }
    double framesPerSecond() const { return wallSeconds > 0 ? framesShown / wallSeconds : 0; }
    double cpuMsPerFrame() const { return framesShown > 0 ? cpuSeconds * 1e3 / framesShown : 0; }
    double faultsPerFrame() const {
        return framesShown > 0 ? static_cast<double>(pageFaults) / framesShown : 0;
    }
    double mainCpuMsPerFrame() const {
        return framesShown > 0 ? mainCpuSeconds * 1e3 / framesShown : 0;
    }
};

// The bundled game in the game's window, from a temporary copy of the data that is removed again.
class BenchWindow {
public:
    BenchWindow() {
        char pattern[] = "/tmp/velnor-bench-XXXXXX";
        root_ = mkdtemp(pattern);
        std::filesystem::copy(VELNOR_DATA, root_, std::filesystem::copy_options::recursive);
        window_ = std::make_unique<MainWindow>(root_, clock_, messages_, music_, setup_);
        window_->show();
        if (GameView* view = window_->view())
            QObject::connect(view, &QOpenGLWindow::frameSwapped, [this] { ++framesShown_; });
        QApplication::processEvents();
    }
    ~BenchWindow() {
        window_.reset();
        std::filesystem::remove_all(root_);
    }
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

    MainWindow& window() { return *window_; }

    // The OpenGL renderer that draws the view ("llvmpipe ..." for Mesa's software one), or
    // "none" where the display gives no OpenGL.
    std::string renderer() {
        GameView* view = window_->view();
        if (!view || !view->context())
            return "none";
        view->makeCurrent();
        const auto* name = view->context()->functions()->glGetString(GL_RENDERER);
        std::string result = name ? reinterpret_cast<const char*>(name) : "unknown";
        view->doneCurrent();
        return result;
    }

    // Sizes the window so that its client area (below the menu) is `client`, and waits for the
    // window system to carry it out. Returns the client size reached.
    QSize setClientSize(QSize client) {
        const QSize frame = window_->size() - window_->client()->size();
        window_->resize(client + frame);
        run(200);
        return window_->client()->size();
    }

    // Runs the event loop for `milliseconds` of wall time, as the game's own loop would.
    static void run(int milliseconds) {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // Runs the event loop for `milliseconds` and tells what it cost.
    Stretch measure(int milliseconds) {
        const int frames = framesShown_;
        const double cpu = cpuSeconds();
        const double mainCpu = cpuSeconds(RUSAGE_THREAD);
        const long faults = minorFaults();
        QElapsedTimer wall;
        wall.start();
        run(milliseconds);
        Stretch s;
        s.wallSeconds = static_cast<double>(wall.nsecsElapsed()) * 1e-9;
        s.cpuSeconds = cpuSeconds() - cpu;
        s.mainCpuSeconds = cpuSeconds(RUSAGE_THREAD) - mainCpu;
        s.framesShown = framesShown_ - frames;
        s.pageFaults = minorFaults() - faults;
        return s;
    }

private:
    std::string root_;
    SteadyClock clock_;
    Yes messages_;
    Silence music_;
    FirstCarAndCourse setup_;
    std::unique_ptr<MainWindow> window_;
    int framesShown_ = 0;
};

} // namespace velnor::bench
