#pragma once

#include <QDialog>

#include "output/finishing.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kivrel {

// "Meldung versenden": the ways to send a finished entry when no mail client took it, each
// one action: a mail draft with the files, the files' folder, the text on the clipboard,
// a web mail. Nothing here changes the entry.
class TfrmVersenden : public QDialog {
    Q_OBJECT

public:
    // mail says why the window opens: no client, or a client that failed; Taken and
    // Cancelled (from the menu) give no reason.
    TfrmVersenden(tVersand versand, MailFate mail, QWidget* parent = nullptr);

    // Shows the window modally until the user closes it.
    static void Execute(const tFinished& finished, QWidget* parent);

    QLabel* lblGrund;
    QLineEdit* ediAn;
    QLineEdit* ediBetreff;
    QListWidget* lstDateien;
    QPushButton* btnEntwurf;
    QPushButton* btnOrdner;
    QPushButton* btnKopieren;
    QPushButton* btnWebMail;
    QPushButton* btnSchliessen;
    // What the last action did, for the user to read.
    QLabel* lblStatus;

public slots:
    void btnEntwurfClick();
    void btnOrdnerClick();
    void btnKopierenClick();
    void btnWebMailClick();

private:
    void Say(const QString& text);

    const tVersand versand_;
};

}  // namespace kivrel
