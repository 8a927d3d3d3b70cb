#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTextCharFormat>
#include <QToolButton>

#include "base/cp1252.h"
#include "base/error.h"
#include "base/qtext.h"
#include "details/datefield.h"
#include "details/storeddetails.h"
#include "details/tfraabsenderperson.h"
#include "details/tfraabsenderverein.h"
#include "details/tfraturnier.h"
#include "details_ui_fixture.h"
#include "support/modalscript.h"

namespace kivrel {
namespace {

using namespace test;

const std::string kNoName = "Bitte geben Sie die Turnierbezeichnung an.";
const std::string kNoDate = "Bitte geben Sie das Veranstaltungsdatum an.";
const std::string kNoPlace = "Bitte geben Sie den Veranstaltungsort an.";
constexpr double k15March2025 = 45731;

using Frames = DetailsUi;

TEST_F(Frames, EventChecksInOrderWithMessageAndFocus) {
    TfraTurnier frame;
    frame.show();
    const auto check = [&](const std::string& message, QWidget* focus) {
        boxes.clear();
        EXPECT_FALSE(frame.CheckInput());
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{message});
        EXPECT_EQ(frame.focusWidget(), focus);
    };
    check(kNoName, frame.ediBezeichnung);  // all empty: only the first warning
    frame.ediBezeichnung->setText(QStringLiteral("   "));
    check(kNoName, frame.ediBezeichnung);
    frame.ediBezeichnung->setText(QStringLiteral(" Pokal "));
    check(kNoDate, frame.daeDatum);
    frame.daeDatum->setFocus();
    Type(*frame.window(), QStringLiteral("31022025"));
    EXPECT_EQ(frame.daeDatum->text(), QStringLiteral("31.02.2025"));
    check(kNoDate, frame.daeDatum);
    frame.daeDatum->setValue(k15March2025);
    check(kNoPlace, frame.ediOrt);

    frame.ediOrt->setText(QStringLiteral("Köln"));
    boxes.clear();
    EXPECT_TRUE(frame.CheckInput());  // no address needed
    EXPECT_TRUE(boxes.shown().empty());
    tTurnierData data;
    frame.GetDetails(data);
    EXPECT_EQ(data.Bezeichnung, " Pokal ");
    EXPECT_EQ(data.Datum, k15March2025);
    EXPECT_EQ(data.Ort, Win1252("Köln"));
    EXPECT_EQ(data.Email, "");

    frame.ediBezeichnung->clear();
    frame.ediBezeichnung->setFocus();
    Type(frame, QString(30, QLatin1Char('x')));
    EXPECT_EQ(frame.ediBezeichnung->text().size(), 25);
    EXPECT_EQ(frame.ediEmail->maxLength(), 100);
}

TEST_F(Frames, DateFieldTemplateValueAndCalendar) {
    TfraTurnier frame;
    frame.show();
    TDateField& date = *frame.daeDatum;

    // Empty stays empty, also after the focus passed through.
    date.setFocus();
    frame.ediOrt->setFocus();
    EXPECT_EQ(date.value(), 0);
    EXPECT_EQ(date.displayText(), QStringLiteral("  .  .    "));
    EXPECT_EQ(date.text(), QStringLiteral(".."));

    date.setFocus();
    date.home(false);
    Type(frame, QStringLiteral("1a5-0x3/2025"));  // only the digits land
    EXPECT_EQ(date.text(), QStringLiteral("15.03.2025"));
    EXPECT_EQ(date.value(), k15March2025);

    date.clear();
    Type(frame, QStringLiteral("1503"));
    EXPECT_EQ(date.displayText(), QStringLiteral("15.03.    "));
    EXPECT_EQ(date.value(), 0);

    date.setValue(k15March2025);
    EXPECT_EQ(date.text(), QStringLiteral("15.03.2025"));
    for (double nothing : {0.0, -1e9, 1e12}) {
        date.setValue(k15March2025);
        date.setValue(nothing);
        EXPECT_EQ(date.value(), 0);
        EXPECT_EQ(date.text(), QStringLiteral(".."));
    }

    // The calendar: weeks from Monday, weekends red, German names; picking fills the field.
    QCalendarWidget& calendar = *date.Calendar();
    EXPECT_EQ(calendar.firstDayOfWeek(), Qt::Monday);
    EXPECT_EQ(calendar.weekdayTextFormat(Qt::Saturday).foreground().color(), QColor(Qt::red));
    EXPECT_EQ(calendar.weekdayTextFormat(Qt::Sunday).foreground().color(), QColor(Qt::red));
    EXPECT_EQ(calendar.locale().monthName(3), QStringLiteral("März"));
    QTest::mouseClick(date.DropDownButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return calendar.isVisible(); }));
    EXPECT_EQ(calendar.selectedDate(), QDate::currentDate());  // shown, not put in the field
    EXPECT_EQ(date.value(), 0);
    calendar.setSelectedDate(QDate(2025, 3, 15));
    auto* view = calendar.findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_FALSE(calendar.isVisible());
    EXPECT_EQ(date.value(), k15March2025);

    // Opened again, it shows the field's date.
    QTest::mouseClick(date.DropDownButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return calendar.isVisible(); }));
    EXPECT_EQ(calendar.selectedDate(), QDate(2025, 3, 15));
    calendar.hide();
}

TEST_F(Frames, ClubFieldsDropQuotesTypedPastedAndLoaded) {
    TfraAbsenderVerein frame;
    frame.show();
    frame.ediKreis->setFocus();
    Type(frame, QStringLiteral("Der \"Kreis\""));
    EXPECT_EQ(frame.ediKreis->text(), QStringLiteral("Der Kreis"));

    frame.ediNation->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("\"D\"e\"\""));
    Press(frame, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(frame.ediNation->text(), QStringLiteral("De"));

    tVereinData stored;
    stored.Vereinsname = "\"Budo\" Club";
    stored.Gruppe = "\"";
    SaveVerein(stored);
    frame.LoadFromRegistry();
    EXPECT_EQ(frame.ediBezeichnung->text(), QStringLiteral("Budo Club"));
    EXPECT_EQ(frame.ediGruppe->text(), QString());
    frame.SaveToRegistry();
    tVereinData reread;
    LoadVerein(reread);
    EXPECT_EQ(reread.Vereinsname, "Budo Club");
    EXPECT_EQ(reread.Gruppe, "");
}

TEST_F(Frames, PersonKeepsQuotesAndChecksTheSurname) {
    TfraAbsenderPerson frame;
    frame.show();
    frame.ediVorname->setFocus();
    Type(frame, QStringLiteral("\"Jo\""));
    EXPECT_EQ(frame.ediVorname->text(), QStringLiteral("\"Jo\""));
    boxes.clear();
    EXPECT_FALSE(frame.CheckInput());
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Bitte geben Sie Ihren Nachnamen an."});
    EXPECT_EQ(frame.focusWidget(), frame.ediNachname);

    frame.ediNachname->setText(QStringLiteral("O\"Neil"));
    EXPECT_TRUE(frame.CheckInput());
    frame.SaveToRegistry();
    TfraAbsenderPerson again;
    again.LoadFromRegistry();
    EXPECT_EQ(again.ediVorname->text(), QStringLiteral("\"Jo\""));
    EXPECT_EQ(again.ediNachname->text(), QStringLiteral("O\"Neil"));

    TfraAbsenderVerein club;
    club.show();
    club.ediBezeichnung->setText(QStringLiteral("  "));
    boxes.clear();
    EXPECT_FALSE(club.CheckInput());
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Bitte geben Sie den Vereinsnamen an."});
    EXPECT_EQ(club.focusWidget(), club.ediBezeichnung);
    club.ediBezeichnung->setText(QStringLiteral("X"));
    EXPECT_TRUE(club.CheckInput());
}

TEST_F(Frames, AStoredValueBeyondTheLimitIsShownAndSavedWholeButTypingCannotGrowIt) {
    const std::string longName(40, 'N');  // the field takes 25
    tVereinData stored;
    stored.Vereinsname = longName;
    SaveVerein(stored);
    TfraAbsenderVerein frame;
    frame.show();
    frame.LoadFromRegistry();
    QLineEdit& field = *frame.ediBezeichnung;
    EXPECT_EQ(field.text().size(), 40);
    frame.SaveToRegistry();
    tVereinData reread;
    LoadVerein(reread);
    EXPECT_EQ(reread.Vereinsname, longName);

    field.setFocus();
    field.end(false);
    Type(frame, QStringLiteral("x"));
    field.backspace();
    Type(frame, QStringLiteral("x"));
    EXPECT_EQ(FromQt(field.text()), longName.substr(0, 39));

    // Once shorter than its limit, the field holds to the limit again.
    field.clear();
    Type(frame, QString(30, QLatin1Char('x')));
    EXPECT_EQ(field.text().size(), 25);
}

TEST_F(Frames, FailedLoadShowsTheValuesReadBeforeIt) {
    WriteStore(
        "[HKEY_CURRENT_USER\\Software\\NORDALKE\\QVTR\\Absender]\n"
        "\"Vorname\"=\"Jo\"\n\"Nachname\"=\"Nee\"\n\"Strasse\"=\"Weg 1\"\n"
        "\"PLZ\"=\"01234\"\n\"Ort\"=dword:00000001\n\"Email\"=\"j@x.org\"\n");
    TfraAbsenderPerson frame;
    frame.ediemail->setText(QStringLiteral("before"));
    try {
        frame.LoadFromRegistry();
        ADD_FAILURE() << "no failure";
    } catch (const KivrelError& e) {
        EXPECT_EQ(e.text(), Win1252("Ungültiger Datentyp für 'Ort'"));
    }
    EXPECT_EQ(frame.ediVorname->text(), QStringLiteral("Jo"));
    EXPECT_EQ(frame.ediplz->text(), QStringLiteral("01234"));
    EXPECT_EQ(frame.ediOrt->text(), QString());
    EXPECT_EQ(frame.ediemail->text(), QStringLiteral("before"));
}

}  // namespace
}  // namespace kivrel
