// The memo's text copy follows every kind of edit, and its length limit.
#include "Shell.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// What Text() must give: the document read afresh.
QString Fresh(const TMemo& memo)
{
    QString raw = memo.Editor()->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    return raw;
}

TEST(MemoText, TheCopyFollowsTypingPastingUndoAndProgramEdits)
{
    TMemo memo(nullptr);
    memo.SetText("line one\nline two\n");
    EXPECT_EQ(memo.Text(), Fresh(memo));
    QPlainTextEdit* e = memo.Editor();
    e->show();
    e->setFocus();

    memo.SetSelStart(5);
    QTest::keyClicks(e, "big ");
    EXPECT_EQ(memo.Text(), "line big one\nline two\n");
    QTest::keyClick(e, Qt::Key_Return);
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClick(e, Qt::Key_Backspace);
    EXPECT_EQ(memo.Text(), Fresh(memo));

    QApplication::clipboard()->setText("a\r\nb\rc\u2029d");
    memo.SetSelStart(0);
    memo.SetSelLength(9);
    memo.PasteFromClipboard();
    EXPECT_EQ(memo.Text(), Fresh(memo));
    memo.Undo();
    EXPECT_EQ(memo.Text(), Fresh(memo));
    memo.Redo();
    EXPECT_EQ(memo.Text(), Fresh(memo));

    // Edits made on the widget or its document directly.
    QTextCursor c(e->document());
    c.movePosition(QTextCursor::End);
    c.insertText("tail\u00A0!");
    c.setPosition(2);
    c.setPosition(7, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    EXPECT_EQ(memo.Text(), Fresh(memo));
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    EXPECT_EQ(memo.Text(), "");
    e->setPlainText("set on the widget\n");
    EXPECT_EQ(memo.Text(), Fresh(memo));
}

TEST(MemoText, ALimitCutsWhatTypingAddsButNotSetText)
{
    TMemo memo(nullptr);
    memo.SetMaxLength(5);
    memo.SetText("1234567");  // set by the program: kept whole
    EXPECT_EQ(memo.Text(), "1234567");
    memo.SetText("123");
    memo.Editor()->show();
    memo.Editor()->setFocus();
    memo.SetSelStart(1);
    QTest::keyClicks(memo.Editor(), "abc");
    EXPECT_EQ(memo.Text(), "1ab23");
    EXPECT_EQ(memo.SelStart(), 3);
}

TEST(Shell, ProgramsStartDetachedAndFailuresAreTold)
{
    const QString dir = testsupport::TempDir();
    EXPECT_EQ(ShellExecute(dir + "/none"), SE_ERR_FNF);
    QFile plain(dir + "/plain.txt");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_EQ(ShellExecute(plain.fileName()), SE_ERR_ACCESSDENIED);
    EXPECT_EQ(ShellExecute(dir), SE_ERR_ACCESSDENIED);

    const QString program = dir + "/prog";
    QFile p(program);
    ASSERT_TRUE(p.open(QIODevice::WriteOnly));
    p.write("#!/bin/sh\necho \"$@\" > \"$0.out\"\n");
    p.close();
    p.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ShellExecute(program, {"a b", "c"}), SE_OK);
    EXPECT_TRUE(testsupport::WaitFor([&] {
        QFile out(program + ".out");
        return out.open(QIODevice::ReadOnly) && out.readAll() == "a b c\n";
    }));
}

}  // namespace
