#include "details/tfrmturnier.h"

#include <QPushButton>

#include "base/dialogkeys.h"
#include "base/error.h"
#include "base/pictures.h"
#include "details/tfraturnier.h"
#include "participants/dialoglayout.h"

static void LoadDialogResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(wizard);
        return true;
    }();
    (void)loaded;
}

namespace kivrel {

QPushButton* AddOkButton(QWidget* dialog, int x, int y) {
    LoadDialogResources();
    auto* button = new QPushButton(QStringLiteral("&OK"), dialog);
    button->setIcon(Picture(QStringLiteral(":/wizard/ok")));
    button->setGeometry(x, y, 90, 25);
    return button;
}

TfrmTurnier::TfrmTurnier(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    // The date field always reads and shows "dd.MM.yyyy", whatever the regional settings.
    setWindowTitle(QStringLiteral("Veranstaltungsdaten"));
    setFixedSize(352, 200);
    fraTurnier1 = new TfraTurnier(this);
    fraTurnier1->move(8, 16);
    AddSeparator(this, QRect(16, 146, 321, 2));
    btnOK = AddOkButton(this, 152, 164);
    btnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnCancel->setGeometry(248, 164, 90, 25);
    connect(btnOK, &QPushButton::clicked, this, &TfrmTurnier::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    UseDefaultButton(*this, nullptr);
}

void TfrmTurnier::btnOKClick() {
    RunGuarded([&] {
        if (fraTurnier1->CheckInput())
            accept();
    });
}

int EditTurnier(tTurnierData& turnier, QWidget* parent) {
    TfrmTurnier dialog(parent);
    dialog.fraTurnier1->LoadFromRegistry();
    if (dialog.exec() != QDialog::Accepted)
        return 2;
    dialog.fraTurnier1->GetDetails(turnier);
    dialog.fraTurnier1->SaveToRegistry();
    return 1;
}

}  // namespace kivrel
