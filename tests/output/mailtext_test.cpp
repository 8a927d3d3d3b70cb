#include "output/mailtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "base/buildinfo.h"
#include "base/cp1252.h"
#include "base/daynumber.h"
#include "support/exampleentry.h"

namespace kivrel {
namespace {

tTeilnehmer Participant(const std::string& vorname, const std::string& nachname,
                        const std::string& gruppe, const std::string& jahrgang, int grade,
                        const std::string& gewicht, bool allkategorie = false, bool kata = false) {
    tTeilnehmer t;
    t.Vorname = vorname;
    t.Nachname = nachname;
    t.Altersgruppe = gruppe;
    t.Jahrgang = jahrgang;
    t.Graduierung = grade;
    t.Gewicht = gewicht;
    t.Allkategorie = allkategorie;
    t.Kata = kata;
    return t;
}

void AddParticipant(tMeldung& m, const tTeilnehmer& t) {
    m.Teilnehmerliste.AddDistinct(ParticipantKey(t), std::make_unique<tTeilnehmer>(t));
}

// The used age groups as finishing hands them over: keys with their groups, in order.
tUsedAgeGroups Used(const tMeldung& m, const std::vector<std::string>& keys) {
    tUsedAgeGroups used;
    for (const auto& key : keys) {
        const int index = m.Altersgruppenliste.IndexOf(key);
        used.push_back({key, index >= 0 ? &m.Altersgruppenliste.Object(index) : nullptr});
    }
    return used;
}

void AddGroup(tMeldung& m, const std::string& name, const std::string& gender) {
    tAltersgruppe g{name, gender};
    m.Altersgruppenliste.Add(AgeGroupKey(g), std::make_unique<tAltersgruppe>(g));
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += Win1252(line) + "\r\n";
    return text;
}

std::vector<std::string> BodyLines(const std::string& body) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = body.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(body.substr(start, end - start));
    EXPECT_EQ(start, body.size()) << "body does not end with CR LF";
    return lines;
}

TEST(EntryMail, ExampleEntryGivesSubjectAndBodyByteForByte) {
    const tMeldung m = test::ExampleEntry();
    const EntryMail mail = BuildEntryMail(m, Used(m, {"U12 (m)", "U15 (w)"}));

    EXPECT_EQ(mail.Subject, Win1252(test::ExampleMailSubject()));
    EXPECT_EQ(mail.Body, Joined(test::ExampleMailLines()));
}

TEST(EntryMail, ParticipantColumnsAreFilledAndCut) {
    // A grade of seven characters leaves no blank before the weight.
    const auto dan = Participant("Kai", "Ito", "", "1970", 19, "-66");
    EXPECT_EQ(ParticipantLinePrefix(dan) + dan.Gewicht,
              "Kai Ito                                 1970 10. Dan-66");

    // 20 + 1 + 20 characters: the column keeps the first 40.
    const auto longName =
        Participant("Abcdefghijklmnopqrst", "Uvwxyzabcdefghijklmn", "", "2010", 22, "");
    EXPECT_EQ(ParticipantLinePrefix(longName),
              "Abcdefghijklmnopqrst Uvwxyzabcdefghijklm2010 13. Dan");

    // No grade, "[unbekannt]" and an index outside the table all leave seven blanks; an
    // empty year five.
    for (const int grade : {-1, 0, 23}) {
        EXPECT_EQ(ParticipantLinePrefix(Participant("A", "B", "", "", grade, "")),
                  "A B" + std::string(37, ' ') + std::string(5, ' ') + std::string(7, ' '))
            << grade;
    }

    // A longer year is cut; a Windows-1252 umlaut takes one column.
    const auto umlaut = Participant(Win1252("Jürgen"), Win1252("Öz"), "", "201599", 1, "");
    EXPECT_EQ(ParticipantLinePrefix(umlaut),
              Win1252("Jürgen Öz") + std::string(31, ' ') + "20159" + "9. Kyu ");
    EXPECT_EQ(ParticipantLinePrefix(umlaut).size(), 52u);
}

TEST(EntryMail, BlocksFollowUsedGroupsAndListOrderWithOneLinePerStart) {
    tMeldung m = test::ExampleEntry();
    m.Verein.Kreis = " \t ";  // blanks and controls only: no line
    m.Verein.Bezirk.clear();
    m.Verein.Land.clear();
    m.Verein.Gruppe = " Mitte";  // kept as stored
    AddGroup(m, "U18", "g");
    AddGroup(m, "U10", "m");  // without participants: no block at all
    AddParticipant(m, Participant("Ole", "Berg", "U15 (w)", "2011", 5, "-48", true, true));
    AddParticipant(m, Participant("Eva", "Zorn", "U15 (w)", "2011", 5, "", false, true));
    AddParticipant(m, Participant("Max", "Nix", "U18 (g)", "2008", 10, ""));
    AddParticipant(m, Participant("Udo", "Case", "u12 (m)", "2015", 1, "-27"));

    // The used groups come in their own order, which need not be the list's.
    const EntryMail mail = BuildEntryMail(m, Used(m, {"U15 (w)", "U10 (m)", "U18 (g)", "U12 (m)"}));
    const std::vector<std::string> lines = BodyLines(mail.Body);

    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "TSV Musterstadt");
    EXPECT_EQ(lines[1], "Gruppe:  Mitte");
    EXPECT_EQ(lines[2], "");

    const std::string rule(64, '=');
    const auto header = std::find(lines.begin(), lines.end(),
                                  "Name                                    JG   Grad   Gewicht");
    ASSERT_NE(header, lines.end());
    const std::vector<std::string> table(header + 1, header + 15);
    const std::string ole = "Ole Berg                                2011 5. Kyu ";
    const std::string eva = "Eva Zorn                                2011 5. Kyu ";
    const std::vector<std::string> expected = {
        rule,
        "U15 (w)",
        ole + "-48",
        ole + "Allkategorie",
        ole + "Kata",
        "Mia Lange                               2012        -44",
        eva + "Kata",
        rule,
        "U18 (g)",  // Max starts in nothing: the group stays, without lines
        rule,
        "U12 (m)",  // Udo's "u12 (m)" differs in case: no match
        "Ben Adler                               2015 7. Kyu -30",
        "Tim Kurz                                2014        +50",
        rule,
    };
    EXPECT_EQ(table, expected);
    EXPECT_EQ(header[15], "");
    EXPECT_EQ(mail.Body.find("Udo"), std::string::npos);
}

}  // namespace
}  // namespace kivrel
