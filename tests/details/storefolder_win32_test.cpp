// Under a profile named with letters inside and outside Windows-1252, where the ANSI file
// functions cannot reach: the store folder in the application-data folder that the system
// names, the recovery file kept and found again there, and entry files in a chosen folder
// of such a name.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/messages.h"
#include "details/recoveryfile.h"
#include "output/finishing.h"
#include "support/exampleentry.h"
#include "support/tempdir.h"
#include "windows/win32_test.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;

// Points the user's roaming application-data folder (and %APPDATA%) at a folder of the
// test's, and puts the old one back.
class AppDataAt {
public:
    explicit AppDataAt(const fs::path& folder) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr);
        DWORD size = 0;
        if (RegQueryValueExW(key_, L"AppData", nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            old_.assign(size, '\0');
            RegQueryValueExW(key_, L"AppData", nullptr, &type_,
                             reinterpret_cast<BYTE*>(old_.data()), &size);
        }
        Set(REG_SZ, folder.c_str(), (folder.native().size() + 1) * sizeof(wchar_t));
        SetEnvironmentVariableW(L"APPDATA", folder.c_str());
    }
    ~AppDataAt() {
        if (old_.empty())
            RegDeleteValueW(key_, L"AppData");
        else
            Set(type_, old_.data(), old_.size());
        RegCloseKey(key_);
    }
    AppDataAt(const AppDataAt&) = delete;
    AppDataAt& operator=(const AppDataAt&) = delete;

private:
    static constexpr const wchar_t* kShellFolders =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

    void Set(DWORD type, const void* data, std::size_t size) {
        RegSetValueExW(key_, L"AppData", 0, type, static_cast<const BYTE*>(data),
                       static_cast<DWORD>(size));
    }

    HKEY key_ = nullptr;
    DWORD type_ = REG_EXPAND_SZ;
    std::string old_;
};

TEST(ProfileBeyondWindows1252, RecoveryFileAndEntryFilesWhereTheUserHasThem) {
    if (!test::UnderWine())
        GTEST_SKIP() << "changes the user's application-data folder";
    test::TempDir dir;
    const fs::path home = dir.path() / L"J\u00fcrgen \u0141ukasz";
    const fs::path appData = home / L"AppData" / L"Roaming";
    fs::create_directories(appData);
    const AppDataAt redirected(appData);
    ScriptedBoxes boxes;
    const tMeldung example = test::ExampleEntry();

    const auto folder = StoreFolder();
    ASSERT_TRUE(folder);
    EXPECT_TRUE(*folder == appData / L"Kivrel");
    {
        auto recovery = tRecovery::TakeBesideStore();
        ASSERT_TRUE(recovery);
        EXPECT_FALSE(recovery->Pending());
        ASSERT_TRUE(recovery->Save(example));
    }  // gone as a killed program goes: the file stays
    EXPECT_TRUE(fs::exists(*folder / L"Meldung.wiederherstellung"));
    auto next = tRecovery::TakeBesideStore();
    ASSERT_TRUE(next);
    const auto pending = next->Pending();
    ASSERT_TRUE(pending);
    EXPECT_EQ(pending->Teilnehmer.size(), 3u);
    next->Accept();
    next->Remove();
    EXPECT_FALSE(fs::exists(*folder / L"Meldung.wiederherstellung"));

    const fs::path chosen = home / L"Meldungen \u0141\u00f3d\u017a" / L"\u00dcbersicht.tv4";
    fs::create_directory(chosen.parent_path());
    const tUsedAgeGroups used = test::Used(example);
    ASSERT_TRUE(WriteEntryFiles(chosen, used, example));
    EXPECT_EQ(test::ReadFileBytes(chosen.parent_path() / L"\u00dcbersichtU12 (m).tv4"),
              test::ExampleFileU12());
    EXPECT_EQ(test::ReadFileBytes(chosen.parent_path() / L"\u00dcbersichtU15 (w).tv4"),
              test::ExampleFileU15());
    // Finishing again finds both under the same names.
    std::vector<tPath> names;
    EXPECT_TRUE(BuildEntryFileNames(chosen, names, used));
    EXPECT_EQ(boxes.shown().size(), 1u);
}

}  // namespace
}  // namespace kivrel
