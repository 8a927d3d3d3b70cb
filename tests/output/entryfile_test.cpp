#include "output/entryfile.h"

#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "support/exampleentry.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

using Files = std::map<std::string, std::string>;

TEST(EntryFiles, ExampleEntryGivesTheTwoFilesByteForByte) {
    test::TempDir dir;
    const tMeldung m = test::ExampleEntry();
    ASSERT_TRUE(WriteEntryFiles(dir.file("Stadtpokal.tv4"), test::Used(m), m));
    // Nothing else: not the chosen name itself, no temporary file.
    EXPECT_EQ(test::Snapshot(dir.path()),
              (Files{{"StadtpokalU12 (m).tv4", test::ExampleFileU12()},
                     {"StadtpokalU15 (w).tv4", test::ExampleFileU15()}}));
}

TEST(EntryFiles, FileNamesTakeTheExtensionOfTheFileNameOnly) {
    tAltersgruppe group{"U12", "m"};
    const tUsedAgeGroups used{{"U12 (m)", &group}};
    const auto name = [&](const std::string& chosen) {
        return EntryFileNames(chosen, used).at(0).string();
    };
    EXPECT_EQ(name("C:\\Meldungen\\Stadtpokal.tv4"), "C:\\Meldungen\\StadtpokalU12 (m).tv4");
    EXPECT_EQ(name("/m/Stadtpokal"), "/m/StadtpokalU12 (m)");
    EXPECT_EQ(name("/m/Stadtpokal.txt"), "/m/StadtpokalU12 (m).txt");
    EXPECT_EQ(name("/m/Stadt.pokal.tv4"), "/m/Stadt.pokalU12 (m).tv4");
    EXPECT_EQ(name("/m/Mel.dungen/Stadtpokal"), "/m/Mel.dungen/StadtpokalU12 (m)");
    EXPECT_EQ(name("C:\\Mel.dungen\\Stadtpokal"), "C:\\Mel.dungen\\StadtpokalU12 (m)");
    EXPECT_EQ(name("/m/.tv4"), "/m/U12 (m).tv4");
}

TEST(EntryFiles, OnlyTheAgeGroupsKeyIsConvertedIntoTheFileName) {
    tAltersgruppe group{Win1252("Ü18"), "m"};
    const tUsedAgeGroups used{{Win1252("Ü18 (m)"), &group}};
    const std::filesystem::path chosen(u8"/m/Łódź/Pokal.tv4");
    EXPECT_TRUE(EntryFileNames(chosen, used).at(0) ==
                std::filesystem::path(u8"/m/Łódź/PokalÜ18 (m).tv4"));
}

TEST(EntryFiles, RecordFields) {
    tTeilnehmer t;
    t.Nachname = "Adler";
    t.Vorname = "Ben";
    t.Gewicht = "+100";
    t.Allkategorie = t.Kata = true;
    EXPECT_EQ(BuildParticipantRecord(t), R"(""1","Adler","Ben","","","100","","","A","K","",""")");

    t.Allkategorie = t.Kata = false;
    t.Jahrgang = "2015";
    const auto record = [&](int grade, const std::string& weight) {
        t.Graduierung = grade;
        t.Gewicht = weight;
        return BuildParticipantRecord(t);
    };
    const std::string head = R"(""1","Adler","Ben",)";
    const std::string tail = R"(,"2015","","","","",""")";
    EXPECT_EQ(record(0, "-30"), head + R"("0","30","")" + tail);
    EXPECT_EQ(record(22, ""), head + R"("22","","")" + tail);
    EXPECT_EQ(record(1, "30"), head + R"("1","","")" + tail);
    EXPECT_EQ(record(-1, "-"), head + R"("","","")" + tail);
    t.Jahrgang = "";
    EXPECT_EQ(record(-1, ""), R"(""1","Adler","Ben","","","","","","","","",""")");
}

TEST(EntryFiles, EmptyDetailsKeepEveryField) {
    const auto emptyRecord = [](int fields) {
        std::string r = "\"\"1";
        for (int field = 2; field <= fields; ++field)
            r += "\",\"";
        return r + "\"\"";
    };
    EXPECT_EQ(BuildClubRecord({}, {}), emptyRecord(19));

    tMeldung m;
    test::AddParticipant(m, "", "", test::AddGroup(m, "U9", "g"));
    test::TempDir dir;
    ASSERT_TRUE(WriteEntryFiles(dir.file("e"), test::Used(m), m));
    const std::string file = test::ReadFileBytes(dir.file("eU9 (g)"));
    EXPECT_NE(file.find("\r\nDatum=\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\n1=" + emptyRecord(19) + "\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\n1=" + emptyRecord(12) + "\r\n"), std::string::npos);
}

TEST(EntryFiles, ParticipantsGoIntoTheirGroupInListOrder) {
    tMeldung m = test::ExampleEntry();
    const std::string w = test::AddGroup(m, "U12", "w");
    test::AddGroup(m, "U14", "m");  // nobody in it: no file
    test::AddParticipant(m, "Zeller", "Jo", w);
    test::AddParticipant(m, Win1252("Müller"), "Ida", w);
    test::AddParticipant(m, "abel", "Eva", w);
    test::AddParticipant(m, "Fremd", "Max", "u12 (w)");  // matches no key exactly

    const tUsedAgeGroups used = test::Used(m);
    ASSERT_EQ(used.size(), 3u);
    EXPECT_EQ(used[1].Key, "U12 (w)");
    EXPECT_EQ(used[1].Gruppe, &m.Altersgruppenliste.Object(1));

    test::TempDir dir;
    ASSERT_TRUE(WriteEntryFiles(dir.file("Meldung"), used, m));
    const Files files = test::Snapshot(dir.path());
    ASSERT_EQ(files.size(), 3u);
    const std::string& file = files.at("MeldungU12 (w)");
    EXPECT_NE(file.find("\r\n[Teilnehmer]\r\n1=\"\"1\",\"abel\",\"Eva\","), std::string::npos);
    EXPECT_NE(file.find("\r\n2=\"\"1\",\"M\xFCller\",\"Ida\","), std::string::npos);
    EXPECT_TRUE(file.ends_with(R"(3=""1","Zeller","Jo","","","","","","","","",""")"
                               "\r\nAnzahl=3\r\n"));
    EXPECT_EQ(file.find("Fremd"), std::string::npos);
    EXPECT_EQ(files.at("MeldungU12 (m)"), test::ExampleFileU12());
}

TEST(EntryFiles, ExistingFileKeepsOnlyTheSectionsOfThisEntry) {
    test::TempDir dir;
    test::WriteFileBytes(
        dir.file("StadtpokalU12 (m).tv4"),
        "[Teilnehmer]\r\n1=alt\r\n3=alt\r\nAnzahl=3\r\n[Fremd]\r\nSchluessel=1\r\n");
    const tMeldung m = test::ExampleEntry();
    ASSERT_TRUE(WriteEntryFiles(dir.file("Stadtpokal.tv4"), test::Used(m), m));
    EXPECT_EQ(test::ReadFileBytes(dir.file("StadtpokalU12 (m).tv4")), test::ExampleFileU12());
}

TEST(EntryFiles, ValuesCannotBreakLinesOrRecords) {
    tMeldung m = test::ExampleEntry();
    m.Absender.Nachname = "Ber\"ger";
    m.Absender.Strasse = "Hauptstr.\r\n[Meldung]";
    m.Turnier.Bezeichnung = std::string("Stadt\tpokal\0", 12);
    m.Teilnehmerliste.Object(0).Vorname = "Ben\n2=x";

    test::TempDir dir;
    ASSERT_TRUE(WriteEntryFiles(dir.file("S.tv4"), test::Used(m), m));
    const std::string file = test::ReadFileBytes(dir.file("SU12 (m).tv4"));
    // The sender section keeps the quote; the club record, split at quotes, loses it.
    EXPECT_NE(file.find("\r\nName=Anna Ber\"ger\r\nStrasse=Hauptstr.  [Meldung]\r\n"),
              std::string::npos);
    EXPECT_NE(file.find("\",\"0815\",\"Berger\",\"Anna\",\"Hauptstr.  [Meldung]\","),
              std::string::npos);
    EXPECT_NE(file.find("\r\nTurnier=Stadt pokal \r\n"), std::string::npos);
    EXPECT_NE(file.find("\"Adler\",\"Ben 2=x\","), std::string::npos);
    // Every CR is a line end and every LF follows one.
    std::size_t lines = 0;
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (file[i] == '\r' || file[i] == '\n') {
            EXPECT_EQ(file.compare(i - (file[i] == '\n'), 2, "\r\n"), 0) << i;
        }
        lines += file[i] == '\n';
    }
    EXPECT_EQ(lines, 29u);
}

}  // namespace
}  // namespace kivrel
