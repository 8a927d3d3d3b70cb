#include "output/mapimail.h"

#include "base/cp1252.h"
#include "base/messages.h"
#include "output/mapiparts.h"

namespace kivrel {

namespace {

std::uintptr_t parentWindow = 0;

std::string MailNotTakenMessage(int code) {
    return Win1252("Das Mailprogramm hat die Meldung nicht übernommen (Fehler ") +
           std::to_string(code) +
           Win1252("). Die Meldedateien sind geschrieben; Sie können sie selbst versenden.");
}

}  // namespace

void SetMailParentWindow(std::uintptr_t window) {
    parentWindow = window;
}

std::uintptr_t MailParentWindow() {
    return parentWindow;
}

tHandOver SendMapiMail(const std::string& subject, const std::string& body,
                       const std::string& senderName, const std::string& senderAddress,
                       const std::string& recipientName, const std::string& recipientAddress,
                       const std::vector<tPath>& attachments) {
    const tHandOver result = HandOverMail(
        {subject, body, senderName, senderAddress, recipientName, recipientAddress, attachments});
    if (result.Taken() || result.Cancelled)
        return result;
    if (result.FromClient)
        ShowBox(MessageKind::Error, MailNotTakenMessage(result.Code));
    else
        ShowBox(MessageKind::Error, "Error sending mail (" + std::to_string(result.Code) + ").");
    return result;
}

}  // namespace kivrel
