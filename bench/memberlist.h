#pragma once

#include <string>

namespace kivrel::bench {

// A club's member list of count rows as Calc exports it: Windows-1252, semicolons, CR LF,
// birth dates, gender and belt, no tournament columns.
inline std::string MemberList(int count) {
    std::string csv = "Mitgliedsnr;Nachname;Vorname;Geb.-Datum;Geschlecht;G\xFCrtel;Ort\r\n";
    for (int i = 0; i < count; ++i) {
        csv += std::to_string(i) + ";M\xFCller" + std::to_string(i) + ";\"Vorname " +
               std::to_string(i) + "\";0" + std::to_string(1 + i % 9) + ".05." +
               std::to_string(10 + i % 5) + ";" + (i % 2 ? "m\xE4nnlich" : "weiblich") + ";" +
               std::to_string(1 + i % 9) + ". Kyu;\"Kiel, Nord\"\r\n";
    }
    return csv;
}

}  // namespace kivrel::bench
