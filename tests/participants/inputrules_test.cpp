#include "participants/inputrules.h"

#include <gtest/gtest.h>

#include "base/cp1252.h"

namespace kivrel {
namespace {

TEST(AgeGroupNameSet, HoldsLettersDigitsHighLettersAndFivePunctuationMarks) {
    for (const char c : std::string("AZaz09 (),-_"))
        EXPECT_TRUE(InAgeGroupNameSet(c)) << c;
    for (int code = 192; code <= 255; ++code)  // umlauts, accents, also × and ÷
        EXPECT_TRUE(InAgeGroupNameSet(static_cast<char>(code))) << code;
    for (const char c : std::string("./[]\"'!+*#&;:"))
        EXPECT_FALSE(InAgeGroupNameSet(c)) << c;
    for (int code = 128; code <= 191; ++code)  // euro sign, section sign, ...
        EXPECT_FALSE(InAgeGroupNameSet(static_cast<char>(code))) << code;
    EXPECT_FALSE(InAgeGroupNameSet('\t'));
    EXPECT_FALSE(InAgeGroupNameSet(kBackspace));
    EXPECT_TRUE(AgeGroupNameKeyAccepted(kBackspace));
    EXPECT_FALSE(AgeGroupNameKeyAccepted('/'));
}

TEST(WeightKeyRule, SignOnlyIntoTheEmptyFieldDigitsOnlyAfterTheFirstCharacter) {
    EXPECT_TRUE(WeightKeyAccepted("", 0, '-'));
    EXPECT_TRUE(WeightKeyAccepted("", 0, '+'));
    EXPECT_TRUE(WeightKeyAccepted("", 0, kBackspace));
    EXPECT_FALSE(WeightKeyAccepted("", 0, '3'));
    EXPECT_FALSE(WeightKeyAccepted("", 0, 'a'));

    EXPECT_TRUE(WeightKeyAccepted("-", 1, '3'));
    EXPECT_TRUE(WeightKeyAccepted("-3", 2, '0'));
    EXPECT_TRUE(WeightKeyAccepted("-30", 2, '5'));   // between the digits
    EXPECT_FALSE(WeightKeyAccepted("-30", 0, '5'));  // before the sign
    EXPECT_FALSE(WeightKeyAccepted("-30", 3, '+'));  // a second sign
    EXPECT_FALSE(WeightKeyAccepted("-30", 3, 'k'));
    EXPECT_TRUE(WeightKeyAccepted("-30", 3, kBackspace));
    // With the whole text selected the selection starts at 0: even Backspace is refused.
    EXPECT_FALSE(WeightKeyAccepted("-30", 0, kBackspace));
}

// The preview's cells replace their selected text: the rule judges what stays.
TEST(WeightKeyRule, OverASelectionJudgesTheTextThatStays) {
    const struct {
        const char* text;
        int start, length;
        char key;
        bool accepted;
    } cases[] = {
        {"31,5", 0, 4, '-', true}, {"31,5", 0, 4, '3', false}, {"-30", 0, 3, kBackspace, true},
        {"-30", 1, 2, '4', true},  {"-30", 0, 1, '4', false},  {"-30", 0, 1, '+', false},
        {"-30", 0, 0, '+', false}, {"-30", 3, 0, '4', true},   {"-30", 1, 5, '4', true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WeightKeyAcceptedOverSelection(c.text, c.start, c.length, c.key), c.accepted)
            << c.text << " " << c.start << "+" << c.length << " " << c.key;
}

TEST(InputChecks, YearOfBirthIsEmptyOrFourDigitsFrom1900ToThisYear) {
    EXPECT_TRUE(JahrgangValid("", 2025));
    EXPECT_TRUE(JahrgangValid("1900", 2025));
    EXPECT_TRUE(JahrgangValid("2025", 2025));
    EXPECT_TRUE(JahrgangValid("2012", 2025));
    for (const char* refused : {"1899", "2026", "199", "19a5", "2", "0200", " 199", "+199"})
        EXPECT_FALSE(JahrgangValid(refused, 2025)) << refused;
}

TEST(InputChecks, WeightClassIsASignWithDigitsUnlessKataOrOpenClass) {
    EXPECT_TRUE(GewichtValid("-30", false, false));
    EXPECT_TRUE(GewichtValid("+100", false, false));
    EXPECT_FALSE(GewichtValid("-5", false, false));
    EXPECT_FALSE(GewichtValid("+1000", false, false));  // longer than the field
    EXPECT_FALSE(GewichtValid("-", false, false));
    EXPECT_FALSE(GewichtValid("", false, false));
    EXPECT_TRUE(GewichtValid("", true, false));
    EXPECT_TRUE(GewichtValid("", false, true));
    EXPECT_FALSE(GewichtValid("-5", true, true));
    // Pasted or with its sign deleted: the entry file could not tell the class.
    for (const char* refused : {"30kg", "-3a", "+-50", "100", "-3\"0"})
        EXPECT_FALSE(GewichtValid(refused, false, false)) << refused;
}

TEST(DuplicateNames, PairsAreComparedAsWholesIgnoringCaseButNotAccents) {
    const tGridNames grid{{"Nachname", Win1252("Müller"), "Schmidt", Win1252("Müller")},
                          {"Vorname", "Max", "Anna", "Anna"}};
    const std::vector<tNamePair> all = NamePairs(grid, -1);
    ASSERT_EQ(all.size(), 3u);  // the headings are no participant
    EXPECT_EQ(all[0].Nachname, Win1252("Müller"));
    EXPECT_EQ(all[0].Vorname, "Max");

    EXPECT_TRUE(NameTaken(all, Win1252("Müller"), "Anna"));
    EXPECT_TRUE(NameTaken(all, Win1252("mÜller"), "anna"));
    EXPECT_FALSE(NameTaken(all, "Muller", "Anna"));
    EXPECT_FALSE(NameTaken(all, "Schmidt", "Max"));  // surname and first name of one pair
    EXPECT_FALSE(NameTaken(all, Win1252("Müller Anna"), ""));

    // The participant being edited (row 3) is no duplicate of itself.
    const std::vector<tNamePair> others = NamePairs(grid, 3);
    ASSERT_EQ(others.size(), 2u);
    EXPECT_FALSE(NameTaken(others, Win1252("Müller"), "Anna"));
    EXPECT_TRUE(NameTaken(others, "schmidt", "ANNA"));
}

}  // namespace
}  // namespace kivrel
