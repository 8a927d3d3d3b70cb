#pragma once

#include <string>

// Only for the tests of the Windows hand-over.
namespace kivrel {

// The file name of the mail library that each hand-over loads, "MAPI32.DLL" unless a test
// names a stand-in; an empty name puts MAPI32.DLL back.
void SetMapiLibraryName(const std::string& fileName);

}  // namespace kivrel
