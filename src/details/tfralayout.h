#pragma once

#include <QString>
#include <string>

#include "base/inputfield.h"

class QLineEdit;
class QWidget;

// What the three detail frames share: their labelled fields, their one-message checks and
// the way a load shows what it read.
namespace kivrel {

// An edit field at (x, y) with its label at x = 8 in front of it; the label's access letter
// moves the focus into the field. The field obeys the program's input rules and keyPress.
QLineEdit* AddFrameEdit(QWidget* frame, const QString& caption, int x, int y, int width,
                        int maxLength, KeyPressFilter keyPress = {});

// True when text is blank; then the user has been warned with message and the focus is in
// field.
bool RefuseBlank(const QString& text, const char* message, QWidget* field);

// Runs load on the frame's current details and shows what it read, also the values read
// before a failure; the failure then goes on to the caller.
template <class Frame, class Data>
void LoadIntoFrame(Frame& frame, void (*load)(Data&)) {
    Data data;
    frame.GetDetails(data);
    try {
        load(data);
    } catch (...) {
        frame.SetDetails(data);
        throw;
    }
    frame.SetDetails(data);
}

template <class Frame, class Data>
void SaveFromFrame(const Frame& frame, void (*save)(const Data&)) {
    Data data;
    frame.GetDetails(data);
    save(data);
}

}  // namespace kivrel
