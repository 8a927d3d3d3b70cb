#include "participants/agerules.h"

#include <algorithm>

#include "base/collation.h"
#include "base/cp1252.h"
#include "base/textrules.h"
#include "participants/inputrules.h"

namespace kivrel {

namespace {

std::string Quoted(std::string_view text) {
    return Win1252("„") + std::string(text) + Win1252("“");
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t end = text.find(separator);
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return parts;
        text.remove_prefix(end + 1);
    }
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (const std::string_view part : Split(text, ' ')) {
        if (!part.empty())
            words.push_back(part);
    }
    return words;
}

// A rule's weight classes, read: the "-" limits and the "+" class.
struct tLimits {
    std::vector<int> Below;
    std::vector<std::string> Classes;
    std::string Over;
};

// The classes of a rule, or the fault that keeps them from being used.
std::optional<tLimits> ReadLimits(const tAgeRule& rule, std::string& fault) {
    const std::string key = AgeGroupKey(rule.Group);
    tLimits limits;
    for (const std::string_view word : Words(rule.Limits)) {
        if (!GewichtValid(word, false, false)) {
            fault = "Die Gewichtsklasse " + Quoted(word) + " von " + key +
                    Win1252(
                        " ist ungültig: ein Vorzeichen und zwei oder drei Ziffern, z. B. "
                        "-30 oder +100.");
            return std::nullopt;
        }
        const int limit = *DigitsValue(word.substr(1));
        if (!limits.Over.empty()) {
            fault = "Bei " + key + " muss die Klasse " + Quoted(limits.Over) + " die letzte sein.";
            return std::nullopt;
        }
        if (word[0] == '+') {
            if (limits.Below.empty() || limit != limits.Below.back()) {
                fault = "Bei " + key + " muss die Klasse " + Quoted(word) +
                        Win1252(" an die höchste Klasse mit „-“ anschließen, z. B. -38 +38.");
                return std::nullopt;
            }
            limits.Over = std::string(word);
            continue;
        }
        if (!limits.Below.empty() && limit <= limits.Below.back()) {
            fault = "Die Gewichtsklassen von " + key +
                    " stehen nicht aufsteigend: " + Quoted(limits.Classes.back()) + " steht vor " +
                    Quoted(word) + ".";
            return std::nullopt;
        }
        limits.Below.push_back(limit);
        limits.Classes.emplace_back(word);
    }
    return limits;
}

// The years a rule takes, from and to; nullopt when it has none.
std::optional<std::pair<int, int>> Years(const tAgeRule& rule) {
    if (rule.YearFrom.empty() && rule.YearTo.empty())
        return std::nullopt;
    return std::pair(rule.YearFrom.empty() ? 0 : *DigitsValue(rule.YearFrom),
                     rule.YearTo.empty() ? 9999 : *DigitsValue(rule.YearTo));
}

bool GendersMeet(char a, char b) {
    return a == b || a == 'g' || b == 'g';
}

// One rule by itself.
std::optional<tRuleFault> CheckRule(const tAgeRule& rule, std::size_t index, int currentYear) {
    const auto fault = [index](tRuleField field, std::string message) {
        return tRuleFault{index, field, std::move(message)};
    };
    const std::string& name = rule.Group.Bezeichnung;
    if (TrimBlanks(name).empty())
        return fault(tRuleField::Bezeichnung, AgeGroupNameMissingMessage());
    if (name.size() > static_cast<std::size_t>(kAgeGroupNameMaxLength) ||
        !std::all_of(name.begin(), name.end(), InAgeGroupNameSet))
        return fault(tRuleField::Bezeichnung, "Die Bezeichnung " + Quoted(name) +
                                                  Win1252(" ist keine gültige Altersgruppe."));
    if (rule.Group.Geschlecht.size() != 1 ||
        std::string_view("wmg").find(rule.Group.Geschlecht[0]) == std::string_view::npos)
        return fault(tRuleField::Geschlecht, AgeGroupGenderMissingMessage());
    const std::string key = AgeGroupKey(rule.Group);
    for (const auto& [year, field] :
         {std::pair(&rule.YearFrom, tRuleField::YearFrom), {&rule.YearTo, tRuleField::YearTo}}) {
        if (!JahrgangValid(*year, currentYear))
            return fault(field, "Der Jahrgang " + Quoted(*year) + " bei " + key +
                                    " ist kein Jahr von 1900 bis " + std::to_string(currentYear) +
                                    ".");
    }
    if (const auto years = Years(rule); years && years->first > years->second)
        return fault(tRuleField::YearTo, "Bei " + key + Win1252(" ist der erste Jahrgang ") +
                                             rule.YearFrom + Win1252(" größer als der letzte ") +
                                             rule.YearTo + ".");
    std::string message;
    if (!ReadLimits(rule, message))
        return fault(tRuleField::Limits, std::move(message));
    return std::nullopt;
}

}  // namespace

std::optional<tRuleFault> CheckAgeRules(const tAgeRules& rules, int currentYear) {
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (auto fault = CheckRule(rules[i], i, currentYear))
            return fault;
    }
    // A federation's table is a few dozen groups: each pair is looked at.
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const std::string key = AgeGroupKey(rules[i].Group);
        const auto years = Years(rules[i]);
        for (std::size_t j = 0; j < i; ++j) {
            const std::string other = AgeGroupKey(rules[j].Group);
            if (CollationKey(key) == CollationKey(other))
                return tRuleFault{i, tRuleField::Bezeichnung,
                                  "Die Altersgruppe " + key + " steht zweimal in den Regeln."};
            const auto otherYears = Years(rules[j]);
            if (!years || !otherYears ||
                !GendersMeet(rules[i].Group.Geschlecht[0], rules[j].Group.Geschlecht[0]))
                continue;
            const int from = std::max(years->first, otherYears->first);
            if (from <= std::min(years->second, otherYears->second))
                return tRuleFault{
                    i, tRuleField::YearFrom,
                    "Die Regeln von " + other + " und " + key +
                        Win1252(" überschneiden sich: beide nehmen den Jahrgang ") +
                        std::to_string(std::max(from, 1900)) +
                        Win1252(
                            " auf. Bitte ändern Sie die Jahrgänge, damit jeder Teilnehmer in genau "
                            "eine Altersgruppe passt.")};
        }
    }
    return std::nullopt;
}

std::string AgeRulesText(const tAgeRules& rules) {
    // Neither ";" nor "|" can stand in a name, a year or a weight class.
    std::string text;
    for (const tAgeRule& rule : rules) {
        if (!text.empty())
            text += '|';
        text += rule.Group.Bezeichnung + ';' + rule.Group.Geschlecht + ';' + rule.YearFrom + ';' +
                rule.YearTo + ';' + rule.Limits;
    }
    return text;
}

tAgeRules AgeRulesFromText(std::string_view text) {
    tAgeRules rules;
    if (text.empty())
        return rules;
    for (const std::string_view part : Split(text, '|')) {
        const std::vector<std::string_view> fields = Split(part, ';');
        if (fields.size() != 5)
            continue;
        rules.push_back({{std::string(fields[0]), std::string(fields[1])},
                         std::string(fields[2]),
                         std::string(fields[3]),
                         std::string(fields[4])});
    }
    return rules;
}

void tAgeRuleTable::Add(const tAgeRule& rule, std::string key) {
    std::string unused;
    tLimits limits = *ReadLimits(rule, unused);
    tGroup group;
    group.Key = std::move(key);
    group.Gender = rule.Group.Geschlecht[0];
    if (const auto years = Years(rule)) {
        group.From = years->first;
        group.To = years->second;
    }
    group.Below = std::move(limits.Below);
    group.Classes = std::move(limits.Classes);
    group.Over = std::move(limits.Over);
    byKey_.emplace(group.Key, groups_.size());
    groups_.push_back(std::move(group));
}

tProposal tAgeRuleTable::Propose(std::string_view jahrgang, std::string_view gender,
                                 const std::string& group, std::string_view weight) const {
    tProposal proposal;
    if (groups_.empty())
        return proposal;
    const tGroup* rules = nullptr;
    if (!group.empty()) {
        if (const auto it = byKey_.find(group); it != byKey_.end())
            rules = &groups_[it->second];
    } else if (const std::optional<int> year = DigitsValue(jahrgang); !year) {
        if (std::any_of(groups_.begin(), groups_.end(), [](const tGroup& g) { return g.To > 0; }))
            proposal.Note = "Ohne Jahrgang schlagen die Regeln keine Altersgruppe vor.";
    } else {
        // A person's gender is m or w; unknown, or g, any group of the year fits.
        const char sex = gender == "m" || gender == "w" ? gender[0] : 'g';
        std::vector<const tGroup*> fitting;
        for (const tGroup& g : groups_) {
            if (g.To > 0 && g.From <= *year && *year <= g.To && GendersMeet(sex, g.Gender))
                fitting.push_back(&g);
        }
        const std::string who = "Jahrgang " + std::string(jahrgang) +
                                (sex == 'g' ? "" : " (" + std::string(1, sex) + ")");
        if (fitting.size() == 1) {
            rules = fitting.front();
            proposal.Group = rules->Key;
        } else if (fitting.empty()) {
            proposal.Note = "Keine Altersgruppe der Regeln nimmt " + who + " auf.";
        } else {
            std::string keys;
            for (const tGroup* g : fitting)
                keys += (keys.empty() ? "" : ", ") + g->Key;
            proposal.Note = who + " passt zu mehreren Altersgruppen (" + keys +
                            "); bitte geben Sie das Geschlecht an.";
        }
    }
    if (rules && !rules->Classes.empty() && !weight.empty()) {
        std::string note;
        proposal.Gewicht = WeightClass(*rules, weight, note);
        proposal.Note += (proposal.Note.empty() || note.empty() ? "" : " ") + note;
    }
    return proposal;
}

std::string tAgeRuleTable::WeightClass(const tGroup& group, std::string_view weight,
                                       std::string& note) const {
    // Up to three digits of kg and two of their fraction, in hundredths so that a weight on
    // a limit compares exactly.
    const std::size_t point = weight.find_first_of(",.");
    const std::string_view whole = weight.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : weight.substr(point + 1);
    const std::optional<int> kg = whole.size() <= 3 ? DigitsValue(whole) : std::nullopt;
    const std::optional<int> part = fraction.size() <= 2 ? DigitsValue(fraction) : std::nullopt;
    if (!kg || (point != std::string_view::npos && !part)) {
        note =
            Win1252("Das Körpergewicht ") + Quoted(weight) + " ist keine Zahl in kg (z. B. 31,5).";
        return std::string();
    }
    const int hundredths = *kg * 100 + (part ? *part * (fraction.size() == 1 ? 10 : 1) : 0);
    if (hundredths == 0) {
        note = Win1252("Das Körpergewicht ") + Quoted(weight) + " kann nicht stimmen.";
        return std::string();
    }
    for (std::size_t i = 0; i < group.Below.size(); ++i) {
        if (hundredths <= group.Below[i] * 100)
            return group.Classes[i];
    }
    if (!group.Over.empty())
        return group.Over;
    note = Win1252("Das Körpergewicht ") + std::string(weight) +
           Win1252(" kg liegt über der schwersten Klasse ") + Quoted(group.Classes.back()) +
           " von " + group.Key + ".";
    return std::string();
}

}  // namespace kivrel
