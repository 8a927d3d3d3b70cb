#include "participants/dialoglayout.h"

#include <QFrame>
#include <QLabel>

namespace kivrel {

QLabel* AddLabel(QWidget* parent, const QString& caption, QWidget* buddy, int x) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(x, buddy->y(), buddy->x() - x - 2, buddy->height());
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setBuddy(buddy);
    return label;
}

QFrame* AddSeparator(QWidget* parent, const QRect& geometry) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    line->setLineWidth(1);
    line->setGeometry(geometry);
    return line;
}

}  // namespace kivrel
