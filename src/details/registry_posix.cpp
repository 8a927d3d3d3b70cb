// The current user's hive as one text file in the registry editor's format,
// $XDG_CONFIG_HOME/kivrel/HKEY_CURRENT_USER.reg. Every access reads the file afresh under an
// exclusive lock; every change writes it whole to a temporary file and renames that over it.

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "base/atomicfile.h"
#include "details/registry.h"
#include "details/registryfile.h"

namespace kivrel {

namespace {

std::atomic<long long> gWaitLimitMs{5000};

struct StorePaths {
    std::string folder;
    std::string file;
    std::string lock;  // a file of its own, so that renaming the store does not drop the lock
};

std::optional<StorePaths> FindStorePaths() {
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
    StorePaths paths;
    paths.folder = config + "/kivrel";
    paths.file = paths.folder + "/HKEY_CURRENT_USER.reg";
    paths.lock = paths.file + ".lock";
    return paths;
}

bool MakeFolders(const std::string& folder) {
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

// Held while it lives; waits a bounded time for another process that holds it.
class StoreLock {
public:
    explicit StoreLock(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd_ < 0)
            return;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(gWaitLimitMs.load());
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~StoreLock() {
        if (fd_ >= 0)
            ::close(fd_);  // releases the lock
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

bool ReadAll(int fd, std::string& bytes) {
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

// Gives the store file a further name beside it that nothing has yet,
// "<file>.<tag>-20250315-142233" (then "-2", "-3", ...): moved there, or with keep, linked
// there while it also stays in place. Never replaces an existing file.
bool SetAside(const std::string& file, const char* tag, bool keep) {
    char stamp[32] = "0";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local))
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    for (int n = 1; n < 1000; ++n) {
        std::string target = file + "." + tag + "-" + stamp;
        if (n > 1)
            target += "-" + std::to_string(n);
        int rc =
            keep ? ::link(file.c_str(), target.c_str())
                 : ::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
        if (rc != 0 && !keep && (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP)) {
            // A file system that cannot rename without replacing: link, then drop the old name.
            rc = ::link(file.c_str(), target.c_str());
            if (rc == 0 && ::unlink(file.c_str()) != 0) {
                ::unlink(target.c_str());
                return false;
            }
        }
        if (rc == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

struct Store {
    RegHive hive;
    bool keepOriginal = false;  // rewriting the file as it came would lose part of it
};

// The store as the file holds it; nullopt when it cannot be used. Call with the lock held.
std::optional<Store> LoadStore(const StorePaths& paths) {
    // Non-blocking, so that a pipe put where the file should be does not hang us.
    const int fd = ::open(paths.file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT)
            return Store{};
        return std::nullopt;
    }
    struct stat st {};
    std::string bytes;
    const bool read = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadAll(fd, bytes);
    ::close(fd);
    if (!read)
        return std::nullopt;
    if (auto parsed = ParseRegFile(bytes))
        return Store{std::move(parsed->hive), parsed->lossy};
    // What we cannot read is never overwritten: it stays beside, and the store starts empty.
    if (!SetAside(paths.file, "unreadable", false))
        return std::nullopt;
    return Store{};
}

bool SaveStore(const StorePaths& paths, const Store& store) {
    if (store.keepOriginal && !SetAside(paths.file, "original", true))
        return false;
    return WriteFileAtomically(paths.file, FormatRegFile(store.hive));
}

// One access to the store under its lock. body(hive, changed) returns false when it failed
// and sets changed when the file is to be written.
template <class Body>
bool WithStore(Body&& body) {
    const auto paths = FindStorePaths();
    if (!paths || !MakeFolders(paths->folder))
        return false;
    const StoreLock lock(paths->lock);
    if (!lock.Held())
        return false;
    auto store = LoadStore(*paths);
    if (!store)
        return false;
    bool changed = false;
    if (!body(store->hive, changed))
        return false;
    return !changed || SaveStore(*paths, *store);
}

}  // namespace

struct RegistryKey::Impl {
    std::string path;  // below the hive
};

RegistryKey::RegistryKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

std::optional<RegistryKey> RegistryKey::Open(std::string_view absolutePath) {
    auto path = RelativeKeyPath(absolutePath);
    if (!path)
        return std::nullopt;
    const bool opened = WithStore([&](RegHive& hive, bool& changed) {
        changed = hive.FindKey(*path) == nullptr;
        hive.CreateKey(*path);
        return true;
    });
    if (!opened)
        return std::nullopt;
    return RegistryKey(std::make_unique<Impl>(Impl{std::move(*path)}));
}

namespace {

RegValue Lookup(const std::string& keyPath, std::string_view name,
                std::optional<std::size_t> capacity) {
    RegValue result;
    const bool read = WithStore([&](RegHive& hive, bool&) {
        const RegHive::Key* key = hive.FindKey(keyPath);
        const RegHive::Value* value = key ? key->Find(name) : nullptr;
        if (!value) {
            result.status = RegStatus::Missing;
            return true;
        }
        result.type = value->type;
        result.size = value->data.size();
        if (capacity && result.size > *capacity) {
            result.status = RegStatus::TooLarge;
        } else {
            result.status = RegStatus::Ok;
            if (capacity)
                result.data = value->data;
        }
        return true;
    });
    return read ? result : RegValue{};
}

}  // namespace

RegValue RegistryKey::QueryInfo(std::string_view name) const {
    return Lookup(impl_->path, name, std::nullopt);
}

RegValue RegistryKey::Read(std::string_view name, std::size_t capacity) const {
    return Lookup(impl_->path, name, capacity);
}

bool RegistryKey::Write(std::string_view name, RegType type, std::string_view data) {
    // The file has no way to write a name that breaks its line.
    if (name.find_first_of("\r\n") != std::string_view::npos)
        return false;
    return WithStore([&](RegHive& hive, bool& changed) {
        hive.CreateKey(impl_->path).Set(name, type, std::string(data));
        changed = true;
        return true;
    });
}

void SetStoreWaitLimit(std::chrono::milliseconds limit) {
    gWaitLimitMs = limit.count();
}

}  // namespace kivrel
