#include "participants/entrylistlayout.h"

#include <gtest/gtest.h>

#include "entrylist_fixture.h"

namespace kivrel {
namespace {

using test::AddGroup;
using test::AddStarter;
using test::PrintedAt;
using test::Rows;
using test::Used;

constexpr double kMm = 0.001;

const tPrintText* Find(const tPrintPage& page, const std::string& name) {
    for (const tPrintText& text : page.Texts) {
        if (text.Name == name)
            return &text;
    }
    return nullptr;
}

std::vector<std::string> BandNames(const tPrintPage& page) {
    std::vector<std::string> names;
    for (const tPrintBand& band : page.Bands)
        names.push_back(band.Name);
    return names;
}

TEST(EntryListLayout, SmallEntryPutsEveryBandAndFieldInItsPlace) {
    tMeldung m = test::EntryWithSender();
    AddGroup(m, "U14", "m");
    AddStarter(m, "Meier", "Hans", "U14 (m)", "-40");
    const auto pages = LayOutEntryList(m, Used(m, {"U14 (m)"}), PrintedAt());
    ASSERT_EQ(pages.size(), 1u);
    const tPrintPage& page = pages[0];

    struct BandAt {
        const char* name;
        double top, height;
    };
    const BandAt bands[] = {{"PageHeader", 10, 6.35},       {"Title", 16.35, 15.61},
                            {"qrbAdresse", 31.96, 67.73},   {"DetailBand1", 99.69, 8.47},
                            {"qrErgebnisse", 108.16, 6.35}, {"DetailFooter", 114.51, 6.35},
                            {"PageFooter", 275.65, 6.35}};
    ASSERT_EQ(page.Bands.size(), std::size(bands));
    for (std::size_t i = 0; i < std::size(bands); ++i) {
        EXPECT_EQ(page.Bands[i].Name, bands[i].name);
        EXPECT_NEAR(page.Bands[i].Top, bands[i].top, kMm) << bands[i].name;
        EXPECT_NEAR(page.Bands[i].Height, bands[i].height, kMm) << bands[i].name;
    }

    // left is the box's left edge, or its right edge for right-aligned fields.
    struct FieldAt {
        const char* name;
        std::string text;
        double left, top, points;
        bool bold;
    };
    const FieldAt fields[] = {
        {"qrlKopfzeile",
         Win1252("Meldung von TSV Musterstadt für Frühjahrsturnier am 12.04.2025 in Augsburg"), 10,
         11.06, 10, false},
        {"PageNumber", "Seite 1", 200, 11.06, 10, false},
        {"QRSysData1", "Meldung", 10, 20.58, 20, true},
        {"qrlVerein", "TSV Musterstadt", 10, 36.19, 14, true},
        {"qrlKreis", "Kreis: Nord", 120.07, 38.31, 10, false},
        {"qrlName", "Eva Schulz", 10, 46.78, 10, false},
        {"qrlStrasse", "Hauptstr. 5", 10, 51.01, 10, false},
        {"QRLland", "Land: Bayern", 120.07, 51.01, 10, false},
        {"qrlPLZOrt", Win1252("80331 München"), 10, 55.24, 10, false},
        {"qrlTelefonp", "Telefon p.: 089 123", 10, 63.71, 10, false},
        {"qrlTelefond", "Telefon d.: ", 10, 67.94, 10, false},
        {"qrlTelefax", "Telefax: ", 10, 72.18, 10, false},
        {"qrlemail", "Email: eva@example.org", 10, 76.41, 10, false},
        {"qrlMobil", "Mobil: ", 10, 80.64, 10, false},
        {"QRLabel1", "Name", 10, 94.40, 10, true},
        {"lblTeilnehmer", "Jahrgang", 98.90, 94.40, 10, true},
        {"QRLabel2", "Graduierung", 117.95, 94.40, 10, true},
        {"QRLabel3", "Gewichtsklasse", 143.35, 94.40, 10, true},
        {"QRLAltersgruppe", "U14 (m)", 10, 101.81, 10, true},
        {"qrlVornameName", "Hans Meier", 10, 109.22, 10, false},
        {"QRLJahrgang", "2012", 98.90, 109.22, 10, false},
        {"QRLGraduierung", "7. Kyu", 117.95, 109.22, 10, false},
        {"QRLGewichtsklasse", "-40", 143.35, 109.22, 10, false},
        {"qrlHinweis", Win1252("© 2024 Kivrel-Projekt, https://www.kivrel.example/"), 11.06, 276.71,
         10, false},
        {"QRDateTime", "Gedruckt 05.04.2025 14:03:09", 200, 276.71, 10, false},
    };
    EXPECT_EQ(page.Texts.size(), std::size(fields));  // nothing for Bezirk and Gruppe
    for (const FieldAt& f : fields) {
        const tPrintText* t = Find(page, f.name);
        ASSERT_NE(t, nullptr) << f.name;
        EXPECT_EQ(t->Text, f.text) << f.name;
        const bool right = t->Align == tPrintAlign::Right;
        EXPECT_EQ(right, f.left == 200) << f.name;
        EXPECT_NEAR(right ? t->Left + t->Width : t->Left, f.left, kMm) << f.name;
        EXPECT_NEAR(t->Top, f.top, kMm) << f.name;
        EXPECT_EQ(t->Font.Family, "Arial") << f.name;
        EXPECT_EQ(t->Font.Points, f.points) << f.name;
        EXPECT_EQ(t->Font.Bold, f.bold) << f.name;
        // One line high, and no field reaches past the band's right edge.
        EXPECT_NEAR(t->Height, f.points * 1.15 * 25.4 / 72, kMm) << f.name;
        EXPECT_LE(t->Left + t->Width, 200 + kMm) << f.name;
    }
    // Texts that share a line keep apart, so a cut text never runs into its neighbour.
    for (const tPrintText& a : page.Texts) {
        for (const tPrintText& b : page.Texts) {
            const bool sameLine = a.Top < b.Top + b.Height && b.Top < a.Top + a.Height;
            if (&a != &b && sameLine && a.Left <= b.Left) {
                EXPECT_LE(a.Left + a.Width, b.Left + kMm) << a.Name << " runs into " << b.Name;
            }
        }
    }
    const tPrintText* title = Find(page, "QRSysData1");
    EXPECT_EQ(title->Align, tPrintAlign::Center);
    EXPECT_NEAR(title->Width, 190, kMm);
    EXPECT_NEAR(Find(page, "qrlKreis")->Width, 74, kMm);
    EXPECT_NEAR(Find(page, "QRLland")->Width, 74, kMm);

    struct RuleAt {
        double y;
        int pen;
    };
    const RuleAt rules[] = {{16.35, 2},  {99.69, 2},  {108.16, 1},
                            {114.51, 1}, {114.51, 2}, {275.65, 1}};
    ASSERT_EQ(page.Lines.size(), std::size(rules));
    for (std::size_t i = 0; i < std::size(rules); ++i) {
        const tPrintLine& line = page.Lines[i];
        EXPECT_NEAR(line.Y1, rules[i].y, kMm) << i;
        EXPECT_NEAR(line.Y2, rules[i].y, kMm) << i;
        EXPECT_NEAR(line.X1, 10, kMm) << i;
        EXPECT_NEAR(line.X2, 200, kMm) << i;
        EXPECT_EQ(line.PenWidth, rules[i].pen) << i;
    }
}

TEST(EntryListLayout, OneLinePerStartInWeightOpenClassKataOrder) {
    tMeldung m = test::EntryWithSender();
    AddGroup(m, "Jugend", "m");
    AddStarter(m, "Meier", "Hans", "Jugend (m)", "-60", "AK", 0, "2008");
    AddStarter(m, "Adler", "Udo", "Jugend (m)", "", "K", -1, "");
    AddStarter(m, "Zorn", "Tim", "Jugend (m)", "", "", 12);  // starts nowhere
    AddStarter(m, "Berg", "Ole", "Jugend (m)", "+100", "A", 22, "1990");
    const auto pages = LayOutEntryList(m, Used(m, {"Jugend (m)"}), PrintedAt());
    EXPECT_EQ(Rows(pages), (std::vector<std::string>{
                               "[Jugend (m)]",
                               "Udo Adler| |Kata",
                               "Ole Berg|1990|13. Dan|+100",
                               "Ole Berg|1990|13. Dan|Allkategorie",
                               "Hans Meier|2008| |-60",
                               "Hans Meier|2008| |Allkategorie",
                               "Hans Meier|2008| |Kata",
                           }));
}

TEST(EntryListLayout, GroupsInListOrderWithOnlyTheirOwnParticipants) {
    tMeldung m = test::EntryWithSender();
    AddGroup(m, "U12", "w");
    AddGroup(m, "U10", "m");
    AddGroup(m, "Jugend", "m");
    AddStarter(m, "Abel", "Lea", "U12 (w)", "-30");
    AddStarter(m, "Berg", "Jan", "Jugend (m)", "-66");
    AddStarter(m, "Cramer", "Ina", "u12 (w)", "-33");  // the key's case counts
    AddStarter(m, "Dorn", "Mia", "U12 (w)", "", "K");
    const auto pages = LayOutEntryList(m, Used(m, {"U12 (w)", "Jugend (m)"}), PrintedAt());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(Rows(pages),
              (std::vector<std::string>{"[Jugend (m)]", "Jan Berg|2012|7. Kyu|-66", "[U12 (w)]",
                                        "Lea Abel|2012|7. Kyu|-30", "Mia Dorn|2012|7. Kyu|Kata"}));
    EXPECT_EQ(
        BandNames(pages[0]),
        (std::vector<std::string>{"PageHeader", "Title", "qrbAdresse", "DetailBand1",
                                  "qrErgebnisse", "DetailFooter", "DetailBand1", "qrErgebnisse",
                                  "qrErgebnisse", "DetailFooter", "PageFooter"}));

    // Without groups: one page with header, title, address and footer.
    const auto empty = LayOutEntryList(m, {}, PrintedAt());
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(BandNames(empty[0]),
              (std::vector<std::string>{"PageHeader", "Title", "qrbAdresse", "PageFooter"}));
}

TEST(EntryListLayout, AssociationsOnlyWhenNotBlankTelephoneLabelsAlways) {
    tTeilnehmerliste participants;
    const tUsedAgeGroups none;
    TqrfErgebnisliste report(participants, none);
    tVereinData club;
    club.Vereinsname = "SC Nord";
    club.Kreis = "Mitte";
    club.Bezirk = "   ";
    club.Land = " Hessen ";
    tAbsenderData person;
    person.Vorname = "Jo";
    person.Nachname = "Lang";
    report.FillSender(person, club);
    EXPECT_EQ(report.qrlKreis, "Kreis: Mitte");
    EXPECT_EQ(report.qrlBezirk, "");
    EXPECT_EQ(report.QRLland, "Land:  Hessen ");  // not blank, so it prints untrimmed
    EXPECT_EQ(report.qrlGruppe, "");
    EXPECT_EQ(report.qrlName, "Jo Lang");
    EXPECT_EQ(report.qrlPLZOrt, " ");
    EXPECT_EQ(report.qrlTelefonp, "Telefon p.: ");
    EXPECT_EQ(report.qrlTelefond, "Telefon d.: ");
    EXPECT_EQ(report.qrlTelefax, "Telefax: ");
    EXPECT_EQ(report.qrlemail, "Email: ");
    EXPECT_EQ(report.qrlMobil, "Mobil: ");
}

TEST(EntryListLayout, LongEntryRunsOverPagesWithHeaderAndFooterOnEach) {
    const tMeldung m = test::ThreePageEntry();
    const tUsedAgeGroups used = Used(m, {"U12 (m)", "U14 (m)", "U16 (m)"});
    TqrfErgebnisliste report(m.Teilnehmerliste, used);
    report.qrlKopfzeile = "Kopf";
    const auto pages = report.Print(PrintedAt());
    ASSERT_EQ(pages.size(), 3u);

    for (std::size_t p = 0; p < pages.size(); ++p) {
        const tPrintPage& page = pages[p];
        EXPECT_EQ(Find(page, "PageNumber")->Text, "Seite " + std::to_string(p + 1));
        EXPECT_EQ(Find(page, "qrlKopfzeile")->Text, "Kopf");
        EXPECT_EQ(Find(page, "QRDateTime")->Text, "Gedruckt 05.04.2025 14:03:09");
        EXPECT_EQ(Find(page, "QRSysData1") != nullptr, p == 0);
        EXPECT_EQ(Find(page, "QRLabel1") != nullptr, p == 0);
        ASSERT_GE(page.Bands.size(), 3u);
        EXPECT_EQ(page.Bands.front().Name, "PageHeader");
        EXPECT_NEAR(page.Bands.front().Top, 10, kMm);
        EXPECT_EQ(page.Bands.back().Name, "PageFooter");
        EXPECT_NEAR(page.Bands.back().Top, 275.65, kMm);
        EXPECT_EQ(page.Bands[1].Name, p == 0 ? "Title" : "qrErgebnisse");
        // The bands follow each other without gaps and stay above the footer.
        for (std::size_t b = 1; b + 1 < page.Bands.size(); ++b) {
            const tPrintBand& before = page.Bands[b - 1];
            EXPECT_NEAR(page.Bands[b].Top, before.Top + before.Height, kMm) << p << " " << b;
            EXPECT_LE(page.Bands[b].Top + page.Bands[b].Height, 275.65 + kMm) << p << " " << b;
        }
        // A page ends only when the next band does not fit on it.
        if (p + 1 < pages.size()) {
            const tPrintBand& last = page.Bands[page.Bands.size() - 2];
            const tPrintBand& next = pages[p + 1].Bands[1];
            EXPECT_GT(last.Top + last.Height + next.Height, 275.65) << p;
        }
    }
    EXPECT_NE(Find(pages[1], "QRLAltersgruppe"), nullptr);  // a group starts on page 2

    // Split over pages, the rows are those of the whole entry in order, each once.
    std::vector<std::string> expected;
    for (const char* group : {"U12", "U14", "U16"}) {
        expected.push_back(std::string("[") + group + " (m)]");
        for (int i = 0; i < 14; ++i) {
            const std::string name = "Kim " + std::string(group) + "-Name" +
                                     static_cast<char>('A' + i) + "|2012|7. Kyu|";
            expected.push_back(name + "-" + std::to_string(30 + i));
            expected.push_back(name + "Kata");
        }
    }
    EXPECT_EQ(Rows(pages), expected);

    // A second run of the same report starts from the first group again.
    EXPECT_EQ(Rows(report.Print(PrintedAt())), expected);
}

TEST(EntryListLayout, PrintTimeAndHeaderTexts) {
    const double day = *DayNumberFromDate(2025, 12, 31);
    EXPECT_EQ(FormatPrintTime(day), "31.12.2025 00:00:00");
    EXPECT_EQ(FormatPrintTime(day + 86399 / 86400.0), "31.12.2025 23:59:59");
    tVereinData club;
    club.Vereinsname = "SV";
    tTurnierData event;
    event.Bezeichnung = "Cup";
    event.Ort = "Ulm";
    // No date is shown as none, not as the first day of the count.
    EXPECT_EQ(EntryListHeader(club, event), Win1252("Meldung von SV für Cup am  in Ulm"));
}

}  // namespace
}  // namespace kivrel
