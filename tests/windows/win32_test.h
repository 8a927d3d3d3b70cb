#pragma once

// The Windows API for the Windows tests, with the registry functions of Vista and later
// (RegDeleteTreeA).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#include <windows.h>

#include <string>

namespace kivrel::test {

// Whether the tests run under Wine, whose ntdll has wine_get_version. Tests that change the
// local machine hive run only there, in the scratch prefix of the test run.
inline bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The full Windows form of a path ("/work/a" is "Z:\work\a" under Wine), for programs that
// take an argument beginning with "/" for a switch, and for registry values.
inline std::string WindowsPath(const std::string& path) {
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

}  // namespace kivrel::test
