#pragma once

#include <QRect>
#include <QString>
#include <Qt>

class QBoxLayout;
class QDialog;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

// Shared look of the fixed-size dialogs: a single border and the system menu only.
namespace kivrel {

inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// A resizable dialog with the system menu and the close box.
inline constexpr Qt::WindowFlags kSizableDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;

// The height of an edit field or drop-down list at 96 dpi.
inline constexpr int kEditHeight = 21;

// A label at x on the row of buddy, reaching up to it; its access letters (a caption may
// mark more than one) move the focus into buddy, which is named after it.
QLabel* AddLabel(QWidget* parent, const QString& caption, QWidget* buddy, int x);

// "&OK" and "Abbrechen" at the right end of a sizable grid dialog's last row, added last;
// Abbrechen rejects. No button takes Return, which belongs to the grid: a Return in a cell
// never confirms half-done work. OK's click is the caller's.
void AddOkCancelRow(QDialog& dialog, QBoxLayout& layout, QPushButton*& ok, QPushButton*& cancel);

// A lowered separator line.
QFrame* AddSeparator(QWidget* parent, const QRect& geometry);

}  // namespace kivrel
