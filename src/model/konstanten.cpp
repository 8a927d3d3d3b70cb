#include "model/konstanten.h"

namespace kivrel {

const std::array<const char*, kGradeCount> Graduierungen = {
    "9. Kyu", "8. Kyu", "7. Kyu",  "6. Kyu",  "5. Kyu",  "4. Kyu",  "3. Kyu", "2. Kyu",
    "1. Kyu", "1. Dan", "2. Dan",  "3. Dan",  "4. Dan",  "5. Dan",  "6. Dan", "7. Dan",
    "8. Dan", "9. Dan", "10. Dan", "11. Dan", "12. Dan", "13. Dan",
};

std::string GradeText(std::int32_t graduierung) {
    if (graduierung >= 1 && graduierung <= kGradeCount)
        return Graduierungen[graduierung - 1];
    return " ";
}

std::string ParticipantKey(const tTeilnehmer& t) {
    return t.Nachname + " " + t.Vorname;
}

std::string AgeGroupKey(const tAltersgruppe& a) {
    return a.Bezeichnung + " (" + a.Geschlecht + ")";
}

}  // namespace kivrel
