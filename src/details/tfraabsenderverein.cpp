#include "details/tfraabsenderverein.h"

#include <QLineEdit>

#include "base/error.h"
#include "base/inputfield.h"
#include "base/qtext.h"
#include "details/storeddetails.h"
#include "details/tfralayout.h"
#include "participants/inputrules.h"

namespace kivrel {

TfraAbsenderVerein::TfraAbsenderVerein(QWidget* parent) : QWidget(parent) {
    setFixedSize(350, 240);
    const auto keyPress = [this](QLineEdit& sender, char key) {
        return ediEditKeyPress(sender, key);
    };
    QLineEdit** fields[] = {&ediBezeichnung, &ediVereinsnummer, &ediKreis, &ediBezirk,
                            &ediLand,        &ediGruppe,        &ediNation};
    const char* const captions[] = {
        "&Vereinsname", "Vereins&nummer:", "&Kreis:", "&Bezirk:", "&Land:", "&Gruppe:", "&Nation:"};
    for (int i = 0; i < 7; ++i) {
        QLineEdit* edit =
            AddFrameEdit(this, QString::fromUtf8(captions[i]), 120, 4 + 28 * i, 217, 25, keyPress);
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { ediBezeichnungChange(edit); });
        *fields[i] = edit;
        if (i > 0)
            setTabOrder(*fields[i - 1], edit);
    }
}

bool TfraAbsenderVerein::ediEditKeyPress(QLineEdit&, char key) {
    bool accepted = false;
    RunGuarded([&] { accepted = NotDoubleQuote(key); });
    return accepted;
}

void TfraAbsenderVerein::ediBezeichnungChange(QLineEdit* sender) {
    RunGuarded([&] { RemoveRefusedCharacters(*sender, NotDoubleQuote); });
}

bool TfraAbsenderVerein::CheckInput() {
    return !RefuseBlank(ediBezeichnung->text(), "Bitte geben Sie den Vereinsnamen an.",
                        ediBezeichnung);
}

void TfraAbsenderVerein::GetDetails(tVereinData& data) const {
    data.Vereinsname = FromQt(ediBezeichnung->text());
    data.Vereinsnummer = FromQt(ediVereinsnummer->text());
    data.Kreis = FromQt(ediKreis->text());
    data.Bezirk = FromQt(ediBezirk->text());
    data.Land = FromQt(ediLand->text());
    data.Gruppe = FromQt(ediGruppe->text());
    data.Nation = FromQt(ediNation->text());
}

void TfraAbsenderVerein::SetDetails(const tVereinData& data) {
    SetWholeText(*ediBezeichnung, ToQt(data.Vereinsname));
    SetWholeText(*ediVereinsnummer, ToQt(data.Vereinsnummer));
    SetWholeText(*ediKreis, ToQt(data.Kreis));
    SetWholeText(*ediBezirk, ToQt(data.Bezirk));
    SetWholeText(*ediLand, ToQt(data.Land));
    SetWholeText(*ediGruppe, ToQt(data.Gruppe));
    SetWholeText(*ediNation, ToQt(data.Nation));
}

void TfraAbsenderVerein::LoadFromRegistry() {
    LoadIntoFrame(*this, &LoadVerein);
}

void TfraAbsenderVerein::SaveToRegistry() const {
    SaveFromFrame(*this, &SaveVerein);
}

}  // namespace kivrel
