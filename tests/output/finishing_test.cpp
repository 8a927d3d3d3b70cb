#include "output/finishing.h"

#include <gtest/gtest.h>

#include "base/messages.h"
#include "support/exampleentry.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;

class ReplaceQuestion : public ::testing::Test {
protected:
    ReplaceQuestion() {
        test::AddParticipant(m, "Ohne", "Ort", test::AddGroup(m, "Senioren", "g"));
        used = test::Used(m);
        for (const char* key : {"Senioren (g)", "U12 (m)", "U15 (w)"})
            files.push_back(dir.file(std::string("Pokal") + key + ".tv4"));
    }

    bool Build(std::vector<tPath>& names) {
        return BuildEntryFileNames(dir.file("Pokal.tv4"), names, used);
    }

    tMeldung m = test::ExampleEntry();
    tUsedAgeGroups used;
    test::TempDir dir;
    std::vector<tPath> files;
    ScriptedBoxes boxes;
};

TEST_F(ReplaceQuestion, NoneWhenNothingOfTheNamesExists) {
    test::WriteFileBytes(dir.file("Pokal.tv4"), "the chosen name itself");
    std::vector<tPath> names;
    EXPECT_TRUE(Build(names));
    EXPECT_EQ(names, files);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ReplaceQuestion, OneExistingFile) {
    test::WriteFileBytes(files[1], "old");
    std::vector<tPath> names;
    boxes.Answer(true);
    EXPECT_TRUE(Build(names));
    EXPECT_EQ(names, files);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Replace);
    EXPECT_EQ(boxes.shown()[0].text,
              files[1].string() + " ist bereits vorhanden.\rVorhandene Datei ersetzen ?");
}

TEST_F(ReplaceQuestion, SeveralIncludingAFolderAndNoChangesOnNein) {
    fs::create_directory(files[0]);
    test::WriteFileBytes(files[2], "old");
    const auto before = test::Snapshot(dir.path());
    std::vector<tPath> names;
    boxes.Answer(false);
    EXPECT_FALSE(Build(names));
    EXPECT_EQ(names, files);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{files[0].string() + ", " + files[2].string() +
                                                      " sind bereits vorhanden.\r"
                                                      "Vorhandene Dateien ersetzen ?"});
    EXPECT_EQ(test::Snapshot(dir.path()), before);
}

TEST_F(ReplaceQuestion, FinishingAgainAsksAboutEveryFile) {
    std::vector<tPath> names;
    ASSERT_TRUE(Build(names));
    ASSERT_TRUE(WriteEntryFiles(dir.file("Pokal.tv4"), used, m));
    names.clear();
    EXPECT_TRUE(Build(names));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{files[0].string() + ", " + files[1].string() +
                                                      ", " + files[2].string() +
                                                      " sind bereits vorhanden.\r"
                                                      "Vorhandene Dateien ersetzen ?"});
}

}  // namespace
}  // namespace kivrel
