#pragma once

#include <string>

#include "base/path.h"

namespace kivrel {

// Whether the new content reaches the disk before the rename. Without the flush the
// replacement is still whole or nothing for every program and survives a crash of the
// writer, but a power cut soon after may leave the old content, or on some file systems an
// empty file.
enum class FlushToDisk { Yes, No };

// Writes bytes as the whole new content of path: first into a temporary file in the same
// folder, flushed to disk (unless told otherwise), then renamed over path, and with the flush
// the rename made lasting too. On failure path is as it was before (absent, or its old
// content), no temporary file is left, and error (when given) gets the system's reason. A
// write-protected existing file is not replaced.
bool WriteFileAtomically(const tPath& path, const std::string& bytes, std::string* error = nullptr,
                         FlushToDisk flush = FlushToDisk::Yes);

}  // namespace kivrel
