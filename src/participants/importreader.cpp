#include "participants/importreader.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "base/collation.h"
#include "base/cp1252.h"
#include "base/textrules.h"
#include "output/entryfilereader.h"
#include "participants/importvalues.h"
#include "participants/inputrules.h"

namespace kivrel {

namespace {

// ---- Texts ----

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 32 || u == 127;
    });
}

// Between German quotation marks.
std::string Quoted(std::string_view text) {
    return Win1252("„") + std::string(text) + Win1252("“");
}

std::string NotUsableCharacters() {
    return Win1252("Die Zeile enthält Zeichen, die der Kivrel nicht verwenden kann.");
}

// xlsx and ods are zip archives, xls a compound document: none is a text file.
bool IsWorkbook(std::string_view bytes) {
    return bytes.substr(0, 4) == "PK\x03\x04" || bytes.substr(0, 4) == "\xD0\xCF\x11\xE0";
}

std::string WorkbookMessage(const std::string& name) {
    return "Die Datei " + name + " ist eine Tabelle im Format von Excel oder Calc. " +
           Win1252(
               "Bitte speichern Sie die Tabelle als CSV-Datei (Datei > Speichern unter > Text "
               "CSV) und importieren Sie diese.");
}

// A letter that the entry file cannot hold, or a "?" where a spreadsheet saved in
// Windows-1252 lost one; empty when the name is fine.
std::string NameLetterFault(const std::string& name, bool edited, const char* label,
                            const char* in) {
    if (const std::string_view marked = FirstMarked(name); !marked.empty())
        return std::string(label) + " " + Quoted(name) + Win1252(" enthält das Zeichen ") +
               Quoted(marked) +
               Win1252(", das in der Meldedatei nicht stehen kann. Bitte ändern Sie den Namen.");
    if (!edited && name.find('?') != std::string::npos)
        return std::string(in) + " " + Quoted(name) +
               Win1252(
                   " steht „?“ anstelle eines Buchstabens, den die Tabelle nicht speichern "
                   "konnte. Bitte berichtigen Sie den Namen.");
    return std::string();
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

std::string FlagFault(const std::string& value, const char* field) {
    return "Der Wert " + Quoted(value) + Win1252(" für ") + field +
           " ist unbekannt (x, ja oder 1).";
}

// Size, emptiness and binary content, which refuse any kind of file; empty when none.
std::string FileFault(const tImportFile& file) {
    if (file.Bytes.size() > kImportMaxBytes)
        return TooLargeMessage(file.Name);
    return std::string();
}

bool IsEntryFileName(const std::string& name) {
    return name.size() >= 4 && Lower(std::string_view(name).substr(name.size() - 4)) == ".tv4";
}

// The rules of the age-group dialog for a group a file names; empty when it passes.
std::string GroupNameFault(const std::string& name, const std::string& gender) {
    if (TrimBlanks(name).empty())
        return AgeGroupNameMissingMessage();
    if (name.size() > static_cast<std::size_t>(kAgeGroupNameMaxLength))
        return Win1252("Die Bezeichnung der Altersgruppe ist länger als ") +
               std::to_string(kAgeGroupNameMaxLength) + " Zeichen.";
    if (!std::all_of(name.begin(), name.end(), InAgeGroupNameSet))
        return "Die Bezeichnung der Altersgruppe " + Quoted(name) +
               Win1252(" enthält unzulässige Zeichen.");
    if (gender.empty())
        return AgeGroupGenderMissingMessage();
    return std::string();
}

// The limits that the editor's fields set and that a file can pass by.
std::string NameFault(const tTeilnehmer& t) {
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

// A heading folded for guessing: lower case, a bracketed unit dropped, only letters and
// digits ("Geb.-Datum" gives "gebdatum", "Gewicht (kg)" "gewicht").
std::string FoldedHeading(std::string_view heading) {
    std::string out;
    for (const char c : Lower(heading.substr(0, heading.find('(')))) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || IsDigit(c) || u >= 0xC0)
            out += c;
    }
    return out;
}

}  // namespace

const char* ImportFieldName(tImportField field) {
    static const char* const kNames[kImportFieldCount] = {
        "Nachname",     "Vorname",        "Jahrgang", "Geschlecht",   "Graduierung",
        "Altersgruppe", "Gewichtsklasse", "Kata",     "Allkategorie", "K\xF6rpergewicht"};
    return kNames[field];
}

tImportColumns GuessColumns(const std::vector<std::string>& heading) {
    static const std::unordered_map<std::string, tImportField> kNames = [] {
        std::unordered_map<std::string, tImportField> names;
        const std::pair<tImportField, std::vector<const char*>> kGuesses[] = {
            {fldNachname, {"nachname", "name", "familienname", "zuname"}},
            {fldVorname, {"vorname", "rufname"}},
            {fldJahrgang,
             {"jahrgang", "jg", "geburtsjahr", "geburtsdatum", "gebdatum", "geburtstag", "geboren",
              "gebdat"}},
            {fldGeschlecht, {"geschlecht", "mw"}},
            {fldGraduierung, {"graduierung", "grad", "gurt", "gürtel", "kyu", "kyudan"}},
            {fldAltersgruppe, {"altersgruppe", "altersklasse"}},
            {fldGewicht, {"gewichtsklasse", "gewklasse", "gwk"}},
            {fldKata, {"kata"}},
            {fldAllkategorie, {"allkategorie"}},
            // "Gewicht" alone is mostly the body weight in kg; see ReadSheet.
            {fldKoerpergewicht, {"körpergewicht", "gewicht", "kg"}},
        };
        for (const auto& [field, spellings] : kGuesses) {
            for (const char* spelling : spellings)
                names.emplace(Win1252(spelling), field);
        }
        return names;
    }();
    tImportColumns columns;
    columns.fill(-1);
    for (std::size_t i = 0; i < heading.size(); ++i) {
        const auto it = kNames.find(FoldedHeading(heading[i]));
        // The first column of a name counts.
        if (it != kNames.end() && columns[it->second] < 0)
            columns[it->second] = static_cast<int>(i);
    }
    return columns;
}

std::string LetterFault(const std::string& name, const char* label) {
    return NameLetterFault(name, true, label, "");
}

std::string TooLargeMessage(const std::string& name) {
    return "Die Datei " + name + Win1252(" ist zu groß: gelesen werden Dateien bis ") +
           std::to_string(kImportMaxBytes / (1024 * 1024)) + " MB.";
}

tImport::tImport(const tTeilnehmerliste& participants, const tAltersgruppenliste& ageGroups,
                 int currentYear)
    : ageGroups_(ageGroups), currentYear_(currentYear) {
    taken_.reserve(static_cast<std::size_t>(participants.Count()) * 2 + 64);
    for (int i = 0; i < participants.Count(); ++i) {
        const tTeilnehmer& t = participants.Object(i);
        // As the editor compares: the names as they stand in the list.
        taken_.insert(NamePairKey(t.Nachname, t.Vorname));
    }
}

void tImport::Read(const std::vector<tImportFile>& files) {
    for (const tImportFile& file : files) {
        if (std::string fault = FileFault(file); !fault.empty())
            FileErrors.push_back(std::move(fault));
        else if (IsEntryFileName(file.Name))
            ReadEntry(file);
        else
            ReadSheet(file);
    }
    IndexPairs();
}

void tImport::IndexPairs() {
    pairs_.clear();
    for (std::size_t i = 0; i < rows_.size(); ++i)
        pairs_[rows_[i].PairKey].push_back(i);
    for (const auto& [key, same] : pairs_)
        CheckPair(key, same);
}

int tImport::TickedBadRows() const {
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const tImportRow& r) {
        return r.Start && !r.Reason.empty();
    }));
}

int tImport::TickedWithoutGrade() const {
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const tImportRow& r) {
        return r.Start && r.Reason.empty() && !r.GradeNote.empty();
    }));
}

int tImport::GoodRows() const {
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const tImportRow& r) {
        return r.Start && r.Reason.empty();
    }));
}

void tImport::ReadSheet(const tImportFile& file) {
    if (IsWorkbook(file.Bytes)) {
        FileErrors.push_back(WorkbookMessage(file.Name));
        return;
    }
    tCsvTable table = ReadCsv(file.Bytes, kImportMaxRows + 1);
    if (table.Fault == tCsvFault::Binary) {
        FileErrors.push_back("Die Datei " + file.Name + " ist keine Textdatei.");
        return;
    }
    if (table.Fault == tCsvFault::Empty) {
        FileErrors.push_back("Die Datei " + file.Name + " ist leer.");
        return;
    }
    if (table.TooMany) {
        FileErrors.push_back(TooManyRowsMessage(file.Name));
        return;
    }
    tCsvRecord& heading = table.Records.front();
    if (heading.BadQuotes) {
        FileErrors.push_back("Die Kopfzeile der Datei " + file.Name +
                             Win1252(" enthält fehlerhafte Anführungszeichen."));
        return;
    }
    tImportSheet sheet;
    sheet.File = file.Name;
    for (std::size_t c = 0; c < heading.Size(); ++c)
        sheet.Heading.push_back(TrimBlanks(heading.Field(c)));
    sheet.Heading.resize(std::max(sheet.Heading.size(), std::min(heading.Count, kCsvMaxColumns)));
    sheet.Records.assign(std::make_move_iterator(table.Records.begin() + 1),
                         std::make_move_iterator(table.Records.end()));
    sheet.Guessed = GuessColumns(sheet.Heading);
    // A column "Gewicht" is the weight class only where its cells are weight classes; a
    // member list's body weight in kg is not.
    for (std::size_t c = 0; c < sheet.Heading.size() && sheet.Guessed[fldGewicht] < 0; ++c) {
        const auto isClass = [c](const tCsvRecord& r) {
            const std::string cell = TrimBlanks(r.FieldOrEmpty(c));
            return cell.empty() || cell[0] == '-' || cell[0] == '+';
        };
        if (FoldedHeading(sheet.Heading[c]) == "gewicht" &&
            std::all_of(sheet.Records.begin(), sheet.Records.end(), isClass)) {
            sheet.Guessed[fldGewicht] = static_cast<int>(c);
            if (sheet.Guessed[fldKoerpergewicht] == static_cast<int>(c))
                sheet.Guessed[fldKoerpergewicht] = -1;
        }
    }
    sheet.Columns = sheet.Guessed;
    if (sheet.Records.empty()) {
        FileErrors.push_back(NoParticipantsMessage(file.Name));
        return;
    }
    // Without the name columns the user assigns them in the preview.
    sheets_.push_back(std::move(sheet));
    AddSheetRows(sheets_.size() - 1);
}

void tImport::AddSheetRows(std::size_t index) {
    const tImportSheet& sheet = sheets_[index];
    for (std::size_t i = 0; i < sheet.Records.size(); ++i) {
        tImportRow row;
        row.File = sheet.File;
        row.Row = static_cast<int>(sheet.Records[i].Row);
        row.Sheet = static_cast<int>(index);
        row.Record = i;
        FillFromSheet(row);
        rows_.push_back(std::move(row));
    }
}

void tImport::FillFromSheet(tImportRow& row) {
    const tImportSheet& sheet = sheets_.at(static_cast<std::size_t>(row.Sheet));
    const tCsvRecord& record = sheet.Records.at(row.Record);
    const tImportColumns& columns = sheet.Columns;
    row.Fault.clear();
    row.GroupFault.clear();
    row.KataFault.clear();
    row.AllkategorieFault.clear();
    row.GradeNote.clear();
    // A tournament list names the starters; a member list holds everyone.
    row.Start = row.Edits.Start.value_or(columns[fldAltersgruppe] >= 0);
    std::array<std::string, kImportFieldCount> cells;
    for (int f = 0; f < kImportFieldCount; ++f) {
        const int column = columns[static_cast<std::size_t>(f)];
        if (column < 0)
            continue;
        // A spreadsheet leaves out a row's empty trailing cells.
        const std::string_view cell = record.FieldOrEmpty(static_cast<std::size_t>(column));
        if (HasControl(cell) && row.Fault.empty())
            row.Fault = Win1252("Die Zeile enthält Steuerzeichen.");
        cells[static_cast<std::size_t>(f)] = TrimBlanks(cell);
    }
    if (record.BadQuotes) {
        row.Fault = Win1252("Die Anführungszeichen in dieser Zeile sind fehlerhaft.");
    } else {
        // Text past the heading's last column belongs to no field: a line broken in two, or
        // a separator too many.
        for (std::size_t c = sheet.Heading.size(); c < record.Size() && row.Fault.empty(); ++c) {
            const std::string extra = TrimBlanks(record.Field(c));
            if (!extra.empty())
                row.Fault = Win1252("Die Zeile hat mehr Felder als die Kopfzeile: ") +
                            Quoted(extra) + Win1252(" gehört zu keiner Spalte.");
        }
    }
    tTeilnehmer& t = row.Participant;
    t = tTeilnehmer();
    t.Nachname = cells[fldNachname];
    t.Vorname = cells[fldVorname];
    t.Jahrgang = YearOf(cells[fldJahrgang], currentYear_);
    t.Gewicht = cells[fldGewicht];
    if (const auto grade = GradeOf(cells[fldGraduierung]))
        t.Graduierung = *grade;
    else
        row.GradeNote = "Die Graduierung " + Quoted(cells[fldGraduierung]) +
                        Win1252(" ist unbekannt; bitte wählen Sie sie aus.");
    if (const auto flag = FlagOf(cells[fldKata]))
        t.Kata = *flag;
    else
        row.KataFault = FlagFault(cells[fldKata], "Kata");
    if (const auto flag = FlagOf(cells[fldAllkategorie]))
        t.Allkategorie = *flag;
    else
        row.AllkategorieFault = FlagFault(cells[fldAllkategorie], "Allkategorie");
    row.Koerpergewicht = cells[fldKoerpergewicht];
    row.GenderText = cells[fldGeschlecht];
    row.Gender.clear();
    if (const auto gender = GenderOf(cells[fldGeschlecht]))
        row.Gender = *gender;
    else
        row.GroupFault =
            "Das Geschlecht " + Quoted(cells[fldGeschlecht]) + " ist unbekannt (m, w oder g).";
    SetGroupText(row, cells[fldAltersgruppe]);
    ApplyEdits(row);
    // Only the names make the key, and only here and in SetText can they change.
    row.PairKey = NamePairKey(t.Nachname, t.Vorname);
}

void tImport::ApplyEdits(tImportRow& row) {
    const tImportEdits& edits = row.Edits;
    tTeilnehmer& t = row.Participant;
    if (edits.Start)
        row.Start = *edits.Start;
    for (const auto& [edit, field] : {std::pair(&edits.Nachname, &t.Nachname),
                                      {&edits.Vorname, &t.Vorname},
                                      {&edits.Jahrgang, &t.Jahrgang},
                                      {&edits.Gewicht, &t.Gewicht}}) {
        if (*edit)
            *field = **edit;
    }
    if (edits.Altersgruppe) {
        t.Altersgruppe = *edits.Altersgruppe;
        row.GroupFault.clear();
    }
    if (edits.Graduierung) {
        t.Graduierung = *edits.Graduierung;
        row.GradeNote.clear();
    }
    if (edits.Kata) {
        t.Kata = *edits.Kata;
        row.KataFault.clear();
    }
    if (edits.Allkategorie) {
        t.Allkategorie = *edits.Allkategorie;
        row.AllkategorieFault.clear();
    }
}

void tImport::AddRow(tImportRow row, const std::string& groupText) {
    SetGroupText(row, groupText);
    row.PairKey = NamePairKey(row.Participant.Nachname, row.Participant.Vorname);
    rows_.push_back(std::move(row));
}

void tImport::SetGroupText(tImportRow& row, const std::string& groupText) {
    tTeilnehmer& t = row.Participant;
    t.Altersgruppe = groupText;
    if (!groupText.empty() && row.GroupFault.empty()) {
        std::string name;
        std::string gender;
        if (!SplitGroupKey(groupText, name, gender)) {
            name = groupText;
            gender = row.Gender;
        }
        row.GroupFault = GroupNameFault(name, gender);
        if (row.GroupFault.empty())
            t.Altersgruppe = GroupKey(name, gender, false);
    }
}

void tImport::ReadEntry(const tImportFile& file) {
    const tEntryFileContent content = ReadEntryFile(file.Bytes, kImportMaxRows);
    if (content.Fault != tEntryFileFault::None) {
        FileErrors.push_back(content.Fault == tEntryFileFault::Incomplete
                                 ? "Die Meldedatei " + file.Name + Win1252(" ist unvollständig.")
                                 : NotAnEntryFile(file.Name));
        return;
    }
    if (content.TooMany || content.Records.empty()) {
        FileErrors.push_back(content.TooMany ? TooManyRowsMessage(file.Name)
                                             : NoParticipantsMessage(file.Name));
        return;
    }
    for (std::size_t i = 0; i < content.Records.size(); ++i) {
        const tEntryFileRecord& record = content.Records[i];
        tImportRow row;
        row.File = file.Name;
        row.Row = static_cast<int>(i) + 1;
        row.Gender = content.Gender;
        if (record.BadCharacters)
            row.Fault = NotUsableCharacters();
        else if (!record.Participant)
            row.Fault = "Der Eintrag hat nicht das Format eines Teilnehmers der Meldedatei.";
        else
            row.Participant = *record.Participant;
        AddRow(std::move(row), content.GroupKey);
    }
}

std::string tImport::GroupKey(const std::string& name, const std::string& gender, bool made) {
    const std::string key = AgeGroupKey({name, gender});
    if (const int index = ageGroups_.IndexOf(key); index >= 0)
        return ageGroups_.Key(index);
    // A group given twice, in any case, is one group, as in the editor.
    const auto [it, added] = newGroupIndex_.try_emplace(CollationKey(key), newGroups_.size());
    if (added)
        newGroups_.push_back({{name, gender}, made});
    tNewGroup& group = newGroups_[it->second];
    group.Made = group.Made || made;
    return AgeGroupKey(group.Group);
}

void tImport::Propose(tImportRow& row) const {
    const tTeilnehmer& t = row.Participant;
    row.Proposal = rules_.Propose(t.Jahrgang, row.Gender, t.Altersgruppe, row.Koerpergewicht);
    // Only what the row lacks is proposed; the group of a row that has one is its own.
    if (!t.Gewicht.empty())
        row.Proposal.Gewicht.clear();
}

void tImport::Check(std::size_t index, bool taken) {
    tImportRow& row = rows_[index];
    const tTeilnehmer& t = row.Participant;
    Propose(row);
    // A row that does not start needs no reason but what keeps it out for good; it is
    // checked when it is ticked.
    if (!row.Fault.empty() || !row.Start) {
        row.Reason = row.Fault;
        return;
    }
    const tParticipantInput input{t.Nachname, t.Vorname, t.Altersgruppe, t.Jahrgang,
                                  t.Gewicht,  t.Kata,    t.Allkategorie};
    std::string reason =
        NameLetterFault(t.Nachname, row.Edits.Nachname.has_value(), "Der Nachname", "Im Nachnamen");
    if (reason.empty())
        reason =
            NameLetterFault(t.Vorname, row.Edits.Vorname.has_value(), "Der Vorname", "Im Vornamen");
    if (reason.empty()) {
        const tParticipantFault fault = CheckParticipant(
            input, currentYear_, [taken](std::string_view, std::string_view) { return taken; });
        reason =
            fault != tParticipantFault::None ? ParticipantFaultMessage(fault, input) : NameFault(t);
    }
    for (const std::string* more : {&row.KataFault, &row.AllkategorieFault, &row.GroupFault}) {
        if (reason.empty())
            reason = *more;
    }
    const std::string& key = t.Altersgruppe;
    if (reason.empty() && !row.Gender.empty() && row.Gender != "g" && key.size() >= 4 &&
        key[key.size() - 2] != 'g' && key[key.size() - 2] != row.Gender[0])
        reason = "Altersgruppe und Geschlecht passen nicht zusammen.";
    row.Reason = std::move(reason);
}

void tImport::CheckPair(const std::string& key, const std::vector<std::size_t>& same) {
    // Only the first ticked good row of a name pair may come in.
    bool taken = taken_.count(key) > 0;
    for (const std::size_t row : same) {
        Check(row, taken);
        taken = taken || (rows_[row].Start && rows_[row].Reason.empty());
    }
}

std::vector<std::size_t> tImport::Recheck(const std::vector<std::size_t>& rows) {
    std::unordered_set<const std::vector<std::size_t>*> seen;
    std::vector<std::size_t> changed;
    for (const std::size_t row : rows) {
        const std::vector<std::size_t>& same = pairs_[rows_.at(row).PairKey];
        if (!seen.insert(&same).second)
            continue;
        CheckPair(rows_[row].PairKey, same);
        changed.insert(changed.end(), same.begin(), same.end());
    }
    if (seen.size() > 1)
        std::sort(changed.begin(), changed.end());
    return changed;
}

template <class Change>
std::vector<std::size_t> tImport::Edit(const std::vector<std::size_t>& rows, Change change) {
    ++edits_;
    for (const std::size_t row : rows) {
        change(rows_.at(row).Edits);
        ApplyEdits(rows_[row]);
    }
    return Recheck(rows);
}

std::vector<std::size_t> tImport::SetStart(const std::vector<std::size_t>& rows, bool start) {
    return Edit(rows, [start](tImportEdits& e) { e.Start = start; });
}

std::vector<std::size_t> tImport::SetKata(const std::vector<std::size_t>& rows, bool kata) {
    return Edit(rows, [kata](tImportEdits& e) { e.Kata = kata; });
}

std::vector<std::size_t> tImport::SetAllkategorie(const std::vector<std::size_t>& rows,
                                                  bool allkategorie) {
    return Edit(rows, [allkategorie](tImportEdits& e) { e.Allkategorie = allkategorie; });
}

std::vector<std::size_t> tImport::SetAgeGroup(const std::vector<std::size_t>& rows,
                                              const std::string& key) {
    return Edit(rows, [&key](tImportEdits& e) {
        e.Altersgruppe = key;
        e.Start = true;
    });
}

std::vector<std::size_t> tImport::SetGewicht(std::size_t row, std::string gewicht) {
    return Edit({row}, [&gewicht](tImportEdits& e) { e.Gewicht = std::move(gewicht); });
}

std::vector<std::size_t> tImport::SetGraduierung(std::size_t row, std::int32_t graduierung) {
    return Edit({row}, [graduierung](tImportEdits& e) { e.Graduierung = graduierung; });
}

std::vector<std::size_t> tImport::SetText(std::size_t row, tImportField field, std::string text) {
    const tTeilnehmer& t = rows_.at(row).Participant;
    // Typing that changed nothing is no edit: the row's own remarks stay.
    if (text == (field == fldNachname ? t.Nachname : field == fldVorname ? t.Vorname : t.Jahrgang))
        return {row};
    const std::string before = rows_[row].PairKey;
    std::vector<std::size_t> changed = Edit({row}, [&](tImportEdits& e) {
        (field == fldNachname  ? e.Nachname
         : field == fldVorname ? e.Vorname
                               : e.Jahrgang) = std::move(text);
    });
    rows_[row].PairKey = NamePairKey(t.Nachname, t.Vorname);
    if (rows_[row].PairKey == before)
        return changed;
    // The row leaves the rows of its old names for those of its new ones, in row order.
    std::vector<std::size_t>& old = pairs_[before];
    old.erase(std::find(old.begin(), old.end(), row));
    std::vector<std::size_t>& same = pairs_[rows_[row].PairKey];
    same.insert(std::lower_bound(same.begin(), same.end(), row), row);
    std::vector<std::size_t> rows = {row};
    if (!old.empty())
        rows.push_back(old.front());
    else
        pairs_.erase(before);
    return Recheck(rows);
}

std::string tImport::AddAgeGroup(const tAltersgruppe& group) {
    ++edits_;
    return GroupKey(group.Bezeichnung, group.Geschlecht, true);
}

std::vector<std::string> tImport::AgeGroupKeys() const {
    std::vector<std::string> keys;
    for (int i = 0; i < ageGroups_.Count(); ++i)
        keys.push_back(ageGroups_.Key(i));
    for (const tNewGroup& group : newGroups_)
        keys.push_back(AgeGroupKey(group.Group));
    return keys;
}

void tImport::SetColumns(std::size_t sheet, const tImportColumns& columns) {
    ++edits_;
    sheets_.at(sheet).Columns = columns;
    for (tImportRow& row : rows_) {
        if (row.Sheet == static_cast<int>(sheet))
            FillFromSheet(row);
    }
    IndexPairs();
}

void tImport::SetRules(const tAgeRules& rules) {
    rules_ = tAgeRuleTable(rules, currentYear_, [this](const tAltersgruppe& group) {
        return GroupKey(group.Bezeichnung, group.Geschlecht, false);
    });
    for (tImportRow& row : rows_)
        Propose(row);
}

std::vector<std::size_t> tImport::AcceptProposals(const std::vector<std::size_t>& rows) {
    ++edits_;
    for (const std::size_t index : rows) {
        tImportRow& row = rows_.at(index);
        row.Edits.Start = true;
        if (!row.Proposal.Group.empty())
            row.Edits.Altersgruppe = row.Proposal.Group;
        ApplyEdits(row);
        // The weight class belongs to the group just given.
        Propose(row);
        if (!row.Proposal.Gewicht.empty())
            row.Edits.Gewicht = row.Proposal.Gewicht;
        ApplyEdits(row);
    }
    return Recheck(rows);
}

std::vector<std::size_t> tImport::TickedWithProposal() const {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const tProposal& p = rows_[i].Proposal;
        if (rows_[i].Start && rows_[i].Fault.empty() && (!p.Group.empty() || !p.Gewicht.empty()))
            rows.push_back(i);
    }
    return rows;
}

std::vector<std::string> tImport::NewAgeGroupKeys() const {
    std::unordered_set<std::string_view> used;
    for (const tImportRow& row : rows_) {
        if (row.Start && row.Reason.empty())
            used.insert(row.Participant.Altersgruppe);
    }
    std::vector<std::string> keys;
    for (const tNewGroup& group : newGroups_) {
        std::string key = AgeGroupKey(group.Group);
        if (group.Made || used.count(key))
            keys.push_back(std::move(key));
    }
    return keys;
}

void tImport::Apply(tTeilnehmerliste& participants, tAltersgruppenliste& ageGroups) const {
    const std::vector<std::string> keys = NewAgeGroupKeys();
    for (const tNewGroup& group : newGroups_) {
        std::string key = AgeGroupKey(group.Group);
        if (ageGroups.IndexOf(key) < 0 && std::count(keys.begin(), keys.end(), key))
            ageGroups.Add(std::move(key), std::make_unique<tAltersgruppe>(group.Group));
    }
    for (const tImportRow& row : rows_) {
        if (!row.Start || !row.Reason.empty())
            continue;
        auto t = std::make_unique<tTeilnehmer>(row.Participant);
        t->Confirmed = true;
        const std::string key = ParticipantKey(*t);
        participants.AddDistinct(key, std::move(t));
    }
}

}  // namespace kivrel
