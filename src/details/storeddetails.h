#pragma once

#include <string>
#include <vector>

#include "model/konstanten.h"
#include "participants/agerules.h"

// The event, club and person details and the welcome flag, remembered between runs in the
// current user's hive below \Software\NORDALKE\QVTR\, and the import's column choices.
// The three frames, the notice window and the main window (for the import) use this.
namespace kivrel {

inline constexpr const char* kTurnierKey = "\\Software\\NORDALKE\\QVTR\\Turnier\\";
inline constexpr const char* kVereinKey = "\\Software\\NORDALKE\\QVTR\\Verein\\";
inline constexpr const char* kAbsenderKey = "\\Software\\NORDALKE\\QVTR\\Absender\\";
inline constexpr const char* kAdvertKey = "\\Software\\NORDALKE\\QVTR\\Advert\\";
inline constexpr const char* kImportKey = "\\Software\\NORDALKE\\QVTR\\Import\\";
inline constexpr const char* kRegelnKey = "\\Software\\NORDALKE\\QVTR\\Regeln\\";

// The loads open their key (creating it) and read the values one by one into data, in their
// stored order; a missing text reads as empty. A key that cannot be opened leaves data as it
// is. A value that cannot be read throws KivrelError with its message; the values before it
// are already in data, the later ones are not touched.
// Datum comes as the date field holds it: the whole day number, or 0 when it is no date.
void LoadTurnier(tTurnierData& data);
void LoadVerein(tVereinData& data);
void LoadAbsender(tAbsenderData& data);

// The saves open their key (creating it) and write every value in its stored order; a key
// that cannot be opened means nothing is written, and a warning names the store (once, until
// the store opens again). A value that cannot be written throws
// KivrelError ("Konnte Daten für '...' nicht setzen"); the values before it are written.
void SaveTurnier(const tTurnierData& data);
void SaveVerein(const tVereinData& data);
void SaveAbsender(const tAbsenderData& data);

// Whether the welcome notice is shown: false only when "ShowIntro" holds a 32-bit 0. Never
// fails; anything unreadable means true.
bool ReadShowIntro();
// Stores "ShowIntro" as 1 or 0; failures are ignored.
void WriteShowIntro(bool show);

// The columns (a number per field, -1 for none) that the user assigned to the fields for a
// member list with this heading, for the next list with the same heading. Reading never
// fails (nothing remembered is an empty list); a failed write is ignored.
std::vector<int> ReadImportColumns(const std::vector<std::string>& heading);
void WriteImportColumns(const std::vector<std::string>& heading, const std::vector<int>& columns);

// The age groups' rules that the user keeps, for every tournament. Reading never fails
// (nothing kept, or nothing readable, is no rules); a failed write gives the store warning.
tAgeRules ReadAgeRules();
void WriteAgeRules(const tAgeRules& rules);

}  // namespace kivrel
