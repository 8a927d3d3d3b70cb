#include "details/tfrmwizzard.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <algorithm>

#include "base/accessible.h"
#include "base/dialogkeys.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/pictures.h"
#include "details/tfraabsenderperson.h"
#include "details/tfraabsenderverein.h"
#include "details/tfraturnier.h"
#include "participants/dialoglayout.h"

// The icons live in the kivrel_ui library, whose resource initialiser the linker would
// otherwise drop; Q_INIT_RESOURCE must stand outside any namespace.
static void LoadWizardResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(wizard);
        return true;
    }();
    (void)loaded;
}

namespace kivrel {

bool ExitConfirmed = false;

namespace {

constexpr int kLastPage = 3;

const char* const kRemembered = "Der Kivrel merkt sich Ihre Eingabe für Ihre nächsten Meldungen.";

// A page with its number and introductory text.
QWidget* AddPage(QStackedWidget* pages, int number, const QString& intro, QLabel** introLabel) {
    auto* page = new QWidget(pages);
    auto* numberLabel = new QLabel(QStringLiteral("%1.").arg(number), page);
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(29);
    font.setBold(true);
    numberLabel->setFont(font);
    SetTextColour(*numberLabel, Qt::blue);
    // Where the serif font falls back to a taller one (no Times New Roman under Wine), the
    // number grows up and down about its middle rather than lose its top.
    const int height = std::max(37, numberLabel->sizeHint().height());
    numberLabel->setGeometry(16, 8 + (37 - height) / 2, 32, height);
    auto* text = new QLabel(intro, page);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setGeometry(48, 16, 405, 33);
    if (introLabel)
        *introLabel = text;
    pages->addWidget(page);
    return page;
}

QLabel* AddIcon(QWidget* page, const char* name, int y) {
    auto* icon = new QLabel(page);
    icon->setPixmap(Picture(QStringLiteral(":/wizard/%1").arg(QLatin1String(name))).pixmap(32, 32));
    icon->setGeometry(56, y, 32, 32);
    return icon;
}

QPushButton* AddButton(QWidget* parent, const QString& caption, int x, int width) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(x, 322, width, 25);
    return button;
}

}  // namespace

TfrmWizzard::TfrmWizzard(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    LoadWizardResources();
    setWindowTitle(QStringLiteral("Kivrel - Assistent"));
    setFixedSize(472, 355);

    ntbWizzard = new QStackedWidget(this);
    ntbWizzard->setGeometry(0, 0, 465, 321);

    QWidget* page = AddPage(
        ntbWizzard, 1,
        QStringLiteral("Geben Sie die Daten der Veranstaltung ein, zu der Sie melden wollen."),
        &lblIntroPage1);
    fraTurnier1 = new TfraTurnier(page);
    fraTurnier1->move(8, 57);
    AddSeparator(page, QRect(16, 184, 433, 2));

    page = AddPage(ntbWizzard, 2,
                   QStringLiteral("Geben Sie die Daten des Vereines an, für den Sie die Meldung "
                                  "durchführen.\n") +
                       QString::fromUtf8(kRemembered),
                   nullptr);
    fraAbsenderVerein1 = new TfraAbsenderVerein(page);
    fraAbsenderVerein1->move(8, 57);

    page = AddPage(ntbWizzard, 3,
                   QStringLiteral("Geben Sie die Ihre Daten als Absender ein.\n") +
                       QString::fromUtf8(kRemembered),
                   nullptr);
    fraAbsenderPerson1 = new TfraAbsenderPerson(page);
    fraAbsenderPerson1->move(8, 57);

    page = AddPage(ntbWizzard, 4,
                   QStringLiteral("Beenden Sie den Assisten mit OK. Abschließend können Sie\n"
                                  "wie unten beschrieben Teilnehmererfassung und die Meldung "
                                  "durchführen."),
                   nullptr);
    auto* explanation = new QLabel(
        QStringLiteral(
            "Geben Sie die Daten der Teilnehmer ein.\n"
            "Sie können alle Teilnehmer unterschiedlicher Altersgruppen / Kategorien in einer "
            "Datei erfassen.\n\n"
            "Drucken Sie eine Meldeliste für sich aus, wenn Sie einen Kontrollausdruck "
            "wünschen.\n\n"
            "Klicken Sie auf die Schaltfläche Fertigstellen, um die Meldedaten zu speichern oder "
            "zu als Email zu verschicken.\n\n"
            "Wenn Sie ein Mail Programm als Standard Mail Programm definiert haben, wird dieses "
            "automatisch gestartet und die Meldung dort als Mail erstellt.\n"),
        page);
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // In a wider font the text grows down into the free space rather than lose its end.
    explanation->setGeometry(96, 64, 300, std::max(193, explanation->heightForWidth(300)));
    AddIcon(page, "participants", 64);
    AddIcon(page, "printer", 112);
    AddIcon(page, "finish", 152);

    btnzurueck = AddButton(this, QStringLiteral("&Zurück"), 8, 75);
    btnWeiter = AddButton(this, QStringLiteral("&Weiter"), 96, 75);
    btnOK = AddButton(this, QStringLiteral("OK"), 271, 89);
    // The program's own check mark: the style's would be looked up in the icon theme.
    btnOK->setIcon(Picture(QStringLiteral(":/wizard/ok")));
    btnCancel = AddButton(this, QStringLiteral("Abbrechen"), 375, 89);
    connect(btnzurueck, &QPushButton::clicked, this, &TfrmWizzard::btnzurueckClick);
    connect(btnWeiter, &QPushButton::clicked, this, &TfrmWizzard::btnWeiterClick);
    connect(btnOK, &QPushButton::clicked, this, &TfrmWizzard::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmWizzard::reject);

    ShowPage(0);
}

void TfrmWizzard::SetEnterButton(QPushButton* button) {
    // The Enter rule knows one button; it is replaced when the page changes which one.
    delete enterRule_;
    const QObjectList before = children();
    UseDefaultButton(*this, button);
    for (QObject* child : children()) {
        if (!before.contains(child))
            enterRule_ = child;
    }
    btnWeiter->setDefault(button == btnWeiter);
    btnOK->setDefault(button == btnOK);
}

void TfrmWizzard::ShowPage(int index) {
    QPushButton* enter = index == kLastPage ? btnOK : btnWeiter;
    // Enabled first: a focused button that goes off hands the focus on to it.
    enter->setEnabled(true);
    btnzurueck->setEnabled(index > 0);
    btnWeiter->setEnabled(index < kLastPage);
    btnOK->setEnabled(index == kLastPage);
    SetEnterButton(enter);
    // The focus goes on into the page shown. A page without a field (the last) would take it
    // itself and say nothing to a screen reader: the button that Enter presses takes it.
    const QList<QWidget*> controls = ntbWizzard->widget(index)->findChildren<QWidget*>();
    if (ntbWizzard->currentWidget()->isAncestorOf(focusWidget()) &&
        std::none_of(controls.begin(), controls.end(),
                     [](const QWidget* w) { return w->focusPolicy() & Qt::TabFocus; }))
        enter->setFocus();
    ntbWizzard->setCurrentIndex(index);
}

void TfrmWizzard::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfrmWizzard::FormShow() {
    // The event is asked for anew in every run; club and person are remembered.
    RunGuarded([&] {
        fraAbsenderPerson1->LoadFromRegistry();
        fraAbsenderVerein1->LoadFromRegistry();
    });
    fraTurnier1->ediBezeichnung->setFocus();
}

void TfrmWizzard::btnWeiterClick() {
    RunGuarded([&] {
        const int index = ntbWizzard->currentIndex();
        bool passed = false;
        switch (index) {
            case 0:
                passed = fraTurnier1->CheckInput();
                break;
            case 1:
                passed = fraAbsenderVerein1->CheckInput();
                break;
            case 2:
                passed = fraAbsenderPerson1->CheckInput();
                break;
            default:
                return;
        }
        if (passed)
            ShowPage(index + 1);
    });
}

void TfrmWizzard::btnzurueckClick() {
    RunGuarded([&] {
        const int index = ntbWizzard->currentIndex();
        if (index > 0)
            ShowPage(index - 1);
    });
}

void TfrmWizzard::btnOKClick() {
    // A failing save skips the ones after it; the wizard closes with OK all the same.
    RunGuarded([&] {
        fraAbsenderVerein1->SaveToRegistry();
        fraAbsenderPerson1->SaveToRegistry();
        fraTurnier1->SaveToRegistry();
    });
    accept();
}

void TfrmWizzard::reject() {
    bool close = false;
    RunGuarded([&] { close = Confirm("Soll der Kivrel wirklich beendet werden ?"); });
    if (!close)
        return;
    ExitConfirmed = true;
    QDialog::reject();
}

int TfrmWizzard::Execute(tAbsenderData& absender, tVereinData& verein, tTurnierData& turnier) {
    if (exec() != QDialog::Accepted)
        return 2;
    fraAbsenderPerson1->GetDetails(absender);
    fraAbsenderVerein1->GetDetails(verein);
    fraTurnier1->GetDetails(turnier);
    return 1;
}

}  // namespace kivrel
