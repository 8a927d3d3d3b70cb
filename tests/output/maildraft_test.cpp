// The mail draft read back by an independent reader, Python's email package, and written
// beside the entry files.
#include "output/maildraft.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "base/cp1252.h"
#include "base/error.h"
#include "base/messages.h"
#include "support/exampleentry.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;

// What Python's email package (its default policy, as a mail program reads) makes of a
// draft: one line per field, the values in hex so that any byte comes through.
constexpr const char* kReader = R"(import email, email.policy, sys
m = email.message_from_bytes(open(sys.argv[1], 'rb').read(), policy=email.policy.default)
h = lambda b: b.hex() or '-'
print('to', h(str(m['to'] or '').encode()))
print('subject', h(str(m['subject']).encode()))
print('unsent', m['x-unsent'])
for part in m.iter_parts():
    if part.get_content_type() == 'text/plain':
        print('body', part.get_content_charset(), h(part.get_payload(decode=True)))
    else:
        print('file', part.get_content_type(), h(part.get_filename().encode()),
              h(part.get_payload(decode=True)))
print('defects', len(m.defects) + sum(len(p.defects) for p in m.walk()))
)";

std::string Hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += kDigits[static_cast<unsigned char>(c) >> 4];
        out += kDigits[c & 0xF];
    }
    return out.empty() ? "-" : out;
}

// The reader's lines for the draft.
std::string ReadBack(const test::TempDir& dir, const std::string& draft) {
    test::WriteFileBytes(dir.path() / "reader.py", kReader);
    test::WriteFileBytes(dir.path() / "draft.eml", draft);
    const std::string command = "python3 '" + dir.file("reader.py") + "' '" +
                                dir.file("draft.eml") + "' > '" + dir.file("read.txt") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return test::ReadFileBytes(dir.path() / "read.txt");
}

std::string Expected(const std::string& to, const std::string& subject, const std::string& body,
                     const std::vector<tDraftAttachment>& files) {
    std::ostringstream out;
    out << "to " << Hex(to) << "\nsubject " << Hex(Cp1252ToUtf8(subject)) << "\nunsent 1\n"
        << "body utf-8 " << Hex(Cp1252ToUtf8(body)) << "\n";
    for (const auto& file : files)
        out << "file application/octet-stream " << Hex(file.Name) << " " << Hex(file.Bytes) << "\n";
    out << "defects 0\n";
    return out.str();
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
        EXPECT_EQ(ReadBack(dir, draft), Expected(c.address, c.mail.Subject, c.mail.Body, c.files));
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
