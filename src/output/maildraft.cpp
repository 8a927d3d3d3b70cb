#include "output/maildraft.h"

#include <algorithm>
#include <cstring>

#include "base/atomicfile.h"
#include "base/cp1252.h"
#include "base/error.h"
#include "base/readfile.h"
#include "output/finishing.h"

namespace kivrel {

namespace {

constexpr std::size_t kMaxLine = 78;
// RFC 2047 caps an encoded word at 75 characters.
constexpr std::size_t kMaxEncodedWord = 75;
// Quoted-printable caps its lines at 76 characters, soft break included.
constexpr std::size_t kMaxQuotedPrintableLine = 76;
// Neither quoted-printable ("=" before hex digits or a line end) nor base64 can hold "=_".
constexpr const char* kBoundary = "=_Kivrel_Meldung_=";
// Far beyond any entry file: a file that grew this large is not an entry file.
constexpr std::size_t kMaxAttachmentBytes = 64u << 20;

constexpr char kHex[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, char escape, unsigned char c) {
    out += escape;
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
}

// The bytes of the UTF-8 character that starts at text[i], at least one.
std::size_t CharacterLength(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return std::min(n, text.size() - i);
}

bool IsAlnum(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsPlainAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; }) &&
           text.find("=?") == std::string_view::npos;
}

// utf8 as RFC 2047 encoded words (Q), the first on a line with room for `first` more
// characters, each further one on a line of its own that starts with a blank and has room
// for `other`.
std::string EncodedWords(std::string_view utf8, std::size_t first, std::size_t other) {
    // "=?UTF-8?Q?" and "?=" around the encoded text.
    constexpr std::size_t kFrame = 12;
    std::string out;
    std::string word;
    std::size_t room = std::min(first, kMaxEncodedWord);
    const auto close = [&] {
        if (!out.empty())
            out += "\r\n ";
        out += "=?UTF-8?Q?" + word + "?=";
        word.clear();
        room = std::min(other, kMaxEncodedWord);
    };
    for (std::size_t i = 0; i < utf8.size();) {
        // A character is never split between two words.
        const std::size_t n = CharacterLength(utf8, i);
        std::string piece;
        for (std::size_t k = i; k < i + n; ++k) {
            const auto c = static_cast<unsigned char>(utf8[k]);
            if (IsAlnum(c) || std::strchr("!*+-/", c))
                piece += static_cast<char>(c);
            else if (c == ' ')
                piece += '_';
            else
                AppendEscaped(piece, '=', c);
        }
        if (!word.empty() && kFrame + word.size() + piece.size() > room)
            close();
        word += piece;
        i += n;
    }
    close();
    return out;
}

std::string SubjectHeader(std::string_view utf8) {
    const std::string label = "Subject: ";
    if (utf8.empty() || (IsPlainAscii(utf8) && label.size() + utf8.size() <= kMaxLine))
        return label + std::string(utf8) + "\r\n";
    return label + EncodedWords(utf8, kMaxLine - label.size(), kMaxLine - 1) + "\r\n";
}

// ` key="value"` as one line where the name is plain ASCII and fits; else encoded words
// in the quotes, which is how mail programs spell names beyond ASCII there.
std::string QuotedParameter(const std::string& key, std::string_view utf8, const char* after) {
    const std::string head = " " + key + "=\"";
    const std::size_t tail = 1 + std::strlen(after);
    const bool plain = IsPlainAscii(utf8) && utf8.find_first_of("\"\\") == std::string::npos;
    if (plain && head.size() + utf8.size() + tail <= kMaxLine)
        return head + std::string(utf8) + "\"" + after;
    // Every word leaves room for the closing quote and what follows, as any may be the last.
    return head + EncodedWords(utf8, kMaxLine - head.size() - tail, kMaxLine - 1 - tail) + "\"" +
           after;
}

bool IsAttributeChar(unsigned char c) {
    return IsAlnum(c) || std::strchr("!#$&+-.^_`|~", c);
}

// ` key*=utf-8''value` (RFC 2231), percent-encoded, continued over numbered lines where it
// is long.
std::string ExtendedParameter(const std::string& key, std::string_view utf8, const char* after) {
    std::vector<std::string> pieces;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = CharacterLength(utf8, i);
        std::string piece;
        for (std::size_t k = i; k < i + n; ++k) {
            const auto c = static_cast<unsigned char>(utf8[k]);
            if (IsAttributeChar(c))
                piece += static_cast<char>(c);
            else
                AppendEscaped(piece, '%', c);
        }
        pieces.push_back(std::move(piece));
        i += n;
    }
    const std::string charset = "utf-8''";
    std::string whole;
    for (const auto& piece : pieces)
        whole += piece;
    const std::string single = " " + key + "*=" + charset + whole + after;
    if (single.size() <= kMaxLine)
        return single;

    std::string out;
    std::string line;
    bool filled = false;
    int section = 0;
    const auto start = [&] {
        line = " " + key + "*" + std::to_string(section) + "*=" + (section == 0 ? charset : "");
        filled = false;
        ++section;
    };
    start();
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const bool last = p + 1 == pieces.size();
        const std::size_t end = last ? std::strlen(after) : 1;
        if (filled && line.size() + pieces[p].size() + end > kMaxLine) {
            out += line + ";\r\n";
            start();
        }
        line += pieces[p];
        filled = true;
    }
    return out + line + after;
}

// Quoted-printable (RFC 2045) of UTF-8 text whose lines end with CR LF: those stay hard line
// breaks, soft ones keep each line at 76 characters. Blanks at a line's end, and "From " or
// "." at its start, are encoded, as mail servers may change them.
std::string QuotedPrintable(std::string_view text) {
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        const std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        std::string encoded;
        std::size_t width = 0;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            const bool lastOfLine = i + 1 == line.size();
            const bool atStart = i == 0 && (line.rfind("From ", 0) == 0 || c == '.');
            std::string token;
            if ((c == ' ' || c == '\t') ? !lastOfLine
                                        : (c > ' ' && c <= '~' && c != '=' && !atStart))
                token = static_cast<char>(c);
            else
                AppendEscaped(token, '=', c);
            // Room for the soft break's "=" unless this is the line's last token.
            const std::size_t limit = kMaxQuotedPrintableLine - (lastOfLine ? 0 : 1);
            if (width + token.size() > limit) {
                encoded += "=\r\n";
                width = 0;
            }
            encoded += token;
            width += token.size();
        }
        out += encoded;
        if (end == std::string_view::npos)
            return out;
        out += "\r\n";
        start = end + 2;
    }
}

std::string Base64Lines(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    constexpr std::size_t kGroupsPerLine = 19;  // 76 characters
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        if (i > 0 && (i / 3) % kGroupsPerLine == 0)
            out += "\r\n";
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? kDigits[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

// A header value never holds a line break of its own.
std::string WithoutControls(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= ' ' && c != '\x7f')
            out += c;
    }
    return out;
}

}  // namespace

tPath MailDraftPath(const tPath& chosenPath) {
    tPath draft(SplitExtension(chosenPath).Stem);
    draft += ".eml";
    return draft;
}

std::string MailDraft(const std::string& address, const EntryMail& mail,
                      const std::vector<tDraftAttachment>& attachments) {
    const std::string boundary = kBoundary;
    std::string out;
    const std::string to = Cp1252ToUtf8(WithoutControls(address));
    if (!to.empty())
        out += "To: " + to + "\r\n";
    out += SubjectHeader(Cp1252ToUtf8(WithoutControls(mail.Subject)));
    // Outlook and Windows' mail apps open the file as a mail to send, not as one received.
    out += "X-Unsent: 1\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n";
    out += "\r\n";
    out += "--" + boundary + "\r\n";
    out += "Content-Type: text/plain; charset=utf-8\r\n";
    out += "Content-Transfer-Encoding: quoted-printable\r\n";
    out += "\r\n";
    out += QuotedPrintable(Cp1252ToUtf8(mail.Body));
    for (const tDraftAttachment& file : attachments) {
        // The line break before a boundary belongs to it: the part's own last one stays.
        out += "\r\n--" + boundary + "\r\n";
        out += "Content-Type: application/octet-stream;\r\n";
        out += QuotedParameter("name", file.Name, "") + "\r\n";
        out += "Content-Disposition: attachment;\r\n";
        out += ExtendedParameter("filename", file.Name, ";") + "\r\n";
        out += QuotedParameter("filename", file.Name, "") + "\r\n";
        out += "Content-Transfer-Encoding: base64\r\n";
        out += "\r\n";
        out += Base64Lines(file.Bytes);
    }
    out += "\r\n--" + boundary + "--\r\n";
    return out;
}

std::optional<tPath> WriteMailDraft(const tVersand& versand) {
    const tPath draft = MailDraftPath(versand.ChosenPath);
    if (!AskBeforeReplacing({draft}))
        return std::nullopt;
    std::vector<tDraftAttachment> attachments;
    for (const tPath& file : versand.Files) {
        tDraftAttachment attachment;
        const std::u8string name = file.filename().u8string();
        attachment.Name.assign(name.begin(), name.end());
        if (ReadWholeFile(file, attachment.Bytes, kMaxAttachmentBytes) != FileRead::Ok)
            throw KivrelError("Die Meldedatei " + PathText(file) + " kann nicht gelesen werden");
        attachments.push_back(std::move(attachment));
    }
    if (!WriteFileAtomically(draft, MailDraft(versand.Address, versand.Mail, attachments)))
        throw KivrelError("nach " + PathText(draft) + " kann nicht geschrieben werden");
    return draft;
}

}  // namespace kivrel
