#pragma once

class QApplication;
class QDialog;
class QPushButton;

namespace kivrel {

// Enter in a dialog as the program's windows handle it: a focused push button is pressed;
// anywhere else Enter presses defaultButton, and does nothing while that button is hidden
// or disabled (or when there is none). Esc still rejects the dialog. Qt's auto-default
// buttons are switched off for every push button the dialog holds at this call, since they
// would make whichever button last had the focus take Enter over.
void UseDefaultButton(QDialog& dialog, QPushButton* defaultButton);

// Alt with a letter as the Windows desktop takes it, in every window: a letter that is no
// access letter types nothing, where Qt would type it into the field with the focus. Access
// letters still reach their fields and buttons (Qt takes them as shortcuts before any key
// press), open menus and the menu bar keep theirs, and Ctrl+Alt (AltGr on Windows) types as
// before. Installed once on the application.
void IgnoreStrayAltLetters(QApplication& app);

}  // namespace kivrel
