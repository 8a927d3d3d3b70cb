#include "participants/tfrmimport.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "base/accessible.h"
#include "base/busy.h"
#include "base/cp1252.h"
#include "base/error.h"
#include "base/filedialogs.h"
#include "base/inputfield.h"
#include "base/messages.h"
#include "base/qtext.h"
#include "participants/celldelegate.h"
#include "participants/dialoglayout.h"
#include "participants/inputrules.h"
#include "participants/tfrmaltersgruppe.h"

namespace kivrel {

namespace {
// Proposals of the rules, apart from black (file, typed) and dark red (faults).
const QColor kProposalColour(0x00, 0x40, 0xC0);

// A cell's text in colour, where the grid's background lets it stand out (not in a
// high-contrast scheme); each colour has its second cue.
QBrush Cue(const QColor& colour) {
    return QBrush(Legible(colour, QGuiApplication::palette()));
}
}  // namespace

// The import's rows as the grid shows and edits them.
class tImportModel : public QAbstractTableModel {
public:
    tImportModel(tImport& import, QObject* parent) : QAbstractTableModel(parent), import_(import) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(import_.Rows().size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : TfrmImport::kColumnCount;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags flags = QAbstractTableModel::flags(index);
        switch (index.column()) {
            case TfrmImport::colStart:
            case TfrmImport::colKata:
            case TfrmImport::colAllkategorie:
                return flags | Qt::ItemIsUserCheckable;
            case TfrmImport::colNachname:
            case TfrmImport::colVorname:
            case TfrmImport::colJahrgang:
            case TfrmImport::colGraduierung:
            case TfrmImport::colGewicht:
                return flags | Qt::ItemIsEditable;
            default:
                return flags;
        }
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return QVariant();
        const tImportRow& row = import_.Rows()[static_cast<std::size_t>(index.row())];
        const tTeilnehmer& t = row.Participant;
        if (role == Qt::CheckStateRole) {
            if (!IsFlagColumn(index.column()))
                return QVariant();
            return Flag(index.column(), static_cast<std::size_t>(index.row())) ? Qt::Checked
                                                                               : Qt::Unchecked;
        }
        if (const std::string* proposed = Proposed(row, index.column())) {
            // Shown apart from what the file says or the user typed, until accepted.
            if (role == Qt::ForegroundRole)
                return Cue(kProposalColour);
            if (role == Qt::FontRole) {
                QFont font;
                font.setItalic(true);
                return font;
            }
            if (role == Qt::ToolTipRole)
                return QStringLiteral("Vorschlag aus den Regeln: %1").arg(Shown(*proposed));
            if (role == Qt::DisplayRole || role == Qt::EditRole)
                return Shown(*proposed);
        }
        if (IsFlagColumn(index.column()) && role == Qt::AccessibleTextRole)
            // A screen reader's name of the box: its column and the file's row.
            return QStringLiteral("%1, Zeile %2")
                .arg(headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString())
                .arg(row.Row);
        // A letter the entry cannot hold: underlined besides dark red, and named.
        if (const std::string* name = Name(t, index.column());
            name && !FirstMarked(*name).empty()) {
            if (role == Qt::FontRole) {
                QFont font;
                font.setUnderline(true);
                return font;
            }
            if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole)
                return Shown(LetterFault(*name, index.column() == TfrmImport::colNachname
                                                    ? "Der Nachname"
                                                    : "Der Vorname"));
        }
        if (role == Qt::ForegroundRole) {
            switch (index.column()) {
                case TfrmImport::colNachname:
                    return Marked(t.Nachname);
                case TfrmImport::colVorname:
                    return Marked(t.Vorname);
                case TfrmImport::colErgebnis:
                    if (!row.Start)
                        return Cue(QColor(0x6E, 0x6E, 0x6E));  // not started
                    if (!row.Reason.empty())
                        return Cue(Qt::darkRed);
                    // A grade left to pick is no fault, but not "wird übernommen" either.
                    return row.GradeNote.empty() ? QVariant() : Cue(QColor(0x99, 0x5C, 0x00));
                default:
                    return QVariant();
            }
        }
        if (role == Qt::EditRole && index.column() == TfrmImport::colGraduierung)
            return t.Graduierung;
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::EditRole)
            return QVariant();
        switch (index.column()) {
            case TfrmImport::colDatei:
                return ToQt(row.File);
            case TfrmImport::colZeile:
                return row.Row;
            case TfrmImport::colNachname:
                return Shown(t.Nachname);
            case TfrmImport::colVorname:
                return Shown(t.Vorname);
            case TfrmImport::colJahrgang:
                return Shown(t.Jahrgang);
            case TfrmImport::colGeschlecht:
                return Shown(row.GenderText.empty() ? row.Gender : row.GenderText);
            case TfrmImport::colGraduierung:
                return t.Graduierung > 0    ? ToQt(GradeText(t.Graduierung))
                       : t.Graduierung == 0 ? QStringLiteral("[unbekannt]")
                                            : QString();
            case TfrmImport::colAltersgruppe:
                return Shown(t.Altersgruppe);
            case TfrmImport::colKoerpergewicht:
                return Shown(row.Koerpergewicht);
            case TfrmImport::colGewicht:
                return Shown(t.Gewicht);
            case TfrmImport::colErgebnis:
                // A row that does not start needs no reason, only what keeps it out for good.
                if (!row.Start)
                    return Shown(row.Fault);
                if (!row.Reason.empty())
                    return Shown(row.Proposal.Note.empty() ? row.Reason
                                                           : row.Reason + ' ' + row.Proposal.Note);
                return row.GradeNote.empty() ? QStringLiteral("wird übernommen")
                                             : Shown(row.GradeNote);
            default:
                return QVariant();
        }
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        const auto row = static_cast<std::size_t>(index.row());
        bool result = false;
        RunGuarded([&] {
            std::vector<std::size_t> changed;
            const bool on = value.toInt() == Qt::Checked;
            const int column = index.column();
            if (role == Qt::CheckStateRole && IsFlagColumn(column))
                changed = SetFlag(column, {row}, on);
            else if (role == Qt::EditRole && TextField(column) != kImportFieldCount)
                // A letter the entry cannot hold stays what it is, and the row says so.
                changed = import_.SetText(row, TextField(column),
                                          Utf8ToCp1252Marked(value.toString().toStdString()));
            else if (role == Qt::EditRole && index.column() == TfrmImport::colGewicht)
                changed = import_.SetGewicht(row, FromQt(value.toString()));
            else if (role == Qt::EditRole && index.column() == TfrmImport::colGraduierung)
                changed = import_.SetGraduierung(row, value.toInt());
            else
                return;
            RowsChanged(changed);
            result = true;
        });
        return result;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* const kHeadings[TfrmImport::kColumnCount] = {
            "Start",          "Datei",      "Zeile",        "Nachname",     "Vorname",
            "Jahrgang",       "Geschlecht", "Graduierung",  "Altersgruppe", "kg",
            "Gewichtsklasse", "Kata",       "Allkategorie", "Ergebnis"};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= TfrmImport::kColumnCount)
            return QVariant();
        return QString::fromLatin1(kHeadings[section]);
    }

    static bool IsFlagColumn(int column) {
        return column == TfrmImport::colStart || column == TfrmImport::colKata ||
               column == TfrmImport::colAllkategorie;
    }
    // The field that a column of typed text edits; kImportFieldCount for none.
    static tImportField TextField(int column) {
        switch (column) {
            case TfrmImport::colNachname:
                return fldNachname;
            case TfrmImport::colVorname:
                return fldVorname;
            case TfrmImport::colJahrgang:
                return fldJahrgang;
            default:
                return kImportFieldCount;
        }
    }
    // Start, Kata or Allkategorie for these rows.
    std::vector<std::size_t> SetFlag(int column, const std::vector<std::size_t>& rows, bool on) {
        if (column == TfrmImport::colKata)
            return import_.SetKata(rows, on);
        if (column == TfrmImport::colAllkategorie)
            return import_.SetAllkategorie(rows, on);
        return import_.SetStart(rows, on);
    }
    bool Flag(int column, std::size_t row) const {
        const tImportRow& r = import_.Rows()[row];
        return column == TfrmImport::colKata           ? r.Participant.Kata
               : column == TfrmImport::colAllkategorie ? r.Participant.Allkategorie
                                                       : r.Start;
    }

    // Tells the views about rows the import checked again.
    void RowsChanged(const std::vector<std::size_t>& rows) {
        if (rows.empty())
            return;
        const auto [low, high] = std::minmax_element(rows.begin(), rows.end());
        emit dataChanged(index(static_cast<int>(*low), 0),
                         index(static_cast<int>(*high), TfrmImport::kColumnCount - 1));
    }

    void AllChanged() {
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, TfrmImport::kColumnCount - 1));
    }

private:
    static const std::string* Name(const tTeilnehmer& t, int column) {
        return column == TfrmImport::colNachname  ? &t.Nachname
               : column == TfrmImport::colVorname ? &t.Vorname
                                                  : nullptr;
    }
    // The proposal that a cell shows, where the row has no value of its own.
    static const std::string* Proposed(const tImportRow& row, int column) {
        const std::string* proposed = column == TfrmImport::colAltersgruppe ? &row.Proposal.Group
                                      : column == TfrmImport::colGewicht    ? &row.Proposal.Gewicht
                                                                            : nullptr;
        return proposed && !proposed->empty() ? proposed : nullptr;
    }

    // A text as the file had it, letters that Windows-1252 lacks included.
    static QString Shown(const std::string& text) {
        return QString::fromStdString(MarkedToUtf8(text));
    }
    static QVariant Marked(const std::string& name) {
        return FirstMarked(name).empty() ? QVariant() : QVariant(Cue(Qt::darkRed));
    }

    tImport& import_;
};

namespace {

// Typing a weight class into the grid: the editor's field with its key rule.
class tWeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* edit = new QLineEdit(parent);
        edit->setMaxLength(kGewichtMaxLength);
        // Typing replaces the selected text, as in any spreadsheet; the rule judges what
        // stays.
        UseInputRules(*edit, [](QLineEdit& sender, char key) {
            return WeightKeyAcceptedOverSelection(FromQt(sender.text()), SelStart(sender),
                                                  static_cast<int>(sender.selectedText().size()),
                                                  key);
        });
        return edit;
    }
};

// Picking a grade in the grid: the editor's list.
class tGradeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* list = new QComboBox(parent);
        list->addItem(QStringLiteral("[unbekannt]"));
        for (const char* name : Graduierungen)
            list->addItem(ToQt(name));
        return list;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QComboBox*>(editor)->setCurrentIndex(index.data(Qt::EditRole).toInt());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        const int grade = static_cast<QComboBox*>(editor)->currentIndex();
        if (grade >= 0)
            model->setData(index, grade, Qt::EditRole);
    }
};

QString Summary(const tImport& import) {
    const int good = import.GoodRows();
    const int refused = import.TickedBadRows();
    QString text;
    if (good + refused == 0) {
        // A member list holds everyone: nothing is wrong yet, the starters are to be picked.
        const auto rows = static_cast<int>(import.Rows().size());
        text = (rows == 1 ? QStringLiteral("1 Zeile gelesen")
                          : QStringLiteral("%1 Zeilen gelesen").arg(rows)) +
               QStringLiteral(
                   ". Bitte kreuzen Sie unter „Start“ die Teilnehmer an, die starten "
                   "(Leertaste: die markierten Zeilen)");
    } else {
        text = good == 1 ? QStringLiteral("1 Teilnehmer wird übernommen")
                         : QStringLiteral("%1 Teilnehmer werden übernommen").arg(good);
        if (refused > 0)
            text += refused == 1 ? QStringLiteral(", 1 Zeile nicht")
                                 : QStringLiteral(", %1 Zeilen nicht").arg(refused);
    }
    if (!import.FileErrors.empty())
        text += QStringLiteral(", %1 Datei(en) nicht gelesen").arg(import.FileErrors.size());
    return text + QLatin1Char('.');
}

// Asked at OK when ticked rows would be left out or come in without their grade.
QString LeftOutQuestion(const tImport& import) {
    QStringList parts;
    if (const int bad = import.TickedBadRows(); bad > 0)
        parts << (bad == 1 ? QStringLiteral("1 angekreuzte Zeile ist noch nicht vollständig und "
                                            "wird nicht übernommen.")
                           : QStringLiteral("%1 angekreuzte Zeilen sind noch nicht vollständig "
                                            "und werden nicht übernommen.")
                                 .arg(bad));
    if (const int ungraded = import.TickedWithoutGrade(); ungraded > 0)
        parts << (ungraded == 1
                      ? QStringLiteral("1 Teilnehmer wird ohne Graduierung übernommen.")
                      : QStringLiteral("%1 Teilnehmer werden ohne Graduierung übernommen.")
                            .arg(ungraded));
    if (parts.isEmpty())
        return QString();
    return parts.join(QLatin1Char(' ')) + QStringLiteral("\nTrotzdem übernehmen?");
}

QString NewGroupsText(const tImport& import) {
    QStringList keys;
    for (const std::string& key : import.NewAgeGroupKeys())
        keys << ToQt(key);
    if (keys.isEmpty())
        return QStringLiteral("Es werden keine neuen Altersgruppen angelegt.");
    return QStringLiteral("Neue Altersgruppen: ") + keys.join(QStringLiteral(", "));
}

QStringList ChooseFiles(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Teilnehmer importieren"));
    // The folder of the last import, at first the one that finishing proposes.
    static QString folder = EntryFolder();
    SetUpFileDialog(dialog, false,
                    // Workbooks too, to be told how to save them as CSV.
                    {QStringLiteral("Mitgliederlisten und Meldedateien (*.csv *.txt *.tv4 *.xlsx "
                                    "*.xls *.ods)"),
                     QStringLiteral("Mitgliederlisten (*.csv *.txt)"),
                     QStringLiteral("Torvanesca / Kivrel 4 Dateien (*.tv4)"),
                     QStringLiteral("Alle Dateien (*)")},
                    QFileInfo::exists(folder) ? folder : QDir::currentPath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    // A typed path may lead elsewhere than the folder shown.
    folder = QFileInfo(dialog.selectedFiles().constFirst()).absolutePath();
    return dialog.selectedFiles();
}

}  // namespace

TfrmImport::TfrmImport(tImport& import, const tRuleMemory& rules, QWidget* parent)
    : QDialog(parent, kSizableDialogFlags), import_(import), rules_(rules) {
    setWindowTitle(QStringLiteral("Teilnehmer importieren"));
    auto* layout = new QVBoxLayout(this);

    lblSumme = new QLabel(this);
    layout->addWidget(lblSumme);
    lblDateifehler = new QLabel(this);
    lblDateifehler->setWordWrap(true);
    SetTextColour(*lblDateifehler, Qt::darkRed);
    layout->addWidget(lblDateifehler);

    // Which column of a member list fills which field.
    auto* columns = new QGridLayout();
    cbbDatei = new QComboBox(this);
    for (const tImportSheet& sheet : import_.Sheets())
        cbbDatei->addItem(ToQt(sheet.File));
    auto* lblDatei = new QLabel(QStringLiteral("Spalten der Datei:"), this);
    NameAfterLabel(*lblDatei, *cbbDatei);
    columns->addWidget(lblDatei, 0, 0);
    columns->addWidget(cbbDatei, 0, 1, 1, 3);
    for (int f = 0; f < kImportFieldCount; ++f) {
        QComboBox*& list = cbbSpalte[static_cast<std::size_t>(f)];
        list = new QComboBox(this);
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        auto* label = new QLabel(ToQt(ImportFieldName(static_cast<tImportField>(f))) + ':', this);
        NameAfterLabel(*label, *list);
        columns->addWidget(label, 1 + f / 3, (f % 3) * 2);
        columns->addWidget(list, 1 + f / 3, (f % 3) * 2 + 1);
        connect(list, &QComboBox::currentIndexChanged, this, &TfrmImport::cbbSpalteChange);
    }
    columns->setColumnStretch(6, 1);
    layout->addLayout(columns);
    const bool sheets = !import_.Sheets().empty();
    lblDatei->setVisible(sheets);
    cbbDatei->setVisible(sheets);
    for (QComboBox* list : cbbSpalte)
        list->setVisible(sheets);
    for (int i = 0; i < columns->count(); ++i) {
        if (auto* label = qobject_cast<QLabel*>(columns->itemAt(i)->widget()))
            label->setVisible(sheets);
    }
    connect(cbbDatei, &QComboBox::currentIndexChanged, this, &TfrmImport::cbbDateiChange);

    stgZeilen = new QTableView(this);
    stgZeilen->setAccessibleName(QStringLiteral("Vorschau der Zeilen"));
    model_ = new tImportModel(import_, this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    // Rows stay where they are while the user edits them.
    proxy_->setDynamicSortFilter(false);
    stgZeilen->setModel(proxy_);
    stgZeilen->setSortingEnabled(true);
    stgZeilen->sortByColumn(-1, Qt::AscendingOrder);
    stgZeilen->setSelectionBehavior(QAbstractItemView::SelectRows);
    stgZeilen->setSelectionMode(QAbstractItemView::ExtendedSelection);
    stgZeilen->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
    stgZeilen->setItemDelegateForColumn(colGewicht, new tWeightDelegate(stgZeilen));
    stgZeilen->setItemDelegateForColumn(colGraduierung, new tGradeDelegate(stgZeilen));
    for (const auto& [column, length] : {std::pair(colNachname, kNameMaxLength),
                                         {colVorname, kNameMaxLength},
                                         {colJahrgang, kJahrgangMaxLength}})
        stgZeilen->setItemDelegateForColumn(column,
                                            new tCellDelegate(length, NotDoubleQuote, stgZeilen));
    stgZeilen->setWordWrap(false);
    // Tab goes on to the controls below, as everywhere (the arrows move between the cells);
    // typing into a cell, Tab still goes to the next one.
    stgZeilen->setTabKeyNavigation(false);
    stgZeilen->verticalHeader()->hide();
    stgZeilen->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    stgZeilen->verticalHeader()->setDefaultSectionSize(20);
    layout->addWidget(stgZeilen, 1);
    stgZeilen->installEventFilter(this);
    // The current row's result in full, where the column is too narrow for it.
    lblErgebnis = new QLabel(this);
    lblErgebnis->setWordWrap(true);
    layout->addWidget(lblErgebnis);
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& top, const QModelIndex& bottom) {
                Widen(top.row(), bottom.row());
                Refresh();
            });
    // Moving through the rows changes nothing but the line of the current row.
    connect(stgZeilen->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ShowCurrentResult(); });

    auto* groups = new QHBoxLayout();
    cbbAltersgruppe = new QComboBox(this);
    cbbAltersgruppe->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cbbAltersgruppe->setMinimumContentsLength(12);
    auto* lblAltersgruppe =
        new QLabel(QStringLiteral("&Altersgruppe der markierten Zeilen:"), this);
    NameAfterLabel(*lblAltersgruppe, *cbbAltersgruppe);
    btnNeu = new QPushButton(QStringLiteral("Ne&u..."), this);
    btnNeu->setToolTip(QStringLiteral("Altersgruppe einfügen"));
    btnZuweisen = new QPushButton(QStringLiteral("&Zuweisen"), this);
    btnZuweisen->setToolTip(
        QStringLiteral("Gibt den markierten Zeilen die Altersgruppe und lässt sie starten"));
    groups->addWidget(lblAltersgruppe);
    groups->addWidget(cbbAltersgruppe);
    groups->addWidget(btnNeu);
    groups->addWidget(btnZuweisen);
    groups->addStretch(1);
    layout->addLayout(groups);
    connect(btnNeu, &QPushButton::clicked, this, &TfrmImport::btnNeuClick);
    connect(btnZuweisen, &QPushButton::clicked, this, &TfrmImport::btnZuweisenClick);

    // What the age groups' rules propose, in blue in the grid.
    auto* proposals = new QHBoxLayout();
    btnRegeln = new QPushButton(QStringLiteral("&Regeln..."), this);
    btnRegeln->setToolTip(QStringLiteral("Jahrgänge und Gewichtsklassen der Altersgruppen"));
    btnVorschlaege = new QPushButton(QStringLiteral("&Vorschläge übernehmen"), this);
    btnVorschlaege->setToolTip(
        QStringLiteral("Übernimmt die vorgeschlagenen Altersgruppen und Gewichtsklassen (blau "
                       "und kursiv) "
                       "aller angekreuzten Zeilen"));
    btnVorschlaegeMarkierte =
        new QPushButton(QStringLiteral("Vorschläge der &markierten Zeilen"), this);
    btnVorschlaegeMarkierte->setToolTip(
        QStringLiteral("Übernimmt die Vorschläge der markierten Zeilen und lässt sie starten"));
    proposals->addWidget(
        new QLabel(QStringLiteral("Vorschläge aus den Regeln (blau und kursiv):"), this));
    proposals->addWidget(btnRegeln);
    proposals->addWidget(btnVorschlaege);
    proposals->addWidget(btnVorschlaegeMarkierte);
    proposals->addStretch(1);
    layout->addLayout(proposals);
    connect(btnRegeln, &QPushButton::clicked, this, &TfrmImport::btnRegelnClick);
    connect(btnVorschlaege, &QPushButton::clicked, this, &TfrmImport::btnVorschlaegeClick);
    connect(btnVorschlaegeMarkierte, &QPushButton::clicked, this,
            &TfrmImport::btnVorschlaegeMarkierteClick);

    lblAltersgruppen = new QLabel(this);
    lblAltersgruppen->setWordWrap(true);
    layout->addWidget(lblAltersgruppen);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    // Return belongs to the grid (the next row, as in a spreadsheet): OK only by its button
    // or its access letter.
    AddOkCancelRow(*this, *layout, btnOK, btnCancel);
    connect(btnOK, &QPushButton::clicked, this, &TfrmImport::btnOKClick);

    FillAgeGroups(std::string());
    ShowColumns();
    // The file's name only tells something when rows of several files are shown.
    const auto& rows = import_.Rows();
    stgZeilen->setColumnHidden(colDatei, std::all_of(rows.begin(), rows.end(), [&](const auto& r) {
                                   return r.File == rows.front().File;
                               }));
    // Entry files bring no body weight.
    stgZeilen->setColumnHidden(colKoerpergewicht, import_.Sheets().empty());
    stgZeilen->resizeColumnsToContents();
    // Room for the reasons that ticking brings, which the rows do not show yet.
    int reasonWidth = stgZeilen->columnWidth(colErgebnis);
    for (const std::string& reason : {ParticipantFaultMessage(tParticipantFault::Altersgruppe, {}),
                                      ParticipantFaultMessage(tParticipantFault::Gewicht, {})})
        reasonWidth =
            std::max(reasonWidth, stgZeilen->fontMetrics().horizontalAdvance(ToQt(reason)) +
                                      stgZeilen->fontMetrics().averageCharWidth() * 2);
    stgZeilen->setColumnWidth(colErgebnis, reasonWidth);
    Refresh();
    editsAtStart_ = import_.EditCount();
    // Wide enough for every column, reasons included, as far as the screen allows.
    int width = 2 * stgZeilen->frameWidth() + stgZeilen->verticalScrollBar()->sizeHint().width() +
                layout->contentsMargins().left() + layout->contentsMargins().right();
    for (int c = 0; c < kColumnCount; ++c)
        width += stgZeilen->isColumnHidden(c) ? 0 : stgZeilen->columnWidth(c);
    const QRect screen = this->screen()->availableGeometry();
    resize(std::clamp(width, std::max(sizeHint().width(), 900),
                      std::max(900, screen.width() * 9 / 10)),
           std::min(600, screen.height() * 9 / 10));
}

TfrmImport::~TfrmImport() = default;

bool TfrmImport::eventFilter(QObject* watched, QEvent* event) {
    if (watched != stgZeilen || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool editing = stgZeilen->indexWidget(stgZeilen->currentIndex()) != nullptr;
    // Space ticks the current column's box (Start, Kata or Allkategorie; Start elsewhere) in
    // all selected rows, or clears it when the current row's is ticked. Ctrl+Space adds the
    // current row to the selection, or takes it out.
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier && !editing) {
        RunGuarded([&] { TickSelected(); });
        return true;
    }
    // A check box's cell would take Ctrl+Space for itself.
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::ControlModifier && !editing) {
        stgZeilen->selectionModel()->select(
            stgZeilen->currentIndex(), QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
        return true;
    }
    // Return ends the typing into a cell (the cell's editor passes the key on to the grid)
    // and goes to the row below, as in a spreadsheet; never to OK.
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (editing)
            QMetaObject::invokeMethod(this, &TfrmImport::NextRow, Qt::QueuedConnection);
        else
            NextRow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmImport::TickSelected() {
    // With no row marked (the grid reached with Tab), the row with the focus is meant.
    if (!stgZeilen->selectionModel()->hasSelection() && stgZeilen->currentIndex().isValid())
        stgZeilen->selectionModel()->select(
            stgZeilen->currentIndex(), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.empty())
        return;
    const QModelIndex current = proxy_->mapToSource(stgZeilen->currentIndex());
    const int column = current.isValid() && tImportModel::IsFlagColumn(current.column())
                           ? current.column()
                           : static_cast<int>(colStart);
    const std::size_t lead =
        current.isValid() ? static_cast<std::size_t>(current.row()) : rows.front();
    const BusyScope busy;
    model_->RowsChanged(model_->SetFlag(column, rows, !model_->Flag(column, lead)));
}

void TfrmImport::NextRow() {
    const QModelIndex current = stgZeilen->currentIndex();
    if (!current.isValid() || current.row() + 1 >= proxy_->rowCount())
        return;
    stgZeilen->setCurrentIndex(proxy_->index(current.row() + 1, current.column()));
}

void TfrmImport::reject() {
    // Minutes of work are not thrown away by one key.
    bool leave = true;
    RunGuarded([&] {
        leave = import_.EditCount() == editsAtStart_ ||
                Confirm(Win1252("Die Änderungen in der Vorschau gehen verloren. Abbrechen?"));
    });
    if (leave)
        QDialog::reject();
}

void TfrmImport::btnOKClick() {
    bool go = true;
    RunGuarded([&] {
        const QString question = LeftOutQuestion(import_);
        go = question.isEmpty() || Confirm(FromQt(question));
    });
    if (go)
        accept();
}

std::vector<std::size_t> TfrmImport::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : stgZeilen->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(proxy_->mapToSource(index).row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TfrmImport::Refresh() {
    lblSumme->setText(Summary(import_));
    ShowCurrentResult();
    QStringList errors;
    for (const std::string& error : import_.FileErrors)
        errors << ToQt(error);
    for (const tImportSheet& sheet : import_.Sheets()) {
        if (sheet.Columns[fldNachname] < 0 || sheet.Columns[fldVorname] < 0)
            errors << QStringLiteral(
                          "Die Datei %1 enthält keine Spalten „Nachname“ und "
                          "„Vorname“: Bitte wählen Sie unter „Spalten der Datei“, "
                          "welche Spalten die Namen enthalten.")
                          .arg(ToQt(sheet.File));
    }
    lblDateifehler->setText(errors.join(QLatin1Char('\n')));
    lblDateifehler->setVisible(!errors.isEmpty());
    lblAltersgruppen->setText(NewGroupsText(import_));
    btnVorschlaege->setEnabled(!import_.TickedWithProposal().empty());
    btnOK->setEnabled(import_.GoodRows() > 0);
}

void TfrmImport::ShowCurrentResult() {
    const QModelIndex current = stgZeilen->currentIndex();
    const QString result =
        current.isValid() ? current.siblingAtColumn(colErgebnis).data().toString() : QString();
    lblErgebnis->setText(result.isEmpty()
                             ? QString()
                             : QStringLiteral("Zeile %1: %2")
                                   .arg(current.siblingAtColumn(colZeile).data().toInt())
                                   .arg(result));
}

void TfrmImport::Widen(int top, int bottom) {
    // A changed reason or age group may be longer than the column; as when the columns were
    // sized, a thousand rows tell enough.
    for (const int column : {colAltersgruppe, colGewicht, colErgebnis}) {
        int width = stgZeilen->columnWidth(column);
        for (int row = top; row <= std::min(bottom, top + 999); ++row) {
            const QModelIndex index = proxy_->mapFromSource(model_->index(row, column));
            width = std::max(width, stgZeilen->sizeHintForIndex(index).width());
        }
        stgZeilen->setColumnWidth(column, width);
    }
}

void TfrmImport::FillAgeGroups(const std::string& select) {
    cbbAltersgruppe->clear();
    for (const std::string& key : import_.AgeGroupKeys())
        cbbAltersgruppe->addItem(ToQt(key));
    // The first one when none is asked for: an empty choice would only ask for a click.
    cbbAltersgruppe->setCurrentIndex(std::max(0, cbbAltersgruppe->findText(ToQt(select))));
}

void TfrmImport::ShowColumns() {
    const int sheet = cbbDatei->currentIndex();
    if (sheet < 0)
        return;
    const tImportSheet& s = import_.Sheets()[static_cast<std::size_t>(sheet)];
    filling_ = true;
    for (std::size_t f = 0; f < cbbSpalte.size(); ++f) {
        QComboBox* list = cbbSpalte[f];
        list->clear();
        list->addItem(QStringLiteral("(keine)"));
        for (std::size_t c = 0; c < s.Heading.size(); ++c) {
            list->addItem(s.Heading[c].empty() ? QStringLiteral("Spalte %1").arg(c + 1)
                                               : ToQt(s.Heading[c]));
        }
        list->setCurrentIndex(s.Columns[f] + 1);
    }
    filling_ = false;
}

void TfrmImport::btnNeuClick() {
    RunGuarded([&] {
        std::unique_ptr<tAltersgruppe> group = NewAgeGroup(this);
        if (!group)
            return;
        FillAgeGroups(import_.AddAgeGroup(*group));
        Refresh();
    });
}

void TfrmImport::btnZuweisenClick() {
    RunGuarded([&] {
        const std::vector<std::size_t> rows = SelectedRows();
        if (rows.empty()) {
            RefuseInput(*stgZeilen,
                        "Bitte markieren Sie die Zeilen, die diese Altersgruppe erhalten sollen.");
            return;
        }
        if (cbbAltersgruppe->currentIndex() < 0) {
            RefuseInput(
                *cbbAltersgruppe,
                Win1252("Bitte wählen die Altersgruppe aus, in der Teilnehmer starten soll."));
            return;
        }
        model_->RowsChanged(import_.SetAgeGroup(rows, FromQt(cbbAltersgruppe->currentText())));
    });
}

void TfrmImport::btnRegelnClick() {
    RunGuarded([&] {
        const std::optional<tAgeRules> rules = EditAgeRules(rules_, this);
        if (!rules)
            return;
        const BusyScope busy;
        import_.SetRules(*rules);
        model_->AllChanged();
        FillAgeGroups(FromQt(cbbAltersgruppe->currentText()));
        Refresh();
    });
}

void TfrmImport::btnVorschlaegeClick() {
    RunGuarded([&] {
        const BusyScope busy;
        model_->RowsChanged(import_.AcceptProposals(import_.TickedWithProposal()));
    });
}

void TfrmImport::btnVorschlaegeMarkierteClick() {
    RunGuarded([&] {
        const std::vector<std::size_t> rows = SelectedRows();
        if (rows.empty()) {
            RefuseInput(*stgZeilen, Win1252("Bitte markieren Sie die Zeilen, deren Vorschläge Sie "
                                            "übernehmen möchten."));
            return;
        }
        model_->RowsChanged(import_.AcceptProposals(rows));
    });
}

void TfrmImport::cbbDateiChange() {
    RunGuarded([&] { ShowColumns(); });
}

void TfrmImport::cbbSpalteChange() {
    if (filling_)
        return;
    RunGuarded([&] {
        const int sheet = cbbDatei->currentIndex();
        if (sheet < 0)
            return;
        tImportColumns columns{};
        for (std::size_t f = 0; f < cbbSpalte.size(); ++f)
            columns[f] = cbbSpalte[f]->currentIndex() - 1;
        const BusyScope busy;
        import_.SetColumns(static_cast<std::size_t>(sheet), columns);
        // The same rows, with the edits kept: the selection stays too.
        model_->AllChanged();
        stgZeilen->resizeColumnsToContents();
        FillAgeGroups(FromQt(cbbAltersgruppe->currentText()));
        Refresh();
    });
}

std::unique_ptr<tImport> AskImport(const tMeldung& meldung, const tColumnMemory& memory,
                                   const tRuleMemory& rules, QWidget* parent) {
    const QStringList paths = ChooseFiles(parent);
    if (paths.isEmpty())
        return nullptr;

    auto import = std::make_unique<tImport>(meldung.Teilnehmerliste, meldung.Altersgruppenliste,
                                            QDate::currentDate().year());
    std::vector<bool> remembered;
    {
        const BusyScope busy;
        std::vector<tImportFile> files;
        std::vector<std::string> errors;
        for (const QString& path : paths) {
            const QFileInfo info(path);
            const std::string name = FromQt(info.fileName());
            // Refused by its size before a byte is read, so a huge file costs no time.
            if (info.size() > static_cast<qint64>(kImportMaxBytes)) {
                errors.push_back(TooLargeMessage(name));
                continue;
            }
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                errors.push_back("Die Datei " + name + " kann nicht gelesen werden.");
                continue;
            }
            const QByteArray bytes = file.read(static_cast<qint64>(kImportMaxBytes) + 1);
            files.push_back({name, bytes.toStdString()});
        }
        import->Read(files);
        import->SetRules(rules.Read());
        import->FileErrors.insert(import->FileErrors.begin(), errors.begin(), errors.end());
        // The columns the user assigned last time to a list with the same heading.
        for (std::size_t s = 0; s < import->Sheets().size(); ++s) {
            const std::vector<int> columns = memory.Read(import->Sheets()[s].Heading);
            // Choices kept before the body weight was a field leave it to the guess.
            remembered.push_back(columns.size() == kImportFieldCount ||
                                 columns.size() == fldKoerpergewicht);
            if (remembered.back()) {
                tImportColumns chosen = import->Sheets()[s].Guessed;
                std::copy(columns.begin(), columns.end(), chosen.begin());
                if (columns.size() < kImportFieldCount &&
                    std::count(chosen.begin(), chosen.end(), chosen[fldKoerpergewicht]) > 1)
                    chosen[fldKoerpergewicht] = -1;
                if (chosen != import->Sheets()[s].Columns)
                    import->SetColumns(s, chosen);
            }
        }
    }
    if (import->Rows().empty()) {
        std::string text;
        for (const std::string& error : import->FileErrors)
            text += (text.empty() ? "" : "\n") + error;
        ShowWarning(text);
        return nullptr;
    }
    TfrmImport dialog(*import, rules, parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    for (std::size_t s = 0; s < import->Sheets().size(); ++s) {
        const tImportSheet& sheet = import->Sheets()[s];
        if (remembered[s] || sheet.Columns != sheet.Guessed)
            memory.Write(sheet.Heading,
                         std::vector<int>(sheet.Columns.begin(), sheet.Columns.end()));
    }
    return import;
}

}  // namespace kivrel
