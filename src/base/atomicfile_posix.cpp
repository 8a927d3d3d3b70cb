#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "base/atomicfile.h"
#include "base/error.h"

namespace kivrel {

namespace {

bool Fail(std::string* error, int err) {
    if (error)
        *error = SystemErrorText(err);
    return false;
}

// A name beside path that no other writer picks.
tPath TemporaryName(const tPath& path) {
    static std::mt19937_64 random{std::random_device{}()};
    tPath name = path;
    name += ".~" + std::to_string(random() % 1000000000ULL) + ".tmp";
    return name;
}

// The rename lasts through a power cut only once the folder's entry is on the disk too. A
// file system that cannot flush a folder has the file all the same.
void FlushFolderOf(const tPath& path) {
    const tPath folder = path.has_parent_path() ? path.parent_path() : tPath(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const tPath& path, const std::string& bytes, std::string* error,
                         FlushToDisk flush) {
    // rename() would replace a write-protected file; honour the protection as Windows does.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
        return Fail(error, errno);
    }
    tPath temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(path);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return Fail(error, errno);
    }
    if (fd < 0)
        return Fail(error, EEXIST);

    if (!WriteAll(fd, bytes) || (flush == FlushToDisk::Yes && ::fsync(fd) != 0)) {
        const int err = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return Fail(error, err);
    }
    if (::close(fd) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        return Fail(error, err);
    }
    if (flush == FlushToDisk::Yes)
        FlushFolderOf(path);
    return true;
}

}  // namespace kivrel
