#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

// The program's file dialogs (finishing's save dialog, the import's open dialog) are set up
// here, so that they look and behave alike.
namespace kivrel {

// The folder that the file dialogs propose first: "Meldungen" in the current folder.
QString EntryFolder();

// Sets dialog up for saving one file (save) or opening existing ones, with the name filters,
// starting in folder. It is Qt's own dialog, which speaks German with the program's
// translations; on Windows the native one does. options are added to that.
void SetUpFileDialog(QFileDialog& dialog, bool save, const QStringList& nameFilters,
                     const QString& folder, QFileDialog::Options options = {});

}  // namespace kivrel
