// The entry in progress survives a killed program: a child process runs the real program,
// adds participants through the real windows and is killed with SIGKILL while the editor
// is open; a second program started meanwhile keeps nothing and asks nothing; the next
// start brings the stored details and the participants back, finishes and prints, and its
// normal end leaves no file. The home folder is named with letters inside and outside
// Windows-1252, and so are the chosen folder and names.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <cstdio>
#include <filesystem>

#include "app/program.h"
#include "app/tfrmadvert.h"
#include "app/tfrmmain.h"
#include "base/messages.h"
#include "base/qtext.h"
#include "details/storeddetails.h"
#include "details/tfrmwizzard.h"
#include "participants/tfrmteilnehmer.h"
#include "support/exampleentry.h"
#include "support/maildesktop.h"
#include "support/modalscript.h"
#include "support/runsteps.h"

extern char** environ;

namespace kivrel {
namespace {

namespace fs = std::filesystem;
using namespace test;

constexpr const char* kChild = "KIVREL_RECOVERY_CHILD";
constexpr const char* kReady = "editor open\n";

QApplication& App() {
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

// The program as a child process, its output read through a pipe.
class Child {
public:
    Child() {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        char self[] = "/proc/self/exe";
        char filter[] = "--gtest_filter=RecoveryChild.*";
        char* argv[] = {self, filter, nullptr};
        if (posix_spawn(&pid_, self, &actions, nullptr, argv, environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~Child() {
        Kill();
        if (out_ >= 0)
            ::close(out_);
    }

    // Waits until the child has printed text, for at most a minute.
    bool WaitFor(const std::string& text) {
        std::string& seen = output_;
        char buffer[256];
        pollfd p{out_, POLLIN, 0};
        while (pid_ > 0 && seen.find(text) == std::string::npos && ::poll(&p, 1, 60000) > 0) {
            const ssize_t n = ::read(out_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            seen.append(buffer, static_cast<std::size_t>(n));
        }
        return seen.find(text) != std::string::npos;
    }

    // What it printed so far.
    const std::string& Output() const { return output_; }

    void Kill() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
};

// Ends a program normally: the close question answered OK, the thank-you notice closed.
void EndNormally(TfrmMain& main) {
    ModalScript script;
    script.Then([](QWidget& w) { QTest::mouseClick(As<TfrmAdvert>(w).btnOK, Qt::LeftButton); });
    main.Beenden2->trigger();
}

// Serves the start-up dialogue of a later run and cancels the participant editor.
void StartAgain(TfrmMain& main, int* rowsBehindEditor) {
    ModalScript script;
    script.Then([](QWidget& w) { TypeWizardWithStoredSender(As<TfrmWizzard>(w)); })
        .Then([&](QWidget& w) {
            *rowsBehindEditor = main.GridModel().rowCount();
            QTest::keyClick(&w, Qt::Key_Escape);
        });
    ASSERT_TRUE(QTest::qWaitFor([&] { return script.Remaining() == 0; }, 30000));
    QApplication::processEvents();
}

// Run by the test below in a child process only.
TEST(RecoveryChild, TwoParticipantsThenTheEditorStaysOpen) {
    if (!std::getenv(kChild))
        GTEST_SKIP() << "the child of KilledRun";
    KivrelProgram program(App());
    ScriptedBoxes boxes;
    ModalScript script;
    script.Then([](QWidget& w) { TypeWizard(As<TfrmWizzard>(w)); })
        .Then([](QWidget& w) {
            auto& editor = As<TfrmTeilnehmer>(w);
            // The offscreen platform can hand the activation of the closed wizard in
            // late; the editor is made active again once that has passed.
            QTest::qWait(100);
            Activate(editor);
            TypeNames(editor, QStringLiteral("Adler"), QStringLiteral("Ben"));
            QApplication::processEvents();
            Activate(editor);
            TypeRest(editor, QStringLiteral("2015"), 4, QStringLiteral("-30"));
            Press(editor, Qt::Key_Return);  // OK, and the next one
        })
        .Then(NewGroup(QStringLiteral("U12"), 2))
        .Then(TypeParticipant(QStringLiteral("Kurz"), QStringLiteral("Tim"), 1,
                              QStringLiteral("2014"), 0, QStringLiteral("+50")))
        .Then([](QWidget&) {
            std::fputs(kReady, stdout);
            std::fflush(stdout);
        });
    // Until killed.
    EXPECT_FALSE(QTest::qWaitFor([] { return false; }, 120000));
}

TEST(KilledRun, ComesBackAtTheNextStartAndANormalEndLeavesNoFile) {
    if (std::getenv(kChild))
        GTEST_SKIP();
    MailDesktop desktop;
    const fs::path home = desktop.dir().path() / u8"Jürgen Łukasz";
    fs::create_directory(home);
    desktop.env().Set("HOME", home.native());
    desktop.env().Set("XDG_CONFIG_HOME", (home / ".config").native());
    WriteShowIntro(false);
    const fs::path file = home / ".config" / "kivrel" / "Meldung.wiederherstellung";
    desktop.env().Set(kChild, "1");
    Child child;
    desktop.env().Set(kChild, std::nullopt);
    ASSERT_TRUE(child.WaitFor(kReady)) << child.Output();
    ASSERT_TRUE(fs::exists(file));
    const std::string kept = ReadFileBytes(file);

    {
        // A second program while the first runs: no question, and the first one's file
        // stays as it is, also after its normal end.
        KivrelProgram second(App());
        ScriptedBoxes boxes;
        int rows = 0;
        StartAgain(second.MainWindow(), &rows);
        EXPECT_TRUE(boxes.shown().empty());
        EXPECT_TRUE(second.MainWindow().Meldung().Teilnehmerliste.Empty());
        EndNormally(second.MainWindow());
        EXPECT_EQ(ReadFileBytes(file), kept);
    }

    child.Kill();
    KivrelProgram next(App());
    TfrmMain& main = next.MainWindow();
    ScriptedBoxes boxes;  // the question answered OK
    int rows = 0;
    StartAgain(main, &rows);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Confirmation);
    EXPECT_NE(boxes.shown()[0].text.find("mit 2 Teilnehmern gefunden. Sollen die Teilnehmer "
                                         "wiederhergestellt werden ?"),
              std::string::npos)
        << boxes.shown()[0].text;
    EXPECT_EQ(rows, 2);  // the grid showed them before the editor opened
    const tMeldung& m = main.Meldung();
    ASSERT_EQ(m.Teilnehmerliste.Count(), 2);
    EXPECT_EQ(m.Teilnehmerliste.Key(0), "Adler Ben");
    EXPECT_EQ(m.Teilnehmerliste.Object(0).Altersgruppe, "U12 (m)");
    EXPECT_EQ(m.Teilnehmerliste.Object(0).Graduierung, 3);
    EXPECT_EQ(m.Teilnehmerliste.Object(1).Gewicht, "+50");
    ASSERT_EQ(m.Altersgruppenliste.Count(), 1);
    EXPECT_TRUE(main.actFertigstellen->isEnabled());
    EXPECT_EQ(m.Verein.Vereinsname, "TSV Musterstadt");  // stored in the first run

    // The entry files and the printed list, in a folder and under names of the user's.
    const fs::path folder = home / u8"Meldungen Łódź";
    fs::create_directory(folder);
    {
        ModalScript script;
        script.Then(TypeFileName((folder / u8"Übersicht Łukasz.tv4").native()));
        main.actFertigstellenExecute();
    }
    main.Printer().setOutputFormat(QPrinter::PdfFormat);
    main.Printer().setOutputFileName(PathToQt(folder / u8"Übersicht.pdf"));
    main.actDruckenExecute();
    ASSERT_EQ(boxes.shown().size(), 1u);
    const fs::path entryFile = folder / u8"Übersicht ŁukaszU12 (m).tv4";
    EXPECT_EQ(ReadFileBytes(entryFile), ExampleFileU12());
    EXPECT_EQ(desktop.Received().all("attach"), std::vector<std::string>{entryFile.native()});
    EXPECT_GT(fs::file_size(folder / u8"Übersicht.pdf"), 1000u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 2);

    EndNormally(main);
    EXPECT_FALSE(fs::exists(file));
}

}  // namespace
}  // namespace kivrel
