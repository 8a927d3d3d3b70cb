#pragma once

#include <string>

class QLabel;
class QString;
class QWidget;

// What a screen reader says of the program's controls (AT-SPI on Linux, UI Automation on
// Windows, both fed by Qt's accessibility interfaces).
namespace kivrel {

// A caption as it is read: without its access marks ("&&" reads "&"), blanks and a closing
// colon.
QString CaptionName(const QString& caption);

// Pairs a label with its field: the label's access letter moves the focus there, and the
// field is named by the caption (Qt would name it by the caption with its first mark only).
void NameAfterLabel(QLabel& label, QWidget& field);

// What a check does with a refused input: warns with text, then puts the focus into field,
// whose accessible description carries the text until the focus moves on to another control,
// so that a screen reader tells why it came back there.
void RefuseInput(QWidget& field, const std::string& text);

}  // namespace kivrel
