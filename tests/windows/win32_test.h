#pragma once

// The Windows API for the Windows tests, with the registry functions of Vista and later
// (RegDeleteTreeA), and the tests' own reading and setting of registry values.
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

#include <gtest/gtest.h>

#include <optional>
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

// Sets a value of the local machine hive (or of another), creating its key; an empty name is
// the default.
inline void SetValue(const char* key, const char* name, DWORD type, const std::string& data,
                     HKEY hive = HKEY_LOCAL_MACHINE) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(hive, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
              ERROR_SUCCESS)
        << key;
    EXPECT_EQ(RegSetValueExA(k, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(k);
}

inline void SetText(const char* key, const char* name, const std::string& text,
                    HKEY hive = HKEY_LOCAL_MACHINE) {
    SetValue(key, name, REG_SZ, text + '\0', hive);
}

inline void SetDword(const char* key, const char* name, DWORD value) {
    SetValue(key, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4));
}

inline std::optional<std::string> TextOf(const char* key, const char* name) {
    char buffer[1024];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return std::nullopt;
    const LSTATUS rc =
        RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    return std::string(buffer, size ? size - 1 : 0);
}

}  // namespace kivrel::test
