#include <gtest/gtest.h>

#include <QApplication>

#include "app/charlocale.h"
#include "app/uisetup.h"

int main(int argc, char** argv) {
    // Widget tests drive the real windows without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef _WIN32
    // Windows' own file dialog cannot be scripted from inside; the tests drive Qt's, and the
    // program's run under Wine drives the native one.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
#endif
    // As the program does: the windows' titles on the X server depend on it.
    kivrel::UseUtf8CharacterType();
    QApplication app(argc, argv);
    kivrel::SetUpGermanUi(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
