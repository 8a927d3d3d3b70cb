#include "base/inputfield.h"

#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVariant>

#include <algorithm>
#include <optional>

#include "base/cp1252.h"

namespace kivrel {

namespace {

// The character a field may hold at all: one Windows-1252 can hold that is no control
// character. A pasted line break or tab would end up in entry files and the mail.
std::optional<char> FieldCharacter(QChar ch) {
    const auto byte = UnicodeToCp1252(ch.unicode());
    if (!byte || *byte < 0x20 || *byte == 0x7F)
        return std::nullopt;
    return static_cast<char>(*byte);
}

// Writes text back when it differs, moving the caret by the characters removed before it.
void WriteBack(QLineEdit& field, const QString& text, int caret) {
    if (text == field.text())
        return;
    field.setText(text);
    field.setCursorPosition(caret);
}

// Whether the key types its text into a line edit, decided as Qt's line edit decides it:
// Ctrl and Ctrl+Shift are shortcuts, while AltGr, which is Ctrl+Alt on Windows, types the
// "@" and the euro sign of a German keyboard.
bool TypesCharacter(const QKeyEvent& key) {
    const auto mods = key.modifiers();
    if (key.text().isEmpty() || mods == Qt::ControlModifier ||
        mods == (Qt::ControlModifier | Qt::ShiftModifier))
        return false;
    const QChar c = key.text()[0];
    return c.isPrint() || c.isSurrogate() || c.category() == QChar::Other_Format ||
           c.category() == QChar::Other_PrivateUse;
}

class InputRules : public QObject {
public:
    InputRules(QLineEdit& field, KeyPressFilter keyPress)
        : QObject(&field), field_(field), keyPress_(std::move(keyPress)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &field_)
            return false;
        if (event->type() == QEvent::KeyPress)
            return !KeyPassed(*static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::InputMethod) {
            // A composed character (dead keys) counts as typed; longer commits are left
            // to the text-change rules.
            const QString commit = static_cast<QInputMethodEvent*>(event)->commitString();
            if (commit.size() == 1)
                return !Offer(commit[0]);
        }
        return false;
    }

private:
    bool KeyPassed(const QKeyEvent& key) {
        if (key.key() == Qt::Key_Backspace)
            return !keyPress_ || keyPress_(field_, '\b');
        if (!TypesCharacter(key))
            return true;
        for (const QChar ch : key.text()) {
            if (!Offer(ch))
                return false;
        }
        return true;
    }

    bool Offer(QChar ch) {
        const auto c = FieldCharacter(ch);
        return c && (!keyPress_ || keyPress_(field_, *c));
    }

    QLineEdit& field_;
    KeyPressFilter keyPress_;
};

}  // namespace

void UseInputRules(QLineEdit& field, KeyPressFilter keyPress) {
    field.installEventFilter(new InputRules(field, std::move(keyPress)));
    // Connected before any handler of the field's window, so that handler sees clean text.
    QObject::connect(&field, &QLineEdit::textChanged, &field,
                     [&field] { RemoveRefusedCharacters(field, [](char) { return true; }); });
}

void RemoveRefusedCharacters(QLineEdit& field, const std::function<bool(char)>& keep) {
    QString text = field.text();
    int caret = field.cursorPosition();
    for (auto i = text.size() - 1; i >= 0; --i) {
        const auto c = FieldCharacter(text[i]);
        if (!c || !keep(*c)) {
            text.remove(i, 1);
            if (i < caret)
                --caret;
        }
    }
    WriteBack(field, text, caret);
}

namespace {
const char* const kLimitProperty = "kivrelLengthLimit";

int LengthLimit(const QLineEdit& field) {
    const QVariant limit = field.property(kLimitProperty);
    return limit.isValid() ? limit.toInt() : field.maxLength();
}
}  // namespace

void UseLengthLimit(QLineEdit& field, int limit) {
    field.setProperty(kLimitProperty, limit);
    field.setMaxLength(limit);
    // Qt's own limit, which setText would cut to, follows the text down to the field's limit.
    QObject::connect(&field, &QLineEdit::textChanged, &field, [&field](const QString& text) {
        field.setMaxLength(std::max(LengthLimit(field), static_cast<int>(text.size())));
    });
}

void SetWholeText(QLineEdit& field, const QString& text) {
    field.setMaxLength(std::max(LengthLimit(field), static_cast<int>(text.size())));
    field.setText(text);
}

int SelStart(const QLineEdit& field) {
    return field.hasSelectedText() ? field.selectionStart() : field.cursorPosition();
}

}  // namespace kivrel
