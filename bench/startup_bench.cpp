// From process start to the main window painted, with the About window and the wizard made,
// set beside the least Qt program with a menu, a tool bar and a table (bare_startup). Each
// round starts both anew as children, one after the other and in turns which goes first, so
// that both meet the same machine; each child reports the moment of its main window's first
// paint on the monotonic clock. The counters give both medians and their ratio.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/tfrmmain.h"
#include "firstpaint.h"

extern char** environ;

namespace {

constexpr const char* kChild = "--start-once";

int StartOnce(int argc, char** argv) {
    QApplication app(argc, argv);
    kivrel::KivrelProgram program(app);
    // The start-up dialogue is the user's time, not the start's.
    program.MainWindow().FirstActivation = false;
    FirstPaint watch(program.MainWindow());
    app.installEventFilter(&watch);
    return QApplication::exec();
}

// Starts the program and returns the nanoseconds until it reported its first paint, or -1.
std::int64_t TimeOneStart(const char* program, const char* argument) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string path = program;
    std::string arg = argument ? argument : "";
    char* argv[] = {path.data(), argument ? arg.data() : nullptr, nullptr};
    const std::int64_t start = MonotonicNow();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    std::string out;
    char buffer[64];
    for (ssize_t n; spawned == 0 && (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    if (spawned != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || out.empty())
        return -1;
    return std::stoll(out) - start;
}

double MedianMs(std::vector<std::int64_t> ns) {
    std::sort(ns.begin(), ns.end());
    const std::size_t n = ns.size();
    const double middle =
        n % 2 ? static_cast<double>(ns[n / 2])
              : (static_cast<double>(ns[n / 2 - 1]) + static_cast<double>(ns[n / 2])) / 2.0;
    return middle / 1e6;
}

// The iteration time is the program's start; the bare Qt program runs beside it.
void BM_StartUpToMainWindow(benchmark::State& state) {
    std::vector<std::int64_t> kivrel;
    std::vector<std::int64_t> bare;
    for (auto _ : state) {
        std::int64_t ours = -1;
        std::int64_t theirs = -1;
        if (kivrel.size() % 2) {
            theirs = TimeOneStart(KIVREL_BARE_STARTUP, nullptr);
            ours = TimeOneStart("/proc/self/exe", kChild);
        } else {
            ours = TimeOneStart("/proc/self/exe", kChild);
            theirs = TimeOneStart(KIVREL_BARE_STARTUP, nullptr);
        }
        if (ours < 0 || theirs < 0) {
            state.SkipWithError("a program did not start");
            return;
        }
        kivrel.push_back(ours);
        bare.push_back(theirs);
        state.SetIterationTime(static_cast<double>(ours) / 1e9);
    }
    const double k = MedianMs(kivrel);
    const double b = MedianMs(bare);
    state.counters["kivrel_median_ms"] = k;
    state.counters["bare_qt_median_ms"] = b;
    state.counters["ratio"] = k / b;
}
BENCHMARK(BM_StartUpToMainWindow)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], kChild) == 0)
        return StartOnce(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
