// The start-up dialogue at the main window's first activation, through the real windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "app/tfrmadvert.h"
#include "app/tfrmmain.h"
#include "base/messages.h"
#include "details/storeddetails.h"
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
        ASSERT_TRUE(QTest::qWaitFor([&] { return script.Remaining() == 0; }, 20000));
        QApplication::processEvents();
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
    script.Then(CloseWelcome(order)).Then([&](QWidget& w) {
        order.push_back(w.windowTitle());
        // The warning came before any window.
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{kNoMailClient});
        QTest::keyClick(&w, Qt::Key_Escape);  // cancel the participant editor
    });
    Start(script);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], QStringLiteral("Willkommen"));
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
    script.Then([&](QWidget& w) {
        editor = qobject_cast<TfrmTeilnehmer*>(&w) != nullptr;
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    Start(script);
    EXPECT_TRUE(editor);
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
}  // namespace kivrel
