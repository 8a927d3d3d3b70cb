#include "participants/importreader.h"

#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "output/entryfile.h"
#include "support/entrybuilder.h"
#include "support/exampleentry.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

using namespace test;

constexpr int kYear = 2025;

struct tExpected {
    int row;
    const char* reason;  // UTF-8; empty when the row is imported
};

class Import : public testing::Test {
protected:
    void SetUp() override {
        AddGroup(entry, "U14", "m");
        AddParticipant(entry, Win1252("Müller"), "Anna", "U14 (m)", "2012", 3, "-40");
    }

    tImportPlan Read(const std::string& name, const std::string& bytes) {
        return PrepareImport({{name, bytes}}, entry.Teilnehmerliste, entry.Altersgruppenliste,
                             kYear);
    }

    static void ExpectRows(const tImportPlan& plan, const std::vector<tExpected>& expected) {
        ASSERT_EQ(plan.Rows.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(plan.Rows[i].Row, expected[i].row) << i;
            EXPECT_EQ(Cp1252ToUtf8(plan.Rows[i].Reason), expected[i].reason)
                << "row " << expected[i].row;
        }
    }

    tMeldung entry;
};

// Every rule once, one row each; the reasons are the editor's where it has the fault.
TEST_F(Import, SpreadsheetRowsFollowTheEditorsRulesWithItsWords) {
    const std::string csv = Win1252(
        "Nachname;Vorname;Jahrgang;Gewicht;Graduierung;Altersgruppe;Geschlecht;Kata\r\n"
        "Berger;Ben;2015;-30;7. Kyu;U12;m;\r\n"             // 2 imported, new group
        ";Tim;2015;-30;;U12;m;\r\n"                         // 3
        "  müller ; anna ;2012;-40;;U12;m;\r\n"             // 4 in the list already
        "BERGER;ben;2015;-30;;U12;m;\r\n"                   // 5 earlier in the file
        "Kurz;Tim;2015;-30;;;m;\r\n"                        // 6
        "Kurz;Tim;1899;-30;;U12;m;\r\n"                     // 7
        "Kurz;Tim;2015;-5;;U12;m;\r\n"                      // 8
        "Kurz;Tim;2015;+1000;;U12;m;\r\n"                   // 9
        "Kurz;Tim;2015;-30;Gelbgurt;U12;m;\r\n"             // 10
        "Kurz;Tim;2015;-30;;U 12/14;m;\r\n"                 // 11
        "Kurz;Tim;2015;-30;;U12;x;\r\n"                     // 12
        "Kurz;Tim;2015;-30;;U12;;\r\n"                      // 13
        "Kurz;Tim;31.02.2012;-30;;U12;m;\r\n"               // 14
        "Kurz;Tim;2015;-30;;U12;m;vielleicht\r\n"           // 15
        "Abcdefghijklmnopqrstu;Tim;2015;-30;;U12;m;\r\n"    // 16
        "Kurz;\"Tim \"\"T\"\"\";2015;-30;;U12;m;\r\n"       // 17
        "Kurz;Tim\t;2015;-30;;U12;m;\r\n"                   // 18
        "Kurz;Tim;2015\r\n"                                 // 19
        ";;;;;;;\r\n"                                       // 20 blank: skipped
        "Lange;Lea;03.04.2012;;[unbekannt];u14 (m);;x\r\n"  // 21 into U14 (m)
        "Kurz;Tim;2015;-30;;U14 (m);w;\r\n"                 // 22
        "Kurz;Tim;2015;-30;9.kyu;U12;weiblich;\r\n");       // 23 imported, new group
    const tImportPlan plan = Read("mitglieder.csv", csv);
    EXPECT_TRUE(plan.FileErrors.empty());
    ExpectRows(plan,
               {{2, ""},
                {3, "Bitte geben Sie Vor- und Nachnamen des Teilnehmers an."},
                {4, "Der Teilnehmer anna müller wurde bereits eingegeben."},
                {5, "Der Teilnehmer ben BERGER wurde bereits eingegeben."},
                {6, "Bitte wählen die Altersgruppe aus, in der Teilnehmer starten soll."},
                {7, "Bitte geben Sie das Geburtsjahr vierstellig ein."},
                {8, "Bitte geben Sie eine gültige Gewichtsklasse z.B. (-30,+100) an."},
                {9, "Bitte geben Sie eine gültige Gewichtsklasse z.B. (-30,+100) an."},
                {10, "Die Graduierung „Gelbgurt“ ist unbekannt."},
                {11, "Die Bezeichnung der Altersgruppe „U 12/14“ enthält unzulässige Zeichen."},
                {12, "Das Geschlecht „x“ ist unbekannt (m, w oder g)."},
                {13, "Bitte geben Sie das Geschlecht der Altersgruppe an."},
                {14, "Bitte geben Sie das Geburtsjahr vierstellig ein."},
                {15, "Der Wert „vielleicht“ für Kata ist unbekannt (x, ja oder 1)."},
                {16, "Der Nachname ist länger als 20 Zeichen."},
                {17, "Der Vorname enthält ein Anführungszeichen."},
                {18, "Die Zeile enthält Steuerzeichen."},
                {19, "Die Zeile hat 3 Felder, die Kopfzeile 8."},
                {21, ""},
                {22, "Altersgruppe und Geschlecht passen nicht zusammen."},
                {23, ""}});

    const tTeilnehmer& ben = plan.Rows[0].Participant;
    EXPECT_EQ(ben.Altersgruppe, "U12 (m)");
    EXPECT_EQ(ben.Graduierung, 3);
    EXPECT_EQ(ben.Gewicht, "-30");
    EXPECT_TRUE(ben.Confirmed);
    const tTeilnehmer& lea = plan.Rows[18].Participant;
    EXPECT_EQ(lea.Jahrgang, "2012");
    EXPECT_EQ(lea.Altersgruppe, "U14 (m)");  // the list's own key
    EXPECT_EQ(lea.Graduierung, 0);
    EXPECT_TRUE(lea.Kata);
    EXPECT_EQ(plan.Rows[20].Participant.Graduierung, 1);
    ASSERT_EQ(plan.NewAgeGroups.size(), 2u);
    EXPECT_EQ(AgeGroupKey(plan.NewAgeGroups[0]), "U12 (m)");
    EXPECT_EQ(AgeGroupKey(plan.NewAgeGroups[1]), "U12 (w)");
    EXPECT_EQ(plan.GoodRows(), 3);
}

// The same participant as Calc and Excel write it on German systems.
TEST_F(Import, SpreadsheetExportsAreReadInEveryEncodingAndLayout) {
    struct tCase {
        const char* what;
        std::string bytes;
        const char* nachname;  // UTF-8, empty when the row is refused
    };
    const std::string utf8Row = "Jörg;Groß;U12;männlich;-30";
    const std::vector<tCase> cases = {
        {"Windows-1252, CR LF",
         Win1252("Vorname;Nachname;Altersgruppe;Geschlecht;Gewicht\r\n" + utf8Row + "\r\n"),
         "Groß"},
        {"UTF-8 with BOM, LF, no last line end",
         "\xEF\xBB\xBFVorname;Nachname;Altersgruppe;Geschlecht;Gewicht\n" + utf8Row, "Groß"},
        {"UTF-8 without BOM", "Vorname;Nachname;Altersgruppe;Geschlecht;Gewicht\n" + utf8Row,
         "Groß"},
        {"comma, quotes, separator and line break inside quotes, other columns",
         "Verein,VORNAME,Name,Geburtsjahr,Gewichtsklasse,Gurt,Altersgruppe,Geschlecht,"
         "Allkategorie\r\n\"TSV, Nord\",\"Jörg\",\"Groß\",2015,\"-30\",1. Dan,\"Jgd, A\",m,"
         "ja\r\n",
         "Groß"},
        {"character outside Windows-1252",
         "Vorname;Nachname;Altersgruppe;Geschlecht;Gewicht\nŁukasz;Groß;U12;m;-30\n", ""},
        {"unassigned Windows-1252 byte",
         "Vorname;Nachname;Altersgruppe;Geschlecht;Gewicht\n\x81;G;U12;m;-30\n", ""},
    };
    for (const tCase& c : cases) {
        const tImportPlan plan = Read("liste.csv", c.bytes);
        ASSERT_EQ(plan.Rows.size(), 1u) << c.what;
        const tImportRow& row = plan.Rows[0];
        if (*c.nachname) {
            EXPECT_EQ(row.Reason, "") << c.what << ": " << row.Reason;
            EXPECT_EQ(Cp1252ToUtf8(row.Participant.Nachname), c.nachname) << c.what;
            EXPECT_EQ(row.Participant.Vorname, Win1252("Jörg")) << c.what;
        } else {
            EXPECT_EQ(Cp1252ToUtf8(row.Reason),
                      "Die Zeile enthält Zeichen, die der Kivrel nicht verwenden kann.")
                << c.what;
        }
    }
    const tImportPlan quoted = Read("liste.csv", cases[3].bytes);
    EXPECT_EQ(quoted.Rows[0].Participant.Altersgruppe, "Jgd, A (m)");
    EXPECT_EQ(quoted.Rows[0].Participant.Graduierung, 10);
    EXPECT_TRUE(quoted.Rows[0].Participant.Allkategorie);
}

TEST_F(Import, BadFilesGiveOneClearMessageAndBadQuotesOnlyTheirRow) {
    const std::string heading = "Nachname;Vorname;Altersgruppe;Geschlecht;Gewicht\r\n";
    const std::vector<std::pair<std::string, const char*>> files = {
        {"", "Die Datei f.csv ist leer."},
        {"\r\n;;\r\n", "Die Datei f.csv ist leer."},
        {heading, "Die Datei f.csv enthält keine Teilnehmer."},
        {std::string("PK\x03\x04\0\0\x08", 7) + heading, "Die Datei f.csv ist keine Textdatei."},
        {"Mitglied;Geburtstag\r\nAdler;2015\r\n",
         "Die Datei f.csv enthält keine Spalten „Nachname“ und „Vorname“. Die erste Zeile muss "
         "die Spalten benennen."},
        {"\"Nachname;Vorname\r\nA;B\r\n",
         "Die Kopfzeile der Datei f.csv enthält fehlerhafte Anführungszeichen."},
        {std::string(kImportMaxBytes + 1, 'a'),
         "Die Datei f.csv ist zu groß: gelesen werden Dateien bis 4 MB."},
        {[&] {
             std::string many = heading;
             for (std::size_t i = 0; i <= kImportMaxRows; ++i)
                 many += "A;B;U12;m;-30\r\n";
             return many;
         }(),
         "Die Datei f.csv ist zu groß: gelesen werden bis zu 20000 Teilnehmer."},
    };
    for (const auto& [bytes, message] : files) {
        const tImportPlan plan = Read("f.csv", bytes);
        EXPECT_TRUE(plan.Rows.empty()) << message;
        ASSERT_EQ(plan.FileErrors.size(), 1u) << message;
        EXPECT_EQ(Cp1252ToUtf8(plan.FileErrors[0]), message);
    }

    const tImportPlan plan = Read("f.csv", heading +
                                               "Adler;\"Ben;U12;m;-30\r\n"  // never closed
                                               "Kurz;\"Tim\"x;U12;m;-30\r\n"
                                               "Lange;Mia;U12;w;-30\r\n");
    ExpectRows(plan, {{2, "Die Anführungszeichen in dieser Zeile sind fehlerhaft."},
                      {3, "Die Anführungszeichen in dieser Zeile sind fehlerhaft."},
                      {4, ""}});
}

TEST_F(Import, EntryFilesReadBackWhatTheWriterWrote) {
    const tMeldung example = ExampleEntry();
    TempDir dir;
    ASSERT_TRUE(WriteEntryFiles(dir.file("Stadtpokal.tv4"), Used(example), example));
    const std::vector<tImportFile> files = {
        {"StadtpokalU12 (m).tv4", ReadFileBytes(dir.file("StadtpokalU12 (m).tv4"))},
        {"StadtpokalU15 (w).TV4", ReadFileBytes(dir.file("StadtpokalU15 (w).tv4"))}};
    tMeldung fresh;
    const tImportPlan plan =
        PrepareImport(files, fresh.Teilnehmerliste, fresh.Altersgruppenliste, 2026);
    EXPECT_TRUE(plan.FileErrors.empty());
    ASSERT_EQ(plan.GoodRows(), 3);
    ApplyImport(plan, fresh.Teilnehmerliste, fresh.Altersgruppenliste);

    // With the event and the sender, which an import does not take, written again the
    // files are the same bytes: every participant field came back.
    fresh.Turnier = example.Turnier;
    fresh.Verein = example.Verein;
    fresh.Absender = example.Absender;
    TempDir again;
    ASSERT_TRUE(WriteEntryFiles(again.file("Stadtpokal.tv4"), Used(fresh), fresh));
    EXPECT_EQ(Snapshot(again.path()), Snapshot(dir.path()));
}

TEST_F(Import, EntryFilesRefuseWhatTheWriterNeverWrites) {
    const std::string good = ExampleFileU12();
    const auto changed = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::string notOurs =
        "Die Datei m.tv4 ist keine Meldedatei des Kivrel oder wurde verändert.";
    const std::vector<std::pair<std::string, std::string>> fileFaults = {
        {changed("\r\n", "\n"), notOurs},
        {changed("File=Torvanesca", "File=Andere"), notOurs},
        {changed("Geschlecht=m", "Geschlecht=w"), notOurs},
        {changed("[Vereine]", "[Verein]"), notOurs},
        {changed("2=", "3="), notOurs},
        {changed("Anzahl=2\r\n", "Anzahl=3\r\n"), "Die Meldedatei m.tv4 ist unvollständig."},
        {good.substr(0, good.rfind("2=")), "Die Meldedatei m.tv4 ist unvollständig."},
    };
    for (const auto& [bytes, message] : fileFaults) {
        const tImportPlan plan = Read("m.tv4", bytes);
        EXPECT_TRUE(plan.Rows.empty()) << message;
        ASSERT_EQ(plan.FileErrors.size(), 1u) << message;
        EXPECT_EQ(Cp1252ToUtf8(plan.FileErrors[0]), message);
    }

    const char* const kFormat =
        "Der Eintrag hat nicht das Format eines Teilnehmers der Meldedatei.";
    // A record as the writer encloses its fields.
    const auto record = [](std::vector<std::string> fields) {
        std::string text = "\"";
        for (const std::string& field : fields)
            text += (&field == &fields.front() ? "\"" : ",\"") + field + "\"";
        return text + "\"";
    };
    const std::string firstRecord =
        record({"1", "Adler", "Ben", "3", "30", "", "2015", "", "", "", "", ""});
    ASSERT_NE(good.find("1=" + firstRecord + "\r\n"), std::string::npos);
    const std::vector<std::pair<std::string, const char*>> rowFaults = {
        {record({"1", "Adler", "Ben", "3", "30", "", "2015", "", "", "", ""}), kFormat},
        {record({"1", "Adler", "Ben", "03", "30", "", "2015", "", "", "", "", ""}), kFormat},
        {record({"1", "Adler", "Ben", "23", "30", "", "2015", "", "", "", "", ""}), kFormat},
        {record({"1", "Adler", "Ben", "3", "30", "40", "2015", "", "", "", "", ""}), kFormat},
        {record({"2", "Adler", "Ben", "3", "30", "", "2015", "", "", "", "", ""}), kFormat},
        {record({"1", "Adler", "Ben", "3", "30", "", "2015", "", "X", "", "", ""}), kFormat},
        {record({"1", "Adler", "Ben", "3", "3", "", "2015", "", "", "", "", ""}),
         "Bitte geben Sie eine gültige Gewichtsklasse z.B. (-30,+100) an."},
        {record({"1", "Adler", "Ben", "3", "30", "", "15", "", "", "", "", ""}),
         "Bitte geben Sie das Geburtsjahr vierstellig ein."},
        {record({"1", "Adler\x81", "Ben", "3", "30", "", "2015", "", "", "", "", ""}),
         "Die Zeile enthält Zeichen, die der Kivrel nicht verwenden kann."},
    };
    for (const auto& [bad, reason] : rowFaults) {
        const tImportPlan plan = Read("m.tv4", changed(firstRecord, bad));
        ASSERT_EQ(plan.Rows.size(), 2u) << bad;
        EXPECT_EQ(plan.Rows[0].Row, 1);
        EXPECT_EQ(Cp1252ToUtf8(plan.Rows[0].Reason), reason) << bad;
        EXPECT_EQ(plan.Rows[1].Reason, "") << bad;  // the next record still counts
    }
}

TEST_F(Import, ApplyAddsTheGoodRowsAndNewGroupsOnlyAndReplacesNothing) {
    AddParticipant(entry, "van Berg", "Jan", "U14 (m)", "", -1, "-30");
    const tImportPlan plan = Read("l.csv",
                                  "Nachname;Vorname;Altersgruppe;Geschlecht;Gewicht\n"
                                  "van;Berg Jan;U10;g;-20\n"  // same list key as van Berg Jan
                                  "Zorn;Ute;U10;g;-9\n"       // refused
                                  "Abel;Udo;u10;G;-20\n");
    ApplyImport(plan, entry.Teilnehmerliste, entry.Altersgruppenliste);
    ASSERT_EQ(entry.Teilnehmerliste.Count(), 4);
    EXPECT_EQ(entry.Teilnehmerliste.Key(0), "Abel Udo");
    EXPECT_EQ(entry.Teilnehmerliste.Object(1).Nachname, Win1252("Müller"));
    EXPECT_EQ(entry.Teilnehmerliste.Object(1).Gewicht, "-40");
    EXPECT_EQ(entry.Teilnehmerliste.Object(2).Vorname, "Jan");
    EXPECT_EQ(entry.Teilnehmerliste.Object(3).Vorname, "Berg Jan");
    ASSERT_EQ(entry.Altersgruppenliste.Count(), 2);
    EXPECT_EQ(entry.Altersgruppenliste.Key(1), "U14 (m)");
    EXPECT_EQ(entry.Teilnehmerliste.Object(0).Altersgruppe, "U10 (g)");
}

}  // namespace
}  // namespace kivrel
