#include <sys/stat.h>

#include "base/cp1252.h"
#include "base/pathexists.h"

namespace kivrel {

bool PathExists(const std::string& path) {
    struct stat info;
    // lstat: a dangling link still occupies the name.
    return ::lstat(Cp1252ToUtf8(path).c_str(), &info) == 0;
}

}  // namespace kivrel
