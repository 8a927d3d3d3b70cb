#include "participants/tfrmteilnehmer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "base/accessible.h"
#include "base/dialogkeys.h"
#include "base/error.h"
#include "base/inputfield.h"
#include "base/qtext.h"
#include "base/textrules.h"
#include "participants/dialoglayout.h"
#include "participants/tfrmaltersgruppe.h"

namespace kivrel {

namespace {

QLineEdit* AddEdit(QWidget* parent, const QString& label, int y, int width, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(104, y, width, kEditHeight);
    edit->setMaxLength(maxLength);
    AddLabel(parent, label, edit, 12);
    return edit;
}

QComboBox* AddList(QWidget* parent, const QString& label, int y, int width) {
    auto* list = new QComboBox(parent);
    list->setGeometry(104, y, width, kEditHeight);
    AddLabel(parent, label, list, 12);
    return list;
}

QPushButton* AddButton(QWidget* parent, const QString& caption, const QString& hint, int x) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(x, 258, 90, 25);
    button->setToolTip(hint);
    return button;
}

// The fields as the dialog holds them; new participants lose the blanks around their names.
void ReadInput(const TfrmTeilnehmer& dialog, tTeilnehmer& t, bool trimNames) {
    t.Nachname = FromQt(dialog.ediNachname->text());
    t.Vorname = FromQt(dialog.ediVorname->text());
    if (trimNames) {
        t.Nachname = TrimBlanks(t.Nachname);
        t.Vorname = TrimBlanks(t.Vorname);
    }
    t.Altersgruppe = FromQt(dialog.cbbAltersgruppe->currentText());
    t.Jahrgang = FromQt(dialog.ediJahrgang->text());
    t.Graduierung = dialog.cbbGraduierung->currentIndex();
    t.Gewicht = FromQt(dialog.ediGewicht->text());
    t.Kata = dialog.chbKata->isChecked();
    t.Allkategorie = dialog.chbAllkategorie->isChecked();
}

}  // namespace

TfrmTeilnehmer::TfrmTeilnehmer(tAltersgruppenliste& ageGroups, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), ageGroups_(ageGroups) {
    setWindowTitle(QStringLiteral("Teilnehmer"));
    setFixedSize(305, 294);

    const auto keyPress = [this](QLineEdit& sender, char key) { return ediKeyPress(sender, key); };
    ediNachname = AddEdit(this, QStringLiteral("&Nachname:"), 20, 190, kNameMaxLength);
    ediVorname = AddEdit(this, QStringLiteral("&Vorname:"), 48, 190, kNameMaxLength);
    cbbAltersgruppe = AddList(this, QStringLiteral("&Altersgruppe:"), 76, 137);
    cbbAltersgruppe->installEventFilter(this);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setText(QStringLiteral("Ne&u"));
    SpeedButton1->setToolTip(QStringLiteral("Altergruppe einfügen"));
    SpeedButton1->setGeometry(240, 76, 49, 22);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmTeilnehmer::SpeedButton1Click);

    ediJahrgang = AddEdit(this, QStringLiteral("&Jahrgang:"), 132, 89, kJahrgangMaxLength);
    cbbGraduierung = AddList(this, QStringLiteral("Gra&duierung:"), 160, 89);
    cbbGraduierung->addItem(QStringLiteral("[unbekannt]"));
    for (const char* name : Graduierungen)
        cbbGraduierung->addItem(ToQt(name));
    cbbGraduierung->setCurrentIndex(-1);
    ediGewicht = AddEdit(this, QStringLiteral("&Ge&wichtsklasse:"), 188, 89, kGewichtMaxLength);

    for (QLineEdit* edit : {ediNachname, ediVorname, ediJahrgang}) {
        UseInputRules(*edit, keyPress);
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { ediNachnameChange(edit); });
    }
    UseInputRules(*ediGewicht,
                  [this](QLineEdit& sender, char key) { return ediGewichtKeyPress(sender, key); });

    chbAllkategorie = new QCheckBox(QStringLiteral("Al&lkategorie"), this);
    chbAllkategorie->move(104, 218);
    chbKata = new QCheckBox(QStringLiteral("&Kata"), this);
    chbKata->move(200, 218);

    AddSeparator(this, QRect(12, 246, 284, 2));

    btnContinue = AddButton(
        this, QStringLiteral("OK && Weite&r"),
        QStringLiteral("Speichert Teilnehmer und läßt Maske für weitere Eingabe offen"), 12);
    btnOK = AddButton(this, QStringLiteral("&OK"), QStringLiteral("Speichert Teilnehmer"), 110);
    btnCancel =
        AddButton(this, QStringLiteral("Abbrechen"), QStringLiteral("Bricht Eingabe ab"), 208);
    connect(btnContinue, &QPushButton::clicked, this, [this] { btnOKClick(btnContinue); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(btnOK); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    UseDefaultButton(*this, btnContinue);

    QWidget* order[] = {ediNachname,    ediVorname, cbbAltersgruppe, ediJahrgang,
                        cbbGraduierung, ediGewicht, chbAllkategorie, chbKata,
                        btnContinue,    btnOK,      btnCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfrmTeilnehmer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    chbAllkategorie->hide();
    chbKata->hide();
    ediNachname->setFocus();
}

bool TfrmTeilnehmer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cbbAltersgruppe && event->type() == QEvent::FocusIn) {
        // Getting the focus back with the window (after the age-group dialog, say) is no
        // entering, or a cancelled age-group dialog would come straight back.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            // Not from inside the focus change: the age-group dialog takes the focus away.
            QMetaObject::invokeMethod(this, &TfrmTeilnehmer::cbbAltersgruppeEnter,
                                      Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmTeilnehmer::ediKeyPress(QLineEdit&, char key) {
    bool accepted = false;
    RunGuarded([&] { accepted = NotDoubleQuote(key); });
    return accepted;
}

void TfrmTeilnehmer::ediNachnameChange(QLineEdit* sender) {
    RunGuarded([&] { RemoveRefusedCharacters(*sender, NotDoubleQuote); });
}

bool TfrmTeilnehmer::ediGewichtKeyPress(QLineEdit& sender, char key) {
    bool accepted = false;
    RunGuarded([&] { accepted = WeightKeyAccepted(FromQt(sender.text()), SelStart(sender), key); });
    return accepted;
}

void TfrmTeilnehmer::cbbAltersgruppeEnter() {
    RunGuarded([&] {
        if (cbbAltersgruppe->count() > 0 || !isVisible() || focusWidget() != cbbAltersgruppe)
            return;
        cbbAltersgruppe->hidePopup();
        AddAgeGroup();
    });
}

void TfrmTeilnehmer::SpeedButton1Click() {
    RunGuarded([&] { AddAgeGroup(); });
}

void TfrmTeilnehmer::AddAgeGroup() {
    std::unique_ptr<tAltersgruppe> group = NewAgeGroup(this);
    if (!group)
        return;
    const std::string key = AgeGroupKey(*group);
    int index = ageGroups_.IndexOf(key);
    if (index < 0)
        index = ageGroups_.Add(key, std::move(group));
    FillAgeGroups(index);
}

void TfrmTeilnehmer::FillAgeGroups(int index) {
    cbbAltersgruppe->clear();
    for (int i = 0; i < ageGroups_.Count(); ++i)
        cbbAltersgruppe->addItem(ToQt(ageGroups_.Key(i)));
    cbbAltersgruppe->setCurrentIndex(index);
}

bool TfrmTeilnehmer::CheckInput() {
    const std::string nachname = FromQt(ediNachname->text());
    const std::string vorname = FromQt(ediVorname->text());
    const std::string altersgruppe = FromQt(cbbAltersgruppe->currentText());
    const std::string jahrgang = FromQt(ediJahrgang->text());
    const std::string gewicht = FromQt(ediGewicht->text());
    const tParticipantInput input{nachname,
                                  vorname,
                                  altersgruppe,
                                  jahrgang,
                                  gewicht,
                                  chbKata->isChecked(),
                                  chbAllkategorie->isChecked()};
    const tParticipantFault fault = CheckParticipant(
        input, QDate::currentDate().year(),
        [this](std::string_view n, std::string_view v) { return NameTaken(ExistingNames, n, v); });
    QWidget* field = nullptr;
    switch (fault) {
        case tParticipantFault::None:
            return true;
        case tParticipantFault::Nachname:
            field = ediNachname;
            break;
        case tParticipantFault::Vorname:
        case tParticipantFault::Duplicate:
            field = ediVorname;
            break;
        case tParticipantFault::Altersgruppe:
            field = cbbAltersgruppe;
            break;
        case tParticipantFault::Jahrgang:
            field = ediJahrgang;
            break;
        case tParticipantFault::Gewicht:
            field = ediGewicht;
            break;
    }
    RefuseInput(*field, ParticipantFaultMessage(fault, input));
    return false;
}

void TfrmTeilnehmer::btnOKClick(QPushButton* sender) {
    RunGuarded([&] {
        const int result = sender == btnContinue ? mrYes : mrOk;
        setResult(result);
        if (!CheckInput()) {
            setResult(0);
            return;
        }
        ediNachname->setFocus();
        done(result);
    });
}

std::unique_ptr<tTeilnehmer> NewParticipant(const tGridNames& grid, tAltersgruppenliste& ageGroups,
                                            bool& continueFlag, QWidget* parent) {
    continueFlag = false;
    TfrmTeilnehmer dialog(ageGroups, parent);
    dialog.setWindowTitle(QStringLiteral("Teilnehmer einfügen"));
    dialog.btnContinue->show();
    dialog.ExistingNames = NamePairs(grid, -1);
    dialog.FillAgeGroups(-1);
    for (QLineEdit* edit :
         {dialog.ediNachname, dialog.ediVorname, dialog.ediJahrgang, dialog.ediGewicht})
        edit->clear();
    dialog.cbbGraduierung->setCurrentIndex(-1);
    dialog.chbKata->setChecked(false);
    dialog.chbAllkategorie->setChecked(false);
    dialog.chbKata->hide();
    dialog.chbAllkategorie->hide();

    const int result = dialog.exec();
    continueFlag = result == TfrmTeilnehmer::mrYes;
    if (result != TfrmTeilnehmer::mrOk && result != TfrmTeilnehmer::mrYes)
        return nullptr;
    auto participant = std::make_unique<tTeilnehmer>();
    ReadInput(dialog, *participant, true);
    participant->Confirmed = true;
    return participant;
}

tTeilnehmer& EditParticipant(tTeilnehmer& participant, const tGridNames& grid, int index,
                             tAltersgruppenliste& ageGroups, QWidget* parent) {
    TfrmTeilnehmer dialog(ageGroups, parent);
    dialog.setWindowTitle(QStringLiteral("Teilnehmer einfügen"));
    dialog.ExistingNames = NamePairs(grid, index + 1);
    dialog.chbKata->hide();
    dialog.chbAllkategorie->hide();
    dialog.FillAgeGroups(-1);
    dialog.btnContinue->hide();
    dialog.ediNachname->setText(ToQt(participant.Nachname));
    dialog.ediVorname->setText(ToQt(participant.Vorname));
    dialog.ediJahrgang->setText(ToQt(participant.Jahrgang));
    dialog.ediGewicht->setText(ToQt(participant.Gewicht));
    dialog.cbbAltersgruppe->setCurrentIndex(ageGroups.IndexOf(participant.Altersgruppe));
    dialog.cbbGraduierung->setCurrentIndex(participant.Graduierung);
    dialog.chbKata->setChecked(participant.Kata);
    dialog.chbAllkategorie->setChecked(participant.Allkategorie);

    if (dialog.exec() == TfrmTeilnehmer::mrOk) {
        ReadInput(dialog, participant, false);
        participant.Confirmed = true;
    } else {
        participant.Confirmed = false;
    }
    return participant;
}

}  // namespace kivrel
