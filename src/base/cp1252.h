#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows-1252 is the program's one text encoding: its files, stored details and mail all
// hold these bytes, so inside the core every text is a std::string of them.
namespace kivrel {

// The Unicode code point of a Windows-1252 byte; nullopt for the five unassigned codes
// 0x81, 0x8D, 0x8F, 0x90 and 0x9D.
std::optional<char32_t> Cp1252ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point; nullopt when the code page cannot hold it.
std::optional<unsigned char> UnicodeToCp1252(char32_t codePoint);

// Decodes Windows-1252 to UTF-8. An unassigned byte becomes U+FFFD; the program never
// produces one, but a file from outside might hold it.
std::string Cp1252ToUtf8(std::string_view text);

// True when text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// Encodes UTF-8 to Windows-1252; nullopt when the text is not valid UTF-8 or holds a
// character the code page cannot hold.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// For showing a text from outside, a path, in a message: a character the code page cannot
// hold, or a byte that is no UTF-8, becomes '?'.
std::string Utf8ToCp1252Shown(std::string_view utf8);

// Text from outside, such as a member list, keeps a character that the code page cannot hold
// so that it can be shown and named: kForeignMark stands before the character's own UTF-8
// bytes (U+FFFD for bytes that are no character). The mark is one of the code page's
// unassigned bytes, so no real character reads as it.
inline constexpr char kForeignMark = '\x81';
std::string Utf8ToCp1252Marked(std::string_view utf8);
std::string Utf16ToCp1252Marked(std::string_view bytes, bool bigEndian);
// Windows-1252 from outside, its unassigned bytes marked.
std::string Cp1252Marked(std::string_view text);
// A marked text as UTF-8, every character as it was read.
std::string MarkedToUtf8(std::string_view text);
// The first marked character, mark and UTF-8 bytes; empty when there is none.
std::string_view FirstMarked(std::string_view text);

// UTF-16 code units, little- or big-endian, as Windows-1252: replacement stands for what the
// code page cannot hold and for a lone surrogate; an odd last byte is dropped. lossy is set
// when anything was replaced or dropped.
std::string Utf16ToCp1252(std::string_view bytes, bool bigEndian, char replacement, bool& lossy);

// For the program's own literals, which are written once in UTF-8: converts and throws
// std::logic_error when a literal holds a character outside Windows-1252.
std::string Win1252(std::string_view utf8);

}  // namespace kivrel
