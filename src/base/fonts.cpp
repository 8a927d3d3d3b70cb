#include "base/fonts.h"

#include <QStringList>

namespace kivrel {

QFont ArialFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace kivrel
