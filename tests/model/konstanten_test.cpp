#include "model/konstanten.h"

#include <gtest/gtest.h>

#include "base/cp1252.h"

namespace kivrel {
namespace {

std::unique_ptr<tTeilnehmer> Person(const std::string& nachname, const std::string& vorname) {
    auto t = std::make_unique<tTeilnehmer>();
    t->Nachname = nachname;
    t->Vorname = vorname;
    return t;
}

int AddPerson(tTeilnehmerliste& list, const std::string& nachname, const std::string& vorname) {
    auto t = Person(nachname, vorname);
    const std::string key = ParticipantKey(*t);
    return list.AddDistinct(key, std::move(t));
}

std::vector<std::string> Surnames(const tTeilnehmerliste& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Object(i).Nachname);
    return out;
}

TEST(Graduierungen, TableAndGradeText) {
    EXPECT_STREQ(Graduierungen[0], "9. Kyu");
    EXPECT_STREQ(Graduierungen[9], "1. Dan");
    EXPECT_STREQ(Graduierungen[21], "13. Dan");
    EXPECT_EQ(GradeText(3), "7. Kyu");
    EXPECT_EQ(GradeText(22), "13. Dan");
    for (const int blank : {0, -1, 23, -7})
        EXPECT_EQ(GradeText(blank), " ") << blank;
}

TEST(Keys, ParticipantAndAgeGroup) {
    tTeilnehmer t;
    t.Nachname = "Adler";
    t.Vorname = "Ben";
    EXPECT_EQ(ParticipantKey(t), "Adler Ben");
    EXPECT_EQ(AgeGroupKey(tAltersgruppe{"U14", "m"}), "U14 (m)");
}

TEST(SortedList, InsertsAtSortedPositionAndReturnsTheIndex) {
    tTeilnehmerliste list;
    EXPECT_EQ(AddPerson(list, "Kurz", "Tim"), 0);
    EXPECT_EQ(AddPerson(list, "Bauer", "Eva"), 0);
    EXPECT_EQ(AddPerson(list, "abel", "Udo"), 0);
    EXPECT_EQ(AddPerson(list, "Zander", "Ina"), 3);
    EXPECT_EQ(AddPerson(list, Win1252("Müller"), "Jo"), 3);
    EXPECT_EQ(Surnames(list),
              (std::vector<std::string>{"abel", "Bauer", "Kurz", Win1252("Müller"), "Zander"}));
    EXPECT_EQ(list.IndexOf("KURZ TIM"), 2);
    EXPECT_EQ(list.IndexOf("Kurz Tom"), -1);
    list.Delete(0);
    EXPECT_EQ(list.Key(0), "Bauer Eva");
    EXPECT_THROW(list.Object(4), std::out_of_range);
    EXPECT_THROW(list.Delete(-1), std::out_of_range);
}

TEST(SortedList, AgeGroupsCaseFoldedButGenderAndAccentsApart) {
    tAltersgruppenliste groups;
    EXPECT_EQ(groups.Add("U14 (m)", std::make_unique<tAltersgruppe>(tAltersgruppe{"U14", "m"})), 0);
    EXPECT_EQ(groups.Add("U14 (w)", std::make_unique<tAltersgruppe>(tAltersgruppe{"U14", "w"})), 1);
    EXPECT_EQ(groups.Add("u14 (M)", std::make_unique<tAltersgruppe>(tAltersgruppe{"u14", "M"})),
              -1);
    EXPECT_EQ(groups.Count(), 2);
    EXPECT_EQ(groups.Object(0).Bezeichnung, "U14");
    EXPECT_EQ(groups.IndexOf("u14 (w)"), 1);
}

TEST(SortedList, EqualKeysNeverDropOrReplaceAParticipant) {
    tTeilnehmerliste list;
    // A blank moved between the names gives the same key.
    const int first = AddPerson(list, "van Berg", "Jan");
    const int second = AddPerson(list, "van", "Berg Jan");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Object(first).Nachname, "van Berg");
    EXPECT_EQ(list.Object(second).Nachname, "van");
    EXPECT_EQ(list.Object(second).Vorname, "Berg Jan");

    // A renamed participant keeps its old key; a newcomer with the old names must not take
    // its place, and neither may a third with the same names in other case.
    const int renamed = AddPerson(list, "Kurz", "Tim");
    list.Object(renamed).Nachname = "Lang";
    const int newcomer = AddPerson(list, "Kurz", "Tim");
    const int third = AddPerson(list, "KURZ", "tim");
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Object(newcomer).Nachname, "Kurz");
    EXPECT_EQ(list.Object(third).Nachname, "KURZ");
    EXPECT_EQ(list.Object(list.IndexOf("Kurz Tim")).Nachname, "Lang");
    for (int i = 0; i + 1 < list.Count(); ++i) {
        EXPECT_LT(CollateCompare(list.Key(i), list.Key(i + 1)), 0) << list.Key(i);
    }
}

}  // namespace
}  // namespace kivrel
