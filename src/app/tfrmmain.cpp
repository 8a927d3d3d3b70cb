#include "app/tfrmmain.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <array>
#include <functional>

#include "app/tfrmabout.h"
#include "app/tfrmadvert.h"
#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/pictures.h"
#include "base/qtext.h"
#include "details/recoveryfile.h"
#include "details/tfrmabsender.h"
#include "details/tfrmturnier.h"
#include "details/tfrmwizzard.h"
#include "output/entryfile.h"
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

bool ExitConfirmed = false;

namespace {

const char* const kNoMailClient =
    "Es wurde kein Standard-Mailprogramm (MAPI) gefunden. Die Meldung kann nicht automatisch "
    "als Email erstellt werden. Wenn Sie bereits ein Email Programm verwenden, richten Sie es "
    "als Standard-MAPI Client ein, falls Sie Meldungen als Email erzeugen wollen.";

constexpr std::array<int, tTeilnehmerModel::kColumns> kColumnWidths = {143, 143, 39, 109,
                                                                       51,  19,  19, 49};
constexpr std::array<const char*, tTeilnehmerModel::kColumns> kHeadings = {
    "Nachname", "Vorname", "JG", "Altersgruppe", "Gewicht", "A", "K", "Grad"};
constexpr int kRowHeight = 16;
constexpr int kKataColumn = 6;
constexpr int kGradeColumn = 7;

// Cells drawn as a string grid draws them: one clipped line of text, the row highlighted
// when selected, and horizontal lines between the rows only. Plain drawing keeps refilling
// the grid cheap.
class GridCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QPalette::ColorGroup group =
            option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
        painter->setPen(
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(2, 0, -1, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data().toString());
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

QLineEdit* ReadOnlyField(QWidget* group, const QRect& geometry, const QString& hint) {
    auto* field = new QLineEdit(group);
    field->setGeometry(geometry);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setToolTip(hint);
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

// Runs at the end of a scope, also when an error leaves it.
template <class F>
class Finally {
public:
    explicit Finally(F f) : f_(std::move(f)) {}
    ~Finally() { f_(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

private:
    F f_;
};

}  // namespace

tTeilnehmerModel::tTeilnehmerModel(const tTeilnehmerliste& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {}

std::string tTeilnehmerModel::Cell(const tTeilnehmer& t, int column) {
    switch (column) {
        case 0:
            return t.Nachname;
        case 1:
            return t.Vorname;
        case 2:
            return t.Jahrgang;
        case 3:
            return t.Altersgruppe;
        case 4:
            return t.Gewicht;
        case 5:
            return t.Allkategorie ? "A" : " ";
        case kKataColumn:
            return t.Kata ? "K" : " ";
        case kGradeColumn:
            return GradeText(t.Graduierung);
        default:
            return std::string();
    }
}

const char* tTeilnehmerModel::Heading(int column) {
    return kHeadings.at(static_cast<std::size_t>(column));
}

void tTeilnehmerModel::Refill() {
    beginResetModel();
    endResetModel();
}

int tTeilnehmerModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(1, list_.Count());
}

int tTeilnehmerModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant tTeilnehmerModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= list_.Count())
        return QVariant();
    return ToQt(Cell(list_.Object(index.row()), index.column()));
}

QVariant tTeilnehmerModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return QVariant();
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(Heading(section));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return QVariant();
}

Qt::ItemFlags tTeilnehmerModel::flags(const QModelIndex& index) const {
    // The empty row of an empty list cannot be selected.
    if (!index.isValid() || index.row() >= list_.Count())
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

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
    dlgsave->setAcceptMode(QFileDialog::AcceptSave);
    dlgsave->setFileMode(QFileDialog::AnyFile);
    dlgsave->setDefaultSuffix(QStringLiteral("tv4"));
    dlgsave->setNameFilters({QStringLiteral("Torvanesca / Kivrel 4 Dateien (*.tv4)"),
                             QStringLiteral("Alle Dateien (*.*)")});
    dlgsave->setDirectory(QDir::current().absoluteFilePath(QStringLiteral("Meldungen")));
    dlgsave->selectFile(QStringLiteral("*.tv4"));
    // The replace question of finishing asks instead. Qt's own dialog speaks German with
    // the program's translations; on Windows the native one does.
    QFileDialog::Options options = QFileDialog::DontConfirmOverwrite;
    if (QGuiApplication::platformName() != QLatin1String("windows"))
        options |= QFileDialog::DontUseNativeDialog;
    dlgsave->setOptions(options);
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
    QMenu* teilnehmer = menuBar()->addMenu(QStringLiteral("&Teilnehmer"));
    teilnehmer->addAction(TeilnehmerEinfuegen);
    teilnehmer->addAction(actTeilnehmerImportieren);
    teilnehmer->addAction(actTeilnehmerBearbeiten);
    teilnehmer->addAction(actTeilnehmerloeschen);
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
        // A system font wider than the one the bar was laid out for widens the button
        // rather than cut its caption.
        QWidget* button = ToolBar1->widgetForAction(action);
        const int caption =
            button->fontMetrics().horizontalAdvance(QString(action->iconText()).remove(u'&'));
        button->setFixedSize(std::max(63, caption + 2), 52);
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
    stgTeilnehmer2->setModel(gridModel_);
    stgTeilnehmer2->setItemDelegate(new GridCellDelegate(stgTeilnehmer2));
    stgTeilnehmer2->setShowGrid(false);
    stgTeilnehmer2->setSelectionBehavior(QAbstractItemView::SelectRows);
    stgTeilnehmer2->setSelectionMode(QAbstractItemView::SingleSelection);
    stgTeilnehmer2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stgTeilnehmer2->setTabKeyNavigation(false);
    stgTeilnehmer2->setWordWrap(false);
    stgTeilnehmer2->setTextElideMode(Qt::ElideNone);
    stgTeilnehmer2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stgTeilnehmer2->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QHeaderView* rows = stgTeilnehmer2->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(kRowHeight);
    QHeaderView* header = stgTeilnehmer2->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(1);
    // The fixed row is as high as the others.
    header->setFixedHeight(kRowHeight);
    for (int column = 0; column < tTeilnehmerModel::kColumns; ++column)
        stgTeilnehmer2->setColumnWidth(column, kColumnWidths[static_cast<std::size_t>(column)]);
    // A double click anywhere in the grid edits the selected participant, also on the
    // headings and below the last row, where the view itself reports no cell.
    for (QWidget* area : {stgTeilnehmer2->viewport(), header->viewport()})
        area->installEventFilter(new DoubleClickFilter(area, [this] { stgTeilnehmer2DblClick(); }));
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
        // The kata column stays hidden; the grade column takes its width.
        stgTeilnehmer2->setColumnWidth(kGradeColumn,
                                       kColumnWidths[kKataColumn] + kColumnWidths[kGradeColumn]);
        stgTeilnehmer2->setColumnHidden(kKataColumn, true);
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
    if (canClose) {
        event->accept();
    } else {
        event->ignore();
    }
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

void TfrmMain::FillParticipantGrid(int select) {
    gridModel_->Refill();
    if (select < 0 || select >= meldung_.Teilnehmerliste.Count())
        return;
    const QModelIndex index = gridModel_->index(select, 0);
    stgTeilnehmer2->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    stgTeilnehmer2->scrollTo(index);
}

tGridNames TfrmMain::GridNames() const {
    const tTeilnehmerliste& list = meldung_.Teilnehmerliste;
    tGridNames grid;
    const auto rows = static_cast<std::size_t>(gridModel_->rowCount()) + 1;
    grid.Nachname.reserve(rows);
    grid.Vorname.reserve(rows);
    grid.Nachname.emplace_back(tTeilnehmerModel::Heading(0));
    grid.Vorname.emplace_back(tTeilnehmerModel::Heading(1));
    for (int i = 0; i < list.Count(); ++i) {
        grid.Nachname.push_back(list.Object(i).Nachname);
        grid.Vorname.push_back(list.Object(i).Vorname);
    }
    if (list.Empty()) {
        grid.Nachname.emplace_back();
        grid.Vorname.emplace_back();
    }
    return grid;
}

int TfrmMain::SelectedIndex() const {
    const QModelIndexList selected = stgTeilnehmer2->selectionModel()->selectedRows();
    if (selected.isEmpty() || selected.front().row() >= meldung_.Teilnehmerliste.Count())
        return -1;
    return selected.front().row();
}

void TfrmMain::TeilnehmerEinfuegenExecute() {
    RunGuarded([&] {
        // The actions follow the list also when an error ends the series.
        const Finally update([this] { UpdateParticipantActions(); });
        bool again = false;
        do {
            std::unique_ptr<tTeilnehmer> participant =
                NewParticipant(GridNames(), meldung_.Altersgruppenliste, again, this);
            if (participant) {
                const std::string key = ParticipantKey(*participant);
                FillParticipantGrid(
                    meldung_.Teilnehmerliste.AddDistinct(key, std::move(participant)));
            }
            // Also when cancelled: the editor may have made an age group.
            EntryChanged();
        } while (again);
    });
}

void TfrmMain::actTeilnehmerImportierenExecute() {
    RunGuarded([&] {
        const std::unique_ptr<tImport> import = AskImport(meldung_, this);
        if (!import)
            return;
        // All good rows in one step; nothing in the lists is changed or replaced.
        import->Apply(meldung_.Teilnehmerliste, meldung_.Altersgruppenliste);
        EntryChanged();
        FillParticipantGrid(-1);
        UpdateParticipantActions();
    });
}

void TfrmMain::actTeilnehmerBearbeitenExecute() {
    RunGuarded([&] {
        tTeilnehmerliste& list = meldung_.Teilnehmerliste;
        // With Ctrl+click the user can leave no row selected.
        const int index = SelectedIndex();
        if (list.Empty() || index < 0)
            return;
        EditParticipant(list.Object(index), GridNames(), index, meldung_.Altersgruppenliste, this);
        FillParticipantGrid(index);
        EntryChanged();
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
        list.Delete(index);
        EntryChanged();
        // The one before it, or the new first one.
        FillParticipantGrid(index > 0 ? index - 1 : (list.Empty() ? -1 : 0));
    });
}

void TfrmMain::stgTeilnehmer2DblClick() {
    actTeilnehmerBearbeitenExecute();
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

// The handlers below are filled by the parts of the program that serve them; they stand here
// so that menus and tool bar carry them from the start.

void TfrmMain::FormActivate() {
    // Cleared first: the dialogue's own windows activate this one again when they close,
    // and an error part-way must not start it over at the next activation.
    if (!FirstActivation)
        return;
    FirstActivation = false;
    RunGuarded([&] {
        if (!MapiClientAvailable())
            ShowWarning(kNoMailClient);
        ShowAdvert(AdvertKind::Welcome, this);
        std::unique_ptr<TfrmWizzard> own;
        TfrmWizzard* wizard = frmWizzard;
        if (!wizard) {
            own = std::make_unique<TfrmWizzard>(this);
            wizard = own.get();
        }
        if (wizard->Execute(meldung_.Absender, meldung_.Verein, meldung_.Turnier) == 2) {
            // Ending was confirmed in the wizard: no second question, no thank-you notice.
            close();
            return;
        }
        ShowEventDetails(meldung_.Turnier);
        ShowSenderClub(meldung_.Verein);
        ShowSenderPerson(meldung_.Absender);
        OfferRecovery();
        TeilnehmerEinfuegenExecute();
    });
}

void TfrmMain::actFertigstellenExecute() {
    RunGuarded([&] {
        QFileDialog& dialog = SaveDialog();
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        const QString chosen = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
        // Proposed again at the next finishing.
        dialog.selectFile(chosen);
        FinishEntry(meldung_, PathFromQt(chosen));
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

void TfrmMain::EntryChanged() {
    if (!recovery_)
        return;
    // The safety net must never get in the way of the work it keeps.
    try {
        recovery_->Save(meldung_);
    } catch (const std::exception&) {
    }
}

void TfrmMain::OfferRecovery() {
    if (!recovery_)
        return;
    std::optional<tRecoveredEntry> pending = recovery_->Pending();
    if (!pending)
        return;
    if (!Confirm(RecoveryQuestion(*pending))) {
        recovery_->Decline();
        return;
    }
    RestoreEntry(std::move(*pending), meldung_);
    recovery_->Accept();
    FillParticipantGrid(-1);
    UpdateParticipantActions();
}

}  // namespace kivrel
