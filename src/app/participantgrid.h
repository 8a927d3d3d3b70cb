#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <string>

#include "model/konstanten.h"
#include "participants/inputrules.h"

class QTableView;

// The main window's participant grid: a table view over a small model of the
// Teilnehmerliste, drawn as a plain string grid, so that refilling stays cheap at any length.
namespace kivrel {

// The grid's view of the Teilnehmerliste: one row per participant, or one empty row when
// there is none. Refilling is a model reset.
class tTeilnehmerModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColumns = 8;

    explicit tTeilnehmerModel(const tTeilnehmerliste& list, QObject* parent = nullptr);

    // The cell of participant t in column, Windows-1252.
    static std::string Cell(const tTeilnehmer& t, int column);
    static const char* Heading(int column);

    const tTeilnehmerliste& List() const { return list_; }
    void Refill();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const tTeilnehmerliste& list_;
};

// Makes view the grid over model: fixed rows and columns, whole rows selected one at a time,
// nothing edited in place. A double click anywhere in it, headings included, calls
// onDoubleClick.
void SetUpParticipantGrid(QTableView& view, tTeilnehmerModel& model,
                          std::function<void()> onDoubleClick);
// The kata column stays hidden; the grade column takes its width.
void HideKataColumn(QTableView& view);
// Shows the list again and selects the participant at select (-1: none, the selection goes).
void RefillParticipantGrid(QTableView& view, tTeilnehmerModel& model, int select);
// The list index of the selected participant, or -1.
int SelectedParticipant(const QTableView& view, const tTeilnehmerModel& model);
// The grid's surname and first-name columns, headings in row 0.
tGridNames GridNamesOf(const tTeilnehmerModel& model);

}  // namespace kivrel
