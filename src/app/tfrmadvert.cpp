#include "app/tfrmadvert.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include <algorithm>
#include <memory>

#include "app/tfrmabout.h"
#include "app/weblink.h"
#include "base/accessible.h"
#include "base/buildinfo.h"
#include "base/error.h"
#include "base/fonts.h"
#include "base/qtext.h"
#include "details/storeddetails.h"

namespace kivrel {

namespace {

const QString kBreak = QStringLiteral("\r\n");
const QString kTwoBreaks = kBreak + kBreak;

QLabel* MakeLabel(QWidget* parent, int x, int y, int w, int h) {
    auto* label = new QLabel(parent);
    label->setGeometry(x, y, w, h);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

constexpr int kWidth = 472;
constexpr int kHeight = 346;
constexpr int kBodyHeight = 209;
constexpr int kCheckBoxTop = 280;
constexpr int kOkTop = 308;

// Sets the body text. A font wider than the one the window was laid out for wraps it into
// more lines: the label then grows down into the free space rather than cut the last ones.
void SetBody(QLabel* label, const QString& text) {
    label->setText(text);
    label->resize(label->width(), std::max(kBodyHeight, label->heightForWidth(label->width())));
}

QString WelcomeText() {
    return QStringLiteral("Mit dem Kivrel können Sie komfortabel Meldungen für ") +
           QStringLiteral("Wettkampfveranstaltungen erstellen.") + kTwoBreaks +
           QStringLiteral(
               "Wenn Sie ein Email-Programm als Standard MAPI-Client definiert haben, ") +
           QStringLiteral(
               "erzeugt der Email automatisch eine Email mit der Meldung, die Sie nur ") +
           QStringLiteral(
               "noch absenden müssen. Als Anhang enthält die Mail Kivrel / Torvanesca- ") +
           QStringLiteral("Dateien. Diese Dateien lassen sich direkt in den ") +
           QStringLiteral("Solvaring Osmira Edition") +
           QStringLiteral(" einlesen und dort weiterverarbeiten. ") + kTwoBreaks +
           QStringLiteral("Benutzen Sie keinen Standard MAPI-Client, so können Sie die Kivrel- ") +
           QStringLiteral(
               "Dateien auch manuell weiterverarbeiten, also z.B. auf Diskette kopieren ") +
           QStringLiteral("oder per Web-Email versenden.") + kTwoBreaks +
           QStringLiteral(
               "Darüberhinaus können Sie natürlich Ausdrucke Ihrer Meldung erstellen. ") +
           kTwoBreaks +
           QStringLiteral(
               "Der Kivrel darf unverändert und kostenlos an andere Vereine "
               "weitergegeben werden.") +
           kTwoBreaks + CopyrightLine();
}

QString ThanksText() {
    return QStringLiteral("Sie erleichtern dem Veranstalter damit seine Arbeit.") + kTwoBreaks +
           QStringLiteral("Wenn Sie die Meldung per Email versandt haben, läßt sich die ") +
           QStringLiteral("Meldung mit den Dateien, die sich im Anhang Ihrer Mail befinden ") +
           QStringLiteral("direkt in den ") + QStringLiteral("Solvaring Osmira Edition") + kBreak +
           QStringLiteral("einlesen und dort weiterverarbeiten. Der Solvaring ") +
           QStringLiteral("unterstützt Sie optimal bei Ihrer Wettkampfveranstaltung. ") +
           kTwoBreaks + QStringLiteral("Weitere Informationen zum Solvaring erhalten Sie bei:");
}

QString AddressBlock() {
    return QLatin1String(buildinfo::kRightsHolder) + QStringLiteral(
                                                         "\n"
                                                         "Ansprechpartner: Turnierservice\n"
                                                         "Musterweg 1\n"
                                                         "12345 Musterstadt\n"
                                                         "Telefon: 01234 567890\n"
                                                         "\n"
                                                         "support@kivrel.example");
}

}  // namespace

TfrmAdvert::TfrmAdvert(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Information"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);

    lblUeberschrift = MakeLabel(this, 16, 16, 423, 22);
    QFont heading = ArialFont();
    heading.setPixelSize(19);
    heading.setBold(true);
    lblUeberschrift->setFont(heading);

    lblInformation = MakeLabel(this, 16, 56, 425, kBodyHeight);
    lblInformation->setWordWrap(true);

    lblAdresse = MakeLabel(this, 48, 184, 225, 97);
    lblAdresse->setWordWrap(true);

    lblurl = MakeLabel(this, 306, 224, 100, 13);
    // The host alone reads as the address and fits; the label grows rather than cut it.
    lblurl->setText(QUrl(QString::fromLatin1(buildinfo::kWebAddress)).host());
    lblurl->adjustSize();
    ShowAsLink(*lblurl);
    lblurl->installEventFilter(this);

    chbDisable = new QCheckBox(QStringLiteral("Diese Meldung nicht mehr anzeigen."), this);
    chbDisable->setGeometry(16, kCheckBoxTop, 237, 17);

    // OK is both the default button (Enter) and the cancel button (Esc, which QDialog
    // maps to reject).
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setGeometry(208, kOkTop, 75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmAdvert::PrepareWelcome() {
    chbDisable->setVisible(true);
    chbDisable->setChecked(false);
    setWindowTitle(QStringLiteral("Willkommen"));
    lblUeberschrift->setText(QStringLiteral("Willkommen beim Kivrel!"));
    SetBody(lblInformation, WelcomeText());
    // Where the text grew, the check box and OK move down with it and the window grows.
    const int grown = lblInformation->height() - kBodyHeight;
    chbDisable->move(chbDisable->x(), kCheckBoxTop + grown);
    btnOK->move(btnOK->x(), kOkTop + grown);
    setFixedSize(kWidth, kHeight + grown);
    lblAdresse->setVisible(false);
    lblurl->setVisible(false);
}

void TfrmAdvert::PrepareThanks() {
    chbDisable->setVisible(false);
    lblUeberschrift->setText(QStringLiteral("Vielen Dank für die Nutzung des Kivrels!"));
    SetBody(lblInformation, ThanksText());
    lblAdresse->setText(AddressBlock());
    lblAdresse->setVisible(true);
    lblurl->setVisible(true);
}

void TfrmAdvert::StoreShowIntro() {
    if (chbDisable->isChecked())
        WriteShowIntro(false);
}

void TfrmAdvert::lblurlClick() {
    RunGuarded([] { OpenWebLink(buildinfo::kWebAddress); });
}

bool TfrmAdvert::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblurl && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblurlClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ShowAdvert(AdvertKind kind, QWidget* parent) {
    auto window = std::make_unique<TfrmAdvert>(parent);
    bool show = true;
    if (kind == AdvertKind::Welcome) {
        window->PrepareWelcome();
        show = ReadShowIntro();
    } else {
        window->PrepareThanks();
    }
    if (!show)
        return;
    window->exec();
    if (kind == AdvertKind::Welcome)
        window->StoreShowIntro();
}

}  // namespace kivrel
