#include <QApplication>

#include "app/tfrmmain.h"
#include "app/uisetup.h"
#include "base/qtboxes.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kivrel"));
    kivrel::SetUpGermanUi(app);
    kivrel::QtBoxes boxes;
    kivrel::InstallBoxes(&boxes);

    kivrel::TfrmMain main;
    main.show();
    const int rc = QApplication::exec();
    kivrel::InstallBoxes(nullptr);
    return rc;
}
