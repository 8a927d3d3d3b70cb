#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "base/readfile.h"

namespace kivrel {

FileRead ReadWholeFile(const tPath& path, std::string& bytes, std::size_t limit) {
    // Non-blocking, so that a pipe put where the file should be does not hang us.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              static_cast<std::uintmax_t>(st.st_size) <= limit;
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        ok = bytes.size() <= limit;
    }
    ::close(fd);
    return ok ? FileRead::Ok : FileRead::Failed;
}

}  // namespace kivrel
