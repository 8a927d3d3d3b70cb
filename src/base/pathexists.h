#pragma once

#include "base/path.h"

namespace kivrel {

// True when anything stands under path: a file of any attributes (hidden, system,
// read-only), a folder, or a link, even one that leads nowhere.
bool PathExists(const tPath& path);

}  // namespace kivrel
