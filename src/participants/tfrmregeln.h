#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "participants/agerules.h"

class QPushButton;
class QTableWidget;

namespace kivrel {

// The rules of the age groups that the user keeps: per group the birth years it takes and
// its weight classes, from which the import proposes each member's age group and class.
class TfrmRegeln : public QDialog {
    Q_OBJECT

public:
    // The columns of the grid.
    // The columns of the grid, in the order of tRuleField.
    enum Column { colBezeichnung, colGeschlecht, colVon, colBis, colGewichtsklassen, kColumnCount };

    TfrmRegeln(const tAgeRules& rules, int currentYear, QWidget* parent = nullptr);

    // The rules as the grid holds them, rows without any text left out.
    tAgeRules Rules() const;

    QTableWidget* stgRegeln;
    QPushButton* btnNeu;
    QPushButton* btnLoeschen;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public slots:
    void btnNeuClick();
    void btnLoeschenClick();
    void btnOKClick();
    // Escape, Abbrechen and the close box: asks first when the user changed anything.
    void reject() override;

private:
    void AddRow(const tAgeRule& rule);
    // The rules, and the grid row of each when rows is given.
    tAgeRules RulesOf(std::vector<int>* rows) const;

    int currentYear_;
    std::string start_;  // the rules as the dialog opened, in their kept form
};

// Where the rules are kept (the stored details, a layer above).
struct tRuleMemory {
    tAgeRules (*Read)();
    void (*Write)(const tAgeRules& rules);
};

// Shows the kept rules; keeps and gives back the rules confirmed with OK, nothing when the
// user cancelled.
std::optional<tAgeRules> EditAgeRules(const tRuleMemory& memory, QWidget* parent);

}  // namespace kivrel
