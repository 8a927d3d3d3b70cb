#pragma once

class QApplication;

namespace kivrel {

// The application's name, German for Qt's own texts and dialogs, the program's font, its
// short date format and Alt with a letter as Windows takes it; runs before the first window,
// in the program and in the widget tests alike.
void SetUpGermanUi(QApplication& app);

}  // namespace kivrel
