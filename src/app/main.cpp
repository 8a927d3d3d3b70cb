#include <QApplication>
#include <QGuiApplication>

#include "app/tfrmabout.h"
#include "app/tfrmintro.h"
#include "app/tfrmmain.h"
#include "app/uisetup.h"
#include "base/busy.h"
#include "base/qtboxes.h"
#include "details/tfrmwizzard.h"

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
    // The windows of the whole run are made behind the splash window; the main window
    // owns them.
    {
        kivrel::TfrmIntro intro;
        intro.ShowNow();
        new kivrel::TfrmAbout(&main);
        main.frmWizzard = new kivrel::TfrmWizzard(&main);
    }

    QApplication::processEvents();
    main.show();
    // Ask for the activation that starts the dialogue; a desktop would give it anyway.
    main.activateWindow();
    const int rc = QApplication::exec();
    kivrel::InstallBoxes(nullptr);
    kivrel::InstallBusyIndicator({});
    return rc;
}
