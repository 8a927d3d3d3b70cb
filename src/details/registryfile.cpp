#include "details/registryfile.h"

#include <algorithm>
#include <cstdio>

#include "base/cp1252.h"
#include "base/linereader.h"

namespace kivrel {

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
constexpr RegType kRegMultiSz = 7;

// The registry's own limits; they also keep a hostile file from growing without bound.
constexpr std::size_t kMaxKeyPart = 255;
constexpr std::size_t kMaxKeyDepth = 512;

// The registry editor breaks a hex list once its line has reached this column.
constexpr std::size_t kWrapColumn = 77;

// Case folding of Windows-1252 letters, as the registry compares names.
unsigned char Fold(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0x8A:  // Š
        case 0x8C:  // Œ
        case 0x8E:  // Ž
            return static_cast<unsigned char>(c + 0x10);
        case 0x9F:  // Ÿ
            return 0xFF;
        default:
            return c;
    }
}

std::string Folded(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
    return out;
}

bool StartsWithFolded(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && Folded(s.substr(0, prefix.size())) == Folded(prefix);
}

bool IsBlankChar(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsBlankChar(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlankChar(s.front()))
        s.remove_prefix(1);
    return TrimRight(s);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One to eight hex digits and nothing else.
std::optional<std::uint32_t> ParseHexNumber(std::string_view s) {
    if (s.empty() || s.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : s) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return value;
}

// "hh,hh,..." with blanks allowed around each byte; the empty list is no bytes.
std::optional<std::string> ParseHexList(std::string_view list) {
    std::string bytes;
    if (Trim(list).empty())
        return bytes;
    bytes.reserve(list.size() / 3 + 1);
    std::size_t begin = 0;
    while (true) {
        const std::size_t comma = list.find(',', begin);
        const std::string_view token =
            Trim(list.substr(begin, comma == std::string_view::npos ? list.npos : comma - begin));
        if (token.empty() || token.size() > 2)
            return std::nullopt;
        const auto value = ParseHexNumber(token);
        if (!value)
            return std::nullopt;
        bytes += static_cast<char>(*value);
        if (comma == std::string_view::npos)
            return bytes;
        begin = comma + 1;
    }
}

// A quoted text starting at line[pos] == '"' with \\ and \" escaped. The editor's export
// also writes the line breaks of a text as \r and \n; lineBreaks accepts those. Gives the
// position after the closing quote, or npos when the text is malformed.
std::size_t ParseQuoted(std::string_view line, std::size_t pos, std::string& out,
                        bool lineBreaks = false) {
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"')
            return pos + 1;
        if (c == '\\') {
            if (++pos >= line.size())
                return std::string_view::npos;
            c = line[pos];
            if (lineBreaks && (c == 'r' || c == 'n'))
                c = c == 'r' ? '\r' : '\n';
            else if (c != '\\' && c != '"')
                return std::string_view::npos;
        }
        out += c;
    }
    return std::string_view::npos;
}

RegHive::Key* ParseKeyLine(std::string_view line, RegHive& hive) {
    if (line.size() < 2 || line.back() != ']')
        return nullptr;
    const std::string_view inner = line.substr(1, line.size() - 2);
    // "[-...]" deletes a key on import; a store file holds no such thing.
    if (!StartsWithFolded(inner, kRoot))
        return nullptr;
    const std::string_view rest = inner.substr(kRoot.size());
    if (!rest.empty() && rest.front() != '\\')
        return nullptr;
    const auto path = RelativeKeyPath(rest);
    if (!path)
        return nullptr;
    return &hive.CreateKey(*path);
}

bool ParseValueLine(std::string_view line, tLineReader& lines, bool wideTexts, RegHive::Key& key,
                    bool& lossy) {
    std::string name;
    std::size_t pos = 1;
    if (line.front() == '"') {
        pos = ParseQuoted(line, 0, name);
        if (pos == std::string_view::npos)
            return false;
    } else if (line.front() != '@') {
        return false;
    }
    std::string_view rest = Trim(line.substr(pos));
    if (rest.empty() || rest.front() != '=')
        return false;
    rest = Trim(rest.substr(1));

    RegType type = kRegSz;
    std::string data;
    if (!rest.empty() && rest.front() == '"') {
        // Names keep refusing them: a name cannot be written back with a line break.
        if (ParseQuoted(rest, 0, data, true) != rest.size())
            return false;
        data += '\0';
    } else if (StartsWithFolded(rest, "dword:")) {
        const auto value = ParseHexNumber(Trim(rest.substr(6)));
        if (!value)
            return false;
        type = kRegDword;
        for (int shift = 0; shift < 32; shift += 8)
            data += static_cast<char>(*value >> shift & 0xFF);
    } else if (StartsWithFolded(rest, "hex")) {
        rest.remove_prefix(3);
        type = kRegBinary;
        if (!rest.empty() && rest.front() == '(') {
            const std::size_t close = rest.find(')');
            const auto number = close == std::string_view::npos
                                    ? std::nullopt
                                    : ParseHexNumber(rest.substr(1, close - 1));
            if (!number)
                return false;
            type = *number;
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != ':')
            return false;
        std::string list(rest.substr(1));
        // A trailing backslash continues the list on the next line.
        while (!list.empty() && list.back() == '\\') {
            list.pop_back();
            const std::optional<std::string_view> next = lines.Next();
            if (!next)
                return false;
            list += Trim(*next);
        }
        auto bytes = ParseHexList(list);
        if (!bytes)
            return false;
        // The version 5 form holds these texts as UTF-16LE.
        const bool text = type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
        data = wideTexts && text ? Utf16ToCp1252(*bytes, false, '?', lossy) : std::move(*bytes);
    } else {
        // Also "-", which deletes a value on import.
        return false;
    }
    key.Set(name, type, std::move(data));
    return true;
}

bool IsPlainText(const std::string& data) {
    return !data.empty() && data.find('\0') == data.size() - 1 &&
           data.find_first_of("\r\n") == std::string::npos;
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
}

void AppendValue(std::string& out, const RegHive::Value& value) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::size_t lineStart = out.size();
    if (value.name.empty())
        out += '@';
    else
        AppendQuoted(out, value.name);
    out += '=';
    const std::string& data = value.data;
    if (value.type == kRegSz && IsPlainText(data)) {
        AppendQuoted(out, std::string_view(data).substr(0, data.size() - 1));
    } else if (value.type == kRegDword && data.size() == 4) {
        out += "dword:";
        for (int i = 3; i >= 0; --i) {
            const auto byte = static_cast<unsigned char>(data[static_cast<std::size_t>(i)]);
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    } else {
        if (value.type == kRegBinary) {
            out += "hex:";
        } else {
            char type[24];
            std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(value.type));
            out += type;
        }
        std::size_t column = out.size() - lineStart;
        for (std::size_t i = 0; i < data.size(); ++i) {
            const auto byte = static_cast<unsigned char>(data[i]);
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
            if (i + 1 == data.size())
                break;
            out += ',';
            column += 3;
            if (column >= kWrapColumn) {
                out += "\\\r\n  ";
                column = 2;
            }
        }
    }
    out += "\r\n";
}

}  // namespace

std::optional<std::string> RelativeKeyPath(std::string_view absolutePath) {
    std::string_view path = absolutePath;
    if (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    if (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    if (path.empty())
        return std::string();
    std::size_t depth = 0;
    std::size_t begin = 0;
    while (true) {
        const std::size_t end = std::min(path.find('\\', begin), path.size());
        const std::string_view part = path.substr(begin, end - begin);
        if (part.empty() || part.size() > kMaxKeyPart || ++depth > kMaxKeyDepth ||
            part.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
            return std::nullopt;
        }
        if (end == path.size())
            return std::string(path);
        begin = end + 1;
    }
}

bool KeyPathOrder::operator()(std::string_view a, std::string_view b) const {
    // The separator ranks below every other byte, so that subkeys follow their parent.
    auto rank = [](char c) {
        return c == '\\' ? 0 : 1 + static_cast<int>(Fold(static_cast<unsigned char>(c)));
    };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ra = rank(a[i]);
        const int rb = rank(b[i]);
        if (ra != rb)
            return ra < rb;
    }
    return a.size() < b.size();
}

const RegHive::Value* RegHive::Key::Find(std::string_view name) const {
    const auto it = index_.find(Folded(name));
    return it == index_.end() ? nullptr : &values_[it->second];
}

void RegHive::Key::Set(std::string_view name, RegType type, std::string data) {
    const auto [it, added] = index_.try_emplace(Folded(name), values_.size());
    if (added) {
        values_.push_back({std::string(name), type, std::move(data)});
    } else {
        values_[it->second].type = type;
        values_[it->second].data = std::move(data);
    }
}

RegHive::RegHive() {
    keys_.emplace(std::string(), Key());
}

const RegHive::Key* RegHive::FindKey(std::string_view path) const {
    const auto it = keys_.find(path);
    return it == keys_.end() ? nullptr : &it->second;
}

RegHive::Key& RegHive::CreateKey(std::string_view path) {
    auto it = keys_.find(path);
    if (it != keys_.end())
        return it->second;
    // Walk down from the root so that missing parents come into being and a new key is
    // spelt below its parent as the parent is spelt.
    it = keys_.find(std::string_view());
    std::size_t begin = 0;
    while (begin < path.size()) {
        const std::size_t end = std::min(path.find('\\', begin), path.size());
        std::string candidate = it->first.empty() ? std::string() : it->first + '\\';
        candidate += path.substr(begin, end - begin);
        auto found = keys_.find(candidate);
        it = found != keys_.end() ? found : keys_.emplace(std::move(candidate), Key()).first;
        begin = end + 1;
    }
    return it->second;
}

std::optional<ParsedRegFile> ParseRegFile(std::string_view bytes) {
    ParsedRegFile result;
    if (bytes.empty())
        return result;
    std::string decoded;
    std::string_view text = bytes;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        if (bytes.size() % 2 != 0)
            return std::nullopt;  // cut off in the middle of a character
        // '?' as the ANSI registry functions hand out what the code page cannot hold.
        decoded = Utf16ToCp1252(bytes.substr(2), false, '?', result.lossy);
        text = decoded;
    }
    // Lines end with CR LF, LF or CR.
    tLineReader lines(text, tLineReader::tEnds::Any);
    std::optional<std::string_view> first = lines.Next();
    if (!first)
        return std::nullopt;
    std::string_view line = TrimRight(*first);
    if (line != kHeader4 && line != kHeader5)
        return std::nullopt;
    const bool wideTexts = line == kHeader5;

    RegHive::Key* key = nullptr;
    for (std::optional<std::string_view> next; (next = lines.Next());) {
        line = Trim(*next);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            key = ParseKeyLine(line, result.hive);
            if (!key)
                return std::nullopt;
        } else if (!key || !ParseValueLine(line, lines, wideTexts, *key, result.lossy)) {
            return std::nullopt;
        }
    }
    return result;
}

std::string FormatRegFile(const RegHive& hive) {
    std::string out(kHeader4);
    out += "\r\n";
    for (const auto& [path, key] : hive.Keys()) {
        // The root is there in every hive; it is only worth a section when it holds values.
        if (path.empty() && key.Values().empty())
            continue;
        out += "\r\n[";
        out += kRoot;
        if (!path.empty()) {
            out += '\\';
            out += path;
        }
        out += "]\r\n";
        for (const auto& value : key.Values())
            AppendValue(out, value);
    }
    out += "\r\n";
    return out;
}

}  // namespace kivrel
