#include "base/dialogkeys.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

namespace kivrel {

namespace {

class EnterRule : public QObject {
public:
    EnterRule(QDialog& dialog, QPushButton* defaultButton)
        : QObject(&dialog), dialog_(dialog), default_(defaultButton) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &dialog_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        // Reached the dialog, so no child used the key for itself.
        auto* focused = qobject_cast<QPushButton*>(dialog_.focusWidget());
        QPushButton* button = focused ? focused : default_.data();
        if (button && button->isVisible() && button->isEnabled())
            button->click();
        return true;
    }

private:
    QDialog& dialog_;
    QPointer<QPushButton> default_;
};

}  // namespace

void UseDefaultButton(QDialog& dialog, QPushButton* defaultButton) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        button->setAutoDefault(false);
    if (defaultButton)
        defaultButton->setDefault(true);
    dialog.installEventFilter(new EnterRule(dialog, defaultButton));
}

}  // namespace kivrel
