#include "participants/importreader.h"
#include "participants/importvalues.h"

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

    tImport Read(const std::string& name, const std::string& bytes) {
        tImport import(entry.Teilnehmerliste, entry.Altersgruppenliste, kYear);
        import.Read({{ name, bytes }});
        return import;
    }

    static void ExpectRows(const tImport& import, const std::vector<tExpected>& expected) {
        ASSERT_EQ(import.Rows().size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(import.Rows()[i].Row, expected[i].row) << i;
            EXPECT_EQ(Cp1252ToUtf8(import.Rows()[i].Reason), expected[i].reason)
                << "row " << expected[i].row;
        }
    }

    tMeldung entry;
};

// Every rule once, one row each; the reasons are the editor's where it has the fault.
TEST_F(Import, SpreadsheetRowsFollowTheEditorsRulesWithItsWords) {
    const std::string csv = Win1252(
        "Nachname;Vorname;Geb.-Datum;Gewicht (kg);Gürtel;Altersgruppe;Geschlecht;Kata\r\n"
        "Berger;Ben;2015;-30;7. Kyu;U12;m;\r\n"                // 2 imported, new group
        ";Tim;2015;-30;;U12;m;\r\n"                            // 3
        "  müller ; anna ;2012;-40;;U12;m;\r\n"                // 4 in the list already
        "BERGER;ben;2015;-30;;U12;m;\r\n"                      // 5 earlier in the file
        "Kurz;Tim;2015;-30;;;m;\r\n"                           // 6
        "Kurz;Tim;1899;-30;;U12;m;\r\n"                        // 7
        "Kurz;Tim;2015;-5;;U12;m;\r\n"                         // 8
        "Kurz;Tim;2015;+1000;;U12;m;\r\n"                      // 9
        "Gelb;Tim;2015-05-03;-30;gelb;U12;m;WAHR\r\n"          // 10 grade left to pick
        "Kurz;Tim;2015;-30;;U 12/14;m;\r\n"                    // 11
        "Kurz;Tim;2015;-30;;U12;x;\r\n"                        // 12
        "Kurz;Tim;2015;-30;;U12;;\r\n"                         // 13
        "Kurz;Tim;31.02.2012;-30;;U12;m;\r\n"                  // 14
        "Kurz;Tim;2015;-30;;U12;m;vielleicht\r\n"              // 15
        "Abcdefghijklmnopqrstu;Tim;2015;-30;;U12;m;\r\n"       // 16
        "Kurz;\"Tim \"\"T\"\"\";2015;-30;;U12;m;\r\n"          // 17
        "Kurz;Tim\t;2015;-30;;U12;m;\r\n"                      // 18
        "Kurz;Tim;2015\r\n"                                    // 19 trailing cells left out
        ";;;;;;;\r\n"                                          // 20 blank: skipped
        "Lange;Lea;3.4.2012;;[unbekannt];u14 (m);;x\r\n"       // 21 into U14 (m)
        "Kurz;Tim;2015;-30;;U14 (m);w;\r\n"                    // 22
        "Kurz;Tim;03.05.15;-30;9.kyu;U12;weiblich;FALSCH\r\n"  // 23 imported, new group
        "Kurz;Tim;2015;-30;;U12;w;\r\n"                        // 24 Tim Kurz came in row 23
        "Kurz;Udo;2015;-30;;U12;m;;;\r\n"                      // 25 empty cells past the heading
        "Kurz;Ute;2015;-30;;U12;w;;Essen\r\n");                // 26
    const tImport import = Read("mitglieder.csv", csv);
    EXPECT_TRUE(import.FileErrors.empty());
    ExpectRows(import,
               {{2, ""},
                {3, "Bitte geben Sie Vor- und Nachnamen des Teilnehmers an."},
                {4, "Der Teilnehmer anna müller wurde bereits eingegeben."},
                {5, "Der Teilnehmer ben BERGER wurde bereits eingegeben."},
                {6, "Bitte wählen die Altersgruppe aus, in der Teilnehmer starten soll."},
                {7, "Bitte geben Sie das Geburtsjahr vierstellig ein."},
                {8, "Bitte geben Sie eine gültige Gewichtsklasse z.B. (-30,+100) an."},
                {9, "Bitte geben Sie eine gültige Gewichtsklasse z.B. (-30,+100) an."},
                {10, ""},
                {11, "Die Bezeichnung der Altersgruppe „U 12/14“ enthält unzulässige Zeichen."},
                {12, "Das Geschlecht „x“ ist unbekannt (m, w oder g)."},
                {13, "Bitte geben Sie das Geschlecht der Altersgruppe an."},
                {14, "Bitte geben Sie das Geburtsjahr vierstellig ein."},
                {15, "Der Wert „vielleicht“ für Kata ist unbekannt (x, ja oder 1)."},
                {16, "Der Nachname ist länger als 20 Zeichen."},
                {17, "Der Vorname enthält ein Anführungszeichen."},
                {18, "Die Zeile enthält Steuerzeichen."},
                {19, "Bitte wählen die Altersgruppe aus, in der Teilnehmer starten soll."},
                {21, ""},
                {22, "Altersgruppe und Geschlecht passen nicht zusammen."},
                {23, ""},
                {24, "Der Teilnehmer Tim Kurz wurde bereits eingegeben."},
                {25, ""},
                {26,
                 "Die Zeile hat mehr Felder als die Kopfzeile: „Essen“ gehört zu keiner "
                 "Spalte."}});

    const auto& rows = import.Rows();
    const tTeilnehmer& ben = rows[0].Participant;
    EXPECT_EQ(ben.Altersgruppe, "U12 (m)");
    EXPECT_EQ(ben.Graduierung, 3);
    EXPECT_EQ(ben.Gewicht, "-30");
    const tImportRow& gelb = rows[8];
    EXPECT_EQ(gelb.Participant.Graduierung, -1);
    EXPECT_EQ(Cp1252ToUtf8(gelb.GradeNote),
              "Die Graduierung „gelb“ ist unbekannt; bitte wählen Sie sie aus.");
    EXPECT_EQ(gelb.Participant.Jahrgang, "2015");
    EXPECT_TRUE(gelb.Participant.Kata);
    const tTeilnehmer& lea = rows[18].Participant;
    EXPECT_EQ(lea.Jahrgang, "2012");
    EXPECT_EQ(lea.Altersgruppe, "U14 (m)");  // the list's own key
    EXPECT_EQ(lea.Graduierung, 0);
    EXPECT_TRUE(lea.Kata);
    EXPECT_EQ(rows[20].Participant.Graduierung, 1);
    EXPECT_EQ(rows[20].Participant.Jahrgang, "2015");
    EXPECT_EQ(import.NewAgeGroupKeys(), (std::vector<std::string>{"U12 (m)", "U12 (w)"}));
    EXPECT_EQ(rows[23].Participant.Vorname, "Ute");  // shown as far as it could be read
    EXPECT_EQ(import.GoodRows(), 5);
}

// The value parsers: birth dates as the spreadsheets write them, and the two flags.
TEST(ImportValues, BirthDatesAndFlagsInTheFormsOfClubsSpreadsheets) {
    const std::vector<std::pair<const char*, const char*>> years = {
        {"2012", "2012"},
        {"03.05.2012", "2012"},
        {"3.5.2012", "2012"},
        {"2012-05-03", "2012"},
        {"03.05.12", "2012"},
        {"03.05.26", "2026"},
        {"03.05.27", "1927"},
        {"29.02.13", "29.02.13"},
        {"2012-5-3", "2012"},
        {"12-05-03", "12-05-03"},
        {"03.05.", "03.05."},
        {"3.5.212", "3.5.212"},
        {"05/03/2012", "2012"},
        {"5/31/12", "2012"},
        {"31/5/12", "2012"},
        {"31/31/12", "31/31/12"},
        {"5/3", "5/3"},
        // With a time of day, as databases export dates.
        {"01.02.2010 00:00", "2010"},
        {"2010-02-01 00:00:00", "2010"},
        {"2010-02-01T00:00", "2010"},
        {"2010-02-01T00:00:00.000", "2010"},
        {"01.02.2010 abc", "01.02.2010 abc"},
        {"2010-02-01T", "2010-02-01T"},
    };
    for (const auto& [text, year] : years)
        EXPECT_EQ(YearOf(text, 2026), year) << text;
    for (const char* yes : {"x", "X", "ja", "1", "WAHR", "wahr", "TRUE"})
        EXPECT_EQ(FlagOf(yes), true) << yes;
    for (const char* no : {"", "0", "nein", "-", "FALSCH", "false"})
        EXPECT_EQ(FlagOf(no), false) << no;
    EXPECT_EQ(FlagOf("vielleicht"), std::nullopt);
}

// The same participant as Calc and Excel write it on German systems.
TEST_F(Import, SpreadsheetExportsAreReadInEveryEncodingAndLayout) {
    struct tCase {
        const char* what;
        std::string bytes;
        const char* nachname;  // UTF-8, empty when the row is refused
        const char* reason = "";
    };
    const std::string utf8Row = "Jörg;Groß;U12;männlich;-30";
    std::vector<tCase> cases = {
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
         "Vorname;Nachname;Altersgruppe;Geschlecht;Gewicht\nŁukasz;Groß;U12;m;-30\n", "",
         "Der Vorname „Łukasz“ enthält das Zeichen „Ł“, das in der Meldedatei nicht stehen "
         "kann. Bitte ändern Sie den Namen."},
        {"unassigned Windows-1252 byte",
         "Vorname;Nachname;Altersgruppe;Geschlecht;Gewicht\n\x81;G;U12;m;-30\n", "",
         "Der Vorname „\uFFFD“ enthält das Zeichen „\uFFFD“, das in der Meldedatei nicht "
         "stehen kann. Bitte ändern Sie den Namen."},
        {"tab", "Vorname\tNachname\tAltersgruppe\tGeschlecht\tGewicht\r\nJörg\tGroß\tU12\tm\t-30",
         "Groß"},
        {"Excel's sep= line",
         // More commas than semicolons in the heading, but the line says ";".
         Win1252("sep=;\r\nVorname;Nachname;Altersgruppe;Geschlecht;Gewicht,,,,,\r\n"
                 "Jörg;Groß;U12;m;-30\r\n"),
         "Groß"},
        {"UTF-8 with one Windows-1252 row",
         "Vorname;Nachname;Altersgruppe;Geschlecht;Gewicht\nJörg;Groß;U12;m;-30\n" +
             Win1252("Jörg;Müller;U12;m;-30\n"),
         "Groß"},
    };
    const auto utf16 = [](const std::u16string& text, bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t unit : text) {
            const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    const std::u16string unicodeText =
        u"Vorname\tNachname\tAltersgruppe\tGeschlecht\tGewicht\r\nJörg\tGroß\tU12\tm\t-30\r\n";
    cases.push_back({"Excel's Unicode text, UTF-16 LE", utf16(unicodeText, false), "Groß"});
    cases.push_back({"UTF-16 LE without BOM", utf16(unicodeText, false).substr(2), "Groß"});
    cases.push_back({"UTF-16 BE, ;",
                     utf16(u"Vorname;Nachname;Altersgruppe;Geschlecht;Gewicht\r\n"
                           u"Jörg;Groß;U12;m;-30",
                           true),
                     "Groß"});
    for (const tCase& c : cases) {
        const tImport import = Read("liste.csv", c.bytes);
        ASSERT_GE(import.Rows().size(), 1u) << c.what;
        const tImportRow& row = import.Rows()[0];
        if (*c.nachname) {
            EXPECT_EQ(row.Reason, "") << c.what << ": " << row.Reason;
            EXPECT_EQ(Cp1252ToUtf8(row.Participant.Nachname), c.nachname) << c.what;
            EXPECT_EQ(row.Participant.Vorname, Win1252("Jörg")) << c.what;
        } else {
            EXPECT_EQ(MarkedToUtf8(row.Reason), c.reason) << c.what;
        }
    }
    const tImport quoted = Read("liste.csv", cases[3].bytes);
    EXPECT_EQ(quoted.Rows()[0].Participant.Altersgruppe, "Jgd, A (m)");
    EXPECT_EQ(quoted.Rows()[0].Participant.Graduierung, 10);
    EXPECT_TRUE(quoted.Rows()[0].Participant.Allkategorie);
    // Only the row that is no UTF-8 is read as Windows-1252.
    EXPECT_EQ(Read("liste.csv", cases[8].bytes).Rows()[1].Participant.Nachname, Win1252("Müller"));
}

TEST_F(Import, BadFilesGiveOneClearMessageAndBadQuotesOnlyTheirRow) {
    const std::string heading = "Nachname;Vorname;Altersgruppe;Geschlecht;Gewicht\r\n";
    const std::vector<std::pair<std::string, const char*>> files = {
        {"", "Die Datei f.csv ist leer."},
        {"\r\n;;\r\n", "Die Datei f.csv ist leer."},
        {"sep=\t\r\n\t\r\n", "Die Datei f.csv ist leer."},
        {heading, "Die Datei f.csv enthält keine Teilnehmer."},
        {std::string("PK\x03\x04\0\0\x08", 7) + heading,
         "Die Datei f.csv ist eine Tabelle im Format von Excel oder Calc. Bitte speichern Sie die "
         "Tabelle als CSV-Datei (Datei > Speichern unter > Text CSV) und importieren Sie diese."},
        {std::string("\x01\x02\0\0", 4) + heading, "Die Datei f.csv ist keine Textdatei."},
        {heading + std::string(1000, '\0'), "Die Datei f.csv ist keine Textdatei."},
        // Text that is no UTF-16 behind a UTF-16 mark: one line of other letters.
        {"\xFF\xFE" + heading + "x", "Die Datei f.csv enthält keine Teilnehmer."},

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
        const tImport import = Read("f.csv", bytes);
        EXPECT_TRUE(import.Rows().empty()) << message;
        ASSERT_EQ(import.FileErrors.size(), 1u) << message;
        EXPECT_EQ(Cp1252ToUtf8(import.FileErrors[0]), message);
    }

    const tImport plan = Read("f.csv", heading +
                                           "Adler;\"Ben;U12;m;-30\r\n"  // never closed
                                           "Kurz;\"Tim\"x;U12;m;-30\r\n"
                                           "Lange;Mia;U12;w;-30\r\n");
    // One field of nearly 4 MB.
    ExpectRows(Read("f.csv", heading + std::string(kImportMaxBytes - 100, 'a') + ";B;U12;m;-30"),
               {{2, "Der Nachname ist länger als 20 Zeichen."}});
    ExpectRows(plan, {{2, "Die Anführungszeichen in dieser Zeile sind fehlerhaft."},
                      {3, "Die Anführungszeichen in dieser Zeile sind fehlerhaft."},
                      {4, ""}});
}

// A name with a letter the entry file cannot hold is shown as read and named; one where a
// spreadsheet saved in Windows-1252 put "?" for a letter is pointed out; typing mends both.
TEST_F(Import, NamesTheEntryCannotHoldAreNamedAndMendedByTyping) {
    tImport import = Read("l.csv",
                          "Nachname;Vorname;Altersgruppe;Geschlecht;Gewichtsklasse\n"
                          "Łukasz;Jan;U12;m;-30\n"
                          "Y?ld?z;Ali;U12;m;-30\n"
                          "Kurz;Tim;U12;m;-30\n");
    const auto reasons = [&] {
        std::vector<std::string> out;
        for (const tImportRow& row : import.Rows())
            out.push_back(MarkedToUtf8(row.Reason));
        return out;
    };
    const std::string taken = "Der Teilnehmer Tim Kurz wurde bereits eingegeben.";
    EXPECT_EQ(MarkedToUtf8(import.Rows()[0].Participant.Nachname), "Łukasz");
    EXPECT_EQ(reasons(), (std::vector<std::string>{
                             "Der Nachname „Łukasz“ enthält das Zeichen „Ł“, das in der "
                             "Meldedatei nicht stehen kann. Bitte ändern Sie den Namen.",
                             "Im Nachnamen „Y?ld?z“ steht „?“ anstelle eines Buchstabens, den "
                             "die Tabelle nicht speichern konnte. Bitte berichtigen Sie den "
                             "Namen.",
                             ""}));
    // The name typed again as it was is no edit: the "?" is still pointed out.
    const int edits = import.EditCount();
    import.SetText(1, fldNachname, "Y?ld?z");
    EXPECT_EQ(import.EditCount(), edits);
    EXPECT_NE(import.Rows()[1].Reason, "");
    import.SetText(0, fldNachname, "Lukasz");
    // Typed into the names of a later row, an earlier one takes them.
    import.SetText(1, fldNachname, "Kurz");
    EXPECT_EQ(import.SetText(1, fldVorname, "Tim"), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(reasons(), (std::vector<std::string>{"", "", taken}));
    import.SetText(1, fldVorname, "Tom");
    import.SetText(2, fldJahrgang, "1899");
    EXPECT_EQ(reasons(), (std::vector<std::string>{
                             "", "", "Bitte geben Sie das Geburtsjahr vierstellig ein."}));
    EXPECT_EQ(import.GoodRows(), 2);
}

// Excel writes formatted empty rows as lines of separators: they cost nothing, and the rows
// keep the numbers the spreadsheet shows.
TEST_F(Import, BlankRowsCostNothingAndRowsKeepTheirNumbers) {
    std::string bytes = "Nachname;Vorname;Altersgruppe;Geschlecht;Gewichtsklasse;Ort\r\n";
    for (int i = 0; i < 100000; ++i)
        bytes += ";;;;;\r\n";
    bytes += "Kurz;Tim;U12;m;-30\r\n\r\nLang;Ute;U12;w;-30;\"Am\r\nWeg\"\r\nAbel;Udo;U12;m;-30";
    const tImport import = Read("l.csv", bytes);
    ASSERT_EQ(import.Sheets().size(), 1u);
    EXPECT_EQ(import.Sheets()[0].Records.size(), 3u);
    ExpectRows(import, {{100002, ""}, {100004, ""}, {100005, ""}});
}

TEST_F(Import, EntryFilesReadBackWhatTheWriterWrote) {
    const tMeldung example = ExampleEntry();
    TempDir dir;
    ASSERT_TRUE(WriteEntryFiles(dir.file("Stadtpokal.tv4"), Used(example), example));
    const std::vector<tImportFile> files = {
        {"StadtpokalU12 (m).tv4", ReadFileBytes(dir.file("StadtpokalU12 (m).tv4"))},
        {"StadtpokalU15 (w).TV4", ReadFileBytes(dir.file("StadtpokalU15 (w).tv4"))}};
    tMeldung fresh;
    tImport import(fresh.Teilnehmerliste, fresh.Altersgruppenliste, 2026);
    import.Read(files);
    EXPECT_TRUE(import.FileErrors.empty());
    ASSERT_EQ(import.GoodRows(), 3);
    import.Apply(fresh.Teilnehmerliste, fresh.Altersgruppenliste);

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
        const tImport import = Read("m.tv4", bytes);
        EXPECT_TRUE(import.Rows().empty()) << message;
        ASSERT_EQ(import.FileErrors.size(), 1u) << message;
        EXPECT_EQ(Cp1252ToUtf8(import.FileErrors[0]), message);
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
        const tImport import = Read("m.tv4", changed(firstRecord, bad));
        ASSERT_EQ(import.Rows().size(), 2u) << bad;
        EXPECT_EQ(import.Rows()[0].Row, 1);
        EXPECT_EQ(Cp1252ToUtf8(import.Rows()[0].Reason), reason) << bad;
        EXPECT_EQ(import.Rows()[1].Reason, "") << bad;  // the next record still counts
    }
}

TEST_F(Import, ApplyAddsTheGoodRowsAndNewGroupsOnlyAndReplacesNothing) {
    AddParticipant(entry, "van Berg", "Jan", "U14 (m)", "", -1, "-30");
    const tImport import = Read("l.csv",
                                "Nachname;Vorname;Altersgruppe;Geschlecht;Gewicht\n"
                                "van;Berg Jan;U10;g;-20\n"  // same list key as van Berg Jan
                                "Zorn;Ute;U10;g;-9\n"       // refused
                                "Abel;Udo;u10;G;-20\n");
    import.Apply(entry.Teilnehmerliste, entry.Altersgruppenliste);
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

// A member list without tournament columns, completed as in the preview.
TEST_F(Import, MemberListIsCompletedRowByRowAndOnlyTickedGoodRowsComeIn) {
    tImport import =
        Read("mitglieder.csv", Win1252("Mitgliedsnr;Name;Vorname;Geb.-Datum;Geschlecht;Gurt;Ort\r\n"
                                       "1;Adler;Ben;03.05.15;männlich;gelb;Kiel\r\n"
                                       "2;Bauer;Mia;2014-01-02;weiblich;5. Kyu;Kiel\r\n"
                                       "3;Adler;Ben;01.01.14;männlich;;Eutin\r\n"
                                       "4;Conrad;Udo;1.1.2013;männlich;;Kiel\r\n"));
    const auto reasons = [&] {
        std::vector<std::string> out;
        for (const tImportRow& row : import.Rows())
            out.push_back(row.Start ? Cp1252ToUtf8(row.Reason) : "-");
        return out;
    };
    // Nothing ticked: a member list holds everyone.
    EXPECT_EQ(reasons(), (std::vector<std::string>{"-", "-", "-", "-"}));
    EXPECT_EQ(import.GoodRows(), 0);

    const std::string u14 = import.AddAgeGroup({"U14", "g"});
    EXPECT_EQ(import.AddAgeGroup({"u14", "g"}), u14);
    EXPECT_EQ(import.AgeGroupKeys(), (std::vector<std::string>{"U14 (m)", "U14 (g)"}));
    import.SetAgeGroup({0, 1, 2}, u14);
    const std::string weight = "Bitte geben Sie eine gültige Gewichtsklasse z.B. (-30,+100) an.";
    EXPECT_EQ(reasons(), (std::vector<std::string>{weight, weight, weight, "-"}));
    import.SetGewicht(0, "-30");
    import.SetKata({1}, true);
    import.SetGewicht(2, "-30");
    EXPECT_EQ(reasons(), (std::vector<std::string>{
                             "", "", "Der Teilnehmer Ben Adler wurde bereits eingegeben.", "-"}));
    // The first Ben Adler does not start: the second one may.
    EXPECT_EQ(import.SetStart({0}, false), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(reasons(), (std::vector<std::string>{"-", "", "", "-"}));
    // A man into a group of women is refused; the list's group keeps its key.
    import.SetAgeGroup({3}, import.AddAgeGroup({"U16", "w"}));
    import.SetGewicht(3, "+60");
    EXPECT_EQ(import.Rows()[3].Reason, "Altersgruppe und Geschlecht passen nicht zusammen.");
    import.SetAgeGroup({3}, "U14 (m)");
    import.SetGraduierung(0, 2);
    EXPECT_EQ(import.GoodRows(), 3);
    EXPECT_EQ(import.Rows()[0].Participant.Jahrgang, "2015");

    // The columns assigned anew: the fields are read again, the user's edits stay, and a
    // row says where an edit no longer fits.
    tImportColumns columns = import.Sheets()[0].Columns;
    EXPECT_EQ(columns, import.Sheets()[0].Guessed);
    EXPECT_EQ(columns[fldJahrgang], 3);
    EXPECT_EQ(columns[fldGraduierung], 5);
    const int edits = import.EditCount();
    std::swap(columns[fldNachname], columns[fldVorname]);
    columns[fldGraduierung] = -1;
    import.SetColumns(0, columns);
    EXPECT_GT(import.EditCount(), edits);
    EXPECT_EQ(import.Rows()[0].Participant.Nachname, "Ben");
    EXPECT_EQ(import.Rows()[0].Participant.Graduierung, 2);   // picked by the user
    EXPECT_EQ(import.Rows()[1].Participant.Graduierung, -1);  // the file's, now unread
    EXPECT_EQ(import.Rows()[1].Participant.Gewicht, "");
    EXPECT_TRUE(import.Rows()[1].Participant.Kata);
    EXPECT_EQ(import.GoodRows(), 3);
    columns[fldGeschlecht] = -1;
    columns[fldJahrgang] = 0;  // Mitgliedsnr
    import.SetColumns(0, columns);
    EXPECT_EQ(reasons(),
              (std::vector<std::string>{"-", "Bitte geben Sie das Geburtsjahr vierstellig ein.",
                                        "Bitte geben Sie das Geburtsjahr vierstellig ein.",
                                        "Bitte geben Sie das Geburtsjahr vierstellig ein."}));
    columns[fldJahrgang] = 3;
    columns[fldGeschlecht] = 4;
    import.SetColumns(0, columns);
    import.SetAgeGroup({1, 3}, "U14 (m)");
    import.SetGewicht(1, "-40");
    import.SetGewicht(3, "-50");
    EXPECT_EQ(reasons()[1], "Altersgruppe und Geschlecht passen nicht zusammen.");

    // OK: the good ticked rows, and the groups they use or the user made; nothing else.
    import.Apply(entry.Teilnehmerliste, entry.Altersgruppenliste);
    ASSERT_EQ(entry.Teilnehmerliste.Count(), 3);  // Anna Müller was there before
    EXPECT_EQ(entry.Teilnehmerliste.Key(0), "Ben Adler");
    EXPECT_EQ(entry.Teilnehmerliste.Key(2), "Udo Conrad");
    EXPECT_EQ(entry.Teilnehmerliste.Object(2).Altersgruppe, "U14 (m)");
    ASSERT_EQ(entry.Altersgruppenliste.Count(), 3);
    EXPECT_EQ(entry.Altersgruppenliste.Key(0), "U14 (g)");
    EXPECT_EQ(entry.Altersgruppenliste.Key(2), "U16 (w)");
}

}  // namespace
}  // namespace kivrel
