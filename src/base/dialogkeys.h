#pragma once

class QDialog;
class QPushButton;

namespace kivrel {

// Enter in a dialog as the program's windows handle it: a focused push button is pressed;
// anywhere else Enter presses defaultButton, and does nothing while that button is hidden
// or disabled (or when there is none). Esc still rejects the dialog. Qt's auto-default
// buttons are switched off for every push button the dialog holds at this call, since they
// would make whichever button last had the focus take Enter over.
void UseDefaultButton(QDialog& dialog, QPushButton* defaultButton);

}  // namespace kivrel
