#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/konstanten.h"
#include "participants/importreader.h"
#include "participants/tfrmregeln.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace kivrel {

class tImportModel;

// The preview of an import, where the entry is completed: every row with the fields it
// brings, ticked when it starts, and the reason while it cannot be imported. The user picks
// the starters, gives selected rows an age group, types weight classes, picks grades and
// says which column of a member list fills which field.
class TfrmImport : public QDialog {
    Q_OBJECT

public:
    // The columns of the grid.
    enum Column {
        colStart,
        colDatei,
        colZeile,
        colNachname,
        colVorname,
        colJahrgang,
        colGeschlecht,
        colGraduierung,
        colAltersgruppe,
        colKoerpergewicht,
        colGewicht,
        colKata,
        colAllkategorie,
        colErgebnis,
        kColumnCount
    };

    // rules: where the age groups' rules are kept, for the rules dialog.
    TfrmImport(tImport& import, const tRuleMemory& rules, QWidget* parent = nullptr);
    ~TfrmImport() override;

    // The grid's rows as the import numbers them, for the selected grid rows.
    std::vector<std::size_t> SelectedRows() const;

    QLabel* lblSumme;
    QLabel* lblDateifehler;
    QComboBox* cbbDatei;
    std::array<QComboBox*, kImportFieldCount> cbbSpalte;
    QTableView* stgZeilen;
    QLabel* lblErgebnis;
    QComboBox* cbbAltersgruppe;
    QPushButton* btnNeu;
    QPushButton* btnZuweisen;
    QLabel* lblAltersgruppen;
    QPushButton* btnRegeln;
    QPushButton* btnVorschlaege;
    QPushButton* btnVorschlaegeMarkierte;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public slots:
    void btnOKClick();
    void btnNeuClick();
    void btnZuweisenClick();
    void btnRegelnClick();
    void btnVorschlaegeClick();
    void btnVorschlaegeMarkierteClick();
    void cbbDateiChange();
    void cbbSpalteChange();

    // Escape, Abbrechen and the close box: asks first when the user changed anything.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TickSelected();
    void NextRow();
    void Refresh();
    // The current row's result in full, under the grid.
    void ShowCurrentResult();
    void Widen(int top, int bottom);
    void FillAgeGroups(const std::string& select);
    void ShowColumns();

    tImport& import_;
    const tRuleMemory& rules_;
    tImportModel* model_;
    QSortFilterProxyModel* proxy_;
    bool filling_ = false;
    int editsAtStart_ = 0;
};

// Where the columns that the user assigned to the fields for a member list with a heading are
// remembered for the next list with the same heading (the stored details, a layer above).
struct tColumnMemory {
    std::vector<int> (*Read)(const std::vector<std::string>& heading);
    void (*Write)(const std::vector<std::string>& heading, const std::vector<int>& columns);
};

// Asks for the files, reads them and shows the preview. Gives back the import when the user
// confirmed it with OK, for Apply; nothing when there was nothing to import or the user
// cancelled. Changes nothing in the entry itself.
std::unique_ptr<tImport> AskImport(const tMeldung& meldung, const tColumnMemory& memory,
                                   const tRuleMemory& rules, QWidget* parent);

}  // namespace kivrel
