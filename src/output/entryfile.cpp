#include "output/entryfile.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "base/atomicfile.h"
#include "base/busy.h"
#include "base/daynumber.h"
#include "base/error.h"

namespace kivrel {

namespace {

using tMembers = std::vector<const tTeilnehmer*>;

// A CR or LF inside a value would start a new line for the reader: no control character
// reaches the file, a blank stands in its place. Inside a record, which the reader splits
// at double quotes, a field's own quotes are dropped.
void AppendClean(std::string& out, std::string_view value, bool dropQuotes) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool control = static_cast<unsigned char>(c) < 32;
        if (!control && !(dropQuotes && c == '"'))
            continue;
        out.append(value.substr(run, i - run));
        if (control)
            out += ' ';
        run = i + 1;
    }
    out.append(value.substr(run));
}

// The comma-separated record: ""1 then "," before every further field, "" at the end.
class tRecord {
public:
    tRecord() {
        text_.reserve(96);
        text_ = "\"\"1";
    }

    tRecord& Field(std::string_view value) {
        text_ += "\",\"";
        AppendClean(text_, value, true);
        return *this;
    }

    std::string Finish() {
        text_ += "\"\"";
        return std::move(text_);
    }

private:
    std::string text_;
};

// Lines of an INI file as the Windows profile writer leaves them: no blank around "=",
// CR LF after every line, no empty lines.
class tIniText {
public:
    explicit tIniText(std::size_t expectedSize) { text_.reserve(expectedSize); }

    void Section(std::string_view name) {
        text_ += '[';
        text_ += name;
        text_ += "]\r\n";
    }

    void Key(std::string_view key, std::string_view value) {
        text_ += key;
        text_ += '=';
        AppendClean(text_, value, false);
        text_ += "\r\n";
    }

    std::string Take() && { return std::move(text_); }

private:
    std::string text_;
};

std::string EntryFileText(const tMeldung& meldung, const tUsedAgeGroup& group,
                          const std::string& clubRecord, const tMembers& members) {
    const tAbsenderData& person = meldung.Absender;
    const tTurnierData& event = meldung.Turnier;
    tIniText ini(640 + clubRecord.size() + members.size() * 80);

    ini.Section("Identifikation");
    ini.Key("File", "Torvanesca");
    ini.Key("Type", "V");
    ini.Key("Version", "4");

    ini.Section("Absender");
    ini.Key("Verband", meldung.Verein.Vereinsname);
    ini.Key("Ebene", "");
    ini.Key("Name", person.Vorname + " " + person.Nachname);
    ini.Key("Strasse", person.Strasse);
    ini.Key("PLZ", person.PLZ);
    ini.Key("Ort", person.Ort);
    ini.Key("Telefonp", person.Telefonp);
    ini.Key("Telefond", person.Telefond);
    ini.Key("Telefax", person.Telefax);
    ini.Key("Mobil", person.Mobil);
    ini.Key("Email", person.Email);

    ini.Section("Meldung");
    ini.Key("Turnier", event.Bezeichnung);
    ini.Key("Datum", FormatDate(event.Datum));
    ini.Key("Ort", event.Ort);
    ini.Key("Altersgruppe", group.Key);
    ini.Key("Geschlecht", group.Gruppe ? group.Gruppe->Geschlecht : std::string());

    ini.Section("Vereine");
    ini.Key("Anzahl", "1");
    ini.Key("1", clubRecord);

    ini.Section("Teilnehmer");
    std::size_t number = 0;
    for (const tTeilnehmer* t : members)
        ini.Key(std::to_string(++number), BuildParticipantRecord(*t));
    ini.Key("Anzahl", std::to_string(number));
    return std::move(ini).Take();
}

}  // namespace

tUsedAgeGroups UsedAgeGroups(const tAltersgruppenliste& groups,
                             const tTeilnehmerliste& participants) {
    std::unordered_set<std::string_view> inUse;
    for (int i = 0; i < participants.Count(); ++i)
        inUse.insert(participants.Object(i).Altersgruppe);
    tUsedAgeGroups used;
    for (int i = 0; i < groups.Count(); ++i) {
        if (inUse.count(groups.Key(i)))
            used.push_back({groups.Key(i), &groups.Object(i)});
    }
    return used;
}

tStemAndExtension SplitExtension(const tPath& chosenPath) {
    using Native = tPath::string_type;
    const Native& path = chosenPath.native();
    // Both separators: the chosen path may come in Windows' or in POSIX form.
    const Native separators = {tPath::value_type('/'), tPath::value_type('\\')};
    const std::size_t slash = path.find_last_of(separators);
    const std::size_t nameStart = slash == Native::npos ? 0 : slash + 1;
    std::size_t point = path.rfind(tPath::value_type('.'));
    if (point == Native::npos || point < nameStart)
        point = path.size();
    return {path.substr(0, point), path.substr(point)};
}

std::vector<tPath> EntryFileNames(const tPath& chosenPath, const tUsedAgeGroups& used) {
    const tStemAndExtension split = SplitExtension(chosenPath);
    std::vector<tPath> names;
    names.reserve(used.size());
    for (const tUsedAgeGroup& group : used)
        names.emplace_back(split.Stem + PathPart(group.Key) + split.Extension);
    return names;
}

std::string BuildClubRecord(const tVereinData& verein, const tAbsenderData& absender) {
    return tRecord()
        .Field(verein.Vereinsname)
        .Field("")
        .Field(verein.Vereinsnummer)
        .Field(absender.Nachname)
        .Field(absender.Vorname)
        .Field(absender.Strasse)
        .Field(absender.PLZ)
        .Field(absender.Ort)
        .Field(absender.Telefonp)
        .Field(absender.Telefond)
        // Mobil, Email, Telefax: the reader's order, not the person record's.
        .Field(absender.Mobil)
        .Field(absender.Email)
        .Field(absender.Telefax)
        .Field(verein.Kreis)
        .Field(verein.Bezirk)
        .Field(verein.Land)
        .Field(verein.Gruppe)
        .Field(verein.Nation)
        .Finish();
}

std::string BuildParticipantRecord(const tTeilnehmer& teilnehmer) {
    const std::string_view weight = teilnehmer.Gewicht;
    std::string_view limitBelow;
    std::string_view limitAbove;
    if (!weight.empty() && weight.front() == '-')
        limitBelow = weight.substr(1);
    else if (!weight.empty() && weight.front() == '+')
        limitAbove = weight.substr(1);

    return tRecord()
        .Field(teilnehmer.Nachname)
        .Field(teilnehmer.Vorname)
        .Field(teilnehmer.Graduierung < 0 ? std::string() : std::to_string(teilnehmer.Graduierung))
        .Field(limitBelow)
        .Field(limitAbove)
        .Field(teilnehmer.Jahrgang)
        .Field("")
        .Field(teilnehmer.Allkategorie ? "A" : "")
        .Field(teilnehmer.Kata ? "K" : "")
        .Field("")
        .Field("")
        .Finish();
}

bool WriteEntryFiles(const tPath& chosenPath, const tUsedAgeGroups& used, const tMeldung& meldung) {
    const BusyScope busy;
    // One walk of the list hands every participant to its group, in list order.
    std::unordered_map<std::string_view, tMembers> members;
    for (const tUsedAgeGroup& group : used)
        members.try_emplace(group.Key);
    const tTeilnehmerliste& participants = meldung.Teilnehmerliste;
    for (int i = 0; i < participants.Count(); ++i) {
        const tTeilnehmer& t = participants.Object(i);
        if (const auto it = members.find(t.Altersgruppe); it != members.end())
            it->second.push_back(&t);
    }

    const std::string clubRecord = BuildClubRecord(meldung.Verein, meldung.Absender);
    const std::vector<tPath> names = EntryFileNames(chosenPath, used);
    for (std::size_t i = 0; i < used.size(); ++i) {
        const std::string text =
            EntryFileText(meldung, used[i], clubRecord, members.at(used[i].Key));
        // Whole or not at all: the old file stays until the new one is complete.
        if (!WriteFileAtomically(names[i], text))
            throw KivrelError("nach " + PathText(names[i]) + " kann nicht geschrieben werden");
    }
    return true;
}

}  // namespace kivrel
