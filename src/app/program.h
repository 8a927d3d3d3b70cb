#pragma once

#include <memory>

#include "base/qtboxes.h"

class QApplication;

namespace kivrel {

class TfrmMain;

// The running program: sets up the application, makes the main window with the windows of
// the whole run behind the splash window, and shows it. The start-up dialogue follows at the
// main window's first activation, in the event loop.
class KivrelProgram {
public:
    explicit KivrelProgram(QApplication& app);
    ~KivrelProgram();
    KivrelProgram(const KivrelProgram&) = delete;
    KivrelProgram& operator=(const KivrelProgram&) = delete;

    TfrmMain& MainWindow() { return *main_; }

private:
    QtBoxes boxes_;
    std::unique_ptr<TfrmMain> main_;
};

}  // namespace kivrel
