#include "details/recoveryfile.h"

#include <cstdio>

#include "base/atomicfile.h"
#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/linereader.h"
#include "base/messages.h"
#include "base/textrules.h"

namespace kivrel {

namespace {

constexpr std::string_view kHeading = "Kivrel Wiederherstellung";
constexpr std::string_view kVersion = "Version=1";
constexpr std::string_view kEnd = "Ende";
constexpr std::string_view kFileName = "Meldung.wiederherstellung";
// Far beyond any entry a club types; a larger file is not ours.
constexpr std::size_t kMaxBytes = 64u << 20;
constexpr int kMaxCount = 1000000;

const char* const kHex = "0123456789ABCDEF";

// A field: control characters, the tab that separates fields among them, become \xHH and a
// backslash \\, so that no value can break a line or a field.
void AppendField(std::string& out, std::string_view value) {
    out += '\t';
    std::size_t run = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c >= 32 && c != '\\')
            continue;
        out.append(value.substr(run, i - run));
        if (c == '\\') {
            out += "\\\\";
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
        run = i + 1;
    }
    out.append(value.substr(run));
}

void AppendLine(std::string& out, std::string_view line) {
    out.append(line);
    out += "\r\n";
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The value as AppendField wrote it; nullopt for anything it cannot have written.
std::optional<std::string> Unescaped(std::string_view field) {
    std::string value;
    value.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto c = static_cast<unsigned char>(field[i]);
        if (c < 32)
            return std::nullopt;
        if (c != '\\') {
            value += field[i];
            continue;
        }
        if (i + 1 < field.size() && field[i + 1] == '\\') {
            value += '\\';
            i += 1;
            continue;
        }
        if (i + 3 >= field.size() || field[i + 1] != 'x')
            return std::nullopt;
        const int high = HexDigit(field[i + 2]);
        const int low = HexDigit(field[i + 3]);
        if (high < 0 || low < 0 || high * 16 + low >= 32)
            return std::nullopt;
        value += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return value;
}

// A decimal number of at most max without sign or leading zero.
std::optional<int> Number(std::string_view text, int max) {
    if (text.size() > 7 || (text.size() > 1 && text.front() == '0'))
        return std::nullopt;
    const std::optional<int> n = DigitsValue(text);
    if (n && *n > max)
        return std::nullopt;
    return n;
}

std::optional<bool> Flag(std::string_view text) {
    if (text == "0")
        return false;
    if (text == "1")
        return true;
    return std::nullopt;
}

// "2026-12-08 14:03:27", a real date and time.
std::optional<tLocalTime> ParseStand(std::string_view text) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto part = [&](std::size_t at, std::size_t length) {
        return DigitsValue(text.substr(at, length));
    };
    const auto year = part(0, 4), month = part(5, 2), day = part(8, 2);
    const auto hour = part(11, 2), minute = part(14, 2), second = part(17, 2);
    if (!year || !month || !day || !hour || !minute || !second ||
        !IsValidCalendarDate(*year, *month, *day) || *hour > 23 || *minute > 59 || *second > 60)
        return std::nullopt;
    return tLocalTime{*year, *month, *day, *hour, *minute, *second};
}

// The text's lines, each ended by CR LF; a line without its end or with a lone CR in it
// ends the reading.
class tLines {
public:
    explicit tLines(std::string_view text) : lines_(text, tLineReader::tEnds::CrLf) {}

    std::optional<std::string_view> Next() { return lines_.Next(); }

    // The value of a line "name=value" that must come next.
    std::optional<std::string_view> Value(std::string_view name) {
        const auto line = Next();
        if (!line || line->size() <= name.size() || line->substr(0, name.size()) != name ||
            (*line)[name.size()] != '=')
            return std::nullopt;
        return line->substr(name.size() + 1);
    }

    // The unescaped fields of a record line that begins with tag; nullopt unless it has
    // exactly count of them.
    std::optional<std::vector<std::string>> Record(char tag, std::size_t count) {
        const auto line = Next();
        if (!line || line->size() < 2 || (*line)[0] != tag || (*line)[1] != '\t')
            return std::nullopt;
        std::vector<std::string> fields;
        fields.reserve(count);
        std::string_view rest = line->substr(2);
        while (true) {
            const std::size_t tab = rest.find('\t');
            auto value = Unescaped(rest.substr(0, tab));
            if (!value)
                return std::nullopt;
            fields.push_back(std::move(*value));
            if (tab == std::string_view::npos)
                break;
            if (fields.size() == count)
                return std::nullopt;
            rest.remove_prefix(tab + 1);
        }
        if (fields.size() != count)
            return std::nullopt;
        return fields;
    }

    bool AtEnd() const { return lines_.AtEnd(); }

private:
    tLineReader lines_;
};

std::optional<std::pair<std::string, tAltersgruppe>> ParseGroup(tLines& lines) {
    auto fields = lines.Record('G', 3);
    if (!fields)
        return std::nullopt;
    std::pair<std::string, tAltersgruppe> group;
    group.first = std::move((*fields)[0]);
    group.second.Bezeichnung = std::move((*fields)[1]);
    group.second.Geschlecht = std::move((*fields)[2]);
    const std::string& gender = group.second.Geschlecht;
    if ((gender != "w" && gender != "m" && gender != "g") ||
        group.first != AgeGroupKey(group.second))
        return std::nullopt;
    return group;
}

std::optional<std::pair<std::string, tTeilnehmer>> ParseParticipant(tLines& lines) {
    auto fields = lines.Record('T', 10);
    if (!fields || (*fields)[0].empty())
        return std::nullopt;
    std::vector<std::string>& f = *fields;
    const auto confirmed = Flag(f[1]);
    const auto grade = f[6] == "-1" ? std::optional(-1) : Number(f[6], kGradeCount);
    const auto open = Flag(f[8]);
    const auto kata = Flag(f[9]);
    if (!confirmed || !grade || !open || !kata)
        return std::nullopt;
    tTeilnehmer t;
    t.Confirmed = *confirmed;
    t.Vorname = std::move(f[2]);
    t.Nachname = std::move(f[3]);
    t.Altersgruppe = std::move(f[4]);
    t.Jahrgang = std::move(f[5]);
    t.Graduierung = *grade;
    t.Gewicht = std::move(f[7]);
    t.Allkategorie = *open;
    t.Kata = *kata;
    return std::pair(std::move(f[0]), std::move(t));
}

// Reads count records of one kind into out.
template <class T, class Parse>
bool ParseSection(tLines& lines, std::string_view name, std::vector<T>& out, Parse parse) {
    const auto value = lines.Value(name);
    const auto count = value ? Number(*value, kMaxCount) : std::nullopt;
    if (!count)
        return false;
    out.reserve(static_cast<std::size_t>(*count));
    for (int i = 0; i < *count; ++i) {
        auto record = parse(lines);
        if (!record)
            return false;
        out.push_back(std::move(*record));
    }
    return true;
}

std::string CountOf(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string RecoveryText(const tMeldung& meldung, const tLocalTime& stand) {
    const tAltersgruppenliste& groups = meldung.Altersgruppenliste;
    const tTeilnehmerliste& list = meldung.Teilnehmerliste;
    std::string out;
    out.reserve(128 + static_cast<std::size_t>(groups.Count()) * 32 +
                static_cast<std::size_t>(list.Count()) * 96);
    AppendLine(out, kHeading);
    AppendLine(out, kVersion);
    char line[64];
    std::snprintf(line, sizeof line, "Stand=%04d-%02d-%02d %02d:%02d:%02d", stand.Year, stand.Month,
                  stand.Day, stand.Hour, stand.Minute, stand.Second);
    AppendLine(out, line);

    AppendLine(out, "Altersgruppen=" + std::to_string(groups.Count()));
    for (int i = 0; i < groups.Count(); ++i) {
        const tAltersgruppe& g = groups.Object(i);
        out += 'G';
        AppendField(out, groups.Key(i));
        AppendField(out, g.Bezeichnung);
        AppendField(out, g.Geschlecht);
        out += "\r\n";
    }
    AppendLine(out, "Teilnehmer=" + std::to_string(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        const tTeilnehmer& t = list.Object(i);
        out += 'T';
        AppendField(out, list.Key(i));
        AppendField(out, t.Confirmed ? "1" : "0");
        AppendField(out, t.Vorname);
        AppendField(out, t.Nachname);
        AppendField(out, t.Altersgruppe);
        AppendField(out, t.Jahrgang);
        AppendField(out, std::to_string(t.Graduierung));
        AppendField(out, t.Gewicht);
        AppendField(out, t.Allkategorie ? "1" : "0");
        AppendField(out, t.Kata ? "1" : "0");
        out += "\r\n";
    }
    // A file cut short lacks this line.
    AppendLine(out, kEnd);
    return out;
}

std::optional<tRecoveredEntry> ParseRecoveryText(std::string_view text) {
    tLines lines(text);
    if (lines.Next() != kHeading || lines.Next() != kVersion)
        return std::nullopt;
    tRecoveredEntry entry;
    const auto stand = lines.Value("Stand");
    const auto parsed = stand ? ParseStand(*stand) : std::nullopt;
    if (!parsed)
        return std::nullopt;
    entry.Stand = *parsed;
    if (!ParseSection(lines, "Altersgruppen", entry.Altersgruppen, ParseGroup) ||
        !ParseSection(lines, "Teilnehmer", entry.Teilnehmer, ParseParticipant) ||
        lines.Next() != kEnd || !lines.AtEnd())
        return std::nullopt;
    return entry;
}

void RestoreEntry(tRecoveredEntry entry, tMeldung& meldung) {
    for (auto& [key, group] : entry.Altersgruppen) {
        // Participants name their group by this key, so it is kept as it is; a key that
        // collates like another in this locale is that group already.
        meldung.Altersgruppenliste.Add(key, std::make_unique<tAltersgruppe>(std::move(group)));
    }
    for (auto& [key, participant] : entry.Teilnehmer) {
        meldung.Teilnehmerliste.AddDistinct(key,
                                            std::make_unique<tTeilnehmer>(std::move(participant)));
    }
}

std::string RecoveryQuestion(const tRecoveredEntry& entry) {
    char when[48];
    std::snprintf(when, sizeof when, "%02d.%02d.%04d, %02d:%02d Uhr", entry.Stand.Day,
                  entry.Stand.Month, entry.Stand.Year, entry.Stand.Hour, entry.Stand.Minute);
    const std::size_t participants = entry.Teilnehmer.size();
    std::string text = std::string("Es wurde eine nicht beendete Meldung vom ") + when + " mit ";
    if (participants > 0) {
        text += CountOf(participants, "Teilnehmer", "Teilnehmern") + " gefunden. " +
                (participants == 1 ? "Soll der Teilnehmer" : "Sollen die Teilnehmer");
    } else {
        const std::size_t groups = entry.Altersgruppen.size();
        text += CountOf(groups, "Altersgruppe", "Altersgruppen") +
                " und ohne Teilnehmer gefunden. " +
                (groups == 1 ? "Soll die Altersgruppe" : "Sollen die Altersgruppen");
    }
    return text + " wiederhergestellt werden ?";
}

tRecovery::tRecovery(tPath path, std::unique_ptr<FileLock> lock)
    : path_(std::move(path)), lock_(std::move(lock)) {}

tRecovery::~tRecovery() = default;

std::unique_ptr<tRecovery> tRecovery::Take(const tPath& folder) {
    tPath path = folder / kFileName;
    tPath lockPath = path;
    lockPath += ".lock";
    auto lock = std::make_unique<FileLock>(lockPath, std::chrono::milliseconds(0));
    if (!lock->Held())
        return nullptr;
    return std::unique_ptr<tRecovery>(new tRecovery(std::move(path), std::move(lock)));
}

std::unique_ptr<tRecovery> tRecovery::TakeBesideStore() {
    const auto folder = StoreFolder();
    return folder ? Take(*folder) : nullptr;
}

bool tRecovery::SetAsideAs(const char* tag, tPath* target) {
    auto aside = kivrel::SetAside(path_, tag, false);
    if (!aside)
        return false;
    if (target)
        *target = std::move(*aside);
    return true;
}

std::optional<tRecoveredEntry> tRecovery::Pending() {
    std::string bytes;
    const FileRead read = ReadWholeFile(path_, bytes, kMaxBytes);
    if (read == FileRead::Missing) {
        owned_ = true;
        return std::nullopt;
    }
    if (read == FileRead::Ok) {
        if (auto entry = ParseRecoveryText(bytes))
            return entry;
    }
    tPath aside;
    if (SetAsideAs("unlesbar", &aside)) {
        owned_ = true;
        ShowWarning(Win1252("Die Wiederherstellungsdatei war unlesbar. Sie wurde als \"") +
                    PathText(aside) + Win1252("\" beiseitegelegt; die Meldung beginnt leer."));
    } else {
        // Never overwritten: this run keeps no file.
        ShowWarning(Win1252("Die Wiederherstellungsdatei \"") + PathText(path_) +
                    Win1252("\" ist unlesbar und lässt sich nicht beiseitelegen. Die Meldung "
                            "beginnt leer und wird in diesem Lauf nicht gesichert."));
    }
    return std::nullopt;
}

void tRecovery::Decline() {
    // Kept until it is out of the way, never lost.
    owned_ = SetAsideAs("abgelehnt", nullptr);
}

bool tRecovery::Save(const tMeldung& meldung) {
    if (!owned_)
        return false;
    // Flushed to disk, so that the entry also outlives a power cut right after a change.
    std::string error;
    const bool empty = meldung.Teilnehmerliste.Empty() && meldung.Altersgruppenliste.Empty();
    const bool saved = empty
                           ? RemoveFile(path_)
                           : WriteFileAtomically(path_, RecoveryText(meldung, LocalNow()), &error);
    if (!saved && !failureTold_) {
        failureTold_ = true;
        ShowWarning(Win1252("Die Meldung kann nicht in \"") + PathText(path_) +
                    Win1252("\" gesichert werden (") + error +
                    Win1252("). Sie können weiterarbeiten; bei einem Absturz ließe sie sich "
                            "aber nicht wiederherstellen."));
    }
    return saved;
}

void tRecovery::Remove() {
    if (owned_)
        RemoveFile(path_);
}

}  // namespace kivrel
