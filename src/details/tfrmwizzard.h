#pragma once

#include <QDialog>
#include <QPointer>

#include "model/konstanten.h"

class QLabel;
class QPushButton;
class QStackedWidget;

namespace kivrel {

class TfraAbsenderPerson;
class TfraAbsenderVerein;
class TfraTurnier;

// The user has already confirmed that the program is to end (in the wizard): the main window
// closes without asking. Cleared when the main window is shown.
extern bool ExitConfirmed;

// The set-up wizard of every run: event, club and person, each page checked before the
// next one opens, and a last page on what comes after.
class TfrmWizzard : public QDialog {
    Q_OBJECT

public:
    explicit TfrmWizzard(QWidget* parent = nullptr);

    // Shows the wizard modally. On OK (1) fills the person, club and event records from
    // their pages; on Cancel (2) leaves them as they are.
    int Execute(tAbsenderData& absender, tVereinData& verein, tTurnierData& turnier);

    QStackedWidget* ntbWizzard;
    TfraTurnier* fraTurnier1;
    TfraAbsenderVerein* fraAbsenderVerein1;
    TfraAbsenderPerson* fraAbsenderPerson1;
    QLabel* lblIntroPage1;
    QPushButton* btnzurueck;
    QPushButton* btnWeiter;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public slots:
    void FormShow();
    void btnWeiterClick();
    void btnzurueckClick();
    void btnOKClick();
    // Every way of cancelling ends here: Abbrechen, Esc and the close box.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Shows the page with the button states that belong to it.
    void ShowPage(int index);
    void SetEnterButton(QPushButton* button);

    QPointer<QObject> enterRule_;
};

}  // namespace kivrel
