#pragma once

#include <QAbstractTableModel>
#include <QMainWindow>
#include <memory>

#include "model/konstanten.h"
#include "participants/inputrules.h"

class QAction;
class QFileDialog;
class QPrinter;
class QGroupBox;
class QLineEdit;
class QTableView;
class QToolBar;

namespace kivrel {

class TfrmWizzard;
class tRecovery;

// The user has already confirmed that the program is to end: the main window closes without
// asking. Cleared when the main window is shown.
extern bool ExitConfirmed;

// The participant grid's view of the Teilnehmerliste: one row per participant, or one empty
// row when there is none. Refilling is a model reset.
class tTeilnehmerModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColumns = 8;

    explicit tTeilnehmerModel(const tTeilnehmerliste& list, QObject* parent = nullptr);

    // The cell of the participant at index, Windows-1252.
    static std::string Cell(const tTeilnehmer& t, int column);
    static const char* Heading(int column);

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

// The program's main window; it owns the entry of the run.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    tMeldung& Meldung() { return meldung_; }

    // The start-up dialogue is still due.
    bool FirstActivation = false;
    // The set-up wizard of the run, made at start; without one the dialogue makes its own.
    TfrmWizzard* frmWizzard = nullptr;

    void UpdateParticipantActions();
    // Shows the Teilnehmerliste and selects the participant at select (-1: none).
    void FillParticipantGrid(int select);
    void ShowEventDetails(const tTurnierData& turnier);
    void ShowSenderClub(const tVereinData& verein);
    void ShowSenderPerson(const tAbsenderData& absender);

    // From now on the lists are kept in this recovery file, which the start-up dialogue
    // offers to bring back and the normal end removes. Without one nothing is kept.
    void KeepRecovery(std::unique_ptr<tRecovery> recovery);
    // Call after every change of the Teilnehmerliste or the Altersgruppenliste: rewrites the
    // recovery file. Never fails; a write failure is told once in a run.
    void EntryChanged();

    // The grid's surname and first-name columns, headings in row 0.
    tGridNames GridNames() const;
    // The printer that printing and the printer set-up use, made when first needed.
    QPrinter& Printer();
    // The list index of the selected participant, or -1.
    int SelectedIndex() const;
    tTeilnehmerModel& GridModel() { return *gridModel_; }

    QToolBar* ToolBar1;
    QAction* TeilnehmerEinfuegen;
    QAction* actTeilnehmerImportieren;
    QAction* actTeilnehmerBearbeiten;
    QAction* actTeilnehmerloeschen;
    QAction* actDrucken;
    QAction* actFertigstellen;
    QAction* Druckereinstellungen;
    QAction* actVeranstaltungBearbeiten;
    QAction* actAbsenderBearbeiten;
    QAction* Beenden2;
    QAction* berKivrel401;

    QGroupBox* grbVeranstaltung;
    QLineEdit* ediBezeichnung;
    QLineEdit* ediDatum;
    QLineEdit* ediOrt;
    QLineEdit* ediEmail;
    QGroupBox* grbAbsender;
    QLineEdit* ediVerein;
    QLineEdit* ediVerbaende;
    QLineEdit* ediAdresse;
    QLineEdit* ediKommunikation;
    QGroupBox* grbTeilnehmer;
    QTableView* stgTeilnehmer2;
    // The save dialog of finishing, made at the first finishing (a file dialog looks up
    // icons and folders, which the start need not wait for); it keeps the last chosen name
    // for the next finishing.
    QFileDialog* dlgsave = nullptr;

public slots:
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void TeilnehmerEinfuegenExecute();
    void actTeilnehmerImportierenExecute();
    void actTeilnehmerBearbeitenExecute();
    void actTeilnehmerloeschenExecute();
    void Beenden2Click();
    void stgTeilnehmer2DblClick();

    // Served by the start-up dialogue; runs when the window is activated.
    void FormActivate();
    // Served by finishing.
    void actFertigstellenExecute();
    // Served by the printed entry list.
    void actDruckenExecute();
    // Served by the printed entry list.
    void DruckereinstellungenExecute();
    // Served by the event dialog.
    void actVeranstaltungBearbeitenExecute();
    // Served by the sender dialog.
    void actAbsenderBearbeitenExecute();
    // Served by the About window.
    void berKivrel401Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateClientArea(QWidget* client);
    QFileDialog& SaveDialog();
    // At start: the entry an earlier run left, brought back when the user wants it.
    void OfferRecovery();

    tMeldung meldung_;
    // The one printer of the run: the printer set-up's choice holds for later prints.
    std::unique_ptr<QPrinter> printer_;
    tTeilnehmerModel* gridModel_;
    std::unique_ptr<tRecovery> recovery_;
};

}  // namespace kivrel
