#include "base/error.h"

#include <gtest/gtest.h>

#include "base/messages.h"

namespace kivrel {
namespace {

TEST(GeneralError, FullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(GeneralErrorText("nach C:\\x kann nicht geschrieben werden"),
              "nach C:\\x kann nicht geschrieben werden.");
    EXPECT_EQ(GeneralErrorText("Fertig."), "Fertig.");
    EXPECT_EQ(GeneralErrorText("Wirklich?"), "Wirklich?.");   // '?' is above '.'
    EXPECT_EQ(GeneralErrorText("Fehler (1)"), "Fehler (1)");  // ')' is below '.'
    EXPECT_EQ(GeneralErrorText("Stop!"), "Stop!");
    EXPECT_EQ(GeneralErrorText("Ende -"), "Ende -");
    EXPECT_EQ(GeneralErrorText("Pfad/"), "Pfad/.");
    EXPECT_EQ(GeneralErrorText("Gr\xFC\xDF"), "Gr\xFC\xDF.");  // high bytes count as high
    EXPECT_EQ(GeneralErrorText(""), "");
}

TEST(GeneralError, GuardShowsEveryKindOfFailureAndGoesOn) {
    ScriptedBoxes boxes;
    EXPECT_TRUE(RunGuarded([] {}));
    EXPECT_FALSE(RunGuarded([] { throw KivrelError("Konnte Daten f\xFCr 'Ort' nicht holen"); }));
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("Error sending mail"); }));
    EXPECT_FALSE(RunGuarded([] { throw 42; }));
    ASSERT_EQ(boxes.shown().size(), 3u);
    for (const auto& s : boxes.shown())
        EXPECT_EQ(s.kind, MessageKind::GeneralError);
    EXPECT_EQ(boxes.texts()[0], "Konnte Daten f\xFCr 'Ort' nicht holen.");
    EXPECT_EQ(boxes.texts()[1], "Error sending mail.");
    EXPECT_EQ(boxes.texts()[2], "Unbekannter Fehler.");
}

TEST(ScriptedBoxes, AnswersInOrderThenTheDefaultAndRestoresThePrevious) {
    ScriptedBoxes outer;
    {
        ScriptedBoxes inner;
        inner.Answer(false);
        inner.defaultAnswer = true;
        EXPECT_FALSE(Confirm("a"));
        EXPECT_TRUE(Confirm("b"));
        EXPECT_TRUE(Boxes().Show(MessageKind::Warning, "c"));
        EXPECT_EQ(inner.texts(), (std::vector<std::string>{"a", "b", "c"}));
    }
    ShowBox(MessageKind::Warning, "d");
    EXPECT_EQ(outer.texts(), (std::vector<std::string>{"d"}));
}

}  // namespace
}  // namespace kivrel
