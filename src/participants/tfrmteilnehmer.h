#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "model/konstanten.h"
#include "participants/inputrules.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kivrel {

// The dialog in which the user types one participant, new or to be changed.
class TfrmTeilnehmer : public QDialog {
    Q_OBJECT

public:
    // How the dialog closed: OK, "OK & Weiter", or cancelled.
    enum Result { mrCancel = QDialog::Rejected, mrOk = QDialog::Accepted, mrYes = 6 };

    // Age groups made in the dialog go into ageGroups.
    explicit TfrmTeilnehmer(tAltersgruppenliste& ageGroups, QWidget* parent = nullptr);

    // True when the input may be stored; otherwise the user was told and the focus moved.
    bool CheckInput();
    // Runs the age-group dialog and selects the new group, or the one already filed under
    // its key.
    void AddAgeGroup();
    // Refills the age-group choice from the list and selects the entry at index (-1: none).
    void FillAgeGroups(int index);

    // The other participants, against which the duplicate test runs.
    std::vector<tNamePair> ExistingNames;

    QLineEdit* ediNachname;
    QLineEdit* ediVorname;
    QComboBox* cbbAltersgruppe;
    QToolButton* SpeedButton1;
    QLineEdit* ediJahrgang;
    QComboBox* cbbGraduierung;
    QLineEdit* ediGewicht;
    QCheckBox* chbAllkategorie;
    QCheckBox* chbKata;
    QPushButton* btnContinue;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public slots:
    void btnOKClick(QPushButton* sender);
    void ediNachnameChange(QLineEdit* sender);
    void cbbAltersgruppeEnter();
    void SpeedButton1Click();

public:
    bool ediKeyPress(QLineEdit& sender, char key);
    bool ediGewichtKeyPress(QLineEdit& sender, char key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    tAltersgruppenliste& ageGroups_;
};

// Runs the editor for a new participant. Gives back the participant, or none when the user
// cancelled; continueFlag is true when the user left with "OK & Weiter".
std::unique_ptr<tTeilnehmer> NewParticipant(const tGridNames& grid, tAltersgruppenliste& ageGroups,
                                            bool& continueFlag, QWidget* parent = nullptr);

// Runs the editor on participant, whose grid row is index + 1: on OK its fields take the
// input, on Cancel only Confirmed changes.
tTeilnehmer& EditParticipant(tTeilnehmer& participant, const tGridNames& grid, int index,
                             tAltersgruppenliste& ageGroups, QWidget* parent = nullptr);

}  // namespace kivrel
