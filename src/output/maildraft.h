#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/path.h"
#include "output/mailtext.h"

// The entry mail as a draft file, for when no mail client took it: mail programs (Outlook,
// classic and new, Windows' mail apps, Thunderbird) open it ready to send.
namespace kivrel {

// chosenPath without its extension, plus ".eml": beside the entry files.
tPath MailDraftPath(const tPath& chosenPath);

struct tDraftAttachment {
    std::string Name;  // UTF-8
    std::string Bytes;
};

// The draft in RFC 5322 with MIME: "To:" the address (none when it is empty), the subject,
// RFC 2047-encoded unless it is short plain ASCII, "X-Unsent: 1", the body as UTF-8 text in
// quoted-printable, then each attachment in base64 under its name (RFC 2231, and RFC 2047
// for the programs that read only that). CR LF line ends, no line over 78 characters.
// Address and mail are Windows-1252.
std::string MailDraft(const std::string& address, const EntryMail& mail,
                      const std::vector<tDraftAttachment>& attachments);

// Writes the draft of the mail with the entry files as they are now at MailDraftPath,
// asking before an existing one is replaced. Returns its path, or nullopt when the user
// refused. Throws KivrelError when an entry file cannot be read or the draft not written.
std::optional<tPath> WriteMailDraft(const tVersand& versand);

}  // namespace kivrel
