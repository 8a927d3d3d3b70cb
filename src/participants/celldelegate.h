#pragma once

#include <QStyledItemDelegate>
#include <functional>

// Typing into a grid's cell under an edit field's rules.
namespace kivrel {

// A cell edited as a field with a length limit and a character rule: refused characters are
// dropped as typed or pasted. The editor opens on the cell's whole text, selected, so that
// typing replaces it, as in a spreadsheet; a text the rule would refuse (a member list's
// letter beyond Windows-1252) stays as it is until the user types.
class tCellDelegate : public QStyledItemDelegate {
public:
    tCellDelegate(int maxLength, std::function<bool(char)> keep, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

private:
    int maxLength_;
    std::function<bool(char)> keep_;
};

}  // namespace kivrel
