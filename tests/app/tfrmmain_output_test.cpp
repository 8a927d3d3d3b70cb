// Finishing and printing from the main window, through the real save dialog, files,
// xdg-email and PDF printer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QTest>
#include <QToolBar>
#include <sstream>

#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/tfrmmain.h"
#include "app/tfrmversenden.h"
#include "base/cp1252.h"
#include "base/messages.h"
#include "output/mailtext.h"
#include "support/exampleentry.h"
#include "support/maildesktop.h"
#include "support/mailreader.h"
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

// Stand-ins for xdg-open and dbus-send on the PATH, each call's arguments one a line.
class DesktopRecorder {
public:
    explicit DesktopRecorder(MailDesktop& desktop) : dir_(desktop.dir().path() / "bin") {
        fs::create_directory(dir_);
        Record("xdg-open", 0);
        Record("dbus-send", 0);
        desktop.env().Set("PATH", dir_.string() + ":" + std::getenv("PATH"));
    }
    // The program answers with code from now on.
    void Record(const std::string& program, int code) {
        WriteScript(dir_ / program,
                    "for a in \"${0##*/}\" \"$@\"; do printf '%s\\n' \"$a\"; done >> '" +
                        (dir_ / "calls").string() + "'\necho - >> '" + (dir_ / "calls").string() +
                        "'\nexit " + std::to_string(code) + "\n");
    }
    // Every call since the last look, its arguments joined by blanks.
    std::vector<std::string> Calls() {
        std::vector<std::string> calls;
        std::string call;
        std::istringstream lines(fs::exists(dir_ / "calls") ? ReadFileBytes(dir_ / "calls") : "");
        for (std::string line; std::getline(lines, line);) {
            if (line != "-") {
                call += (call.empty() ? "" : " ") + line;
                continue;
            }
            calls.push_back(std::exchange(call, {}));
        }
        fs::remove(dir_ / "calls");
        return calls;
    }

private:
    fs::path dir_;
};

TEST_F(MainOutput, WithoutAMailClientTheEntryGoesOutFromTheVersendenWindow) {
    desktop.RemoveMailClient();
    DesktopRecorder shell(desktop);
    main.Meldung() = ExampleEntry();
    main.FillParticipantGrid(0);
    EXPECT_FALSE(main.actVersenden->isEnabled());
    const std::vector<std::string> files = {File("StadtpokalU12 (m).tv4"),
                                            File("StadtpokalU15 (w).tv4")};
    const EntryMail mail = BuildEntryMail(main.Meldung(), Used(main.Meldung()));
    const std::string draft = File("Stadtpokal.eml");
    const QString body = QString::fromStdString(Cp1252ToUtf8(mail.Body)).replace("\r\n", "\n");
    {
        ModalScript script;
        script.Then(TypeFileName(File("Stadtpokal")));
        script.Then([&](QWidget& w) {
            auto& window = As<TfrmVersenden>(w);
            EXPECT_EQ(window.windowTitle(), QStringLiteral("Meldung versenden"));
            EXPECT_TRUE(
                window.lblGrund->text().startsWith("Es ist kein Mailprogramm eingerichtet"));
            EXPECT_EQ(window.ediAn->text(), QStringLiteral("meldung@example.org"));
            EXPECT_EQ(window.ediBetreff->text().toStdString(), Cp1252ToUtf8(mail.Subject));
            ASSERT_EQ(window.lstDateien->count(), 2);
            EXPECT_EQ(window.lstDateien->item(1)->text().toStdString(), files[1]);

            // Return: the draft, beside the entry files, to the system's mail program.
            Press(window, Qt::Key_Return);
            EXPECT_EQ(shell.Calls(), std::vector<std::string>{"xdg-open " + draft});
            EXPECT_TRUE(window.lblStatus->text().contains("Stadtpokal.eml"));

            QTest::mouseClick(window.btnOrdner, Qt::LeftButton);
            const std::string items = "array:string:file://" + dir().string() +
                                      "/Meldungen/StadtpokalU12%20%28m%29.tv4,file://" +
                                      dir().string() + "/Meldungen/StadtpokalU15%20%28w%29.tv4";
            EXPECT_EQ(shell.Calls(),
                      std::vector<std::string>{
                          "dbus-send --session --print-reply --reply-timeout=3000 "
                          "--dest=org.freedesktop.FileManager1 /org/freedesktop/FileManager1 "
                          "org.freedesktop.FileManager1.ShowItems " +
                          items + " string:"});
            // No file manager answers there: the folder alone.
            shell.Record("dbus-send", 1);
            QTest::mouseClick(window.btnOrdner, Qt::LeftButton);
            EXPECT_EQ(shell.Calls().back(), "xdg-open " + (dir() / "Meldungen").string());

            QTest::mouseClick(window.btnKopieren, Qt::LeftButton);
            EXPECT_EQ(
                QApplication::clipboard()->text(),
                "An: meldung@example.org\nBetreff: " + window.ediBetreff->text() + "\n\n" + body);

            // The body makes the link too long: it goes on the clipboard, the rest in the link.
            QApplication::clipboard()->clear();
            QTest::mouseClick(window.btnWebMail, Qt::LeftButton);
            const std::vector<std::string> calls = shell.Calls();
            ASSERT_EQ(calls.size(), 3u);  // the link, then the folder as above
            EXPECT_EQ(calls[0],
                      "xdg-open mailto:meldung@example.org?subject=Meldung%20von%20TSV%"
                      "20Musterstadt%20f%C3%BCr%20Stadtpokal%202026%20am%2014.03.2026%20in%"
                      "20Musterstadt");
            EXPECT_EQ(QApplication::clipboard()->text(), body);
            EXPECT_TRUE(window.lblStatus->text().contains("Zwischenablage"));
            QTest::mouseClick(window.btnSchliessen, Qt::LeftButton);
        });
        main.actFertigstellen->trigger();
    }
    EXPECT_TRUE(boxes.shown().empty());

    // The draft as a mail program reads it: the mail of the entry, every file as it is.
    ReadMail read = ReadMailFile(draft);
    EXPECT_EQ(read.to, "meldung@example.org");
    EXPECT_EQ(read.subject, Cp1252ToUtf8(mail.Subject));
    EXPECT_EQ(read.unsent, "1");
    EXPECT_EQ(read.body, Cp1252ToUtf8(mail.Body));
    ASSERT_EQ(read.files.size(), 2u);
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(read.files[i].first, fs::path(files[i]).filename().string());
        EXPECT_EQ(read.files[i].second, ReadFileBytes(files[i]));
    }
    EXPECT_EQ(read.defects, 0);

    // The window again from the menu, for the files of this finishing; closing is safe.
    ASSERT_TRUE(main.actVersenden->isEnabled());
    ModalScript script;
    script.Then([](QWidget& w) {
        EXPECT_EQ(As<TfrmVersenden>(w).lstDateien->count(), 2);
        Press(w, Qt::Key_Escape);
    });
    main.actVersenden->trigger();
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
