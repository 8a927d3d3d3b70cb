// The mail draft, read back by an independent reader (Python's email package), and written
// beside the entry files.
#include "output/maildraft.h"

#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "base/error.h"
#include "base/messages.h"
#include "support/exampleentry.h"
#include "support/mailreader.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;

test::ReadMail Expected(const std::string& to, const EntryMail& mail,
                        const std::vector<tDraftAttachment>& files) {
    test::ReadMail read{
        Cp1252ToUtf8(to), Cp1252ToUtf8(mail.Subject), "1", "utf-8", Cp1252ToUtf8(mail.Body), {}, 0};
    for (const auto& file : files)
        read.files.emplace_back(file.Name, file.Bytes);
    return read;
}

// Every line ends with CR LF and has at most 78 characters.
void ExpectMailLines(const std::string& draft) {
    std::size_t start = 0;
    while (start < draft.size()) {
        const std::size_t end = draft.find('\n', start);
        ASSERT_NE(end, std::string::npos) << "no line end at the end";
        EXPECT_EQ(draft[end - 1], '\r') << draft.substr(start, end - start);
        EXPECT_LE(end - 1 - start, 78u) << draft.substr(start, end - start);
        EXPECT_EQ(draft.substr(start, end - 1 - start).find('\r'), std::string::npos);
        start = end + 1;
    }
}

TEST(MailDraft, PythonsEmailReadsBackRecipientSubjectBodyAndEveryFile) {
    const tMeldung entry = test::ExampleEntry();
    const EntryMail example = BuildEntryMail(entry, test::Used(entry));
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    const std::string longName(90, 'x');
    struct Case {
        std::string address;
        EntryMail mail;
        std::vector<tDraftAttachment> files;
    };
    const Case cases[] = {
        {"meldung@pokal.example",
         example,
         {{"StadtpokalU12 (m).tv4", test::ExampleFileU12()},
          {"StadtpokalU15 (w).tv4", test::ExampleFileU15()}}},
        // A long subject beyond ASCII, a body that quoted-printable must wrap and escape,
        // names that need encoding and continuing, any byte in a file.
        {"",
         {Win1252("Meldung von SV Grün-Weiß Tübingen für Bezirkseinzelmeisterschaft "
                  "Schüler und Jugend am 01.06.2027 in Künzelsau =?x?= \"Süd\""),
          Win1252("From the club\r\n.\r\nTab\tand blank at the end \r\n") + std::string(200, '=') +
              "\r\nlone\rCR and\nLF\r\n" + Win1252("Grüße ") + std::string(80, 'a') + "\r\nno end"},
         {{"Schüler \"Süd\" (w).tv4", bytes}, {longName + "ä.tv4", ""}, {longName + ".tv4", "x"}}},
        {"a@b.example", {"Kurz", "\r\n"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mail.Subject);
        const std::string draft = MailDraft(c.address, c.mail, c.files);
        ExpectMailLines(draft);
        test::TempDir dir;
        test::WriteFileBytes(dir.path() / "draft.eml", draft);
        EXPECT_EQ(test::ReadMailFile(dir.path() / "draft.eml"),
                  Expected(c.address, c.mail, c.files));
    }
    // A short plain subject stays readable as it is.
    EXPECT_EQ(MailDraft("", {"Kurz", ""}, {}).rfind("Subject: Kurz\r\n", 0), 0u);
}

TEST(MailDraft, IsWrittenBesideTheEntryFilesAndAskedAboutLikeThem) {
    test::TempDir dir;
    ScriptedBoxes boxes;
    const tPath chosen = dir.file("Stadtpokal.tv4");
    EXPECT_EQ(MailDraftPath(chosen), dir.file("Stadtpokal.eml"));
    EXPECT_EQ(MailDraftPath("/a.b/Meldung"), "/a.b/Meldung.eml");
    const tMeldung entry = test::ExampleEntry();
    tVersand versand{chosen,
                     {dir.file("StadtpokalU12 (m).tv4")},
                     "m@pokal.example",
                     BuildEntryMail(entry, test::Used(entry))};
    test::WriteFileBytes(versand.Files[0], test::ExampleFileU12());

    EXPECT_EQ(WriteMailDraft(versand), MailDraftPath(chosen));
    const std::string written = test::ReadFileBytes(dir.path() / "Stadtpokal.eml");
    EXPECT_EQ(written, MailDraft(versand.Address, versand.Mail,
                                 {{"StadtpokalU12 (m).tv4", test::ExampleFileU12()}}));
    EXPECT_TRUE(boxes.shown().empty());

    // There now: asked about; "&Nein" keeps it.
    boxes.Answer(false);
    test::WriteFileBytes(versand.Files[0], "anders");
    EXPECT_EQ(WriteMailDraft(versand), std::nullopt);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{dir.file("Stadtpokal.eml") +
                                                      " ist bereits vorhanden.\rVorhandene "
                                                      "Datei ersetzen ?"});
    EXPECT_EQ(test::ReadFileBytes(dir.path() / "Stadtpokal.eml"), written);

    // An entry file gone since: said, and no draft without it.
    fs::remove(versand.Files[0]);
    try {
        WriteMailDraft(versand);
        ADD_FAILURE() << "no error";
    } catch (const KivrelError& e) {
        EXPECT_EQ(e.text(),
                  "Die Meldedatei " + versand.Files[0].string() + " kann nicht gelesen werden");
    }
    EXPECT_EQ(test::ReadFileBytes(dir.path() / "Stadtpokal.eml"), written);
}

}  // namespace
}  // namespace kivrel
