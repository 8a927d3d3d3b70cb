#pragma once

#include <QWidget>

#include "model/konstanten.h"

class QLineEdit;

namespace kivrel {

// The person who sends the entry, with address and contact numbers.
class TfraAbsenderPerson : public QWidget {
    Q_OBJECT

public:
    explicit TfraAbsenderPerson(QWidget* parent = nullptr);

    // True when the surname is given; otherwise the user was warned and the focus is there.
    bool CheckInput();
    void GetDetails(tAbsenderData& data) const;
    void SetDetails(const tAbsenderData& data);
    void LoadFromRegistry();
    void SaveToRegistry() const;

    QLineEdit* ediVorname;
    QLineEdit* ediNachname;
    QLineEdit* ediStrasse;
    QLineEdit* ediplz;
    QLineEdit* ediOrt;
    QLineEdit* editelp;
    QLineEdit* editeld;
    QLineEdit* ediFax;
    QLineEdit* edimobil;
    QLineEdit* ediemail;
};

}  // namespace kivrel
