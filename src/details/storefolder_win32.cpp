#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After windows.h.
#include <shlobj.h>

#include <thread>

#include "details/storefolder.h"

namespace kivrel {

namespace {

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

std::optional<std::string> StoreFolder() {
    char appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData)))
        return std::nullopt;
    std::string folder = std::string(appData) + "\\Kivrel";
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return std::nullopt;
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return folder + "\\";
}

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        // No sharing: a second opener fails until this handle is closed.
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            handle_ = reinterpret_cast<std::intptr_t>(file);
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION ||
            std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

FileLock::~FileLock() {
    if (Held())
        CloseHandle(AsHandle(handle_));
}

FileRead ReadWholeFile(const std::string& path, std::string& bytes, std::size_t limit) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
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

bool RemoveFile(const std::string& path) {
    if (DeleteFileA(path.c_str()))
        return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

FurtherName GiveFurtherName(const std::string& file, const std::string& target, bool keep) {
    // Neither replaces an existing target.
    if (keep ? CopyFileA(file.c_str(), target.c_str(), TRUE)
             : MoveFileExA(file.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
        return FurtherName::Given;
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? FurtherName::Taken
                                                                       : FurtherName::Failed;
}

tLocalTime LocalNow() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

}  // namespace kivrel
