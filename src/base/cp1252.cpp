#include "base/cp1252.h"

#include <array>
#include <stdexcept>

namespace kivrel {

namespace {

// 0x80..0x9F; 0 marks the unassigned codes.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       //
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Reads one code point at pos and advances; nullopt on malformed input.
std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + static_cast<std::size_t>(extra) >= s.size())
        return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        const auto cont = static_cast<unsigned char>(s[pos + i]);
        if ((cont & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (cont & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    pos += extra + 1;
    return cp;
}

// UTF-8 to Windows-1252. Without a replacement, a character the code page lacks or a
// malformed byte gives nullopt; with one, it stands in for each.
std::optional<std::string> Encoded(std::string_view utf8, std::optional<char> replacement) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = NextCodePoint(utf8, pos);
        const auto byte = cp ? UnicodeToCp1252(*cp) : std::nullopt;
        if (!byte && !replacement)
            return std::nullopt;
        if (!cp)
            ++pos;  // a stray byte stands for one character
        out += byte ? static_cast<char>(*byte) : *replacement;
    }
    return out;
}

void AppendMarked(std::string& out, std::optional<char32_t> cp) {
    const auto byte = cp ? UnicodeToCp1252(*cp) : std::nullopt;
    if (byte) {
        out += static_cast<char>(*byte);
        return;
    }
    out += kForeignMark;
    AppendUtf8(out, cp.value_or(0xFFFD));
}

// Calls each(code point) for every UTF-16 character, nullopt for a lone surrogate; an odd
// last byte is dropped and reported by the return value.
template <class Each>
bool EachUtf16(std::string_view bytes, bool bigEndian, Each each) {
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    };
    for (std::size_t i = 0; i < units; ++i) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        }
        each(cp >= 0xD800 && cp <= 0xDFFF ? std::nullopt : std::optional<char32_t>(cp));
    }
    return bytes.size() % 2 == 0;
}

}  // namespace

std::optional<char32_t> Cp1252ToUnicode(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0)
        return byte;
    const char32_t cp = kHighControls[byte - 0x80];
    if (cp == 0)
        return std::nullopt;
    return cp;
}

std::optional<unsigned char> UnicodeToCp1252(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<unsigned char>(codePoint);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == codePoint) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (const char c : text) {
        AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)).value_or(0xFFFD));
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (!NextCodePoint(text, pos))
            return false;
    }
    return true;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8) {
    return Encoded(utf8, std::nullopt);
}

std::string Utf8ToCp1252Shown(std::string_view utf8) {
    return *Encoded(utf8, '?');
}

std::string Utf16ToCp1252(std::string_view bytes, bool bigEndian, char replacement, bool& lossy) {
    std::string out;
    out.reserve(bytes.size() / 2);
    if (!EachUtf16(bytes, bigEndian, [&](std::optional<char32_t> cp) {
            const auto byte = cp ? UnicodeToCp1252(*cp) : std::nullopt;
            if (!byte)
                lossy = true;
            out += byte ? static_cast<char>(*byte) : replacement;
        }))
        lossy = true;
    return out;
}

std::string Utf8ToCp1252Marked(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto cp = NextCodePoint(utf8, pos);
        if (!cp)
            ++pos;  // a stray byte stands for one character
        AppendMarked(out, cp);
    }
    return out;
}

std::string Utf16ToCp1252Marked(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    EachUtf16(bytes, bigEndian, [&](std::optional<char32_t> cp) { AppendMarked(out, cp); });
    return out;
}

std::string Cp1252Marked(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        AppendMarked(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string_view FirstMarked(std::string_view text) {
    const std::size_t mark = text.find(kForeignMark);
    if (mark == std::string_view::npos)
        return {};
    std::size_t pos = mark + 1;
    if (pos >= text.size() || !NextCodePoint(text, pos))
        return text.substr(mark, 1);
    return text.substr(mark, pos - mark);
}

std::string MarkedToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (std::size_t pos = 0; pos < text.size();) {
        const std::string_view marked = FirstMarked(text.substr(pos));
        const std::size_t plain = marked.empty()
                                      ? text.size() - pos
                                      : static_cast<std::size_t>(marked.data() - text.data()) - pos;
        out += Cp1252ToUtf8(text.substr(pos, plain));
        pos += plain;
        if (marked.size() > 1)
            out.append(marked.substr(1));
        else if (!marked.empty())
            AppendUtf8(out, 0xFFFD);
        pos += marked.size();
    }
    return out;
}

std::string Win1252(std::string_view utf8) {
    auto converted = Utf8ToCp1252(utf8);
    if (!converted)
        throw std::logic_error("literal outside Windows-1252");
    return *std::move(converted);
}

}  // namespace kivrel
