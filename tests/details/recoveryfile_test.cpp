// The recovery file: its text read back exactly, damaged and foreign files refused, and the
// file's life beside the store: one keeper, set aside instead of lost, gone at the end.
#include "details/recoveryfile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/messages.h"
#include "support/entrybuilder.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;
using test::AddGroup;
using test::AddParticipant;

const tLocalTime kStand{2026, 12, 8, 14, 3, 27};

// Every kind of field, and texts that could break a line or a field.
tMeldung Example() {
    tMeldung m;
    const std::string u12 = AddGroup(m, "U12", "m");
    AddGroup(m, "Damen\t\\", "w");
    tTeilnehmer& a = AddParticipant(m, "M\xFCller", "Ren\xE9", u12, "2015", 3, "-30");
    a.Allkategorie = true;
    a.Confirmed = true;
    tTeilnehmer& b = AddParticipant(m, "Tab\tName", "back\\slash\r\nzeile \"x\"", u12, "", 0, "");
    b.Kata = true;
    // A second one under the same key, and one whose names changed after it was filed.
    AddParticipant(m, "M\xFCller", "Ren\xE9", u12);
    AddParticipant(m, "Alt", "Name", u12, "2014", 22, "+100").Nachname = "Neu";
    return m;
}

void ExpectSameLists(const tMeldung& got, const tMeldung& want) {
    ASSERT_EQ(got.Altersgruppenliste.Count(), want.Altersgruppenliste.Count());
    for (int i = 0; i < want.Altersgruppenliste.Count(); ++i) {
        EXPECT_EQ(got.Altersgruppenliste.Key(i), want.Altersgruppenliste.Key(i));
        EXPECT_EQ(got.Altersgruppenliste.Object(i).Bezeichnung,
                  want.Altersgruppenliste.Object(i).Bezeichnung);
        EXPECT_EQ(got.Altersgruppenliste.Object(i).Geschlecht,
                  want.Altersgruppenliste.Object(i).Geschlecht);
    }
    ASSERT_EQ(got.Teilnehmerliste.Count(), want.Teilnehmerliste.Count());
    for (int i = 0; i < want.Teilnehmerliste.Count(); ++i) {
        const tTeilnehmer& g = got.Teilnehmerliste.Object(i);
        const tTeilnehmer& w = want.Teilnehmerliste.Object(i);
        EXPECT_EQ(got.Teilnehmerliste.Key(i), want.Teilnehmerliste.Key(i));
        EXPECT_EQ(std::tie(g.Confirmed, g.Vorname, g.Nachname, g.Altersgruppe, g.Jahrgang,
                           g.Graduierung, g.Gewicht, g.Allkategorie, g.Kata),
                  std::tie(w.Confirmed, w.Vorname, w.Nachname, w.Altersgruppe, w.Jahrgang,
                           w.Graduierung, w.Gewicht, w.Allkategorie, w.Kata));
    }
}

fs::path RecoveryFileIn(const test::TempDir& dir) {
    return dir.path() / "Meldung.wiederherstellung";
}

TEST(RecoveryFile, WriteThenReadGivesTheListsAsTheyWere) {
    const tMeldung example = Example();
    const auto read = ParseRecoveryText(RecoveryText(example, kStand));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Stand.Minute, 3);
    tMeldung restored;
    RestoreEntry(*read, restored);
    ExpectSameLists(restored, example);
}

TEST(RecoveryFile, TheTextIsOneLinePerRecordWithEscapedControls) {
    tMeldung m;
    AddParticipant(m, "A\\b", "C\td", AddGroup(m, "U12", "m"), "2015", 3, "-30").Kata = true;
    EXPECT_EQ(
        RecoveryText(m, kStand),
        "Kivrel Wiederherstellung\r\nVersion=1\r\nStand=2026-12-08 14:03:27\r\n"
        "Altersgruppen=1\r\nG\tU12 (m)\tU12\tm\r\n"
        "Teilnehmer=1\r\nT\tA\\\\b C\\x09d\t0\tC\\x09d\tA\\\\b\tU12 (m)\t2015\t3\t-30\t0\t1\r\n"
        "Ende\r\n");
}

TEST(RecoveryFile, DamagedOrForeignTextsAreRefused) {
    tMeldung m;
    AddParticipant(m, "Adler", "Ben", AddGroup(m, "U12", "m"), "2015", 3, "-30");
    const std::string good = RecoveryText(m, kStand);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"cut short", good.substr(0, good.size() - 6)},
        {"cut inside a line", good.substr(0, good.size() / 2)},
        {"something after the end", good + "T\tx\r\n"},
        {"LF line ends", replaced("Version=1\r\n", "Version=1\n")},
        {"other heading", replaced("Kivrel Wiederherstellung", "Kivrel")},
        {"later version", replaced("Version=1", "Version=2")},
        {"no date", replaced("2026-12-08 14:03:27", "gestern")},
        {"impossible date", replaced("2026-12-08", "2026-02-30")},
        {"more participants counted", replaced("Teilnehmer=1", "Teilnehmer=2")},
        {"fewer groups counted", replaced("Altersgruppen=1", "Altersgruppen=0")},
        {"count with a sign", replaced("Teilnehmer=1", "Teilnehmer=+1")},
        {"field missing", replaced("\t-30\t0\t0", "\t-30\t0")},
        {"field too many", replaced("\t-30\t0\t0", "\t-30\t0\t0\t0")},
        {"flag not 0 or 1", replaced("\t-30\t0\t0", "\t-30\t2\t0")},
        {"unknown grade", replaced("\t3\t-30", "\t23\t-30")},
        {"unknown escape", replaced("Adler Ben", "Adler\\qBen")},
        {"escape of a printable", replaced("Adler Ben", "Adler\\x41Ben")},
        {"raw control character", replaced("Adler Ben", std::string("Adler\x01") + "Ben")},
        {"group key of another group", replaced("G\tU12 (m)", "G\tU14 (m)")},
        {"unknown gender", replaced("\tU12\tm", "\tU12\tx")},
        {"record of the wrong kind", replaced("T\tAdler", "G\tAdler")},
        {"a registry file", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n"},
        {"binary", std::string("\0\xFF\r\n\x7F", 5)},
    };
    ASSERT_TRUE(ParseRecoveryText(good));
    for (const auto& c : cases)
        EXPECT_FALSE(ParseRecoveryText(c.text)) << c.what;
}

TEST(RecoveryFile, TheQuestionCountsInTheRightNumber) {
    tRecoveredEntry entry;
    entry.Stand = kStand;
    const std::string start = "Es wurde eine nicht beendete Meldung vom 08.12.2026, 14:03 Uhr mit ";
    entry.Altersgruppen.resize(1);
    EXPECT_EQ(RecoveryQuestion(entry),
              start +
                  "1 Altersgruppe und ohne Teilnehmer gefunden. Soll die Altersgruppe "
                  "wiederhergestellt werden ?");
    entry.Teilnehmer.resize(1);
    EXPECT_EQ(RecoveryQuestion(entry),
              start + "1 Teilnehmer gefunden. Soll der Teilnehmer wiederhergestellt werden ?");
    entry.Teilnehmer.resize(12);
    EXPECT_EQ(RecoveryQuestion(entry),
              start + "12 Teilnehmern gefunden. Sollen die Teilnehmer wiederhergestellt werden ?");
}

std::size_t EntriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

TEST(RecoveryKeeper, OneKeeperAtATimeAndAPendingFileIsOnlyEverSetAside) {
    test::TempDir dir;
    const std::string folder = (dir.path() / "").string();
    ScriptedBoxes boxes;
    const tMeldung example = Example();
    {
        auto first = tRecovery::Take(folder);
        ASSERT_TRUE(first);
        EXPECT_FALSE(tRecovery::Take(folder));  // a second program keeps none
        EXPECT_FALSE(first->Pending());
        ASSERT_TRUE(first->Save(example));
    }  // ended abnormally: the file stays

    auto next = tRecovery::Take(folder);
    ASSERT_TRUE(next);
    auto pending = next->Pending();
    ASSERT_TRUE(pending);
    EXPECT_EQ(pending->Teilnehmer.size(), 4u);
    // Not yet offered: neither overwritten nor removed.
    EXPECT_FALSE(next->Save(tMeldung()));
    next->Remove();
    ASSERT_TRUE(fs::exists(RecoveryFileIn(dir)));
    next->Decline();
    EXPECT_FALSE(fs::exists(RecoveryFileIn(dir)));
    EXPECT_EQ(EntriesIn(dir.path()), 2u);  // the lock file and the declined entry
    EXPECT_TRUE(boxes.shown().empty());

    ASSERT_TRUE(next->Save(example));
    next->Remove();
    EXPECT_FALSE(fs::exists(RecoveryFileIn(dir)));
}

TEST(RecoveryKeeper, ADamagedFileGoesAsideWithOneWarningAndTheRunStartsEmpty) {
    test::TempDir dir;
    const std::string folder = (dir.path() / "").string();
    ScriptedBoxes boxes;
    auto keeper = tRecovery::Take(folder);
    ASSERT_TRUE(keeper);
    const std::string damaged = RecoveryText(Example(), kStand).substr(0, 200);
    test::WriteFileBytes(RecoveryFileIn(dir), damaged);

    EXPECT_FALSE(keeper->Pending());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Warning);
    fs::path aside;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        if (entry.path().filename().string().find(".unlesbar-") != std::string::npos)
            aside = entry.path();
    }
    ASSERT_FALSE(aside.empty());
    EXPECT_EQ(test::ReadFileBytes(aside), damaged);
    EXPECT_NE(boxes.shown()[0].text.find(aside.filename().string()), std::string::npos);
    EXPECT_FALSE(fs::exists(RecoveryFileIn(dir)));
    EXPECT_TRUE(keeper->Save(Example()));
}

TEST(RecoveryKeeper, AFileThatCannotBeWrittenIsToldOnceAndTheWorkGoesOn) {
    test::TempDir dir;
    ScriptedBoxes boxes;
    auto keeper = tRecovery::Take((dir.path() / "").string());
    ASSERT_TRUE(keeper);
    EXPECT_FALSE(keeper->Pending());
    fs::create_directory(RecoveryFileIn(dir));  // in the way of every write
    EXPECT_FALSE(keeper->Save(Example()));
    EXPECT_FALSE(keeper->Save(Example()));
    EXPECT_EQ(boxes.shown().size(), 1u);
}

}  // namespace
}  // namespace kivrel
