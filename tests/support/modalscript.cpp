#include "support/modalscript.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace kivrel::test {

namespace {

// Some 10 seconds without a dialog to serve means the program under test waits elsewhere.
constexpr int kPollMs = 2;
constexpr int kMaxIdlePolls = 5000;

QWidget& Receiver(QWidget& window) {
    QWidget* focus = window.focusWidget();
    return focus ? *focus : window;
}

}  // namespace

ModalScript::ModalScript() {
    if (QWidget* open = QApplication::activeModalWidget())
        seen_.emplace_back(open);
}

ModalScript::~ModalScript() {
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " dialog step(s) never ran";
}

ModalScript& ModalScript::Then(Step step) {
    steps_.push_back(std::move(step));
    if (steps_.size() == 1)
        QTimer::singleShot(kPollMs, &context_, [this] { Poll(); });
    return *this;
}

bool ModalScript::Seen(const QWidget* widget) const {
    for (const auto& s : seen_) {
        if (s == widget)
            return true;
    }
    return false;
}

void ModalScript::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (givenUp_) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            QTimer::singleShot(kPollMs, &context_, [this] { Poll(); });
            dialog->reject();
        }
        return;
    }
    if (steps_.empty())
        return;
    // The next poll is a new timer, so a dialog that a step opens is served as well.
    QTimer::singleShot(kPollMs, &context_, [this] { Poll(); });
    if (!modal || Seen(modal) || !modal->isVisible()) {
        if (++idlePolls_ > kMaxIdlePolls) {
            ADD_FAILURE() << "no dialog opened for a step";
            steps_.clear();
            givenUp_ = true;
        }
        return;
    }
    idlePolls_ = 0;
    seen_.emplace_back(modal);
    Step step = std::move(steps_.front());
    steps_.pop_front();
    Activate(*modal);
    step(*modal);
}

void Activate(QWidget& window) {
    // On a real X server the focus events of a window that closed just before may still be
    // on their way and take the activation back; ask again until it stays.
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    for (int attempt = 0; attempt < 20; ++attempt) {
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            continue;
        if (!x11)
            return;
        QTest::qWait(30);
        if (window.isActiveWindow())
            return;
    }
    ADD_FAILURE() << "the window did not become active: " << window.windowTitle().toStdString();
}

void Type(QWidget& window, const QString& text) {
    for (const QChar ch : text) {
        QWidget& receiver = Receiver(window);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(&receiver, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(&receiver, &release);
    }
}

void Press(QWidget& window, int key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(&Receiver(window), static_cast<Qt::Key>(key), modifiers);
}

ModalScript::Step TypeFileName(const std::string& path, QString* proposed) {
    return [path, proposed](QWidget& w) {
        auto* name = As<QFileDialog>(w).findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(name);
        if (proposed)
            *proposed = name->text();
        name->setText(QString::fromStdString(path));
        QTest::keyClick(name, Qt::Key_Return);
    };
}

}  // namespace kivrel::test
