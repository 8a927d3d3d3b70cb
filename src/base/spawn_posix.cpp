#include "base/spawn_posix.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

#include "base/busy.h"

extern char** environ;

namespace kivrel {

namespace {

// Closes a descriptor once.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void Close() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attr);
        // The child starts with no blocked signals and default SIGPIPE/SIGCHLD, whatever
        // the program set up for itself; a shell script that waits for its own children
        // needs that.
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attr, &none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        sigaddset(&defaults, SIGCHLD);
        posix_spawnattr_setsigdefault(&attr, &defaults);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&attr);
        posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
};

// Starts args[0], looked up on PATH, with args as its argument vector (no shell in
// between). With outputFd given, its standard output goes there and its errors are
// silenced. Returns its process id, or -1 when it could not be started.
pid_t Start(const std::vector<std::string>& args, int outputFd = -1) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    SpawnSetup setup;
    if (outputFd >= 0) {
        posix_spawn_file_actions_adddup2(&setup.actions, outputFd, STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &setup.actions, &setup.attr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

// The exit code, or 128 + the signal that ended the child.
int ExitCode(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return ExitCode(status);
}

}  // namespace

int RunProgram(const std::vector<std::string>& args, std::string& output) {
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    Fd readEnd(fds[0]);
    Fd writeEnd(fds[1]);
    const pid_t pid = Start(args, writeEnd.get());
    if (pid < 0)
        return -1;
    writeEnd.Close();
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(readEnd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(n));
    }
    return WaitFor(pid);
}

std::optional<int> RunProgramForAWhile(const std::vector<std::string>& args,
                                       std::chrono::milliseconds wait) {
    // Nothing it prints is for us, and it may outlive the wait.
    const Fd nowhere(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    const pid_t pid = Start(args, nowhere.get());
    if (pid < 0)
        return -1;
    const BusyScope busy;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            return ExitCode(status);
        if (ended < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        KeepResponsive();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::thread([pid] { WaitFor(pid); }).detach();  // no zombie left behind
    return std::nullopt;
}

}  // namespace kivrel
