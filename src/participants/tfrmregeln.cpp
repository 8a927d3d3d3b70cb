#include "participants/tfrmregeln.h"

#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/accessible.h"
#include "base/cp1252.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/qtext.h"
#include "base/textrules.h"
#include "participants/celldelegate.h"
#include "participants/dialoglayout.h"
#include "participants/inputrules.h"

namespace kivrel {

namespace {

const QStringList kGenders = {QStringLiteral("weiblich"), QStringLiteral("männlich"),
                              QStringLiteral("gemischt")};

QString GenderText(const std::string& letter) {
    for (const QString& gender : kGenders) {
        if (!letter.empty() && gender.at(0) == QLatin1Char(letter[0]))
            return gender;
    }
    return QString();
}

// Picking the gender: the age-group dialog's list.
class tGenderDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* list = new QComboBox(parent);
        list->addItems(kGenders);
        return list;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QComboBox*>(editor)->setCurrentIndex(kGenders.indexOf(index.data().toString()));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }
};

bool IsLimitCharacter(char c) {
    return IsDigit(c) || c == '-' || c == '+' || c == ' ';
}

}  // namespace

TfrmRegeln::TfrmRegeln(const tAgeRules& rules, int currentYear, QWidget* parent)
    : QDialog(parent, kSizableDialogFlags), currentYear_(currentYear) {
    setWindowTitle(QStringLiteral("Regeln der Altersgruppen"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Welche Jahrgänge eine Altersgruppe aufnimmt und welche Gewichtsklassen "
                       "sie hat (z. B. -30 -34 -38 +38). Beim Import werden danach "
                       "Altersgruppe und Gewichtsklasse jedes Mitglieds vorgeschlagen. Die "
                       "Regeln bleiben für die nächsten Turniere gespeichert."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    stgRegeln = new QTableWidget(0, kColumnCount, this);
    stgRegeln->setHorizontalHeaderLabels(
        {QStringLiteral("Bezeichnung"), QStringLiteral("Geschlecht"),
         QStringLiteral("Jahrgang von"), QStringLiteral("Jahrgang bis"),
         QStringLiteral("Gewichtsklassen")});
    stgRegeln->setAccessibleName(windowTitle());
    stgRegeln->verticalHeader()->hide();
    // As in the preview: Tab goes on to the buttons, and from a cell being typed into to
    // the next cell.
    stgRegeln->setTabKeyNavigation(false);
    stgRegeln->horizontalHeader()->setStretchLastSection(true);
    stgRegeln->setSelectionBehavior(QAbstractItemView::SelectRows);
    stgRegeln->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
    stgRegeln->setItemDelegateForColumn(
        colBezeichnung, new tCellDelegate(kAgeGroupNameMaxLength, InAgeGroupNameSet, this));
    stgRegeln->setItemDelegateForColumn(colGeschlecht, new tGenderDelegate(this));
    for (const int column : {colVon, colBis})
        stgRegeln->setItemDelegateForColumn(column,
                                            new tCellDelegate(kJahrgangMaxLength, IsDigit, this));
    stgRegeln->setItemDelegateForColumn(colGewichtsklassen,
                                        new tCellDelegate(100, IsLimitCharacter, this));
    layout->addWidget(stgRegeln, 1);

    auto* rows = new QHBoxLayout();
    btnNeu = new QPushButton(QStringLiteral("&Neue Altersgruppe"), this);
    btnLoeschen = new QPushButton(QStringLiteral("&Löschen"), this);
    btnLoeschen->setToolTip(QStringLiteral("Löscht die Regeln der markierten Altersgruppen"));
    rows->addWidget(btnNeu);
    rows->addWidget(btnLoeschen);
    rows->addStretch(1);
    layout->addLayout(rows);
    connect(btnNeu, &QPushButton::clicked, this, &TfrmRegeln::btnNeuClick);
    connect(btnLoeschen, &QPushButton::clicked, this, &TfrmRegeln::btnLoeschenClick);

    AddOkCancelRow(*this, *layout, btnOK, btnCancel);
    connect(btnOK, &QPushButton::clicked, this, &TfrmRegeln::btnOKClick);

    for (const tAgeRule& rule : rules)
        AddRow(rule);
    start_ = AgeRulesText(Rules());
    stgRegeln->resizeColumnsToContents();
    for (int c = 0; c < colGewichtsklassen; ++c)
        stgRegeln->setColumnWidth(c, std::max(stgRegeln->columnWidth(c), 90));
    resize(680, 380);
}

void TfrmRegeln::AddRow(const tAgeRule& rule) {
    const int row = stgRegeln->rowCount();
    stgRegeln->insertRow(row);
    const QString texts[kColumnCount] = {ToQt(rule.Group.Bezeichnung),
                                         GenderText(rule.Group.Geschlecht), ToQt(rule.YearFrom),
                                         ToQt(rule.YearTo), ToQt(rule.Limits)};
    for (int c = 0; c < kColumnCount; ++c)
        stgRegeln->setItem(row, c, new QTableWidgetItem(texts[c]));
}

tAgeRules TfrmRegeln::Rules() const {
    return RulesOf(nullptr);
}

tAgeRules TfrmRegeln::RulesOf(std::vector<int>* rows) const {
    tAgeRules rules;
    for (int row = 0; row < stgRegeln->rowCount(); ++row) {
        const auto text = [&](int column) {
            const QTableWidgetItem* item = stgRegeln->item(row, column);
            return item ? FromQt(item->text()) : std::string();
        };
        tAgeRule rule{{text(colBezeichnung), text(colGeschlecht).substr(0, 1)},
                      TrimBlanks(text(colVon)),
                      TrimBlanks(text(colBis)),
                      TrimBlanks(text(colGewichtsklassen))};
        if (IsBlank(rule.Group.Bezeichnung + rule.Group.Geschlecht + rule.YearFrom + rule.YearTo +
                    rule.Limits))
            continue;
        rules.push_back(std::move(rule));
        if (rows)
            rows->push_back(row);
    }
    return rules;
}

void TfrmRegeln::btnNeuClick() {
    RunGuarded([&] {
        AddRow({});
        stgRegeln->setFocus();
        stgRegeln->setCurrentCell(stgRegeln->rowCount() - 1, colBezeichnung);
        stgRegeln->editItem(stgRegeln->currentItem());
    });
}

void TfrmRegeln::btnLoeschenClick() {
    RunGuarded([&] {
        const QModelIndexList rows = stgRegeln->selectionModel()->selectedRows();
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            stgRegeln->removeRow(it->row());
    });
}

void TfrmRegeln::btnOKClick() {
    RunGuarded([&] {
        std::vector<int> rows;
        const auto fault = CheckAgeRules(RulesOf(&rows), currentYear_);
        if (!fault) {
            accept();
            return;
        }
        // The columns stand in the order of the rule's fields.
        stgRegeln->setCurrentCell(rows[fault->Rule], static_cast<int>(fault->Field));
        RefuseInput(*stgRegeln, fault->Message);
    });
}

void TfrmRegeln::reject() {
    bool leave = true;
    RunGuarded([&] {
        leave = AgeRulesText(Rules()) == start_ ||
                Confirm(Win1252("Die Änderungen an den Regeln gehen verloren. Abbrechen?"));
    });
    if (leave)
        QDialog::reject();
}

std::optional<tAgeRules> EditAgeRules(const tRuleMemory& memory, QWidget* parent) {
    TfrmRegeln dialog(memory.Read(), QDate::currentDate().year(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    tAgeRules rules = dialog.Rules();
    memory.Write(rules);
    return rules;
}

}  // namespace kivrel
