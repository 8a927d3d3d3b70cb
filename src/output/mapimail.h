#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/path.h"

// The hand-over of a finished mail to the user's mail client, and the probe for one.
namespace kivrel {

// Hands the mail to the user's mail client, which shows it for editing and sending, and
// waits until the client gives control back. No originator is passed without a sender
// address and no recipient without a recipient address; an empty name takes the address.
// Only the first 100 attachments (full paths) go along. Returns 0, or the code of the
// failure after showing "Error sending mail (<code>)." in the error box: -1 when there is
// no mail library (no xdg-email on Linux), 1 when it lacks the hand-over function,
// otherwise the client's own code.
int SendMapiMail(const std::string& subject, const std::string& body, const std::string& senderName,
                 const std::string& senderAddress, const std::string& recipientName,
                 const std::string& recipientAddress, const std::vector<tPath>& attachments);

// True when a default mail client is registered that can take a mail.
bool MapiClientAvailable();

// The program's main window (its native handle, 0 for none), to which the mail client's
// windows belong; the main window names itself here while it exists.
void SetMailParentWindow(std::uintptr_t window);
std::uintptr_t MailParentWindow();

}  // namespace kivrel
