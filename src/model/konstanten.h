#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/collation.h"

// The entry held in memory for one run: records, participants, age groups, grades.
// Every text is Windows-1252.
namespace kivrel {

struct tTurnierData {
    std::string Bezeichnung;
    double Datum = 0;  // day number, 0 = no date
    std::string Ort;
    std::string Email;
};

struct tVereinData {
    std::string Vereinsname;
    std::string Vereinsnummer;
    std::string Kreis;
    std::string Bezirk;
    std::string Land;
    std::string Gruppe;
    std::string Nation;
};

struct tAbsenderData {
    std::string Vorname;
    std::string Nachname;
    std::string Strasse;
    std::string PLZ;
    std::string Ort;
    std::string Telefonp;
    std::string Telefond;
    std::string Telefax;
    std::string Mobil;
    std::string Email;
};

struct tTeilnehmer {
    bool Confirmed = false;
    std::string Vorname;
    std::string Nachname;
    std::string Altersgruppe;  // the key of its age group
    std::string Jahrgang;
    std::int32_t Graduierung = -1;  // -1 none, 0 "[unbekannt]", 1..22 Graduierungen
    std::string Gewicht;
    bool Allkategorie = false;
    bool Kata = false;
};

struct tAltersgruppe {
    std::string Bezeichnung;
    std::string Geschlecht;  // "w", "m" or "g"
};

inline constexpr int kGradeCount = 22;
extern const std::array<const char*, kGradeCount> Graduierungen;

// The grade as the grid, the mail and the printed list show it: the name, or " ".
std::string GradeText(std::int32_t graduierung);

// Nachname + " " + Vorname.
std::string ParticipantKey(const tTeilnehmer& t);
// Bezeichnung + " (" + Geschlecht + ")".
std::string AgeGroupKey(const tAltersgruppe& a);

// A list of keyed objects that it owns, always in ascending collation order of the keys
// (case ignored in the user's locale), with at most one entry per key.
template <class T>
class tSortedList {
public:
    int Count() const { return static_cast<int>(entries_.size()); }
    bool Empty() const { return entries_.empty(); }
    const std::string& Key(int index) const { return entries_.at(Pos(index))->key; }
    T& Object(int index) { return *entries_.at(Pos(index))->object; }
    const T& Object(int index) const { return *entries_.at(Pos(index))->object; }

    // The index of the entry whose key collates equal to key, or -1.
    int IndexOf(std::string_view key) const {
        const std::string sortKey = CollationKey(key);
        const auto it = LowerBound(sortKey);
        if (it != entries_.end() && (*it)->sortKey == sortKey) {
            return static_cast<int>(it - entries_.begin());
        }
        return -1;
    }

    // Adds the object under a key that is not in the list yet; returns its index, or -1
    // (and keeps the object out) when the key is taken.
    int Add(std::string key, std::unique_ptr<T> object) {
        std::string sortKey = CollationKey(key);
        return InsertIfAbsent(std::move(key), std::move(sortKey), object);
    }

    // Adds the object; when its key is taken, under the key followed by " (2)", " (3)", ...
    // so that no entry is ever replaced. Returns the index of the new entry.
    int AddDistinct(const std::string& key, std::unique_ptr<T> object) {
        std::string candidate = key;
        for (int n = 2;; ++n) {
            std::string sortKey = CollationKey(candidate);
            const int index = InsertIfAbsent(std::move(candidate), std::move(sortKey), object);
            if (index >= 0)
                return index;
            candidate = key + " (" + std::to_string(n) + ")";
        }
    }

    // Removes and destroys the entry at index.
    void Delete(int index) { entries_.erase(entries_.begin() + Pos(index)); }
    void Clear() { entries_.clear(); }

private:
    struct Entry {
        std::string key;
        std::string sortKey;
        std::unique_ptr<T> object;
    };
    using Entries = std::vector<std::unique_ptr<Entry>>;

    std::size_t Pos(int index) const {
        if (index < 0 || index >= Count())
            throw std::out_of_range("list index out of bounds");
        return static_cast<std::size_t>(index);
    }

    // Takes the object only when the key is free.
    int InsertIfAbsent(std::string key, std::string sortKey, std::unique_ptr<T>& object) {
        const auto it = LowerBound(sortKey);
        if (it != entries_.end() && (*it)->sortKey == sortKey)
            return -1;
        const auto pos = entries_.insert(
            it,
            std::make_unique<Entry>(Entry{std::move(key), std::move(sortKey), std::move(object)}));
        return static_cast<int>(pos - entries_.begin());
    }

    typename Entries::const_iterator LowerBound(const std::string& sortKey) const {
        std::size_t lo = 0;
        std::size_t hi = entries_.size();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (entries_[mid]->sortKey < sortKey) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        return entries_.begin() + static_cast<std::ptrdiff_t>(lo);
    }

    Entries entries_;
};

using tTeilnehmerliste = tSortedList<tTeilnehmer>;
using tAltersgruppenliste = tSortedList<tAltersgruppe>;

// One entry: the three records and the two lists. The main window owns the one instance
// of a run.
struct tMeldung {
    tTurnierData Turnier;
    tVereinData Verein;
    tAbsenderData Absender;
    tTeilnehmerliste Teilnehmerliste;
    tAltersgruppenliste Altersgruppenliste;
};

}  // namespace kivrel
