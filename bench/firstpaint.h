#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <cstdio>

// Nanoseconds on the monotonic clock, the same in the benchmark and its children.
inline std::int64_t MonotonicNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Waits for the first paint of a widget of the window, then prints the time once this round
// of painting has ended and leaves the event loop (no close question).
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget& window) : window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_) {
            painted_ = true;
            QTimer::singleShot(0, [] {
                std::printf("%lld\n", static_cast<long long>(MonotonicNow()));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    QWidget& window_;
    bool painted_ = false;
};
