#pragma once

#include <vector>

#include "model/konstanten.h"
#include "output/entryfile.h"
#include "participants/entrylistlayout.h"

class QPrinter;
class QWidget;

// Printing the entry list on the printer of the run. The caller owns that one QPrinter
// (HighResolution) for the whole run and hands it to both functions below, so that what
// the printer set-up chose is where later prints go.
namespace kivrel {

// Prints the entry's list with the used age groups and returns when the job is handed to
// the printer; a progress window over parent shows the pages being produced. Without a
// usable printer it says so and prints nothing. Throws KivrelError when printing fails.
void PrintEntryList(const tMeldung& meldung, const tUsedAgeGroups& printGroups, QPrinter& printer,
                    QWidget* parent);

// Draws laid-out pages as PrintEntryList does.
void PrintPages(const std::vector<tPrintPage>& pages, QPrinter& printer, QWidget* parent);

// Qt's print dialog on printer: the printer, or a PDF file, chosen there stays chosen.
void ShowPrinterSetup(QPrinter& printer, QWidget* parent);

// False when there is neither a printer in the system nor a chosen PDF file; Qt then
// falls back to PDF output without a file name.
bool PrinterUsable(const QPrinter& printer);

}  // namespace kivrel
