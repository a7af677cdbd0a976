#include "CommandsFixture.h"

#include <QPlainTextEdit>
#include <QTest>

void CommandsTest::FocusCode() {
    form->mmHTMLCode->SetFocus();
    EXPECT_TRUE(testsupport::WaitFor([&] { return form->mmHTMLCode->Focused(); }, 5000));
}

void CommandsTest::Type(const QString& text) {
    FocusCode();
    QTest::keyClicks(form->mmHTMLCode->Editor(), text);
}
