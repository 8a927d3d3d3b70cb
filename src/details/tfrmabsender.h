#pragma once

#include <QDialog>

#include "model/konstanten.h"

class QPushButton;
class QTabWidget;

namespace kivrel {

class TfraAbsenderPerson;
class TfraAbsenderVerein;

// Changes the club and the person after the wizard, on two tabs; shows the stored details.
class TfrmAbsender : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAbsender(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    TfraAbsenderVerein* fraAbsenderVerein1;
    TfraAbsenderPerson* fraAbsenderPerson1;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public slots:
    void btnOKClick();
};

// Runs the sender dialog on the stored details. On OK (1) absender and verein take the
// input, which is stored; on Cancel (2) nothing changes. A failing load keeps the dialog
// from opening.
int EditAbsender(tAbsenderData& absender, tVereinData& verein, QWidget* parent = nullptr);

}  // namespace kivrel
