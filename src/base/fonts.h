#pragma once

#include <QFont>
#include <QSize>

class QString;
class QWidget;

namespace kivrel {

// Arial, or where the system lacks it (Wine, a bare Linux) its metric twin: Qt's own stand-in
// for a missing family can be a serif face of other widths.
QFont ArialFont();

// The width a tool button needs to show caption whole.
int CaptionWidth(const QWidget& control, const QString& caption);
// Gives a control its designed fixed size, wider where a system font wider than the one it
// was laid out for would cut its one-line caption (a tool button's).
void SetSizeForCaption(QWidget& control, const QString& caption, QSize designed);

}  // namespace kivrel
