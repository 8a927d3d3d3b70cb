#include "output/mapiparts.h"

#include <gtest/gtest.h>

#include <string>

namespace kivrel {
namespace {

using namespace std::string_literals;

TEST(MapiMessage, FillsSenderRecipientAndFirstHundredAttachments) {
    MailRequest mail;
    mail.Subject = "Meldung";
    mail.Body = "Text\r\n";
    mail.SenderAddress = "anna@verein.example";  // no sender name: the address stands in
    mail.RecipientName = "Turnierleitung";
    mail.RecipientAddress = "meldung@pokal.example";
    std::vector<std::string> names;
    for (int i = 1; i <= 101; ++i)
        names.push_back("C:\\Meldungen\\Pokal U" + std::to_string(i) + " (m).tv4");

    const MapiMessageFields m = MapiMessageFor(mail, names);
    EXPECT_STREQ(m.Subject, "Meldung");
    EXPECT_STREQ(m.NoteText, "Text\r\n");
    ASSERT_TRUE(m.Originator);
    EXPECT_EQ(m.Originator->RecipClass, kMapiOrig);
    EXPECT_STREQ(m.Originator->Name, "anna@verein.example");
    EXPECT_STREQ(m.Originator->Address, "anna@verein.example");
    ASSERT_EQ(m.Recips.size(), 1u);
    EXPECT_EQ(m.Recips[0].RecipClass, kMapiTo);
    EXPECT_STREQ(m.Recips[0].Name, "Turnierleitung");
    EXPECT_STREQ(m.Recips[0].Address, "meldung@pokal.example");  // no "SMTP:" prefix

    ASSERT_EQ(m.Files.size(), 100u);
    for (std::size_t i = 0; i < m.Files.size(); ++i) {
        EXPECT_EQ(m.Files[i].Flags, 0u);
        EXPECT_EQ(m.Files[i].Position, 0xFFFFFFFFu);
        EXPECT_EQ(m.Files[i].PathName, names[i].c_str());
    }
    EXPECT_EQ(kMapiLogonUi | kMapiDialog, 9u);
}

TEST(MapiMessage, LeavesOutWhatIsNotGiven) {
    MailRequest mail;
    mail.SenderName = "Anna Berger";        // a name without address gives no originator
    mail.RecipientName = "Turnierleitung";  // likewise no recipient
    const MapiMessageFields m = MapiMessageFor(mail, {});
    EXPECT_EQ(m.Subject, nullptr);
    EXPECT_EQ(m.NoteText, nullptr);
    EXPECT_FALSE(m.Originator);
    EXPECT_TRUE(m.Recips.empty());
    EXPECT_TRUE(m.Files.empty());

    mail.RecipientName.clear();
    mail.RecipientAddress = "meldung@pokal.example";
    const MapiMessageFields r = MapiMessageFor(mail, {});
    ASSERT_EQ(r.Recips.size(), 1u);
    EXPECT_STREQ(r.Recips[0].Name, "meldung@pokal.example");
}

TEST(MailProbe, DecidesFromTheMailtoCommandAndOutlookExpress) {
    int reads = 0;
    const auto reader = [&reads](OutlookExpressSetting setting) {
        return [&reads, setting] {
            ++reads;
            return setting;
        };
    };
    const OutlookExpressSetting noKey{};
    const OutlookExpressSetting smapiOff{true, 0};
    const OutlookExpressSetting smapiOn{true, 1};
    const OutlookExpressSetting smapiMissing{true, std::nullopt};
    const std::string outlookExpress = "\"C:\\PROGRA~1\\OUTLOO~1\\MSIMN.EXE\" /mailurl:%1";

    EXPECT_FALSE(MailClientRegistered("", reader(smapiOff)));
    EXPECT_TRUE(MailClientRegistered("thunderbird.exe -osint -compose \"%1\"", reader(smapiOff)));
    // The name matches in upper case only.
    EXPECT_TRUE(MailClientRegistered("c:\\programme\\msimn.exe /mailurl:%1", reader(smapiOff)));
    EXPECT_EQ(reads, 0);

    EXPECT_FALSE(MailClientRegistered(outlookExpress, reader(smapiOff)));
    EXPECT_TRUE(MailClientRegistered(outlookExpress, reader(smapiOn)));
    EXPECT_TRUE(MailClientRegistered(outlookExpress, reader(smapiMissing)));
    EXPECT_TRUE(MailClientRegistered(outlookExpress, reader(noKey)));
    EXPECT_EQ(reads, 4);
}

TEST(MailProbe, ReadsRegistryValuesByType) {
    EXPECT_EQ(RegistryText(kRegSz, "mail.exe %1\0"s), "mail.exe %1");
    EXPECT_EQ(RegistryText(kRegExpandSz, "%ProgramFiles%\\m.exe"s), "%ProgramFiles%\\m.exe");
    EXPECT_EQ(RegistryText(kRegSz, ""s), "");
    EXPECT_EQ(RegistryText(kRegDword, "\1\0\0\0"s), std::nullopt);

    EXPECT_EQ(RegistryInteger(kRegDword, "\0\0\0\0"s), 0);
    EXPECT_EQ(RegistryInteger(kRegDword, "\x01\x02\0\0"s), 0x0201);
    EXPECT_EQ(RegistryInteger(kRegDword, "\xFF\xFF\xFF\xFF"s), -1);
    // "0" as text is no integer, so SMapi then counts as missing.
    EXPECT_EQ(RegistryInteger(kRegSz, "0\0"s), std::nullopt);
    EXPECT_EQ(RegistryInteger(kRegDword, "\0\0"s), std::nullopt);
}

}  // namespace
}  // namespace kivrel
