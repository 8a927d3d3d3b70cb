#include <sys/stat.h>

#include "base/pathexists.h"

namespace kivrel {

bool PathExists(const tPath& path) {
    struct stat info;
    // lstat: a dangling link still occupies the name.
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace kivrel
