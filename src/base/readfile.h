#pragma once

#include <cstddef>
#include <string>

#include "base/path.h"

namespace kivrel {

enum class FileRead { Ok, Missing, Failed };

// The whole content of a plain file of at most limit bytes. Anything else under the name
// (a folder, a pipe, a larger file) fails without waiting.
FileRead ReadWholeFile(const tPath& path, std::string& bytes, std::size_t limit);

}  // namespace kivrel
