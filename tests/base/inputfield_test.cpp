#include "base/inputfield.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <string>

#include "base/dialogkeys.h"

namespace kivrel {
namespace {

void TypeChar(QWidget& w, QChar ch) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(&w, &press);
}

TEST(InputRules, CharactersOutsideWindows1252AndControlsAreRefusedTypedOrPasted) {
    QLineEdit field;
    UseInputRules(field);
    field.show();
    for (const QChar ch : QStringLiteral("Łódź €5"))
        TypeChar(field, ch);
    EXPECT_EQ(field.text(), QStringLiteral("ód €5"));

    field.clear();
    QApplication::clipboard()->setText(QStringLiteral("Zoë\tŁukasz\n😀Straße\r\n"));
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field.text(), QStringLiteral("ZoëukaszStraße"));
    EXPECT_EQ(field.cursorPosition(), field.text().size());
}

TEST(InputRules, KeyFilterSeesTypedCharactersAndBackspaceOnly) {
    QLineEdit field;
    std::string seen;
    UseInputRules(field, [&](QLineEdit& sender, char key) {
        EXPECT_EQ(&sender, &field);
        seen += key;
        return key != 'x' && key != '\b';
    });
    field.show();
    QTest::keyClicks(&field, "axb");
    TypeChar(field, QChar(0x00E4));  // ä reaches the filter as its byte
    TypeChar(field, QChar(0x0141));  // Ł never reaches it
    // AltGr+E on a German Windows keyboard: Ctrl+Alt typing the euro sign.
    QKeyEvent altGr(QEvent::KeyPress, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier,
                    QStringLiteral("€"));
    QApplication::sendEvent(&field, &altGr);
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), QStringLiteral("abä€"));
    QTest::keyClick(&field, Qt::Key_Left);
    QTest::keyClick(&field, Qt::Key_Delete);
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(field.text(), QStringLiteral("abä"));
    EXPECT_EQ(seen, std::string("axb\xE4\x80\b"));
}

TEST(InputRules, RemovingRefusedCharactersKeepsCaretAndLeavesCleanTextAlone) {
    QLineEdit field;
    UseInputRules(field);
    QObject::connect(&field, &QLineEdit::textChanged,
                     [&] { RemoveRefusedCharacters(field, [](char c) { return c != '/'; }); });
    field.show();
    QTest::keyClicks(&field, "U12");
    // Typed text that is clean is never written back, so its undo history stays.
    EXPECT_TRUE(field.isUndoAvailable());

    field.setCursorPosition(1);
    QApplication::clipboard()->setText(QStringLiteral("/1/"));
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field.text(), QStringLiteral("U112"));
    EXPECT_EQ(field.cursorPosition(), 2);

    field.setText(QStringLiteral("a/b/c"));
    EXPECT_EQ(field.text(), QStringLiteral("abc"));

    field.setSelection(1, 2);
    EXPECT_EQ(SelStart(field), 1);
    field.setCursorPosition(3);
    EXPECT_EQ(SelStart(field), 3);
}

TEST(DefaultButton, EnterPressesTheDefaultOrTheFocusedButtonAndNothingWhenItIsHidden) {
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    auto* check = new QCheckBox(&dialog);
    auto* first = new QPushButton(QStringLiteral("first"), &dialog);
    auto* other = new QPushButton(QStringLiteral("other"), &dialog);
    auto* fallback = new QPushButton(QStringLiteral("fallback"), &dialog);
    UseDefaultButton(dialog, other);
    int firstClicks = 0;
    int otherClicks = 0;
    QObject::connect(first, &QPushButton::clicked, [&] { ++firstClicks; });
    QObject::connect(other, &QPushButton::clicked, [&] { ++otherClicks; });
    QObject::connect(fallback, &QPushButton::clicked, [&] { ADD_FAILURE() << "auto-default"; });
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_FALSE(first->autoDefault());

    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    check->setFocus();
    QTest::keyClick(check, Qt::Key_Enter);
    EXPECT_EQ(otherClicks, 2);

    // A focused button takes Enter itself, also when it is not the default.
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(firstClicks, 1);

    // Having had the focus gives a button no claim on Enter later.
    other->hide();
    fallback->setFocus();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(otherClicks, 2);
    EXPECT_EQ(firstClicks, 1);
    EXPECT_TRUE(dialog.isVisible());

    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace kivrel
