#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "base/readfile.h"

namespace kivrel {

FileRead ReadWholeFile(const tPath& path, std::string& bytes, std::size_t limit) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Missing
                                                                              : FileRead::Failed;
    }
    LARGE_INTEGER size{};
    bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
              static_cast<unsigned long long>(size.QuadPart) <= limit;
    char buffer[65536];
    while (ok) {
        DWORD n = 0;
        ok = ReadFile(file, buffer, sizeof buffer, &n, nullptr);
        if (!ok || n == 0)
            break;
        bytes.append(buffer, n);
        ok = bytes.size() <= limit;
    }
    CloseHandle(file);
    return ok ? FileRead::Ok : FileRead::Failed;
}

}  // namespace kivrel
