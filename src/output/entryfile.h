#pragma once

#include <string>
#include <vector>

#include "base/path.h"
#include "model/konstanten.h"

// The entry files: one INI file per age group in use, the contract with the organiser's
// tournament program.
namespace kivrel {

// An age group that at least one participant belongs to. The group stays owned by the
// Altersgruppenliste.
struct tUsedAgeGroup {
    std::string Key;
    const tAltersgruppe* Gruppe = nullptr;
};
using tUsedAgeGroups = std::vector<tUsedAgeGroup>;

// The age groups of the list, in its order, whose key equals (byte for byte) the
// Altersgruppe of at least one participant.
tUsedAgeGroups UsedAgeGroups(const tAltersgruppenliste& groups,
                             const tTeilnehmerliste& participants);

// chosenPath split before its extension, which runs from the last point of the file name
// on (a point in a folder name does not count; empty without one).
struct tStemAndExtension {
    tPath::string_type Stem;
    tPath::string_type Extension;
};
tStemAndExtension SplitExtension(const tPath& chosenPath);

// The file of each used age group, in order: chosenPath without its extension, the group's
// key, then the extension. The extension runs from the last point of the file name on (a
// point in a folder name does not count); without one the files have none either. Only the
// key is converted, from Windows-1252 to the system's spelling; chosenPath stays as it is.
std::vector<tPath> EntryFileNames(const tPath& chosenPath, const tUsedAgeGroups& used);

// The record values of the sections "Vereine" and "Teilnehmer": quoted fields joined by
// commas, the whole enclosed in one more pair of quotes. The reader splits them at quotes,
// so a field loses any double quote of its own; control characters become blanks.
std::string BuildClubRecord(const tVereinData& verein, const tAbsenderData& absender);
std::string BuildParticipantRecord(const tTeilnehmer& teilnehmer);

// Writes one file per used age group under chosenPath's name with the group's key before
// the extension. Returns true once all are written; throws KivrelError
// ("nach <path> kann nicht geschrieben werden") when one cannot be written.
bool WriteEntryFiles(const tPath& chosenPath, const tUsedAgeGroups& used, const tMeldung& meldung);

}  // namespace kivrel
