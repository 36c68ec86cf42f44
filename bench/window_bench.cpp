// The game window's frames: how many the race shows per second of wall time, and what each costs
// in CPU time of the whole process (Mesa's software renderer draws in threads of its own, so the
// window's thread alone tells only part of it), with the client area at 640 × 480, 1280 × 720 and
// 1920 × 1080. The loop draws as fast as it can here (frame rate 0): this measures the renderer.
// Run by hand, on a screen large enough for the largest window:
//   xvfb-run -a -s "-screen 0 2048x1536x24" build/velnor_window_bench [SECONDS_PER_SIZE [WxH]]
// With WxH (e.g. 640x480) only that client area is measured: for counting system calls per frame
// under strace, the difference of two runs of different lengths.
// LIBGL_ALWAYS_SOFTWARE=1 makes sure of Mesa's software renderer where a GPU is present. The X
// server's own work (copying the frames to its screen) is in its process, not counted here.
#include "bench_window.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using velnor::bench::BenchWindow;
using velnor::bench::Stretch;

void printRow(QSize client, const Stretch& s) {
    std::printf("%4d x %-4d  %7d  %6.2f  %8.1f  %10.2f  %13.2f  %9.2f  %12.1f\n", client.width(),
                client.height(), s.framesShown, s.wallSeconds, s.framesPerSecond(),
                s.cpuMsPerFrame(), s.mainCpuMsPerFrame(), s.cpuPerSecond(), s.faultsPerFrame());
}

// The client areas asked for on the command line: all three, or the one written as WxH.
std::vector<QSize> sizesWanted(int argc, char* argv[]) {
    if (argc <= 2)
        return {QSize(640, 480), QSize(1280, 720), QSize(1920, 1080)};
    int width = 0;
    int height = 0;
    char rest = 0;
    if (std::sscanf(argv[2], "%dx%d%c", &width, &height, &rest) != 2 || width < 64 || height < 64 ||
        width > 4096 || height > 4096)
        return {};
    return {QSize(width, height)};
}

} // namespace

int main(int argc, char* argv[]) {
    velnor::bench::setUpAsTheGame();
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const std::vector<QSize> sizes = sizesWanted(argc, argv);
    if (!(seconds > 0 && seconds <= 600) || sizes.empty()) {
        std::fprintf(stderr, "usage: velnor_window_bench [SECONDS_PER_SIZE (0 < s <= 600) "
                             "[WIDTHxHEIGHT (64 to 4096 each)]]\n");
        return 2;
    }
    BenchWindow bench;
    velnor::MainWindow& window = bench.window();
    if (!window.view()) {
        std::fprintf(stderr, "velnor_window_bench: this display gives no OpenGL context\n");
        return 1;
    }
    window.setFrameRate(0);
    window.setAutopilot(true); // the car drives round the course: the view moves
    window.startCommand();
    std::printf("renderer: %s\n", bench.renderer().c_str());
    std::printf("client area  frames  wall s  frames/s  CPU ms/frame  "
                "main thread ms  CPU cores  faults/frame\n");
    for (const QSize wanted : sizes) {
        const QSize client = bench.setClientSize(wanted);
        BenchWindow::run(500); // the first frames at a new size make the new buffers
        printRow(client, bench.measure(static_cast<int>(seconds * 1000)));
        if (client != wanted)
            std::printf("  (asked for %d x %d: the screen is too small)\n", wanted.width(),
                        wanted.height());
    }
    return 0;
}
