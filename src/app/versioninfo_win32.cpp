#include <windows.h>

#include "app/versioninfo_block.h"

// The VERSIONINFO resource, read through the system's version functions. The program
// links version.lib (-lversion) for them.
namespace kivrel::versionblock {

bool FileExists(const tPath& name) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<char> Read(const tPath& name) {
    DWORD handle = 0;
    // The size includes room for the texts that VerQueryValueA converts in the block.
    const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(name.c_str(), 0, size, block.data()))
        return {};
    return block;
}

std::optional<std::string_view> Query(std::vector<char>& block, const std::string& path) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || value == nullptr)
        return std::nullopt;
    return std::string_view(static_cast<const char*>(value), length);
}

}  // namespace kivrel::versionblock
