#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include "app/tfrmabout.h"
#include "base/messages.h"

// This program file carries no version record, as a damaged program file would not.
namespace kivrel {
namespace {

TEST(TfrmAbout, UnreadableVersionGoesToTheErrorBoxAndTheWindowShowsItsOwn) {
    ScriptedBoxes boxes;
    TfrmAbout about;
    QString version;
    QTimer::singleShot(0, [&] {
        version = about.lblVersion->text();
        EXPECT_TRUE(about.isVisible());
        EXPECT_EQ(about.lblEdition->text(), "OsmiraEdition");
        about.accept();
    });
    EXPECT_EQ(TfrmAbout::Execute(), QDialog::Accepted);
    EXPECT_EQ(version, "4.2");
    const std::string file =
        QFile::encodeName(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()))
            .toStdString();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::GeneralError);
    EXPECT_EQ(boxes.shown()[0].text, "Invalid version info record in file " + file + ".");
    EXPECT_EQ(about.VersionInfo1.FileVersion(), "");
}

}  // namespace
}  // namespace kivrel
