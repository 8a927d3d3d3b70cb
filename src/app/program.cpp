#include "app/program.h"

#include <QApplication>
#include <QGuiApplication>

#include "app/tfrmabout.h"
#include "app/tfrmintro.h"
#include "app/tfrmmain.h"
#include "app/uisetup.h"
#include "base/busy.h"
#include "details/recoveryfile.h"
#include "details/tfrmwizzard.h"

namespace kivrel {

KivrelProgram::KivrelProgram(QApplication& app) {
    SetUpGermanUi(app);
    QApplication::setWindowIcon(KivrelIcon());
    InstallBoxes(&boxes_);
    InstallBusyIndicator([](bool busy) {
        if (busy) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QGuiApplication::restoreOverrideCursor();
        }
    });
    InstallKeepResponsive(
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10); });

    main_ = std::make_unique<TfrmMain>();
    // Taken before any window, so that a second program started meanwhile keeps none.
    main_->KeepRecovery(tRecovery::TakeBesideStore());
    // The windows of the whole run are made behind the splash window; the main window
    // owns them.
    {
        TfrmIntro intro;
        intro.ShowNow();
        new TfrmAbout(main_.get());
        main_->frmWizzard = new TfrmWizzard(main_.get());
    }

    QApplication::processEvents();
    main_->show();
    // Ask for the activation that starts the dialogue; a desktop would give it anyway.
    main_->activateWindow();
}

KivrelProgram::~KivrelProgram() {
    main_.reset();
    InstallBoxes(nullptr);
    InstallBusyIndicator({});
    InstallKeepResponsive({});
}

}  // namespace kivrel
