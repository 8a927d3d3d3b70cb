#pragma once

#include <string>

namespace kivrel {

// Opens a web address in the user's web browser (ShellExecute on Windows, xdg-open
// elsewhere, both through Qt). Throws KivrelError when no browser could be asked.
void OpenWebLink(const std::string& address);

}  // namespace kivrel
