#pragma once

#include <QPalette>
#include <string>

class QColor;
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

// How far apart two colours stand for the eye, from 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// A text colour of the program's own (blue proposals, dark red faults) where it stands out
// from the background of palette, as normal text needs (4.5:1, or minimum); else, as in a
// high-contrast scheme, the palette's own text colour: the meaning then rests on the text's
// second cue.
QColor Legible(const QColor& colour, const QPalette& palette,
               QPalette::ColorRole background = QPalette::Base, double minimum = 4.5);
// Gives the widget's text that colour, as far as it is legible on the widget's background.
void SetTextColour(QWidget& widget, const QColor& colour);
// A label that opens a web address when clicked: underlined and blue, with the hand cursor.
void ShowAsLink(QLabel& label);

}  // namespace kivrel
