#pragma once

#include <QDialog>

#include "model/konstanten.h"

class QPushButton;

namespace kivrel {

class TfraTurnier;

// Changes the event after the wizard; shows the stored event, not the record in memory.
class TfrmTurnier : public QDialog {
    Q_OBJECT

public:
    explicit TfrmTurnier(QWidget* parent = nullptr);

    TfraTurnier* fraTurnier1;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public slots:
    void btnOKClick();
};

// Runs the event dialog on the stored event. On OK (1) turnier takes the input, which is
// stored; on Cancel (2) nothing changes. A failing load keeps the dialog from opening.
int EditTurnier(tTurnierData& turnier, QWidget* parent = nullptr);

// The OK button of both detail dialogs, with its green check mark.
QPushButton* AddOkButton(QWidget* dialog, int x, int y);

}  // namespace kivrel
