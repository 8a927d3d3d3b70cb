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

std::optional<tPath> StoreFolderPath() {
    PWSTR appData = nullptr;
    // Wide, as the ANSI call cannot name a profile folder beyond the code page.
    const HRESULT result =
        SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &appData);
    std::optional<tPath> folder;
    if (SUCCEEDED(result))
        folder = tPath(appData) / L"Kivrel";
    CoTaskMemFree(appData);
    return folder;
}

bool MakeFolders(const tPath& folder) {
    // The application-data folder is there already; only ours may be missing.
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileLock::FileLock(const tPath& path, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        // No sharing: a second opener fails until this handle is closed.
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
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

bool RemoveFile(const tPath& path) {
    if (DeleteFileW(path.c_str()))
        return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

FurtherName GiveFurtherName(const tPath& file, const tPath& target, bool keep) {
    // Neither replaces an existing target.
    if (keep ? CopyFileW(file.c_str(), target.c_str(), TRUE)
             : MoveFileExW(file.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
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
