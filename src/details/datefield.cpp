#include "details/datefield.h"

#include <QCalendarWidget>
#include <QDate>
#include <QTextCharFormat>
#include <QToolButton>

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
    weekend.setForeground(Qt::red);
    calendar_->setWeekdayTextFormat(Qt::Saturday, weekend);
    calendar_->setWeekdayTextFormat(Qt::Sunday, weekend);
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

void TDateField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    button_->setGeometry(width() - kButtonWidth - 2, 2, kButtonWidth, height() - 4);
}

}  // namespace kivrel
