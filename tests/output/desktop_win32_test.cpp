// The desktop's ways through the real shell: ShellExecute reaches the program registered for
// .eml files and for mailto: links, here a recorder of the tests' own.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "output/desktop.h"
#include "support/tempdir.h"
#include "windows/win32_test.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;
using test::SetText;
using test::UnderWine;
using test::WindowsPath;

class Shell : public testing::Test {
protected:
    void SetUp() override {
        if (!UnderWine())
            GTEST_SKIP() << "changes the local machine hive; runs in a scratch Wine prefix only";
        // The recorder answers for both, each call a line in the record.
        const std::string command = "\"" + WindowsPath(KIVREL_CMDLINE_RECORDER) + "\" \"" +
                                    WindowsPath(record_.string()) + "\" \"%1\"";
        SetText("Software\\Classes\\.eml", "", "Kivrel.TestMail");
        SetText("Software\\Classes\\Kivrel.TestMail\\shell\\open\\command", "", command);
        SetText("Software\\Classes\\mailto", "", "URL:MailTo Protocol");
        SetText("Software\\Classes\\mailto\\shell\\open\\command", "", command);
    }

    // The record once it holds that many lines; the shell starts the program and returns.
    std::string Recorded(std::size_t lines) {
        std::string text;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            text = fs::exists(record_) ? test::ReadFileBytes(record_) : std::string();
            if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= lines)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return text;
    }

    test::TempDir dir_;
    fs::path record_ = dir_.path() / "record.txt";
};

TEST_F(Shell, TheDraftGoesToTheMailProgramAndTheLinkToTheBrowser) {
    // A folder beyond the code page, as a club's may be.
    const fs::path folder = dir_.path() / L"Zg\u0142oszenia";
    fs::create_directory(folder);
    const fs::path draft = folder / L"Stadtpokal S\u00fcd.eml";
    test::WriteFileBytes(draft, "X-Unsent: 1\r\n\r\n");
    ASSERT_TRUE(OpenWithSystem(draft));
    const std::u8string expected = fs::absolute(draft).u8string() + u8"\n";
    EXPECT_EQ(Recorded(1), std::string(expected.begin(), expected.end()));

    ASSERT_TRUE(OpenLink("mailto:meldung@pokal.example?subject=Meldung%20f%C3%BCr"));
    EXPECT_EQ(Recorded(2).substr(expected.size()),
              "mailto:meldung@pokal.example?subject=Meldung%20f%C3%BCr\n");

    // No program for the type: said, not hidden.
    EXPECT_FALSE(OpenWithSystem(folder / L"Meldung.kivrel-unbekannt"));
}

}  // namespace
}  // namespace kivrel
