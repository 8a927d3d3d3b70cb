#pragma once

#include <string>

namespace kivrel {

// True when anything stands under path: a file of any attributes (hidden, system,
// read-only), a folder, or a link, even one that leads nowhere. The path is Windows-1252.
bool PathExists(const std::string& path);

}  // namespace kivrel
