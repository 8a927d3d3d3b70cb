#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/konstanten.h"

// The rules of age groups as a federation's table gives them: the birth years an age group
// takes and its weight classes. From them the import proposes a member's age group and
// weight class. Texts are Windows-1252.
namespace kivrel {

// One age group and its rules; every rule may be empty.
struct tAgeRule {
    tAltersgruppe Group;   // name and gender letter, as the age-group dialog makes them
    std::string YearFrom;  // the first birth year it takes: four digits, or empty for any
    std::string YearTo;    // the last one
    std::string Limits;    // weight classes separated by blanks, e.g. "-30 -34 -38 +38"
};
using tAgeRules = std::vector<tAgeRule>;

// The columns of a rule, to say where a fault is.
enum class tRuleField { Bezeichnung, Geschlecht, YearFrom, YearTo, Limits };

struct tRuleFault {
    std::size_t Rule = 0;
    tRuleField Field = tRuleField::Bezeichnung;
    std::string Message;
};

// The first fault of the rules, in table order; nullopt when they can be kept. Overlapping
// rules (two groups that take the same year and gender) are a fault, so that a proposal is
// never a silent choice between them.
std::optional<tRuleFault> CheckAgeRules(const tAgeRules& rules, int currentYear);

// The form in which the rules are kept, one text; a part that cannot be read is left out.
std::string AgeRulesText(const tAgeRules& rules);
tAgeRules AgeRulesFromText(std::string_view text);

// What the rules propose for one member, and why not where they cannot.
struct tProposal {
    std::string Group;    // an age group's key, or empty
    std::string Gewicht;  // a weight class, or empty
    std::string Note;     // why a group or class is not proposed; empty when there is none
};

// The rules, read once, for proposing to many rows.
class tAgeRuleTable {
public:
    tAgeRuleTable() = default;
    // Rules that fail CheckAgeRules propose nothing. keyOf gives the key under which a
    // group is known (the entry's own spelling of an equal key).
    template <class KeyOf>
    tAgeRuleTable(const tAgeRules& rules, int currentYear, KeyOf keyOf) {
        if (CheckAgeRules(rules, currentYear))
            return;
        for (const tAgeRule& rule : rules)
            Add(rule, keyOf(rule.Group));
    }

    bool Empty() const { return groups_.empty(); }

    // jahrgang: four digits or empty; gender: "m", "w", "g" or ""; group: the row's age
    // group's key, or empty for one to be proposed; weight: the body weight in kg as the
    // list gives it ("31,5" or "31.5").
    tProposal Propose(std::string_view jahrgang, std::string_view gender, const std::string& group,
                      std::string_view weight) const;

private:
    struct tGroup {
        std::string Key;
        char Gender = 'g';
        int From = 0;  // 0 and 0: the group has no years
        int To = 0;
        std::vector<int> Below;  // the "-" classes' limits, ascending
        std::vector<std::string> Classes;
        std::string Over;  // the "+" class, or empty
    };
    void Add(const tAgeRule& rule, std::string key);
    std::string WeightClass(const tGroup& group, std::string_view weight, std::string& note) const;

    std::vector<tGroup> groups_;
    std::unordered_map<std::string, std::size_t> byKey_;
};

}  // namespace kivrel
