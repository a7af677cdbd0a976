// The memo's layout lays out an edited paragraph as the stock plain-text layout does, and the
// view's scroll range follows it.
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

// Every paragraph's lines: where each starts, how long it is, where it sits.
std::string Lines(QPlainTextEdit* e) {
    QString out;
    for (QTextBlock b = e->document()->firstBlock(); b.isValid(); b = b.next()) {
        QTextLayout* l = b.layout();
        out += QStringLiteral("[%1:").arg(b.lineCount());
        for (int i = 0; i < l->lineCount(); ++i)
            out += QStringLiteral(" %1+%2@%3").arg(l->lineAt(i).textStart()).arg(l->lineAt(i).textLength()).arg(l->lineAt(i).y());
        out += u']';
    }
    return out.toStdString();
}

struct Pair {
    TMemo memo{nullptr};
    QPlainTextEdit stock;
    QPlainTextEdit* ours = memo.Editor();

    explicit Pair(const QString& text) {
        stock.setFrameStyle(ours->frameStyle());
        for (QPlainTextEdit* e : {ours, &stock}) {
            e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            e->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            e->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
            e->resize(260, 120);
            e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            e->setPlainText(text);
            e->show();
        }
    }
    void Type(int position, const QString& keys) {
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
    void ExpectSame(const char* when) {
        EXPECT_EQ(Lines(ours), Lines(&stock)) << when;
        EXPECT_EQ(ours->document()->lineCount(), stock.document()->lineCount()) << when;
        EXPECT_EQ(ours->verticalScrollBar()->maximum(), stock.verticalScrollBar()->maximum()) << when;
        EXPECT_EQ(ours->horizontalScrollBar()->maximum(), stock.horizontalScrollBar()->maximum()) << when;
    }
};

TEST(WrappedTextLayout, TypedParagraphsWrapAndScrollAsTheStockLayoutDoes) {
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

}  // namespace
