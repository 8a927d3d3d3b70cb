#include "app/charlocale.h"

namespace kivrel {

// Windows' window titles are UTF-16 whatever the C library's locale.
void UseUtf8CharacterType() {}

}  // namespace kivrel
