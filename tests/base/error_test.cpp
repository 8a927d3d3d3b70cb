#include "base/error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>

#include "base/cp1252.h"
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

// A German Linux gives the system's texts in UTF-8; the program's texts are Windows-1252.
TEST(SystemError, TheSystemsTextInTheUsersLanguageAsTheProgramsText) {
    const std::string messages = std::setlocale(LC_MESSAGES, nullptr);
    const std::string ctype = std::setlocale(LC_CTYPE, nullptr);
    if (!std::setlocale(LC_MESSAGES, "de_DE.UTF-8") || !std::setlocale(LC_CTYPE, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German UTF-8 locale here";
    EXPECT_EQ(SystemErrorText(EFBIG), Win1252("Die Datei ist zu groß"));
    std::setlocale(LC_MESSAGES, messages.c_str());
    std::setlocale(LC_CTYPE, ctype.c_str());
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
