#include "support/exampleentry.h"

#include <memory>

#include "base/buildinfo.h"
#include "base/daynumber.h"
#include "support/tempdir.h"

namespace kivrel::test {

namespace {

const char* const kSender = R"([Identifikation]
File=Torvanesca
Type=V
Version=4
[Absender]
Verband=TSV Musterstadt
Ebene=
Name=Anna Berger
Strasse=Hauptstr. 1
PLZ=12345
Ort=Musterstadt
Telefonp=01234 5678
Telefond=
Telefax=
Mobil=
Email=
)";

const char* const kClub = R"([Vereine]
Anzahl=1
1=""1","TSV Musterstadt","","0815","Berger","Anna","Hauptstr. 1","12345","Musterstadt","01234 5678","","","","","Nordkreis","Ost","Nordland","","GER""
)";

}  // namespace

tMeldung ExampleEntry() {
    tMeldung m;
    m.Turnier = {"Stadtpokal 2026", *DayNumberFromDate(2026, 3, 14), "Musterstadt",
                 "meldung@example.org"};
    m.Verein = {"TSV Musterstadt", "0815", "Nordkreis", "Ost", "Nordland", "", "GER"};
    m.Absender = {"Anna", "Berger", "Hauptstr. 1", "12345", "Musterstadt", "01234 5678", "", "",
                  "",     ""};
    const std::string u12 = AddGroup(m, "U12", "m");
    const std::string u15 = AddGroup(m, "U15", "w");
    AddParticipant(m, "Lange", "Mia", u15, "2012", 0, "-44");
    AddParticipant(m, "Kurz", "Tim", u12, "2014", -1, "+50");
    AddParticipant(m, "Adler", "Ben", u12, "2015", 3, "-30");
    return m;
}

tUsedAgeGroups Used(const tMeldung& meldung) {
    return UsedAgeGroups(meldung.Altersgruppenliste, meldung.Teilnehmerliste);
}

std::string ExampleFileU12() {
    return WithCrLf(std::string(kSender) + R"([Meldung]
Turnier=Stadtpokal 2026
Datum=14.03.2026
Ort=Musterstadt
Altersgruppe=U12 (m)
Geschlecht=m
)" + kClub + R"([Teilnehmer]
1=""1","Adler","Ben","3","30","","2015","","","","","""
2=""1","Kurz","Tim","","","50","2014","","","","","""
Anzahl=2
)");
}

std::string ExampleFileU15() {
    return WithCrLf(std::string(kSender) + R"([Meldung]
Turnier=Stadtpokal 2026
Datum=14.03.2026
Ort=Musterstadt
Altersgruppe=U15 (w)
Geschlecht=w
)" + kClub + R"([Teilnehmer]
1=""1","Lange","Mia","0","44","","2012","","","","","""
Anzahl=1
)");
}

std::string ExampleMailSubject() {
    return "Meldung von TSV Musterstadt für Stadtpokal 2026 am 14.03.2026 in Musterstadt";
}

std::vector<std::string> ExampleMailLines() {
    const std::string rule(64, '=');
    return {
        "TSV Musterstadt",
        "Kreis:  Nordkreis",
        "Bezirk: Ost",
        "Land:   Nordland",
        "",
        "Anna Berger",
        "Hauptstr. 1",
        "12345 Musterstadt",
        "",
        "Telefon p: 01234 5678",
        "Telefon d: ",
        "Telefax: ",
        "Telefon Mobil: ",
        "Email: ",
        "",
        "Meldung für",
        "Stadtpokal 2026",
        "am 14.03.2026 in Musterstadt",
        rule,
        "Name                                    JG   Grad   Gewicht",
        rule,
        "U12 (m)",
        "Ben Adler                               2015 7. Kyu -30",
        "Tim Kurz                                2014        +50",
        rule,
        "U15 (w)",
        "Mia Lange                               2012        -44",
        rule,
        "",
        "Mit sportlichen Grüßen",
        "Anna Berger",
        "",
        "",
        rule,
        "Diese Meldung wurde mit dem Kivrel erstellt.",
        "Mit den Dateien, die Sie im Anhang finden, läßt sich diese ",
        "Meldung direkt in den Solvaring Osmira Edition",
        "einlesen und dort weiterverarbeiten. Der Solvaring ",
        "unterstützt Sie optimal bei Ihrer Wettkampfveranstaltung. ",
        "",
        "Den kostenlosen Kivrel sowie weitere Informationen zum ",
        "Solvaring erhalten Sie ",
        std::string("im Internet unter ") + buildinfo::kWebAddress,
    };
}

std::map<std::string, std::string> Snapshot(const std::filesystem::path& dir) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        const std::string name = entry.path().lexically_relative(dir).generic_string();
        entries[name] = entry.is_directory() ? "<folder>" : ReadFileBytes(entry.path());
    }
    return entries;
}

}  // namespace kivrel::test
