// The memo's layout lays out an edited paragraph as the stock plain-text layout does, and the
// view's scroll range follows it; a long run without a break point breaks where the line is
// full, a very long line is laid out where the view needs it first, and unwrapped text too
// wide for one line wraps at the view's edge.
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

// Every paragraph's lines: where each starts, how long it is, where it sits.
std::string Lines(QPlainTextEdit* e)
{
    QString out;
    for (QTextBlock b = e->document()->firstBlock(); b.isValid(); b = b.next()) {
        QTextLayout* l = b.layout();
        out += QStringLiteral("[%1:").arg(b.lineCount());
        for (int i = 0; i < l->lineCount(); ++i)
            out += QStringLiteral(" %1+%2@%3")
                       .arg(l->lineAt(i).textStart())
                       .arg(l->lineAt(i).textLength())
                       .arg(l->lineAt(i).y());
        out += u']';
    }
    return out.toStdString();
}

struct Pair {
    TMemo memo{nullptr};
    QPlainTextEdit stock;
    QPlainTextEdit* ours = memo.Editor();

    explicit Pair(const QString& text, int width = 260)
    {
        stock.setFrameStyle(ours->frameStyle());
        for (QPlainTextEdit* e : {ours, &stock}) {
            e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            e->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            e->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
            e->resize(width, 120);
            e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            e->setPlainText(text);
            e->show();
        }
    }
    void Type(int position, const QString& keys)
    {
        for (QPlainTextEdit* e : {ours, &stock}) {
            QTextCursor c = e->textCursor();
            c.setPosition(position);
            e->setTextCursor(c);
            for (QChar k : keys) {
                if (k == u'\b')
                    QTest::keyClick(e, Qt::Key_Backspace);
                else if (k == u'\n')
                    QTest::keyClick(e, Qt::Key_Return);
                else
                    QTest::keyClicks(e, QString(k));
            }
            QApplication::processEvents();
        }
    }
    // Presses the keys in both panes; the cursor positions after each press, ours and stock's.
    std::pair<std::vector<int>, std::vector<int>> Press(int position, const std::vector<Qt::Key>& keys)
    {
        std::vector<int> positions[2];
        int side = 0;
        for (QPlainTextEdit* e : {ours, &stock}) {
            QTextCursor c = e->textCursor();
            c.setPosition(position);
            e->setTextCursor(c);
            for (Qt::Key k : keys) {
                QTest::keyClick(e, k);
                positions[side].push_back(e->textCursor().position());
            }
            ++side;
        }
        return {positions[0], positions[1]};
    }
    void SetWrap(QPlainTextEdit::LineWrapMode mode)
    {
        for (QPlainTextEdit* e : {ours, &stock}) e->setLineWrapMode(mode);
        QApplication::processEvents();
    }
    void ExpectSame(const char* when)
    {
        EXPECT_EQ(Lines(ours), Lines(&stock)) << when;
        EXPECT_EQ(ours->document()->lineCount(), stock.document()->lineCount()) << when;
        EXPECT_EQ(ours->verticalScrollBar()->maximum(), stock.verticalScrollBar()->maximum()) << when;
        EXPECT_EQ(ours->horizontalScrollBar()->maximum(), stock.horizontalScrollBar()->maximum()) << when;
    }
};

TEST(WrappedTextLayout, TypedParagraphsWrapAndScrollAsTheStockLayoutDoes)
{
    QString text;
    for (int i = 0; i < 40; ++i) text += QStringLiteral("<p>paragraph %1 with a few words</p>\n").arg(i);
    Pair p(text);
    p.ExpectSame("loaded");

    // Words that wrap, a word longer than a line, deletes that unwrap, all inside one paragraph.
    const int at = int(text.indexOf(QStringLiteral("</p>")));
    p.Type(at, QStringLiteral(" and some more words that wrap onto new lines"));
    p.ExpectSame("after words");
    p.Type(at, QStringLiteral("averyveryverylongwordwithoutanybreakinsideitatall"));
    p.ExpectSame("after a long word");
    p.Type(at + 20, QStringLiteral("\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b"));
    p.ExpectSame("after deletes");
    // Across paragraphs and unwrapped: the stock path.
    p.Type(at, QStringLiteral("\nnew paragraph"));
    p.ExpectSame("after a break");
    for (QPlainTextEdit* e : {p.ours, &p.stock}) e->setLineWrapMode(QPlainTextEdit::NoWrap);
    p.Type(at + 3, QStringLiteral("words that make the widest line wider\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b"));
    p.ExpectSame("unwrapped");
}

// A run of n characters in which no line may break.
QString Unbroken(int n)
{
    QString run;
    for (int i = 0; i < n; ++i) run += QChar(u'A' + i % 26);
    return run;
}

TEST(WrappedTextLayout, RunsWithoutBreakPointsBreakAsTheStockLayoutBreaksThem)
{
    // Short runs cost the stock layout little, so both panes can lay them out.
    const struct {
        const char* what;
        QString text;
        int width = 260;
    } cases[] = {
        {"a paragraph that is one run", Unbroken(3000)},
        {"a run after words", QStringLiteral("<img alt=\"x\" src=\"data:image/png;base64,") + Unbroken(3000) + "\">"},
        {"an indented run", QStringLiteral("        ") + Unbroken(3000)},
        {"words after a run",
         Unbroken(2500) + QStringLiteral(" and then words that wrap at their boundaries as usual")},
        {"runs between spaces", Unbroken(700) + " " + Unbroken(1200) + " x " + Unbroken(900) + "\t" + Unbroken(300)},
        {"a run just too short to be long",
         QStringLiteral("w ").repeated(900) + Unbroken(255) + " " + Unbroken(256) + " tail"},
        {"a run among paragraphs",
         QStringLiteral("<p>first</p>\n") + Unbroken(2600) + QStringLiteral("\n<p>last</p>\n")},
        {"long runs that fit a wide line", (QStringLiteral("some words ") + Unbroken(300) + " more words").repeated(4),
         3000},
    };
    for (const auto& c : cases) {
        Pair p(c.text, c.width);
        QApplication::processEvents();
        p.ExpectSame((std::string(c.what) + ", loaded").c_str());
        // Typing inside the run, deleting, and a space splitting it lay it out the same way.
        const int at = int(c.text.lastIndexOf(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"))) + 10;
        p.Type(at, QStringLiteral("typed inside"));
        p.ExpectSame(c.what);
        p.Type(at, QStringLiteral("\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b"));
        p.ExpectSame(c.what);
        p.Type(at, QStringLiteral(" "));
        p.ExpectSame(c.what);
        // Unwrapped, and wrapped again.
        p.SetWrap(QPlainTextEdit::NoWrap);
        p.ExpectSame(c.what);
        p.SetWrap(QPlainTextEdit::WidgetWidth);
        p.ExpectSame(c.what);
    }
}

TEST(WrappedTextLayout, CursorMovesThroughALongRunAsInTheStockPane)
{
    Pair p(QStringLiteral("<p>before</p>\n<img src=\"") + Unbroken(3000) + QStringLiteral("\"> after\n<p>end</p>"));
    const std::vector<Qt::Key> down(8, Qt::Key_Down), up(8, Qt::Key_Up);
    const struct {
        const char* what;
        int position;
        std::vector<Qt::Key> keys;
    } cases[] = {
        {"down from above", 3, down},
        {"up from below", 3030, up},
        {"line ends and starts",
         700,
         {Qt::Key_End, Qt::Key_End, Qt::Key_Right, Qt::Key_Home, Qt::Key_Left, Qt::Key_Down}},
        {"pages", 10, {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp}},
    };
    for (const auto& c : cases) {
        const auto [ours, stock] = p.Press(c.position, c.keys);
        EXPECT_EQ(ours, stock) << c.what;
    }
}

// A memo 300 by 200 in the pinned font, shown with the text.
QPlainTextEdit* ShowText(TMemo& memo, const QString& text)
{
    QPlainTextEdit* e = memo.Editor();
    e->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    e->resize(300, 200);
    memo.SetText(text);
    e->show();
    QApplication::processEvents();
    return e;
}

TEST(WrappedTextLayout, EveryLineOfARunButItsLastFillsTheWidth)
{
    // Far too long a run for the stock layout to lay out in a test's time.
    TMemo memo(nullptr);
    const int length = 200000;
    const QString first = QStringLiteral("<p>x</p>\n");
    QPlainTextEdit* e = ShowText(memo, first + Unbroken(length) + QStringLiteral(" tail"));

    const QTextBlock block = e->document()->findBlockByNumber(1);
    QTextLayout* layout = block.layout();
    ASSERT_GT(layout->lineCount(), 2);
    const qreal advance = QFontMetricsF(e->font()).horizontalAdvance(u'A');
    const qreal width = layout->lineAt(0).width();
    const int perLine = int(width / advance);
    int covered = 0;
    for (int i = 0; i + 1 < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        ASSERT_EQ(line.textStart(), covered) << "line " << i;
        ASSERT_EQ(line.textLength(), perLine) << "line " << i;
        covered += line.textLength();
    }
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    EXPECT_EQ(last.textStart() + last.textLength(), block.length() - 1);
    EXPECT_LE(last.textLength(), perLine);
    EXPECT_EQ(e->document()->lineCount(), layout->lineCount() + 1);

    // Typing at the run's end adds to its last line only.
    memo.SetSelStart(int(first.size()) + length);
    memo.SetSelText(QStringLiteral("ZZ"));
    QApplication::processEvents();
    EXPECT_EQ(layout->lineAt(layout->lineCount() - 2).textStart(), covered - perLine);
}

TEST(WrappedTextLayout, AVeryLongLineIsLaidOutWhereTheViewNeedsItAndEditsKeepItsTextAndLines)
{
    // Too long to be laid out whole at every edit: the view's part first, the rest later.
    TMemo memo(nullptr);
    const QString first = QStringLiteral("<p>x</p>\n");
    const QString head = QStringLiteral("<img alt=\"a picture\" src=\"");
    const int length = 280000;
    QString line = head + Unbroken(length) + QStringLiteral("\"> tail");
    QPlainTextEdit* e = ShowText(memo, first + line);
    const QTextBlock block = e->document()->findBlockByNumber(1);
    QTextLayout* layout = block.layout();
    const int perLine = int(layout->lineAt(0).width() / QFontMetricsF(e->font()).horizontalAdvance(u'A'));
    // The run starts a line and fills every line up to its last.
    const auto runStart = [&] { return int(line.indexOf(QStringLiteral("src="))); };
    const auto runEnd = [&] { return int(line.indexOf(QStringLiteral(" tail"))); };
    const auto lineStart = [&](int inBlock) { return runStart() + (inBlock - runStart()) / perLine * perLine; };
    const auto expectLineOf = [&](int inBlock, const char* when) {
        const QTextLine l = layout->lineForTextPosition(inBlock);
        ASSERT_TRUE(l.isValid()) << when << " at " << inBlock;
        if (inBlock >= runStart() && lineStart(inBlock) + perLine < runEnd()) {
            EXPECT_EQ(l.textStart(), lineStart(inBlock)) << when << " at " << inBlock;
        }
    };

    const int start = int(block.position());
    const struct {
        const char* what;
        int at;  // in the paragraph
        QString typed;
        std::vector<Qt::Key> keys;
    } cases[] = {
        {"in the middle", length / 2, QStringLiteral("abc"), {Qt::Key_Down, Qt::Key_Down, Qt::Key_End, Qt::Key_Right}},
        {"near the end", length - 3, QStringLiteral("zy"), {Qt::Key_Up, Qt::Key_Home, Qt::Key_PageUp}},
        {"before the run", 5, QStringLiteral("Q"), {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_Down}},
    };
    for (const auto& c : cases) {
        memo.SetSelStart(start + c.at);
        QApplication::processEvents();
        expectLineOf(c.at, c.what);
        // Typing keeps the text exact, and the cursor where it was typed, on screen.
        QTest::keyClicks(e, c.typed);
        line.insert(c.at, c.typed);
        ASSERT_EQ(e->document()->findBlockByNumber(1).text(), line) << c.what;
        EXPECT_EQ(memo.SelStart(), start + c.at + int(c.typed.size())) << c.what;
        EXPECT_TRUE(e->viewport()->rect().contains(e->cursorRect())) << c.what;
        // A click where the cursor is drawn puts it there; keys move it line by line.
        EXPECT_EQ(e->cursorForPosition(e->cursorRect().center()).position(), memo.SelStart()) << c.what;
        for (Qt::Key k : c.keys) QTest::keyClick(e, k);
        expectLineOf(memo.SelStart() - start, c.what);
        EXPECT_EQ(e->document()->findBlockByNumber(1).text(), line) << c.what;
        // Every edit below shifts the run's lines by what was typed before.
        line.remove(c.at, int(c.typed.size()));
        memo.Undo();
        ASSERT_EQ(e->document()->findBlockByNumber(1).text(), line) << c.what << ", undone";
    }

    // Later the rest is laid out, each line of the run filling the width.
    ASSERT_TRUE(testsupport::WaitFor([&] {
        QApplication::processEvents();
        const QTextLine last = layout->lineAt(layout->lineCount() - 1);
        return last.textStart() + last.textLength() == block.length() - 1;
    }));
    EXPECT_EQ(e->document()->lineCount(), layout->lineCount() + 1);
    for (int i = 0; i < layout->lineCount(); ++i) expectLineOf(layout->lineAt(i).textStart(), "laid out whole");
    memo.SetSelStart(start + int(line.size()));
    QApplication::processEvents();
    EXPECT_TRUE(e->viewport()->rect().contains(e->cursorRect()));
}

TEST(WrappedTextLayout, OfTwoVeryLongLinesEachCanTakeTheCursorAnywhere)
{
    TMemo memo(nullptr);
    const int length = 300000;
    QPlainTextEdit* e = ShowText(memo, Unbroken(length) + QStringLiteral("\n") + Unbroken(length));
    for (const int at : {length / 2, length + 1 + length / 2, length - 5, 10}) {
        memo.SetSelStart(at);
        QApplication::processEvents();
        const QTextBlock block = e->document()->findBlock(at);
        const QTextLine line = block.layout()->lineForTextPosition(at - block.position());
        ASSERT_TRUE(line.isValid()) << at;
        EXPECT_TRUE(e->viewport()->rect().contains(e->cursorRect())) << at;
        EXPECT_EQ(e->cursorForPosition(e->cursorRect().center()).position(), at) << at;
    }
}

TEST(WrappedTextLayout, UnwrappedParagraphTooWideForOneLineWrapsAtTheViewsEdge)
{
    TMemo memo(nullptr);
    QPlainTextEdit* e = memo.Editor();
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(400);  // a line of a few hundred thousand characters overflows
    e->setFont(font);
    e->resize(400, 300);
    memo.SetScrollBars(ssBoth);
    const QString text = Unbroken(150000) + QStringLiteral("\n<p>short</p>");
    memo.SetText(text);
    e->show();
    QApplication::processEvents();

    // Every character can be reached: no line is wider than the view, or negative.
    QTextLayout* layout = e->document()->firstBlock().layout();
    ASSERT_GT(layout->lineCount(), 1);
    for (int i = 0; i < layout->lineCount(); ++i) {
        ASSERT_GE(layout->lineAt(i).naturalTextWidth(), 0) << "line " << i;
        ASSERT_LE(layout->lineAt(i).naturalTextWidth(), e->viewport()->width()) << "line " << i;
    }
    // The short paragraph stays unwrapped.
    EXPECT_EQ(e->document()->lastBlock().layout()->lineCount(), 1);

    // Wrapping on and off again keeps it so; so does typing in it.
    memo.SetScrollBars(ssVertical);
    QApplication::processEvents();
    memo.SetScrollBars(ssBoth);
    memo.SetSelStart(100);
    memo.SetSelText(QStringLiteral("typed"));
    QApplication::processEvents();
    layout = e->document()->firstBlock().layout();
    ASSERT_GT(layout->lineCount(), 1);
    EXPECT_LE(layout->lineAt(0).naturalTextWidth(), e->viewport()->width());
}

}  // namespace

// The first n lines of a paragraph: where each starts, how long it is, where it sits.
std::vector<std::string> FirstLines(const QTextBlock& block, int n)
{
    std::vector<std::string> lines;
    QTextLayout* l = block.layout();
    for (int i = 0; i < std::min(n, l->lineCount()); ++i)
        lines.push_back(QStringLiteral("%1+%2@%3 w%4")
                            .arg(l->lineAt(i).textStart())
                            .arg(l->lineAt(i).textLength())
                            .arg(l->lineAt(i).y())
                            .arg(l->lineAt(i).naturalTextWidth())
                            .toStdString());
    return lines;
}

TEST(WrappedTextLayout, EditsLeaveALongParagraphsLinesAsAFreshLayoutGivesThem)
{
    // Words, runs without a break point long and short, spaces, tabs and wider characters, in
    // a paragraph laid out whole at each edit and in one laid out where the view needs it.
    QString mixed;
    for (int i = 0; i < 6; ++i)
        mixed += QStringLiteral("<img alt=\"caf\u00e9 %1\" src=\"data:image/png;base64,").arg(i) +
                 Unbroken(1500 + 97 * i) + QStringLiteral("\">  words\tthat wrap \u20ac\u4e2d\u6587 at their ends; ") +
                 Unbroken(200) + u' ';
    const QString paragraphs[] = {mixed, mixed.repeated(24)};
    const QString first = QStringLiteral("<p>x</p>\n");

    for (const QString& paragraph : paragraphs) {
        TMemo memo(nullptr);
        QPlainTextEdit* e = ShowText(memo, first + paragraph);
        const int start = int(first.size());
        QTextLayout* layout = e->document()->findBlockByNumber(1).layout();
        const auto lineStart = [&](int line) { return start + layout->lineAt(line).textStart(); };
        const int run = start + int(paragraph.indexOf(QStringLiteral("base64,"), paragraph.size() / 2)) + 7;
        const int words = start + int(paragraph.indexOf(QStringLiteral("words"), paragraph.size() / 2));
        const int runLines = 1500 / int(layout->lineAt(0).width() / QFontMetricsF(e->font()).horizontalAdvance(u'A'));
        const struct {
            const char* what;
            std::function<int()> at;
            int select;  // characters deleted first
            QString typed;
        } edits[] = {
            {"a key amid a run", [&] { return run + 700; }, 0, QStringLiteral("x")},
            {"keys at a line's start", [&] { return lineStart(layout->lineCount() / 2); }, 0, QStringLiteral("abc")},
            {"a space splitting a run", [&] { return run + 300; }, 0, QStringLiteral(" ")},
            {"the space deleted", [&] { return run + 300; }, 1, QString()},
            {"a line's worth deleted across a run's lines", [&] { return run + 400; }, 90, QString()},
            {"most of a run deleted", [&] { return run + 2; }, 1400, QString()},
            {"a run typed into words", [&] { return words + 2; }, 0, Unbroken(600)},
            {"words typed before the run", [&] { return run - 20; }, 0, QStringLiteral("two words ")},
            {"a run's lines deleted into the words after", [&] { return lineStart(runLines); }, 2000, QString()},
            {"a key at the paragraph's start", [&] { return start; }, 0, QStringLiteral("y")},
            {"a key at its end", [&] { return start + e->document()->findBlockByNumber(1).length() - 1; }, 0,
             QStringLiteral("z")},
        };
        for (const auto& edit : edits) {
            const std::string what = std::string(edit.what) + (paragraph.size() > mixed.size() ? ", long" : "");
            QTextCursor cursor = e->textCursor();
            cursor.setPosition(edit.at());
            cursor.setPosition(cursor.position() + edit.select, QTextCursor::KeepAnchor);
            e->setTextCursor(cursor);
            if (edit.select > 0) QTest::keyClick(e, Qt::Key_Delete);
            QTest::keyClicks(e, edit.typed);
            QApplication::processEvents();

            // A fresh pane given the text, its cursor where ours is, has laid out the same lines
            // as far as both have laid them out.
            TMemo fresh(nullptr);
            QPlainTextEdit* f = ShowText(fresh, e->toPlainText());
            QTextCursor freshCursor = f->textCursor();
            freshCursor.setPosition(e->textCursor().position());
            f->setTextCursor(freshCursor);
            QApplication::processEvents();
            const QTextBlock ours = e->document()->findBlockByNumber(1), theirs = f->document()->findBlockByNumber(1);
            const int n = std::min(ours.layout()->lineCount(), theirs.layout()->lineCount());
            ASSERT_GT(n, 0) << what;
            EXPECT_GE(ours.layout()->lineForTextPosition(e->textCursor().position() - ours.position()).lineNumber(), 0)
                << what;
            ASSERT_EQ(FirstLines(ours, n), FirstLines(theirs, n)) << what;
            // Laid out whole, so are all its lines; laid out partly, its line count is estimated.
            if (paragraph.size() == mixed.size()) {
                EXPECT_EQ(ours.layout()->lineCount(), theirs.layout()->lineCount()) << what;
                EXPECT_EQ(e->document()->lineCount(), f->document()->lineCount()) << what;
            }
        }
    }
}
