#pragma once

// The start-up dialogue of a run, at the main window's first activation.
namespace kivrel {

class TfrmMain;
class tRecovery;

// In turn: the notice when no mail client is set up, the welcome notice, the set-up wizard
// (when the user ends the program there, the main window closes and nothing follows), the
// details shown in the main window, the offer to bring back what an earlier run left, and
// the participant editor for the first participants.
void RunStartUp(TfrmMain& main);

// The entry that an earlier run left in recovery, brought back into the main window's lists
// when the user wants it; otherwise set aside.
void OfferRecovery(TfrmMain& main, tRecovery& recovery);

}  // namespace kivrel
