#include "app/tfrmintro.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include "app/tfrmabout.h"

namespace kivrel {

TfrmIntro::TfrmIntro(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TfrmIntro"));
    setWindowTitle(QStringLiteral("Kivrel"));
    setFixedSize(319, 180);
    img = new QLabel(this);
    img->setObjectName(QStringLiteral("img"));
    img->setGeometry(0, 0, 322, 181);
    img->setPixmap(DrawPicture(QStringLiteral(":/app/splash"), img->size()));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmIntro::ShowNow() {
    show();
    // The window system shows the window a little later; the start must not wait long.
    const QDeadlineTimer deadline(200);
    while (windowHandle() && !windowHandle()->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(2);
    }
    repaint();
}

}  // namespace kivrel
