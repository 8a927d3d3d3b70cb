#include "output/finishing.h"

#include "base/messages.h"
#include "base/pathexists.h"
#include "output/mailtext.h"
#include "output/mapimail.h"

namespace kivrel {

bool BuildEntryFileNames(const tPath& chosenPath, std::vector<tPath>& fileNames,
                         const tUsedAgeGroups& used) {
    std::string existing;
    int count = 0;
    for (tPath& name : EntryFileNames(chosenPath, used)) {
        if (PathExists(name)) {
            if (count > 0)
                existing += ", ";
            existing += PathText(name);
            ++count;
        }
        fileNames.push_back(std::move(name));
    }
    if (count == 0)
        return true;
    const std::string question =
        count == 1 ? existing + " ist bereits vorhanden.\rVorhandene Datei ersetzen ?"
                   : existing + " sind bereits vorhanden.\rVorhandene Dateien ersetzen ?";
    return Boxes().Show(MessageKind::Replace, question);
}

void FinishEntry(const tMeldung& meldung, const tPath& chosenPath) {
    const tUsedAgeGroups used = UsedAgeGroups(meldung.Altersgruppenliste, meldung.Teilnehmerliste);
    std::vector<tPath> fileNames;
    if (!BuildEntryFileNames(chosenPath, fileNames, used))
        return;
    if (!WriteEntryFiles(chosenPath, used, meldung))
        return;
    // Without a mail client the user was warned at start; the files are all there is.
    if (MapiClientAvailable())
        SendEntryMail(meldung, fileNames, used);
}

}  // namespace kivrel
