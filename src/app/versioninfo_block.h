#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/path.h"

// What TVersionInfo asks of the platform; versioninfo_win32.cpp and versioninfo_posix.cpp
// answer it.
namespace kivrel::versionblock {

// True when name is an existing file (not a folder).
bool FileExists(const tPath& name);

// The file's whole version block; empty when the file has none or cannot be read.
std::vector<char> Read(const tPath& name);

// The value stored in block under path ("\VarFileInfo\Translation",
// "\StringFileInfo\040704E4\FileVersion"); nullopt when the block has none. The view
// points into block, which Windows may use as scratch space for converted texts.
std::optional<std::string_view> Query(std::vector<char>& block, const std::string& path);

}  // namespace kivrel::versionblock
