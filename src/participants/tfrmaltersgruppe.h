#pragma once

#include <QDialog>
#include <memory>

#include "model/konstanten.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kivrel {

// The small dialog in which the user names a new age group and picks its gender.
class TfrmAltersgruppe : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAltersgruppe(QWidget* parent = nullptr);

    // True when the input may be stored; otherwise the user was told and the focus moved.
    bool CheckInput();

    QLineEdit* ediBezeichnung;
    QComboBox* cbbGeschlecht;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public slots:
    void FormShow();
    void btnOKClick();
    void ediBezeichnungChange();

public:
    bool ediBezeichnungKeyPress(QLineEdit& sender, char key);

protected:
    void showEvent(QShowEvent* event) override;
};

// Runs the dialog; the new age group, or none when the user cancelled.
std::unique_ptr<tAltersgruppe> NewAgeGroup(QWidget* parent = nullptr);

}  // namespace kivrel
