#include "participants/tfrmimport.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
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

#include "base/busy.h"
#include "base/cp1252.h"
#include "base/dialogkeys.h"
#include "base/error.h"
#include "base/filedialogs.h"
#include "base/inputfield.h"
#include "base/messages.h"
#include "base/qtext.h"
#include "participants/inputrules.h"
#include "participants/tfrmaltersgruppe.h"

namespace kivrel {

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
        const auto check = [](bool on) { return on ? Qt::Checked : Qt::Unchecked; };
        if (role == Qt::CheckStateRole) {
            switch (index.column()) {
                case TfrmImport::colStart:
                    return check(row.Start);
                case TfrmImport::colKata:
                    return check(t.Kata);
                case TfrmImport::colAllkategorie:
                    return check(t.Allkategorie);
                default:
                    return QVariant();
            }
        }
        if (role == Qt::ForegroundRole && index.column() == TfrmImport::colErgebnis) {
            if (!row.Reason.empty())
                return QBrush(row.Start ? Qt::darkRed : Qt::gray);
            return QVariant();
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
                return ToQt(t.Nachname);
            case TfrmImport::colVorname:
                return ToQt(t.Vorname);
            case TfrmImport::colJahrgang:
                return ToQt(t.Jahrgang);
            case TfrmImport::colGeschlecht:
                return ToQt(row.GenderText.empty() ? row.Gender : row.GenderText);
            case TfrmImport::colGraduierung:
                return t.Graduierung > 0    ? ToQt(GradeText(t.Graduierung))
                       : t.Graduierung == 0 ? QStringLiteral("[unbekannt]")
                                            : QString();
            case TfrmImport::colAltersgruppe:
                return ToQt(t.Altersgruppe);
            case TfrmImport::colGewicht:
                return ToQt(t.Gewicht);
            case TfrmImport::colErgebnis:
                if (!row.Reason.empty())
                    return ToQt(row.Reason);
                if (!row.Start)
                    return QString();
                return row.GradeNote.empty() ? QStringLiteral("wird übernommen")
                                             : ToQt(row.GradeNote);
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
            if (role == Qt::CheckStateRole && index.column() == TfrmImport::colStart)
                changed = import_.SetStart(row, on);
            else if (role == Qt::CheckStateRole && index.column() == TfrmImport::colKata)
                changed = import_.SetKata(row, on);
            else if (role == Qt::CheckStateRole && index.column() == TfrmImport::colAllkategorie)
                changed = import_.SetAllkategorie(row, on);
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
            "Start",    "Datei",        "Zeile",       "Nachname",     "Vorname",
            "Jahrgang", "Geschlecht",   "Graduierung", "Altersgruppe", "Gewichtsklasse",
            "Kata",     "Allkategorie", "Ergebnis"};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= TfrmImport::kColumnCount)
            return QVariant();
        return QString::fromLatin1(kHeadings[section]);
    }

    // Tells the views about rows the import checked again.
    void RowsChanged(const std::vector<std::size_t>& rows) {
        if (rows.empty())
            return;
        const auto [low, high] = std::minmax_element(rows.begin(), rows.end());
        emit dataChanged(index(static_cast<int>(*low), 0),
                         index(static_cast<int>(*high), TfrmImport::kColumnCount - 1));
    }

    void Reset() {
        beginResetModel();
        endResetModel();
    }

private:
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
        UseInputRules(*edit, [](QLineEdit& sender, char key) {
            return WeightKeyAccepted(FromQt(sender.text()), SelStart(sender), key);
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
    const int refused = static_cast<int>(import.Rows().size()) - good;
    QString text = good == 1 ? QStringLiteral("1 Teilnehmer wird übernommen")
                             : QStringLiteral("%1 Teilnehmer werden übernommen").arg(good);
    if (refused > 0)
        text += refused == 1 ? QStringLiteral(", 1 Zeile nicht")
                             : QStringLiteral(", %1 Zeilen nicht").arg(refused);
    if (!import.FileErrors.empty())
        text += QStringLiteral(", %1 Datei(en) nicht gelesen").arg(import.FileErrors.size());
    return text + QLatin1Char('.');
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
                    {QStringLiteral("Mitgliederlisten und Meldedateien (*.csv *.txt *.tv4)"),
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

// A resizable dialog with the system menu and the close box.
constexpr Qt::WindowFlags kSizableDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;

}  // namespace

TfrmImport::TfrmImport(tImport& import, QWidget* parent)
    : QDialog(parent, kSizableDialogFlags), import_(import) {
    setWindowTitle(QStringLiteral("Teilnehmer importieren"));
    auto* layout = new QVBoxLayout(this);

    lblSumme = new QLabel(this);
    layout->addWidget(lblSumme);
    lblDateifehler = new QLabel(this);
    lblDateifehler->setWordWrap(true);
    lblDateifehler->setStyleSheet(QStringLiteral("color: darkred"));
    layout->addWidget(lblDateifehler);

    // Which column of a member list fills which field.
    auto* columns = new QGridLayout();
    cbbDatei = new QComboBox(this);
    for (const tImportSheet& sheet : import_.Sheets())
        cbbDatei->addItem(ToQt(sheet.File));
    auto* lblDatei = new QLabel(QStringLiteral("Spalten der Datei:"), this);
    columns->addWidget(lblDatei, 0, 0);
    columns->addWidget(cbbDatei, 0, 1, 1, 3);
    for (int f = 0; f < kImportFieldCount; ++f) {
        QComboBox*& list = cbbSpalte[static_cast<std::size_t>(f)];
        list = new QComboBox(this);
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        auto* label = new QLabel(ToQt(ImportFieldName(static_cast<tImportField>(f))) + ':', this);
        label->setBuddy(list);
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
    stgZeilen->setWordWrap(false);
    stgZeilen->verticalHeader()->hide();
    stgZeilen->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    stgZeilen->verticalHeader()->setDefaultSectionSize(20);
    layout->addWidget(stgZeilen, 1);
    stgZeilen->installEventFilter(this);
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& top, const QModelIndex& bottom) {
                Widen(top.row(), bottom.row());
                Refresh();
            });

    auto* groups = new QHBoxLayout();
    cbbAltersgruppe = new QComboBox(this);
    cbbAltersgruppe->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cbbAltersgruppe->setMinimumContentsLength(12);
    auto* lblAltersgruppe =
        new QLabel(QStringLiteral("&Altersgruppe der markierten Zeilen:"), this);
    lblAltersgruppe->setBuddy(cbbAltersgruppe);
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

    lblAltersgruppen = new QLabel(this);
    lblAltersgruppen->setWordWrap(true);
    layout->addWidget(lblAltersgruppen);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    auto* buttons = new QHBoxLayout();
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    for (QPushButton* button : {btnOK, btnCancel})
        button->setMinimumSize(90, 25);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    UseDefaultButton(*this, btnOK);

    FillAgeGroups(std::string());
    ShowColumns();
    // The file's name only tells something when rows of several files are shown.
    const auto& rows = import_.Rows();
    stgZeilen->setColumnHidden(colDatei, std::all_of(rows.begin(), rows.end(), [&](const auto& r) {
                                   return r.File == rows.front().File;
                               }));
    stgZeilen->resizeColumnsToContents();
    Refresh();
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
    // Space ticks all selected rows, or clears them when the current one (or the first) is
    // ticked.
    if (watched == stgZeilen && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
        stgZeilen->indexWidget(stgZeilen->currentIndex()) == nullptr) {
        RunGuarded([&] {
            const std::vector<std::size_t> rows = SelectedRows();
            const QModelIndex current = proxy_->mapToSource(stgZeilen->currentIndex());
            if (rows.empty())
                return;
            const std::size_t lead =
                current.isValid() ? static_cast<std::size_t>(current.row()) : rows.front();
            const bool start = !import_.Rows()[lead].Start;
            std::vector<std::size_t> changed;
            for (const std::size_t row : rows) {
                const std::vector<std::size_t> checked = import_.SetStart(row, start);
                changed.insert(changed.end(), checked.begin(), checked.end());
            }
            model_->RowsChanged(changed);
        });
        return true;
    }
    // Enter while typing into a cell ends the typing (the cell's editor passes the key on to
    // the grid), not the whole preview.
    if (watched == stgZeilen && event->type() == QEvent::KeyPress &&
        stgZeilen->indexWidget(stgZeilen->currentIndex()) != nullptr) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QDialog::eventFilter(watched, event);
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
    btnOK->setEnabled(import_.GoodRows() > 0);
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
    cbbAltersgruppe->setCurrentIndex(cbbAltersgruppe->findText(ToQt(select)));
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
            ShowWarning("Bitte markieren Sie die Zeilen, die diese Altersgruppe erhalten sollen.");
            stgZeilen->setFocus();
            return;
        }
        if (cbbAltersgruppe->currentIndex() < 0) {
            ShowWarning(
                Win1252("Bitte wählen die Altersgruppe aus, in der Teilnehmer starten soll."));
            cbbAltersgruppe->setFocus();
            return;
        }
        model_->RowsChanged(import_.SetAgeGroup(rows, FromQt(cbbAltersgruppe->currentText())));
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
        model_->Reset();
        stgZeilen->resizeColumnsToContents();
        FillAgeGroups(FromQt(cbbAltersgruppe->currentText()));
        Refresh();
    });
}

std::unique_ptr<tImport> AskImport(const tMeldung& meldung, const tColumnMemory& memory,
                                   QWidget* parent) {
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
        import->FileErrors.insert(import->FileErrors.begin(), errors.begin(), errors.end());
        // The columns the user assigned last time to a list with the same heading.
        for (std::size_t s = 0; s < import->Sheets().size(); ++s) {
            const std::vector<int> columns = memory.Read(import->Sheets()[s].Heading);
            remembered.push_back(columns.size() == kImportFieldCount);
            if (remembered.back()) {
                tImportColumns chosen{};
                std::copy(columns.begin(), columns.end(), chosen.begin());
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
    TfrmImport dialog(*import, parent);
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
