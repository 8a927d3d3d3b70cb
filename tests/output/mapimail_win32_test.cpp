// The Simple MAPI hand-over through the system's real MAPI32.DLL, which passes the mail on
// to the default mail client's provider (the DLLPath of the client that the default value
// of HKLM\Software\Clients\Mail names): here a recording provider of the tests' own. And
// the mail-client probe against the local machine hive.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "base/messages.h"
#include "output/mapimail.h"
#include "output/mapimail_win32.h"
#include "windows/mapi_recorder.h"
#include "windows/win32_test.h"

namespace kivrel {
namespace {

using test::UnderWine;
using test::WindowsPath;

using test::SetDword;
using test::SetText;
using test::SetValue;
using test::TextOf;

constexpr const char* kClients = "Software\\Clients\\Mail";
constexpr const char* kClient = "Software\\Clients\\Mail\\Kivrel Recorder";
constexpr const char* kMailto = "Software\\Classes\\Mailto\\Shell\\Open\\Command";
constexpr const char* kOutlookExpress = "Software\\Microsoft\\Outlook Express";

class SimpleMapi : public testing::Test {
protected:
    void SetUp() override {
        if (!UnderWine())
            GTEST_SKIP() << "changes the local machine hive; runs in a scratch Wine prefix only";
        previousClient_ = TextOf(kClients, "");
        const std::string path = WindowsPath(KIVREL_MAPI_RECORDER);
        SetText(kClient, "DLLPath", path);
        SetText(kClients, "", "Kivrel Recorder");
        // The same module that MAPI32.DLL will load, so its record is ours to read.
        recorderModule_ = LoadLibraryA(path.c_str());
        ASSERT_TRUE(recorderModule_) << path;
        const auto entry = GetProcAddress(recorderModule_, test::kRecorderEntry);
        ASSERT_TRUE(entry);
        recorder_ = reinterpret_cast<test::KivrelMapiRecorderFunction>(
            reinterpret_cast<void (*)()>(entry))();
        recorder_->calls = 0;
        recorder_->answer = SUCCESS_SUCCESS;
    }
    void TearDown() override {
        SetMapiLibraryName("");
        if (recorderModule_)
            FreeLibrary(recorderModule_);
        if (previousClient_)
            SetText(kClients, "", *previousClient_);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kClient);
    }

    std::optional<std::string> previousClient_;
    HMODULE recorderModule_ = nullptr;
    test::MapiRecorder* recorder_ = nullptr;
    ScriptedBoxes boxes_;
};

TEST_F(SimpleMapi, TheProviderGetsTheMailAsFilled) {
    // The ANSI interface gets the names in the ANSI code page (1252 here).
    std::vector<tPath> files;
    std::vector<std::string> names;
    for (int i = 1; i <= 101; ++i) {
        files.push_back(L"C:\\Meldungen\\S\u00fcd U" + std::to_wstring(i) + L" (m).tv4");
        names.push_back(Win1252("C:\\Meldungen\\Süd U") + std::to_string(i) + " (m).tv4");
    }
    const std::string subject = Win1252("Meldung für Stadtpokal 2026");
    const std::string body = Win1252("Grüße\r\nTSV Musterstadt\r\n");
    EXPECT_EQ(
        SendMapiMail(subject, body, "", "", "meldung@pokal.example", "meldung@pokal.example", files)
            .Code,
        0);
    EXPECT_TRUE(boxes_.texts().empty());
    ASSERT_EQ(recorder_->calls, 1);

    const test::RecordedMail& mail = recorder_->last;
    EXPECT_EQ(mail.session, 0u);
    EXPECT_EQ(mail.flags, 9u);  // MAPI_LOGON_UI | MAPI_DIALOG
    EXPECT_EQ(mail.reserved, 0u);
    EXPECT_EQ(mail.subject, subject);
    EXPECT_EQ(mail.noteText, body);
    EXPECT_FALSE(mail.hasMessageType || mail.hasDateReceived || mail.hasConversationId);
    EXPECT_EQ(mail.messageFlags, 0u);
    EXPECT_EQ(mail.messageReserved, 0u);
    EXPECT_FALSE(mail.hasOriginator);

    ASSERT_EQ(mail.recipCount, 1u);
    ASSERT_EQ(mail.recips.size(), 1u);
    const test::RecordedRecip& to = mail.recips[0];
    EXPECT_EQ(to.recipClass, static_cast<ULONG>(MAPI_TO));
    EXPECT_EQ(to.name, "meldung@pokal.example");
    EXPECT_EQ(to.address, "meldung@pokal.example");
    EXPECT_EQ(to.entryIdSize, 0u);
    EXPECT_FALSE(to.hasEntryId);
    EXPECT_EQ(to.reserved, 0u);

    ASSERT_EQ(mail.fileCount, 100u);
    ASSERT_EQ(mail.files.size(), 100u);
    for (std::size_t i = 0; i < mail.files.size(); ++i) {
        const test::RecordedFile& f = mail.files[i];
        EXPECT_EQ(f.pathName, names[i]) << i;
        EXPECT_EQ(f.position, 0xFFFFFFFFu) << i;
        EXPECT_EQ(f.flags, 0u) << i;
        EXPECT_EQ(f.reserved, 0u) << i;
        EXPECT_FALSE(f.hasFileName || f.hasFileType) << i;
    }

    // Loaded for the one hand-over only.
    EXPECT_EQ(GetModuleHandleA("MAPI32.DLL"), nullptr);
}

TEST_F(SimpleMapi, AnAttachmentInAFolderBeyondTheCodePageKeepsItsName) {
    // The folder cannot be spelled in the ANSI code page: its path goes short, the file's
    // own name beside it.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / L"Zg\u0142oszenia \u0141\u00f3d\u017a";
    std::filesystem::create_directories(folder);
    const tPath file = folder / L"BezirkseinzelErwachsene (m).tv4";
    std::FILE* out = _wfopen(file.c_str(), L"wb");
    ASSERT_NE(out, nullptr);
    std::fclose(out);
    EXPECT_EQ(SendMapiMail("Meldung", "", "", "", "", "", {file}).Code, 0);
    std::filesystem::remove_all(folder);
    ASSERT_EQ(recorder_->calls, 1);
    ASSERT_EQ(recorder_->last.files.size(), 1u);
    const test::RecordedFile& f = recorder_->last.files[0];
    EXPECT_EQ(f.pathName.find('?'), std::string::npos) << f.pathName;
    EXPECT_NE(f.pathName.find('~'), std::string::npos) << f.pathName;
    EXPECT_EQ(f.fileName, "BezirkseinzelErwachsene (m).tv4");
}

TEST_F(SimpleMapi, WhatIsNotGivenIsNotPassed) {
    EXPECT_EQ(SendMapiMail("", "", "", "anna@verein.example", "Turnierleitung", "", {}).Code, 0);
    ASSERT_EQ(recorder_->calls, 1);
    const test::RecordedMail& mail = recorder_->last;
    EXPECT_FALSE(mail.hasSubject);
    EXPECT_FALSE(mail.hasNoteText);
    ASSERT_TRUE(mail.hasOriginator);
    EXPECT_EQ(mail.originator.recipClass, static_cast<ULONG>(MAPI_ORIG));
    EXPECT_EQ(mail.originator.name, "anna@verein.example");
    EXPECT_EQ(mail.originator.address, "anna@verein.example");
    EXPECT_EQ(mail.recipCount, 0u);
    EXPECT_FALSE(mail.hasRecips);
    EXPECT_EQ(mail.fileCount, 0u);
    EXPECT_FALSE(mail.hasFiles);
}

TEST_F(SimpleMapi, TheClientsWindowsBelongToTheMainWindowAlsoWhenItIsNotActive) {
    // The provider only passes the handle on; no window of this test is active.
    const std::uintptr_t main = 0x4711;
    ASSERT_EQ(GetActiveWindow(), nullptr);
    SetMailParentWindow(main);
    EXPECT_EQ(SendMapiMail("Meldung", "", "", "", "", "", {}).Code, 0);
    SetMailParentWindow(0);
    ASSERT_EQ(recorder_->calls, 1);
    EXPECT_EQ(recorder_->last.uiParam, main);
}

TEST_F(SimpleMapi, AProviderThatFailsIsToldInGermanAndTheUsersCancelNotAtAll) {
    for (const ULONG code : {MAPI_E_FAILURE, MAPI_E_LOGIN_FAILURE, MAPI_USER_ABORT}) {
        recorder_->answer = code;
        boxes_.clear();
        const tHandOver result =
            SendMapiMail("Meldung", "Text", "", "", "Leitung", "m@example.org", {"C:\\a.tv4"});
        EXPECT_EQ(result.Code, static_cast<int>(code));
        EXPECT_TRUE(result.FromClient);
        EXPECT_EQ(result.Cancelled, code == MAPI_USER_ABORT);
        if (code == MAPI_USER_ABORT) {
            EXPECT_TRUE(boxes_.shown().empty());
            continue;
        }
        ASSERT_EQ(boxes_.shown().size(), 1u);
        EXPECT_EQ(boxes_.shown()[0].kind, MessageKind::Error);
        EXPECT_EQ(boxes_.shown()[0].text,
                  Win1252("Das Mailprogramm hat die Meldung nicht übernommen (Fehler ") +
                      std::to_string(code) +
                      Win1252("). Die Meldedateien sind geschrieben; Sie können sie selbst "
                              "versenden."));
    }
    EXPECT_EQ(recorder_->calls, 3);
}

TEST_F(SimpleMapi, NoLibraryOrNoEntryPoint) {
    SetMapiLibraryName("kivrel_keine_mapi.dll");
    EXPECT_EQ(SendMapiMail("Meldung", "Text", "", "", "Leitung", "m@example.org", {}).Code, -1);
    // Found by name in the test's folder; it loads but lacks MAPISendMail.
    SetMapiLibraryName("kivrel_mapi_standin.dll");
    const tHandOver missing =
        SendMapiMail("Meldung", "Text", "", "", "Leitung", "m@example.org", {});
    EXPECT_EQ(missing.Code, 1);
    EXPECT_FALSE(missing.FromClient || missing.Cancelled);  // not the user's cancel
    EXPECT_EQ(GetModuleHandleA("kivrel_mapi_standin.dll"), nullptr);
    EXPECT_EQ(boxes_.texts(),
              (std::vector<std::string>{"Error sending mail (-1).", "Error sending mail (1)."}));
    EXPECT_EQ(recorder_->calls, 0);
}

// ---- The probe for a registered mail client ----

class MailClientProbe : public testing::Test {
protected:
    void SetUp() override {
        if (!UnderWine())
            GTEST_SKIP() << "changes the local machine hive; runs in a scratch Wine prefix only";
        previousCommand_ = TextOf(kMailto, "");
        // No client chosen for Simple MAPI: the mailto command alone decides.
        previousClient_ = TextOf(kClients, "");
        SetText(kClients, "", "");
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOutlookExpress);
        RegDeleteTreeA(HKEY_CURRENT_USER, kClients);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kClient);
        if (previousCommand_)
            SetText(kMailto, "", *previousCommand_);
        SetText(kClients, "", previousClient_.value_or(""));
    }

    std::optional<std::string> previousCommand_;
    std::optional<std::string> previousClient_;
};

TEST_F(MailClientProbe, TheClientChosenForSimpleMapiCountsTheUsersFirst) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMailto);
    SetText(kClient, "DLLPath", "C:\\mapi.dll");
    SetText(kClients, "", "Kivrel Recorder");
    EXPECT_TRUE(MapiClientAvailable());

    // The user's own choice comes first, also when it names a client without its library.
    SetText(kClients, "", "Kein Client", HKEY_CURRENT_USER);
    EXPECT_FALSE(MapiClientAvailable());
    RegDeleteTreeA(HKEY_CURRENT_USER, kClients);

    SetText(kClient, "DLLPath", "");
    EXPECT_FALSE(MapiClientAvailable());
    SetText(kClient, "DLLPathEx", "C:\\mapi64.dll");
    EXPECT_TRUE(MapiClientAvailable());
}

TEST_F(MailClientProbe, TheMailtoCommandDecides) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMailto);
    EXPECT_FALSE(MapiClientAvailable());  // no command key

    SetText(kMailto, "", "");
    EXPECT_FALSE(MapiClientAvailable());
    SetValue(kMailto, "", REG_SZ, "");  // not even the terminator
    EXPECT_FALSE(MapiClientAvailable());
    SetDword(kMailto, "", 1);  // no text
    EXPECT_FALSE(MapiClientAvailable());

    SetText(kMailto, "", "\"C:\\Programme\\Mail\\mail.exe\" -compose \"%1\"");
    EXPECT_TRUE(MapiClientAvailable());
    SetValue(kMailto, "", REG_EXPAND_SZ, std::string("%ProgramFiles%\\mail.exe %1\0", 27));
    EXPECT_TRUE(MapiClientAvailable());
}

TEST_F(MailClientProbe, OutlookExpressCountsOnlyWithSimpleMapiOn) {
    const std::string outlookExpress = "\"C:\\PROGRA~1\\OUTLOO~1\\MSIMN.EXE\" /mailurl:%1";
    SetText(kMailto, "", outlookExpress);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOutlookExpress);
    EXPECT_TRUE(MapiClientAvailable());  // no Outlook Express key

    SetDword(kOutlookExpress, "SMapi", 0);
    EXPECT_FALSE(MapiClientAvailable());
    // Only the upper-case name counts.
    SetText(kMailto, "", "\"c:\\progra~1\\outloo~1\\msimn.exe\" /mailurl:%1");
    EXPECT_TRUE(MapiClientAvailable());

    SetText(kMailto, "", outlookExpress);
    SetDword(kOutlookExpress, "SMapi", 1);
    EXPECT_TRUE(MapiClientAvailable());
    SetText(kOutlookExpress, "SMapi", "0");  // no integer
    EXPECT_TRUE(MapiClientAvailable());
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOutlookExpress, 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    RegDeleteValueA(key, "SMapi");
    RegCloseKey(key);
    EXPECT_TRUE(MapiClientAvailable());  // key without SMapi
}

}  // namespace
}  // namespace kivrel
