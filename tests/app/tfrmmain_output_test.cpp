// Finishing and printing from the main window, through the real save dialog, files,
// xdg-email and PDF printer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QTest>
#include <QToolBar>

#include "app/tfrmmain.h"
#include "base/cp1252.h"
#include "base/messages.h"
#include "output/mailtext.h"
#include "support/maildesktop.h"
#include "support/modalscript.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;
using namespace test;

class MainOutput : public testing::Test {
protected:
    MainOutput() {
        fs::create_directory(dir() / "Meldungen");
        main.show();
        main.FirstActivation = false;  // no start-up dialogue here
        tMeldung& m = main.Meldung();
        m.Turnier = {"Stadtpokal 2026", 46095, "Musterstadt", "meldung@pokal.example"};
        m.Verein.Vereinsname = "TSV Musterstadt";
        m.Absender.Nachname = "Berger";
        for (const auto& [name, group] : {std::pair{"Adler", "U12 (m)"}, {"Lange", "U15 (w)"}}) {
            auto g = std::make_unique<tAltersgruppe>(
                tAltersgruppe{std::string(group).substr(0, 3), std::string(1, group[5])});
            m.Altersgruppenliste.Add(group, std::move(g));
            auto t = std::make_unique<tTeilnehmer>();
            t->Nachname = name;
            t->Vorname = "Kim";
            t->Altersgruppe = group;
            const std::string key = ParticipantKey(*t);
            m.Teilnehmerliste.AddDistinct(key, std::move(t));
        }
        main.FillParticipantGrid(0);
        main.UpdateParticipantActions();
    }

    fs::path dir() const { return desktop.dir().path(); }
    std::string File(const std::string& name) const {
        return (dir() / "Meldungen" / name).string();
    }

    MailDesktop desktop;
    ScriptedBoxes boxes;
    TfrmMain main;
};

TEST_F(MainOutput, FinishingWritesTheFilesAndHandsTheMailThenProposesTheNameAgain) {
    {
        ModalScript script;
        QString proposed;
        script.Then(
            TypeFileName(File("Stadtpokal"), &proposed));  // no extension: the dialog adds it
        main.actFertigstellen->trigger();
        EXPECT_EQ(proposed, QStringLiteral("*.tv4"));
    }
    EXPECT_TRUE(fs::exists(File("StadtpokalU12 (m).tv4")));
    EXPECT_TRUE(fs::exists(File("StadtpokalU15 (w).tv4")));
    const Mailto mail = desktop.Received();
    EXPECT_EQ(mail.to, "meldung@pokal.example");
    EXPECT_EQ(mail.all("attach"), (std::vector<std::string>{File("StadtpokalU12 (m).tv4"),
                                                            File("StadtpokalU15 (w).tv4")}));
    EXPECT_TRUE(boxes.shown().empty());

    // The second finishing proposes the name and asks about both files; "&Nein" keeps them.
    test::WriteFileBytes(File("StadtpokalU12 (m).tv4"), "alt");
    boxes.Answer(false);
    ModalScript script;
    QString proposed;
    script.Then([&](QWidget& w) {
        auto* name = As<QFileDialog>(w).findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        proposed = name->text();
        QTest::keyClick(name, Qt::Key_Return);
    });
    main.actFertigstellenExecute();
    EXPECT_EQ(proposed, QStringLiteral("Stadtpokal.tv4"));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Replace);
    EXPECT_EQ(boxes.texts()[0], File("StadtpokalU12 (m).tv4") + ", " +
                                    File("StadtpokalU15 (w).tv4") +
                                    " sind bereits vorhanden.\rVorhandene Dateien ersetzen ?");
    EXPECT_EQ(test::ReadFileBytes(File("StadtpokalU12 (m).tv4")), "alt");
}

TEST_F(MainOutput, CancellingTheSaveDialogDoesNothingAndAWriteErrorReachesTheErrorBox) {
    {
        ModalScript script;
        script.Then([](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); });
        main.actFertigstellenExecute();
    }
    EXPECT_TRUE(fs::is_empty(dir() / "Meldungen"));
    EXPECT_TRUE(boxes.shown().empty());

    fs::create_directory(File("StadtpokalU15 (w).tv4"));
    fs::create_directory(File("StadtpokalU15 (w).tv4") + "/inhalt");
    ModalScript script;
    script.Then(TypeFileName(File("Stadtpokal.tv4")));
    main.actFertigstellenExecute();  // the question is answered "&Ja" by default
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].kind, MessageKind::GeneralError);
    EXPECT_EQ(boxes.texts()[1],
              "nach " + File("StadtpokalU15 (w).tv4") + " kann nicht geschrieben werden.");
    EXPECT_FALSE(desktop.MailArrived());
}

TEST_F(MainOutput, PrintingIntoAPdfAndAFailedPrintBothLeaveTheToolBarOn) {
    main.Printer().setOutputFormat(QPrinter::PdfFormat);
    main.Printer().setOutputFileName(QString::fromStdString((dir() / "liste.pdf").string()));
    main.actDrucken->trigger();
    EXPECT_GT(fs::file_size(dir() / "liste.pdf"), 1000u);
    EXPECT_TRUE(main.ToolBar1->isEnabled());
    EXPECT_TRUE(boxes.shown().empty());

    main.Printer().setOutputFileName(QString::fromStdString((dir() / "fehlt" / "l.pdf").string()));
    main.actDruckenExecute();
    EXPECT_TRUE(main.ToolBar1->isEnabled());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::GeneralError);
}

}  // namespace
}  // namespace kivrel
