#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "base/daynumber.h"
#include "model/konstanten.h"
#include "output/entryfile.h"
#include "participants/entrylistlayout.h"
#include "support/entrybuilder.h"

// Entries for the printed-list tests and a readable view of the laid-out pages.
namespace kivrel::test {

inline tMeldung EntryWithSender() {
    tMeldung m;
    m.Turnier.Bezeichnung = Win1252("Frühjahrsturnier");
    m.Turnier.Datum = *DayNumberFromDate(2025, 4, 12);
    m.Turnier.Ort = "Augsburg";
    m.Turnier.Email = "meldung@example.org";
    m.Verein.Vereinsname = "TSV Musterstadt";
    m.Verein.Vereinsnummer = "4711";
    m.Verein.Kreis = "Nord";
    m.Verein.Bezirk = "";
    m.Verein.Land = "Bayern";
    m.Verein.Gruppe = "  ";
    m.Verein.Nation = "GER";
    m.Absender.Vorname = "Eva";
    m.Absender.Nachname = "Schulz";
    m.Absender.Strasse = "Hauptstr. 5";
    m.Absender.PLZ = "80331";
    m.Absender.Ort = Win1252("München");
    m.Absender.Telefonp = "089 123";
    m.Absender.Email = "eva@example.org";
    return m;
}

// Adds a participant; kinds holds 'A' for the open class and 'K' for kata.
inline void AddStarter(tMeldung& m, const std::string& nachname, const std::string& vorname,
                       const std::string& group, const std::string& gewicht,
                       const std::string& kinds = "", int grade = 3,
                       const std::string& jahrgang = "2012") {
    tTeilnehmer& t = test::AddParticipant(m, nachname, vorname, group, jahrgang, grade, gewicht);
    t.Allkategorie = kinds.find('A') != std::string::npos;
    t.Kata = kinds.find('K') != std::string::npos;
}

// The named groups in the order of the Altersgruppenliste, as the main window hands them.
inline tUsedAgeGroups Used(const tMeldung& m, std::initializer_list<std::string> keys) {
    tUsedAgeGroups used;
    for (int i = 0; i < m.Altersgruppenliste.Count(); ++i) {
        for (const std::string& key : keys) {
            if (m.Altersgruppenliste.Key(i) == key)
                used.push_back({key, &m.Altersgruppenliste.Object(i)});
        }
    }
    return used;
}

// Three groups of fourteen participants with a weight class and kata each: three pages.
inline tMeldung ThreePageEntry() {
    tMeldung m = EntryWithSender();
    for (const char* group : {"U12", "U14", "U16"}) {
        AddGroup(m, group, "m");
        for (int i = 0; i < 14; ++i) {
            AddStarter(m, std::string(group) + "-Name" + static_cast<char>('A' + i), "Kim",
                       std::string(group) + " (m)", "-" + std::to_string(30 + i), "K");
        }
    }
    return m;
}

// 05.04.2025 14:03:09.
inline double PrintedAt() {
    return *DayNumberFromDate(2025, 4, 5) + (14 * 3600 + 3 * 60 + 9) / 86400.0;
}

// The group and participant lines of all pages, one text per band: "[key]" for a group,
// the fields joined by "|" for a line.
inline std::vector<std::string> Rows(const std::vector<tPrintPage>& pages) {
    std::vector<std::string> rows;
    for (const tPrintPage& page : pages) {
        for (const tPrintBand& band : page.Bands) {
            if (band.Name != "DetailBand1" && band.Name != "qrErgebnisse")
                continue;
            std::string row;
            for (const tPrintText& text : page.Texts) {
                if (text.Top >= band.Top && text.Top < band.Top + band.Height)
                    row += (row.empty() ? "" : "|") + text.Text;
            }
            rows.push_back(band.Name == "DetailBand1" ? "[" + row + "]" : row);
        }
    }
    return rows;
}

}  // namespace kivrel::test
