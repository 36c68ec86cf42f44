// What the game's loop costs the machine, side by side in one run at 640 × 480: the title screen
// (it waits for events, so it should cost nothing), and racing with the loop drawing as fast as
// it can (frame rate 0, the busy loop), at the display's pace (frame rate -1) and at 30 frames a
// second. Each is CPU seconds of the whole process (every thread: Mesa's software renderer draws
// in threads of its own) per second of wall time, the autopilot driving a fresh race on the first
// course. Run by hand through bench/pacing, or:
//   xvfb-run -a -s "-screen 0 1024x768x24" build/velnor_pacing_bench [SECONDS_EACH]
#include "bench_window.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

using velnor::bench::BenchWindow;
using velnor::bench::Stretch;

struct Pace {
    const char* name;
    int frameRate; // as MainWindow::setFrameRate takes it
};

constexpr Pace kPaces[] = {
    {"race, busy loop (0)", 0},
    {"race, display's pace (-1)", -1},
    {"race, 30 fps (30)", 30},
};

void printRow(const char* name, const Stretch& s, double busyCpuPerSecond) {
    std::printf("%-27s %6.2f  %8.1f  %12.3f  %12.2f", name, s.wallSeconds, s.framesPerSecond(),
                s.cpuPerSecond(), s.cpuMsPerFrame());
    if (busyCpuPerSecond > 0)
        std::printf("  %13.3f", s.cpuPerSecond() / busyCpuPerSecond);
    std::printf("\n");
}

const char* verdict(bool holds) {
    return holds ? "yes" : "NO";
}

// A fresh race at `pace`, driven by the autopilot: `warmUp` milliseconds to settle, then
// `milliseconds` measured. The race is stopped again, back to the title.
Stretch race(BenchWindow& bench, const Pace& pace, int warmUp, int milliseconds) {
    velnor::MainWindow& window = bench.window();
    window.setFrameRate(pace.frameRate);
    window.setAutopilot(true);
    window.startCommand();
    BenchWindow::run(warmUp);
    const Stretch stretch = bench.measure(milliseconds);
    if (window.game().gameState() != velnor::GameState::kRacing)
        std::printf("  (%s: the race was no longer running at the end)\n", pace.name);
    window.stopCommand();
    return stretch;
}

} // namespace

int main(int argc, char* argv[]) {
    velnor::bench::setUpAsTheGame();
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    if (!(seconds > 0 && seconds <= 600)) {
        std::fprintf(stderr, "usage: velnor_pacing_bench [SECONDS_EACH (0 < s <= 600)]\n");
        return 2;
    }
    const int milliseconds = static_cast<int>(seconds * 1000);
    BenchWindow bench;
    const QSize client = bench.setClientSize(QSize(640, 480));
    std::printf("renderer: %s, client area %d x %d, %.1f s each\n", bench.renderer().c_str(),
                client.width(), client.height(), seconds);
    // Other programs on the machine take their share of it: with fewer cores free than the busy
    // loop can use, its figure is the machine's limit, and the ratios read low.
    double load = 0;
    if (getloadavg(&load, 1) == 1)
        std::printf("load average of the machine: %.2f on %ld cores\n", load,
                    sysconf(_SC_NPROCESSORS_ONLN));

    BenchWindow::run(1000); // the title screen is painted and its music asked for
    const Stretch title = bench.measure(milliseconds);
    std::vector<Stretch> races;
    for (const Pace& pace : kPaces)
        races.push_back(race(bench, pace, 1000, milliseconds));

    std::printf("%-27s %6s  %8s  %12s  %12s  %13s\n", "", "wall s", "frames/s", "CPU s per s",
                "CPU ms/frame", "of busy loop");
    printRow("title screen", title, 0);
    const double busy = races[0].cpuPerSecond();
    for (std::size_t i = 0; i < races.size(); ++i)
        printRow(kPaces[i].name, races[i], busy);

    const double paced = races[1].cpuPerSecond();
    std::printf("title screen at 0 CPU (under 0.005 s per s): %s\n",
                verdict(title.cpuPerSecond() < 0.005));
    std::printf("display's pace at most a third of the busy loop: %s\n",
                verdict(busy > 0 && paced <= busy / 3));
    std::printf("display's pace at most half a core: %s\n", verdict(paced <= 0.5));
    return 0;
}
