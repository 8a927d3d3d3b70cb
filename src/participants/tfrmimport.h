#pragma once

#include <QDialog>
#include <optional>

#include "model/konstanten.h"
#include "participants/importreader.h"

class QLabel;
class QPushButton;
class QTableView;

namespace kivrel {

// The preview of an import: every row that would be imported and every row that would not,
// with its reason, and the age groups that OK creates.
class TfrmImport : public QDialog {
    Q_OBJECT

public:
    explicit TfrmImport(const tImportPlan& plan, QWidget* parent = nullptr);

    QLabel* lblSumme;
    QTableView* stgZeilen;
    QLabel* lblAltersgruppen;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// Asks for the files, reads and checks them and shows the preview. Gives back the plan when
// the user confirmed it with OK; nothing when there was nothing to import or the user
// cancelled. Changes nothing itself.
std::optional<tImportPlan> AskImport(const tMeldung& meldung, QWidget* parent);

}  // namespace kivrel
