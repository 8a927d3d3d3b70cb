#include <windows.h>

#include "base/pathexists.h"

namespace kivrel {

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace kivrel
