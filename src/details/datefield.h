#pragma once

#include <QLineEdit>

class QCalendarWidget;
class QToolButton;

namespace kivrel {

// A date typed as "dd.MM.yyyy" into a fixed template (digits only, untyped places blank),
// with a button at its right end that drops down a month calendar. An empty field stays
// empty; nothing fills in today's date.
class TDateField : public QLineEdit {
    Q_OBJECT

public:
    explicit TDateField(QWidget* parent = nullptr);

    // The day number, 0 when the field is empty or holds no valid date.
    double value() const;
    // 0, or a number that is no calendar date, empties the field.
    void setValue(double dayNumber);

    // Drops the calendar down below the field, on the field's date or today.
    void ShowCalendar();
    // Made when first needed: its month buttons look their icons up in the icon theme,
    // which the start need not wait for.
    QCalendarWidget* Calendar();
    QToolButton* DropDownButton() const { return button_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Alt+Down and F4 drop the calendar down, as in Windows' date fields: the button takes
    // no focus.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Pick(QDate date);

    QToolButton* button_;
    QCalendarWidget* calendar_ = nullptr;
};

}  // namespace kivrel
