#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/path.h"
#include "output/mapimail.h"

// The platform-free parts of the mail hand-over: what each backend passes to its mail
// client, decided here so that both can be checked on any machine.
namespace kivrel {

// Simple MAPI takes no more; the Linux backend keeps the same limit.
inline constexpr std::size_t kMaxMailAttachments = 100;

// One mail as SendMapiMail receives it; texts are Windows-1252.
struct MailRequest {
    std::string Subject;
    std::string Body;
    std::string SenderName;
    std::string SenderAddress;
    std::string RecipientName;
    std::string RecipientAddress;
    std::vector<tPath> Attachments;  // full paths
};

// The platform's hand-over (mapimail_win32.cpp, mapimail_posix.cpp). SendMapiMail tells
// the failures; nothing else calls this.
tHandOver HandOverMail(const MailRequest& mail);

// Percent-encodes every byte but the unreserved ones of a URI (RFC 3986) and those in keep.
std::string PercentEncoded(std::string_view bytes, std::string_view keep = {});

// A mailto URI (RFC 6068) with the address, then the subject and the body, each in UTF-8
// and percent-encoded; an empty subject or body is left out. A name has no place there.
std::string MailtoUri(const std::string& address, const std::string& subject,
                      const std::string& body);

// --- Simple MAPI (Windows) ---

// Values of the Simple MAPI interface; the Windows backend checks them against <mapi.h>.
inline constexpr std::uint32_t kMapiOrig = 0;
inline constexpr std::uint32_t kMapiTo = 1;
inline constexpr std::uint32_t kMapiLogonUi = 0x1;
inline constexpr std::uint32_t kMapiDialog = 0x8;
inline constexpr std::uint32_t kMapiNoPosition = 0xFFFFFFFFu;
inline constexpr int kMapiUserAbort = 1;  // MAPI_E_USER_ABORT: the user cancelled the mail

// The filled fields of MapiRecipDesc; reserved and entry identifier stay zero.
struct MapiRecipFields {
    std::uint32_t RecipClass = 0;
    const char* Name = nullptr;
    const char* Address = nullptr;
};

// The filled fields of MapiFileDesc; the file type stays none, and so does the file name
// unless the path is passed by its short name.
struct MapiFileFields {
    std::uint32_t Flags = 0;
    std::uint32_t Position = 0;
    const char* PathName = nullptr;
    const char* FileName = nullptr;
};

// The filled fields of MapiMessage; a missing text is none (nullptr).
struct MapiMessageFields {
    const char* Subject = nullptr;
    const char* NoteText = nullptr;
    std::optional<MapiRecipFields> Originator;
    std::vector<MapiRecipFields> Recips;  // none or one
    std::vector<MapiFileFields> Files;    // at most kMaxMailAttachments
};

// Fills the message from the request, with the attachments under fileNames (one per
// attachment, as the ANSI interface names it). longNames, where given and not empty, name
// an attachment whose path is its short form, for the mail to show its real name. The
// pointers point into mail, fileNames and longNames, which must outlive the result.
MapiMessageFields MapiMessageFor(const MailRequest& mail, const std::vector<std::string>& fileNames,
                                 const std::vector<std::string>& longNames = {});

// --- The probe in the local machine hive (Windows) ---

// Registry value types as Windows numbers them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

// A registry value read as text: the characters before the first NUL of a string value;
// nullopt for any other type.
std::optional<std::string> RegistryText(std::uint32_t type, std::string_view data);

// A registry value read as an integer: a four-byte DWORD; nullopt for anything else.
std::optional<std::int32_t> RegistryInteger(std::uint32_t type, std::string_view data);

// What the probe reads below "Software\Microsoft\Outlook Express".
struct OutlookExpressSetting {
    bool KeyOpened = false;
    std::optional<std::int32_t> SMapi;  // nullopt: missing or not an integer
};

// The probe's answer from the mailto command text (empty when the key or its default value
// could not be read). The Outlook Express setting is read only when the command names
// MSIMN.EXE.
bool MailClientRegistered(std::string_view mailtoCommand,
                          const std::function<OutlookExpressSetting()>& readOutlookExpress);

// --- xdg-email (Linux) ---

// The argument vector for xdg-email: the first kMaxMailAttachments attachments, then one
// mailto URI with the recipient's address, the subject and the body in UTF-8. We encode
// the URI ourselves because the script's own encoder passes texts through the shell's
// echo, which eats backslash sequences and doubles the CR of every CR LF.
std::vector<std::string> XdgEmailArguments(const MailRequest& mail);

// Whether the mailto handler that xdg-mime names (its desktop file, "thunderbird.desktop")
// takes the attachments xdg-email passes: Thunderbird gets them on its command line,
// Evolution, KMail and Claws Mail from the URI. A browser or a web mail app drops them.
bool MailtoHandlerTakesAttachments(std::string_view desktopFile);

}  // namespace kivrel
