// A whole typical run through the real windows, typed as a user types it: the start-up
// dialogue, three participants in one series, finishing through the real save dialog, files
// and xdg-email, and the end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "app/tfrmadvert.h"
#include "app/tfrmmain.h"
#include "base/cp1252.h"
#include "base/messages.h"
#include "details/datefield.h"
#include "details/tfraabsenderperson.h"
#include "details/tfraabsenderverein.h"
#include "details/tfraturnier.h"
#include "details/tfrmwizzard.h"
#include "participants/tfrmaltersgruppe.h"
#include "participants/tfrmteilnehmer.h"
#include "support/exampleentry.h"
#include "support/maildesktop.h"
#include "support/modalscript.h"
#include "support/runsteps.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;
using namespace test;

TEST(WholeRun, FromStartThroughTheSeriesAndFinishingToTheThankYouNotice) {
    MailDesktop desktop;
    desktop.RemoveMailClient();  // set up only while the program runs, below
    ScriptedBoxes boxes;
    const fs::path folder = desktop.dir().path() / "Meldungen";
    fs::create_directory(folder);
    TfrmMain main;
    std::vector<QString> seen;

    {
        ModalScript script;
        script
            .Then([&](QWidget& w) {
                seen.push_back(w.windowTitle());
                Press(w, Qt::Key_Return);  // the welcome notice's OK
            })
            .Then([&](QWidget& w) {
                seen.push_back(w.windowTitle());
                TypeWizard(As<TfrmWizzard>(w));
            })
            .Then([&](QWidget& w) {
                // The first participant: entering the empty list asks for the first group.
                auto& editor = As<TfrmTeilnehmer>(w);
                seen.push_back(w.windowTitle());
                TypeNames(editor, QStringLiteral("Adler"), QStringLiteral("Ben"));
                QApplication::processEvents();
                Activate(editor);
                EXPECT_EQ(editor.cbbAltersgruppe->currentText(), QStringLiteral("U12 (m)"));
                TypeRest(editor, QStringLiteral("2015"), 4, QStringLiteral("-30"));  // 7. Kyu
                Press(editor, Qt::Key_Return);  // OK, and the next one
            })
            .Then(NewGroup(QStringLiteral("U12"), 2))
            .Then(TypeParticipant(QStringLiteral("Kurz"), QStringLiteral("Tim"), 1,
                                  QStringLiteral("2014"), 0, QStringLiteral("+50")))
            .Then([](QWidget& w) {
                auto& editor = As<TfrmTeilnehmer>(w);
                TypeNames(editor, QStringLiteral("Lange"), QStringLiteral("Mia"));
                QTest::mouseClick(editor.SpeedButton1, Qt::LeftButton);  // a second group
                Activate(editor);
                EXPECT_EQ(editor.cbbAltersgruppe->currentText(), QStringLiteral("U15 (w)"));
                TypeRest(editor, QStringLiteral("2012"), 1, QStringLiteral("-44"));  // [unbekannt]
                QTest::mouseClick(editor.btnOK, Qt::LeftButton);                     // the last one
            })
            .Then(NewGroup(QStringLiteral("U15"), 1));
        main.show();
        // As the program does; a desktop would give the activation anyway.
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return script.Remaining() == 0; }, 30000));
        QApplication::processEvents();
    }
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], QStringLiteral("Willkommen"));
    EXPECT_EQ(seen[1], QStringLiteral("Kivrel - Assistent"));
    EXPECT_EQ(boxes.texts().size(), 1u);  // the missing mail client, before any window
    EXPECT_EQ(main.ediBezeichnung->text(), QStringLiteral("Stadtpokal 2026"));
    EXPECT_EQ(main.stgTeilnehmer2->model()->rowCount(), 3);
    EXPECT_EQ(main.Meldung().Altersgruppenliste.Count(), 2);

    // The user has set up a mail client meanwhile; finishing looks again.
    desktop.env().Set("MAILER", desktop.dir().file("mailer"));
    {
        ModalScript script;
        script.Then(TypeFileName((folder / "Stadtpokal").string()));
        Activate(main);
        QTest::mouseClick(main.ToolBar1->widgetForAction(main.actFertigstellen), Qt::LeftButton);
    }
    const std::string u12 = (folder / "StadtpokalU12 (m).tv4").string();
    const std::string u15 = (folder / "StadtpokalU15 (w).tv4").string();
    EXPECT_EQ(Snapshot(folder),
              (std::map<std::string, std::string>{{"StadtpokalU12 (m).tv4", ExampleFileU12()},
                                                  {"StadtpokalU15 (w).tv4", ExampleFileU15()}}));
    const Mailto mail = desktop.Received();
    EXPECT_EQ(mail.to, "meldung@example.org");
    EXPECT_EQ(mail.all("subject"), std::vector<std::string>{ExampleMailSubject()});
    std::string body;
    for (const std::string& line : ExampleMailLines())
        body += line + "\r\n";
    EXPECT_EQ(mail.all("body"), std::vector<std::string>{body});
    EXPECT_EQ(mail.all("attach"), (std::vector<std::string>{u12, u15}));

    {
        ModalScript script;
        bool thanked = false;
        script.Then([&](QWidget& w) {
            auto& notice = As<TfrmAdvert>(w);
            thanked = notice.lblUeberschrift->text().startsWith(QStringLiteral("Vielen Dank"));
            QTest::mouseClick(notice.btnOK, Qt::LeftButton);
        });
        main.Beenden2->trigger();
        EXPECT_TRUE(thanked);
    }
    EXPECT_FALSE(main.isVisible());
    ASSERT_EQ(boxes.texts().size(), 2u);
    EXPECT_EQ(boxes.texts()[1], "Soll der Kivrel wirklich beendet werden ?");
}

}  // namespace
}  // namespace kivrel
