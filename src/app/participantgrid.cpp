#include "app/participantgrid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>
#include <array>

#include "base/qtext.h"

namespace kivrel {

namespace {

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

void SetUpParticipantGrid(QTableView& view, tTeilnehmerModel& model,
                          std::function<void()> onDoubleClick) {
    view.setModel(&model);
    view.setItemDelegate(new GridCellDelegate(&view));
    view.setShowGrid(false);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setTabKeyNavigation(false);
    view.setWordWrap(false);
    view.setTextElideMode(Qt::ElideNone);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QHeaderView* rows = view.verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(kRowHeight);
    QHeaderView* header = view.horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(1);
    // The fixed row is as high as the others, or as its font needs (Windows' dialog font at
    // 150 % is taller than the rows).
    header->setFixedHeight(std::max(kRowHeight, header->sizeHint().height()));
    for (int column = 0; column < tTeilnehmerModel::kColumns; ++column)
        view.setColumnWidth(column, kColumnWidths[static_cast<std::size_t>(column)]);
    // Also on the headings and below the last row, where the view itself reports no cell.
    for (QWidget* area : {view.viewport(), header->viewport()})
        area->installEventFilter(new DoubleClickFilter(area, onDoubleClick));
}

void HideKataColumn(QTableView& view) {
    view.setColumnWidth(kGradeColumn, kColumnWidths[kKataColumn] + kColumnWidths[kGradeColumn]);
    view.setColumnHidden(kKataColumn, true);
}

void RefillParticipantGrid(QTableView& view, tTeilnehmerModel& model, int select) {
    model.Refill();
    if (select < 0 || select >= model.List().Count())
        return;
    const QModelIndex index = model.index(select, 0);
    view.selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view.scrollTo(index);
}

int SelectedParticipant(const QTableView& view, const tTeilnehmerModel& model) {
    const QModelIndexList selected = view.selectionModel()->selectedRows();
    if (selected.isEmpty() || selected.front().row() >= model.List().Count())
        return -1;
    return selected.front().row();
}

tGridNames GridNamesOf(const tTeilnehmerModel& model) {
    const tTeilnehmerliste& list = model.List();
    tGridNames grid;
    const auto rows = static_cast<std::size_t>(model.rowCount()) + 1;
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

}  // namespace kivrel
