#include "base/filedialogs.h"

#include <QDir>
#include <QGuiApplication>

namespace kivrel {

QString EntryFolder() {
    return QDir::current().absoluteFilePath(QStringLiteral("Meldungen"));
}

void SetUpFileDialog(QFileDialog& dialog, bool save, const QStringList& nameFilters,
                     const QString& folder, QFileDialog::Options options) {
    if (QGuiApplication::platformName() != QLatin1String("windows"))
        options |= QFileDialog::DontUseNativeDialog;
    dialog.setOptions(options);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFiles);
    dialog.setNameFilters(nameFilters);
    dialog.setDirectory(folder);
}

}  // namespace kivrel
