// The store file and the Windows registry editor: what the file backend writes
// (store_fixture.reg, checked against the backend on Linux), the editor imports into the
// registry with the same bytes and types; what the editor exports, the file form reads back
// the same; and the registry backend stores just what the file backend does.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "details/registryfile.h"
#include "store_fixture.h"
#include "support/tempdir.h"
#include "windows/win32_test.h"

namespace kivrel {
namespace {

using test::WindowsPath;

constexpr const char* kQvtr = "Software\\NORDALKE\\QVTR";

// Key path -> value name -> type and bytes.
using Values = std::map<std::string, std::pair<RegType, std::string>>;
using Snapshot = std::map<std::string, Values>;

Snapshot Below(const RegHive& hive, const std::string& top) {
    Snapshot keys;
    for (const auto& [path, key] : hive.Keys()) {
        if (path != top && path.rfind(top + "\\", 0) != 0)
            continue;
        Values& values = keys[path];
        for (const auto& value : key.Values())
            values[value.name] = {value.type, value.data};
    }
    return keys;
}

// The key and its subkeys as the ANSI registry functions hand them out.
void AddLive(HKEY parent, const std::string& path, const std::string& name, Snapshot& keys) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS) << path;
    DWORD subkeys = 0, maxSubkey = 0, values = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &maxSubkey, nullptr,
                               &values, &maxName, &maxData, nullptr, nullptr),
              ERROR_SUCCESS);
    Values& out = keys[path];
    for (DWORD i = 0; i < values; ++i) {
        std::string valueName(maxName + 1, '\0');
        std::string data(maxData, '\0');
        DWORD nameSize = maxName + 1;
        DWORD dataSize = maxData;
        DWORD type = 0;
        ASSERT_EQ(RegEnumValueA(key, i, valueName.data(), &nameSize, nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &dataSize),
                  ERROR_SUCCESS);
        valueName.resize(nameSize);
        data.resize(dataSize);
        out[valueName] = {type, data};
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        std::string subkey(maxSubkey + 1, '\0');
        DWORD size = maxSubkey + 1;
        ASSERT_EQ(RegEnumKeyExA(key, i, subkey.data(), &size, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        subkey.resize(size);
        AddLive(key, path + "\\" + subkey, subkey, keys);
    }
    RegCloseKey(key);
}

Snapshot Live(const std::string& path) {
    Snapshot keys;
    AddLive(HKEY_CURRENT_USER, path, path, keys);
    return keys;
}

// Runs the registry editor with these arguments and gives its exit code.
DWORD RunRegedit(const std::string& arguments) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string command = "\"" + std::string(windows) + "\\regedit.exe\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return GetLastError() | 0x80000000u;
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

class StoreFileAndRegistryEditor : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\NORDALKE");
        const auto parsed = ParseRegFile(test::ReadFileBytes(KIVREL_STORE_FIXTURE));
        ASSERT_TRUE(parsed);
        expected_ = Below(parsed->hive, kQvtr);
        // QVTR and its five subkeys.
        ASSERT_EQ(expected_.size(), 6u);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\NORDALKE"); }

    Snapshot expected_;
};

TEST_F(StoreFileAndRegistryEditor, EditorImportsAndExportsTheSameValues) {
    // The file's texts are in the ANSI code page, as the editor reads a REGEDIT4 file.
    ASSERT_EQ(GetACP(), 1252u);
    ASSERT_EQ(RunRegedit("/S \"" + WindowsPath(KIVREL_STORE_FIXTURE) + "\""), 0u);
    EXPECT_EQ(Live(kQvtr), expected_);

    test::TempDir dir;
    const std::string exported = dir.file("export.reg");
    ASSERT_EQ(
        RunRegedit("/E \"" + WindowsPath(exported) + "\" \"HKEY_CURRENT_USER\\" + kQvtr + "\""),
        0u);
    const std::string bytes = test::ReadFileBytes(exported);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");  // the version 5 form
    const auto parsed = ParseRegFile(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_FALSE(parsed->lossy);
    EXPECT_EQ(Below(parsed->hive, kQvtr), expected_);
}

TEST_F(StoreFileAndRegistryEditor, RegistryBackendStoresWhatTheFileBackendWrites) {
    test::SaveStoreFixture();
    EXPECT_EQ(Live(kQvtr), expected_);
}

}  // namespace
}  // namespace kivrel
