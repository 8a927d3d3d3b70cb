#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "details/storefolder.h"
#include "model/konstanten.h"

// The recovery file: the participants and age groups of the entry in progress, kept beside
// the store file while the program runs, so that a run that ends abnormally can be brought
// back at the next start. Event, club and person are in the store already.
namespace kivrel {

// The two lists as a recovery file holds them: each object under its list key, in list
// order, and when they were kept.
struct tRecoveredEntry {
    tLocalTime Stand;
    std::vector<std::pair<std::string, tAltersgruppe>> Altersgruppen;
    std::vector<std::pair<std::string, tTeilnehmer>> Teilnehmer;
};

// The file's text: a versioned, line-based Windows-1252 text with CR LF, one line per age
// group and per participant, fields separated by tabs.
std::string RecoveryText(const tMeldung& meldung, const tLocalTime& stand);

// Reads what RecoveryText wrote, and nothing else: nullopt for a damaged, cut-off or foreign
// text.
std::optional<tRecoveredEntry> ParseRecoveryText(std::string_view text);

// Files the recovered objects under their keys into the lists of meldung.
void RestoreEntry(tRecoveredEntry entry, tMeldung& meldung);

// The question whether to bring the entry back.
std::string RecoveryQuestion(const tRecoveredEntry& entry);

// The recovery file of this run in one folder. Only one running program keeps it: the
// object holds a lock beside the file while it lives. Until the file that an earlier run
// left is dealt with, the object neither writes nor removes it.
class tRecovery {
public:
    // The recovery file in folder; nullptr when another running program keeps it or the
    // lock cannot be had.
    static std::unique_ptr<tRecovery> Take(const tPath& folder);
    // The one beside the store file.
    static std::unique_ptr<tRecovery> TakeBesideStore();

    ~tRecovery();
    tRecovery(const tRecovery&) = delete;
    tRecovery& operator=(const tRecovery&) = delete;

    // The entry that an earlier run left. A file that cannot be read is set aside under a
    // dated name with one warning, and there is none.
    std::optional<tRecoveredEntry> Pending();
    // The user brought the pending entry back: from now on this run keeps the file.
    void Accept() { owned_ = true; }
    // The user did not: the file is kept aside under a dated name.
    void Decline();

    // Rewrites the file with the two lists; without any participant or age group there is no
    // file. A failure is told once in a run, with a warning; the work goes on.
    bool Save(const tMeldung& meldung);
    // The normal end: the run's file goes.
    void Remove();

private:
    tRecovery(tPath path, std::unique_ptr<FileLock> lock);
    bool SetAsideAs(const char* tag, tPath* target);

    tPath path_;
    std::unique_ptr<FileLock> lock_;
    bool owned_ = false;
    bool failureTold_ = false;
};

}  // namespace kivrel
