#include "app/tfrmmain.h"

namespace kivrel {

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Kivrel 4.2 Osmira Edition"));
    setFixedSize(632, 434);
}

}  // namespace kivrel
