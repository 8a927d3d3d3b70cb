#include "output/mapimail.h"

#include "base/messages.h"
#include "output/mapiparts.h"

namespace kivrel {

namespace {
std::uintptr_t parentWindow = 0;
}  // namespace

void SetMailParentWindow(std::uintptr_t window) {
    parentWindow = window;
}

std::uintptr_t MailParentWindow() {
    return parentWindow;
}

int SendMapiMail(const std::string& subject, const std::string& body, const std::string& senderName,
                 const std::string& senderAddress, const std::string& recipientName,
                 const std::string& recipientAddress, const std::vector<tPath>& attachments) {
    const int code = HandOverMail(
        {subject, body, senderName, senderAddress, recipientName, recipientAddress, attachments});
    if (code != 0)
        ShowBox(MessageKind::Error, "Error sending mail (" + std::to_string(code) + ").");
    return code;
}

}  // namespace kivrel
