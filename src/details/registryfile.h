#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "details/registry.h"

// A registry hive held in memory, and the registry editor's text form of it: the store file
// of systems without a registry, which a user can also carry to and from Windows.
namespace kivrel {

// Orders key paths as the registry editor lists them: case ignored, each key directly
// followed by its subkeys.
struct KeyPathOrder {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

class RegHive {
public:
    struct Value {
        std::string name;
        RegType type = kRegNone;
        std::string data;
        friend bool operator==(const Value&, const Value&) = default;
    };

    class Key {
    public:
        const std::vector<Value>& Values() const { return values_; }
        const Value* Find(std::string_view name) const;
        // Replaces the value of that name (keeping its place and spelling) or appends it.
        void Set(std::string_view name, RegType type, std::string data);
        friend bool operator==(const Key& a, const Key& b) { return a.values_ == b.values_; }

    private:
        std::vector<Value> values_;
        std::unordered_map<std::string, std::size_t> index_;  // by folded name
    };

    // Paths are relative to the hive ("Software\NORDALKE"), as RelativeKeyPath gives them;
    // "" is the hive's root key, which always exists.
    RegHive();

    const Key* FindKey(std::string_view path) const;
    // Creates the key and its missing parents; an existing key keeps the spelling it has.
    // Gives the key as spelt in the hive.
    Key& CreateKey(std::string_view path);

    // The keys by their spelt paths, in the registry editor's order.
    const std::map<std::string, Key, KeyPathOrder>& Keys() const { return keys_; }

    friend bool operator==(const RegHive&, const RegHive&) = default;

private:
    std::map<std::string, Key, KeyPathOrder> keys_;
};

struct ParsedRegFile {
    RegHive hive;
    // The file held something the 8-bit form cannot repeat exactly (a version 5 file with
    // characters outside Windows-1252, say), so rewriting it would lose that.
    bool lossy = false;
};

// Reads the registry editor's "REGEDIT4" form (Windows-1252) and its version 5 form
// (UTF-16LE with byte-order mark). Only keys of HKEY_CURRENT_USER are accepted; an empty
// file is an empty hive. nullopt when the bytes are no such file.
std::optional<ParsedRegFile> ParseRegFile(std::string_view bytes);

// The hive in the "REGEDIT4" form, CR LF line ends, exactly as ParseRegFile reads it back.
std::string FormatRegFile(const RegHive& hive);

}  // namespace kivrel
