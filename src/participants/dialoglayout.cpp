#include "participants/dialoglayout.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <utility>

#include "base/accessible.h"
#include "base/dialogkeys.h"

namespace kivrel {

QLabel* AddLabel(QWidget* parent, const QString& caption, QWidget* buddy, int x) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(x, buddy->y(), buddy->x() - x - 2, buddy->height());
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    NameAfterLabel(*label, *buddy);
    // A caption wider than its room in the user's font (Windows' Tahoma is wider than the
    // font the layout was made for) takes two lines beside its field rather than losing its
    // end; the rows stand far enough apart.
    if (label->sizeHint().width() > label->width()) {
        label->setWordWrap(true);
        const int height = label->heightForWidth(label->width());
        label->setGeometry(x, buddy->y() + (buddy->height() - height) / 2, label->width(), height);
    }
    // The label takes its first marked letter itself; a caption may mark more ("&&" marks
    // none).
    bool first = true;
    for (qsizetype at = caption.indexOf(u'&'); at >= 0 && at + 1 < caption.size();
         at = caption.indexOf(u'&', at + 2)) {
        const QChar letter = caption.at(at + 1);
        if (letter == u'&')
            continue;
        if (!std::exchange(first, false)) {
            auto* shortcut = new QShortcut(QKeySequence::mnemonic(u'&' + letter), label);
            QObject::connect(shortcut, &QShortcut::activated, buddy,
                             [buddy] { buddy->setFocus(Qt::ShortcutFocusReason); });
        }
    }
    return label;
}

void AddOkCancelRow(QDialog& dialog, QBoxLayout& layout, QPushButton*& ok, QPushButton*& cancel) {
    auto* buttons = new QHBoxLayout();
    ok = new QPushButton(QStringLiteral("&OK"), &dialog);
    cancel = new QPushButton(QStringLiteral("Abbrechen"), &dialog);
    for (QPushButton* button : {ok, cancel})
        button->setMinimumSize(90, 25);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout.addLayout(buttons);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    UseDefaultButton(dialog, nullptr);
}

QFrame* AddSeparator(QWidget* parent, const QRect& geometry) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    line->setLineWidth(1);
    line->setGeometry(geometry);
    return line;
}

}  // namespace kivrel
