#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/konstanten.h"

// Reads back an entry file as the writer beside it leaves them, for taking its participants
// over into another entry. Anything the writer never writes is refused.
namespace kivrel {

enum class tEntryFileFault {
    None,
    NotOurs,     // not the writer's lines, sections or keys, or changed since
    Incomplete,  // the participant count does not match the records
};

struct tEntryFileRecord {
    // nullopt: the record is not in the writer's form.
    std::optional<tTeilnehmer> Participant;  // Altersgruppe empty; names trimmed
    // A character outside Windows-1252 or a control character.
    bool BadCharacters = false;
};

struct tEntryFileContent {
    tEntryFileFault Fault = tEntryFileFault::None;
    // The file's age group: its key, name and gender letter.
    std::string GroupKey;
    std::string GroupName;
    std::string Gender;
    std::vector<tEntryFileRecord> Records;
    // More than maxRecords: none are read.
    bool TooMany = false;
};

tEntryFileContent ReadEntryFile(std::string_view bytes, std::size_t maxRecords);

// "U14 (m)" as one text: the name and the gender letter of an age-group key; false when the
// text has not that form.
bool SplitGroupKey(std::string_view text, std::string& name, std::string& gender);

}  // namespace kivrel
