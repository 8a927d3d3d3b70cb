#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

#include "app/tfrmmain.h"
#include "base/cp1252.h"
#include "base/error.h"
#include "details/datefield.h"
#include "details/storeddetails.h"
#include "details/tfraabsenderperson.h"
#include "details/tfraabsenderverein.h"
#include "details/tfraturnier.h"
#include "details/tfrmabsender.h"
#include "details/tfrmturnier.h"
#include "details/tfrmwizzard.h"
#include "details_ui_fixture.h"
#include "support/modalscript.h"

namespace kivrel {
namespace {

using namespace test;

const std::string kQuit = "Soll der Kivrel wirklich beendet werden ?";
const std::string kNoClub = "Bitte geben Sie den Vereinsnamen an.";
const std::string kNoSurname = "Bitte geben Sie Ihren Nachnamen an.";

class Dialogs : public DetailsUi {
protected:
    Dialogs() { ExitConfirmed = false; }
    ~Dialogs() override { ExitConfirmed = false; }

    static void StoreSender() {
        tVereinData club;
        club.Vereinsname = "Budo Club";
        club.Bezirk = "Nord";
        SaveVerein(club);
        tAbsenderData person;
        person.Vorname = "Jo";
        person.Nachname = "Nee";
        SaveAbsender(person);
    }
    static void StoreEvent() {
        tTurnierData event;
        event.Bezeichnung = "Pokal";
        event.Datum = 45731;
        event.Ort = "Bonn";
        SaveTurnier(event);
    }
};

// Zurück, Weiter, OK enabled; page shown.
void ExpectPage(const TfrmWizzard& w, int page, bool back, bool next, bool ok) {
    EXPECT_EQ(w.ntbWizzard->currentIndex(), page);
    EXPECT_EQ(w.btnzurueck->isEnabled(), back) << "page " << page;
    EXPECT_EQ(w.btnWeiter->isEnabled(), next) << "page " << page;
    EXPECT_EQ(w.btnOK->isEnabled(), ok) << "page " << page;
    EXPECT_TRUE(w.btnCancel->isEnabled());
}

void FillEvent(TfraTurnier& f) {
    f.ediBezeichnung->setText(QStringLiteral("Pokal"));
    f.daeDatum->setValue(45731);
    f.ediOrt->setText(QStringLiteral("Bonn"));
}

TEST_F(Dialogs, WizardFirstRunPagesChecksAndEnter) {
    TfrmWizzard w;
    w.show();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(w.focusWidget(), w.fraTurnier1->ediBezeichnung);
    EXPECT_EQ(w.fraAbsenderVerein1->ediBezeichnung->text(), QString());
    EXPECT_EQ(w.fraAbsenderPerson1->ediNachname->text(), QString());
    ExpectPage(w, 0, false, true, false);
    Screenshot(w, "wizard0");

    // Enter presses Weiter: the check fails and the page stays.
    Press(w, Qt::Key_Return);
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{"Bitte geben Sie die Turnierbezeichnung an."});
    ExpectPage(w, 0, false, true, false);

    FillEvent(*w.fraTurnier1);
    boxes.clear();
    Press(w, Qt::Key_Return);
    ExpectPage(w, 1, true, true, false);
    Screenshot(w, "wizard1");
    w.fraAbsenderVerein1->ediBezeichnung->setFocus();
    Press(w, Qt::Key_Return);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{kNoClub});
    EXPECT_EQ(w.focusWidget(), w.fraAbsenderVerein1->ediBezeichnung);
    Type(w, QStringLiteral("Budo"));
    boxes.clear();
    QTest::mouseClick(w.btnWeiter, Qt::LeftButton);
    ExpectPage(w, 2, true, true, false);
    Screenshot(w, "wizard2");
    QTest::mouseClick(w.btnWeiter, Qt::LeftButton);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{kNoSurname});
    EXPECT_EQ(w.focusWidget(), w.fraAbsenderPerson1->ediNachname);
    Type(w, QStringLiteral("Nee"));
    boxes.clear();
    Press(w, Qt::Key_Return);
    ExpectPage(w, 3, true, false, true);
    Screenshot(w, "wizard3");
    EXPECT_TRUE(boxes.shown().empty());

    // Back to the start without checks, then forward again through every check.
    w.fraAbsenderPerson1->ediNachname->clear();
    w.fraAbsenderVerein1->ediBezeichnung->clear();
    for (int page = 2; page >= 0; --page) {
        QTest::mouseClick(w.btnzurueck, Qt::LeftButton);
        ExpectPage(w, page, page > 0, true, false);
    }
    QTest::mouseClick(w.btnzurueck, Qt::LeftButton);  // disabled, nothing happens
    ExpectPage(w, 0, false, true, false);
    EXPECT_TRUE(boxes.shown().empty());
    QTest::mouseClick(w.btnWeiter, Qt::LeftButton);
    QTest::mouseClick(w.btnWeiter, Qt::LeftButton);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{kNoClub});
    ExpectPage(w, 1, true, true, false);
    w.hide();
}

TEST_F(Dialogs, WizardSecondRunShowsSenderNotEventAndStoresAllOnOk) {
    StoreSender();
    StoreEvent();
    tAbsenderData person;
    tVereinData club;
    tTurnierData event;
    int result = 0;
    ModalScript script;
    script.Then([&](QWidget& d) {
        auto& w = As<TfrmWizzard>(d);
        EXPECT_EQ(w.fraTurnier1->ediBezeichnung->text(), QString());
        EXPECT_EQ(w.fraTurnier1->daeDatum->value(), 0);
        EXPECT_EQ(w.fraAbsenderVerein1->ediBezeichnung->text(), QStringLiteral("Budo Club"));
        EXPECT_EQ(w.fraAbsenderPerson1->ediNachname->text(), QStringLiteral("Nee"));
        FillEvent(*w.fraTurnier1);
        w.fraTurnier1->ediOrt->setText(QStringLiteral("Köln"));
        w.fraTurnier1->ediBezeichnung->setFocus();
        for (int i = 0; i < 3; ++i)
            Press(w, Qt::Key_Return);
        ExpectPage(w, 3, true, false, true);
        Press(w, Qt::Key_Return);  // OK
    });
    TfrmWizzard w;
    result = w.Execute(person, club, event);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(person.Nachname, "Nee");
    EXPECT_EQ(club.Bezirk, "Nord");
    EXPECT_EQ(event.Ort, Win1252("Köln"));
    tTurnierData stored;
    LoadTurnier(stored);
    EXPECT_EQ(stored.Ort, Win1252("Köln"));
    EXPECT_EQ(stored.Datum, 45731);
    EXPECT_FALSE(ExitConfirmed);
}

TEST_F(Dialogs, WizardCancelAsksAndKeepsOrEnds) {
    tAbsenderData person;
    person.Nachname = "untouched";
    tVereinData club;
    tTurnierData event;
    ModalScript script;
    script.Then([&](QWidget& d) {
        auto& w = As<TfrmWizzard>(d);
        FillEvent(*w.fraTurnier1);
        QTest::mouseClick(w.btnWeiter, Qt::LeftButton);
        w.fraAbsenderVerein1->ediBezeichnung->setText(QStringLiteral("Budo"));
        QTest::mouseClick(w.btnWeiter, Qt::LeftButton);
        ExpectPage(w, 2, true, true, false);

        boxes.Answer(false);
        QTest::mouseClick(w.btnCancel, Qt::LeftButton);
        boxes.Answer(false);
        Press(w, Qt::Key_Escape);
        boxes.Answer(false);
        w.close();
        EXPECT_EQ(boxes.texts(), (std::vector<std::string>{kQuit, kQuit, kQuit}));
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(ExitConfirmed);
        ExpectPage(w, 2, true, true, false);
        EXPECT_EQ(w.fraAbsenderVerein1->ediBezeichnung->text(), QStringLiteral("Budo"));

        boxes.Answer(true);
        w.close();  // the close box
    });
    TfrmWizzard w;
    EXPECT_EQ(w.Execute(person, club, event), 2);
    EXPECT_TRUE(ExitConfirmed);
    EXPECT_EQ(person.Nachname, "untouched");
    EXPECT_EQ(club.Vereinsname, "");
    tVereinData stored;
    LoadVerein(stored);
    EXPECT_EQ(stored.Vereinsname, "");  // nothing saved
}

TEST_F(Dialogs, WizardOpensAfterAFailedLoadWithTheValuesBeforeIt) {
    WriteStore(
        "[HKEY_CURRENT_USER\\Software\\NORDALKE\\QVTR\\Absender]\n"
        "\"Vorname\"=\"Jo\"\n\"Ort\"=dword:00000001\n\n"
        "[HKEY_CURRENT_USER\\Software\\NORDALKE\\QVTR\\Verein]\n"
        "\"Vereinsname\"=\"Budo\"\n");
    TfrmWizzard w;
    w.show();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{Win1252("Ungültiger Datentyp für 'Ort'")});
    EXPECT_EQ(boxes.shown().at(0).kind, MessageKind::GeneralError);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.fraAbsenderPerson1->ediVorname->text(), QStringLiteral("Jo"));
    EXPECT_EQ(w.fraAbsenderVerein1->ediBezeichnung->text(), QString());  // skipped
    w.hide();
}

TEST_F(Dialogs, EventDialogShowsStoredEventAndChecksOnOk) {
    EXPECT_THROW(
        {
            tTurnierData event;
            EditTurnier(event);  // nothing stored: no "Datum", the dialog does not open
        },
        KivrelError);

    StoreEvent();
    tTurnierData event;
    event.Ort = "memory";
    ModalScript script;
    script.Then([&](QWidget& d) {
        auto& dialog = As<TfrmTurnier>(d);
        Screenshot(dialog, "turnier");
        EXPECT_EQ(dialog.fraTurnier1->ediOrt->text(), QStringLiteral("Bonn"));
        dialog.fraTurnier1->ediOrt->clear();
        dialog.fraTurnier1->ediBezeichnung->setFocus();
        Press(dialog, Qt::Key_Return);  // no default button
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        EXPECT_EQ(boxes.texts(),
                  std::vector<std::string>{"Bitte geben Sie den Veranstaltungsort an."});
        EXPECT_EQ(dialog.focusWidget(), dialog.fraTurnier1->ediOrt);
        EXPECT_TRUE(dialog.isVisible());
        Press(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(EditTurnier(event), 2);
    EXPECT_EQ(event.Ort, "memory");

    script.Then([&](QWidget& d) {
        auto& dialog = As<TfrmTurnier>(d);
        EXPECT_EQ(dialog.fraTurnier1->ediOrt->text(), QStringLiteral("Bonn"));
        dialog.fraTurnier1->ediOrt->setText(QStringLiteral("Ulm"));
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    });
    EXPECT_EQ(EditTurnier(event), 1);
    EXPECT_EQ(event.Ort, "Ulm");
    EXPECT_EQ(event.Bezeichnung, "Pokal");
    tTurnierData stored;
    LoadTurnier(stored);
    EXPECT_EQ(stored.Ort, "Ulm");
}

TEST_F(Dialogs, SenderDialogChecksClubThenPersonAndKeepsItsTab) {
    StoreSender();
    tAbsenderData person;
    tVereinData club;
    ModalScript script;
    script.Then([&](QWidget& d) {
        auto& dialog = As<TfrmAbsender>(d);
        auto& verein = *dialog.fraAbsenderVerein1;
        auto& absender = *dialog.fraAbsenderPerson1;
        EXPECT_EQ(dialog.PageControl1->currentWidget(), dialog.TabSheet1);
        Screenshot(dialog, "absender_verein");
        dialog.PageControl1->setCurrentWidget(dialog.TabSheet2);
        Screenshot(dialog, "absender_person");

        // Person in front, club name missing: the club warning, then Person in front again.
        verein.ediBezeichnung->clear();
        absender.ediNachname->clear();
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{kNoClub});
        EXPECT_EQ(dialog.PageControl1->currentWidget(), dialog.TabSheet2);
        EXPECT_EQ(dialog.focusWidget(), absender.ediVorname);

        // Verein in front, valid club, surname missing.
        verein.ediBezeichnung->setText(QStringLiteral("Budo Club"));
        dialog.PageControl1->setCurrentWidget(dialog.TabSheet1);
        boxes.clear();
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{kNoSurname});
        EXPECT_EQ(dialog.PageControl1->currentWidget(), dialog.TabSheet1);
        EXPECT_EQ(dialog.focusWidget(), verein.ediBezeichnung);

        // The failing field on the tab in front keeps the focus.
        dialog.PageControl1->setCurrentWidget(dialog.TabSheet2);
        boxes.clear();
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{kNoSurname});
        EXPECT_EQ(dialog.focusWidget(), absender.ediNachname);
        EXPECT_TRUE(dialog.isVisible());

        absender.ediNachname->setText(QStringLiteral("Neu"));
        verein.ediBezirk->setText(QStringLiteral("Süd"));
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    });
    EXPECT_EQ(EditAbsender(person, club), 1);
    EXPECT_EQ(person.Nachname, "Neu");
    EXPECT_EQ(club.Bezirk, Win1252("Süd"));
    tVereinData stored;
    LoadVerein(stored);
    EXPECT_EQ(stored.Bezirk, Win1252("Süd"));

    // Cancelled: nothing changes, and the next opening shows the stored values.
    script.Then([&](QWidget& d) {
        auto& dialog = As<TfrmAbsender>(d);
        dialog.fraAbsenderVerein1->ediBezirk->setText(QStringLiteral("West"));
        QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    });
    EXPECT_EQ(EditAbsender(person, club), 2);
    EXPECT_EQ(club.Bezirk, Win1252("Süd"));
    script.Then([&](QWidget& d) {
        auto& dialog = As<TfrmAbsender>(d);
        EXPECT_EQ(dialog.fraAbsenderVerein1->ediBezirk->text(), QStringLiteral("Süd"));
        dialog.close();
    });
    EXPECT_EQ(EditAbsender(person, club), 2);
}

TEST_F(Dialogs, MainWindowActionsRefreshItsFieldsOnlyOnOk) {
    TfrmMain main;
    main.actVeranstaltungBearbeitenExecute();  // nothing stored: the general error, no dialog
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{Win1252("Konnte Daten für 'Datum' nicht holen.")});

    StoreEvent();
    StoreSender();
    ModalScript script;
    script.Then([&](QWidget& d) {
        As<TfrmTurnier>(d).fraTurnier1->ediOrt->setText(QStringLiteral("Ulm"));
        QTest::mouseClick(As<TfrmTurnier>(d).btnOK, Qt::LeftButton);
    });
    main.actVeranstaltungBearbeitenExecute();
    EXPECT_EQ(main.ediOrt->text(), QStringLiteral("Ulm"));
    EXPECT_EQ(main.Meldung().Turnier.Ort, "Ulm");

    script.Then([&](QWidget& d) {
        As<TfrmAbsender>(d).fraAbsenderVerein1->ediBezirk->setText(QStringLiteral("West"));
        QTest::mouseClick(As<TfrmAbsender>(d).btnCancel, Qt::LeftButton);
    });
    main.actAbsenderBearbeitenExecute();
    EXPECT_FALSE(main.ediVerbaende->text().contains(QStringLiteral("West")));
    script.Then([&](QWidget& d) {
        As<TfrmAbsender>(d).fraAbsenderVerein1->ediBezirk->setText(QStringLiteral("West"));
        QTest::mouseClick(As<TfrmAbsender>(d).btnOK, Qt::LeftButton);
    });
    main.actAbsenderBearbeitenExecute();
    EXPECT_TRUE(main.ediVerbaende->text().contains(QStringLiteral("West")));
    EXPECT_TRUE(main.ediAdresse->text().contains(QStringLiteral("Nee")));
    EXPECT_EQ(main.Meldung().Verein.Bezirk, "West");
}

}  // namespace
}  // namespace kivrel
