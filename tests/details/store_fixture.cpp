#include "store_fixture.h"

#include <string>
#include <utility>

#include "base/cp1252.h"
#include "details/registry.h"
#include "details/storeddetails.h"

namespace kivrel::test {

void SaveStoreFixture() {
    SaveTurnier(
        {Win1252("Pokal \"Süd\" \\ 2025"), 45731, Win1252("Görlitz"), "meldung@example.org"});
    SaveVerein({Win1252("  JC Bärenstark  "), "0815", "Kreis", "Bezirk", "Land", "", "GER"});
    SaveAbsender({Win1252("Jürgen"), "O'Neil", Win1252("Hauptstraße 1"), "01234", Win1252("Köln"),
                  "0221 1", "", "", "", "j@example.org"});
    WriteShowIntro(false);

    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += static_cast<char>(i);
    const std::pair<const char*, std::pair<RegType, std::string>> values[] = {
        {"Text", {kRegSz, Win1252("Grüße \"x\" \\ y €") + '\0'}},
        {"Leer", {kRegSz, std::string(1, '\0')}},
        {"Zeilen", {kRegSz, std::string("zwei\r\nZeilen\0", 13)}},
        {"Pfad", {kRegExpandSz, Win1252("%APPDATA%\\Kivrel ä") + '\0'}},
        {"Bytes", {kRegBinary, bytes}},
        {"Keine Bytes", {kRegBinary, ""}},
        {"Zahl", {kRegDword, std::string("\x2A\0\0\x80", 4)}},
        {"Liste", {7, std::string("a\0b\0\0", 5)}},
        {"Quad", {11, std::string("\1\2\3\4\5\6\7\x7F", 8)}},
        {"Name \"mit\" \\", {kRegSz, std::string("x\0", 2)}},
        {"", {kRegSz, std::string("Standard\0", 9)}},
    };
    auto key = RegistryKey::Open("\\Software\\NORDALKE\\QVTR\\Typen\\");
    for (const auto& [name, value] : values) {
        if (key)
            key->Write(name, value.first, value.second);
    }
}

}  // namespace kivrel::test
