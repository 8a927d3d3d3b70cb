#pragma once

#include <string>
#include <vector>

#include "model/konstanten.h"
#include "output/entryfile.h"

// The mail that goes to the organiser with the entry files: a subject and a plain-text
// summary of the entry with a fixed-width participant table. Texts are Windows-1252.
namespace kivrel {

struct EntryMail {
    std::string Subject;
    std::string Body;  // every line ends with CR LF
};

// Subject and body for the entry and its used age groups (in their order).
EntryMail BuildEntryMail(const tMeldung& meldung, const tUsedAgeGroups& usedAgeGroups);

// The first 52 columns of a participant's table lines: first and last name in 40, the
// year of birth in 5 and the grade in 7, each filled with blanks or cut.
std::string ParticipantLinePrefix(const tTeilnehmer& participant);

// Builds the mail and hands it to the mail client, addressed to the event's entry address
// with the entry files attached. A failed hand-over was reported there already.
void SendEntryMail(const tMeldung& meldung, const std::vector<tPath>& fileNames,
                   const tUsedAgeGroups& usedAgeGroups);

}  // namespace kivrel
