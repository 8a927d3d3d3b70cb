#pragma once

#include <string>

#include "model/konstanten.h"

namespace kivrel::test {

// Adds the age group to the entry and returns its key.
std::string AddGroup(tMeldung& meldung, const std::string& bezeichnung,
                     const std::string& geschlecht);
// Adds a participant under its key (never dropped) and returns it.
tTeilnehmer& AddParticipant(tMeldung& meldung, const std::string& nachname,
                            const std::string& vorname, const std::string& gruppe,
                            const std::string& jahrgang = "", int graduierung = -1,
                            const std::string& gewicht = "");

}  // namespace kivrel::test
