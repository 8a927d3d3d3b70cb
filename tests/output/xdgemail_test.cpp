// The Linux hand-over through the real xdg-email, with $MAILER or a stand-in Thunderbird
// recording what reaches the mail client.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "base/busy.h"
#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/messages.h"
#include "output/mailtext.h"
#include "output/mapimail.h"
#include "output/mapiparts.h"
#include "support/maildesktop.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;

using test::Mailto;
using test::PercentDecoded;
using test::ScopedEnv;
using test::WriteScript;

// A -compose option list read by Thunderbird's rules: commas outside quotes separate the
// options; a value quoted right after '=' runs to the same quote before a comma or the
// end and is taken as it stands; an unquoted value is percent-decoded.
std::map<std::string, std::string> ComposeOptions(const std::string& list) {
    std::vector<std::string> pairs(1);
    char quote = 0;
    char previous = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const char c = list[i];
        const char next = i + 1 < list.size() ? list[i + 1] : ',';
        if (quote && c == quote && next == ',') {
            quote = 0;
            pairs.back() += c;
        } else if ((c == '\'' || c == '"') && previous == '=') {
            quote = quote ? quote : c;
            pairs.back() += c;
        } else if (c == ',' && !quote) {
            pairs.emplace_back();
        } else {
            pairs.back() += c;
        }
        previous = c;
    }
    std::map<std::string, std::string> options;
    for (const auto& pair : pairs) {
        const std::size_t eq = pair.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string value = pair.substr(eq + 1);
        const bool quoted = value.size() >= 2 && value.front() == '\'' && value.back() == '\'';
        options[pair.substr(0, eq)] =
            quoted ? value.substr(1, value.size() - 2) : PercentDecoded(value);
    }
    return options;
}

class XdgEmail : public ::testing::Test {
protected:
    // Entry files to attach; xdg-email hands over their canonical paths.
    // Creates the files under these UTF-8 names and gives their paths.
    std::vector<tPath> Files(const std::vector<std::string>& names) {
        std::vector<tPath> paths;
        for (const auto& name : names) {
            const fs::path path = dir.path() / "files" / name;
            test::WriteFileBytes(path, "[Identifikation]\r\n");
            paths.push_back(fs::canonical(path));
        }
        return paths;
    }

    static std::vector<std::string> AsUtf8(const std::vector<tPath>& paths) {
        std::vector<std::string> out;
        for (const auto& p : paths)
            out.push_back(p.string());
        return out;
    }

    Mailto Received() { return desktop.Received(); }

    // Registers a stand-in Thunderbird as the mailto handler, as a desktop would.
    void RegisterThunderbird() {
        fs::create_directory(dir.path() / "bin");
        WriteScript(dir.path() / "bin" / "thunderbird",
                    "printf '%s' \"$1\" > '" + dir.file("tb-flag") + "'\n" +
                        "printf '%s' \"$2\" > '" + dir.file("tb-options") + "'\n");
        fs::create_directory(dir.path() / "data" / "applications");
        test::WriteFileBytes(dir.path() / "data" / "applications" / "thunderbird.desktop",
                             "[Desktop Entry]\nType=Application\nName=Thunderbird\nExec=" +
                                 dir.file("bin/thunderbird") + " %u\n");
        test::WriteFileBytes(dir.path() / "config" / "mimeapps.list",
                             "[Default Applications]\n"
                             "x-scheme-handler/mailto=thunderbird.desktop\n");
    }

    test::MailDesktop desktop;
    const test::TempDir& dir = desktop.dir();
    ScopedEnv& env = desktop.env();
    ScriptedBoxes boxes;
};

const std::string kSubject = Win1252("Meldung von SV O'Brien, Nord für Pokal \\c am 14.03.2026");
const std::string kBody = Win1252(
    "Liebe Grüße, O'Brien\r\n"
    "Telefon d: \r\n"
    "\r\n"
    "Pfad C:\\neu\\c\\tabelle, 'zitiert' & 100% = \"fertig\"?\r\n"
    "Ende \r\n");

TEST_F(XdgEmail, MailerGetsAddressSubjectBodyAndAttachmentsUnchanged) {
    const auto files = Files(
        {"Pokal U12 (m).tv4", "Pokal O'Brien, Jan U15 (w).tv4", "Pokal Jüngste Łukasz (g).tv4"});
    const int code = SendMapiMail(kSubject, kBody, "Anna Berger", "anna@verein.example",
                                  "Turnierleitung", "o'brien@pokal.example", files)
                         .Code;
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(boxes.shown().empty());

    const Mailto m = Received();
    EXPECT_EQ(m.to, "o'brien@pokal.example");  // the address alone, no name
    EXPECT_EQ(m.all("subject"), std::vector<std::string>{Cp1252ToUtf8(kSubject)});
    EXPECT_EQ(m.all("body"), std::vector<std::string>{Cp1252ToUtf8(kBody)});
    EXPECT_EQ(m.all("attach"), AsUtf8(files));  // the names the system knows them by
    EXPECT_EQ(m.fields.size(), 5u);
}

TEST_F(XdgEmail, EmptyPartsStayOutAndOnlyTheFirstHundredFilesGo) {
    std::vector<std::string> names;
    for (int i = 1; i <= 101; ++i)
        names.push_back("Pokal U" + std::to_string(i) + " (m).tv4");
    const auto files = Files(names);
    EXPECT_EQ(SendMapiMail("", "", "", "", "Turnierleitung", "", files).Code, 0);

    const Mailto m = Received();
    EXPECT_EQ(m.to, "");
    EXPECT_EQ(m.fields.count("subject") + m.fields.count("body"), 0u);
    EXPECT_EQ(m.all("attach"), std::vector<std::string>(files.begin(), files.begin() + 100));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(XdgEmail, MissingXdgEmailGivesMinusOneAndTheErrorBox) {
    env.Set("PATH", dir.file("empty"));
    EXPECT_EQ(SendMapiMail("Betreff", "Text\r\n", "", "", "a@b.example", "a@b.example", {}).Code,
              -1);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].text, "Error sending mail (-1).");
}

TEST_F(XdgEmail, FailuresOfXdgEmailAreToldInGermanWithItsCode) {
    // A mail client that fails makes xdg-email end with 4, a missing file with 2.
    WriteScript(dir.path() / "mailer", "exit 3\n");
    const tHandOver failed = SendMapiMail("Betreff", "", "", "", "", "a@b.example", {});
    EXPECT_EQ(failed.Code, 4);
    EXPECT_TRUE(failed.FromClient && !failed.Cancelled);
    EXPECT_EQ(SendMapiMail("Betreff", "", "", "", "", "a@b.example", {dir.file("none.tv4")}).Code,
              2);
    const auto told = [](int code) {
        return Win1252("Das Mailprogramm hat die Meldung nicht übernommen (Fehler ") +
               std::to_string(code) +
               Win1252("). Die Meldedateien sind geschrieben; Sie können sie selbst versenden.");
    };
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{told(4), told(2)}));
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
}

TEST_F(XdgEmail, AMailClientThatStaysOpenKeepsTheProgramWaitingOnlyAWhile) {
    // As xdg-email waits for a Thunderbird it had to start until the user quits it.
    WriteScript(dir.path() / "mailer", "printf '%s' \"$1\" > '" + dir.file("uri") + "'\n" +
                                           "echo $$ > '" + dir.file("pid") + "'\n" +
                                           "exec sleep 60\n");
    std::vector<bool> busy;
    int kept = 0;
    InstallBusyIndicator([&](bool on) { busy.push_back(on); });
    InstallKeepResponsive([&] { ++kept; });
    const auto start = std::chrono::steady_clock::now();
    const int code = SendMapiMail("Betreff", "Text\r\n", "", "", "", "a@b.example", {}).Code;
    const auto waited = std::chrono::steady_clock::now() - start;
    InstallBusyIndicator({});
    InstallKeepResponsive({});
    ::kill(std::stoi(test::ReadFileBytes(dir.path() / "pid")), SIGTERM);

    EXPECT_EQ(code, 0);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(test::ParseMailto(test::ReadFileBytes(dir.path() / "uri")).to, "a@b.example");
    EXPECT_GE(waited, std::chrono::seconds(2));
    EXPECT_LT(waited, std::chrono::seconds(10));
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_GT(kept, 10);  // the windows were repainted all along
}

TEST_F(XdgEmail, ThunderbirdGetsCommasAndApostrophesUnchanged) {
    // Without $MAILER xdg-email runs the registered Thunderbird with a -compose option
    // list, where a raw comma or quote in a value would cut it short.
    env.Set("MAILER", std::nullopt);
    RegisterThunderbird();
    const auto files = Files({"Pokal U12 (m).tv4", "Pokal O'Brien U15 (w).tv4"});
    EXPECT_EQ(SendMapiMail(kSubject, kBody, "", "", "o'brien@pokal.example",
                           "o'brien@pokal.example", files)
                  .Code,
              0);
    EXPECT_TRUE(boxes.shown().empty());

    EXPECT_EQ(test::ReadFileBytes(dir.path() / "tb-flag"), "-compose");
    const auto options = ComposeOptions(test::ReadFileBytes(dir.path() / "tb-options"));
    EXPECT_EQ(options.at("to"), "o'brien@pokal.example,");
    EXPECT_EQ(options.at("subject"), Cp1252ToUtf8(kSubject));
    EXPECT_EQ(options.at("body"), Cp1252ToUtf8(kBody));
    EXPECT_EQ(options.at("attachment"), files[0].string() + "," + files[1].string());
}

TEST_F(XdgEmail, ProbeFindsMailerOrRegisteredHandler) {
    EXPECT_TRUE(MapiClientAvailable());

    env.Set("MAILER", "");
    EXPECT_FALSE(MapiClientAvailable());
    env.Set("MAILER", std::nullopt);
    EXPECT_FALSE(MapiClientAvailable());

    RegisterThunderbird();
    EXPECT_TRUE(MapiClientAvailable());
    env.Set("PATH", dir.file("empty"));  // no xdg-mime to ask
    EXPECT_FALSE(MapiClientAvailable());
}

TEST(MailtoHandler, OnlyClientsThatTakeAttachmentsCount) {
    for (const char* client :
         {"thunderbird.desktop", "org.mozilla.Thunderbird.desktop", "org.gnome.Evolution.desktop",
          "org.kde.kmail2.desktop", "claws-mail.desktop"})
        EXPECT_TRUE(MailtoHandlerTakesAttachments(client)) << client;
    // A browser as mail handler, or a web mail app, gets the mail without its files.
    for (const char* browser : {"firefox-esr.desktop", "chromium.desktop", "google-chrome.desktop",
                                "gmail.desktop", "mailspring.desktop", ""})
        EXPECT_FALSE(MailtoHandlerTakesAttachments(browser)) << browser;
}

TEST_F(XdgEmail, EntryMailGoesToTheEventAddressWithTheFiles) {
    tMeldung m;
    m.Turnier = {"Pokal", *DayNumberFromDate(2026, 3, 14), "Nordstadt", "meldung@pokal.example"};
    m.Verein.Vereinsname = "SV O'Brien, Nord";
    const tUsedAgeGroups used;
    const auto files = Files({"Pokal U12 (m).tv4"});

    tVersand versand{{}, files, m.Turnier.Email, BuildEntryMail(m, used)};
    SendEntryMail(versand);
    const EntryMail& expected = versand.Mail;
    const Mailto sent = Received();
    EXPECT_EQ(sent.to, "meldung@pokal.example");
    EXPECT_EQ(sent.all("subject"), std::vector<std::string>{Cp1252ToUtf8(expected.Subject)});
    EXPECT_EQ(sent.all("body"), std::vector<std::string>{Cp1252ToUtf8(expected.Body)});
    EXPECT_EQ(sent.all("attach"), AsUtf8(files));

    // Without an entry address the mail has no recipient.
    versand.Address.clear();
    SendEntryMail(versand);
    EXPECT_EQ(Received().to, "");
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
}  // namespace kivrel
