#include "app/versioninfo.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

void ExpectProgramVersion(const std::string& file) {
    SCOPED_TRACE(file);
    TVersionInfo info;
    info.SetFilename(file);
    EXPECT_EQ(info.Filename(), file);
    EXPECT_EQ(info.LanguageInfo(), "040704E4");
    EXPECT_EQ(info.CompanyName(), "Kivrel-Projekt");
    EXPECT_EQ(info.FileDescription(), "Kivrel Turniermeldung");
    EXPECT_EQ(info.FileVersion(), "4.2.0.1");
    EXPECT_EQ(info.InternalName(), "Kivrel");
    EXPECT_EQ(info.LegalCopyright(), "Copyright (C) 2024 Kivrel-Projekt");
    EXPECT_EQ(info.OriginalFilename(), KIVREL_ORIGINAL_FILENAME);
    EXPECT_EQ(info.ProductName(), "Kivrel");
    EXPECT_EQ(info.ProductVersion(), "4.2");
    EXPECT_EQ(info.Comments(), "Vereinsmeldung zu einem Kampfsportturnier");
    EXPECT_GT(info.BlockSize(), 0u);
}

std::string FailureOf(TVersionInfo& info, const std::string& file) {
    try {
        info.SetFilename(file);
    } catch (const KivrelError& e) {
        return e.text();
    }
    return "no failure";
}

TEST(VersionInfo, ReadsTheVersionThatTheBuildPutIntoTheProgramFile) {
#ifdef KIVREL_PROGRAM_FILE
    ExpectProgramVersion(KIVREL_PROGRAM_FILE);
#endif
    ExpectProgramVersion(KIVREL_TEST_FILE);
}

// A per-user install lies below the user's profile, whose name may be any letters.
TEST(VersionInfo, ReadsAProgramFileInAFolderNamedBeyondWindows1252) {
    test::TempDir dir;
    const tPath folder = dir.path() / u8"Programme Łukasz";
    std::filesystem::create_directory(folder);
    const tPath copy = folder / tPath(KIVREL_TEST_FILE).filename();
    std::filesystem::copy_file(KIVREL_TEST_FILE, copy);
    TVersionInfo info;
    info.SetFilename(copy);
    EXPECT_EQ(info.FileVersion(), "4.2.0.1");
    EXPECT_EQ(info.Filename(), PathText(copy));
}

TEST(VersionInfo, MissingFileOrFileWithoutRecordFailsAndLeavesEverythingCleared) {
    test::TempDir dir;
    TVersionInfo info;
    const std::string missing = dir.file("fehlt.exe");
    EXPECT_EQ(FailureOf(info, missing), "File not found: " + missing);
    EXPECT_EQ(FailureOf(info, dir.path().string()), "File not found: " + dir.path().string());

    test::WriteFileBytes(dir.file("leer.exe"), "");
    test::WriteFileBytes(dir.file("text.exe"), "MZ kein Programm\r\n");
    for (const std::string name : {"leer.exe", "text.exe"}) {
        info.SetFilename(KIVREL_TEST_FILE);
        const std::string file = dir.file(name);
        EXPECT_EQ(FailureOf(info, file), "Invalid version info record in file " + file);
        EXPECT_EQ(info.Filename(), file);
        EXPECT_EQ(info.LanguageInfo(), "");
        EXPECT_EQ(info.FileVersion(), "");
        EXPECT_EQ(info.Comments(), "");
        EXPECT_EQ(info.BlockSize(), 0u);
    }
}

#ifdef KIVREL_NO_VERSION_FILE
// Real program files built for the purpose, where the platform has them.
TEST(VersionInfo, ProgramFilesWithoutAUsableRecordFail) {
    TVersionInfo info;
    info.SetFilename(KIVREL_TEST_FILE);
    EXPECT_EQ(FailureOf(info, KIVREL_NO_VERSION_FILE),
              std::string("Invalid version info record in file ") + KIVREL_NO_VERSION_FILE);
    EXPECT_EQ(info.FileVersion(), "");
    EXPECT_EQ(info.BlockSize(), 0u);

    info.SetFilename(KIVREL_TEST_FILE);
    EXPECT_EQ(FailureOf(info, KIVREL_NO_TRANSLATION_FILE),
              std::string("Invalid language info in file ") + KIVREL_NO_TRANSLATION_FILE);
    EXPECT_EQ(info.LanguageInfo(), "");
    EXPECT_EQ(info.CompanyName(), "");
    EXPECT_EQ(info.FileVersion(), "");
    EXPECT_EQ(info.Comments(), "");
    EXPECT_GT(info.BlockSize(), 0u);

    info.SetFilename(KIVREL_FEW_STRINGS_FILE);
    EXPECT_EQ(info.LanguageInfo(), "040704E4");
    EXPECT_EQ(info.CompanyName(), "Kivrel-Projekt");
    EXPECT_EQ(info.FileVersion(), "n/a");
    EXPECT_EQ(info.ProductName(), "n/a");
    EXPECT_EQ(info.Comments(), "n/a");  // present but empty
}
#endif

}  // namespace
}  // namespace kivrel
