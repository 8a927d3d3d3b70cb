#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What the participant editor and the age-group dialog accept, character by character and
// field by field. Texts are Windows-1252.
namespace kivrel {

// Field lengths of the participant editor and the age-group dialog.
inline constexpr int kNameMaxLength = 20;
inline constexpr int kJahrgangMaxLength = 4;
inline constexpr int kGewichtMaxLength = 4;
inline constexpr int kAgeGroupNameMaxLength = 20;

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
// The same rule for a cell that replaces its selected text, as a spreadsheet's cell does: it
// judges the text that stays beside the selection.
bool WeightKeyAcceptedOverSelection(std::string_view text, int selStart, int selLength, char key);

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

// What the participant editor checks, in its order, with the first fault found.
enum class tParticipantFault {
    None,
    Nachname,
    Vorname,
    Duplicate,
    Altersgruppe,
    Jahrgang,
    Gewicht
};

// The participant as typed: names untrimmed, the age group's key or empty.
struct tParticipantInput {
    std::string_view Nachname;
    std::string_view Vorname;
    std::string_view Altersgruppe;
    std::string_view Jahrgang;
    std::string_view Gewicht;
    bool Kata = false;
    bool Allkategorie = false;
};

// taken(nachname, vorname) tells whether the trimmed names belong to another participant.
using tNameTaken = std::function<bool(std::string_view, std::string_view)>;

tParticipantFault CheckParticipant(const tParticipantInput& input, int currentYear,
                                   const tNameTaken& taken);

// The editor's warning for a fault, naming the participant as typed (Windows-1252).
std::string ParticipantFaultMessage(tParticipantFault fault, const tParticipantInput& input);

// The age-group dialog's warnings (Windows-1252).
std::string AgeGroupNameMissingMessage();
std::string AgeGroupGenderMissingMessage();

// A key equal for two name pairs exactly when both names collate equal (case ignored), so
// many names are checked for duplicates by hashing instead of comparing each with each.
std::string NamePairKey(std::string_view nachname, std::string_view vorname);

}  // namespace kivrel
