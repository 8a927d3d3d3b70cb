#include "participants/importreader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/textrules.h"
#include "participants/inputrules.h"

namespace kivrel {

namespace {

// ---- Texts ----

char LowerCp1252(char c) {
    const auto u = static_cast<unsigned char>(c);
    // A-Z and the upper-case accented letters, leaving out the multiplication sign.
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<char>(u + 32);
    return c;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), LowerCp1252);
    return out;
}

// Lower case without any blank: "9.kyu" for " 9. Kyu".
std::string Folded(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ')
            out += LowerCp1252(c);
    }
    return out;
}

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 32 || u == 127;
    });
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
    int n = 0;
    for (const char c : digits)
        n = n * 10 + (c - '0');
    return n;
}

// Between German quotation marks.
std::string Quoted(std::string_view text) {
    return Win1252("„") + std::string(text) + Win1252("“");
}

std::string NotUsableCharacters() {
    return Win1252("Die Zeile enthält Zeichen, die der Kivrel nicht verwenden kann.");
}

std::string NotAnEntryFile(const std::string& name) {
    return "Die Datei " + name + Win1252(" ist keine Meldedatei des Kivrel oder wurde verändert.");
}

std::string NoParticipantsMessage(const std::string& name) {
    return "Die Datei " + name + Win1252(" enthält keine Teilnehmer.");
}

std::string TooManyRowsMessage(const std::string& name) {
    return "Die Datei " + name + Win1252(" ist zu groß: gelesen werden bis zu ") +
           std::to_string(kImportMaxRows) + " Teilnehmer.";
}

// Size, emptiness and binary content, which refuse any kind of file; empty when none.
std::string FileFault(const tImportFile& file, std::string_view text) {
    if (file.Bytes.size() > kImportMaxBytes)
        return TooLargeMessage(file.Name);
    if (text.find('\0') != std::string_view::npos)
        return "Die Datei " + file.Name + " ist keine Textdatei.";
    if (text.find_first_not_of(" \t\r\n;,") == std::string_view::npos)
        return "Die Datei " + file.Name + " ist leer.";
    return std::string();
}

// ---- Checking rows ----

// A participant as a file gives it, before the editor's rules.
struct tCandidate {
    tTeilnehmer Participant;  // Altersgruppe still empty
    std::string GroupText;    // the age group as given; empty when none
    std::string GroupName;
    std::string Gender;  // "w", "m", "g", or empty
    // The first fault that only this kind of file knows, told after the editor's.
    std::string Fault;
};

// Checks rows by the editor's rules and remembers the names and age groups of the good
// ones, so that later rows and files are checked against them too.
class tChecker {
public:
    tChecker(tImportPlan& plan, const tTeilnehmerliste& participants,
             const tAltersgruppenliste& ageGroups, int currentYear)
        : plan_(plan), ageGroups_(ageGroups), currentYear_(currentYear) {
        taken_.reserve(static_cast<std::size_t>(participants.Count()) * 2 + 64);
        for (int i = 0; i < participants.Count(); ++i) {
            const tTeilnehmer& t = participants.Object(i);
            // As the editor compares: the names as they stand in the list.
            taken_.insert(NamePairKey(t.Nachname, t.Vorname));
        }
    }

    void Refuse(const std::string& file, int row, std::string reason, tTeilnehmer t = {}) {
        plan_.Rows.push_back({file, row, std::move(t), std::move(reason)});
    }

    void Check(const std::string& file, int row, tCandidate c) {
        tTeilnehmer& t = c.Participant;
        std::string pairKey;
        const tParticipantInput input{t.Nachname, t.Vorname, c.GroupText,   t.Jahrgang,
                                      t.Gewicht,  t.Kata,    t.Allkategorie};
        const tParticipantFault fault = CheckParticipant(
            input, currentYear_, [&](std::string_view nachname, std::string_view vorname) {
                pairKey = NamePairKey(nachname, vorname);
                return taken_.count(pairKey) > 0;
            });
        std::string reason =
            fault != tParticipantFault::None ? ParticipantFaultMessage(fault, input) : NameFault(t);
        if (reason.empty())
            reason = c.Fault;
        if (reason.empty())
            reason = GroupFault(c);
        if (reason.empty()) {
            t.Altersgruppe = GroupKey(c);
            t.Confirmed = true;
            taken_.insert(std::move(pairKey));
        } else {
            // For the preview only.
            t.Altersgruppe = c.GroupText;
        }
        plan_.Rows.push_back({file, row, std::move(t), std::move(reason)});
    }

private:
    static std::string NameFault(const tTeilnehmer& t) {
        for (const auto& [name, label] :
             {std::pair<const std::string&, const char*>(t.Nachname, "Der Nachname"),
              {t.Vorname, "Der Vorname"}}) {
            if (name.size() > static_cast<std::size_t>(kNameMaxLength))
                return std::string(label) + Win1252(" ist länger als ") +
                       std::to_string(kNameMaxLength) + " Zeichen.";
            if (!std::all_of(name.begin(), name.end(), NotDoubleQuote))
                return std::string(label) + Win1252(" enthält ein Anführungszeichen.");
        }
        return std::string();
    }

    // The rules of the age-group dialog.
    static std::string GroupFault(const tCandidate& c) {
        if (TrimBlanks(c.GroupName).empty())
            return AgeGroupNameMissingMessage();
        if (c.GroupName.size() > static_cast<std::size_t>(kAgeGroupNameMaxLength))
            return Win1252("Die Bezeichnung der Altersgruppe ist länger als ") +
                   std::to_string(kAgeGroupNameMaxLength) + " Zeichen.";
        if (!std::all_of(c.GroupName.begin(), c.GroupName.end(), InAgeGroupNameSet))
            return "Die Bezeichnung der Altersgruppe " + Quoted(c.GroupName) +
                   Win1252(" enthält unzulässige Zeichen.");
        if (c.Gender.empty())
            return AgeGroupGenderMissingMessage();
        return std::string();
    }

    // The key of the age group in the list, or of a new one; a group given twice, in any
    // case, is one group, as in the editor.
    std::string GroupKey(const tCandidate& c) {
        const std::string key = AgeGroupKey({c.GroupName, c.Gender});
        if (const auto known = resolved_.find(key); known != resolved_.end())
            return known->second;
        std::string result;
        if (const int index = ageGroups_.IndexOf(key); index >= 0) {
            result = ageGroups_.Key(index);
        } else {
            const auto [it, added] = newGroups_.try_emplace(CollationKey(key), key);
            if (added)
                plan_.NewAgeGroups.push_back({c.GroupName, c.Gender});
            result = it->second;
        }
        resolved_.emplace(key, result);
        return result;
    }

    tImportPlan& plan_;
    const tAltersgruppenliste& ageGroups_;
    const int currentYear_;
    std::unordered_set<std::string> taken_;
    // New groups by their collation key; the key text of each as first given.
    std::unordered_map<std::string, std::string> newGroups_;
    // Keys as given -> key as filed.
    std::unordered_map<std::string, std::string> resolved_;
};

// ---- Spreadsheet exports ----

// Columns past these are counted but not kept, so that a line of separators alone costs
// no memory.
constexpr std::size_t kMaxColumns = 1024;

struct tCsvRecord {
    std::vector<std::string> Fields;
    std::size_t Count = 0;  // fields in the line, kept or not
    bool BadQuotes = false;

    void Add(std::string field) {
        if (++Count <= kMaxColumns)
            Fields.push_back(std::move(field));
    }
    // Nothing but blanks and control characters: an empty line of the sheet.
    bool Blank() const {
        return !BadQuotes && std::all_of(Fields.begin(), Fields.end(), [](const std::string& f) {
            return std::all_of(f.begin(), f.end(),
                               [](char c) { return static_cast<unsigned char>(c) <= ' '; });
        });
    }
};

// Splits CSV text into records: fields between quotes may hold separators, line breaks and
// doubled quotes. A quote left open, or closed with text after it, ends its record at the end
// of the line it opened on, so the rows after it are read as they stand.
class tCsvSplitter {
public:
    tCsvSplitter(std::string_view text, char separator)
        : text_(text), separator_(separator), stops_{separator, '\r', '\n'} {}

    bool Next(tCsvRecord& record) {
        if (pos_ >= text_.size())
            return false;
        record.Fields.clear();
        record.Count = 0;
        record.BadQuotes = false;
        for (;;) {
            std::string field;
            if (text_[pos_] == '"') {
                if (!QuotedField(field)) {
                    record.BadQuotes = true;
                    record.Add(std::move(field));
                    EndLine();
                    return true;
                }
            } else {
                const std::size_t end = std::min(text_.find_first_of(stops_, pos_), text_.size());
                field.assign(text_.substr(pos_, end - pos_));
                pos_ = end;
            }
            record.Add(std::move(field));
            if (pos_ < text_.size() && text_[pos_] == separator_) {
                ++pos_;
                continue;
            }
            EndLine();
            return true;
        }
    }

private:
    // Reads a field from its opening quote on; false when the quote is never closed.
    bool QuotedField(std::string& field) {
        const std::size_t open = pos_++;
        while (pos_ < text_.size()) {
            const std::size_t quote = text_.find('"', pos_);
            if (quote == std::string_view::npos)
                break;
            field.append(text_.substr(pos_, quote - pos_));
            pos_ = quote + 1;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                field += '"';
                ++pos_;
                continue;
            }
            if (pos_ == text_.size() || std::strchr(stops_, text_[pos_]))
                return true;
            break;
        }
        const std::size_t lineEnd = text_.find_first_of("\r\n", open);
        pos_ = lineEnd == std::string_view::npos ? text_.size() : lineEnd;
        field.clear();
        return false;
    }

    // CR LF, LF or a lone CR.
    void EndLine() {
        if (pos_ < text_.size() && text_[pos_] == '\r')
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    char separator_;
    const char stops_[4];
};

// The separator that the heading uses more often, outside quotes; ";" when it has neither.
char DetectSeparator(std::string_view text) {
    int semicolons = 0;
    int commas = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\r' || c == '\n'))
            break;
        else if (!quoted && c == ';')
            ++semicolons;
        else if (!quoted && c == ',')
            ++commas;
    }
    return commas > semicolons ? ',' : ';';
}

enum tColumn {
    colNachname,
    colVorname,
    colJahrgang,
    colGewicht,
    colGraduierung,
    colAltersgruppe,
    colGeschlecht,
    colKata,
    colAllkategorie,
    kColumnCount
};

std::optional<tColumn> ColumnOf(std::string_view heading) {
    static const std::unordered_map<std::string, tColumn> kNames = {
        {"nachname", colNachname},         {"name", colNachname},
        {"familienname", colNachname},     {"vorname", colVorname},
        {"jahrgang", colJahrgang},         {"jg", colJahrgang},
        {"geburtsjahr", colJahrgang},      {"geburtsdatum", colJahrgang},
        {"gewicht", colGewicht},           {"gewichtsklasse", colGewicht},
        {"graduierung", colGraduierung},   {"grad", colGraduierung},
        {"gurt", colGraduierung},          {"altersgruppe", colAltersgruppe},
        {"geschlecht", colGeschlecht},     {"kata", colKata},
        {"allkategorie", colAllkategorie},
    };
    const auto it = kNames.find(Lower(TrimBlanks(heading)));
    if (it == kNames.end())
        return std::nullopt;
    return it->second;
}

// The year of a birth date "d.m.yyyy"; other texts as they are, for the year rule to judge.
std::string YearOf(const std::string& text) {
    const std::size_t first = text.find('.');
    const std::size_t second = first == std::string::npos ? first : text.find('.', first + 1);
    if (second == std::string::npos)
        return text;
    const std::string_view day = std::string_view(text).substr(0, first);
    const std::string_view month = std::string_view(text).substr(first + 1, second - first - 1);
    const std::string_view year = std::string_view(text).substr(second + 1);
    const auto shortNumber = [](std::string_view s) {
        return !s.empty() && s.size() <= 2 && AllDigits(s);
    };
    if (!shortNumber(day) || !shortNumber(month) || year.size() != 4 || !AllDigits(year) ||
        !IsValidCalendarDate(Number(year), Number(month), Number(day)))
        return text;
    return std::string(year);
}

// The grade index of a grade name; nullopt when there is none of that name.
std::optional<std::int32_t> GradeOf(const std::string& text) {
    static const std::unordered_map<std::string, std::int32_t> kGrades = [] {
        std::unordered_map<std::string, std::int32_t> grades{{"[unbekannt]", 0}, {"unbekannt", 0}};
        for (int i = 0; i < kGradeCount; ++i)
            grades.emplace(Folded(Graduierungen[static_cast<std::size_t>(i)]), i + 1);
        return grades;
    }();
    if (text.empty())
        return -1;
    const auto it = kGrades.find(Folded(text));
    if (it == kGrades.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> GenderOf(const std::string& text) {
    const std::string lower = Lower(text);
    if (lower.empty())
        return std::string();
    static const std::string kMaennlich = Win1252("männlich");
    if (lower == "m" || lower == kMaennlich)
        return "m";
    if (lower == "w" || lower == "weiblich")
        return "w";
    if (lower == "g" || lower == "gemischt")
        return "g";
    return std::nullopt;
}

std::optional<bool> FlagOf(const std::string& text) {
    const std::string lower = Lower(text);
    if (lower.empty() || lower == "nein" || lower == "0" || lower == "-")
        return false;
    if (lower == "x" || lower == "ja" || lower == "1")
        return true;
    return std::nullopt;
}

// "U14 (m)" as one cell: the name and the gender letter of an age-group key.
bool SplitGroupKey(const std::string& text, std::string& name, std::string& gender) {
    const std::size_t n = text.size();
    if (n < 5 || text.compare(n - 4, 2, " (") != 0 || text[n - 1] != ')' ||
        std::string_view("wmg").find(text[n - 2]) == std::string_view::npos)
        return false;
    name = text.substr(0, n - 4);
    gender = text.substr(n - 2, 1);
    return true;
}

class tCsvReader {
public:
    tCsvReader(const tImportFile& file, tChecker& checker, tImportPlan& plan)
        : file_(file), checker_(checker), plan_(plan) {}

    void Read() {
        std::string_view text = file_.Bytes;
        const bool bom = text.substr(0, 3) == "\xEF\xBB\xBF";
        if (bom)
            text.remove_prefix(3);
        if (std::string fault = FileFault(file_, text); !fault.empty()) {
            plan_.FileErrors.push_back(std::move(fault));
            return;
        }
        const bool high = std::any_of(text.begin(), text.end(),
                                      [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        utf8_ = bom || (high && IsValidUtf8(text));

        const char separator = DetectSeparator(text);
        tCsvRecord record;
        // Counted first: a file of too many rows is refused before a row is checked.
        std::size_t rows = 0;
        for (tCsvSplitter counter(text, separator); counter.Next(record);)
            rows += record.Blank() ? 0 : 1;
        if (rows > kImportMaxRows + 1) {
            plan_.FileErrors.push_back(TooManyRowsMessage(file_.Name));
            return;
        }
        tCsvSplitter splitter(text, separator);
        splitter.Next(record);
        if (!ReadHeading(record))
            return;
        if (rows <= 1) {
            plan_.FileErrors.push_back(NoParticipantsMessage(file_.Name));
            return;
        }
        for (int row = 2; splitter.Next(record); ++row) {
            if (!record.Blank())
                ReadRow(row, record);
        }
    }

private:
    bool ReadHeading(const tCsvRecord& heading) {
        if (heading.BadQuotes) {
            plan_.FileErrors.push_back("Die Kopfzeile der Datei " + file_.Name +
                                       Win1252(" enthält fehlerhafte Anführungszeichen."));
            return false;
        }
        columns_.fill(-1);
        for (std::size_t i = 0; i < heading.Fields.size(); ++i) {
            const std::optional<std::string> name = Decode(heading.Fields[i]);
            const std::optional<tColumn> column = name ? ColumnOf(*name) : std::nullopt;
            // The first column of a name counts.
            if (column && columns_[*column] < 0)
                columns_[*column] = static_cast<int>(i);
        }
        fieldCount_ = heading.Count;
        if (columns_[colNachname] < 0 || columns_[colVorname] < 0) {
            plan_.FileErrors.push_back(
                "Die Datei " + file_.Name +
                Win1252(" enthält keine Spalten „Nachname“ und „Vorname“. Die erste Zeile muss "
                        "die Spalten benennen."));
            return false;
        }
        return true;
    }

    std::optional<std::string> Decode(const std::string& field) const {
        if (utf8_)
            return Utf8ToCp1252(field);
        const bool assigned = std::all_of(field.begin(), field.end(), [](char c) {
            return Cp1252ToUnicode(static_cast<unsigned char>(c)).has_value();
        });
        if (!assigned)
            return std::nullopt;
        return field;
    }

    void ReadRow(int row, const tCsvRecord& record) {
        if (record.BadQuotes) {
            checker_.Refuse(file_.Name, row,
                            Win1252("Die Anführungszeichen in dieser Zeile sind fehlerhaft."));
            return;
        }
        if (record.Count != fieldCount_) {
            checker_.Refuse(file_.Name, row,
                            "Die Zeile hat " + std::to_string(record.Count) +
                                " Felder, die Kopfzeile " + std::to_string(fieldCount_) + ".");
            return;
        }
        std::array<std::string, kColumnCount> cells;
        std::string fault;
        for (int c = 0; c < kColumnCount; ++c) {
            if (columns_[c] < 0)
                continue;
            std::optional<std::string> cell =
                Decode(record.Fields[static_cast<std::size_t>(columns_[c])]);
            if (!cell) {
                fault = NotUsableCharacters();
            } else if (HasControl(*cell) && fault.empty()) {
                fault = Win1252("Die Zeile enthält Steuerzeichen.");
            } else {
                cells[c] = TrimBlanks(*cell);
            }
        }
        tCandidate candidate;
        tTeilnehmer& t = candidate.Participant;
        t.Nachname = cells[colNachname];
        t.Vorname = cells[colVorname];
        if (!fault.empty()) {
            checker_.Refuse(file_.Name, row, std::move(fault), std::move(t));
            return;
        }
        t.Jahrgang = YearOf(cells[colJahrgang]);
        t.Gewicht = cells[colGewicht];
        const auto note = [&](std::string text) {
            if (candidate.Fault.empty())
                candidate.Fault = std::move(text);
        };
        if (const auto flag = FlagOf(cells[colKata]))
            t.Kata = *flag;
        else
            note("Der Wert " + Quoted(cells[colKata]) +
                 Win1252(" für Kata ist unbekannt (x, ja oder 1)."));
        if (const auto flag = FlagOf(cells[colAllkategorie]))
            t.Allkategorie = *flag;
        else
            note("Der Wert " + Quoted(cells[colAllkategorie]) +
                 Win1252(" für Allkategorie ist unbekannt (x, ja oder 1)."));
        if (const auto grade = GradeOf(cells[colGraduierung]))
            t.Graduierung = *grade;
        else
            note("Die Graduierung " + Quoted(cells[colGraduierung]) + " ist unbekannt.");

        candidate.GroupText = cells[colAltersgruppe];
        const std::optional<std::string> gender = GenderOf(cells[colGeschlecht]);
        if (!gender)
            note("Das Geschlecht " + Quoted(cells[colGeschlecht]) +
                 " ist unbekannt (m, w oder g).");
        std::string keyName;
        std::string keyGender;
        const bool keyGiven = SplitGroupKey(candidate.GroupText, keyName, keyGender);
        if (keyGiven && gender && !gender->empty() && *gender != keyGender)
            note("Altersgruppe und Geschlecht passen nicht zusammen.");
        if (keyGiven) {
            candidate.GroupName = keyName;
            candidate.Gender = keyGender;
        } else {
            candidate.GroupName = candidate.GroupText;
            candidate.Gender = gender.value_or(std::string());
        }
        checker_.Check(file_.Name, row, std::move(candidate));
    }

    const tImportFile& file_;
    tChecker& checker_;
    tImportPlan& plan_;
    bool utf8_ = false;
    std::array<int, kColumnCount> columns_{};
    std::size_t fieldCount_ = 0;
};

// ---- Entry files ----

struct tIniSection {
    std::string_view Name;
    std::vector<std::pair<std::string_view, std::string_view>> Keys;
};

// The lines of an entry file as the writer leaves them: CR LF after every line; blank lines
// mean nothing. nullopt for anything else.
std::optional<std::vector<tIniSection>> IniSections(std::string_view text) {
    std::vector<tIniSection> sections;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        if (line.find_first_of("\r\n") != std::string_view::npos)
            return std::nullopt;
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
    return sections;
}

bool HasKeys(const tIniSection& section, std::initializer_list<std::string_view> keys) {
    return std::equal(section.Keys.begin(), section.Keys.end(), keys.begin(), keys.end(),
                      [](const auto& line, std::string_view key) { return line.first == key; });
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
    const bool gradeOk = grade.empty() || grade == "0" ||
                         (grade.size() <= 2 && grade.front() != '0' && AllDigits(grade) &&
                          Number(grade) <= kGradeCount);
    if (!value.empty() || f[0] != "1" || !f[7].empty() || !f[10].empty() || !f[11].empty() ||
        (f[8] != "" && f[8] != "A") || (f[9] != "" && f[9] != "K") || !gradeOk ||
        (!f[4].empty() && !f[5].empty()))
        return std::nullopt;
    tTeilnehmer t;
    t.Nachname = TrimBlanks(f[1]);
    t.Vorname = TrimBlanks(f[2]);
    t.Graduierung = grade.empty() ? -1 : Number(grade);
    if (!f[4].empty())
        t.Gewicht = "-" + std::string(f[4]);
    else if (!f[5].empty())
        t.Gewicht = "+" + std::string(f[5]);
    t.Jahrgang = std::string(f[6]);
    t.Allkategorie = f[8] == "A";
    t.Kata = f[9] == "K";
    return t;
}

void ReadEntryFile(const tImportFile& file, tChecker& checker, tImportPlan& plan) {
    if (std::string fault = FileFault(file, file.Bytes); !fault.empty()) {
        plan.FileErrors.push_back(std::move(fault));
        return;
    }
    const auto sections = IniSections(file.Bytes);
    const auto named = [&](std::initializer_list<std::string_view> names) {
        return std::equal(sections->begin(), sections->end(), names.begin(), names.end(),
                          [](const tIniSection& s, std::string_view n) { return s.Name == n; });
    };
    if (!sections || !named({"Identifikation", "Absender", "Meldung", "Vereine", "Teilnehmer"}) ||
        !HasKeys((*sections)[0], {"File", "Type", "Version"}) ||
        (*sections)[0].Keys[0].second != "Torvanesca" || (*sections)[0].Keys[1].second != "V" ||
        (*sections)[0].Keys[2].second != "4" ||
        !HasKeys((*sections)[1], {"Verband", "Ebene", "Name", "Strasse", "PLZ", "Ort", "Telefonp",
                                  "Telefond", "Telefax", "Mobil", "Email"}) ||
        !HasKeys((*sections)[2], {"Turnier", "Datum", "Ort", "Altersgruppe", "Geschlecht"}) ||
        !HasKeys((*sections)[3], {"Anzahl", "1"}) || (*sections)[3].Keys[0].second != "1") {
        plan.FileErrors.push_back(NotAnEntryFile(file.Name));
        return;
    }
    const tIniSection& meldung = (*sections)[2];
    const std::string groupKey(meldung.Keys[3].second);
    const std::string gender(meldung.Keys[4].second);
    std::string groupName;
    std::string keyGender;
    if (!SplitGroupKey(groupKey, groupName, keyGender) || keyGender != gender) {
        plan.FileErrors.push_back(NotAnEntryFile(file.Name));
        return;
    }
    const auto& records = (*sections)[4].Keys;
    const std::size_t count = records.empty() ? 0 : records.size() - 1;
    if (records.empty() || records.back().first != "Anzahl" ||
        records.back().second != std::to_string(count)) {
        plan.FileErrors.push_back("Die Meldedatei " + file.Name + Win1252(" ist unvollständig."));
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (records[i].first != std::to_string(i + 1)) {
            plan.FileErrors.push_back(NotAnEntryFile(file.Name));
            return;
        }
    }
    if (count == 0 || count > kImportMaxRows) {
        plan.FileErrors.push_back(count == 0 ? NoParticipantsMessage(file.Name)
                                             : TooManyRowsMessage(file.Name));
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const int row = static_cast<int>(i + 1);
        const std::string_view value = records[i].second;
        if (HasControl(value) || !std::all_of(value.begin(), value.end(), [](char c) {
                return Cp1252ToUnicode(static_cast<unsigned char>(c)).has_value();
            })) {
            checker.Refuse(file.Name, row, NotUsableCharacters());
            continue;
        }
        std::optional<tTeilnehmer> t = ParseParticipantRecord(value);
        if (!t) {
            checker.Refuse(file.Name, row,
                           "Der Eintrag hat nicht das Format eines Teilnehmers der Meldedatei.");
            continue;
        }
        checker.Check(file.Name, row, {std::move(*t), groupKey, groupName, gender, {}});
    }
}

bool IsEntryFileName(const std::string& name) {
    return name.size() >= 4 && Lower(std::string_view(name).substr(name.size() - 4)) == ".tv4";
}

}  // namespace

int tImportPlan::GoodRows() const {
    return static_cast<int>(std::count_if(Rows.begin(), Rows.end(),
                                          [](const tImportRow& r) { return r.Reason.empty(); }));
}

std::string TooLargeMessage(const std::string& name) {
    return "Die Datei " + name + Win1252(" ist zu groß: gelesen werden Dateien bis ") +
           std::to_string(kImportMaxBytes / (1024 * 1024)) + " MB.";
}

tImportPlan PrepareImport(const std::vector<tImportFile>& files,
                          const tTeilnehmerliste& participants,
                          const tAltersgruppenliste& ageGroups, int currentYear) {
    tImportPlan plan;
    tChecker checker(plan, participants, ageGroups, currentYear);
    for (const tImportFile& file : files) {
        if (IsEntryFileName(file.Name))
            ReadEntryFile(file, checker, plan);
        else
            tCsvReader(file, checker, plan).Read();
    }
    return plan;
}

void ApplyImport(const tImportPlan& plan, tTeilnehmerliste& participants,
                 tAltersgruppenliste& ageGroups) {
    for (const tAltersgruppe& group : plan.NewAgeGroups) {
        std::string key = AgeGroupKey(group);
        if (ageGroups.IndexOf(key) < 0)
            ageGroups.Add(std::move(key), std::make_unique<tAltersgruppe>(group));
    }
    for (const tImportRow& row : plan.Rows) {
        if (!row.Reason.empty())
            continue;
        auto t = std::make_unique<tTeilnehmer>(row.Participant);
        const std::string key = ParticipantKey(*t);
        participants.AddDistinct(key, std::move(t));
    }
}

}  // namespace kivrel
