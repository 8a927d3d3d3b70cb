#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kivrel::test {

// Serves the modal dialogs that open while it lives, one step per dialog in the order they
// open. A step runs from inside the dialog's own event loop as soon as the dialog is the
// active modal widget, made the active window first; a dialog opened from within a step
// gets the next step. When no dialog comes for a step, the test fails and the dialogs still
// open are cancelled, so the test ends.
class ModalScript {
public:
    using Step = std::function<void(QWidget& dialog)>;

    ModalScript();
    // Fails the test when steps are left over.
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    ModalScript& Then(Step step);
    std::size_t Remaining() const { return steps_.size(); }
    // Drops the steps that did not run, for steps meant never to run.
    void Drop() { steps_.clear(); }

private:
    void Poll();
    bool Seen(const QWidget* widget) const;

    std::deque<Step> steps_;
    std::vector<QPointer<QWidget>> seen_;
    QObject context_;
    int idlePolls_ = 0;
    bool givenUp_ = false;
};

template <class Dialog>
Dialog& As(QWidget& widget) {
    return dynamic_cast<Dialog&>(widget);
}

// Makes window the active one and waits for it: the offscreen platform activates windows
// asynchronously and gives no window the focus back when a dialog closes.
void Activate(QWidget& window);

// Types text into the widget that has the focus in window, character by character, as key
// presses with that text; unlike QTest::keyClicks it also types characters beyond Latin-1.
void Type(QWidget& window, const QString& text);
// Presses a key in the widget that has the focus in window.
void Press(QWidget& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Answers a QFileDialog with a name typed into its file-name field and Return; with proposed
// given, keeps the name the dialog proposed there first.
ModalScript::Step TypeFileName(const std::string& path, QString* proposed = nullptr);

}  // namespace kivrel::test
