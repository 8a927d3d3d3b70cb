#include "base/pictures.h"

#include <QDir>

namespace kivrel {

QIcon Picture(const QString& stem) {
    const qsizetype slash = stem.lastIndexOf(u'/');
    const QDir folder(stem.left(slash));
    const QString files = stem.mid(slash + 1) + QStringLiteral("-*.png");
    QIcon icon;
    for (const QString& file : folder.entryList({files}, QDir::Files))
        icon.addFile(folder.filePath(file));
    return icon;
}

}  // namespace kivrel
