#include "details/storeddetails.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <span>

#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/textrules.h"
#include "details/registry.h"

namespace kivrel {

namespace {

constexpr const char* kBadType = "Ungültiger Datentyp für '%s'";
constexpr const char* kCannotGet = "Konnte Daten für '%s' nicht holen";

[[noreturn]] void Fail(const char* message, const char* name) {
    std::string text = Win1252(message);
    text.replace(text.find("%s"), 2, name);
    throw KivrelError(std::move(text));
}

// The store whose failure was told; told once until it opens again: the wizard's OK saves
// three keys, and one warning says all there is to say.
std::optional<std::string> gFailureTold;

std::optional<RegistryKey> Open(const char* keyPath) {
    auto key = RegistryKey::Open(keyPath);
    if (key)
        gFailureTold.reset();
    return key;
}

// A store that cannot be written is said, never passed over: the user would find the
// details gone at the next start. What it held stays as it was.
void TellStoreFailure() {
    const std::string store = StoreLocation();
    if (gFailureTold != store) {
        gFailureTold = store;
        ShowWarning(Win1252("Die Angaben können nicht in \"") + store +
                    Win1252("\" gespeichert werden; dort bleibt, was zuletzt gespeichert wurde. "
                            "Sie können weiterarbeiten, beim nächsten Start fehlen aber die "
                            "Änderungen."));
    }
}

// The key to save into.
std::optional<RegistryKey> OpenForSaving(const char* keyPath) {
    auto key = Open(keyPath);
    if (!key)
        TellStoreFailure();
    return key;
}

// A text value, with its type and size asked first. Missing or empty reads as "".
std::string ReadText(const RegistryKey& key, const char* name) {
    const RegValue info = key.QueryInfo(name);
    if (info.status == RegStatus::Missing || (info.status == RegStatus::Ok && info.size == 0))
        return {};
    if (info.status != RegStatus::Ok)
        Fail(kCannotGet, name);
    if (info.type != kRegSz && info.type != kRegExpandSz)
        Fail(kBadType, name);
    const RegValue value = key.Read(name, info.size);
    if (value.status != RegStatus::Ok)
        Fail(kCannotGet, name);
    return value.data.substr(0, value.data.find('\0'));
}

void WriteText(RegistryKey& key, const char* name, const std::string& text) {
    std::string data = text;
    data += '\0';
    // A store that opens but cannot be written (a full disk, a file made read-only) is the
    // same failure as one that does not open.
    if (!key.Write(name, kRegSz, data))
        TellStoreFailure();
}

// A day number as 8 bytes: an IEEE double, little-endian.
double ReadDate(const RegistryKey& key, const char* name) {
    const RegValue value = key.Read(name, 8);
    if (value.status != RegStatus::Ok)
        Fail(kCannotGet, name);  // missing, or longer than 8 bytes
    if (value.type != kRegBinary || value.size != 8)
        Fail(kBadType, name);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
    const double day = std::bit_cast<double>(bits);
    return DateFromDayNumber(day) ? std::trunc(day) : 0.0;
}

void WriteDate(RegistryKey& key, const char* name, double day) {
    auto bits = std::bit_cast<std::uint64_t>(day);
    std::string data;
    for (int i = 0; i < 8; ++i, bits >>= 8)
        data += static_cast<char>(bits & 0xFF);
    if (!key.Write(name, kRegBinary, data))
        TellStoreFailure();
}

// One text value of a record; without a field, it is written empty and never read.
template <class Record>
struct TextValue {
    const char* name;
    std::string Record::*field;
};

constexpr TextValue<tVereinData> kVereinValues[] = {
    {"Vereinsname", &tVereinData::Vereinsname},
    {"Sortierbezeichnung", nullptr},
    {"Vereinsnummer", &tVereinData::Vereinsnummer},
    {"Kreis", &tVereinData::Kreis},
    {"Bezirk", &tVereinData::Bezirk},
    {"Land", &tVereinData::Land},
    {"Gruppe", &tVereinData::Gruppe},
    {"Nation", &tVereinData::Nation},
};

constexpr TextValue<tAbsenderData> kAbsenderValues[] = {
    {"Vorname", &tAbsenderData::Vorname},   {"Nachname", &tAbsenderData::Nachname},
    {"Strasse", &tAbsenderData::Strasse},   {"PLZ", &tAbsenderData::PLZ},
    {"Ort", &tAbsenderData::Ort},           {"Telefonp", &tAbsenderData::Telefonp},
    {"Telefond", &tAbsenderData::Telefond}, {"Telefax", &tAbsenderData::Telefax},
    {"Mobil", &tAbsenderData::Mobil},       {"Email", &tAbsenderData::Email},
};

template <class Record>
void LoadTexts(const char* keyPath, std::span<const TextValue<Record>> values, Record& data) {
    const auto key = Open(keyPath);
    if (!key)
        return;
    for (const auto& value : values) {
        if (value.field)
            data.*value.field = ReadText(*key, value.name);
    }
}

template <class Record>
void SaveTexts(const char* keyPath, std::span<const TextValue<Record>> values, const Record& data) {
    auto key = OpenForSaving(keyPath);
    if (!key)
        return;
    for (const auto& value : values)
        WriteText(*key, value.name, value.field ? data.*value.field : std::string());
}

}  // namespace

void LoadTurnier(tTurnierData& data) {
    const auto key = Open(kTurnierKey);
    if (!key)
        return;
    data.Bezeichnung = ReadText(*key, "Bezeichnung");
    data.Datum = ReadDate(*key, "Datum");
    data.Ort = ReadText(*key, "Ort");
    data.Email = ReadText(*key, "Email");
}

void SaveTurnier(const tTurnierData& data) {
    auto key = OpenForSaving(kTurnierKey);
    if (!key)
        return;
    WriteText(*key, "Bezeichnung", data.Bezeichnung);
    WriteDate(*key, "Datum", data.Datum);
    WriteText(*key, "Ort", data.Ort);
    WriteText(*key, "Email", data.Email);
}

void LoadVerein(tVereinData& data) {
    LoadTexts<tVereinData>(kVereinKey, kVereinValues, data);
}

void SaveVerein(const tVereinData& data) {
    SaveTexts<tVereinData>(kVereinKey, kVereinValues, data);
}

void LoadAbsender(tAbsenderData& data) {
    LoadTexts<tAbsenderData>(kAbsenderKey, kAbsenderValues, data);
}

void SaveAbsender(const tAbsenderData& data) {
    SaveTexts<tAbsenderData>(kAbsenderKey, kAbsenderValues, data);
}

bool ReadShowIntro() {
    try {
        const auto key = RegistryKey::Open(kAdvertKey);
        if (!key)
            return true;
        const RegValue value = key->Read("ShowIntro", 4);
        if (value.status != RegStatus::Ok || value.type != kRegDword || value.size != 4)
            return true;
        return value.data != std::string(4, '\0');
    } catch (...) {
        return true;  // the notice rather than a failure
    }
}

void WriteShowIntro(bool show) {
    try {
        auto key = RegistryKey::Open(kAdvertKey);
        if (key)
            key->Write("ShowIntro", kRegDword, std::string(show ? "\1\0\0\0" : "\0\0\0\0", 4));
    } catch (...) {
        // Not remembering the choice is no reason to bother the user.
    }
}

namespace {

// The value's name: a hash of the heading (FNV-1a), as a heading may be longer than a
// value's name can be.
std::string HeadingName(const std::vector<std::string>& heading) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::string& cell : heading) {
        for (const char c : cell + '\t') {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
    }
    std::string name = "Spalten";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += "0123456789abcdef"[(hash >> shift) & 15];
    return name;
}

}  // namespace

std::vector<int> ReadImportColumns(const std::vector<std::string>& heading) {
    try {
        const auto key = RegistryKey::Open(kImportKey);
        if (!key)
            return {};
        const RegValue value = key->Read(HeadingName(heading), 256);
        if (value.status != RegStatus::Ok || value.type != kRegSz)
            return {};
        // "3;0;-1;..." with its terminator.
        std::vector<int> columns;
        std::string_view text(value.data.c_str());
        while (!text.empty()) {
            const std::size_t end = std::min(text.find(';'), text.size());
            const std::string_view part = text.substr(0, end);
            const std::optional<int> n =
                part == "-1" ? std::optional(-1) : DigitsValue(part.substr(0, 4));
            if (!n || part.size() > 4 || *n >= static_cast<int>(heading.size()))
                return {};
            columns.push_back(*n);
            text.remove_prefix(std::min(end + 1, text.size()));
        }
        return columns;
    } catch (...) {
        return {};  // the guesses rather than a failure
    }
}

void WriteImportColumns(const std::vector<std::string>& heading, const std::vector<int>& columns) {
    try {
        std::string text;
        for (const int column : columns)
            text += (text.empty() ? "" : ";") + std::to_string(column);
        text += '\0';
        auto key = RegistryKey::Open(kImportKey);
        if (key)
            key->Write(HeadingName(heading), kRegSz, text);
    } catch (...) {
        // Not remembering the columns is no reason to bother the user.
    }
}

tAgeRules ReadAgeRules() {
    try {
        const auto key = RegistryKey::Open(kRegelnKey);
        return key ? AgeRulesFromText(ReadText(*key, "Altersgruppen")) : tAgeRules();
    } catch (...) {
        return {};  // the rules typed anew rather than a failure at every import
    }
}

void WriteAgeRules(const tAgeRules& rules) {
    if (auto key = OpenForSaving(kRegelnKey))
        WriteText(*key, "Altersgruppen", AgeRulesText(rules));
}

}  // namespace kivrel
