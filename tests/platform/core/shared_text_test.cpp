#include "SharedText.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <algorithm>

namespace {

QString Join(const TSharedText& t)
{
    QString s;
    for (const QString& p : t.Pieces()) {
        EXPECT_FALSE(p.isEmpty());
        s += p;
    }
    return s;
}

TEST(SharedTextTest, RandomEditsMatchAPlainStringAndCopiesKeepTheirText)
{
    QRandomGenerator random(7);
    QString expected(100000, QLatin1Char('x'));
    for (int i = 0; i < expected.size(); i += 97) expected[i] = QChar(u'a' + i % 26);
    TSharedText text(expected);
    for (int step = 0; step < 600; ++step) {
        const qsizetype at = random.bounded(int(expected.size()) + 1);
        // Mostly keystrokes, now and then a paste or a cut across several pieces.
        const qsizetype removed = step % 50 == 0 ? random.bounded(40000) : random.bounded(3);
        const QString inserted = step % 70 == 0 ? QString(random.bounded(50000), QLatin1Char('p'))
                                                : QString(random.bounded(3), QChar(u'A' + step % 26));
        const TSharedText before = text;
        const QString beforeText = expected;
        text.Replace(at, removed, inserted);
        expected.replace(at, std::min(removed, expected.size() - at), inserted);
        ASSERT_EQ(text.Size(), expected.size()) << step;
        ASSERT_EQ(before.ToString(), beforeText) << step;  // the copy is untouched
    }
    EXPECT_EQ(Join(text), expected);
    EXPECT_EQ(text.ToString(), expected);
    // Deleting everything leaves no empty piece.
    text.Replace(0, text.Size(), {});
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_TRUE(text.Pieces().isEmpty());
    text.Replace(5, 3, u"new");  // clamped to the empty text
    EXPECT_EQ(text.ToString(), "new");
}

TEST(SharedTextTest, SurrogatePairsAreNeverCutBetweenPieces)
{
    QString clef;
    while (clef.size() < 200000) clef += QStringLiteral("\U0001D11E");
    TSharedText text(QStringLiteral("x") + clef);  // odd start: a naive cut would split a pair
    text.Replace(70001, 0, QStringLiteral("y"));
    for (const QString& piece : text.Pieces()) {
        EXPECT_FALSE(piece.front().isLowSurrogate());
        EXPECT_FALSE(piece.back().isHighSurrogate());
    }
    EXPECT_GT(text.Pieces().size(), 1);
}

TEST(SharedTextTest, ALargeTextComesInCutSoThatNoChangeCopiesMoreThanAFewPieces)
{
    const QString whole(200000, QLatin1Char('w'));
    TSharedText text(whole);
    const QList<QString> before = text.Pieces();
    ASSERT_GT(before.size(), 4);
    const TSharedText copy = text;
    text.Replace(100000, 1, u"x");
    EXPECT_EQ(copy.ToString(), whole);
    EXPECT_EQ(text.ToString(), QString(whole).replace(100000, 1, QStringLiteral("x")));
    // Even the first change shares all but the pieces it touches.
    qsizetype shared = 0;
    for (const QString& piece : text.Pieces())
        shared += std::count_if(before.begin(), before.end(),
                                [&](const QString& p) { return p.constData() == piece.constData(); });
    EXPECT_GE(shared, before.size() - 2);
}

}  // namespace
