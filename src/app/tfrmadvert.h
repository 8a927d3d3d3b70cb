#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kivrel {

// The notice window: the welcome notice at start and the thank-you notice at the end.
class TfrmAdvert : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAdvert(QWidget* parent = nullptr);

    void PrepareWelcome();
    void PrepareThanks();
    // Stores "ShowIntro" = 0 when the check box is ticked.
    void StoreShowIntro();

    QLabel* lblUeberschrift;
    QLabel* lblInformation;
    QLabel* lblAdresse;
    QLabel* lblurl;
    QCheckBox* chbDisable;
    QPushButton* btnOK;

public slots:
    void lblurlClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

enum class AdvertKind { Welcome = 1, Thanks = 2 };

// Shows the notice of that kind modally; the welcome notice only while it is not switched
// off. Returns when the window has been closed, or at once when it is not shown.
void ShowAdvert(AdvertKind kind, QWidget* parent);

}  // namespace kivrel
