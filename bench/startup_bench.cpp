// From process start to the main window painted, with the About window and the wizard made:
// each run starts this program anew as a child, which runs the program's own start and
// reports the moment the main window was first painted on the monotonic clock.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/program.h"
#include "app/tfrmmain.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kChild = "--start-once";

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// Waits for the first paint of a widget of the main window, then prints the time and quits.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget& window) : window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_) {
            painted_ = true;
            // Reported once this round of painting has ended.
            QTimer::singleShot(0, [] {
                std::printf("%lld\n", static_cast<long long>(Now()));
                std::fflush(stdout);
                QCoreApplication::exit(0);  // no close question
            });
        }
        return false;
    }

private:
    QWidget& window_;
    bool painted_ = false;
};

int StartOnce(int argc, char** argv) {
    QApplication app(argc, argv);
    kivrel::KivrelProgram program(app);
    // The start-up dialogue is the user's time, not the start's.
    program.MainWindow().FirstActivation = false;
    FirstPaint watch(program.MainWindow());
    app.installEventFilter(&watch);
    return QApplication::exec();
}

// Starts the child and returns the nanoseconds until it reported the first paint, or -1.
std::int64_t TimeOneStart() {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    char self[] = "/proc/self/exe";
    std::string child = kChild;
    char* argv[] = {self, child.data(), nullptr};
    const std::int64_t start = Now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
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

void BM_StartUpToMainWindow(benchmark::State& state) {
    for (auto _ : state) {
        const std::int64_t ns = TimeOneStart();
        if (ns < 0) {
            state.SkipWithError("the program did not start");
            break;
        }
        state.SetIterationTime(static_cast<double>(ns) / 1e9);
    }
}
BENCHMARK(BM_StartUpToMainWindow)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(15)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], kChild) == 0)
        return StartOnce(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
