#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/cp1252.h"
#include "base/daynumber.h"
#include "output/entryfile.h"
#include "output/mailtext.h"
#include "support/exampleentry.h"
#include "support/tempdir.h"

// The entry that scripts/windows-program-tests.sh types into the Windows program under Wine.
// Both builds must give the files and the mail kept in KIVREL_TYPICAL_RUN byte for byte.
namespace kivrel {
namespace {

std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    EXPECT_TRUE(in) << file;
    return {std::istreambuf_iterator<char>(in), {}};
}

tMeldung TypicalEntry() {
    tMeldung m;
    m.Turnier = {Win1252("Stadtpokal Süd"), *DayNumberFromDate(2027, 6, 1), Win1252("Würzburg"),
                 "meldung@pokal.example"};
    m.Verein = {Win1252("SV Grün-Weiss Tübingen"), "0815", "Hohenlohe", "",
                Win1252("Baden-Württemberg"),      "",     "GER"};
    m.Absender = {Win1252("Jürgen"),
                  Win1252("Bühler"),
                  Win1252("Mühlgasse 3"),
                  "74613",
                  Win1252("Künzelsau"),
                  "07941 12345",
                  "",
                  "",
                  "",
                  "j.gross@sv.example"};
    const std::string u12 = test::AddGroup(m, "U12", "m");
    const std::string schueler = test::AddGroup(m, Win1252("Schüler"), "w");
    test::AddParticipant(m, Win1252("Müller"), "Lukas", u12, "2015", 3, "-30");
    test::AddParticipant(m, Win1252("Hübner"), "Jan", u12, "2016", -1, "+50");
    test::AddParticipant(m, Win1252("Fürst"), "Jule", schueler, "2013", 5, "-44");
    return m;
}

TEST(TypicalRun, TheEntryFilesAndTheMailOfTheWindowsRun) {
    const std::filesystem::path expected(KIVREL_TYPICAL_RUN);
    const tMeldung m = TypicalEntry();
    test::TempDir dir;
    ASSERT_TRUE(WriteEntryFiles(dir.file("Stadtpokal.tv4"), test::Used(m), m));
    EXPECT_EQ(test::Snapshot(dir.path()), test::Snapshot(expected / "Meldungen"));

    const EntryMail mail = BuildEntryMail(m, test::Used(m));
    EXPECT_EQ(mail.Subject + "\n", Read(expected / "mail-subject.txt"));
    EXPECT_EQ(mail.Body, Read(expected / "mail-body.txt"));
}

}  // namespace
}  // namespace kivrel
