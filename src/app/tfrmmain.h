#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "app/participantgrid.h"
#include "model/konstanten.h"
#include "output/finishing.h"
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
    void FillParticipantGrid(int select) {
        RefillParticipantGrid(*stgTeilnehmer2, *gridModel_, select);
    }
    void ShowEventDetails(const tTurnierData& turnier);
    void ShowSenderClub(const tVereinData& verein);
    void ShowSenderPerson(const tAbsenderData& absender);

    // From now on the lists are kept in this recovery file, which the start-up dialogue
    // offers to bring back and the normal end removes. Without one nothing is kept.
    void KeepRecovery(std::unique_ptr<tRecovery> recovery);
    tRecovery* Recovery() const { return recovery_.get(); }
    // The one way the Teilnehmerliste and the Altersgruppenliste change: runs change, then
    // rewrites the recovery file, also when change made no difference or threw half-way. The
    // rewrite never fails; a write failure is told once in a run.
    void ChangeLists(const std::function<void()>& change);

    // The grid's surname and first-name columns, headings in row 0.
    tGridNames GridNames() const { return GridNamesOf(*gridModel_); }
    // The printer that printing and the printer set-up use, made when first needed.
    QPrinter& Printer();
    // The list index of the selected participant, or -1.
    int SelectedIndex() const { return SelectedParticipant(*stgTeilnehmer2, *gridModel_); }
    tTeilnehmerModel& GridModel() { return *gridModel_; }

    QToolBar* ToolBar1;
    QAction* TeilnehmerEinfuegen;
    QAction* actTeilnehmerImportieren;
    QAction* actRegeln;
    QAction* actTeilnehmerBearbeiten;
    QAction* actTeilnehmerloeschen;
    QAction* actDrucken;
    QAction* actFertigstellen;
    QAction* actVersenden;
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
    // Runs the start-up dialogue at the first activation after FormShow.
    void FormActivate();
    void FormCloseQuery(bool& canClose);
    void TeilnehmerEinfuegenExecute();
    void actTeilnehmerImportierenExecute();
    void actRegelnExecute();
    void actTeilnehmerBearbeitenExecute();
    void actTeilnehmerloeschenExecute();
    void stgTeilnehmer2DblClick() { actTeilnehmerBearbeitenExecute(); }
    void actFertigstellenExecute();
    void actVersendenExecute();
    void actDruckenExecute();
    void DruckereinstellungenExecute();
    void actVeranstaltungBearbeitenExecute();
    void actAbsenderBearbeitenExecute();
    void Beenden2Click();
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

    tMeldung meldung_;
    // The one printer of the run: the printer set-up's choice holds for later prints.
    std::unique_ptr<QPrinter> printer_;
    tTeilnehmerModel* gridModel_;
    std::unique_ptr<tRecovery> recovery_;
    // The files of the run's last finishing, to be sent again from the menu.
    std::optional<tFinished> lastFinished_;
};

}  // namespace kivrel
