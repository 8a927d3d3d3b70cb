#pragma once

#include <QString>

#include "support/modalscript.h"

class QLineEdit;

// The steps of a run through the real windows, typed as a user types them.
namespace kivrel {
class TfrmTeilnehmer;
class TfrmWizzard;
}  // namespace kivrel

namespace kivrel::test {

void Fill(QLineEdit* field, const QString& text);
// Moves a drop-down list that has the focus down by steps entries with the arrow key.
void Choose(QWidget& window, int steps);

// The event page of the wizard, then "Weiter".
void TypeEventPage(TfrmWizzard& wizard);
// All three pages of an empty wizard, then OK.
void TypeWizard(TfrmWizzard& wizard);
// The event page; club and person as the store gave them; OK.
void TypeWizardWithStoredSender(TfrmWizzard& wizard);

// Names, then Tab into the age-group list.
void TypeNames(TfrmTeilnehmer& editor, const QString& nachname, const QString& vorname);
// Year, grade steps down the list, weight: each field reached with Tab from the group.
void TypeRest(TfrmTeilnehmer& editor, const QString& jahrgang, int gradeSteps,
              const QString& gewicht);
// Serves the participant editor: names, the group groupSteps down the list, the rest, and
// Return, which is "OK && Weiter".
ModalScript::Step TypeParticipant(const QString& nachname, const QString& vorname, int groupSteps,
                                  const QString& jahrgang, int gradeSteps, const QString& gewicht);
// Serves the age-group dialog: the name, gender steps down the list, Return.
ModalScript::Step NewGroup(const QString& name, int genderSteps);

}  // namespace kivrel::test
