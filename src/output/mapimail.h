#pragma once

#include <string>

// The hand-over of a finished mail to the user's mail client, the probe for one, and the
// program's shared warning box.
namespace kivrel {

// A modal warning box: "Warnung", warning icon, one "OK".
void ShowWarning(const std::string& text);

}  // namespace kivrel
