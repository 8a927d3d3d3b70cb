#include "output/mapiparts.h"

#include <algorithm>
#include <cctype>

#include "base/cp1252.h"

namespace kivrel {

namespace {

const char* TextOrNone(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

MapiRecipFields Recip(std::uint32_t recipClass, const std::string& name,
                      const std::string& address) {
    return {recipClass, (name.empty() ? address : name).c_str(), address.c_str()};
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string PercentEncoded(std::string_view bytes, std::string_view keep) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c) || keep.find(ch) != std::string_view::npos) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

MapiMessageFields MapiMessageFor(const MailRequest& mail, const std::vector<std::string>& fileNames,
                                 const std::vector<std::string>& longNames) {
    MapiMessageFields message;
    message.Subject = TextOrNone(mail.Subject);
    message.NoteText = TextOrNone(mail.Body);
    if (!mail.SenderAddress.empty())
        message.Originator = Recip(kMapiOrig, mail.SenderName, mail.SenderAddress);
    if (!mail.RecipientAddress.empty())
        message.Recips.push_back(Recip(kMapiTo, mail.RecipientName, mail.RecipientAddress));
    const std::size_t count = std::min(fileNames.size(), kMaxMailAttachments);
    message.Files.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const bool named = i < longNames.size() && !longNames[i].empty();
        message.Files.push_back(
            {0, kMapiNoPosition, fileNames[i].c_str(), named ? longNames[i].c_str() : nullptr});
    }
    return message;
}

std::optional<std::string> RegistryText(std::uint32_t type, std::string_view data) {
    if (type != kRegSz && type != kRegExpandSz)
        return std::nullopt;
    return std::string(data.substr(0, data.find('\0')));
}

std::optional<std::int32_t> RegistryInteger(std::uint32_t type, std::string_view data) {
    if (type != kRegDword || data.size() != 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(data[static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(value);
}

bool MailClientRegistered(std::string_view mailtoCommand,
                          const std::function<OutlookExpressSetting()>& readOutlookExpress) {
    if (mailtoCommand.empty())
        return false;
    // Outlook Express registers itself as mail client even when its Simple MAPI is off.
    if (mailtoCommand.find("MSIMN.EXE") == std::string_view::npos)
        return true;
    const OutlookExpressSetting setting = readOutlookExpress();
    return !(setting.KeyOpened && setting.SMapi.value_or(-1) == 0);
}

std::string MailtoUri(const std::string& address, const std::string& subject,
                      const std::string& body) {
    // Only the address belongs in a mailto URI; the name has no place there.
    std::string uri = "mailto:" + PercentEncoded(Cp1252ToUtf8(address), "@");
    char separator = '?';
    const auto add = [&](const char* key, const std::string& text) {
        if (text.empty())
            return;
        uri += separator;
        uri += key;
        uri += PercentEncoded(Cp1252ToUtf8(text));
        separator = '&';
    };
    add("subject=", subject);
    add("body=", body);
    return uri;
}

bool MailtoHandlerTakesAttachments(std::string_view desktopFile) {
    std::string name(desktopFile);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* client :
         {"thunderbird", "icedove", "betterbird", "evolution", "kmail", "claws-mail"}) {
        if (name.find(client) != std::string::npos)
            return true;
    }
    return false;
}

std::vector<std::string> XdgEmailArguments(const MailRequest& mail) {
    // --utf8 keeps the script from converting our UTF-8 texts and paths from the
    // locale's charset, which fails under the C locale.
    std::vector<std::string> args = {"xdg-email", "--utf8"};
    const std::size_t count = std::min(mail.Attachments.size(), kMaxMailAttachments);
    for (std::size_t i = 0; i < count; ++i) {
        // The path's own bytes: on Linux its UTF-8 form is the path itself.
        const std::u8string path = mail.Attachments[i].u8string();
        args.push_back("--attach");
        args.emplace_back(path.begin(), path.end());
    }

    args.push_back(MailtoUri(mail.RecipientAddress, mail.Subject, mail.Body));
    return args;
}

}  // namespace kivrel
