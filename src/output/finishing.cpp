#include "output/finishing.h"

#include "base/messages.h"
#include "base/pathexists.h"

namespace kivrel {

bool AskBeforeReplacing(const std::vector<tPath>& names) {
    std::string existing;
    int count = 0;
    for (const tPath& name : names) {
        if (!PathExists(name))
            continue;
        if (count > 0)
            existing += ", ";
        existing += PathText(name);
        ++count;
    }
    if (count == 0)
        return true;
    const std::string question =
        count == 1 ? existing + " ist bereits vorhanden.\rVorhandene Datei ersetzen ?"
                   : existing + " sind bereits vorhanden.\rVorhandene Dateien ersetzen ?";
    return Boxes().Show(MessageKind::Replace, question);
}

bool BuildEntryFileNames(const tPath& chosenPath, std::vector<tPath>& fileNames,
                         const tUsedAgeGroups& used) {
    const std::vector<tPath> names = EntryFileNames(chosenPath, used);
    const bool replace = AskBeforeReplacing(names);
    fileNames.insert(fileNames.end(), names.begin(), names.end());
    return replace;
}

std::optional<tFinished> FinishEntry(const tMeldung& meldung, const tPath& chosenPath) {
    const tUsedAgeGroups used = UsedAgeGroups(meldung.Altersgruppenliste, meldung.Teilnehmerliste);
    tFinished finished;
    tVersand& versand = finished.Versand;
    if (!BuildEntryFileNames(chosenPath, versand.Files, used))
        return std::nullopt;
    if (!WriteEntryFiles(chosenPath, used, meldung))
        return std::nullopt;
    versand.ChosenPath = chosenPath;
    versand.Address = meldung.Turnier.Email;
    versand.Mail = BuildEntryMail(meldung, used);
    // Without a mail client the user was warned at start; the files still have to go.
    if (!MapiClientAvailable()) {
        finished.Mail = MailFate::NoClient;
        return finished;
    }
    const tHandOver handOver = SendEntryMail(versand);
    finished.Mail = handOver.Taken()     ? MailFate::Taken
                    : handOver.Cancelled ? MailFate::Cancelled
                                         : MailFate::NotTaken;
    return finished;
}

}  // namespace kivrel
