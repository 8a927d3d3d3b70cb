#pragma once

#include <string>
#include <vector>

#include "model/konstanten.h"
#include "output/entryfile.h"
#include "output/mapimail.h"

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

// A finished entry on its way to the organiser: its files and the mail that takes them.
struct tVersand {
    tPath ChosenPath;          // as chosen in the save dialog
    std::vector<tPath> Files;  // the entry files, full paths, in the order of the age groups
    std::string Address;       // the event's entry address
    EntryMail Mail;
};

// Hands the mail to the mail client, addressed to the entry address with the entry files
// attached. A failed hand-over was reported there already.
tHandOver SendEntryMail(const tVersand& versand);

}  // namespace kivrel
