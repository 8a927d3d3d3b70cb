#include "app/tfrmadvert.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "base/cp1252.h"
#include "details/registry.h"
#include "details/storeddetails.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

// What the notice window showed, when it was shown at all.
struct Seen {
    bool shown = false;
    QString title;
    QString heading;
    QString body;
    bool checkBoxVisible = false;
    bool addressVisible = false;
};

// Runs ShowAdvert; `close` acts on the window once it is up, and must close it.
Seen Show(AdvertKind kind, const std::function<void(TfrmAdvert&)>& close) {
    Seen seen;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<TfrmAdvert*>(QApplication::activeModalWidget());
        if (!window)
            return;
        seen = {true,
                window->windowTitle(),
                window->lblUeberschrift->text(),
                window->lblInformation->text(),
                window->chbDisable->isVisible(),
                window->lblAdresse->isVisible()};
        close(*window);
    });
    ShowAdvert(kind, nullptr);
    QApplication::processEvents();
    return seen;
}

void PressOk(TfrmAdvert& w) {
    QTest::keyClick(&w, Qt::Key_Return);
}

class Advert : public testing::Test {
protected:
    Advert() { env.Set("XDG_CONFIG_HOME", dir.path().string()); }
    test::TempDir dir;
    test::ScopedEnv env;
};

TEST_F(Advert, WelcomeOnFirstRunCreatesTheKeyAndStaysOnUnlessSwitchedOff) {
    const Seen first = Show(AdvertKind::Welcome, PressOk);
    ASSERT_TRUE(first.shown);
    EXPECT_EQ(first.title, QStringLiteral("Willkommen"));
    EXPECT_EQ(first.heading, QStringLiteral("Willkommen beim Kivrel!"));
    EXPECT_TRUE(first.body.startsWith(
        QStringLiteral("Mit dem Kivrel können Sie komfortabel Meldungen für "
                       "Wettkampfveranstaltungen erstellen.\r\n\r\nWenn Sie ein Email-Programm")));
    EXPECT_TRUE(first.body.contains(QStringLiteral(
        "direkt in den Solvaring Osmira Edition einlesen und dort weiterverarbeiten. \r\n\r\n")));
    EXPECT_TRUE(first.checkBoxVisible);
    EXPECT_FALSE(first.addressVisible);
    // The key exists although nothing was ticked, and the notice comes again.
    const auto key = RegistryKey::Open(kAdvertKey);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->QueryInfo("ShowIntro").status, RegStatus::Missing);
    EXPECT_TRUE(Show(AdvertKind::Welcome, PressOk).shown);

    // Ticked and closed with Esc stores 0 just like OK; then the notice stays away.
    EXPECT_TRUE(Show(AdvertKind::Welcome, [](TfrmAdvert& w) {
                    QTest::mouseClick(w.chbDisable, Qt::LeftButton, {},
                                      QPoint(5, w.chbDisable->height() / 2));
                    QTest::keyClick(&w, Qt::Key_Escape);
                }).shown);
    EXPECT_FALSE(ReadShowIntro());
    EXPECT_FALSE(Show(AdvertKind::Welcome, PressOk).shown);
}

TEST_F(Advert, AFlagOfAnotherTypeShowsTheWelcome) {
    auto key = RegistryKey::Open(kAdvertKey);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->Write("ShowIntro", kRegSz, std::string("0\0", 2)));
    EXPECT_TRUE(Show(AdvertKind::Welcome, PressOk).shown);
}

TEST_F(Advert, ThanksAlwaysShownWithoutCheckBoxAndKeepsItsCaption) {
    WriteShowIntro(false);
    const Seen seen = Show(AdvertKind::Thanks, [](TfrmAdvert& w) { w.btnOK->click(); });
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, QStringLiteral("Information"));
    EXPECT_EQ(seen.heading, QStringLiteral("Vielen Dank für die Nutzung des Kivrels!"));
    EXPECT_TRUE(seen.body.endsWith(QStringLiteral(
        "direkt in den Solvaring Osmira Edition\r\neinlesen und dort weiterverarbeiten. Der "
        "Solvaring unterstützt Sie optimal bei Ihrer Wettkampfveranstaltung. \r\n\r\nWeitere "
        "Informationen zum Solvaring erhalten Sie bei:")));
    EXPECT_FALSE(seen.checkBoxVisible);
    EXPECT_TRUE(seen.addressVisible);
    EXPECT_FALSE(ReadShowIntro());  // the thank-you notice stores nothing
}

}  // namespace
}  // namespace kivrel

namespace kivrel {
namespace {

TEST(AdvertLayout, BodyTextsFitTheirPlaceUncut) {
    // The welcome text ends above the check box, whatever the font makes of it.
    TfrmAdvert welcome;
    welcome.PrepareWelcome();
    const QLabel& body = *welcome.lblInformation;
    EXPECT_LE(body.heightForWidth(body.width()), body.height()) << "welcome text cut";
    EXPECT_LE(body.y() + body.height(), welcome.chbDisable->y());
    EXPECT_GE(body.height(), 209);
    EXPECT_LE(welcome.btnOK->geometry().bottom(), welcome.height()) << "OK out of the window";

    // The thank-you text ends above the address block.
    TfrmAdvert thanks;
    thanks.PrepareThanks();
    const QLabel& info = *thanks.lblInformation;
    EXPECT_LE(info.heightForWidth(info.width()), info.height());
    EXPECT_LE(info.y() + info.heightForWidth(info.width()), thanks.lblAdresse->y())
        << "thank-you text runs into the address";
}

}  // namespace
}  // namespace kivrel
