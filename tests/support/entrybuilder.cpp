#include "support/entrybuilder.h"

#include <memory>

namespace kivrel::test {

std::string AddGroup(tMeldung& meldung, const std::string& bezeichnung,
                     const std::string& geschlecht) {
    auto group = std::make_unique<tAltersgruppe>(tAltersgruppe{bezeichnung, geschlecht});
    std::string key = AgeGroupKey(*group);
    meldung.Altersgruppenliste.Add(key, std::move(group));
    return key;
}

tTeilnehmer& AddParticipant(tMeldung& meldung, const std::string& nachname,
                            const std::string& vorname, const std::string& gruppe,
                            const std::string& jahrgang, int graduierung,
                            const std::string& gewicht) {
    auto t = std::make_unique<tTeilnehmer>();
    t->Nachname = nachname;
    t->Vorname = vorname;
    t->Altersgruppe = gruppe;
    t->Jahrgang = jahrgang;
    t->Graduierung = graduierung;
    t->Gewicht = gewicht;
    const std::string key = ParticipantKey(*t);
    tTeilnehmerliste& list = meldung.Teilnehmerliste;
    return list.Object(list.AddDistinct(key, std::move(t)));
}

}  // namespace kivrel::test
