#pragma once

namespace kivrel {

// Makes the C library's character type UTF-8 when the environment leaves it at the C or
// POSIX locale (no LANG, as under a service or `env -i`): Xlib converts the window titles
// for the X server's WM_NAME in that character type, and in the C locale it would store
// "Bestätigung" as Latin-1 mojibake. The other categories stay as given. Runs before the
// QApplication, which takes the locale from the environment; does nothing on Windows.
void UseUtf8CharacterType();

}  // namespace kivrel
