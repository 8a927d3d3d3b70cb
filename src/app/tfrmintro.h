#pragma once

#include <QWidget>

class QLabel;

namespace kivrel {

// The splash window shown while the windows of the run are created: one picture, no
// border, on top of the others, in the middle of the screen.
class TfrmIntro : public QWidget {
    Q_OBJECT

public:
    explicit TfrmIntro(QWidget* parent = nullptr);

    // Shows the window and paints it before the event loop runs, so that it is seen while
    // the start goes on.
    void ShowNow();

    QLabel* img;
};

}  // namespace kivrel
