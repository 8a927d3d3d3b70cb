#include "participants/tfrmaltersgruppe.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "base/cp1252.h"
#include "base/messages.h"
#include "support/modalscript.h"

namespace kivrel {
namespace {

using namespace test;

TEST(AgeGroupDialog, TypedAndPastedNamesKeepOnlyTheNameSet) {
    TfrmAltersgruppe dialog;
    dialog.show();
    ASSERT_EQ(dialog.focusWidget(), dialog.ediBezeichnung);

    Type(dialog, QStringLiteral("U 12/14"));
    EXPECT_EQ(dialog.ediBezeichnung->text(), QStringLiteral("U 1214"));

    dialog.ediBezeichnung->clear();
    Type(dialog, QStringLiteral("Jgd. A"));
    EXPECT_EQ(dialog.ediBezeichnung->text(), QStringLiteral("Jgd A"));
    Press(dialog, Qt::Key_Backspace);
    EXPECT_EQ(dialog.ediBezeichnung->text(), QStringLiteral("Jgd "));

    dialog.ediBezeichnung->clear();
    QApplication::clipboard()->setText(QStringLiteral("[U12].€ Jüngere Łódź"));
    Press(dialog, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog.ediBezeichnung->text(), QStringLiteral("U12 Jüngere ód"));

    // Pasted into the middle: the caret stays behind what was pasted.
    dialog.ediBezeichnung->setText(QStringLiteral("U12"));
    dialog.ediBezeichnung->setCursorPosition(1);
    QApplication::clipboard()->setText(QStringLiteral("/-"));
    Press(dialog, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog.ediBezeichnung->text(), QStringLiteral("U-12"));
    EXPECT_EQ(dialog.ediBezeichnung->cursorPosition(), 2);

    // At most 20 characters.
    dialog.ediBezeichnung->clear();
    Type(dialog, QStringLiteral("Jugend_männlich_bis_18"));
    EXPECT_EQ(dialog.ediBezeichnung->text(), QStringLiteral("Jugend_männlich_bis_"));
}

TEST(AgeGroupDialog, ChecksNameThenGenderAndStaysOpen) {
    ScriptedBoxes boxes;
    TfrmAltersgruppe dialog;
    dialog.show();

    Type(dialog, QStringLiteral("   "));
    Press(dialog, Qt::Key_Return);
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{"Bitte geben Sie die Bezeichnung der Altersgruppe an."});
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Warning);
    EXPECT_EQ(dialog.focusWidget(), dialog.ediBezeichnung);
    EXPECT_TRUE(dialog.isVisible());

    boxes.clear();
    Type(dialog, QStringLiteral("U14"));
    Press(dialog, Qt::Key_Return);
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{"Bitte geben Sie das Geschlecht der Altersgruppe an."});
    EXPECT_EQ(dialog.focusWidget(), dialog.cbbGeschlecht);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ediBezeichnung->text(), QStringLiteral("   U14"));
}

TEST(AgeGroupDialog, NewAgeGroupGivesNameAsTypedAndTheGenderLetter) {
    ScriptedBoxes boxes;
    ModalScript script;
    script.Then([](QWidget& w) {
        auto& dialog = As<TfrmAltersgruppe>(w);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Altersgruppe einfügen"));
        EXPECT_EQ(dialog.cbbGeschlecht->currentIndex(), -1);
        Type(dialog, QStringLiteral("  Senioren"));
        dialog.cbbGeschlecht->setCurrentIndex(2);
        Press(dialog, Qt::Key_Return);
    });
    std::unique_ptr<tAltersgruppe> group = NewAgeGroup();
    ASSERT_TRUE(group);
    EXPECT_EQ(group->Bezeichnung, "  Senioren");
    EXPECT_EQ(group->Geschlecht, "g");
    EXPECT_EQ(AgeGroupKey(*group), "  Senioren (g)");

    script.Then([](QWidget& w) {
        auto& dialog = As<TfrmAltersgruppe>(w);
        Type(dialog, QStringLiteral("U14"));
        dialog.cbbGeschlecht->setCurrentIndex(1);
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    });
    group = NewAgeGroup();
    ASSERT_TRUE(group);
    EXPECT_EQ(group->Geschlecht, "m");

    script.Then([](QWidget& w) {
        Type(w, QStringLiteral("U16"));
        Press(w, Qt::Key_Escape);
    });
    EXPECT_FALSE(NewAgeGroup());
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
}  // namespace kivrel
