#include "base/messages.h"

#include <stdexcept>

namespace kivrel {

namespace {

// Until the program installs its boxes a box would be lost; fail loudly instead.
class NoBoxes : public MessageBoxes {
public:
    bool Show(MessageKind, const std::string& text) override {
        throw std::logic_error("message box shown before boxes were installed: " + text);
    }
};

NoBoxes gNoBoxes;
MessageBoxes* gBoxes = &gNoBoxes;

}  // namespace

MessageBoxes& Boxes() {
    return *gBoxes;
}

void InstallBoxes(MessageBoxes* boxes) {
    gBoxes = boxes ? boxes : &gNoBoxes;
}

ScriptedBoxes::ScriptedBoxes() : previous_(&Boxes()) {
    InstallBoxes(this);
}

ScriptedBoxes::~ScriptedBoxes() {
    InstallBoxes(previous_);
}

std::vector<std::string> ScriptedBoxes::texts() const {
    std::vector<std::string> result;
    result.reserve(shown_.size());
    for (const auto& s : shown_)
        result.push_back(s.text);
    return result;
}

bool ScriptedBoxes::Show(MessageKind kind, const std::string& text) {
    shown_.push_back({kind, text});
    if (kind != MessageKind::Confirmation && kind != MessageKind::Replace)
        return true;
    if (answers_.empty())
        return defaultAnswer;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace kivrel
