#include "base/accessible.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "base/messages.h"

namespace kivrel {
namespace {

TEST(Accessible, CaptionsAreReadWithoutTheirAccessMarks) {
    const std::pair<const char*, const char*> cases[] = {
        {"&Nachname:", "Nachname"},
        {"&Ge&wichtsklasse:", "Gewichtsklasse"},  // two marked letters
        {"OK && Weite&r", "OK & Weiter"},
        {"&Postleitzahl und ", "Postleitzahl und"},
        {"Spalten der Datei:", "Spalten der Datei"},
    };
    for (const auto& [caption, name] : cases) {
        QLabel label(QString::fromUtf8(caption));
        QLineEdit field;
        NameAfterLabel(label, field);
        EXPECT_EQ(field.accessibleName(), QString::fromUtf8(name)) << caption;
        EXPECT_EQ(label.buddy(), &field);
    }
}

// The warning box takes the window's activation and gives it back: the field still says why.
// Moving on to another control ends it.
TEST(Accessible, ARefusedFieldSaysWhyUntilTheFocusMovesOn) {
    ScriptedBoxes boxes;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new QLineEdit;
    auto* other = new QLineEdit;
    layout->addWidget(field);
    layout->addWidget(other);
    field->setAccessibleDescription(QStringLiteral("eigene Beschreibung"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();

    RefuseInput(*field, "Bitte geben Sie den Vereinsnamen an.");
    RefuseInput(*field, "Bitte geben Sie Ihren Nachnamen an.");  // one after the other
    EXPECT_EQ(boxes.texts().size(), 2u);
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_EQ(field->accessibleDescription(),
              QStringLiteral("Bitte geben Sie Ihren Nachnamen an."));
    QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(field, &deactivated);
    EXPECT_EQ(field->accessibleDescription(),
              QStringLiteral("Bitte geben Sie Ihren Nachnamen an."));
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_EQ(field->accessibleDescription(), QStringLiteral("eigene Beschreibung"));
}

}  // namespace
}  // namespace kivrel
