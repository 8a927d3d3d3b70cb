#pragma once

#include <QMainWindow>

#include "model/konstanten.h"

namespace kivrel {

// The program's main window; it owns the entry of the run.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmMain(QWidget* parent = nullptr);

    tMeldung& Meldung() { return meldung_; }

private:
    tMeldung meldung_;
};

}  // namespace kivrel
