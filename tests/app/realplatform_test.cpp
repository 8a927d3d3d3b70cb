// What the X server holds for the program's windows, the real message boxes, and keys as the
// X server sends them; runs on Qt's xcb platform only, where the platform adds what offscreen
// rendering leaves out.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/tfrmabout.h"
#include "app/tfrmadvert.h"
#include "app/tfrmmain.h"
#include "base/cp1252.h"
#include "base/messages.h"
#include "base/qtboxes.h"
#include "details/tfrmabsender.h"
#include "details/tfrmturnier.h"
#include "details/tfrmwizzard.h"
#include "participants/tfrmaltersgruppe.h"
#include "participants/tfrmteilnehmer.h"
#include "support/maildesktop.h"
#include "support/modalscript.h"

extern char** environ;

namespace kivrel {
namespace {

using namespace test;

xcb_connection_t* X() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(const char* name) {
    const auto cookie = xcb_intern_atom(X(), 0, static_cast<uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
        xcb_intern_atom_reply(X(), cookie, nullptr), &free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The property's text as the X server holds it: STRING is Latin-1, UTF8_STRING UTF-8.
QString Property(const QWidget& window, const char* name) {
    const auto cookie = xcb_get_property(X(), 0, static_cast<xcb_window_t>(window.winId()),
                                         Atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(X(), cookie, nullptr), &free);
    if (!reply)
        return QStringLiteral("<no reply>");
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const int size = xcb_get_property_value_length(reply.get());
    if (reply->type == XCB_ATOM_STRING)
        return QString::fromLatin1(bytes, size);
    if (reply->type == Atom("UTF8_STRING"))
        return QString::fromUtf8(bytes, size);
    return QStringLiteral("<unknown type>");
}

void ExpectTitle(const QWidget& window, const char* caption) {
    const QString expected = QString::fromUtf8(caption);
    EXPECT_EQ(Property(window, "_NET_WM_NAME"), expected);
    EXPECT_EQ(Property(window, "WM_NAME"), expected);
}

// What the close box of the title bar sends.
void CloseBox(const QWidget& window) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window.winId());
    event.type = Atom("WM_PROTOCOLS");
    event.data.data32[0] = Atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(X(), 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(X());
}

// The 32-bit values of a window's property, empty when unset.
std::vector<uint32_t> Words(WId window, const char* name) {
    const auto cookie = xcb_get_property(X(), 0, static_cast<xcb_window_t>(window), Atom(name),
                                         XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(X(), cookie, nullptr), &free);
    if (!reply || reply->format != 32)
        return {};
    const auto* words = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {words, words + xcb_get_property_value_length(reply.get()) / 4};
}

WId Root() {
    return xcb_setup_roots_iterator(xcb_get_setup(X())).data->root;
}

pid_t Start(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

// openbox on the test's X server while it lives; the next test finds no window manager.
struct WindowManager {
    static constexpr const char* kNudge = "_KIVREL_TEST_NUDGE";
    WindowManager() : pid(Start({"openbox", "--sm-disable"})) {
        running = pid && QTest::qWaitFor([] { return !Words(Root(), "_NET_WORKAREA").empty(); });
    }
    ~WindowManager() {
        if (pid) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        for (const char* name :
             {"_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_WORKAREA", kNudge})
            xcb_delete_property(X(), static_cast<xcb_window_t>(Root()), Atom(name));
        xcb_flush(X());
    }
    // Until it has put its allowed actions on the window. A map request that it read along
    // with its own start waits for its next event: a change on the root window is one.
    bool Manages(const QWidget& window) const {
        return QTest::qWaitFor([&] {
            xcb_change_property(X(), XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(Root()),
                                Atom(kNudge), XCB_ATOM_CARDINAL, 32, 0, nullptr);
            return !Words(window.winId(), "_NET_WM_ALLOWED_ACTIONS").empty();
        });
    }
    pid_t pid;
    bool running = false;
};

// Counts the key releases that reach a window: the X server's keys arrived.
struct KeyReleases : QObject {
    KeyReleases() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        count += event->type() == QEvent::KeyRelease && watched->isWindowType();
        return false;
    }
    int count = 0;
};

class RealPlatform : public testing::Test {
protected:
    void SetUp() override {
        if (!X())
            GTEST_SKIP() << "needs Qt's xcb platform on an X server";
        InstallBoxes(&boxes);
    }
    void TearDown() override { InstallBoxes(nullptr); }

    QtBoxes boxes;
};

TEST_F(RealPlatform, EveryWindowCarriesExactlyItsCaption) {
    MailDesktop desktop;
    desktop.RemoveMailClient();
    TfrmMain main;
    ModalScript script;
    const auto titled = [](const char* caption, int key = Qt::Key_Escape) {
        return [caption, key](QWidget& w) {
            ExpectTitle(w, caption);
            Press(w, key);
        };
    };
    // The start-up dialogue, with a cancelled wizard that ends the run.
    script.Then(titled("Warnung", Qt::Key_Return))
        .Then(titled("Willkommen", Qt::Key_Return))
        .Then(titled("Kivrel - Assistent"))
        .Then(titled("Bestätigung", Qt::Key_Return));
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return script.Remaining() == 0; }, 20000));
    EXPECT_TRUE(ExitConfirmed);

    // The main window, the editor with its age-group dialog and the warning of an empty
    // name, the close question and the thank-you notice.
    main.show();
    main.FirstActivation = false;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    ExpectTitle(main, "Kivrel 4.2 Osmira Edition");
    script
        .Then([&](QWidget& w) {
            ExpectTitle(w, "Teilnehmer einfügen");
            QTest::mouseClick(As<TfrmTeilnehmer>(w).SpeedButton1, Qt::LeftButton);
            QTest::mouseClick(As<TfrmTeilnehmer>(w).btnOK, Qt::LeftButton);
            Press(w, Qt::Key_Escape);
        })
        .Then(titled("Altersgruppe einfügen"))
        .Then(titled("Warnung", Qt::Key_Return));
    main.TeilnehmerEinfuegenExecute();
    script.Then(titled("Info", Qt::Key_Return));
    main.berKivrel401Click();
    script.Then(titled("Bestätigung", Qt::Key_Return)).Then(titled("Information", Qt::Key_Return));
    main.close();
    EXPECT_EQ(script.Remaining(), 0u);
}

struct BoxCase {
    MessageKind kind;
    const char* caption;
    QMessageBox::Icon icon;
    std::vector<QString> buttons;  // left to right; the first is the default
    bool escapeAnswer;             // Esc and the close box alike
};

TEST_F(RealPlatform, MessageBoxesReadAndAnswerAsTheProgramSays) {
    const std::vector<BoxCase> cases = {
        {MessageKind::Warning, "Warnung", QMessageBox::Warning, {"OK"}, true},
        {MessageKind::Confirmation,
         "Bestätigung",
         QMessageBox::Question,
         {"OK", "Abbrechen"},
         false},
        {MessageKind::Replace, "Warnung", QMessageBox::Warning, {"&Ja", "&Nein"}, false},
        {MessageKind::Error, "Fehler", QMessageBox::Critical, {"OK"}, true},
        {MessageKind::GeneralError, "Kivrel", QMessageBox::Critical, {"OK"}, true},
    };
    // Typed markup stays text, and a carriage return breaks the line.
    const std::string text = Win1252(
        "<b>Anna</b> & Söhne.tv4 ist bereits vorhanden.\r"
        "Vorhandene Datei ersetzen ?");
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.caption);
        for (const bool closeBox : {false, true}) {
            ModalScript script;
            script.Then([&](QWidget& w) {
                auto& box = As<QMessageBox>(w);
                ExpectTitle(box, c.caption);
                EXPECT_EQ(box.icon(), c.icon);
                const QList<QAbstractButton*> all = box.buttons();
                std::vector<QAbstractButton*> buttons(all.begin(), all.end());
                std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) {
                    return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
                });
                std::vector<QString> texts;
                for (QAbstractButton* b : buttons)
                    texts.push_back(b->text());
                EXPECT_EQ(texts, c.buttons);
                EXPECT_EQ(box.defaultButton(), buttons.front());
                auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                ASSERT_TRUE(label);
                EXPECT_EQ(label->textFormat(), Qt::PlainText);
                EXPECT_EQ(label->text(), QStringLiteral("<b>Anna</b> & Söhne.tv4 ist bereits "
                                                        "vorhanden.\nVorhandene Datei ersetzen ?"));
                EXPECT_GE(label->height(), 2 * label->fontMetrics().lineSpacing());
                const QString folder = qEnvironmentVariable("KIVREL_SCREENSHOTS");
                if (!folder.isEmpty() && c.kind == MessageKind::Replace && !closeBox)
                    box.screen()->grabWindow(box.winId()).save(folder + "/replace-box.png");
                if (closeBox) {
                    CloseBox(box);
                } else {
                    Press(box, Qt::Key_Escape);
                }
            });
            EXPECT_EQ(boxes.Show(c.kind, text), c.escapeAnswer) << "close box: " << closeBox;
            // Enter takes the default button.
            script.Then([](QWidget& w) { Press(w, Qt::Key_Return); });
            EXPECT_TRUE(boxes.Show(c.kind, text));
        }
    }
}

// The titles above, in a test program started without a locale of its own: the program's
// start (which the tests' main repeats) must give Xlib a UTF-8 character type itself.
TEST_F(RealPlatform, TitlesStayRightWithoutALocaleInTheEnvironment) {
    const std::vector<std::pair<const char*, QString>> cases = {{"no LANG, no LC_*", {}},
                                                                {"LC_ALL=C", "C"}};
    for (const auto& [name, lcAll] : cases) {
        SCOPED_TRACE(name);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& var : env.keys()) {
            if (var == "LANG" || var == "LANGUAGE" || var.startsWith("LC_"))
                env.remove(var);
        }
        if (!lcAll.isEmpty())
            env.insert("LC_ALL", lcAll);
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=RealPlatform.MessageBoxesReadAndAnswerAsTheProgramSays"});
        ASSERT_TRUE(child.waitForFinished(120000)) << child.errorString().toStdString();
        const std::string output = child.readAll().toStdString();
        EXPECT_EQ(child.exitCode(), 0) << output;
        // Run, not skipped.
        EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
    }
}

// Every fixed-size window asks for a title bar with the system menu and close box only (Motif
// hints) and for one size, so openbox offers neither maximising nor resizing. openbox offers
// minimising to every window whatever the hints say; window managers that follow them, such
// as Mutter and xfwm4, offer no minimising either.
TEST_F(RealPlatform, FixedWindowsOfferNeitherMaximiseNorMinimise) {
    const WindowManager openbox;
    ASSERT_TRUE(openbox.running) << "no openbox (scripts/setup.sh installs it)";
    MailDesktop desktop;
    tAltersgruppenliste groups;
    TfrmMain main;  // owns the dialogs
    const std::vector<QWidget*> windows = {&main,
                                           new TfrmTeilnehmer(groups, &main),
                                           new TfrmAltersgruppe(&main),
                                           new TfrmWizzard(&main),
                                           new TfrmTurnier(&main),
                                           new TfrmAbsender(&main),
                                           new TfrmAbout(&main),
                                           new TfrmAdvert(&main)};
    main.show();
    main.FirstActivation = false;  // no start-up dialogue
    for (QWidget* window : windows) {
        SCOPED_TRACE(window->metaObject()->className());
        window->show();
        ASSERT_TRUE(openbox.Manages(*window));
        // Motif: functions and decorations given; of the functions close alone (not all,
        // minimise, maximise); of the decorations title and menu (not all, minimise, maximise).
        const std::vector<uint32_t> motif = Words(window->winId(), "_MOTIF_WM_HINTS");
        ASSERT_GE(motif.size(), 3u);
        EXPECT_EQ(motif[0] & 3u, 3u);
        EXPECT_EQ(motif[1] & (1u | 8u | 16u | 32u), 32u);
        EXPECT_EQ(motif[2] & (1u | 8u | 16u | 32u | 64u), 8u | 16u);
        const std::vector<uint32_t> actions = Words(window->winId(), "_NET_WM_ALLOWED_ACTIONS");
        const auto offered = [&](const char* action) {
            return std::count(actions.begin(), actions.end(), Atom(action)) > 0;
        };
        EXPECT_TRUE(offered("_NET_WM_ACTION_CLOSE"));
        for (const char* action : {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT",
                                   "_NET_WM_ACTION_RESIZE"})
            EXPECT_FALSE(offered(action)) << action;
    }
}

// Alt with a letter in the participant editor, typed on the X server: each access letter
// reaches its field or button, both marked letters of "&Ge&wichtsklasse:" the weight field,
// and any other letter types nothing.
TEST_F(RealPlatform, EditorTakesItsAccessLettersAndTypesNoOtherAltLetter) {
    struct Case {
        const char* keys;     // as xdotool names them
        const char* from;     // the control with the focus before
        const char* to;       // and after
        const char* clicked;  // the button pressed, if any
    };
    const std::vector<Case> cases = {
        {"alt+n", "ediJahrgang", "ediNachname", nullptr},
        {"alt+v", "ediNachname", "ediVorname", nullptr},
        {"alt+a", "ediNachname", "cbbAltersgruppe", nullptr},
        {"alt+j", "ediNachname", "ediJahrgang", nullptr},
        {"alt+d", "ediNachname", "cbbGraduierung", nullptr},
        {"alt+g", "ediNachname", "ediGewicht", nullptr},
        {"alt+w", "ediJahrgang", "ediGewicht", nullptr},
        {"alt+r", "ediJahrgang", "ediNachname", "btnContinue"},  // the empty name refused
        {"alt+o", "ediJahrgang", "ediNachname", "btnOK"},
        {"alt+u", "ediJahrgang", "ediJahrgang", "SpeedButton1"},  // age-group dialog
        // The hidden check boxes' letters, and letters no control claims.
        {"alt+l", "ediJahrgang", "ediJahrgang", nullptr},
        {"alt+k", "ediNachname", "ediNachname", nullptr},
        {"alt+x", "ediVorname", "ediVorname", nullptr},
        {"alt+q", "ediJahrgang", "ediJahrgang", nullptr},
    };
    MailDesktop desktop;
    ScriptedBoxes warnings;
    tAltersgruppenliste groups;
    groups.Add("U14 (m)", std::make_unique<tAltersgruppe>(tAltersgruppe{"U14", "m"}));
    TfrmTeilnehmer editor(groups);
    editor.FillAgeGroups(0);
    const std::map<std::string, QWidget*> controls = {
        {"ediNachname", editor.ediNachname},         {"ediVorname", editor.ediVorname},
        {"cbbAltersgruppe", editor.cbbAltersgruppe}, {"ediJahrgang", editor.ediJahrgang},
        {"cbbGraduierung", editor.cbbGraduierung},   {"ediGewicht", editor.ediGewicht}};
    std::map<std::string, int> clicks;
    for (auto [name, button] :
         {std::pair<const char*, QAbstractButton*>{"btnContinue", editor.btnContinue},
          {"btnOK", editor.btnOK},
          {"SpeedButton1", editor.SpeedButton1}})
        // A copy: Clang before 16 cannot capture a structured binding.
        QObject::connect(button, &QAbstractButton::clicked,
                         [&clicks, key = name] { ++clicks[key]; });
    const KeyReleases released;
    editor.show();
    ModalScript script;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        // Without a window manager no window takes the focus back from a closed dialog.
        editor.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        for (QLineEdit* field :
             {editor.ediNachname, editor.ediVorname, editor.ediJahrgang, editor.ediGewicht})
            field->clear();
        controls.at(c.from)->setFocus();
        if (c.clicked && std::strcmp(c.clicked, "SpeedButton1") == 0)
            script.Then([](QWidget& w) { Press(w, Qt::Key_Escape); });
        std::map<std::string, int> expected = clicks;
        if (c.clicked)
            ++expected[c.clicked];
        const int seen = released.count;
        const pid_t xdotool = Start({"xdotool", "key", c.keys});
        ASSERT_NE(xdotool, 0);
        ::waitpid(xdotool, nullptr, 0);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return released.count >= seen + 2 && clicks == expected && !script.Remaining();
        }));
        editor.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        EXPECT_EQ(QApplication::focusWidget(), controls.at(c.to));
        EXPECT_EQ(editor.ediNachname->text() + editor.ediVorname->text() +
                      editor.ediJahrgang->text() + editor.ediGewicht->text(),
                  QString());
    }
    EXPECT_EQ(warnings.shown().size(), 2u);
}

}  // namespace
}  // namespace kivrel
