#pragma once

#include <QWidget>

#include "model/konstanten.h"

class QLineEdit;

namespace kivrel {

// The sending club with its affiliations. The club goes into the entry file as quoted
// values, so its fields never hold a double quote.
class TfraAbsenderVerein : public QWidget {
    Q_OBJECT

public:
    explicit TfraAbsenderVerein(QWidget* parent = nullptr);

    // True when the club name is given; otherwise the user was warned and the focus is there.
    bool CheckInput();
    void GetDetails(tVereinData& data) const;
    void SetDetails(const tVereinData& data);
    void LoadFromRegistry();
    void SaveToRegistry() const;

    bool ediEditKeyPress(QLineEdit& sender, char key);
    void ediBezeichnungChange(QLineEdit* sender);

    QLineEdit* ediBezeichnung;
    QLineEdit* ediVereinsnummer;
    QLineEdit* ediKreis;
    QLineEdit* ediBezirk;
    QLineEdit* ediLand;
    QLineEdit* ediGruppe;
    QLineEdit* ediNation;
};

}  // namespace kivrel
