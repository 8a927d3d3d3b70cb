#include "participants/agerules.h"

#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "participants/importreader.h"

namespace kivrel {
namespace {

constexpr int kYear = 2025;

tAgeRule Rule(const char* name, const char* gender, const char* from, const char* to,
              const char* limits) {
    return {{name, gender}, from, to, limits};
}

TEST(AgeRules, EveryFaultIsNamedWithItsRuleAndField) {
    const tAgeRule u14w = Rule("U14", "w", "2012", "2013", "-30 -34 +34");
    const struct {
        tAgeRule rule;
        tRuleField field;
        const char* message;  // UTF-8
    } cases[] = {
        {Rule(" ", "w", "", "", ""), tRuleField::Bezeichnung,
         "Bitte geben Sie die Bezeichnung der Altersgruppe an."},
        {Rule("U16", "", "", "", ""), tRuleField::Geschlecht,
         "Bitte geben Sie das Geschlecht der Altersgruppe an."},
        {Rule("U16", "w", "2030", "", ""), tRuleField::YearFrom,
         "Der Jahrgang „2030“ bei U16 (w) ist kein Jahr von 1900 bis 2025."},
        {Rule("U16", "w", "2011", "2010", ""), tRuleField::YearTo,
         "Bei U16 (w) ist der erste Jahrgang 2011 größer als der letzte 2010."},
        {Rule("U16", "w", "", "", "-34 -30"), tRuleField::Limits,
         "Die Gewichtsklassen von U16 (w) stehen nicht aufsteigend: „-34“ steht vor „-30“."},
        {Rule("U16", "w", "", "", "-30 -5"), tRuleField::Limits,
         "Die Gewichtsklasse „-5“ von U16 (w) ist ungültig: ein Vorzeichen und zwei oder drei "
         "Ziffern, z. B. -30 oder +100."},
        {Rule("U16", "w", "", "", "-30 +34"), tRuleField::Limits,
         "Bei U16 (w) muss die Klasse „+34“ an die höchste Klasse mit „-“ anschließen, z. B. "
         "-38 +38."},
        {Rule("U16", "w", "", "", "-30 +30 -40"), tRuleField::Limits,
         "Bei U16 (w) muss die Klasse „+30“ die letzte sein."},
        {Rule("u14", "w", "", "", ""), tRuleField::Bezeichnung,
         "Die Altersgruppe u14 (w) steht zweimal in den Regeln."},
        // A mixed group takes girls too; an open range reaches every year.
        {Rule("Jugend", "g", "", "2013", ""), tRuleField::YearFrom,
         "Die Regeln von U14 (w) und Jugend (g) überschneiden sich: beide nehmen den Jahrgang "
         "2012 auf. Bitte ändern Sie die Jahrgänge, damit jeder Teilnehmer in genau eine "
         "Altersgruppe passt."},
    };
    for (const auto& c : cases) {
        const auto fault = CheckAgeRules({u14w, c.rule}, kYear);
        ASSERT_TRUE(fault) << c.message;
        EXPECT_EQ(fault->Rule, 1u) << c.message;
        EXPECT_EQ(fault->Field, c.field) << c.message;
        EXPECT_EQ(fault->Message, Win1252(c.message));
    }
    // Boys of the same years, and groups without years, are no overlap.
    const tAgeRules good = {u14w, Rule("U14", "m", "2012", "2013", "-30 -34 +34"),
                            Rule("Offen", "g", "", "", "")};
    EXPECT_FALSE(CheckAgeRules(good, kYear));
    EXPECT_EQ(AgeRulesText(AgeRulesFromText(AgeRulesText(good))), AgeRulesText(good));
    EXPECT_TRUE(AgeRulesFromText("kaputt|U14;w").empty());
}

TEST(AgeRules, ProposalsFollowYearGenderAndBodyWeightOrSayWhyNot) {
    const tAgeRules rules = {Rule("U14", "w", "2012", "2013", "-30 -34 +34"),
                             Rule("U14", "m", "2012", "2013", "-30 -34"),
                             Rule("U12", "g", "2014", "2015", "")};
    const tAgeRuleTable table(rules, kYear, [](const tAltersgruppe& g) { return AgeGroupKey(g); });
    const struct {
        const char* year;
        const char* gender;
        const char* group;  // the row's own, or empty
        const char* weight;
        tProposal expected;  // UTF-8 note
    } cases[] = {
        {"2012", "w", "", "30", {"U14 (w)", "-30", ""}},
        {"2013", "w", "", "30,01", {"U14 (w)", "-34", ""}},
        {"2013", "w", "", "34.0", {"U14 (w)", "-34", ""}},
        {"2013", "w", "", "51,5", {"U14 (w)", "+34", ""}},
        {"2014", "", "", "20", {"U12 (g)", "", ""}},
        // The row's own group gives the classes.
        {"", "", "U14 (m)", "31", {"", "-34", ""}},
        {"2012",
         "m",
         "",
         "35",
         {"U14 (m)", "",
          "Das Körpergewicht 35 kg liegt über der schwersten Klasse „-34“ von "
          "U14 (m)."}},
        {"2012", "w", "", "0", {"U14 (w)", "", "Das Körpergewicht „0“ kann nicht stimmen."}},
        {"2012",
         "w",
         "",
         "31,5 kg",
         {"U14 (w)", "", "Das Körpergewicht „31,5 kg“ ist keine Zahl in kg (z. B. 31,5)."}},
        {"2012",
         "w",
         "",
         "abc",
         {"U14 (w)", "", "Das Körpergewicht „abc“ ist keine Zahl in kg (z. B. 31,5)."}},
        {"2005",
         "w",
         "",
         "60",
         {"", "", "Keine Altersgruppe der Regeln nimmt Jahrgang 2005 (w) auf."}},
        {"2012",
         "",
         "",
         "30",
         {"", "",
          "Jahrgang 2012 passt zu mehreren Altersgruppen (U14 (w), U14 (m)); bitte geben Sie das "
          "Geschlecht an."}},
        {"", "w", "", "30", {"", "", "Ohne Jahrgang schlagen die Regeln keine Altersgruppe vor."}},
    };
    for (const auto& c : cases) {
        const tProposal p = table.Propose(c.year, c.gender, c.group, Win1252(c.weight));
        EXPECT_EQ(p.Group, c.expected.Group) << c.year << c.weight;
        EXPECT_EQ(p.Gewicht, c.expected.Gewicht) << c.year << c.weight;
        EXPECT_EQ(p.Note, Win1252(c.expected.Note)) << c.year << c.weight;
    }
    // Rules with a fault propose nothing rather than half.
    const tAgeRuleTable faulty({rules[0], rules[0]}, kYear,
                               [](const tAltersgruppe& g) { return AgeGroupKey(g); });
    EXPECT_TRUE(faulty.Empty());
}

TEST(AgeRules, TheImportProposesForMissingValuesOnlyAndAcceptsThemForTheGivenRows) {
    const tAltersgruppenliste groups;
    const tTeilnehmerliste participants;
    tImport import(participants, groups, kYear);
    import.Read(
        {{ "mitglieder.csv",
           Win1252("Nachname;Vorname;Geb.-Datum;Geschlecht;Gewicht (kg);Gewichtsklasse\n"
                   "Adler;Ida;03.04.2012;w;29,5;\n"
                   "Berg;Jan;2013;m;33;-40\n"
                   "Kurz;Eva;2012;w;31;\n") }});
    import.SetRules({Rule("U14", "w", "2012", "2013", "-30 -34 +34"),
                     Rule("U14", "m", "2012", "2013", "-34 -40")});
    const auto& rows = import.Rows();
    EXPECT_EQ(rows[0].Proposal.Group, "U14 (w)");
    EXPECT_EQ(rows[0].Proposal.Gewicht, "-30");
    // A weight class of the file stays; none is proposed over it.
    EXPECT_EQ(rows[1].Proposal.Gewicht, "");
    import.SetStart({0, 1}, true);
    ASSERT_EQ(import.TickedWithProposal(), (std::vector<std::size_t>{0, 1}));
    import.AcceptProposals(import.TickedWithProposal());
    EXPECT_EQ(rows[0].Participant.Altersgruppe, "U14 (w)");
    EXPECT_EQ(rows[0].Participant.Gewicht, "-30");
    EXPECT_EQ(rows[1].Participant.Altersgruppe, "U14 (m)");
    EXPECT_EQ(rows[1].Participant.Gewicht, "-40");
    EXPECT_TRUE(rows[2].Participant.Altersgruppe.empty());  // not ticked
    EXPECT_EQ(import.GoodRows(), 2);
    EXPECT_EQ(import.NewAgeGroupKeys(), (std::vector<std::string>{"U14 (w)", "U14 (m)"}));
}

}  // namespace
}  // namespace kivrel
