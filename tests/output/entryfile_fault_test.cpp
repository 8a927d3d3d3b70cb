// Writing entry files where the system refuses: every failure names the file, leaves it as
// it was, leaves no temporary file and keeps the files written before it.
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "base/error.h"
#include "output/entryfile.h"
#include "support/exampleentry.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

// Runs body in a child process and gives back its complaints, empty when there are none.
// Root ignores write protection, so as root the child first becomes nobody.
std::string InChild(const std::function<std::string()>& body) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return "no pipe";
    const pid_t pid = ::fork();
    if (pid < 0)
        return "no fork";
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::string report;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            report = "cannot become nobody";
        } else {
            try {
                report = body();
            } catch (const std::exception& e) {
                report = std::string("unexpected exception: ") + e.what();
            }
        }
        for (std::size_t done = 0; done < report.size();) {
            const ssize_t n = ::write(pipeFds[1], report.data() + done, report.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status))
        report += "child died";
    return report;
}

struct tFault {
    const char* what;
    std::size_t failing;  // the first file that cannot be written; those before it are
    std::function<void(const std::vector<tPath>& files)> prepare;
    rlim_t fileSizeLimit = RLIM_INFINITY;
};

// Two files: a small one for U12 (m), then a larger one for U15 (w) that a file size limit
// between the two cuts off.
tMeldung FaultEntry() {
    tMeldung m = test::ExampleEntry();
    for (int i = 0; i < 60; ++i)
        test::AddParticipant(m, "Lang" + std::to_string(i), "Mia", "U15 (w)", "2012", 1, "-44");
    return m;
}

TEST(EntryFileFaults, FailureKeepsEverythingElse) {
    const tMeldung m = FaultEntry();
    const tUsedAgeGroups used = test::Used(m);

    std::vector<std::string> reference;
    {
        test::TempDir clean;
        const std::vector<tPath> cleanNames = EntryFileNames(clean.file("S.tv4"), used);
        WriteEntryFiles(clean.file("S.tv4"), used, m);
        for (const tPath& name : cleanNames)
            reference.push_back(test::ReadFileBytes(name));
    }
    ASSERT_LT(reference[0].size(), 2048u);
    ASSERT_GT(reference[1].size(), 2048u);

    const auto makeFolder = [](const std::vector<tPath>& files) {
        fs::create_directory(fs::path(files[0]).parent_path());
    };
    const std::vector<tFault> faults = {
        {"missing folder", 0, [](const auto&) {}},
        {"read-only folder", 0,
         [&](const auto& files) {
             makeFolder(files);
             test::WriteFileBytes(files[0], "old");
             fs::permissions(fs::path(files[0]).parent_path(),
                             fs::perms::owner_read | fs::perms::owner_exec);
         }},
        {"read-only file", 1,
         [&](const auto& files) {
             makeFolder(files);
             test::WriteFileBytes(files[1], "old");
             fs::permissions(files[1], fs::perms::owner_read);
         }},
        {"folder with the file's name", 1,
         [&](const auto& files) {
             makeFolder(files);
             fs::create_directory(files[1]);
             test::WriteFileBytes(fs::path(files[1]) / "inside", "keep");
         }},
        {"full disk", 1,
         [&](const auto& files) {
             makeFolder(files);
             test::WriteFileBytes(files[1], "old");
         },
         2048},
    };

    for (const tFault& fault : faults) {
        test::TempDir dir;
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(dir.path().c_str(), kNobody, kNobody), 0);
        }
        const tPath chosen = dir.path() / "Meldungen" / "Stadtpokal.tv4";
        const std::vector<tPath> files = EntryFileNames(chosen, used);

        const std::string complaints = InChild([&]() -> std::string {
            if (::access(dir.path().c_str(), W_OK | X_OK) != 0)
                return "test folder unreachable; set TMPDIR to a folder all may enter";
            fault.prepare(files);
            std::map<std::string, std::string> expected = test::Snapshot(dir.path());
            for (std::size_t i = 0; i < fault.failing; ++i)
                expected[fs::path(files[i]).lexically_relative(dir.path()).generic_string()] =
                    reference[i];

            // A file size limit stands in for a full disk; the failing write then
            // reports EFBIG instead of killing the process.
            rlimit before{};
            ::getrlimit(RLIMIT_FSIZE, &before);
            const rlimit limited{std::min(fault.fileSizeLimit, before.rlim_max), before.rlim_max};
            ::signal(SIGXFSZ, SIG_IGN);
            ::setrlimit(RLIMIT_FSIZE, &limited);
            std::string error = "no error";
            try {
                WriteEntryFiles(chosen, used, m);
            } catch (const KivrelError& e) {
                error = e.text();
            }
            ::setrlimit(RLIMIT_FSIZE, &before);

            std::string report;
            if (error != "nach " + files[fault.failing].string() + " kann nicht geschrieben werden")
                report += "error: " + error + "\n";
            if (test::Snapshot(dir.path()) != expected)
                report += "files differ from what they should be\n";
            return report;
        });
        EXPECT_EQ(complaints, "") << fault.what;
    }
}

}  // namespace
}  // namespace kivrel
