#include "app/uisetup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "base/dialogkeys.h"

namespace kivrel {

void SetUpGermanUi(QApplication& app) {
    // No display name: Qt would add it to every window title, and each window shows exactly
    // its own caption.
    QApplication::setApplicationName(QStringLiteral("Kivrel"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    // Owned by the application so that it lives as long as the texts it translates.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }

    // A sans-serif 8 point font in place of MS Sans Serif; the first families have its
    // narrow metrics, so the captions fit the windows' fixed geometry. Windows has the
    // first two (Wine only Tahoma, its dialog font); Linux has Liberation Sans.
    QFont font;
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);

    IgnoreStrayAltLetters(app);
}

}  // namespace kivrel
