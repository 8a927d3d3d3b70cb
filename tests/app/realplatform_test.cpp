// What the X server holds for the program's windows, and the real message boxes; runs on
// Qt's xcb platform only, where the platform adds what offscreen rendering leaves out.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/tfrmabout.h"
#include "app/tfrmadvert.h"
#include "app/tfrmmain.h"
#include "base/cp1252.h"
#include "base/qtboxes.h"
#include "participants/tfrmteilnehmer.h"
#include "support/maildesktop.h"
#include "support/modalscript.h"

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

}  // namespace
}  // namespace kivrel
