#include "output/entryfilereader.h"

#include <algorithm>
#include <array>

#include "base/cp1252.h"
#include "base/linereader.h"
#include "base/textrules.h"

namespace kivrel {

namespace {

struct tIniSection {
    std::string_view Name;
    std::vector<std::pair<std::string_view, std::string_view>> Keys;
};

// The lines of an entry file as the writer leaves them: CR LF after every line; blank lines
// mean nothing. nullopt for anything else.
std::optional<std::vector<tIniSection>> IniSections(std::string_view text) {
    std::vector<tIniSection> sections;
    tLineReader lines(text, tLineReader::tEnds::CrLf);
    while (const std::optional<std::string_view> next = lines.Next()) {
        const std::string_view line = *next;
        if (line.empty())
            continue;
        if (line.front() == '[' && line.back() == ']') {
            sections.push_back({line.substr(1, line.size() - 2), {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || sections.empty())
            return std::nullopt;
        sections.back().Keys.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    if (lines.Failed())
        return std::nullopt;
    return sections;
}

bool HasKeys(const tIniSection& section, std::initializer_list<std::string_view> keys) {
    return std::equal(section.Keys.begin(), section.Keys.end(), keys.begin(), keys.end(),
                      [](const auto& line, std::string_view key) { return line.first == key; });
}

bool Named(const std::vector<tIniSection>& sections,
           std::initializer_list<std::string_view> names) {
    return std::equal(sections.begin(), sections.end(), names.begin(), names.end(),
                      [](const tIniSection& s, std::string_view n) { return s.Name == n; });
}

// The writer's sections and keys, in its order.
bool WritersLayout(const std::vector<tIniSection>& s) {
    return Named(s, {"Identifikation", "Absender", "Meldung", "Vereine", "Teilnehmer"}) &&
           HasKeys(s[0], {"File", "Type", "Version"}) && s[0].Keys[0].second == "Torvanesca" &&
           s[0].Keys[1].second == "V" && s[0].Keys[2].second == "4" &&
           HasKeys(s[1], {"Verband", "Ebene", "Name", "Strasse", "PLZ", "Ort", "Telefonp",
                          "Telefond", "Telefax", "Mobil", "Email"}) &&
           HasKeys(s[2], {"Turnier", "Datum", "Ort", "Altersgruppe", "Geschlecht"}) &&
           HasKeys(s[3], {"Anzahl", "1"}) && s[3].Keys[0].second == "1";
}

// A participant record as BuildParticipantRecord writes it.
std::optional<tTeilnehmer> ParseParticipantRecord(std::string_view value) {
    constexpr std::size_t kFields = 12;
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return std::nullopt;
    value = value.substr(1, value.size() - 2);
    std::array<std::string_view, kFields> f;
    for (std::size_t i = 0; i < kFields; ++i) {
        if (value.empty() || value.front() != '"')
            return std::nullopt;
        value.remove_prefix(1);
        const std::size_t close = value.find('"');
        if (close == std::string_view::npos)
            return std::nullopt;
        f[i] = value.substr(0, close);
        value.remove_prefix(close + 1);
        if (i + 1 < kFields) {
            if (value.empty() || value.front() != ',')
                return std::nullopt;
            value.remove_prefix(1);
        }
    }
    const std::string_view grade = f[3];
    // "0" or a number without leading zero up to the table's last grade.
    const int gradeNumber = grade.size() <= 2 && (grade == "0" || !grade.starts_with('0'))
                                ? DigitsValue(grade).value_or(-1)
                                : -1;
    const bool gradeOk = grade.empty() || (gradeNumber >= 0 && gradeNumber <= kGradeCount);
    if (!value.empty() || f[0] != "1" || !f[7].empty() || !f[10].empty() || !f[11].empty() ||
        (f[8] != "" && f[8] != "A") || (f[9] != "" && f[9] != "K") || !gradeOk ||
        (!f[4].empty() && !f[5].empty()))
        return std::nullopt;
    tTeilnehmer t;
    t.Nachname = TrimBlanks(f[1]);
    t.Vorname = TrimBlanks(f[2]);
    t.Graduierung = grade.empty() ? -1 : gradeNumber;
    if (!f[4].empty())
        t.Gewicht = "-" + std::string(f[4]);
    else if (!f[5].empty())
        t.Gewicht = "+" + std::string(f[5]);
    t.Jahrgang = std::string(f[6]);
    t.Allkategorie = f[8] == "A";
    t.Kata = f[9] == "K";
    return t;
}

bool UsableCharacters(std::string_view value) {
    return std::all_of(value.begin(), value.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 32 && u != 127 && Cp1252ToUnicode(u).has_value();
    });
}

}  // namespace

bool SplitGroupKey(std::string_view text, std::string& name, std::string& gender) {
    const std::size_t n = text.size();
    if (n < 5 || text.substr(n - 4, 2) != " (" || text[n - 1] != ')' ||
        std::string_view("wmg").find(text[n - 2]) == std::string_view::npos)
        return false;
    name = text.substr(0, n - 4);
    gender = text.substr(n - 2, 1);
    return true;
}

tEntryFileContent ReadEntryFile(std::string_view bytes, std::size_t maxRecords) {
    tEntryFileContent content;
    const auto sections = IniSections(bytes);
    if (!sections || !WritersLayout(*sections)) {
        content.Fault = tEntryFileFault::NotOurs;
        return content;
    }
    const tIniSection& meldung = (*sections)[2];
    content.GroupKey = meldung.Keys[3].second;
    content.Gender = meldung.Keys[4].second;
    std::string keyGender;
    if (!SplitGroupKey(content.GroupKey, content.GroupName, keyGender) ||
        keyGender != content.Gender) {
        content.Fault = tEntryFileFault::NotOurs;
        return content;
    }
    const auto& records = (*sections)[4].Keys;
    const std::size_t count = records.empty() ? 0 : records.size() - 1;
    if (records.empty() || records.back().first != "Anzahl" ||
        records.back().second != std::to_string(count)) {
        content.Fault = tEntryFileFault::Incomplete;
        return content;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (records[i].first != std::to_string(i + 1)) {
            content.Fault = tEntryFileFault::NotOurs;
            return content;
        }
    }
    if (count > maxRecords) {
        content.TooMany = true;
        return content;
    }
    content.Records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view value = records[i].second;
        if (!UsableCharacters(value))
            content.Records.push_back({std::nullopt, true});
        else
            content.Records.push_back({ParseParticipantRecord(value), false});
    }
    return content;
}

}  // namespace kivrel
