#include "output/mapimail.h"

#include "base/messages.h"

namespace kivrel {

void ShowWarning(const std::string& text) {
    ShowBox(MessageKind::Warning, text);
}

}  // namespace kivrel
