#pragma once

#include "base/messages.h"

namespace kivrel {

// The real message boxes: QMessageBox with the German captions and buttons.
class QtBoxes : public MessageBoxes {
public:
    bool Show(MessageKind kind, const std::string& text) override;
};

}  // namespace kivrel
