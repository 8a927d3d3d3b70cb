#include "app/tfrmmain.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

#include "app/startup.h"
#include "app/tfrmabout.h"
#include "app/tfrmadvert.h"
#include "app/tfrmversenden.h"
#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/error.h"
#include "base/filedialogs.h"
#include "base/fonts.h"
#include "base/messages.h"
#include "base/pictures.h"
#include "base/qtext.h"
#include "details/recoveryfile.h"
#include "details/storeddetails.h"
#include "details/tfrmabsender.h"
#include "details/tfrmturnier.h"
#include "details/tfrmwizzard.h"
#include "output/finishing.h"
#include "output/mapimail.h"
#include "participants/entrylistprinter.h"
#include "participants/tfrmimport.h"
#include "participants/tfrmteilnehmer.h"

// The icons live in the kivrel_ui library, whose resource initialiser the linker would
// otherwise drop.
static void InitKivrelResources() {
    Q_INIT_RESOURCE(kivrel);
}

namespace kivrel {

namespace {

QLineEdit* ReadOnlyField(QGroupBox* group, const QRect& geometry, const QString& hint) {
    auto* field = new QLineEdit(group);
    field->setGeometry(geometry);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setToolTip(hint);
    // Read by its group and its own meaning ("Veranstaltung: Ort"); Qt would give all four
    // fields of a group the group's name alone. "Absender - Adresse" says its group already.
    QString meaning = hint;
    if (const QString prefix = group->title() + QStringLiteral(" - "); meaning.startsWith(prefix))
        meaning.remove(0, prefix.size());
    field->setAccessibleName(group->title() + QStringLiteral(": ") + meaning);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
    return field;
}

// Long texts show their beginning, as the read-only fields are too narrow for some.
void ShowText(QLineEdit* field, const std::string& text) {
    field->setText(ToQt(text));
    field->setCursorPosition(0);
}

std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string result;
    for (const std::string_view& part : parts) {
        if (&part != parts.begin())
            result += ", ";
        result += part;
    }
    return result;
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      gridModel_(new tTeilnehmerModel(meldung_.Teilnehmerliste, this)) {
    InitKivrelResources();
    setWindowTitle(QStringLiteral("Kivrel 4.2 Osmira Edition"));
    // No menu to hide the tool bar with.
    setContextMenuPolicy(Qt::PreventContextMenu);

    CreateActions();
    CreateMenus();
    auto* client = new QWidget(this);
    client->setFixedSize(632, 434);
    setCentralWidget(client);
    CreateClientArea(client);
    // The client area is 632 by 434 below the menu bar.
    setFixedSize(632, menuBar()->sizeHint().height() + 434);
}

QFileDialog& TfrmMain::SaveDialog() {
    if (dlgsave)
        return *dlgsave;
    dlgsave = new QFileDialog(this);
    // The replace question of finishing asks instead.
    SetUpFileDialog(*dlgsave, true,
                    {QStringLiteral("Torvanesca / Kivrel 4 Dateien (*.tv4)"),
                     QStringLiteral("Alle Dateien (*.*)")},
                    EntryFolder(), QFileDialog::DontConfirmOverwrite);
    dlgsave->setDefaultSuffix(QStringLiteral("tv4"));
    dlgsave->selectFile(QStringLiteral("*.tv4"));
    return *dlgsave;
}

TfrmMain::~TfrmMain() {
    SetMailParentWindow(0);
    delete dlgsave;
    // The view and its model must not outlive the list they show.
    delete stgTeilnehmer2;
    delete gridModel_;
}

void TfrmMain::CreateActions() {
    const auto make = [this](const QString& caption, const char* icon, const QString& iconText,
                             void (TfrmMain::*handler)()) {
        auto* action = new QAction(caption, this);
        if (icon)
            action->setIcon(Picture(QStringLiteral(":/icons/%1").arg(QLatin1String(icon))));
        if (!iconText.isEmpty())
            action->setIconText(iconText);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
        return action;
    };
    TeilnehmerEinfuegen = make(QStringLiteral("&Einfügen"), "add", QStringLiteral("Einfügen"),
                               &TfrmMain::TeilnehmerEinfuegenExecute);
    TeilnehmerEinfuegen->setShortcut(QKeySequence(Qt::Key_Insert));
    actTeilnehmerImportieren =
        make(QStringLiteral("&Importieren..."), "import", QStringLiteral("Importieren"),
             &TfrmMain::actTeilnehmerImportierenExecute);
    actRegeln = make(QStringLiteral("&Regeln der Altersgruppen..."), nullptr, QString(),
                     &TfrmMain::actRegelnExecute);
    actTeilnehmerBearbeiten =
        make(QStringLiteral("&Bearbeiten"), "edit", QStringLiteral("Bearbeiten"),
             &TfrmMain::actTeilnehmerBearbeitenExecute);
    actTeilnehmerloeschen = make(QStringLiteral("&Löschen"), "delete", QStringLiteral("&Löschen"),
                                 &TfrmMain::actTeilnehmerloeschenExecute);
    actTeilnehmerloeschen->setShortcut(QKeySequence(Qt::Key_Delete));
    actDrucken = make(QStringLiteral("&Drucken"), "print", QStringLiteral("&Drucken"),
                      &TfrmMain::actDruckenExecute);
    actDrucken->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    actFertigstellen = make(QStringLiteral("&Fertigstellen"), "finish",
                            QStringLiteral("Fertigstellen"), &TfrmMain::actFertigstellenExecute);
    actVersenden = make(QStringLiteral("Meldung &versenden..."), nullptr, QString(),
                        &TfrmMain::actVersendenExecute);
    actVersenden->setEnabled(false);  // until a finishing has written files
    Druckereinstellungen = make(QStringLiteral("Drucker&einstellungen"), nullptr, QString(),
                                &TfrmMain::DruckereinstellungenExecute);
    actVeranstaltungBearbeiten = make(QStringLiteral("&Bearbeiten"), nullptr, QString(),
                                      &TfrmMain::actVeranstaltungBearbeitenExecute);
    actAbsenderBearbeiten = make(QStringLiteral("&Bearbeiten"), nullptr, QString(),
                                 &TfrmMain::actAbsenderBearbeitenExecute);
    Beenden2 = make(QStringLiteral("&Beenden"), nullptr, QString(), &TfrmMain::Beenden2Click);
    berKivrel401 =
        make(QStringLiteral("Über &Kivrel 4.0"), nullptr, QString(), &TfrmMain::berKivrel401Click);
}

void TfrmMain::CreateMenus() {
    QMenu* datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    datei->addAction(Druckereinstellungen);
    datei->addAction(actDrucken);
    datei->addSeparator();
    datei->addAction(Beenden2);
    menuBar()->addMenu(QStringLiteral("Absender"))->addAction(actAbsenderBearbeiten);
    QMenu* veranstaltung = menuBar()->addMenu(QStringLiteral("&Veranstaltung"));
    veranstaltung->addAction(actVeranstaltungBearbeiten);
    veranstaltung->addSeparator();
    veranstaltung->addAction(actFertigstellen);
    veranstaltung->addAction(actVersenden);
    QMenu* teilnehmer = menuBar()->addMenu(QStringLiteral("&Teilnehmer"));
    teilnehmer->addAction(TeilnehmerEinfuegen);
    teilnehmer->addAction(actTeilnehmerImportieren);
    teilnehmer->addAction(actTeilnehmerBearbeiten);
    teilnehmer->addAction(actTeilnehmerloeschen);
    teilnehmer->addSeparator();
    teilnehmer->addAction(actRegeln);
    menuBar()->addMenu(QStringLiteral("&Information"))->addAction(berKivrel401);
}

void TfrmMain::CreateClientArea(QWidget* client) {
    ToolBar1 = new QToolBar(client);
    ToolBar1->setGeometry(0, 0, 632, 57);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (QAction* action : {TeilnehmerEinfuegen, actTeilnehmerImportieren, actTeilnehmerBearbeiten,
                            actTeilnehmerloeschen, static_cast<QAction*>(nullptr), actDrucken,
                            static_cast<QAction*>(nullptr), actFertigstellen}) {
        if (!action) {
            ToolBar1->addSeparator();
            continue;
        }
        ToolBar1->addAction(action);
        SetSizeForCaption(*ToolBar1->widgetForAction(action), action->iconText(), QSize(63, 52));
    }
    // Alt+D opens the "Datei" menu, not the print button.
    if (auto* print = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(actDrucken)))
        print->setShortcut(QKeySequence());

    grbVeranstaltung = new QGroupBox(QStringLiteral("Veranstaltung"), client);
    grbVeranstaltung->setGeometry(8, 72, 209, 129);
    ediBezeichnung =
        ReadOnlyField(grbVeranstaltung, QRect(8, 20, 193, 21), QStringLiteral("Bezeichnung"));
    ediDatum = ReadOnlyField(grbVeranstaltung, QRect(8, 46, 65, 21), QStringLiteral("Datum"));
    ediOrt = ReadOnlyField(grbVeranstaltung, QRect(8, 72, 193, 21), QStringLiteral("Ort"));
    ediEmail = ReadOnlyField(grbVeranstaltung, QRect(8, 98, 193, 21),
                             QStringLiteral("Emailadresse für die Meldung"));

    grbAbsender = new QGroupBox(QStringLiteral("Absender"), client);
    grbAbsender->setGeometry(232, 72, 393, 129);
    ediVerein =
        ReadOnlyField(grbAbsender, QRect(8, 20, 377, 21), QStringLiteral("Verein, Vereinsnummer"));
    ediVerbaende = ReadOnlyField(grbAbsender, QRect(8, 46, 377, 21), QStringLiteral("Verbände"));
    ediAdresse =
        ReadOnlyField(grbAbsender, QRect(8, 72, 377, 21), QStringLiteral("Absender - Adresse"));
    ediKommunikation = ReadOnlyField(grbAbsender, QRect(8, 98, 377, 21),
                                     QStringLiteral("Absender - Kommunikationsdaten"));

    grbTeilnehmer = new QGroupBox(QStringLiteral("Teilnehmer"), client);
    grbTeilnehmer->setGeometry(8, 216, 617, 209);
    stgTeilnehmer2 = new QTableView(grbTeilnehmer);
    stgTeilnehmer2->setGeometry(8, 26, 600, 175);
    stgTeilnehmer2->setAccessibleName(grbTeilnehmer->title());
    // A double click anywhere in the grid edits the selected participant.
    SetUpParticipantGrid(*stgTeilnehmer2, *gridModel_, [this] { stgTeilnehmer2DblClick(); });
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - frameGeometry().center() + pos());
    SetMailParentWindow(static_cast<std::uintptr_t>(winId()));
    FormShow();
}

void TfrmMain::FormShow() {
    RunGuarded([&] {
        UpdateParticipantActions();
        ExitConfirmed = false;
        FirstActivation = true;
        setWindowTitle(QStringLiteral("Kivrel 4.2 Osmira Edition"));
        HideKataColumn(*stgTeilnehmer2);
    });
}

void TfrmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Outside the activation itself, since the start-up dialogue opens modal windows.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(this, &TfrmMain::FormActivate, Qt::QueuedConnection);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    FormCloseQuery(canClose);
    event->setAccepted(canClose);
}

void TfrmMain::FormCloseQuery(bool& canClose) {
    canClose = false;
    RunGuarded([&] {
        if (ExitConfirmed) {
            canClose = true;
            return;
        }
        canClose = Confirm("Soll der Kivrel wirklich beendet werden ?");
        if (canClose)
            ShowAdvert(AdvertKind::Thanks, this);
    });
    // A normal end: nothing is left to bring back.
    if (canClose && recovery_)
        recovery_->Remove();
}

void TfrmMain::Beenden2Click() {
    RunGuarded([&] { close(); });
}

void TfrmMain::UpdateParticipantActions() {
    const bool any = !meldung_.Teilnehmerliste.Empty();
    for (QAction* action :
         {actTeilnehmerBearbeiten, actTeilnehmerloeschen, actDrucken, actFertigstellen})
        action->setEnabled(any);
}

void TfrmMain::TeilnehmerEinfuegenExecute() {
    RunGuarded([&] {
        // The actions follow the list also when an error ends the series.
        const Finally update([this] { UpdateParticipantActions(); });
        bool again = false;
        do {
            int added = -1;
            // Also when cancelled: the editor may have made an age group.
            ChangeLists([&] {
                std::unique_ptr<tTeilnehmer> participant =
                    NewParticipant(GridNames(), meldung_.Altersgruppenliste, again, this);
                if (participant) {
                    const std::string key = ParticipantKey(*participant);
                    added = meldung_.Teilnehmerliste.AddDistinct(key, std::move(participant));
                }
            });
            if (added >= 0)
                FillParticipantGrid(added);
        } while (again);
    });
}

void TfrmMain::actTeilnehmerImportierenExecute() {
    RunGuarded([&] {
        const std::unique_ptr<tImport> import = AskImport(
            meldung_, {ReadImportColumns, WriteImportColumns}, {ReadAgeRules, WriteAgeRules}, this);
        if (!import)
            return;
        // All good rows in one step; nothing in the lists is changed or replaced.
        ChangeLists([&] { import->Apply(meldung_.Teilnehmerliste, meldung_.Altersgruppenliste); });
        FillParticipantGrid(-1);
        UpdateParticipantActions();
    });
}

void TfrmMain::actRegelnExecute() {
    // Kept for the imports to come; the entry itself does not change.
    RunGuarded([&] { EditAgeRules({ReadAgeRules, WriteAgeRules}, this); });
}

void TfrmMain::actTeilnehmerBearbeitenExecute() {
    RunGuarded([&] {
        tTeilnehmerliste& list = meldung_.Teilnehmerliste;
        // With Ctrl+click the user can leave no row selected.
        const int index = SelectedIndex();
        if (list.Empty() || index < 0)
            return;
        ChangeLists([&] {
            EditParticipant(list.Object(index), GridNames(), index, meldung_.Altersgruppenliste,
                            this);
        });
        FillParticipantGrid(index);
    });
}

void TfrmMain::actTeilnehmerloeschenExecute() {
    RunGuarded([&] {
        tTeilnehmerliste& list = meldung_.Teilnehmerliste;
        if (list.Empty() || SelectedIndex() < 0)
            return;
        const Finally update([this] { UpdateParticipantActions(); });
        if (!Confirm(Win1252("Soll der Teilnehmer wirklich gelöscht werden ?")))
            return;
        const int index = SelectedIndex();
        ChangeLists([&] { list.Delete(index); });
        // The one before it, or the new first one.
        FillParticipantGrid(index > 0 ? index - 1 : (list.Empty() ? -1 : 0));
    });
}

void TfrmMain::ShowEventDetails(const tTurnierData& turnier) {
    ShowText(ediBezeichnung, turnier.Bezeichnung);
    ShowText(ediDatum, FormatDate(turnier.Datum));
    ShowText(ediOrt, turnier.Ort);
    ShowText(ediEmail, turnier.Email);
}

void TfrmMain::ShowSenderClub(const tVereinData& verein) {
    ShowText(ediVerein, verein.Vereinsname + ", " + verein.Vereinsnummer);
    ShowText(ediVerbaende,
             Joined({verein.Kreis, verein.Bezirk, verein.Land, verein.Gruppe, verein.Nation}));
}

void TfrmMain::ShowSenderPerson(const tAbsenderData& absender) {
    ShowText(ediAdresse, absender.Vorname + " " + absender.Nachname + ", " + absender.Strasse +
                             ", " + absender.PLZ + " " + absender.Ort);
    ShowText(ediKommunikation, Joined({absender.Telefonp, absender.Telefond, absender.Telefax,
                                       absender.Mobil, absender.Email}));
}

void TfrmMain::FormActivate() {
    // Cleared first: the dialogue's own windows activate this one again when they close,
    // and an error part-way must not start it over at the next activation.
    if (!FirstActivation)
        return;
    FirstActivation = false;
    RunGuarded([&] { RunStartUp(*this); });
}

void TfrmMain::actFertigstellenExecute() {
    RunGuarded([&] {
        QFileDialog& dialog = SaveDialog();
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        const QString chosen = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
        // Proposed again at the next finishing.
        dialog.selectFile(chosen);
        std::optional<tFinished> finished = FinishEntry(meldung_, PathFromQt(chosen));
        if (!finished)
            return;
        lastFinished_ = std::move(finished);
        actVersenden->setEnabled(true);
        // The files must reach the organiser also when no mail client took them.
        if (lastFinished_->Mail == MailFate::NoClient || lastFinished_->Mail == MailFate::NotTaken)
            TfrmVersenden::Execute(*lastFinished_, this);
    });
}

void TfrmMain::actVersendenExecute() {
    RunGuarded([&] {
        if (lastFinished_)
            TfrmVersenden::Execute(*lastFinished_, this);
    });
}

void TfrmMain::actDruckenExecute() {
    // The tool bar is off while printing and on again on every path.
    ToolBar1->setEnabled(false);
    RunGuarded([&] {
        const tUsedAgeGroups groups =
            UsedAgeGroups(meldung_.Altersgruppenliste, meldung_.Teilnehmerliste);
        PrintEntryList(meldung_, groups, Printer(), this);
    });
    ToolBar1->setEnabled(true);
}

void TfrmMain::DruckereinstellungenExecute() {
    RunGuarded([&] { ShowPrinterSetup(Printer(), this); });
}

QPrinter& TfrmMain::Printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void TfrmMain::actVeranstaltungBearbeitenExecute() {
    RunGuarded([&] {
        if (EditTurnier(meldung_.Turnier, this) == 1)
            ShowEventDetails(meldung_.Turnier);
    });
}

void TfrmMain::actAbsenderBearbeitenExecute() {
    RunGuarded([&] {
        if (EditAbsender(meldung_.Absender, meldung_.Verein, this) == 1) {
            ShowSenderPerson(meldung_.Absender);
            ShowSenderClub(meldung_.Verein);
        }
    });
}

void TfrmMain::berKivrel401Click() {
    RunGuarded([] { TfrmAbout::Execute(); });
}

void TfrmMain::KeepRecovery(std::unique_ptr<tRecovery> recovery) {
    recovery_ = std::move(recovery);
}

void TfrmMain::ChangeLists(const std::function<void()>& change) {
    // Also after a change that ends half-way: what it did is in the lists.
    const Finally save([this] {
        if (!recovery_)
            return;
        // The safety net must never get in the way of the work it keeps.
        try {
            recovery_->Save(meldung_);
        } catch (...) {
        }
    });
    change();
}

}  // namespace kivrel
