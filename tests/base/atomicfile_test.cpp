#include "base/atomicfile.h"
#include "base/pathexists.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/cp1252.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;

std::size_t EntriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

TEST(AtomicFile, WritesAndReplacesWholeLeavingNothingElse) {
    test::TempDir dir;
    const std::string path = dir.file("a.tv4");
    ASSERT_TRUE(WriteFileAtomically(path, "first\r\n"));
    ASSERT_TRUE(WriteFileAtomically(path, std::string("se\0cond", 7)));
    EXPECT_EQ(test::ReadFileBytes(path), std::string("se\0cond", 7));
    ASSERT_TRUE(WriteFileAtomically(path, ""));
    EXPECT_EQ(test::ReadFileBytes(path), "");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(AtomicFile, ThePathNamesTheFileAsItIsWithAnyLetters) {
    test::TempDir dir;
    // Inside and outside Windows-1252: UTF-8 bytes on Linux, UTF-16 on Windows, unconverted.
    const std::u8string name = u8"Müller € Łukasz.tv4";
    ASSERT_TRUE(WriteFileAtomically(dir.path() / name, "x"));
    EXPECT_TRUE(PathExists(dir.path() / name));
    ASSERT_EQ(EntriesIn(dir.path()), 1u);
    const auto entry = *fs::directory_iterator(dir.path());
    EXPECT_TRUE(entry.path().filename() == fs::path(name));
    // A message names it with every letter: those beyond Windows-1252 are marked.
    const std::string text = PathText(entry.path().filename());
    EXPECT_EQ(text.substr(0, 9), Win1252("Müller € "));
    EXPECT_EQ(MarkedToUtf8(text), "Müller € Łukasz.tv4");
}

TEST(AtomicFile, FailuresLeaveTheTargetAndNoTemporaryFile) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(dir.file("missing/a.tv4"), "x", &error));
    EXPECT_FALSE(error.empty());

    fs::create_directory(dir.path() / "folder");
    test::WriteFileBytes(dir.path() / "folder" / "inside", "keep");
    EXPECT_FALSE(WriteFileAtomically(dir.file("folder"), "x", &error));
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
    EXPECT_EQ(test::ReadFileBytes(dir.path() / "folder" / "inside"), "keep");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace kivrel
