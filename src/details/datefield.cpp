#include "details/datefield.h"

#include <QCalendarWidget>
#include <QDate>
#include <QKeyEvent>
#include <QTextCharFormat>
#include <QToolButton>
#include <utility>

#include "base/accessible.h"
#include "base/daynumber.h"
#include "base/inputfield.h"
#include "base/qtext.h"

namespace kivrel {

namespace {

constexpr int kButtonWidth = 17;

// Blanks for the places not yet typed; "0" takes a digit but does not demand one, so a
// half-typed date is kept as it stands and simply has no value.
const QString kMask = QStringLiteral("00.00.0000; ");

}  // namespace

TDateField::TDateField(QWidget* parent) : QLineEdit(parent) {
    setInputMask(kMask);
    UseInputRules(*this);

    button_ = new QToolButton(this);
    button_->setArrowType(Qt::DownArrow);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    // An arrow alone says nothing to a screen reader.
    button_->setAccessibleName(QStringLiteral("Kalender öffnen"));
    button_->setToolTip(QStringLiteral("Kalender öffnen"));
    setTextMargins(0, 0, kButtonWidth, 0);
    connect(button_, &QToolButton::clicked, this, &TDateField::ShowCalendar);
}

double TDateField::value() const {
    return ParseDate(FromQt(text())).value_or(0);
}

void TDateField::setValue(double dayNumber) {
    // An empty text makes the mask show its blanks again.
    setText(ToQt(FormatDate(dayNumber)));
}

QCalendarWidget* TDateField::Calendar() {
    if (calendar_)
        return calendar_;
    calendar_ = new QCalendarWidget(this);
    calendar_->setWindowFlags(Qt::Popup);
    calendar_->setLocale(QLocale(QLocale::German, QLocale::Germany));
    calendar_->setFirstDayOfWeek(Qt::Monday);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    QTextCharFormat weekend;
    // Red as in Windows' calendar (4:1 on white; the Sa and So columns say it as well), the
    // scheme's text colour where red would hardly stand out (a high-contrast scheme).
    weekend.setForeground(Legible(Qt::red, calendar_->palette(), QPalette::Base, 3.0));
    calendar_->setWeekdayTextFormat(Qt::Saturday, weekend);
    calendar_->setWeekdayTextFormat(Qt::Sunday, weekend);
    // Qt leaves the month arrows and the month grid unnamed for a screen reader.
    calendar_->setAccessibleName(QStringLiteral("Kalender"));
    for (const auto& [object, name] : {std::pair("qt_calendar_prevmonth", "Voriger Monat"),
                                       {"qt_calendar_nextmonth", "Nächster Monat"},
                                       {"qt_calendar_yearedit", "Jahr"},
                                       {"qt_calendar_calendarview", "Tage des Monats"}}) {
        if (auto* control = calendar_->findChild<QWidget*>(QLatin1String(object)))
            control->setAccessibleName(QString::fromUtf8(name));
    }
    connect(calendar_, &QCalendarWidget::clicked, this, &TDateField::Pick);
    connect(calendar_, &QCalendarWidget::activated, this, &TDateField::Pick);
    return calendar_;
}

void TDateField::ShowCalendar() {
    QDate date = QDate::currentDate();
    if (const auto day = DateFromDayNumber(value()))
        date = QDate(day->year, day->month, day->day);
    QCalendarWidget* calendar = Calendar();
    calendar->setSelectedDate(date);
    calendar->adjustSize();
    calendar->move(mapToGlobal(QPoint(0, height())));
    calendar->show();
    calendar->setFocus(Qt::PopupFocusReason);
}

void TDateField::Pick(QDate date) {
    calendar_->hide();
    if (const auto day = DayNumberFromDate(date.year(), date.month(), date.day()))
        setValue(*day);
    setFocus(Qt::PopupFocusReason);
}

void TDateField::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier) ||
        (event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier)) {
        ShowCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDateField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    button_->setGeometry(width() - kButtonWidth - 2, 2, kButtonWidth, height() - 4);
}

}  // namespace kivrel
