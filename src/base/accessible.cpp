#include "base/accessible.h"

#include <QColor>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>

#include "base/messages.h"
#include "base/qtext.h"

#include <algorithm>
#include <cmath>

namespace kivrel {

namespace {

// Gives the field its own description back once the user moves on; the warning box taking
// the window's activation is no moving on.
class RefusalDescription : public QObject {
public:
    RefusalDescription(QWidget& field, const QString& text)
        : QObject(&field), field_(field), own_(field.accessibleDescription()) {
        field.setAccessibleDescription(text);
        field.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &field_ && event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                Restore();
        }
        return false;
    }

    void Restore() {
        field_.removeEventFilter(this);
        field_.setAccessibleDescription(own_);
        deleteLater();
        // Found no more by the next refusal, which may come before the deletion.
        setParent(nullptr);
    }

private:
    QWidget& field_;
    QString own_;
};

// WCAG's relative luminance of an sRGB colour.
double Luminance(const QColor& colour) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Legible(const QColor& colour, const QPalette& palette, QPalette::ColorRole background,
               double minimum) {
    const QPalette::ColorRole text =
        background == QPalette::Window ? QPalette::WindowText : QPalette::Text;
    return ContrastRatio(colour, palette.color(background)) >= minimum ? colour
                                                                       : palette.color(text);
}

void SetTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, Legible(colour, palette, QPalette::Window));
    widget.setPalette(palette);
}

void ShowAsLink(QLabel& label) {
    QFont font = label.font();
    font.setUnderline(true);
    label.setFont(font);
    SetTextColour(label, Qt::blue);
    label.setCursor(Qt::PointingHandCursor);
}

QString CaptionName(const QString& caption) {
    QString name;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        name += caption[i];
    }
    name = name.trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    return name;
}

void NameAfterLabel(QLabel& label, QWidget& field) {
    label.setBuddy(&field);
    // The label's name too: a screen reader may read a field's label as well (Qt names a
    // drop-down list by its current item on Linux, its label only told by a relation).
    label.setAccessibleName(CaptionName(label.text()));
    field.setAccessibleName(label.accessibleName());
}

void RefuseInput(QWidget& field, const std::string& text) {
    // A refusal before it replaces the one the user has not moved away from yet.
    const QObjectList children = field.children();
    for (QObject* child : children) {
        if (auto* earlier = dynamic_cast<RefusalDescription*>(child))
            earlier->Restore();
    }
    new RefusalDescription(field, ToQt(text));
    ShowWarning(text);
    field.setFocus();
}

}  // namespace kivrel
