#pragma once

#include <string>
#include <vector>

#include "output/entryfile.h"

// Finishing an entry: the names of its files, the question before existing ones are
// replaced, and the steps after the save dialog. The dialog belongs to the main window.
namespace kivrel {

// Appends the file of every used age group to fileNames, in order, and asks once (a
// Replace box) before any of them that exists, file or folder, is replaced. Returns false
// when the user refused, true otherwise.
bool BuildEntryFileNames(const tPath& chosenPath, std::vector<tPath>& fileNames,
                         const tUsedAgeGroups& used);

// Finishes the entry under the name chosen in the save dialog: asks before replacing,
// writes one file per used age group and, when a mail client is registered, hands the
// mail with the files attached to it. Refusing the question writes nothing; a file that
// cannot be written throws KivrelError and no mail goes.
void FinishEntry(const tMeldung& meldung, const tPath& chosenPath);

}  // namespace kivrel
