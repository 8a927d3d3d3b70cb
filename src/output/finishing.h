#pragma once

#include <optional>
#include <string>
#include <vector>

#include "output/entryfile.h"
#include "output/mailtext.h"

// Finishing an entry: the names of its files, the question before existing ones are
// replaced, and the steps after the save dialog. The dialog belongs to the main window.
namespace kivrel {

// Asks once (a Replace box) before any of names that exists, file or folder, is replaced,
// naming them all. Returns false when the user refused, true otherwise.
bool AskBeforeReplacing(const std::vector<tPath>& names);

// Appends the file of every used age group to fileNames, in order, and asks before any of
// them is replaced. Returns false when the user refused, true otherwise.
bool BuildEntryFileNames(const tPath& chosenPath, std::vector<tPath>& fileNames,
                         const tUsedAgeGroups& used);

// What became of the mail of a finishing.
enum class MailFate {
    Taken,      // the mail client has it
    Cancelled,  // the user cancelled it in the mail client
    NoClient,   // no mail client that takes the files
    NotTaken,   // the hand-over failed; the failure was told
};

struct tFinished {
    tVersand Versand;
    MailFate Mail = MailFate::Taken;
};

// Finishes the entry under the name chosen in the save dialog: asks before replacing,
// writes one file per used age group and, when a mail client is registered, hands the
// mail with the files attached to it. Refusing the question writes nothing (nullopt); a
// file that cannot be written throws KivrelError and no mail goes.
std::optional<tFinished> FinishEntry(const tMeldung& meldung, const tPath& chosenPath);

}  // namespace kivrel
