#pragma once

#include <string>
#include <vector>

#include "output/entryfile.h"

// Finishing an entry: the names of its files and the question before existing ones are
// replaced. The save dialog and the order of the steps belong to the main window.
namespace kivrel {

// Appends the file of every used age group to fileNames, in order, and asks once (a
// Replace box) before any of them that exists, file or folder, is replaced. Returns false
// when the user refused, true otherwise.
bool BuildEntryFileNames(const std::string& chosenPath, std::vector<std::string>& fileNames,
                         const tUsedAgeGroups& used);

}  // namespace kivrel
