// Find's start and its forward search, without the window.
#include "TextSearch.h"

#include <gtest/gtest.h>

#include <QList>
#include <QString>

using textsearch::FindForward;
using textsearch::SearchStart;

namespace {

// Runs Find repeatedly as Find Next does: each match becomes the selection.
QList<qsizetype> Matches(const QString& text, const QString& what, qsizetype caret, bool matchCase)
{
    QList<qsizetype> found;
    qsizetype start = caret, length = 0;
    for (;;) {
        const qsizetype at = FindForward(text, what, SearchStart(start, length), matchCase);
        if (at < 0) return found;
        found.append(at);
        start = at;
        length = what.size();
    }
}

TEST(TextSearch, MatchesOverlapAndEachIsPassedOverOnce)
{
    EXPECT_EQ(Matches("aaaa", "aa", 0, true), QList<qsizetype>({0, 1, 2}));
    EXPECT_EQ(Matches("<p>x</p>", "<", 0, true), QList<qsizetype>({0, 4}));
}

TEST(TextSearch, AMatchAtTheCaretIsFound)
{
    EXPECT_EQ(FindForward(u"<html>", u"<html", SearchStart(0, 0), true), 0);
    EXPECT_EQ(FindForward(u"ab ab", u"ab", SearchStart(3, 0), true), 3);
    // With that match selected the search moves on.
    EXPECT_EQ(FindForward(u"ab ab", u"ab", SearchStart(3, 2), true), -1);
}

TEST(TextSearch, CaseFoldsAsciiLettersOnly)
{
    EXPECT_EQ(FindForward(u"<Body>", u"<BODY>", 0, false), 0);
    EXPECT_EQ(FindForward(u"<Body>", u"<BODY>", 0, true), -1);
    EXPECT_EQ(FindForward(u"xÄy", u"ä", 0, false), -1);
    EXPECT_EQ(FindForward(u"x[y", u"{", 0, false), -1);  // '[' is not a folded '{'
    EXPECT_EQ(FindForward(u"x@y", u"`", 0, false), -1);
}

TEST(TextSearch, MatchesAtTheEndAndNothingPastIt)
{
    const QString text = QString(1000, 'x') + "END";
    EXPECT_EQ(FindForward(text, u"end", 0, false), 1000);
    EXPECT_EQ(FindForward(text, u"END!", 0, false), -1);
    EXPECT_EQ(FindForward(text, u"END", 1001, true), -1);
    EXPECT_EQ(FindForward(text, u"", 0, true), -1);
    EXPECT_EQ(FindForward(u"", u"a", 0, false), -1);
}

}  // namespace
