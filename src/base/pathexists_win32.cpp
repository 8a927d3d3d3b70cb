#include <windows.h>

#include "base/pathexists.h"

namespace kivrel {

bool PathExists(const tPath& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace kivrel
