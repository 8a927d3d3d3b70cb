#include "base/dialogkeys.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
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

class StrayAltLetters : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers held =
            key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
        if (held != Qt::AltModifier || !IsLetterKey(key->key()))
            return false;
        return !qobject_cast<QMenu*>(watched) && !qobject_cast<QMenuBar*>(watched);
    }

private:
    // The letter keys, also those of the German layout (Ä, Ö, Ü); digits stay, since
    // Alt with the number pad types characters by their codes on Windows.
    static bool IsLetterKey(int key) {
        return (key >= Qt::Key_A && key <= Qt::Key_Z) ||
               (key >= Qt::Key_Agrave && key <= Qt::Key_THORN && key != Qt::Key_multiply);
    }
};

}  // namespace

void IgnoreStrayAltLetters(QApplication& app) {
    app.installEventFilter(new StrayAltLetters(&app));
}

void UseDefaultButton(QDialog& dialog, QPushButton* defaultButton) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        button->setAutoDefault(false);
    if (defaultButton)
        defaultButton->setDefault(true);
    dialog.installEventFilter(new EnterRule(dialog, defaultButton));
}

}  // namespace kivrel
