#pragma once

#include <string>
#include <vector>

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

// Writes one file per used age group under chosenPath's name with the group's key before
// the extension. Returns true once all are written; throws KivrelError
// ("nach <path> kann nicht geschrieben werden") when one cannot be written.
bool WriteEntryFiles(const std::string& chosenPath, const tUsedAgeGroups& used,
                     const tMeldung& meldung);

}  // namespace kivrel
