#include <gtest/gtest.h>

#include <QApplication>

#include "app/uisetup.h"

int main(int argc, char** argv) {
    // Widget tests drive the real windows without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kivrel::SetUpGermanUi(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
