#include "app/startup.h"

#include <memory>
#include <optional>

#include "app/tfrmadvert.h"
#include "app/tfrmmain.h"
#include "base/messages.h"
#include "details/recoveryfile.h"
#include "details/tfrmwizzard.h"
#include "output/mapimail.h"

namespace kivrel {

namespace {

const char* const kNoMailClient =
    "Es wurde kein Standard-Mailprogramm (MAPI) gefunden. Die Meldung kann nicht automatisch "
    "als Email erstellt werden. Wenn Sie bereits ein Email Programm verwenden, richten Sie es "
    "als Standard-MAPI Client ein, falls Sie Meldungen als Email erzeugen wollen.";

}  // namespace

void RunStartUp(TfrmMain& main) {
    if (!MapiClientAvailable())
        ShowWarning(kNoMailClient);
    ShowAdvert(AdvertKind::Welcome, &main);
    std::unique_ptr<TfrmWizzard> own;
    TfrmWizzard* wizard = main.frmWizzard;
    if (!wizard) {
        own = std::make_unique<TfrmWizzard>(&main);
        wizard = own.get();
    }
    tMeldung& meldung = main.Meldung();
    if (wizard->Execute(meldung.Absender, meldung.Verein, meldung.Turnier) == 2) {
        // Ending was confirmed in the wizard: no second question, no thank-you notice.
        main.close();
        return;
    }
    main.ShowEventDetails(meldung.Turnier);
    main.ShowSenderClub(meldung.Verein);
    main.ShowSenderPerson(meldung.Absender);
    if (tRecovery* recovery = main.Recovery())
        OfferRecovery(main, *recovery);
    main.TeilnehmerEinfuegenExecute();
}

void OfferRecovery(TfrmMain& main, tRecovery& recovery) {
    std::optional<tRecoveredEntry> pending = recovery.Pending();
    if (!pending)
        return;
    if (!Confirm(RecoveryQuestion(*pending))) {
        recovery.Decline();
        return;
    }
    // Brought back before the file becomes this run's: it holds these lists already, so the
    // change leaves it as it is.
    main.ChangeLists([&] { RestoreEntry(std::move(*pending), main.Meldung()); });
    recovery.Accept();
    main.FillParticipantGrid(-1);
    main.UpdateParticipantActions();
}

}  // namespace kivrel
