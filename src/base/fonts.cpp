#include "base/fonts.h"

#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace kivrel {

QFont ArialFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void SetSizeForCaption(QWidget& control, const QString& caption, QSize designed) {
    const int needed =
        control.fontMetrics().horizontalAdvance(QString(caption).remove(QLatin1Char('&'))) + 2;
    control.setFixedSize(std::max(designed.width(), needed), designed.height());
}

}  // namespace kivrel
