#pragma once

#include <string>
#include <vector>

#include "base/path.h"

// What the desktop does for the entry once it is written: a file opened with the program
// the system has for its type, files shown in the file manager, a link opened.
namespace kivrel {

// Opens file with the program the system has for its type (an .eml file with the mail
// program). False when there is none or it could not be started.
bool OpenWithSystem(const tPath& file);

// Shows the files (all in one folder) in the file manager, selected where it can do that,
// else opens their folder. False when neither could be done.
bool ShowInFileManager(const std::vector<tPath>& files);

// Opens a link (a mailto: URI, ASCII) with the program the system has for it.
bool OpenLink(const std::string& uri);

}  // namespace kivrel
