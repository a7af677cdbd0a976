#include "StdCtrls.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

struct ChangeCounter : QObject {
    int count = 0;
    void Changed(TObject*) { ++count; }
};

}  // namespace

TEST(Memo, TextLinesAndSelectionShareOnePositionScheme)
{
    TMemo memo(nullptr);
    ChangeCounter changes;
    memo.SetOnChange(TNotifyEvent(&changes, &ChangeCounter::Changed));

    memo.SetText("ab\r\ncd\rx\u00A0y");
    EXPECT_EQ(memo.Text(), QString("ab\ncd\nx\u00A0y"));  // the non-breaking space survives
    EXPECT_EQ(changes.count, 1);
    ASSERT_EQ(memo.Lines()->Count(), 3);
    EXPECT_EQ(memo.Lines()->Strings(1), "cd");
    EXPECT_EQ(memo.Lines()->Text(), QString("ab\r\ncd\r\nx\u00A0y\r\n"));

    memo.SetSelStart(3);
    memo.SetSelLength(4);
    EXPECT_EQ(memo.SelText(), "cd\nx");
    EXPECT_EQ(memo.SelLength(), 4);
    memo.SetSelText("Z");
    EXPECT_EQ(memo.Text(), QString("ab\nZ\u00A0y"));
    EXPECT_EQ(memo.SelStart(), 4);
    EXPECT_EQ(memo.SelLength(), 0);
    EXPECT_EQ(changes.count, 2);

    memo.SetSelStart(100);  // clamped
    EXPECT_EQ(memo.SelStart(), memo.Text().size());
    memo.SetSelStart(1);
    memo.SetSelLength(100);
    EXPECT_EQ(memo.SelText(), QString("b\nZ\u00A0y"));
    memo.SelectAll();
    memo.ClearSelection();
    EXPECT_EQ(memo.Text(), "");
    EXPECT_EQ(memo.Lines()->Count(), 0);
}

TEST(Memo, LinesEditTheText)
{
    TMemo memo(nullptr);
    TStrings* lines = memo.Lines();
    lines->Add("one");
    lines->Add("three");
    lines->Insert(1, "two");
    EXPECT_EQ(memo.Text(), "one\ntwo\nthree\n");
    lines->Delete(0);
    lines->Put(1, "3");
    EXPECT_EQ(lines->ToStringList(), QStringList({"two", "3"}));
    EXPECT_THROW(lines->Strings(2), EStringListError);
    lines->SetText("a\r\nb\r\n");
    EXPECT_EQ(lines->Count(), 2);
    TStringList source;
    source.Add("x");
    memo.SetLines(&source);
    EXPECT_EQ(memo.Text(), "x\n");
    lines->Clear();
    EXPECT_TRUE(memo.Text().isEmpty());
}

TEST(Memo, UndoRedoModifiedAndTyping)
{
    TMemo memo(nullptr);
    ChangeCounter changes;
    memo.SetOnChange(TNotifyEvent(&changes, &ChangeCounter::Changed));
    memo.SetText("base");
    EXPECT_EQ(memo.Lines()->Strings(0), "base");
    EXPECT_FALSE(memo.CanUndo());
    EXPECT_FALSE(memo.Modified());
    memo.SetSelStart(4);
    QTest::keyClicks(memo.Editor(), "XY");
    EXPECT_EQ(memo.Text(), "baseXY");
    EXPECT_EQ(memo.Lines()->Strings(0), "baseXY");  // typing refreshes the lines too
    EXPECT_TRUE(memo.Modified());
    EXPECT_EQ(changes.count, 3);
    ASSERT_TRUE(memo.CanUndo());
    memo.Undo();
    EXPECT_EQ(memo.Text(), "base");
    EXPECT_TRUE(memo.CanRedo());
    memo.Redo();
    EXPECT_EQ(memo.Text(), "baseXY");
    EXPECT_EQ(changes.count, 5);  // undo and redo change the text too

    memo.SetReadOnly(true);
    QTest::keyClicks(memo.Editor(), "Q");
    EXPECT_EQ(memo.Text(), "baseXY");
}

TEST(Memo, SharedTextFollowsEveryKindOfEdit)
{
    TMemo memo(nullptr);
    memo.SetText("first line\nsecond\u00a0line\n");
    EXPECT_EQ(memo.SharedText().ToString(), memo.Text());
    QString big;
    for (int i = 0; i < 3000; ++i) big += QStringLiteral("line %1 with some text\n").arg(i);
    QString expectedAfter;
    const std::function<void()> edits[] = {
        [&] {
            memo.SetSelStart(5);
            QTest::keyClicks(memo.Editor(), "typed");
        },
        [&] {
            memo.SetSelStart(3);
            QTest::keyClick(memo.Editor(), Qt::Key_Return);
        },
        [&] {
            memo.SetSelStart(2);
            QTest::keyClick(memo.Editor(), Qt::Key_Backspace);
        },
        [&] {
            memo.SetSelStart(0);
            QTest::keyClick(memo.Editor(), Qt::Key_Delete);
        },
        [&] {
            memo.SetSelStart(4);
            memo.SetSelLength(12);
            memo.SetSelText("multi\nline\r\npaste");
        },
        [&] { memo.Undo(); },
        [&] { memo.Undo(); },
        [&] { memo.Redo(); },
        [&] { memo.SetText(big); },
        [&] {
            memo.SetSelStart(40000);
            memo.SetSelLength(20000);
            memo.ClearSelection();
        },
        [&] {
            memo.SelectAll();
            QTest::keyClicks(memo.Editor(), "all gone");
        },
        [&] { memo.Lines()->Insert(0, "via the lines"); },
        [&] { memo.Clear(); },
        [&] { QTest::keyClicks(memo.Editor(), "again"); },
    };
    int step = 0;
    for (const auto& edit : edits) {
        const TSharedText before = memo.SharedText();
        const QString beforeText = before.ToString();
        edit();
        EXPECT_EQ(memo.SharedText().ToString(), memo.Text()) << "edit " << step;
        EXPECT_EQ(before.ToString(), beforeText) << "edit " << step;  // a taken copy keeps its text
        ++step;
    }
}

TEST(Memo, ScrollBarsDecideWrapping)
{
    TMemo memo(nullptr);
    QPlainTextEdit* e = memo.Editor();
    EXPECT_EQ(e->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    memo.SetScrollBars(ssVertical);
    EXPECT_EQ(e->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(e->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    memo.SetScrollBars(ssBoth);  // a horizontal bar means no wrapping
    EXPECT_EQ(e->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(e->lineWrapMode(), QPlainTextEdit::NoWrap);
    memo.SetScrollBars(ssNone);
    memo.SetWordWrap(false);
    EXPECT_EQ(e->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST(Memo, ClipboardCommands)
{
    TMemo memo(nullptr);
    memo.SetText("cut me");
    memo.SetSelStart(0);
    memo.SetSelLength(4);
    memo.CutToClipboard();
    EXPECT_EQ(memo.Text(), "me");
    EXPECT_EQ(QApplication::clipboard()->text(), "cut ");
    memo.SetSelStart(2);
    memo.PasteFromClipboard();
    EXPECT_EQ(memo.Text(), "mecut ");
}

// Mime data without any format is what the clipboard gives when nothing owns it; the stock
// pane's paste would crash on it. Every way of pasting takes the text alone, or nothing.
TEST(Memo, EveryWayOfPastingTakesTextOrNothing)
{
    const auto drop = [](TMemo& memo) {
        QWidget* viewport = memo.Editor()->viewport();
        const QPoint at(viewport->width() - 2, viewport->height() - 2);  // after the text
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDropEvent event(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    const std::pair<const char*, std::function<void(TMemo&)>> ways[] = {
        {"command", [](TMemo& memo) { memo.PasteFromClipboard(); }},
        {"Ctrl+V", [](TMemo& memo) { QTest::keyClick(memo.Editor(), Qt::Key_V, Qt::ControlModifier); }},
        {"Shift+Insert", [](TMemo& memo) { QTest::keyClick(memo.Editor(), Qt::Key_Insert, Qt::ShiftModifier); }},
        {"menu item", [](TMemo& memo) { memo.Editor()->paste(); }},
        {"drop", drop},
    };
    struct Clip {
        const char* name;
        std::function<QMimeData*()> data;
        bool readOnly;
        const char* expected;
    };
    const auto text = [](const char* t) {
        return [t] {
            auto* data = new QMimeData;
            data->setText(t);
            return data;
        };
    };
    const Clip clips[] = {
        {"no format at all", [] { return new QMimeData; }, false, "keep"},
        {"markup only",
         [] {
             auto* data = new QMimeData;
             data->setHtml("<b>x</b>");
             return data;
         },
         false, "keep"},
        {"text with CR LF", text("a\r\nb"), false, "keepa\nb"},
        {"text into a read-only memo", text("a"), true, "keep"},
    };
    for (const auto& [way, paste] : ways) {
        for (const Clip& clip : clips) {
            SCOPED_TRACE(std::string(way) + ", " + clip.name);
            TMemo memo(nullptr);
            memo.Editor()->show();
            memo.Editor()->setFocus();
            memo.SetText("keep");
            memo.SetSelStart(4);
            memo.SetReadOnly(clip.readOnly);
            QApplication::clipboard()->setMimeData(clip.data());
            paste(memo);
            EXPECT_EQ(memo.Text(), clip.expected);
        }
    }
}

TEST(Edit, TextChangeAndMaxLength)
{
    TEdit edit(nullptr);
    ChangeCounter changes;
    edit.SetOnChange(TNotifyEvent(&changes, &ChangeCounter::Changed));
    edit.SetText("C:/pages");
    EXPECT_EQ(edit.Text(), "C:/pages");
    EXPECT_EQ(changes.count, 1);
    QTest::keyClicks(edit.Editor(), "/x");
    EXPECT_EQ(edit.Text(), "C:/pages/x");
    EXPECT_EQ(changes.count, 3);
    edit.SetMaxLength(4);
    edit.SetText("abcdef");
    EXPECT_EQ(edit.Text(), "abcd");
    edit.SetMaxLength(0);
    edit.SetText(QString(40000, 'a'));
    EXPECT_EQ(edit.Text().size(), 40000);
    edit.SetReadOnly(true);
    EXPECT_TRUE(edit.ReadOnly());
}

TEST(Label, AutoSizeFollowsCaptionAndFont)
{
    TLabel label(nullptr);
    label.SetCaption("Code:    ");
    const int width = label.Width();
    EXPECT_GT(width, 0);
    label.Font()->SetHeight(-26);
    EXPECT_GT(label.Width(), width);
    label.SetTransparent(true);
    EXPECT_FALSE(label.Handle()->autoFillBackground());
    label.SetAutoSize(false);
    label.SetCaption("A much longer caption than before");
    EXPECT_EQ(label.GetText(), "A much longer caption than before");
}
