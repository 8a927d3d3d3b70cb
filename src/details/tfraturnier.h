#pragma once

#include <QWidget>

#include "model/konstanten.h"

class QLineEdit;

namespace kivrel {

class TDateField;

// The event the entry is for: name, date, place and the organiser's address for entries.
class TfraTurnier : public QWidget {
    Q_OBJECT

public:
    explicit TfraTurnier(QWidget* parent = nullptr);

    // True when name, date and place are given; otherwise the user was warned and the
    // focus is in the first missing field.
    bool CheckInput();
    // The fields as they stand, texts not trimmed.
    void GetDetails(tTurnierData& data) const;
    void SetDetails(const tTurnierData& data);
    // The stored event; a value that cannot be read throws, the fields read before it shown.
    void LoadFromRegistry();
    void SaveToRegistry() const;

    QLineEdit* ediBezeichnung;
    TDateField* daeDatum;
    QLineEdit* ediOrt;
    QLineEdit* ediEmail;
};

}  // namespace kivrel
