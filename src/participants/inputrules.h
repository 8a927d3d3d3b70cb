#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the participant editor and the age-group dialog accept, character by character and
// field by field. Texts are Windows-1252.
namespace kivrel {

// Backspace as the key filters see it, like any typed character.
inline constexpr char kBackspace = '\b';

// Letters A-Z and a-z, digits, every code from 192 to 255, blank, "(", ")", ",", "-", "_".
bool InAgeGroupNameSet(char c);
// The key rule of the age-group name: the name set and Backspace.
bool AgeGroupNameKeyAccepted(char key);

// Names and the year are written between double quotes into the entry file.
inline bool NotDoubleQuote(char c) {
    return c != '"';
}

// The weight-class key rule: into the empty field only "-", "+" and Backspace; into a field
// with text only digits and Backspace, and only when the caret (the start of the
// selection) is not before the first character.
bool WeightKeyAccepted(std::string_view text, int selStart, char key);

// Empty, or four digits giving a year from 1900 to currentYear.
bool JahrgangValid(std::string_view text, int currentYear);

// Three or four characters, a sign followed by digits; empty only for a participant who
// starts in kata or the open class.
bool GewichtValid(std::string_view text, bool kata, bool allkategorie);

// The main grid's surname and first-name columns, row 0 holding the headings.
struct tGridNames {
    std::vector<std::string> Nachname;
    std::vector<std::string> Vorname;
};

struct tNamePair {
    std::string Nachname;
    std::string Vorname;
};

// One pair per grid row below the headings, leaving out skipRow (-1 leaves out none).
std::vector<tNamePair> NamePairs(const tGridNames& grid, int skipRow);

// True when a pair has this surname and this first name, each compared as a whole in the
// user's collation (case ignored).
bool NameTaken(const std::vector<tNamePair>& names, std::string_view nachname,
               std::string_view vorname);

}  // namespace kivrel
