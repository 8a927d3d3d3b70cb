#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/csvreader.h"
#include "model/konstanten.h"
#include "participants/agerules.h"

// Participants taken over from a spreadsheet export (the club's member list) or from entry
// files written earlier. The rows are completed in the preview, each edit checked again by
// the participant editor's rules; only Apply changes the lists. Texts are Windows-1252.
namespace kivrel {

// Larger files are refused before they are read: a member list is a few hundred kilobytes.
inline constexpr std::size_t kImportMaxBytes = 4 * 1024 * 1024;
// More rows than that in one file are refused as a whole, so that checking never takes long.
inline constexpr std::size_t kImportMaxRows = 20000;

// One file as it was read from the disk.
struct tImportFile {
    std::string Name;  // as shown to the user, without the folder
    std::string Bytes;
};

// The fields that a column of a spreadsheet can fill.
enum tImportField {
    fldNachname,
    fldVorname,
    fldJahrgang,
    fldGeschlecht,
    fldGraduierung,
    fldAltersgruppe,
    fldGewicht,
    fldKata,
    fldAllkategorie,
    fldKoerpergewicht,  // the body weight in kg, for proposing the weight class
    kImportFieldCount
};

// The field's name as the preview shows it.
const char* ImportFieldName(tImportField field);

// The column that fills each field, -1 for none.
using tImportColumns = std::array<int, kImportFieldCount>;

// The column a heading names, as far as the usual names go; -1 for none.
tImportColumns GuessColumns(const std::vector<std::string>& heading);

// A spreadsheet file, kept for assigning its columns anew.
struct tImportSheet {
    std::string File;
    std::vector<std::string> Heading;  // the first row's cells
    std::vector<tCsvRecord> Records;   // every row below it that is not blank
    tImportColumns Guessed{};
    tImportColumns Columns{};
};

// What the user set in the preview, kept apart from what the file says, so that reading the
// file's columns anew keeps it.
struct tImportEdits {
    std::optional<bool> Start;
    std::optional<std::string> Nachname;
    std::optional<std::string> Vorname;
    std::optional<std::string> Jahrgang;
    std::optional<std::string> Altersgruppe;  // a key of AgeGroupKeys
    std::optional<std::string> Gewicht;
    std::optional<std::int32_t> Graduierung;
    std::optional<bool> Kata;
    std::optional<bool> Allkategorie;
};

// One row of a file: a participant to be imported, or the reason why not.
struct tImportRow {
    std::string File;
    // The spreadsheet row (the heading is row 1), or the record's number in an entry file.
    int Row = 0;
    int Sheet = -1;          // index into Sheets, -1 for an entry file
    std::size_t Record = 0;  // index into the sheet's Records
    // What the file says, with the user's edits over it.
    tTeilnehmer Participant;
    std::string Gender;  // as the file gives it: "m", "w", "g" or ""
    std::string GenderText;
    std::string Koerpergewicht;  // as the file gives it
    // What the age-group rules propose where the row has no age group or weight class, and
    // why they propose none.
    tProposal Proposal;
    bool Start = true;  // ticked: imported by OK when it passes every rule
    // Faults the preview cannot mend (the row's characters or quotes, its field count).
    std::string Fault;
    // Faults of values that an edit of their field mends.
    std::string GroupFault;
    std::string KataFault;
    std::string AllkategorieFault;
    // Not a fault, but asked about at OK: the grade is left empty for the user to pick.
    std::string GradeNote;
    // The first fault by the editor's rules; empty when the row is good. A row that is not
    // ticked has only its Fault here.
    std::string Reason;
    std::string PairKey;  // the names as the duplicate test compares them
    tImportEdits Edits;
};

// An import in progress: read once, then completed row by row in the preview.
class tImport {
public:
    tImport(const tTeilnehmerliste& participants, const tAltersgruppenliste& ageGroups,
            int currentYear);

    // Files whose name ends in ".tv4" (any case) are read as entry files, all others as
    // spreadsheet exports. Rows of spreadsheets with an age-group column and of entry files
    // start ticked; a member list's rows wait for the user to pick the starters.
    void Read(const std::vector<tImportFile>& files);

    const std::vector<tImportRow>& Rows() const { return rows_; }
    const std::vector<tImportSheet>& Sheets() const { return sheets_; }
    // Files refused as a whole, one German sentence each.
    std::vector<std::string> FileErrors;
    // Ticked rows that pass every rule.
    int GoodRows() const;

    // The edits of the preview. Each checks again the rows it can change (the rows and any of
    // the same names, which it can make or stop being duplicates) and gives them back, in
    // order; the time taken grows with those rows only.
    std::vector<std::size_t> SetStart(const std::vector<std::size_t>& rows, bool start);
    std::vector<std::size_t> SetKata(const std::vector<std::size_t>& rows, bool kata);
    std::vector<std::size_t> SetAllkategorie(const std::vector<std::size_t>& rows,
                                             bool allkategorie);
    // Gives the rows the age group with that key and ticks them.
    std::vector<std::size_t> SetAgeGroup(const std::vector<std::size_t>& rows,
                                         const std::string& key);
    std::vector<std::size_t> SetGewicht(std::size_t row, std::string gewicht);
    std::vector<std::size_t> SetGraduierung(std::size_t row, std::int32_t graduierung);
    // fldNachname, fldVorname or fldJahrgang, as typed; the same text again is no edit.
    std::vector<std::size_t> SetText(std::size_t row, tImportField field, std::string text);
    // A group made in the preview: its key, or the key of the equal one already known.
    std::string AddAgeGroup(const tAltersgruppe& group);
    // The keys a row can be given: the list's, then the new ones, each in its order.
    std::vector<std::string> AgeGroupKeys() const;
    // The new age groups that Apply would add.
    std::vector<std::string> NewAgeGroupKeys() const;
    // The rules by which age groups and weight classes are proposed; every row's proposal
    // is made anew. Their groups can be given like the list's.
    void SetRules(const tAgeRules& rules);
    // Gives the rows the proposed age group and weight class where they have none, and ticks
    // them.
    std::vector<std::size_t> AcceptProposals(const std::vector<std::size_t>& rows);
    // Rows that are ticked and have a proposal still to accept.
    std::vector<std::size_t> TickedWithProposal() const;
    // Reads the fields of a sheet's rows again from other columns; the user's edits stay.
    void SetColumns(std::size_t sheet, const tImportColumns& columns);
    // Counts every edit above, so that a caller can tell whether the user changed anything.
    int EditCount() const { return edits_; }
    // Ticked rows that are not good, and good ones whose grade is left for the user to pick.
    int TickedBadRows() const;
    int TickedWithoutGrade() const;

    // Adds every good ticked row and the new age groups they use or that the user made,
    // nothing else; nothing in the lists is changed.
    void Apply(tTeilnehmerliste& participants, tAltersgruppenliste& ageGroups) const;

private:
    void ReadSheet(const tImportFile& file);
    void ReadEntry(const tImportFile& file);
    void AddSheetRows(std::size_t sheet);
    // The row's values from its record by the sheet's columns, the edits over them.
    void FillFromSheet(tImportRow& row);
    void ApplyEdits(tImportRow& row);
    void AddRow(tImportRow row, const std::string& groupText);
    void SetGroupText(tImportRow& row, const std::string& groupText);
    std::string GroupKey(const std::string& name, const std::string& gender, bool made);
    // taken: an earlier ticked good row, or the list, has the row's names.
    void Check(std::size_t row, bool taken);
    void IndexPairs();
    void Propose(tImportRow& row) const;
    // Checks the rows of one name pair, in order.
    void CheckPair(const std::string& key, const std::vector<std::size_t>& same);
    // Checks the rows of these rows' names again, each name pair once and in order, and
    // gives them back.
    std::vector<std::size_t> Recheck(const std::vector<std::size_t>& rows);
    template <class Change>
    std::vector<std::size_t> Edit(const std::vector<std::size_t>& rows, Change change);

    const tAltersgruppenliste& ageGroups_;
    const int currentYear_;
    std::vector<tImportRow> rows_;
    std::vector<tImportSheet> sheets_;
    std::unordered_set<std::string> taken_;  // the list's names
    // The rows of each name pair, in their order.
    std::unordered_map<std::string, std::vector<std::size_t>> pairs_;
    struct tNewGroup {
        tAltersgruppe Group;
        bool Made = false;  // made by the user in the preview
    };
    std::vector<tNewGroup> newGroups_;
    std::unordered_map<std::string, std::size_t> newGroupIndex_;  // by collation key
    tAgeRuleTable rules_;
    int edits_ = 0;
};

// What is wrong with a name (label: "Der Nachname") that holds a letter the entry file cannot
// hold; empty for a name without one.
std::string LetterFault(const std::string& name, const char* label);

// The message for a file that is larger than kImportMaxBytes; for the caller that looks at
// the size before reading.
std::string TooLargeMessage(const std::string& name);

}  // namespace kivrel
