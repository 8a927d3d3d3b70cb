#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/versioninfo.h"
#include "app/versioninfo_record.h"
#include "base/error.h"
#include "support/tempdir.h"

// Program files of our own making, to see what the reader makes of records and files the
// build never writes.
namespace kivrel {
namespace {

namespace vr = versionrecord;

struct Section {
    std::string name;
    std::string content;
};

// A minimal ELF file: header, section contents, name table, section headers.
std::string ElfFile(const std::vector<Section>& sections, bool is64 = true,
                    bool bigEndian = false) {
    std::string file;
    const auto put = [&](std::string& out, std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i) {
            const int shift = 8 * (bigEndian ? size - 1 - i : i);
            out += static_cast<char>((value >> shift) & 0xFF);
        }
    };
    const int word = is64 ? 8 : 4;
    const std::size_t headerSize = is64 ? 64 : 52;
    const std::size_t entrySize = is64 ? 64 : 40;

    std::string body;
    std::string names(1, '\0');
    std::vector<std::pair<std::size_t, std::size_t>> places;  // offset, name index
    for (const Section& s : sections) {
        places.emplace_back(headerSize + body.size(), names.size());
        body += s.content;
        names += s.name + '\0';
    }
    const std::size_t namesIndex = names.size();
    names += std::string(".shstrtab") + '\0';
    const std::size_t namesOffset = headerSize + body.size();
    body += names;
    const std::size_t shoff = headerSize + body.size();

    file = std::string(
        "\x7F"
        "ELF",
        4);
    file += static_cast<char>(is64 ? 2 : 1);
    file += static_cast<char>(bigEndian ? 2 : 1);
    file += '\x01';
    file.resize(16, '\0');
    put(file, 2, 2);     // e_type: executable
    put(file, 62, 2);    // e_machine
    put(file, 1, 4);     // e_version
    put(file, 0, word);  // e_entry
    put(file, 0, word);  // e_phoff
    put(file, shoff, word);
    put(file, 0, 4);  // e_flags
    put(file, headerSize, 2);
    put(file, 0, 2);  // e_phentsize
    put(file, 0, 2);  // e_phnum
    put(file, entrySize, 2);
    put(file, sections.size() + 2, 2);
    put(file, sections.size() + 1, 2);
    file += body;

    const auto header = [&](std::size_t name, std::uint32_t type, std::size_t offset,
                            std::size_t size) {
        std::string h;
        put(h, name, 4);
        put(h, type, 4);
        put(h, 0, word);  // flags
        put(h, 0, word);  // address
        put(h, offset, word);
        put(h, size, word);
        put(h, 0, 4);  // link
        put(h, 0, 4);  // info
        put(h, 1, word);
        put(h, 0, word);
        file += h;
    };
    header(0, 0, 0, 0);
    for (std::size_t i = 0; i < sections.size(); ++i)
        header(places[i].second, 1, places[i].first, sections[i].content.size());
    header(namesIndex, 3, namesOffset, names.size());
    return file;
}

const std::string kBlock = "\\StringFileInfo\\040704E4\\";
const auto kGerman = vr::Translation(0x0407, 0x04E4);
const std::string_view kGermanTranslation(kGerman.data(), kGerman.size());

std::string Record(const std::vector<vr::Entry>& entries) {
    return vr::RecordBytes(entries);
}

class VersionInfoElf : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string file = dir_.file(name);
        test::WriteFileBytes(file, bytes);
        return file;
    }
    std::string Failure(const std::string& file) {
        try {
            info_.SetFilename(file);
        } catch (const KivrelError& e) {
            return e.text();
        }
        return "no failure";
    }

    test::TempDir dir_;
    TVersionInfo info_;
};

TEST_F(VersionInfoElf, TextsMissingFromTheRecordAreNotAvailable) {
    const std::string version = kBlock + "FileVersion";
    const std::string company = kBlock + "CompanyName";
    const std::string comments = kBlock + "Comments";
    const std::string other = "\\StringFileInfo\\040904B0\\FileVersion";
    const std::string empty = kBlock + "ProductName";
    const std::string file =
        Write("ohne-version", ElfFile({{".text", "code"},
                                       {std::string(vr::kSection),
                                        Record({{vr::kTranslationKey, kGermanTranslation},
                                                {company, "Verein"},
                                                {other, "9.9"},
                                                {empty, ""},
                                                {comments, std::string_view("Zeile\0Rest", 10)}}) +
                                            std::string(16, '\0')}}));
    info_.SetFilename(file);
    EXPECT_EQ(info_.LanguageInfo(), "040704E4");
    EXPECT_EQ(info_.FileVersion(), "n/a");
    EXPECT_EQ(info_.CompanyName(), "Verein");
    EXPECT_EQ(info_.ProductName(), "n/a");
    EXPECT_EQ(info_.Comments(), "Zeile");
    EXPECT_EQ(info_.LegalCopyright(), "n/a");

    // Texts are looked up under the first translation, whatever follows it.
    const auto english = vr::Translation(0x0409, 0x04B0);
    const std::string translations =
        std::string(english.data(), 4) + std::string(kGerman.data(), 4);
    info_.SetFilename(Write("englisch", ElfFile({{std::string(vr::kSection),
                                                  Record({{vr::kTranslationKey, translations},
                                                          {version, "4.2.0.1"},
                                                          {other, "9.9"}})}})));
    EXPECT_EQ(info_.LanguageInfo(), "040904B0");
    EXPECT_EQ(info_.FileVersion(), "9.9");
    EXPECT_EQ(info_.CompanyName(), "n/a");
}

TEST_F(VersionInfoElf, RecordWithoutTranslationIsInvalidLanguageInfo) {
    const std::string version = kBlock + "FileVersion";
    const std::string none =
        Write("ohne", ElfFile({{std::string(vr::kSection), Record({{version, "4.2.0.1"}})}}));
    EXPECT_EQ(Failure(none), "Invalid language info in file " + none);
    EXPECT_EQ(info_.FileVersion(), "");
    EXPECT_EQ(info_.LanguageInfo(), "");

    const std::string shortOne =
        Write("kurz", ElfFile({{std::string(vr::kSection),
                                Record({{vr::kTranslationKey, kGermanTranslation.substr(0, 3)},
                                        {version, "4.2.0.1"}})}}));
    EXPECT_EQ(Failure(shortOne), "Invalid language info in file " + shortOne);
}

TEST_F(VersionInfoElf, DamagedFilesAreInvalidRecords) {
    const std::string good =
        Record({{vr::kTranslationKey, kGermanTranslation}, {kBlock + "FileVersion", "4.2.0.1"}});
    const std::string section(vr::kSection);
    std::string tooLong = good;
    tooLong[8] = static_cast<char>(good.size() + 1);  // says it is longer than it is
    std::string entryPastEnd = good;
    entryPastEnd[vr::kHeaderSize + 2] = 0x7F;  // value size beyond the record
    std::string magic = good;
    magic[0] = 'X';

    const std::string whole = ElfFile({{section, good}});
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"ohne-abschnitt", ElfFile({{".text", good}})},
        {"abschnitt-namensaehnlich", ElfFile({{section + "x", good}})},
        {"zu-lang", ElfFile({{section, tooLong}})},
        {"eintrag-zu-lang", ElfFile({{section, entryPastEnd}})},
        {"fremde-kennung", ElfFile({{section, magic}})},
        {"nur-kopf", ElfFile({{section, good.substr(0, 10)}})},
        {"abgeschnitten", whole.substr(0, whole.size() - 10)},
        {"nur-elf-kopf", whole.substr(0, 40)},
    };
    for (const auto& [name, bytes] : damaged) {
        const std::string file = Write(name, bytes);
        EXPECT_EQ(Failure(file), "Invalid version info record in file " + file) << name;
    }

    // Section header offset pointing far beyond the file.
    std::string farAway = whole;
    for (int i = 0; i < 8; ++i)
        farAway[0x28 + i] = '\xFF';
    const std::string file = Write("weit-weg", farAway);
    EXPECT_EQ(Failure(file), "Invalid version info record in file " + file);
}

TEST_F(VersionInfoElf, ReadsEveryElfClassAndByteOrder) {
    const std::string record =
        Record({{vr::kTranslationKey, kGermanTranslation}, {kBlock + "FileVersion", "4.2.0.1"}});
    for (const bool is64 : {false, true}) {
        for (const bool bigEndian : {false, true}) {
            const std::string file = Write(
                "elf",
                ElfFile({{".data", "x"}, {std::string(vr::kSection), record}}, is64, bigEndian));
            info_.SetFilename(file);
            EXPECT_EQ(info_.FileVersion(), "4.2.0.1") << is64 << bigEndian;
            EXPECT_EQ(info_.BlockSize(), record.size());
        }
    }
}

}  // namespace
}  // namespace kivrel
