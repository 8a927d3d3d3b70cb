#include "details/tfrmabsender.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "base/dialogkeys.h"
#include "base/error.h"
#include "details/tfraabsenderperson.h"
#include "details/tfraabsenderverein.h"
#include "details/tfrmturnier.h"
#include "participants/dialoglayout.h"

namespace kivrel {

TfrmAbsender::TfrmAbsender(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    setWindowTitle(QStringLiteral("Absenderangaben"));
    setFixedSize(370, 343);
    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(8, 7, 353, 290);
    TabSheet1 = new QWidget;
    fraAbsenderVerein1 = new TfraAbsenderVerein(TabSheet1);
    fraAbsenderVerein1->move(3, 7);
    PageControl1->addTab(TabSheet1, QStringLiteral("Verein"));
    TabSheet2 = new QWidget;
    fraAbsenderPerson1 = new TfraAbsenderPerson(TabSheet2);
    fraAbsenderPerson1->move(3, 7);
    fraAbsenderPerson1->setFixedWidth(342);
    PageControl1->addTab(TabSheet2, QStringLiteral("Person"));
    PageControl1->setCurrentIndex(0);

    btnOK = AddOkButton(this, 176, 308);
    btnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnCancel->setGeometry(272, 308, 90, 25);
    connect(btnOK, &QPushButton::clicked, this, &TfrmAbsender::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    UseDefaultButton(*this, nullptr);
}

void TfrmAbsender::btnOKClick() {
    RunGuarded([&] {
        // The club is always checked before the person, each on its own tab in front.
        const int remembered = PageControl1->currentIndex();
        PageControl1->setCurrentWidget(TabSheet1);
        int failed = 0;
        if (!fraAbsenderVerein1->CheckInput()) {
            failed = 1;
        } else {
            PageControl1->setCurrentWidget(TabSheet2);
            if (!fraAbsenderPerson1->CheckInput())
                failed = 2;
        }
        PageControl1->setCurrentIndex(remembered);
        if (failed == 0) {
            accept();
            return;
        }
        // The failing field went behind with its tab; the focus goes to the first field of
        // the tab in front.
        if (failed - 1 != remembered) {
            QWidget* first = remembered == 0
                                 ? static_cast<QWidget*>(fraAbsenderVerein1->ediBezeichnung)
                                 : fraAbsenderPerson1->ediVorname;
            first->setFocus();
        }
    });
}

int EditAbsender(tAbsenderData& absender, tVereinData& verein, QWidget* parent) {
    TfrmAbsender dialog(parent);
    dialog.fraAbsenderPerson1->LoadFromRegistry();
    dialog.fraAbsenderVerein1->LoadFromRegistry();
    if (dialog.exec() != QDialog::Accepted)
        return 2;
    dialog.fraAbsenderPerson1->GetDetails(absender);
    dialog.fraAbsenderPerson1->SaveToRegistry();
    dialog.fraAbsenderVerein1->GetDetails(verein);
    dialog.fraAbsenderVerein1->SaveToRegistry();
    return 1;
}

}  // namespace kivrel
