// Finishing from the chosen name on, through the real files and the real xdg-email.
#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "base/error.h"
#include "base/messages.h"
#include "output/finishing.h"
#include "output/mailtext.h"
#include "support/exampleentry.h"
#include "support/maildesktop.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;

class Finish : public testing::Test {
protected:
    Finish() {
        entry.Turnier.Email = "meldung@pokal.example";
        fs::create_directory(dir() / "Meldungen");
    }
    fs::path dir() const { return desktop.dir().path(); }
    std::string Chosen() const { return (dir() / "Meldungen" / "Stadtpokal.tv4").string(); }
    std::string File(const std::string& key) const {
        return (dir() / "Meldungen" / ("Stadtpokal" + key + ".tv4")).string();
    }

    test::MailDesktop desktop;
    ScriptedBoxes boxes;
    tMeldung entry = test::ExampleEntry();
};

TEST_F(Finish, WritesEveryFileThenHandsTheMailWithThemAttached) {
    const std::optional<tFinished> finished = FinishEntry(entry, Chosen());
    ASSERT_TRUE(finished);
    EXPECT_EQ(finished->Mail, MailFate::Taken);
    EXPECT_EQ(test::ReadFileBytes(File("U12 (m)")), test::ExampleFileU12());
    EXPECT_EQ(test::ReadFileBytes(File("U15 (w)")), test::ExampleFileU15());
    EXPECT_TRUE(boxes.shown().empty());

    const test::Mailto mail = desktop.Received();
    const EntryMail expected = BuildEntryMail(entry, test::Used(entry));
    EXPECT_EQ(mail.to, "meldung@pokal.example");
    EXPECT_EQ(mail.all("subject"), std::vector<std::string>{Cp1252ToUtf8(expected.Subject)});
    EXPECT_EQ(mail.all("body"), std::vector<std::string>{Cp1252ToUtf8(expected.Body)});
    EXPECT_EQ(mail.all("attach"), (std::vector<std::string>{File("U12 (m)"), File("U15 (w)")}));
}

TEST_F(Finish, WithoutAMailClientTheFilesAndTheirMailAreLeftToSend) {
    desktop.RemoveMailClient();
    const std::optional<tFinished> finished = FinishEntry(entry, Chosen());
    EXPECT_TRUE(fs::exists(File("U12 (m)")));
    EXPECT_TRUE(fs::exists(File("U15 (w)")));
    EXPECT_FALSE(desktop.MailArrived());
    EXPECT_TRUE(boxes.shown().empty());

    ASSERT_TRUE(finished);
    EXPECT_EQ(finished->Mail, MailFate::NoClient);
    const tVersand& versand = finished->Versand;
    EXPECT_EQ(versand.ChosenPath, Chosen());
    EXPECT_EQ(versand.Files, (std::vector<tPath>{File("U12 (m)"), File("U15 (w)")}));
    EXPECT_EQ(versand.Address, "meldung@pokal.example");
    EXPECT_EQ(versand.Mail.Body, BuildEntryMail(entry, test::Used(entry)).Body);
}

TEST_F(Finish, AMissingXdgEmailIsReportedAfterTheFilesWereWritten) {
    desktop.RemoveXdgEmail();
    const std::optional<tFinished> finished = FinishEntry(entry, Chosen());
    EXPECT_TRUE(fs::exists(File("U15 (w)")));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Error sending mail (-1)."});
    ASSERT_TRUE(finished);
    EXPECT_EQ(finished->Mail, MailFate::NotTaken);
}

TEST_F(Finish, RefusingToReplaceWritesNothingAndSendsNothing) {
    test::WriteFileBytes(File("U15 (w)"), "alt");
    boxes.Answer(false);
    EXPECT_FALSE(FinishEntry(entry, Chosen()));
    EXPECT_EQ(test::ReadFileBytes(File("U15 (w)")), "alt");
    EXPECT_FALSE(fs::exists(File("U12 (m)")));
    EXPECT_FALSE(desktop.MailArrived());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Replace);
}

TEST_F(Finish, AWriteErrorEndsWithoutMail) {
    const std::string missing = (dir() / "fehlt" / "Stadtpokal.tv4").string();
    try {
        FinishEntry(entry, missing);
        ADD_FAILURE() << "no error";
    } catch (const KivrelError& e) {
        EXPECT_EQ(e.text(), "nach " + (dir() / "fehlt" / "StadtpokalU12 (m).tv4").string() +
                                " kann nicht geschrieben werden");
    }
    EXPECT_FALSE(desktop.MailArrived());
}

}  // namespace
}  // namespace kivrel
