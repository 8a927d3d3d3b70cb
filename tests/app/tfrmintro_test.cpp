#include "app/tfrmintro.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>

namespace kivrel {
namespace {

TEST(TfrmIntro, ShowsItsPictureWithoutBorderOnTopInTheMiddleOfTheScreen) {
    TfrmIntro intro;
    intro.ShowNow();
    EXPECT_TRUE(intro.isVisible());
    EXPECT_TRUE(intro.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(intro.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(intro.size(), QSize(319, 180));
    EXPECT_EQ(intro.geometry().center(),
              QGuiApplication::primaryScreen()->availableGeometry().center());
    EXPECT_EQ(intro.img->geometry(), QRect(0, 0, 322, 181));

    // The picture is drawn: dark band at the top, light foot.
    const QImage shot = intro.grab().toImage();
    shot.save(QStringLiteral("/tmp/kivrel-intro.png"));
    EXPECT_LT(qGray(shot.pixel(5, 5)), 100);
    EXPECT_GT(qGray(shot.pixel(5, 170)), 200);
}

}  // namespace
}  // namespace kivrel
