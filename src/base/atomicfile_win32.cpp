#include <windows.h>

#include <algorithm>
#include <random>

#include "base/atomicfile.h"

namespace kivrel {

namespace {

bool Fail(std::string* error, DWORD code) {
    if (error) {
        char buffer[512] = {};
        const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, code, 0, buffer, sizeof buffer, nullptr);
        *error = n ? std::string(buffer, n) : "error " + std::to_string(code);
        while (!error->empty() && (error->back() == '\n' || error->back() == '\r')) {
            error->pop_back();
        }
    }
    return false;
}

tPath TemporaryName(const tPath& path) {
    static std::mt19937_64 random{std::random_device{}()};
    tPath name = path;
    name += ".~" + std::to_string(random() % 1000000000ULL) + ".tmp";
    return name;
}

}  // namespace

bool WriteFileAtomically(const tPath& path, const std::string& bytes, std::string* error,
                         FlushToDisk flush) {
    tPath temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryName(path);
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            return Fail(error, GetLastError());
        }
    }
    if (file == INVALID_HANDLE_VALUE)
        return Fail(error, ERROR_FILE_EXISTS);

    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written > 0;
        done += written;
    }
    ok = ok && (flush == FlushToDisk::No || FlushFileBuffers(file));
    const DWORD code = ok ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    // MoveFileEx refuses to replace a read-only file, which is what we want.
    if (!ok || !MoveFileExW(temporary.c_str(), path.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD failure = ok ? GetLastError() : code;
        DeleteFileW(temporary.c_str());
        return Fail(error, failure);
    }
    return true;
}

}  // namespace kivrel
