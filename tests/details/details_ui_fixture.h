#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "base/messages.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

namespace kivrel::test {

// The store file in a fresh folder of its own, and scripted message boxes.
class DetailsUi : public testing::Test {
protected:
    DetailsUi() { env.Set("XDG_CONFIG_HOME", dir.path().string()); }

    // Replaces the store file with a REGEDIT4 text whose lines are given without CR LF.
    void WriteStore(const std::string& lines) {
        std::string bytes;
        for (char c : "REGEDIT4\n\n" + lines) {
            if (c == '\n')
                bytes += '\r';
            bytes += c;
        }
        std::filesystem::create_directories(dir.path() / "kivrel");
        WriteFileBytes(dir.path() / "kivrel" / "HKEY_CURRENT_USER.reg", bytes);
    }

    // Saves the widget's picture when KIVREL_SCREENSHOTS names a folder.
    static void Screenshot(QWidget& widget, const char* name) {
        const QString folder = qEnvironmentVariable("KIVREL_SCREENSHOTS");
        if (!folder.isEmpty())
            widget.grab().save(folder + QLatin1Char('/') + QLatin1String(name) + ".png");
    }

    TempDir dir;
    ScopedEnv env;
    ScriptedBoxes boxes;
};

// Processes events until done holds, for at most two seconds.
inline bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

}  // namespace kivrel::test
