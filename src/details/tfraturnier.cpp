#include "details/tfraturnier.h"

#include <QLineEdit>

#include "base/accessible.h"
#include "base/cp1252.h"
#include "base/inputfield.h"
#include "base/qtext.h"
#include "details/datefield.h"
#include "details/storeddetails.h"
#include "details/tfralayout.h"
#include "participants/dialoglayout.h"

namespace kivrel {

namespace {
constexpr int kFieldX = 144;
}  // namespace

TfraTurnier::TfraTurnier(QWidget* parent) : QWidget(parent) {
    setFixedSize(337, 119);
    ediBezeichnung =
        AddFrameEdit(this, QStringLiteral("&Turnierbezeichnung:"), kFieldX, 4, 185, 25);
    daeDatum = new TDateField(this);
    daeDatum->setGeometry(kFieldX, 32, 89, kEditHeight);
    AddLabel(this, QStringLiteral("&Veranstaltungsdatum:"), daeDatum, 8);
    ediOrt = AddFrameEdit(this, QStringLiteral("Veranstaltungs&ort:"), kFieldX, 60, 185, 25);
    ediEmail =
        AddFrameEdit(this, QStringLiteral("&EMail-Adresse für Meldung:"), kFieldX, 88, 185, 100);
    setTabOrder(ediBezeichnung, daeDatum);
    setTabOrder(daeDatum, ediOrt);
    setTabOrder(ediOrt, ediEmail);
}

bool TfraTurnier::CheckInput() {
    if (RefuseBlank(ediBezeichnung->text(), "Bitte geben Sie die Turnierbezeichnung an.",
                    ediBezeichnung))
        return false;
    if (daeDatum->value() == 0) {
        RefuseInput(*daeDatum, Win1252("Bitte geben Sie das Veranstaltungsdatum an."));
        return false;
    }
    return !RefuseBlank(ediOrt->text(), "Bitte geben Sie den Veranstaltungsort an.", ediOrt);
}

void TfraTurnier::GetDetails(tTurnierData& data) const {
    data.Bezeichnung = FromQt(ediBezeichnung->text());
    data.Datum = daeDatum->value();
    data.Ort = FromQt(ediOrt->text());
    data.Email = FromQt(ediEmail->text());
}

void TfraTurnier::SetDetails(const tTurnierData& data) {
    SetWholeText(*ediBezeichnung, ToQt(data.Bezeichnung));
    daeDatum->setValue(data.Datum);
    SetWholeText(*ediOrt, ToQt(data.Ort));
    SetWholeText(*ediEmail, ToQt(data.Email));
}

void TfraTurnier::LoadFromRegistry() {
    LoadIntoFrame(*this, &LoadTurnier);
}

void TfraTurnier::SaveToRegistry() const {
    SaveFromFrame(*this, &SaveTurnier);
}

}  // namespace kivrel
