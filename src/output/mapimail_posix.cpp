#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "base/textrules.h"
#include "output/mapimail.h"
#include "output/mapiparts.h"

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

// Runs args[0], looked up on PATH, with args as its argument vector (no shell in between)
// and waits for it. With output given, collects its standard output there and silences
// its errors. Returns the exit code, 128 + the signal that ended it, or -1 when it could
// not be started.
int Run(const std::vector<std::string>& args, std::string* output) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int fds[2] = {-1, -1};
    if (output && ::pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    Fd readEnd(fds[0]);
    Fd writeEnd(fds[1]);
    SpawnSetup setup;
    if (output) {
        posix_spawn_file_actions_adddup2(&setup.actions, writeEnd.get(), STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }

    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &setup.actions, &setup.attr, argv.data(), environ) != 0)
        return -1;

    if (output) {
        writeEnd.Close();
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(readEnd.get(), buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            output->append(buffer, static_cast<std::size_t>(n));
        }
    }

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

int HandOverMail(const MailRequest& mail) {
    return Run(XdgEmailArguments(mail), nullptr);
}

bool MapiClientAvailable() {
    // xdg-email hands every mail to $MAILER when it is set, whatever else is registered.
    const char* mailer = std::getenv("MAILER");
    if (mailer && *mailer)
        return true;
    std::string handler;
    Run({"xdg-mime", "query", "default", "x-scheme-handler/mailto"}, &handler);
    return !TrimSpacesAndControls(handler).empty();
}

}  // namespace kivrel
