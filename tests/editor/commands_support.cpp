#include "CommandsFixture.h"

#include <QPlainTextEdit>
#include <QTest>

void CommandsTest::FocusCode()
{
    form->mmHTMLCode->SetFocus();
    EXPECT_TRUE(testsupport::WaitFor([&] { return form->mmHTMLCode->Focused(); }, 5000));
}

void CommandsTest::Type(const QString& text)
{
    FocusCode();
    for (const QChar c : text) {
        // A key that gives a character past ASCII has no key code of its own: only its text.
        if (c.unicode() < 0x80)
            QTest::keyClick(form->mmHTMLCode->Editor(), c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, form->mmHTMLCode->Editor(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
