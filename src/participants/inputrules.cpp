#include "participants/inputrules.h"

#include <algorithm>

#include "base/collation.h"
#include "base/cp1252.h"
#include "base/textrules.h"

namespace kivrel {

namespace {

bool IsSign(char c) {
    return c == '-' || c == '+';
}

}  // namespace

bool InAgeGroupNameSet(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || IsDigit(c) || u >= 192)
        return true;
    switch (c) {
        case ' ':
        case '(':
        case ')':
        case ',':
        case '-':
        case '_':
            return true;
        default:
            return false;
    }
}

bool AgeGroupNameKeyAccepted(char key) {
    return key == kBackspace || InAgeGroupNameSet(key);
}

bool WeightKeyAccepted(std::string_view text, int selStart, char key) {
    if (text.empty())
        return IsSign(key) || key == kBackspace;
    return (IsDigit(key) || key == kBackspace) && selStart != 0;
}

bool WeightKeyAcceptedOverSelection(std::string_view text, int selStart, int selLength, char key) {
    const auto start = std::min(static_cast<std::size_t>(std::max(selStart, 0)), text.size());
    const auto length =
        std::min(static_cast<std::size_t>(std::max(selLength, 0)), text.size() - start);
    if (length == 0)
        return WeightKeyAccepted(text, selStart, key);
    // Backspace then only takes the selection away.
    if (key == kBackspace)
        return true;
    const std::string rest =
        std::string(text.substr(0, start)) + std::string(text.substr(start + length));
    return WeightKeyAccepted(rest, static_cast<int>(start), key);
}

bool JahrgangValid(std::string_view text, int currentYear) {
    if (text.empty())
        return true;
    const std::optional<int> year = text.size() == 4 ? DigitsValue(text) : std::nullopt;
    return year && *year >= 1900 && *year <= currentYear;
}

bool GewichtValid(std::string_view text, bool kata, bool allkategorie) {
    if (text.empty())
        return kata || allkategorie;
    // Pasting passes by the key rule; the entry file splits the weight by its sign.
    return text.size() >= 3 && text.size() <= static_cast<std::size_t>(kGewichtMaxLength) &&
           IsSign(text[0]) && std::all_of(text.begin() + 1, text.end(), IsDigit);
}

std::vector<tNamePair> NamePairs(const tGridNames& grid, int skipRow) {
    const std::size_t rows = std::min(grid.Nachname.size(), grid.Vorname.size());
    std::vector<tNamePair> pairs;
    pairs.reserve(rows);
    for (std::size_t row = 1; row < rows; ++row) {
        if (static_cast<int>(row) != skipRow)
            pairs.push_back({grid.Nachname[row], grid.Vorname[row]});
    }
    return pairs;
}

bool NameTaken(const std::vector<tNamePair>& names, std::string_view nachname,
               std::string_view vorname) {
    return std::any_of(names.begin(), names.end(), [&](const tNamePair& p) {
        return CollateCompare(p.Nachname, nachname) == 0 && CollateCompare(p.Vorname, vorname) == 0;
    });
}

tParticipantFault CheckParticipant(const tParticipantInput& input, int currentYear,
                                   const tNameTaken& taken) {
    const std::string nachname = TrimBlanks(input.Nachname);
    const std::string vorname = TrimBlanks(input.Vorname);
    if (nachname.empty())
        return tParticipantFault::Nachname;
    if (vorname.empty())
        return tParticipantFault::Vorname;
    if (taken && taken(nachname, vorname))
        return tParticipantFault::Duplicate;
    if (TrimBlanks(input.Altersgruppe).empty())
        return tParticipantFault::Altersgruppe;
    if (!JahrgangValid(input.Jahrgang, currentYear))
        return tParticipantFault::Jahrgang;
    if (!GewichtValid(input.Gewicht, input.Kata, input.Allkategorie))
        return tParticipantFault::Gewicht;
    return tParticipantFault::None;
}

std::string ParticipantFaultMessage(tParticipantFault fault, const tParticipantInput& input) {
    switch (fault) {
        case tParticipantFault::Nachname:
        case tParticipantFault::Vorname:
            return "Bitte geben Sie Vor- und Nachnamen des Teilnehmers an.";
        case tParticipantFault::Duplicate:
            return "Der Teilnehmer " + std::string(input.Vorname) + " " +
                   std::string(input.Nachname) + " wurde bereits eingegeben.";
        case tParticipantFault::Altersgruppe:
            return Win1252("Bitte wählen die Altersgruppe aus, in der Teilnehmer starten soll.");
        case tParticipantFault::Jahrgang:
            return "Bitte geben Sie das Geburtsjahr vierstellig ein.";
        case tParticipantFault::Gewicht:
            return Win1252("Bitte geben Sie eine gültige Gewichtsklasse z.B. (-30,+100) an.");
        case tParticipantFault::None:
            break;
    }
    return std::string();
}

std::string AgeGroupNameMissingMessage() {
    return "Bitte geben Sie die Bezeichnung der Altersgruppe an.";
}

std::string AgeGroupGenderMissingMessage() {
    return "Bitte geben Sie das Geschlecht der Altersgruppe an.";
}

std::string NamePairKey(std::string_view nachname, std::string_view vorname) {
    // Sort keys hold no zero byte, so the separator cannot be mistaken for part of a name.
    std::string key = CollationKey(nachname);
    key += '\0';
    key += CollationKey(vorname);
    return key;
}

}  // namespace kivrel
