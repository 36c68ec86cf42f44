// The game window's costs, under a display (xvfb-run with Mesa): one frame of the race drawn and
// shown at 640 × 480, and one idle pass without drawing. Run by hand:
//   xvfb-run -a -s "-screen 0 1024x768x24" build/velnor_window_bench
#include "app/game_view.h"
#include "app/main_window.h"
#include "app/race_setup.h"
#include "platform/message_boxes.h"
#include "platform/music_player.h"
#include "platform/steady_clock.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

namespace {

class Silence final : public velnor::MusicPlayer {
public:
    bool open(const std::string&) override { return false; }
    void play() override {}
    void stop() override {}
    void close() override {}
};

class Yes final : public velnor::MessageBoxes {
public:
    bool question(const std::string&) override { return true; }
    bool warningQuestion(const std::string&) override { return true; }
    void information(const std::string&) override {}
    void message(const std::string&, const std::string&) override {}
};

// The bundled game in a window of 640 × 480, a race started on its first course.
struct Window {
    Window() {
        char pattern[] = "/tmp/velnor-bench-XXXXXX";
        root = mkdtemp(pattern);
        std::filesystem::copy(VELNOR_DATA, root, std::filesystem::copy_options::recursive);
        window = std::make_unique<velnor::MainWindow>(root, clock, messages, music, setup);
        window->show();
        window->startCommand();
        window->keys().setDown(velnor::vk::kX, true);
    }
    ~Window() {
        window.reset();
        std::filesystem::remove_all(root);
    }
    std::string root;
    velnor::SteadyClock clock;
    Yes messages;
    Silence music;
    velnor::FirstCarAndCourse setup;
    std::unique_ptr<velnor::MainWindow> window;
};

void BM_FrameDrawnAndShown(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        w.window->idlePass();
        w.window->view()->repaint();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FrameDrawnAndShown)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_IdlePassWithoutDrawing(benchmark::State& state) {
    Window w;
    velnor::KeyTable& keys = w.window->keys();
    for (auto _ : state)
        w.window->game().runIdleWork(keys);
}
BENCHMARK(BM_IdlePassWithoutDrawing);

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
