#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// The version record that the build puts into the program file where Windows would have a
// VERSIONINFO resource. It lives in the ELF section ".kivrel_version":
//
//   offset 0   8 bytes   "KIVRELVR"
//   offset 8   4 bytes   size of the whole record, little-endian
//   offset 12  entries up to that size, each:
//              2 bytes key size, 2 bytes value size (little-endian), key, value
//
// Keys are the paths that VerQueryValue takes ("\VarFileInfo\Translation",
// "\StringFileInfo\040704E4\FileVersion"); the translation's value is language and code
// page as two little-endian 16-bit numbers, a text's value its Windows-1252 bytes.
namespace kivrel::versionrecord {

inline constexpr std::string_view kSection = ".kivrel_version";
inline constexpr std::string_view kMagic = "KIVRELVR";
inline constexpr std::size_t kHeaderSize = kMagic.size() + 4;
inline constexpr std::string_view kTranslationKey = "\\VarFileInfo\\Translation";

struct Entry {
    std::string_view key;
    std::string_view value;
};

constexpr std::array<char, 4> Translation(std::uint16_t language, std::uint16_t codePage) {
    return {static_cast<char>(language & 0xFF), static_cast<char>(language >> 8),
            static_cast<char>(codePage & 0xFF), static_cast<char>(codePage >> 8)};
}

constexpr std::size_t RecordSize(std::span<const Entry> entries) {
    std::size_t size = kHeaderSize;
    for (const Entry& e : entries)
        size += 4 + e.key.size() + e.value.size();
    return size;
}

template <typename Out>
constexpr void WriteRecord(std::span<const Entry> entries, Out out) {
    const auto put = [&out](std::size_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            *out++ = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const auto putText = [&out](std::string_view text) {
        for (const char c : text)
            *out++ = c;
    };
    putText(kMagic);
    put(RecordSize(entries), 4);
    for (const Entry& e : entries) {
        if (e.key.size() > 0xFFFF || e.value.size() > 0xFFFF)
            throw std::length_error("version record entry too long");
        put(e.key.size(), 2);
        put(e.value.size(), 2);
        putText(e.key);
        putText(e.value);
    }
}

// The record as a constant, for the program file.
template <std::size_t N>
constexpr std::array<char, N> MakeRecord(std::span<const Entry> entries) {
    std::array<char, N> record{};
    WriteRecord(entries, record.begin());
    return record;
}

// The record as bytes, for tests that write files with records of their own.
inline std::string RecordBytes(std::span<const Entry> entries) {
    std::string record;
    record.reserve(RecordSize(entries));
    WriteRecord(entries, std::back_inserter(record));
    return record;
}

}  // namespace kivrel::versionrecord
