#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/csvreader.h"
#include "model/konstanten.h"

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
    std::vector<tCsvRecord> Records;   // every row below it
    tImportColumns Guessed{};
    tImportColumns Columns{};
};

// One row of a file: a participant to be imported, or the reason why not.
struct tImportRow {
    std::string File;
    // The spreadsheet row (the heading is row 1), or the record's number in an entry file.
    int Row = 0;
    int Sheet = -1;  // index into Sheets, -1 for an entry file
    tTeilnehmer Participant;
    std::string Gender;  // as the file gives it: "m", "w", "g" or ""
    std::string GenderText;
    bool Start = true;  // ticked: imported by OK when it passes every rule
    // Faults the preview cannot mend (the row's characters or quotes, its field count).
    std::string Fault;
    // Faults of values that an edit of their field mends.
    std::string GroupFault;
    std::string KataFault;
    std::string AllkategorieFault;
    // Not a fault: the grade is left empty for the user to pick.
    std::string GradeNote;
    // The first fault by the editor's rules; empty when the row is good.
    std::string Reason;
    std::string PairKey;  // the names as the duplicate test compares them
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

    // The edits of the preview. Each checks again the rows it can change: the row and any
    // of the same names, which it can make or stop being duplicates.
    std::vector<std::size_t> SetStart(std::size_t row, bool start);
    std::vector<std::size_t> SetGewicht(std::size_t row, std::string gewicht);
    std::vector<std::size_t> SetGraduierung(std::size_t row, std::int32_t graduierung);
    std::vector<std::size_t> SetKata(std::size_t row, bool kata);
    std::vector<std::size_t> SetAllkategorie(std::size_t row, bool allkategorie);
    // Gives the rows the age group with that key and ticks them.
    std::vector<std::size_t> SetAgeGroup(const std::vector<std::size_t>& rows,
                                         const std::string& key);
    // A group made in the preview: its key, or the key of the equal one already known.
    std::string AddAgeGroup(const tAltersgruppe& group);
    // The keys a row can be given: the list's, then the new ones, each in its order.
    std::vector<std::string> AgeGroupKeys() const;
    // The new age groups that Apply would add.
    std::vector<std::string> NewAgeGroupKeys() const;
    // Reads a sheet's rows again with other columns; its rows' edits are lost.
    void SetColumns(std::size_t sheet, const tImportColumns& columns);

    // Adds every good ticked row and the new age groups they use or that the user made,
    // nothing else; nothing in the lists is changed.
    void Apply(tTeilnehmerliste& participants, tAltersgruppenliste& ageGroups) const;

private:
    void ReadSheet(const tImportFile& file);
    void ReadEntry(const tImportFile& file);
    void AddSheetRows(std::size_t sheet);
    void AddRow(tImportRow row, const std::string& groupText);
    std::string GroupKey(const std::string& name, const std::string& gender, bool made);
    void Check(std::size_t row);
    // Checks the rows of the row's names again, in order, and gives them back.
    std::vector<std::size_t> CheckPair(std::size_t row);

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
};

// The message for a file that is larger than kImportMaxBytes; for the caller that looks at
// the size before reading.
std::string TooLargeMessage(const std::string& name);

}  // namespace kivrel
