#include <QApplication>
#include <QGuiApplication>

#include <memory>

#include "app/tfrmabout.h"
#include "app/tfrmintro.h"
#include "app/tfrmmain.h"
#include "app/uisetup.h"
#include "base/busy.h"
#include "base/qtboxes.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kivrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kivrel"));
    kivrel::SetUpGermanUi(app);
    QApplication::setWindowIcon(kivrel::KivrelIcon());
    kivrel::QtBoxes boxes;
    kivrel::InstallBoxes(&boxes);
    kivrel::InstallBusyIndicator([](bool busy) {
        if (busy) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QGuiApplication::restoreOverrideCursor();
        }
    });

    kivrel::TfrmMain main;
    // The windows of the whole run are made behind the splash window.
    std::unique_ptr<kivrel::TfrmAbout> about;
    {
        kivrel::TfrmIntro intro;
        intro.ShowNow();
        about = std::make_unique<kivrel::TfrmAbout>(&main);
    }

    QApplication::processEvents();
    main.show();
    const int rc = QApplication::exec();
    kivrel::InstallBoxes(nullptr);
    kivrel::InstallBusyIndicator({});
    return rc;
}
