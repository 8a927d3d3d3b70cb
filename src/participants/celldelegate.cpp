#include "participants/celldelegate.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "base/inputfield.h"
#include "participants/inputrules.h"

namespace kivrel {

tCellDelegate::tCellDelegate(int maxLength, std::function<bool(char)> keep, QObject* parent)
    : QStyledItemDelegate(parent), maxLength_(maxLength), keep_(std::move(keep)) {}

QWidget* tCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                     const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    UseLengthLimit(*edit, maxLength_);
    const auto keep = keep_;
    UseInputRules(*edit, [keep](QLineEdit&, char key) { return key == kBackspace || keep(key); });
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [edit, keep] { RemoveRefusedCharacters(*edit, keep); });
    return edit;
}

void tCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* edit = static_cast<QLineEdit*>(editor);
    const QSignalBlocker quiet(edit);
    SetWholeText(*edit, index.data(Qt::EditRole).toString());
    edit->selectAll();
}

}  // namespace kivrel
