#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/konstanten.h"

// Participants taken over from a spreadsheet export (the club's member list) or from entry
// files written earlier. Reading and checking change nothing; only ApplyImport adds to the
// lists. Texts are Windows-1252.
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

// One row of a file: a participant that will be imported, or the reason why not.
struct tImportRow {
    std::string File;
    // The spreadsheet row (the heading is row 1), or the record's number in an entry file.
    int Row = 0;
    tTeilnehmer Participant;
    // Empty when the row is imported.
    std::string Reason;
};

struct tImportPlan {
    std::vector<tImportRow> Rows;
    // Files refused as a whole, one German sentence each.
    std::vector<std::string> FileErrors;
    // Age groups that the good rows need and that the list does not hold yet.
    std::vector<tAltersgruppe> NewAgeGroups;

    int GoodRows() const;
};

// Files whose name ends in ".tv4" (any case) are read as entry files, all others as
// spreadsheet exports. Every row is checked by the participant editor's rules against the
// lists and against the rows before it.
tImportPlan PrepareImport(const std::vector<tImportFile>& files,
                          const tTeilnehmerliste& participants,
                          const tAltersgruppenliste& ageGroups, int currentYear);

// Adds the new age groups and every good row, nothing else.
void ApplyImport(const tImportPlan& plan, tTeilnehmerliste& participants,
                 tAltersgruppenliste& ageGroups);

// The message for a file that is larger than kImportMaxBytes; for the caller that looks at
// the size before reading.
std::string TooLargeMessage(const std::string& name);

}  // namespace kivrel
