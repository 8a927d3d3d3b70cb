#include "app/tfrmabout.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "base/messages.h"
#include "linkrecorder.h"

namespace kivrel {
namespace {

// Runs check on the modal About window once it is up; check closes it.
void WhenShown(std::function<void(TfrmAbout&)> check) {
    QTimer::singleShot(0, [check] {
        auto* about = qobject_cast<TfrmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        check(*about);
        if (about->isVisible())
            about->reject();
    });
}

TEST(TfrmAbout, ShowsNameEditionAndTheProgramFilesVersionEveryTime) {
    ScriptedBoxes boxes;
    TfrmAbout about;
    for (int showing = 0; showing < 2; ++showing) {
        WhenShown([&](TfrmAbout& shown) {
            EXPECT_EQ(&shown, &about);
            EXPECT_EQ(shown.windowTitle(), "Info");
            EXPECT_EQ(shown.size(), QSize(297, 213));
            EXPECT_EQ(shown.ProductName->text(), "Kivrel 4");
            EXPECT_EQ(shown.lblEdition->text(), "OsmiraEdition");
            EXPECT_EQ(shown.lblVersion->text(), "4.2.0.1");
            EXPECT_EQ(shown.Label1->text(), "Version");
            EXPECT_EQ(shown.Label2->text(), "www.kivrel.example");
            EXPECT_FALSE(shown.ProgramIcon->pixmap().isNull());
            EXPECT_EQ(
                shown.VersionInfo1.Filename(),
                QFile::encodeName(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()))
                    .toStdString());
            EXPECT_TRUE(shown.OKButton->isDefault());
            shown.grab().save(QStringLiteral("/tmp/kivrel-about.png"));
            // Enter presses OK.
            QTest::keyClick(&shown, Qt::Key_Return);
            EXPECT_FALSE(shown.isVisible());
        });
        EXPECT_EQ(TfrmAbout::Execute(), QDialog::Accepted);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(TfrmAbout, NoTextIsCutOffOrCoversAnother) {
    TfrmAbout about;
    about.FormShow();
    const QRect panel = about.Panel1->contentsRect();
    const std::vector<QLabel*> labels = {about.ProductName, about.lblEdition, about.Copyright,
                                         about.Label1,      about.lblVersion, about.Label2,
                                         about.Comments};
    for (QLabel* label : labels) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_TRUE(panel.contains(label->geometry()));
        const QSize needed = label->wordWrap()
                                 ? QSize(label->width(), label->heightForWidth(label->width()))
                                 : label->sizeHint();
        EXPECT_GE(label->width(), needed.width());
        EXPECT_GE(label->height(), needed.height());
        for (QLabel* other : labels) {
            if (other != label) {
                EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                    << other->objectName().toStdString();
            }
        }
    }
    EXPECT_FALSE(about.ProgramIcon->geometry().intersects(about.ProductName->geometry()));
    EXPECT_TRUE(about.rect().contains(about.OKButton->geometry()));
    EXPECT_FALSE(about.Panel1->geometry().intersects(about.OKButton->geometry()));
}

TEST(TfrmAbout, LinkOpensTheMakersAddressAndTheWindowStaysOpen) {
    ScriptedBoxes boxes;
    LinkRecorder links;
    WhenShown([&](TfrmAbout& shown) {
        EXPECT_EQ(shown.Label2->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(shown.Label2, Qt::LeftButton);
        EXPECT_TRUE(shown.isVisible());
        QTest::mouseClick(shown.Label2, Qt::RightButton);
        QTest::mouseClick(shown.OKButton, Qt::LeftButton);
    });
    // Without a window from the start one is made for the showing.
    EXPECT_EQ(TfrmAbout::Execute(), QDialog::Accepted);
    EXPECT_EQ(links.opened, QStringList{"https://www.kivrel.example/"});
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
}  // namespace kivrel
