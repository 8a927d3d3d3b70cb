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
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstring>
#include <functional>
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

// The 32-bit values of a property of the window (or of the root window), empty when unset.
std::vector<uint32_t> Words(xcb_window_t window, const char* name) {
    const auto cookie =
        xcb_get_property(X(), 0, window, Atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(X(), cookie, nullptr), &free);
    if (!reply || reply->format != 32)
        return {};
    const auto* words = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(words, words + xcb_get_property_value_length(reply.get()) / 4);
}

std::vector<uint32_t> Words(const QWidget& window, const char* name) {
    return Words(static_cast<xcb_window_t>(window.winId()), name);
}

xcb_window_t Root() {
    return xcb_setup_roots_iterator(xcb_get_setup(X())).data->root;
}

// openbox on the tests' X server while it lives. It sets the allowed actions of each window
// it manages; when it ends, the server is left without a window manager for the next test.
class WindowManager {
    static constexpr const char* kNudge = "_KIVREL_TEST_NUDGE";

public:
    WindowManager() {
        char name[] = "openbox";
        char quiet[] = "--sm-disable";
        char* argv[] = {name, quiet, nullptr};
        if (posix_spawnp(&pid_, name, nullptr, nullptr, argv, environ) != 0) {
            pid_ = 0;
            return;
        }
        running_ = QTest::qWaitFor([] { return !Words(Root(), "_NET_WORKAREA").empty(); }, 10000);
    }
    ~WindowManager() {
        if (pid_ == 0)
            return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        // Nothing of it may make Qt in the next test think a window manager is there.
        for (const char* name : {"_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_ACTIVE_WINDOW",
                                 "_NET_WORKAREA", kNudge})
            xcb_delete_property(X(), Root(), Atom(name));
        xcb_flush(X());
    }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    bool Running() const { return running_; }

    // Waits until it has put its actions on the window. It may have read the window's map
    // request along with its own start and sleep on it: any change on the root window wakes
    // it.
    bool Manages(const QWidget& window) const {
        return QTest::qWaitFor(
            [&] {
                const uint32_t nudge = 1;
                xcb_change_property(X(), XCB_PROP_MODE_REPLACE, Root(), Atom(kNudge),
                                    XCB_ATOM_CARDINAL, 32, 1, &nudge);
                return !Words(window, "_NET_WM_ALLOWED_ACTIONS").empty();
            },
            10000);
    }

private:
    pid_t pid_ = 0;
    bool running_ = false;
};

// Keys as the X server sends them to the window with the input focus.
void TypeOnX(const char* keys) {
    char program[] = "xdotool";
    char key[] = "key";
    std::string sequence = keys;
    char* argv[] = {program, key, sequence.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawnp(&pid, program, nullptr, nullptr, argv, environ), 0) << "xdotool";
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << keys;
}

// Counts the events of one type that reach a window of the program.
class EventCounter : public QObject {
public:
    EventCounter(QEvent::Type type, int& count) : type_(type), count_(count) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == type_ && watched->isWindowType())
            ++count_;
        return false;
    }

private:
    QEvent::Type type_;
    int& count_;
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

// The window-manager hints that Qt writes from a window's flags (Motif) and sizes (ICCCM).
constexpr uint32_t kMwmFunctions = 1, kMwmDecorations = 2;
constexpr uint32_t kFuncAll = 1, kFuncMinimize = 8, kFuncMaximize = 16, kFuncClose = 32;
constexpr uint32_t kDecorAll = 1, kDecorTitle = 8, kDecorMenu = 16, kDecorMinimize = 32,
                   kDecorMaximize = 64;
constexpr uint32_t kMinSize = 16, kMaxSize = 32;

// Every fixed-size window asks for a title bar with the system menu and the close box only,
// and for its one size. openbox then offers no maximising and no resizing. It offers
// minimising to every window and dialog whatever the hints say (it lets no hint remove a
// button); window managers that follow the hints, Mutter and xfwm4 among them, show no
// minimise box either.
TEST_F(RealPlatform, FixedWindowsOfferNeitherMaximiseNorMinimise) {
    const WindowManager openbox;
    ASSERT_TRUE(openbox.Running()) << "openbox did not start (scripts/setup.sh installs it)";
    MailDesktop desktop;
    TfrmMain main;
    tAltersgruppenliste ageGroups;
    using Make = std::function<std::unique_ptr<QWidget>()>;
    const std::vector<std::pair<const char*, Make>> dialogs = {
        {"participant editor", [&] { return std::make_unique<TfrmTeilnehmer>(ageGroups, &main); }},
        {"age-group dialog", [&] { return std::make_unique<TfrmAltersgruppe>(&main); }},
        {"wizard", [&] { return std::make_unique<TfrmWizzard>(&main); }},
        {"event dialog", [&] { return std::make_unique<TfrmTurnier>(&main); }},
        {"sender dialog", [&] { return std::make_unique<TfrmAbsender>(&main); }},
        {"About window", [&] { return std::make_unique<TfrmAbout>(&main); }},
        {"notice window", [&] { return std::make_unique<TfrmAdvert>(&main); }},
    };
    const auto check = [&openbox](QWidget& window) {
        ASSERT_TRUE(openbox.Manages(window));
        const std::vector<uint32_t> motif = Words(window, "_MOTIF_WM_HINTS");
        ASSERT_GE(motif.size(), 3u);
        EXPECT_EQ(motif[0] & (kMwmFunctions | kMwmDecorations), kMwmFunctions | kMwmDecorations);
        EXPECT_EQ(motif[1] & (kFuncAll | kFuncMinimize | kFuncMaximize | kFuncClose), kFuncClose);
        EXPECT_EQ(
            motif[2] & (kDecorAll | kDecorTitle | kDecorMenu | kDecorMinimize | kDecorMaximize),
            kDecorTitle | kDecorMenu);
        const std::vector<uint32_t> size = Words(window, "WM_NORMAL_HINTS");
        ASSERT_GE(size.size(), 9u);
        EXPECT_EQ(size[0] & (kMinSize | kMaxSize), kMinSize | kMaxSize);
        EXPECT_EQ(QSize(int(size[5]), int(size[6])), window.size());  // least size
        EXPECT_EQ(QSize(int(size[7]), int(size[8])), window.size());  // largest size
        const std::vector<uint32_t> actions = Words(window, "_NET_WM_ALLOWED_ACTIONS");
        const auto offered = [&](const char* action) {
            return std::find(actions.begin(), actions.end(), Atom(action)) != actions.end();
        };
        EXPECT_TRUE(offered("_NET_WM_ACTION_CLOSE"));
        for (const char* action : {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT",
                                   "_NET_WM_ACTION_RESIZE"})
            EXPECT_FALSE(offered(action)) << action;
    };
    main.show();
    main.FirstActivation = false;  // no start-up dialogue
    {
        SCOPED_TRACE("main window");
        check(main);
    }
    for (const auto& [name, make] : dialogs) {
        SCOPED_TRACE(name);
        const std::unique_ptr<QWidget> dialog = make();
        dialog->show();
        check(*dialog);
    }
}

struct AltCase {
    const char* keys;     // as xdotool names them
    const char* from;     // the control with the focus before
    const char* to;       // and after
    const char* pressed;  // the button the keys press, if any
};

// Alt with a letter in the participant editor, as the X server sends it: each access letter
// reaches its field or button, both marked letters of "Ge&wichtsklasse" the weight field,
// and any other letter types nothing anywhere.
TEST_F(RealPlatform, EditorTakesItsAccessLettersAndTypesNoOtherAltLetter) {
    MailDesktop desktop;
    ScriptedBoxes warnings;
    tAltersgruppenliste ageGroups;
    ageGroups.Add("U14 (m)", std::make_unique<tAltersgruppe>(tAltersgruppe{"U14", "m"}));
    TfrmTeilnehmer editor(ageGroups);
    editor.FillAgeGroups(0);
    const std::map<std::string, QWidget*> controls = {
        {"ediNachname", editor.ediNachname},         {"ediVorname", editor.ediVorname},
        {"cbbAltersgruppe", editor.cbbAltersgruppe}, {"ediJahrgang", editor.ediJahrgang},
        {"cbbGraduierung", editor.cbbGraduierung},   {"ediGewicht", editor.ediGewicht},
        {"btnContinue", editor.btnContinue},         {"btnOK", editor.btnOK},
        {"SpeedButton1", editor.SpeedButton1}};
    const std::vector<QLineEdit*> fields = {editor.ediNachname, editor.ediVorname,
                                            editor.ediJahrgang, editor.ediGewicht};
    std::map<std::string, int> clicks;
    for (const char* button : {"btnContinue", "btnOK", "SpeedButton1"})
        QObject::connect(qobject_cast<QAbstractButton*>(controls.at(button)),
                         &QAbstractButton::clicked, [&clicks, button] { ++clicks[button]; });
    // Every key the X server sends reaches a window once; its release ends the keys.
    int releases = 0;
    EventCounter released(QEvent::KeyRelease, releases);

    const std::vector<AltCase> cases = {
        {"alt+n", "ediJahrgang", "ediNachname", nullptr},
        {"alt+v", "ediNachname", "ediVorname", nullptr},
        {"alt+a", "ediNachname", "cbbAltersgruppe", nullptr},
        {"alt+j", "ediNachname", "ediJahrgang", nullptr},
        {"alt+d", "ediNachname", "cbbGraduierung", nullptr},
        {"alt+g", "ediNachname", "ediGewicht", nullptr},
        {"alt+w", "ediJahrgang", "ediGewicht", nullptr},
        // The empty name is refused, and the focus goes to it.
        {"alt+r", "ediJahrgang", "ediNachname", "btnContinue"},
        {"alt+o", "ediJahrgang", "ediNachname", "btnOK"},
        {"alt+u", "ediJahrgang", "ediJahrgang", "SpeedButton1"},
        // The hidden check boxes' letters, and letters no control claims.
        {"alt+l", "ediJahrgang", "ediJahrgang", nullptr},
        {"alt+k", "ediNachname", "ediNachname", nullptr},
        {"alt+x", "ediVorname", "ediVorname", nullptr},
        {"alt+q", "ediJahrgang", "ediJahrgang", nullptr},
        {"alt+e", "ediGewicht", "ediGewicht", nullptr},
    };
    editor.show();
    ModalScript script;
    for (const AltCase& c : cases) {
        SCOPED_TRACE(c.keys);
        editor.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        for (QLineEdit* field : fields)
            field->clear();
        controls.at(c.from)->setFocus();
        if (c.pressed && std::strcmp(c.pressed, "SpeedButton1") == 0) {
            script.Then([](QWidget& w) {
                ExpectTitle(w, "Altersgruppe einfügen");
                Press(w, Qt::Key_Escape);
            });
        }
        const std::map<std::string, int> before = clicks;
        const int seen = releases;
        ASSERT_NO_FATAL_FAILURE(TypeOnX(c.keys));
        ASSERT_TRUE(QTest::qWaitFor([&] { return releases >= seen + 2; }));  // letter and Alt
        std::map<std::string, int> expected = before;
        if (c.pressed)
            ++expected[c.pressed];
        ASSERT_TRUE(QTest::qWaitFor([&] { return clicks == expected && script.Remaining() == 0; }));
        // Without a window manager no window takes the focus back from a closed dialog.
        editor.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        EXPECT_EQ(QApplication::focusWidget(), controls.at(c.to));
        for (const QLineEdit* field : fields)
            EXPECT_EQ(field->text(), QString());
    }
    EXPECT_EQ(warnings.shown().size(), 2u);  // from OK & Weiter and OK
}

}  // namespace
}  // namespace kivrel
