#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/path.h"

// The hand-over of a finished mail to the user's mail client, and the probe for one.
namespace kivrel {

// What became of a mail handed over.
struct tHandOver {
    // 0 when the client took the mail; -1 when there is no mail library (no xdg-email on
    // Linux), 1 when it lacks the hand-over function; otherwise the client's own code.
    int Code = 0;
    // Code is the mail client's answer (on Linux xdg-email's), not the program's own.
    bool FromClient = false;
    // The user cancelled the mail in the client: nothing went wrong.
    bool Cancelled = false;

    bool Taken() const { return Code == 0; }
};

// Hands the mail to the user's mail client, which shows it for editing and sending, and
// waits until the client gives control back. No originator is passed without a sender
// address and no recipient without a recipient address; an empty name takes the address.
// Only the first 100 attachments (full paths) go along. A failure is told before it
// returns: without a mail library or its hand-over function in the error box "Error sending
// mail (<code>).", a client's refusal in German; the user's own cancel is no failure.
tHandOver SendMapiMail(const std::string& subject, const std::string& body,
                       const std::string& senderName, const std::string& senderAddress,
                       const std::string& recipientName, const std::string& recipientAddress,
                       const std::vector<tPath>& attachments);

// True when a default mail client is registered that can take a mail with its attachments.
bool MapiClientAvailable();

// The program's main window (its native handle, 0 for none), to which the mail client's
// windows belong; the main window names itself here while it exists.
void SetMailParentWindow(std::uintptr_t window);
std::uintptr_t MailParentWindow();

}  // namespace kivrel
