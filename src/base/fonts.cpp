#include "base/fonts.h"

#include <QStringList>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace kivrel {

QFont ArialFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

int CaptionWidth(const QWidget& control, const QString& caption) {
    // Qt's styles shorten a tool button's caption, its '&' counted, that does not fit inside
    // the frame; Windows' own style takes 2 pixels a side whatever its frame metric says.
    const QStyle& style = *control.style();
    const int frame = style.name().compare(QLatin1String("windowsvista"), Qt::CaseInsensitive) == 0
                          ? 2
                          : style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &control);
    return control.fontMetrics().horizontalAdvance(caption) + 2 * frame;
}

void SetSizeForCaption(QWidget& control, const QString& caption, QSize designed) {
    control.setFixedSize(std::max(designed.width(), CaptionWidth(control, caption)),
                         designed.height());
}

}  // namespace kivrel
