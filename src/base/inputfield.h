#pragma once

#include <functional>

class QString;

class QLineEdit;

// The input rules of the program's edit fields. Every edit field goes through UseInputRules;
// a field with its own key filter passes it there, and a field whose text-change handler
// removes refused characters (so pasted text obeys the key filter too) calls
// RemoveRefusedCharacters from that handler.
namespace kivrel {

// A field's key filter, its KeyPress handler: it sees every character the user types, as
// its Windows-1252 byte ('\b' for Backspace), before it reaches the field, and returns false
// to drop it without a sound. Keys that type no character (Delete, arrows, Enter, Esc, Tab,
// Ctrl shortcuts such as Ctrl+V) never reach it.
using KeyPressFilter = std::function<bool(QLineEdit& sender, char key)>;

// Characters that Windows-1252 cannot hold, and control characters, are refused, typed or
// pasted; with a key filter, each typed character that passes is offered to it as well.
void UseInputRules(QLineEdit& field, KeyPressFilter keyPress = {});

// For text-change handlers: walks the text from its last character back to its first and
// deletes each one that keep refuses, then writes the text back, only when it changed, with
// the caret beside the characters it stood next to.
void RemoveRefusedCharacters(QLineEdit& field, const std::function<bool(char)>& keep);

// The field's length limit holds for what the user types or pastes; a longer text that the
// program puts in (a stored value, see SetWholeText) is kept whole, and the field then never
// grows beyond the longer of its limit and its current length.
void UseLengthLimit(QLineEdit& field, int limit);
// Puts text into the field whole, also when it is longer than the field's limit.
void SetWholeText(QLineEdit& field, const QString& text);

// Where a key filter's caret stands: the start of the selection, or the caret without one.
int SelStart(const QLineEdit& field);

}  // namespace kivrel
