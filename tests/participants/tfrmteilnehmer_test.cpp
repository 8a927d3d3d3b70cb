#include "participants/tfrmteilnehmer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "base/cp1252.h"
#include "base/messages.h"
#include "support/modalscript.h"
#include "participants/tfrmaltersgruppe.h"

namespace kivrel {
namespace {

using namespace test;

const std::string kNamesMissing = "Bitte geben Sie Vor- und Nachnamen des Teilnehmers an.";
const std::string kNoAgeGroup =
    Win1252("Bitte wählen die Altersgruppe aus, in der Teilnehmer starten soll.");
const std::string kBadYear = "Bitte geben Sie das Geburtsjahr vierstellig ein.";
const std::string kBadWeight =
    Win1252("Bitte geben Sie eine gültige Gewichtsklasse z.B. (-30,+100) an.");

void AddGroup(tAltersgruppenliste& list, const char* name, const char* gender) {
    auto group = std::make_unique<tAltersgruppe>(tAltersgruppe{name, gender});
    const std::string key = AgeGroupKey(*group);
    list.Add(key, std::move(group));
}

// The grid as the main window passes it: headings, then one row per participant.
tGridNames Grid(std::initializer_list<std::pair<const char*, const char*>> names) {
    tGridNames grid{{"Nachname"}, {"Vorname"}};
    for (const auto& [nachname, vorname] : names) {
        grid.Nachname.push_back(Win1252(nachname));
        grid.Vorname.push_back(Win1252(vorname));
    }
    return grid;
}

// Fills the dialog with a participant that passes every check.
void TypeValid(TfrmTeilnehmer& dialog, const QString& nachname, const QString& vorname) {
    dialog.ediNachname->setFocus();
    Type(dialog, nachname);
    Press(dialog, Qt::Key_Tab);
    Type(dialog, vorname);
    dialog.cbbAltersgruppe->setCurrentIndex(0);
    dialog.ediGewicht->setFocus();
    Type(dialog, QStringLiteral("-30"));
    dialog.ediNachname->setFocus();
}

class ParticipantEditor : public testing::Test {
protected:
    ParticipantEditor() {
        AddGroup(groups, "U14", "m");
        AddGroup(groups, "U14", "w");
    }

    ScriptedBoxes boxes;
    tAltersgruppenliste groups;
};

TEST_F(ParticipantEditor, SixChecksInOrderWithTheirMessagesAndFocus) {
    TfrmTeilnehmer dialog(groups);
    dialog.ExistingNames = NamePairs(Grid({{"Müller", "Anna"}}), -1);
    dialog.FillAgeGroups(-1);
    dialog.show();
    const auto check = [&](const std::string& message, QWidget* focus) {
        boxes.clear();
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{message});
        EXPECT_EQ(dialog.focusWidget(), focus);
        EXPECT_TRUE(dialog.isVisible());
    };

    dialog.ediNachname->setText(QStringLiteral("  "));
    check(kNamesMissing, dialog.ediNachname);
    dialog.ediNachname->setText(QStringLiteral(" müller "));
    dialog.ediVorname->setText(QStringLiteral("  "));
    check(kNamesMissing, dialog.ediVorname);
    dialog.ediVorname->setText(QStringLiteral("anna "));
    check(Win1252("Der Teilnehmer anna   müller  wurde bereits eingegeben."), dialog.ediVorname);
    dialog.ediVorname->setText(QStringLiteral("Max"));
    check(kNoAgeGroup, dialog.cbbAltersgruppe);
    dialog.cbbAltersgruppe->setCurrentIndex(1);

    const QString nextYear = QString::number(QDate::currentDate().year() + 1);
    for (const QString& year : {QStringLiteral("1899"), nextYear, QStringLiteral("199"),
                                QStringLiteral("19a5"), QStringLiteral("2")}) {
        dialog.ediJahrgang->setText(year);
        check(kBadYear, dialog.ediJahrgang);
    }
    dialog.ediJahrgang->setText(QStringLiteral("1900"));
    check(kBadWeight, dialog.ediGewicht);  // empty while both boxes are clear
    dialog.ediGewicht->setText(QStringLiteral("-5"));
    check(kBadWeight, dialog.ediGewicht);
    dialog.ediGewicht->setText(QStringLiteral("30kg"));  // as pasted
    check(kBadWeight, dialog.ediGewicht);

    dialog.ediJahrgang->setText(QString::number(QDate::currentDate().year()));
    dialog.ediGewicht->setText(QStringLiteral("+100"));
    boxes.clear();
    EXPECT_TRUE(dialog.CheckInput());
    dialog.ediJahrgang->clear();
    EXPECT_TRUE(dialog.CheckInput());
    EXPECT_TRUE(boxes.shown().empty());
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), TfrmTeilnehmer::mrOk);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ParticipantEditor, WeightKeyRule) {
    TfrmTeilnehmer dialog(groups);
    dialog.show();
    QLineEdit* weight = dialog.ediGewicht;
    weight->setFocus();

    Type(dialog, QStringLiteral("3"));
    EXPECT_EQ(weight->text(), QString());
    Type(dialog, QStringLiteral("-3+0"));
    EXPECT_EQ(weight->text(), QStringLiteral("-30"));
    Press(dialog, Qt::Key_Home);
    Type(dialog, QStringLiteral("5"));
    EXPECT_EQ(weight->text(), QStringLiteral("-30"));
    Press(dialog, Qt::Key_End);
    Type(dialog, QStringLiteral("05"));  // the fifth character exceeds the limit
    EXPECT_EQ(weight->text(), QStringLiteral("-300"));

    weight->selectAll();
    Press(dialog, Qt::Key_Backspace);
    EXPECT_EQ(weight->text(), QStringLiteral("-300"));
    Press(dialog, Qt::Key_Delete);
    EXPECT_EQ(weight->text(), QString());
    Type(dialog, QStringLiteral("+1"));
    Press(dialog, Qt::Key_Backspace);
    Press(dialog, Qt::Key_Backspace);
    Type(dialog, QStringLiteral("-"));
    EXPECT_EQ(weight->text(), QStringLiteral("-"));
}

TEST_F(ParticipantEditor, DoubleQuotesNeverStayInNamesOrYear) {
    TfrmTeilnehmer dialog(groups);
    dialog.show();
    for (QLineEdit* edit : {dialog.ediNachname, dialog.ediVorname, dialog.ediJahrgang}) {
        edit->setFocus();
        Type(dialog, QStringLiteral("1\"9"));
        EXPECT_EQ(edit->text(), QStringLiteral("19"));
        // The year's limit of four cuts a longer paste before its quotes go.
        QApplication::clipboard()->setText(QStringLiteral("\"8\"0"));
        edit->setCursorPosition(1);
        Press(dialog, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(),
                  edit == dialog.ediJahrgang ? QStringLiteral("189") : QStringLiteral("1809"));
        EXPECT_EQ(edit->cursorPosition(), edit == dialog.ediJahrgang ? 2 : 3);
    }
    // Only the quote: other characters, even letters in the year, are for the checks.
    dialog.ediJahrgang->clear();
    dialog.ediJahrgang->setFocus();
    Type(dialog, QStringLiteral("19a5"));
    EXPECT_EQ(dialog.ediJahrgang->text(), QStringLiteral("19a5"));
    dialog.ediNachname->clear();
    dialog.ediNachname->setFocus();
    Type(dialog, QStringLiteral("O'Brien-Łęcka"));
    EXPECT_EQ(dialog.ediNachname->text(), QStringLiteral("O'Brien-cka"));
}

TEST_F(ParticipantEditor, NewModeTrimsNamesAndEnterMeansOkAndContinue) {
    ModalScript script;
    script.Then([](QWidget& w) {
        auto& dialog = As<TfrmTeilnehmer>(w);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Teilnehmer einfügen"));
        EXPECT_TRUE(dialog.btnContinue->isVisible());
        EXPECT_FALSE(dialog.chbKata->isVisible());
        EXPECT_FALSE(dialog.chbAllkategorie->isVisible());
        EXPECT_EQ(dialog.focusWidget(), dialog.ediNachname);
        EXPECT_EQ(dialog.cbbAltersgruppe->count(), 2);
        EXPECT_EQ(dialog.cbbAltersgruppe->currentIndex(), -1);
        EXPECT_EQ(dialog.cbbGraduierung->count(), 23);
        EXPECT_EQ(dialog.cbbGraduierung->currentIndex(), -1);
        TypeValid(dialog, QStringLiteral("  Meier  "), QStringLiteral(" Jörg"));
        dialog.cbbGraduierung->setCurrentIndex(10);
        dialog.ediJahrgang->setFocus();
        Type(dialog, QStringLiteral("2010"));
        Press(dialog, Qt::Key_Return);
    });
    bool again = false;
    std::unique_ptr<tTeilnehmer> t = NewParticipant(Grid({{"Schmidt", "Anna"}}), groups, again);
    ASSERT_TRUE(t);
    EXPECT_TRUE(again);
    EXPECT_TRUE(t->Confirmed);
    EXPECT_EQ(t->Nachname, "Meier");
    EXPECT_EQ(t->Vorname, Win1252("Jörg"));
    EXPECT_EQ(t->Altersgruppe, "U14 (m)");
    EXPECT_EQ(t->Jahrgang, "2010");
    EXPECT_EQ(t->Graduierung, 10);
    EXPECT_EQ(t->Gewicht, "-30");
    EXPECT_FALSE(t->Kata);
    EXPECT_FALSE(t->Allkategorie);

    script.Then([](QWidget& w) {
        auto& dialog = As<TfrmTeilnehmer>(w);
        TypeValid(dialog, QStringLiteral("Berg"), QStringLiteral("Jan"));
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    });
    t = NewParticipant(Grid({}), groups, again);
    ASSERT_TRUE(t);
    EXPECT_FALSE(again);

    script.Then([](QWidget& w) {
        TypeValid(As<TfrmTeilnehmer>(w), QStringLiteral("Berg"), QStringLiteral("Jan"));
        Press(w, Qt::Key_Escape);
    });
    EXPECT_FALSE(NewParticipant(Grid({}), groups, again));
    EXPECT_FALSE(again);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ParticipantEditor, DuplicateInNewModeNamesTheParticipantAsTyped) {
    ModalScript script;
    script.Then([&](QWidget& w) {
        auto& dialog = As<TfrmTeilnehmer>(w);
        TypeValid(dialog, QStringLiteral("müller"), QStringLiteral("anna"));
        Press(dialog, Qt::Key_Return);
        EXPECT_EQ(boxes.texts(),
                  std::vector<std::string>{Win1252("Der Teilnehmer anna müller wurde bereits "
                                                   "eingegeben.")});
        EXPECT_TRUE(dialog.isVisible());
        dialog.ediVorname->setText(QStringLiteral("Max"));
        Press(dialog, Qt::Key_Return);
    });
    bool again = false;
    std::unique_ptr<tTeilnehmer> t =
        NewParticipant(Grid({{"Müller", "Anna"}, {"Schmidt", "Max"}}), groups, again);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Vorname, "Max");
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(ParticipantEditor, EditModeKeepsBlanksIgnoresItselfAndEnterInAFieldDoesNothing) {
    tTeilnehmer t{false, "Anna", Win1252("Müller"), "U14 (w)", "2011", 0, "+40", true, false};
    const tGridNames grid = Grid({{"Berg", "Jan"}, {"Müller", "Anna"}});

    ModalScript script;
    script.Then([&](QWidget& w) {
        auto& dialog = As<TfrmTeilnehmer>(w);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Teilnehmer einfügen"));
        EXPECT_FALSE(dialog.btnContinue->isVisible());
        EXPECT_FALSE(dialog.chbAllkategorie->isVisible());
        EXPECT_EQ(dialog.ediNachname->text(), QStringLiteral("Müller"));
        EXPECT_EQ(dialog.cbbAltersgruppe->currentText(), QStringLiteral("U14 (w)"));
        EXPECT_EQ(dialog.cbbGraduierung->currentText(), QStringLiteral("[unbekannt]"));
        EXPECT_TRUE(dialog.chbAllkategorie->isChecked());

        // Enter in a field: the default button is hidden, so nothing happens.
        Press(dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(boxes.shown().empty());

        // Its own names are no duplicate; those of another participant are.
        dialog.ediNachname->setText(QStringLiteral("berg"));
        dialog.ediVorname->setText(QStringLiteral("jan"));
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        EXPECT_EQ(boxes.texts(),
                  std::vector<std::string>{"Der Teilnehmer jan berg wurde bereits eingegeben."});
        ASSERT_TRUE(dialog.isVisible());

        dialog.ediNachname->setText(QStringLiteral("  Meier  "));
        dialog.ediVorname->setText(QStringLiteral("Anna"));
        dialog.ediGewicht->clear();  // passes: the hidden open-class box is ticked
        // Enter on the focused OK button presses it.
        dialog.btnOK->setFocus();
        Press(dialog, Qt::Key_Return);
    });
    tTeilnehmer& same = EditParticipant(t, grid, 1, groups);
    EXPECT_EQ(&same, &t);
    EXPECT_TRUE(t.Confirmed);
    EXPECT_EQ(t.Nachname, "  Meier  ");
    EXPECT_EQ(t.Gewicht, "");
    EXPECT_EQ(t.Altersgruppe, "U14 (w)");
    EXPECT_EQ(t.Graduierung, 0);

    script.Then([](QWidget& w) {
        auto& dialog = As<TfrmTeilnehmer>(w);
        dialog.ediNachname->setText(QStringLiteral("Anders"));
        Press(dialog, Qt::Key_Escape);
    });
    EditParticipant(t, grid, 1, groups);
    EXPECT_FALSE(t.Confirmed);
    EXPECT_EQ(t.Nachname, "  Meier  ");
}

TEST_F(ParticipantEditor, EnteringTheEmptyAgeGroupListOpensTheAgeGroupDialogOnce) {
    tAltersgruppenliste none;
    ModalScript script;
    script
        .Then([&](QWidget& w) {
            auto& dialog = As<TfrmTeilnehmer>(w);
            dialog.ediNachname->setText(QStringLiteral("Berg"));
            dialog.ediVorname->setFocus();
            Type(dialog, QStringLiteral("Jan"));
            Press(dialog, Qt::Key_Tab);
            QApplication::processEvents();  // the age-group dialog opens and is cancelled
            EXPECT_EQ(dialog.cbbAltersgruppe->count(), 0);
            // Getting the focus back with the window opens nothing.
            Activate(dialog);
            QApplication::processEvents();
            EXPECT_EQ(QApplication::focusWidget(), dialog.cbbAltersgruppe);
            Press(dialog, Qt::Key_Return);
            EXPECT_EQ(boxes.texts(), std::vector<std::string>{kNoAgeGroup});

            // Leaving and entering again is entering: now the user makes one.
            dialog.ediVorname->setFocus();
            ASSERT_EQ(QApplication::focusWidget(), dialog.ediVorname);
            Press(dialog, Qt::Key_Tab);
            QApplication::processEvents();
            Activate(dialog);
            EXPECT_EQ(dialog.cbbAltersgruppe->currentText(), QStringLiteral("U12 (w)"));
            ASSERT_EQ(none.Count(), 1);

            // A second group under a key that is taken selects the one there.
            QTest::mouseClick(dialog.SpeedButton1, Qt::LeftButton);
            EXPECT_EQ(none.Count(), 2);
            EXPECT_EQ(dialog.cbbAltersgruppe->currentText(), QStringLiteral("U10 (g)"));
            QTest::mouseClick(dialog.SpeedButton1, Qt::LeftButton);
            EXPECT_EQ(none.Count(), 2);
            EXPECT_EQ(none.Object(1).Bezeichnung, "U12");
            EXPECT_EQ(dialog.cbbAltersgruppe->currentText(), QStringLiteral("U12 (w)"));
            EXPECT_EQ(dialog.cbbAltersgruppe->currentIndex(), 1);
            Press(dialog, Qt::Key_Escape);
        })
        .Then([](QWidget& w) { Press(As<TfrmAltersgruppe>(w), Qt::Key_Escape); })
        .Then([](QWidget& w) {
            auto& dialog = As<TfrmAltersgruppe>(w);
            Type(dialog, QStringLiteral("U12"));
            dialog.cbbGeschlecht->setCurrentIndex(0);
            Press(dialog, Qt::Key_Return);
        })
        .Then([](QWidget& w) {
            auto& dialog = As<TfrmAltersgruppe>(w);
            Type(dialog, QStringLiteral("U10"));
            dialog.cbbGeschlecht->setCurrentIndex(2);
            Press(dialog, Qt::Key_Return);
        })
        .Then([](QWidget& w) {
            auto& dialog = As<TfrmAltersgruppe>(w);
            Type(dialog, QStringLiteral("u12"));
            dialog.cbbGeschlecht->setCurrentIndex(0);
            Press(dialog, Qt::Key_Return);
        });
    bool again = true;
    EXPECT_FALSE(NewParticipant(Grid({}), none, again));
    EXPECT_FALSE(again);
    // Made in a cancelled editor, the groups stay.
    EXPECT_EQ(none.Count(), 2);
}

}  // namespace
}  // namespace kivrel
