#include "details/tfraabsenderperson.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "base/inputfield.h"
#include "base/qtext.h"
#include "details/storeddetails.h"
#include "details/tfralayout.h"

namespace kivrel {

namespace {

constexpr int kFieldX = 120;
constexpr int kWidth = 217;

int Row(int i) {
    return 4 + 28 * i;
}

}  // namespace

TfraAbsenderPerson::TfraAbsenderPerson(QWidget* parent) : QWidget(parent) {
    setFixedSize(350, 260);
    ediVorname = AddFrameEdit(this, QStringLiteral("&Vorname:"), kFieldX, Row(0), kWidth, 25);
    ediNachname = AddFrameEdit(this, QStringLiteral("&Nachname:"), kFieldX, Row(1), kWidth, 25);
    ediStrasse = AddFrameEdit(this, QStringLiteral("&Strasse:"), kFieldX, Row(2), kWidth, 25);
    // Postcode and town share a row; their two labels read as one caption.
    ediplz = AddFrameEdit(this, QStringLiteral("&Postleitzahl und "), kFieldX, Row(3), 57, 25);
    ediOrt = AddFrameEdit(this, QStringLiteral("&Ort:"), 184, Row(3), 153, 25);
    ediplz->setAccessibleName(QStringLiteral("Postleitzahl"));
    // "Ort:" follows "Postleitzahl und " at x = 88, or further right where the font is wider.
    const auto labels = findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    int town = 88;
    for (QLabel* label : labels) {
        if (label->buddy() == ediplz) {
            label->setWordWrap(false);
            town = std::max(town, 8 + label->sizeHint().width());
            label->setGeometry(8, Row(3), town - 8, ediplz->height());
        }
    }
    for (QLabel* label : labels) {
        if (label->buddy() == ediOrt) {
            label->setWordWrap(false);
            label->setGeometry(town, Row(3), kFieldX - town - 2, ediOrt->height());
        }
    }
    editelp = AddFrameEdit(this, QStringLiteral("&Telefon privat:"), kFieldX, Row(4), kWidth, 25);
    editeld = AddFrameEdit(this, QStringLiteral("Telefon &dienstl.:"), kFieldX, Row(5), kWidth, 25);
    ediFax = AddFrameEdit(this, QStringLiteral("&Fax:"), kFieldX, Row(6), kWidth, 25);
    edimobil = AddFrameEdit(this, QStringLiteral("&Mobil:"), kFieldX, Row(7), kWidth, 25);
    ediemail = AddFrameEdit(this, QStringLiteral("&Email:"), kFieldX, Row(8), kWidth, 100);
    QWidget* order[] = {ediVorname, ediNachname, ediStrasse, ediplz,   ediOrt,
                        editelp,    editeld,     ediFax,     edimobil, ediemail};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

bool TfraAbsenderPerson::CheckInput() {
    return !RefuseBlank(ediNachname->text(), "Bitte geben Sie Ihren Nachnamen an.", ediNachname);
}

void TfraAbsenderPerson::GetDetails(tAbsenderData& data) const {
    data.Vorname = FromQt(ediVorname->text());
    data.Nachname = FromQt(ediNachname->text());
    data.Strasse = FromQt(ediStrasse->text());
    data.PLZ = FromQt(ediplz->text());
    data.Ort = FromQt(ediOrt->text());
    data.Telefonp = FromQt(editelp->text());
    data.Telefond = FromQt(editeld->text());
    data.Telefax = FromQt(ediFax->text());
    data.Mobil = FromQt(edimobil->text());
    data.Email = FromQt(ediemail->text());
}

void TfraAbsenderPerson::SetDetails(const tAbsenderData& data) {
    SetWholeText(*ediVorname, ToQt(data.Vorname));
    SetWholeText(*ediNachname, ToQt(data.Nachname));
    SetWholeText(*ediStrasse, ToQt(data.Strasse));
    SetWholeText(*ediplz, ToQt(data.PLZ));
    SetWholeText(*ediOrt, ToQt(data.Ort));
    SetWholeText(*editelp, ToQt(data.Telefonp));
    SetWholeText(*editeld, ToQt(data.Telefond));
    SetWholeText(*ediFax, ToQt(data.Telefax));
    SetWholeText(*edimobil, ToQt(data.Mobil));
    SetWholeText(*ediemail, ToQt(data.Email));
}

void TfraAbsenderPerson::LoadFromRegistry() {
    LoadIntoFrame(*this, &LoadAbsender);
}

void TfraAbsenderPerson::SaveToRegistry() const {
    SaveFromFrame(*this, &SaveAbsender);
}

}  // namespace kivrel
