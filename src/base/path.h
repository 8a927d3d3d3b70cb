#pragma once

#include <filesystem>
#include <string>

// A path is the system's own, never text of the entry: on Linux the bytes the system gives,
// on Windows UTF-16 for the wide file functions. Nothing converts it on its way to a file
// function.
namespace kivrel {

using tPath = std::filesystem::path;

// The entry's Windows-1252 text as part of a file name, converted once: UTF-8 bytes on
// Linux, UTF-16 on Windows.
tPath::string_type PathPart(const std::string& cp1252);

// The path as a message shows it, in Windows-1252: a letter beyond the code page is kept
// marked (kForeignMark), so that the message box shows the folder's real name.
std::string PathText(const tPath& path);

}  // namespace kivrel
