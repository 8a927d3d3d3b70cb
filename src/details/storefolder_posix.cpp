#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "details/storefolder.h"

namespace kivrel {

bool MakeFolders(const tPath& path) {
    // The bytes as they came: no level of the name is converted.
    const std::string& folder = path.native();
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<tPath> StoreFolderPath() {
    std::string config;
    // A relative XDG_CONFIG_HOME is to be ignored, as the base directory rules say.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        config = xdg;
    } else {
        std::string home;
        if (const char* h = std::getenv("HOME"); h && *h) {
            home = h;
        } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
            home = pw->pw_dir;
        }
        if (home.empty())
            return std::nullopt;
        config = home + "/.config";
    }
    return tPath(config) / "kivrel";
}

FileLock::FileLock(const tPath& path, std::chrono::milliseconds wait) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    handle_ = fd;
}

FileLock::~FileLock() {
    if (Held())
        ::close(static_cast<int>(handle_));  // releases the lock
}

bool RemoveFile(const tPath& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

FurtherName GiveFurtherName(const tPath& file, const tPath& target, bool keep) {
    int rc = keep ? ::link(file.c_str(), target.c_str())
                  : ::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
    if (rc != 0 && !keep && (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP)) {
        // A file system that cannot rename without replacing: link, then drop the old name.
        rc = ::link(file.c_str(), target.c_str());
        if (rc == 0 && ::unlink(file.c_str()) != 0) {
            ::unlink(target.c_str());
            return FurtherName::Failed;
        }
    }
    if (rc == 0)
        return FurtherName::Given;
    return errno == EEXIST ? FurtherName::Taken : FurtherName::Failed;
}

tLocalTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!::localtime_r(&now, &local))
        return {};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace kivrel
