#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/versioninfo_block.h"
#include "app/versioninfo_record.h"

// The record sits in its own section of the ELF program file. Every offset and size in the
// file is checked before use: the reader may be pointed at any file at all.
namespace kivrel::versionblock {

namespace {

// A record is small; anything larger is not ours.
constexpr std::uint64_t kMaxRecordSize = 1 << 20;
constexpr std::uint32_t kNoBits = 8;              // SHT_NOBITS: a section without file content
constexpr std::uint32_t kExtendedIndex = 0xFFFF;  // SHN_XINDEX

// a + b, or the largest number when that overflows, which no file reaches.
std::uint64_t Add(std::uint64_t a, std::uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

class ElfFile {
public:
    explicit ElfFile(const tPath& name) : in_(name, std::ios::binary) {
        if (in_)
            in_.seekg(0, std::ios::end);
        const auto end = in_ ? static_cast<std::streamoff>(in_.tellg()) : -1;
        size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }

    // count bytes at offset, or an empty string when the file does not hold them.
    std::string Bytes(std::uint64_t offset, std::uint64_t count) {
        if (offset > size_ || count > size_ - offset)
            return {};
        std::string bytes(static_cast<std::size_t>(count), '\0');
        in_.seekg(static_cast<std::streamoff>(offset));
        if (!in_.read(bytes.data(), static_cast<std::streamsize>(count)))
            return {};
        return bytes;
    }

private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

class Fields {
public:
    Fields(std::string_view bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

    std::uint64_t At(std::size_t offset, std::size_t size) const {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const auto byte = static_cast<unsigned char>(bytes_[offset + i]);
            value |= std::uint64_t{byte} << (8 * (bigEndian_ ? size - 1 - i : i));
        }
        return value;
    }

private:
    std::string_view bytes_;
    bool bigEndian_;
};

// Where the fields of the ELF header and of a section header lie, by file class.
struct Layout {
    std::size_t headerSize;
    std::size_t shoff, shentsize, shnum, shstrndx, addressSize;
    std::size_t sectionHeaderSize;
    std::size_t name, type, offset, size, link;
};
constexpr Layout kElf32{52, 0x20, 0x2E, 0x30, 0x32, 4, 40, 0x00, 0x04, 0x10, 0x14, 0x18};
constexpr Layout kElf64{64, 0x28, 0x3A, 0x3C, 0x3E, 8, 64, 0x00, 0x04, 0x18, 0x20, 0x28};

struct Section {
    std::uint32_t name;
    std::uint32_t type;
    std::uint64_t offset;
    std::uint64_t size;
    std::uint32_t link;
};

std::string FindSection(ElfFile& file, std::string_view wanted) {
    const std::string ident = file.Bytes(0, 16);
    if (ident.size() != 16 || ident.compare(0, 4,
                                            "\x7F"
                                            "ELF") != 0)
        return {};
    const bool is64 = ident[4] == 2;
    const bool bigEndian = ident[5] == 2;
    if ((ident[4] != 1 && !is64) || (ident[5] != 1 && !bigEndian))
        return {};
    const Layout& l = is64 ? kElf64 : kElf32;

    const std::string header = file.Bytes(0, l.headerSize);
    if (header.empty())
        return {};
    const Fields h(header, bigEndian);
    const std::uint64_t shoff = h.At(l.shoff, l.addressSize);
    const std::uint64_t shentsize = h.At(l.shentsize, 2);
    std::uint64_t shnum = h.At(l.shnum, 2);
    std::uint64_t shstrndx = h.At(l.shstrndx, 2);
    if (shoff == 0 || shentsize < l.sectionHeaderSize)
        return {};

    const auto section = [&](std::uint64_t index) -> std::optional<Section> {
        if (index > std::uint64_t{0xFFFFFFFF})
            return std::nullopt;
        const std::string bytes = file.Bytes(Add(shoff, index * shentsize), l.sectionHeaderSize);
        if (bytes.empty())
            return std::nullopt;
        const Fields s(bytes, bigEndian);
        return Section{static_cast<std::uint32_t>(s.At(l.name, 4)),
                       static_cast<std::uint32_t>(s.At(l.type, 4)), s.At(l.offset, l.addressSize),
                       s.At(l.size, l.addressSize), static_cast<std::uint32_t>(s.At(l.link, 4))};
    };

    // With many sections the real count and string table index stand in section 0.
    if (shnum == 0 || shstrndx == kExtendedIndex) {
        const auto first = section(0);
        if (!first)
            return {};
        if (shnum == 0)
            shnum = first->size;
        if (shstrndx == kExtendedIndex)
            shstrndx = first->link;
    }
    const auto names = section(shstrndx);
    if (!names || names->type == kNoBits)
        return {};

    for (std::uint64_t i = 1; i < shnum; ++i) {
        const auto s = section(i);
        if (!s)
            return {};
        if (s->name >= names->size || names->size - s->name < wanted.size() + 1)
            continue;
        if (file.Bytes(Add(names->offset, s->name), wanted.size() + 1) !=
            std::string(wanted) + '\0')
            continue;
        if (s->type == kNoBits || s->size > kMaxRecordSize)
            return {};
        return file.Bytes(s->offset, s->size);
    }
    return {};
}

std::uint64_t Little(std::string_view bytes, std::size_t offset, std::size_t size) {
    return Fields(bytes, false).At(offset, size);
}

// Calls visit(key, value) for each entry of a well-formed record; false when the record is
// not well-formed.
template <typename Visit>
bool WalkRecord(std::string_view record, Visit visit) {
    std::size_t at = versionrecord::kHeaderSize;
    while (at < record.size()) {
        if (record.size() - at < 4)
            return false;
        const std::size_t keySize = Little(record, at, 2);
        const std::size_t valueSize = Little(record, at + 2, 2);
        at += 4;
        if (record.size() - at < keySize + valueSize)
            return false;
        if (visit(record.substr(at, keySize), record.substr(at + keySize, valueSize)))
            return true;
        at += keySize + valueSize;
    }
    return true;
}

bool SameKey(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

}  // namespace

bool FileExists(const tPath& name) {
    std::error_code ec;
    const auto status = std::filesystem::status(name, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::vector<char> Read(const tPath& name) {
    ElfFile file(name);
    const std::string section = FindSection(file, versionrecord::kSection);
    // The section may be padded behind the record; the record says how long it is.
    if (section.size() < versionrecord::kHeaderSize ||
        section.compare(0, versionrecord::kMagic.size(), versionrecord::kMagic) != 0)
        return {};
    const std::uint64_t size = Little(section, versionrecord::kMagic.size(), 4);
    if (size < versionrecord::kHeaderSize || size > section.size())
        return {};
    const std::string_view record(section.data(), static_cast<std::size_t>(size));
    if (!WalkRecord(record, [](std::string_view, std::string_view) { return false; }))
        return {};
    return std::vector<char>(record.begin(), record.end());
}

std::optional<std::string_view> Query(std::vector<char>& block, const std::string& path) {
    std::optional<std::string_view> found;
    WalkRecord(std::string_view(block.data(), block.size()),
               [&](std::string_view key, std::string_view value) {
                   if (SameKey(key, path))
                       found = value;
                   return found.has_value();
               });
    return found;
}

}  // namespace kivrel::versionblock
