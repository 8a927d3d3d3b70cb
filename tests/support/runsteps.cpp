#include "support/runsteps.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "details/datefield.h"
#include "details/tfraabsenderperson.h"
#include "details/tfraabsenderverein.h"
#include "details/tfraturnier.h"
#include "details/tfrmwizzard.h"
#include "participants/tfrmaltersgruppe.h"
#include "participants/tfrmteilnehmer.h"

namespace kivrel::test {

void Fill(QLineEdit* field, const QString& text) {
    field->setFocus();
    Type(*field->window(), text);
}

void Choose(QWidget& window, int steps) {
    for (int i = 0; i < steps; ++i)
        Press(window, Qt::Key_Down);
}

void TypeEventPage(TfrmWizzard& wizard) {
    Fill(wizard.fraTurnier1->ediBezeichnung, QStringLiteral("Stadtpokal 2026"));
    Fill(wizard.fraTurnier1->daeDatum, QStringLiteral("14032026"));
    Fill(wizard.fraTurnier1->ediOrt, QStringLiteral("Musterstadt"));
    Fill(wizard.fraTurnier1->ediEmail, QStringLiteral("meldung@example.org"));
    QTest::mouseClick(wizard.btnWeiter, Qt::LeftButton);
}

void TypeWizardWithStoredSender(TfrmWizzard& wizard) {
    TypeEventPage(wizard);
    QTest::mouseClick(wizard.btnWeiter, Qt::LeftButton);
    QTest::mouseClick(wizard.btnWeiter, Qt::LeftButton);
    QTest::mouseClick(wizard.btnOK, Qt::LeftButton);
}

void TypeWizard(TfrmWizzard& wizard) {
    TypeEventPage(wizard);

    TfraAbsenderVerein& club = *wizard.fraAbsenderVerein1;
    Fill(club.ediBezeichnung, QStringLiteral("TSV Musterstadt"));
    Fill(club.ediVereinsnummer, QStringLiteral("0815"));
    Fill(club.ediKreis, QStringLiteral("Nordkreis"));
    Fill(club.ediBezirk, QStringLiteral("Ost"));
    Fill(club.ediLand, QStringLiteral("Nordland"));
    Fill(club.ediNation, QStringLiteral("GER"));
    QTest::mouseClick(wizard.btnWeiter, Qt::LeftButton);

    TfraAbsenderPerson& person = *wizard.fraAbsenderPerson1;
    Fill(person.ediVorname, QStringLiteral("Anna"));
    Fill(person.ediNachname, QStringLiteral("Berger"));
    Fill(person.ediStrasse, QStringLiteral("Hauptstr. 1"));
    Fill(person.ediplz, QStringLiteral("12345"));
    Fill(person.ediOrt, QStringLiteral("Musterstadt"));
    Fill(person.editelp, QStringLiteral("01234 5678"));
    QTest::mouseClick(wizard.btnWeiter, Qt::LeftButton);
    QTest::mouseClick(wizard.btnOK, Qt::LeftButton);
}

void TypeNames(TfrmTeilnehmer& editor, const QString& nachname, const QString& vorname) {
    EXPECT_EQ(QApplication::focusWidget(), editor.ediNachname);
    Type(editor, nachname);
    Press(editor, Qt::Key_Tab);
    Type(editor, vorname);
    Press(editor, Qt::Key_Tab);
}

void TypeRest(TfrmTeilnehmer& editor, const QString& jahrgang, int gradeSteps,
              const QString& gewicht) {
    editor.cbbAltersgruppe->setFocus();
    Press(editor, Qt::Key_Tab);
    if (QApplication::focusWidget() == editor.SpeedButton1)
        Press(editor, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor.ediJahrgang);
    Type(editor, jahrgang);
    Press(editor, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor.cbbGraduierung);
    Choose(editor, gradeSteps);
    Press(editor, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor.ediGewicht);
    Type(editor, gewicht);
}

ModalScript::Step NewGroup(const QString& name, int genderSteps) {
    return [name, genderSteps](QWidget& w) {
        auto& dialog = As<TfrmAltersgruppe>(w);
        Type(dialog, name);
        Press(dialog, Qt::Key_Tab);
        Choose(dialog, genderSteps);
        Press(dialog, Qt::Key_Return);
    };
}

ModalScript::Step TypeParticipant(const QString& nachname, const QString& vorname, int groupSteps,
                                  const QString& jahrgang, int gradeSteps, const QString& gewicht) {
    return [=](QWidget& w) {
        auto& editor = As<TfrmTeilnehmer>(w);
        TypeNames(editor, nachname, vorname);
        Choose(editor, groupSteps);
        TypeRest(editor, jahrgang, gradeSteps, gewicht);
        Press(editor, Qt::Key_Return);
    };
}

}  // namespace kivrel::test
