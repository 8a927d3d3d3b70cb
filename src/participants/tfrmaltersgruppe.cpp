#include "participants/tfrmaltersgruppe.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/accessible.h"
#include "base/dialogkeys.h"
#include "base/error.h"
#include "base/inputfield.h"
#include "base/qtext.h"
#include "base/textrules.h"
#include "participants/dialoglayout.h"
#include "participants/inputrules.h"

namespace kivrel {

TfrmAltersgruppe::TfrmAltersgruppe(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    setWindowTitle(QStringLiteral("Altersgruppe einfügen"));
    setFixedSize(295, 131);

    ediBezeichnung = new QLineEdit(this);
    ediBezeichnung->setGeometry(96, 20, 190, kEditHeight);
    ediBezeichnung->setMaxLength(kAgeGroupNameMaxLength);
    UseInputRules(*ediBezeichnung, [this](QLineEdit& sender, char key) {
        return ediBezeichnungKeyPress(sender, key);
    });
    connect(ediBezeichnung, &QLineEdit::textChanged, this, &TfrmAltersgruppe::ediBezeichnungChange);
    AddLabel(this, QStringLiteral("&Bezeichnung:"), ediBezeichnung, 12);

    cbbGeschlecht = new QComboBox(this);
    cbbGeschlecht->setGeometry(96, 48, 89, kEditHeight);
    cbbGeschlecht->addItems(
        {QStringLiteral("weiblich"), QStringLiteral("männlich"), QStringLiteral("gemischt")});
    cbbGeschlecht->setCurrentIndex(-1);
    AddLabel(this, QStringLiteral("&Geschlecht"), cbbGeschlecht, 12);

    AddSeparator(this, QRect(12, 83, 274, 2));

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setGeometry(96, 95, 90, 25);
    connect(btnOK, &QPushButton::clicked, this, &TfrmAltersgruppe::btnOKClick);
    btnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnCancel->setGeometry(196, 95, 90, 25);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    UseDefaultButton(*this, btnOK);
}

void TfrmAltersgruppe::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfrmAltersgruppe::FormShow() {
    RunGuarded([&] { ediBezeichnung->setFocus(); });
}

bool TfrmAltersgruppe::ediBezeichnungKeyPress(QLineEdit&, char key) {
    bool accepted = false;
    RunGuarded([&] { accepted = AgeGroupNameKeyAccepted(key); });
    return accepted;
}

void TfrmAltersgruppe::ediBezeichnungChange() {
    RunGuarded([&] { RemoveRefusedCharacters(*ediBezeichnung, InAgeGroupNameSet); });
}

bool TfrmAltersgruppe::CheckInput() {
    if (TrimBlanks(FromQt(ediBezeichnung->text())).empty()) {
        RefuseInput(*ediBezeichnung, AgeGroupNameMissingMessage());
        return false;
    }
    if (TrimBlanks(FromQt(cbbGeschlecht->currentText())).empty()) {
        RefuseInput(*cbbGeschlecht, AgeGroupGenderMissingMessage());
        return false;
    }
    return true;
}

void TfrmAltersgruppe::btnOKClick() {
    RunGuarded([&] {
        if (CheckInput())
            accept();
    });
}

std::unique_ptr<tAltersgruppe> NewAgeGroup(QWidget* parent) {
    TfrmAltersgruppe dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    auto group = std::make_unique<tAltersgruppe>();
    group->Bezeichnung = FromQt(dialog.ediBezeichnung->text());
    group->Geschlecht = FromQt(dialog.cbbGeschlecht->currentText()).substr(0, 1);
    return group;
}

}  // namespace kivrel
