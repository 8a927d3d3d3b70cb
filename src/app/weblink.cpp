#include "app/weblink.h"

#include <QDesktopServices>
#include <QUrl>

#include "base/cp1252.h"
#include "base/error.h"
#include "base/qtext.h"

namespace kivrel {

void OpenWebLink(const std::string& address) {
    if (!QDesktopServices::openUrl(QUrl(ToQt(address))))
        throw KivrelError(Win1252("Die Adresse ") + address +
                          Win1252(" kann nicht im Web-Browser geöffnet werden"));
}

}  // namespace kivrel
