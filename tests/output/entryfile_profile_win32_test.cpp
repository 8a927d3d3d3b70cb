// The entry files as the Windows profile reader sees them, the way the organiser's program
// may read them: every section and key is found, and a record value comes back as the plain
// record, one enclosing pair of quotes removed.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "base/cp1252.h"
#include "output/entryfile.h"
#include "support/exampleentry.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
};

// The file's bytes; its name is Windows-1252, which the C runtime takes as the ANSI code page
// (std::filesystem of MinGW would take it for UTF-8).
std::string ReadAnsiFile(const std::string& name) {
    std::string bytes;
    if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

// The sections and keys of an entry file as its lines hold them.
std::vector<Section> LinesOf(const std::string& file) {
    std::vector<Section> sections;
    std::size_t begin = 0;
    while (begin < file.size()) {
        const std::size_t end = file.find("\r\n", begin);
        const std::string line = file.substr(begin, end - begin);
        begin = end == std::string::npos ? file.size() : end + 2;
        if (line.empty() || (line.front() != '[' && sections.empty())) {
            ADD_FAILURE() << "not an entry file line: " << line;
        } else if (line.front() == '[') {
            sections.push_back({line.substr(1, line.size() - 2), {}});
        } else {
            const std::size_t equals = line.find('=');
            sections.back().keys.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        }
    }
    return sections;
}

// "a\0b\0\0" as {"a", "b"}.
std::vector<std::string> NameList(const std::vector<char>& buffer, DWORD length) {
    std::vector<std::string> names;
    for (DWORD i = 0; i < length && buffer[i] != '\0'; i += names.back().size() + 1)
        names.emplace_back(&buffer[i]);
    return names;
}

std::vector<std::string> ProfileSections(const std::string& file) {
    std::vector<char> buffer(1 << 16);
    const DWORD n = GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   file.c_str());
    return NameList(buffer, n);
}

std::vector<std::string> ProfileKeys(const std::string& file, const std::string& section) {
    std::vector<char> buffer(1 << 20);
    const DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file.c_str());
    return NameList(buffer, n);
}

std::string ProfileValue(const std::string& file, const std::string& section,
                         const std::string& key) {
    std::vector<char> buffer(1 << 16);
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "<fehlt>", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file.c_str());
    return std::string(buffer.data(), n);
}

bool IsRecord(const Section& section, const std::string& key) {
    return (section.name == "Vereine" || section.name == "Teilnehmer") && key != "Anzahl";
}

// Checks everything the profile reader gives for one written file; returns the number of
// records it found.
std::size_t ExpectProfileReads(const std::string& file) {
    SCOPED_TRACE(file);
    const std::vector<Section> sections = LinesOf(ReadAnsiFile(file));
    std::vector<std::string> names;
    for (const Section& section : sections)
        names.push_back(section.name);
    EXPECT_EQ(ProfileSections(file),
              (std::vector<std::string>{"Identifikation", "Absender", "Meldung", "Vereine",
                                        "Teilnehmer"}));
    EXPECT_EQ(ProfileSections(file), names);

    std::size_t records = 0;
    for (const Section& section : sections) {
        std::vector<std::string> keys;
        for (const auto& [key, value] : section.keys) {
            keys.push_back(key);
            std::string plain = value;
            if (IsRecord(section, key)) {
                ++records;
                EXPECT_EQ(value.substr(0, 4), "\"\"1\"");
                EXPECT_EQ(value.back(), '"');
                plain = value.substr(1, value.size() - 2);
                const std::size_t fields = section.name == "Vereine" ? 19 : 12;
                std::size_t commas = 0;
                for (std::size_t at = plain.find("\",\""); at != std::string::npos;
                     at = plain.find("\",\"", at + 1)) {
                    ++commas;
                }
                EXPECT_EQ(commas + 1, fields) << plain;
            }
            // The reader drops the blanks around a value, as it does outside quotes.
            while (!plain.empty() && plain.back() == ' ')
                plain.pop_back();
            plain.erase(0, plain.find_first_not_of(' '));
            EXPECT_EQ(ProfileValue(file, section.name, key), plain) << section.name << " " << key;
        }
        EXPECT_EQ(ProfileKeys(file, section.name), keys) << section.name;
    }
    return records;
}

TEST(EntryFilesForTheProfileReader, ExampleEntry) {
    test::TempDir dir;
    const tMeldung m = test::ExampleEntry();
    ASSERT_TRUE(WriteEntryFiles(dir.file("Stadtpokal.tv4"), test::Used(m), m));
    const std::string u12 = dir.file("StadtpokalU12 (m).tv4");
    EXPECT_EQ(ExpectProfileReads(u12), 3u);
    EXPECT_EQ(ExpectProfileReads(dir.file("StadtpokalU15 (w).tv4")), 2u);

    EXPECT_EQ(ProfileValue(u12, "Vereine", "1"),
              R"("1","TSV Musterstadt","","0815","Berger","Anna","Hauptstr. 1","12345",)"
              R"("Musterstadt","01234 5678","","","","","Nordkreis","Ost","Nordland","","GER")");
    EXPECT_EQ(ProfileValue(u12, "Teilnehmer", "2"),
              R"("1","Kurz","Tim","","","50","2014","","","","","")");
    EXPECT_EQ(ProfileValue(u12, "Teilnehmer", "Anzahl"), "2");
    EXPECT_EQ(ProfileValue(u12, "Meldung", "Altersgruppe"), "U12 (m)");
    EXPECT_EQ(ProfileValue(u12, "Absender", "Ebene"), "");
}

TEST(EntryFilesForTheProfileReader, LargerEntryWithUmlauts) {
    tMeldung m = test::ExampleEntry();
    m.Turnier.Bezeichnung = Win1252("Süddeutsche Meisterschaft");
    m.Turnier.Ort = Win1252("Lörrach");
    m.Verein.Vereinsname = Win1252("  Jûdô-Club Überlingen ß  ");
    m.Absender.Vorname = Win1252("Jürgen");
    m.Absender.Strasse = Win1252("Äußere Straße 9");
    m.Absender.Email = "jurgen@example.org";
    const std::string groups[] = {
        test::AddGroup(m, Win1252("Mädchen U15"), "w"),
        test::AddGroup(m, Win1252("Männer Ü30"), "m"),
        test::AddGroup(m, "Gemischt", "g"),
    };
    const char* const names[] = {"Müller", "Öztürk", "Ärmel", "Weiß", "Çelik", "Ñúñez"};
    const int count = 150;
    for (int i = 0; i < count; ++i) {
        tTeilnehmer& t =
            test::AddParticipant(m, Win1252(names[i % 6]) + std::to_string(i), Win1252("Zoë"),
                                 groups[i % 3], std::to_string(1990 + i % 20), i % 23 - 1,
                                 i % 2 ? "-" + std::to_string(30 + i) : "+90");
        t.Allkategorie = i % 3 == 0;
        t.Kata = i % 4 == 0;
    }

    test::TempDir dir;
    // The writer takes the system's path; the ANSI profile reader takes the same name in
    // Windows-1252, joined by hand as std::filesystem of MinGW takes narrow names for UTF-8.
    const std::string folder = dir.path().string() + "\\";
    ASSERT_TRUE(WriteEntryFiles(dir.path() / L"S\u00fcd.tv4", test::Used(m), m));
    std::size_t records = 0;
    for (const std::string& group : groups) {
        const std::string file = folder + Win1252("Süd") + group + ".tv4";
        records += ExpectProfileReads(file);
        EXPECT_EQ(ProfileValue(file, "Meldung", "Altersgruppe"), group);
        EXPECT_EQ(ProfileValue(file, "Absender", "Strasse"), Win1252("Äußere Straße 9"));
    }
    // Each file has the club and its own participants; the example's groups keep theirs.
    EXPECT_EQ(records, 3u + count);
    const std::string first = folder + Win1252("Süd") + groups[0] + ".tv4";
    EXPECT_EQ(ProfileValue(first, "Teilnehmer", "Anzahl"), "50");
    // Blanks around the club's name are lost in the sender section, kept in its record.
    EXPECT_EQ(ProfileValue(first, "Absender", "Verband"), Win1252("Jûdô-Club Überlingen ß"));
    const std::string club =
        Win1252("\"1\",\"  Jûdô-Club Überlingen ß  \",\"\",\"0815\",\"Berger\",\"Jürgen\",");
    EXPECT_EQ(ProfileValue(first, "Vereine", "1").rfind(club, 0), 0u);
}

}  // namespace
}  // namespace kivrel
