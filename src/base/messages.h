#pragma once

#include <deque>
#include <string>
#include <vector>

// Every message box of the program goes through this seam. Texts are Windows-1252.
namespace kivrel {

enum class MessageKind {
    Warning,       // "Warnung", warning icon, "OK"
    Confirmation,  // "Bestätigung", question icon, "OK" and "Abbrechen"
    Replace,       // "Warnung", warning icon, "&Ja" and "&Nein"
    Error,         // "Fehler", error icon, "OK"
    GeneralError,  // "Kivrel", stop icon, "OK"
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box and waits. The answer is true for "OK" (Confirmation) and "&Ja"
    // (Replace); boxes with one button always answer true.
    virtual bool Show(MessageKind kind, const std::string& text) = 0;
};

// The boxes in use; the program installs the Qt ones at start, tests a scripted stand-in.
MessageBoxes& Boxes();
void InstallBoxes(MessageBoxes* boxes);

inline void ShowBox(MessageKind kind, const std::string& text) {
    Boxes().Show(kind, text);
}
// A modal warning box: "Warnung", warning icon, one "OK".
inline void ShowWarning(const std::string& text) {
    ShowBox(MessageKind::Warning, text);
}
inline bool Confirm(const std::string& text) {
    return Boxes().Show(MessageKind::Confirmation, text);
}

// Records every box and answers from a script; for tests.
class ScriptedBoxes : public MessageBoxes {
public:
    struct Shown {
        MessageKind kind;
        std::string text;
    };

    ScriptedBoxes();            // installs itself
    ~ScriptedBoxes() override;  // puts the previous boxes back
    ScriptedBoxes(const ScriptedBoxes&) = delete;
    ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

    // Answers for the next questions, in order; without one a question is answered with
    // `defaultAnswer`.
    void Answer(bool answer) { answers_.push_back(answer); }
    bool defaultAnswer = true;

    const std::vector<Shown>& shown() const { return shown_; }
    // The texts of all boxes shown, in order.
    std::vector<std::string> texts() const;
    void clear() { shown_.clear(); }

    bool Show(MessageKind kind, const std::string& text) override;

private:
    std::vector<Shown> shown_;
    std::deque<bool> answers_;
    MessageBoxes* previous_;
};

}  // namespace kivrel
