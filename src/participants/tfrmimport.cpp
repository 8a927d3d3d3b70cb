#include "participants/tfrmimport.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

#include "base/busy.h"
#include "base/dialogkeys.h"
#include "base/qtext.h"
#include "output/mapimail.h"
#include "participants/dialoglayout.h"

namespace kivrel {

namespace {

// The rows of the preview: the refused files first, then every row of the files.
class tImportModel : public QAbstractTableModel {
public:
    tImportModel(const tImportPlan& plan, QObject* parent)
        : QAbstractTableModel(parent), plan_(plan) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(plan_.FileErrors.size() + plan_.Rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : 6;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return QVariant();
        const auto errors = static_cast<int>(plan_.FileErrors.size());
        const bool fileError = index.row() < errors;
        const tImportRow* row =
            fileError ? nullptr : &plan_.Rows[static_cast<std::size_t>(index.row() - errors)];
        const bool refused = fileError || !row->Reason.empty();
        if (role == Qt::ForegroundRole)
            return refused ? QBrush(Qt::darkRed) : QVariant();
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return QVariant();
        if (fileError)
            return index.column() == 5
                       ? ToQt(plan_.FileErrors[static_cast<std::size_t>(index.row())])
                       : QVariant();
        switch (index.column()) {
            case 0:
                return ToQt(row->File);
            case 1:
                return row->Row;
            case 2:
                return ToQt(row->Participant.Nachname);
            case 3:
                return ToQt(row->Participant.Vorname);
            case 4:
                return ToQt(row->Participant.Altersgruppe);
            default:
                return refused ? ToQt(row->Reason) : QStringLiteral("wird übernommen");
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* const kHeadings[] = {"Datei",   "Zeile",        "Nachname",
                                                "Vorname", "Altersgruppe", "Ergebnis"};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 5)
            return QVariant();
        return QString::fromLatin1(kHeadings[section]);
    }

private:
    const tImportPlan& plan_;
};

QString Summary(const tImportPlan& plan) {
    const int good = plan.GoodRows();
    const int refused = static_cast<int>(plan.Rows.size()) - good;
    QString text = good == 1 ? QStringLiteral("1 Teilnehmer wird übernommen")
                             : QStringLiteral("%1 Teilnehmer werden übernommen").arg(good);
    if (refused > 0)
        text += refused == 1 ? QStringLiteral(", 1 Zeile nicht")
                             : QStringLiteral(", %1 Zeilen nicht").arg(refused);
    if (!plan.FileErrors.empty())
        text += QStringLiteral(", %1 Datei(en) nicht gelesen").arg(plan.FileErrors.size());
    return text + QLatin1Char('.');
}

QString NewGroupsText(const tImportPlan& plan) {
    if (plan.NewAgeGroups.empty())
        return QStringLiteral("Es werden keine neuen Altersgruppen angelegt.");
    QStringList keys;
    for (const tAltersgruppe& group : plan.NewAgeGroups)
        keys << ToQt(AgeGroupKey(group));
    return QStringLiteral("Neue Altersgruppen: ") + keys.join(QStringLiteral(", "));
}

QStringList ChooseFiles(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Teilnehmer importieren"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({QStringLiteral("Mitgliederlisten und Meldedateien (*.csv *.txt *.tv4)"),
                           QStringLiteral("Mitgliederlisten (*.csv *.txt)"),
                           QStringLiteral("Torvanesca / Kivrel 4 Dateien (*.tv4)"),
                           QStringLiteral("Alle Dateien (*)")});
    // The folder of the last import, at first the one that finishing proposes.
    static QString folder = QDir::current().absoluteFilePath(QStringLiteral("Meldungen"));
    dialog.setDirectory(QFileInfo::exists(folder) ? folder : QDir::currentPath());
    if (QGuiApplication::platformName() != QLatin1String("windows"))
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    // A typed path may lead elsewhere than the folder shown.
    folder = QFileInfo(dialog.selectedFiles().constFirst()).absolutePath();
    return dialog.selectedFiles();
}

}  // namespace

TfrmImport::TfrmImport(const tImportPlan& plan, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags) {
    setWindowTitle(QStringLiteral("Teilnehmer importieren"));
    setFixedSize(760, 420);

    lblSumme = new QLabel(Summary(plan), this);
    lblSumme->setGeometry(12, 12, 736, 17);

    stgZeilen = new QTableView(this);
    stgZeilen->setGeometry(12, 36, 736, 286);
    stgZeilen->setModel(new tImportModel(plan, stgZeilen));
    stgZeilen->setSelectionBehavior(QAbstractItemView::SelectRows);
    stgZeilen->setSelectionMode(QAbstractItemView::SingleSelection);
    stgZeilen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stgZeilen->setWordWrap(false);
    stgZeilen->verticalHeader()->hide();
    stgZeilen->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    stgZeilen->verticalHeader()->setDefaultSectionSize(18);
    stgZeilen->setTextElideMode(Qt::ElideNone);
    QHeaderView* header = stgZeilen->horizontalHeader();
    header->setSectionsClickable(false);
    const int widths[] = {100, 40, 95, 95, 80};
    int used = 0;
    for (int column = 0; column < 5; ++column) {
        stgZeilen->setColumnWidth(column, widths[column]);
        used += widths[column];
    }
    // The reasons are whole sentences: their column is as wide as the longest, scrolled
    // sideways when that is wider than the room left.
    stgZeilen->resizeColumnToContents(5);
    const int room = stgZeilen->viewport()->width() - used;
    stgZeilen->setColumnWidth(5, std::max(stgZeilen->columnWidth(5), room));

    lblAltersgruppen = new QLabel(NewGroupsText(plan), this);
    lblAltersgruppen->setGeometry(12, 328, 736, 34);
    lblAltersgruppen->setWordWrap(true);
    lblAltersgruppen->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    AddSeparator(this, QRect(12, 370, 736, 2));

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setGeometry(560, 382, 90, 25);
    btnOK->setEnabled(plan.GoodRows() > 0);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    btnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnCancel->setGeometry(658, 382, 90, 25);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    UseDefaultButton(*this, btnOK);
}

std::optional<tImportPlan> AskImport(const tMeldung& meldung, QWidget* parent) {
    const QStringList paths = ChooseFiles(parent);
    if (paths.isEmpty())
        return std::nullopt;

    std::vector<tImportFile> files;
    std::vector<std::string> errors;
    tImportPlan plan;
    {
        const BusyScope busy;
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
        plan = PrepareImport(files, meldung.Teilnehmerliste, meldung.Altersgruppenliste,
                             QDate::currentDate().year());
    }
    plan.FileErrors.insert(plan.FileErrors.begin(), errors.begin(), errors.end());
    if (plan.Rows.empty()) {
        std::string text;
        for (const std::string& error : plan.FileErrors)
            text += (text.empty() ? "" : "\n") + error;
        ShowWarning(text);
        return std::nullopt;
    }
    TfrmImport dialog(plan, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return plan;
}

}  // namespace kivrel
