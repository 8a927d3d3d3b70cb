// The start-up dialogue at the main window's first activation, through the real windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/tfrmadvert.h"
#include "app/tfrmmain.h"
#include "base/messages.h"
#include "details/datefield.h"
#include "details/storeddetails.h"
#include "details/tfraabsenderperson.h"
#include "details/tfraabsenderverein.h"
#include "details/tfraturnier.h"
#include "details/tfrmwizzard.h"
#include "participants/tfrmteilnehmer.h"
#include "support/maildesktop.h"
#include "support/modalscript.h"

namespace kivrel {
namespace {

using namespace test;

const std::string kNoMailClient =
    "Es wurde kein Standard-Mailprogramm (MAPI) gefunden. Die Meldung kann nicht automatisch "
    "als Email erstellt werden. Wenn Sie bereits ein Email Programm verwenden, richten Sie es "
    "als Standard-MAPI Client ein, falls Sie Meldungen als Email erzeugen wollen.";

class StartUp : public testing::Test {
protected:
    // Shows the main window and waits until the dialogue's steps have all run.
    void Start(ModalScript& script) {
        main.show();
        // As the program does; a desktop would give the activation anyway.
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return script.Remaining() == 0; }, 20000));
        QApplication::processEvents();
    }

    // Fills the three pages and leaves the wizard with OK.
    static ModalScript::Step CompleteWizard(std::vector<QString>& order) {
        return [&order](QWidget& w) {
            auto& wizard = As<TfrmWizzard>(w);
            order.push_back(wizard.windowTitle());
            wizard.fraTurnier1->ediBezeichnung->setText(QStringLiteral("Stadtpokal 2026"));
            wizard.fraTurnier1->daeDatum->setValue(46095);
            wizard.fraTurnier1->ediOrt->setText(QStringLiteral("Musterstadt"));
            wizard.btnWeiter->click();
            wizard.fraAbsenderVerein1->ediBezeichnung->setText(QStringLiteral("TSV Musterstadt"));
            wizard.btnWeiter->click();
            wizard.fraAbsenderPerson1->ediNachname->setText(QStringLiteral("Berger"));
            wizard.btnWeiter->click();
            wizard.btnOK->click();
        };
    }

    static ModalScript::Step CloseWelcome(std::vector<QString>& order) {
        return [&order](QWidget& w) {
            order.push_back(As<TfrmAdvert>(w).windowTitle());
            As<TfrmAdvert>(w).btnOK->click();
        };
    }

    MailDesktop desktop;
    ScriptedBoxes boxes;
    TfrmMain main;
};

TEST_F(StartUp, WarningThenWelcomeThenTheEditorOnceOnly) {
    desktop.RemoveMailClient();
    std::vector<QString> order;
    ModalScript script;
    script.Then(CloseWelcome(order)).Then(CompleteWizard(order)).Then([&](QWidget& w) {
        order.push_back(w.windowTitle());
        // The warning came before any window.
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{kNoMailClient});
        QTest::keyClick(&w, Qt::Key_Escape);  // cancel the participant editor
    });
    Start(script);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], QStringLiteral("Willkommen"));
    EXPECT_EQ(order[1], QStringLiteral("Kivrel - Assistent"));
    // The details of the wizard stand in the main window.
    EXPECT_EQ(main.ediBezeichnung->text(), QStringLiteral("Stadtpokal 2026"));
    EXPECT_EQ(main.ediDatum->text(), QStringLiteral("14.03.2026"));
    EXPECT_EQ(main.ediVerein->text(), QStringLiteral("TSV Musterstadt, "));
    EXPECT_TRUE(qobject_cast<TfrmTeilnehmer*>(QApplication::activeModalWidget()) == nullptr);
    EXPECT_TRUE(main.Meldung().Teilnehmerliste.Empty());
    EXPECT_FALSE(main.actFertigstellen->isEnabled());
    EXPECT_FALSE(main.FirstActivation);

    // Coming back to the window runs nothing again.
    ModalScript none;
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::qWait(50);
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(StartUp, WithAMailClientAndTheWelcomeSwitchedOffTheEditorComesFirst) {
    WriteShowIntro(false);
    ModalScript script;
    bool editor = false;
    std::vector<QString> order;
    script.Then(CompleteWizard(order)).Then([&](QWidget& w) {
        editor = qobject_cast<TfrmTeilnehmer*>(&w) != nullptr;
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    Start(script);
    EXPECT_TRUE(editor);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(StartUp, ACancelledWizardEndsWithoutCloseQuestionOrThanks) {
    WriteShowIntro(false);
    ModalScript script;
    script.Then([](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); });  // confirmed
    Start(script);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main.isVisible(); }));
    EXPECT_TRUE(ExitConfirmed);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Soll der Kivrel wirklich beendet werden ?"});
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);  // no thank-you notice
    ExitConfirmed = false;
}

}  // namespace
}  // namespace kivrel
