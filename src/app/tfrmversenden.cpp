#include "app/tfrmversenden.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "base/accessible.h"
#include "base/cp1252.h"
#include "base/dialogkeys.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/qtext.h"
#include "output/desktop.h"
#include "output/maildraft.h"
#include "output/mapiparts.h"
#include "participants/dialoglayout.h"

namespace kivrel {

namespace {

// Longer mailto links are cut or refused by Windows' shell and by browsers.
constexpr std::size_t kMaxMailtoLength = 2000;

QString Reason(MailFate mail) {
    switch (mail) {
        case MailFate::NoClient:
            return QStringLiteral(
                "Es ist kein Mailprogramm eingerichtet, das die Meldung mit ihren "
                "Dateien übernehmen kann. ");
        case MailFate::NotTaken:
            return QStringLiteral("Das Mailprogramm hat die Meldung nicht übernommen. ");
        case MailFate::Taken:
        case MailFate::Cancelled:
            break;
    }
    return QString();
}

// The body's line ends as the clipboard wants them; Qt gives Windows its CR LF back.
QString PlainText(const std::string& text) {
    return ToQt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QPushButton* AddAction(QWidget* parent, const QString& caption, const QString& what, int y) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(12, y, 150, 25);
    auto* label = new QLabel(what, parent);
    label->setGeometry(172, y - 3, 312, 31);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    button->setAccessibleDescription(what);
    return button;
}

}  // namespace

TfrmVersenden::TfrmVersenden(tVersand versand, MailFate mail, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), versand_(std::move(versand)) {
    setWindowTitle(QStringLiteral("Meldung versenden"));
    setFixedSize(496, 394);

    lblGrund = new QLabel(Reason(mail) + QStringLiteral("Die Meldedateien sind geschrieben. "
                                                        "Senden Sie sie auf einem dieser Wege "
                                                        "an den Veranstalter:"),
                          this);
    lblGrund->setGeometry(12, 10, 472, 44);
    lblGrund->setWordWrap(true);
    lblGrund->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ediAn = new QLineEdit(ToQt(versand_.Address), this);
    ediAn->setGeometry(80, 62, 404, kEditHeight);
    AddLabel(this, QStringLiteral("An:"), ediAn, 12);
    ediBetreff = new QLineEdit(ToQt(versand_.Mail.Subject), this);
    ediBetreff->setGeometry(80, 89, 404, kEditHeight);
    AddLabel(this, QStringLiteral("Betreff:"), ediBetreff, 12);
    for (QLineEdit* field : {ediAn, ediBetreff}) {
        field->setReadOnly(true);
        field->setCursorPosition(0);
    }
    lstDateien = new QListWidget(this);
    lstDateien->setGeometry(80, 116, 404, 66);
    // The paths with their letters as they are, also those beyond Windows-1252.
    for (const tPath& file : versand_.Files)
        lstDateien->addItem(PathToQt(file));
    auto* files = new QLabel(QStringLiteral("Dateien:"), this);
    files->setGeometry(12, 116, 66, kEditHeight);
    NameAfterLabel(*files, *lstDateien);

    AddSeparator(this, QRect(12, 192, 472, 2));
    btnEntwurf = AddAction(
        this, QStringLiteral("&E-Mail-Entwurf öffnen"),
        QStringLiteral("Öffnet die Meldung mit den Dateien im Anhang in Ihrem Mailprogramm."), 204);
    btnOrdner = AddAction(
        this, QStringLiteral("&Ordner öffnen"),
        QStringLiteral("Zeigt die Meldedateien, etwa um sie in eine Web-Mail zu ziehen."), 238);
    btnKopieren = AddAction(
        this, QStringLiteral("&Text kopieren"),
        QStringLiteral("Legt Adresse, Betreff und Text der Meldung in die Zwischenablage."), 272);
    btnWebMail = AddAction(this, QStringLiteral("&Web-Mail..."),
                           QStringLiteral("Öffnet eine neue Mail an den Veranstalter im Browser "
                                          "und den Ordner mit den Dateien."),
                           306);
    connect(btnEntwurf, &QPushButton::clicked, this, &TfrmVersenden::btnEntwurfClick);
    connect(btnOrdner, &QPushButton::clicked, this, &TfrmVersenden::btnOrdnerClick);
    connect(btnKopieren, &QPushButton::clicked, this, &TfrmVersenden::btnKopierenClick);
    connect(btnWebMail, &QPushButton::clicked, this, &TfrmVersenden::btnWebMailClick);

    AddSeparator(this, QRect(12, 338, 472, 2));
    lblStatus = new QLabel(this);
    lblStatus->setGeometry(12, 346, 372, 44);
    lblStatus->setWordWrap(true);
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    btnSchliessen = new QPushButton(QStringLiteral("Schließen"), this);
    btnSchliessen->setGeometry(394, 355, 90, 25);
    connect(btnSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    UseDefaultButton(*this, btnEntwurf);
}

void TfrmVersenden::Execute(const tFinished& finished, QWidget* parent) {
    TfrmVersenden window(finished.Versand, finished.Mail, parent);
    window.exec();
}

void TfrmVersenden::Say(const QString& text) {
    lblStatus->setText(text);
}

void TfrmVersenden::btnEntwurfClick() {
    RunGuarded([&] {
        const std::optional<tPath> draft = WriteMailDraft(versand_);
        if (!draft)
            return;
        if (!OpenWithSystem(*draft)) {
            ShowWarning(Win1252("Der E-Mail-Entwurf ist geschrieben (") + PathText(*draft) +
                        Win1252("), aber kein Programm öffnet .eml-Dateien. Öffnen Sie ihn in "
                                "Ihrem Mailprogramm, oder wählen Sie „Web-Mail...“."));
            return;
        }
        Say(QStringLiteral("Der Entwurf %1 ist geöffnet: Prüfen und senden Sie ihn dort.")
                .arg(PathToQt(draft->filename())));
    });
}

void TfrmVersenden::btnOrdnerClick() {
    RunGuarded([&] {
        if (!ShowInFileManager(versand_.Files)) {
            ShowWarning("Der Ordner " + PathText(versand_.ChosenPath.parent_path()) +
                        Win1252(" lässt sich nicht öffnen."));
            return;
        }
        Say(QStringLiteral("Der Ordner mit den Meldedateien ist geöffnet."));
    });
}

void TfrmVersenden::btnKopierenClick() {
    RunGuarded([&] {
        QApplication::clipboard()->setText(
            QStringLiteral("An: ") + ToQt(versand_.Address) + QStringLiteral("\nBetreff: ") +
            ToQt(versand_.Mail.Subject) + QStringLiteral("\n\n") + PlainText(versand_.Mail.Body));
        Say(QStringLiteral("Adresse, Betreff und Text sind in der Zwischenablage."));
    });
}

void TfrmVersenden::btnWebMailClick() {
    RunGuarded([&] {
        const tVersand& v = versand_;
        std::string link = MailtoUri(v.Address, v.Mail.Subject, v.Mail.Body);
        const bool whole = link.size() <= kMaxMailtoLength;
        if (!whole) {
            link = MailtoUri(v.Address, v.Mail.Subject, "");
            QApplication::clipboard()->setText(PlainText(v.Mail.Body));
        }
        if (!OpenLink(link)) {
            ShowWarning(
                Win1252("Für E-Mail-Links ist kein Programm eingerichtet. Wählen Sie "
                        "„Text kopieren“ und „Ordner öffnen“."));
            return;
        }
        ShowInFileManager(v.Files);
        Say(whole ? QStringLiteral("Die Mail ist geöffnet. Hängen Sie dort die Meldedateien aus "
                                   "dem geöffneten Ordner an.")
                  : QStringLiteral("Die Mail ist geöffnet. Fügen Sie dort den Text aus der "
                                   "Zwischenablage ein, und hängen Sie die Meldedateien aus dem "
                                   "geöffneten Ordner an."));
    });
}

}  // namespace kivrel
