// The scanner's fast paths: block-wise search for "<" and ">", runs that span lines, the
// reused event text, shared list entries and the scan's copies of the events.
#include "HTMLParser.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <random>

namespace {

class Events : public QObject {
public:
    QStringList log;
    void Tag(TObject*, QString s) { log << "T:" + s; }
    void Text(TObject*, QString s) { log << "X:" + s; }
    void Comment(TObject*, QString s) { log << "C:" + s; }
    void Link(TObject*, QString s) { log << "L:" + s; }
};

// Every result list of a parse.
QStringList Findings(const TParsed* p)
{
    QStringList out{p->Title(), p->Keyword(), p->Description()};
    for (TStrings* list :
         {p->Hyperlinks(), p->Images(), p->EMails(), p->HTTPlinks(), p->FTPlinks(), p->Locallinks(), p->FramePages()})
        out << list->ToStringList().join(u'|');
    for (int k = 0; k < TParsed::lkCount; ++k) {
        out << p->Kind(TParsed::TLinkKind(k))->Local()->ToStringList().join(u'|');
        out << p->Kind(TParsed::TLinkKind(k))->Remote()->ToStringList().join(u'|');
    }
    return out;
}

// Everything a parse reports: the events and every result list.
QStringList Outcome(const QStringList& lines)
{
    THTMLParser parser(nullptr);
    Events events;
    parser.SetOnFoundTag(TFoundEvent(&events, &Events::Tag));
    parser.SetOnFoundText(TFoundEvent(&events, &Events::Text));
    parser.SetOnFoundComment(TFoundEvent(&events, &Events::Comment));
    parser.SetOnFoundHyperlink(TFoundEvent(&events, &Events::Link));
    parser.HTML()->AddStrings(lines);
    parser.Parse();
    return events.log + Findings(parser.Parsed());
}

// The result lists of a parse without handlers, which looks at possible keyword tags only.
QStringList QuietFindings(const QStringList& lines)
{
    THTMLParser parser(nullptr);
    parser.HTML()->AddStrings(lines);
    parser.Parse();
    return Findings(parser.Parsed());
}

QString SampleDocument()
{
    QString doc = QStringLiteral("<html><head><title lang=\"en\">A <b>t</b></title ><meta name=keyword content=\"k\">");
    const char* const pieces[] = {
        "<a href=\"http://h/p.htm\">link</a> ",
        "<img src=\"i.gif\" alt=x>",
        "<!-- note --> ",
        "text > more ",
        "<a href=mailto:x@y.org>m</a>",
        "<frame src=f.htm>",
        "<a href=\"ftp://h/f.zip\">",
        "<p class=c>para</p>",
        "<a href=\"https://h/s.php?q=1\">s</a>",
        "<<i>x</i>",
        "<td>cell</td>",
        "<a name=\"top\">",
    };
    std::mt19937 rng(99);
    while (doc.size() < 4000) doc += QString::fromUtf8(pieces[rng() % std::size(pieces)]);
    return doc;
}

}  // namespace

TEST(HTMLParserScan, LineSplitsDoNotChangeTheOutcome)
{
    // No line break is added between lines, so cutting the text anywhere into non-empty lines
    // must report the same, with handlers or without. The cuts put "<" and ">" on every side
    // of the blocks the scan reads at once.
    const QString doc = SampleDocument();
    const QStringList expected = Outcome({doc});
    ASSERT_GT(expected.size(), 100);
    const QStringList expectedLists = QuietFindings({doc});
    ASSERT_EQ(expected.mid(expected.size() - expectedLists.size()), expectedLists);
    std::mt19937 rng(5);
    for (int round = 0; round < 40; ++round) {
        QStringList lines;
        const int longest = 1 + round * 5;
        for (qsizetype at = 0; at < doc.size();) {
            const qsizetype n = 1 + qsizetype(rng() % unsigned(longest));
            lines << doc.mid(at, n);
            at += n;
        }
        ASSERT_EQ(Outcome(lines), expected) << "longest line " << longest;
        ASSERT_EQ(QuietFindings(lines), expectedLists) << "longest line " << longest;
    }
}

TEST(HTMLParserScan, RunsAcrossLinesWithoutMarks)
{
    // A middle line without "<" or ">" belongs to the run that started before it.
    const QStringList out = Outcome({"ab<a ", "href=\"x.htm\"", "title=t>cd", "ef", "gh<i>"});
    EXPECT_EQ(out.mid(0, 4), QStringList({"X:ab", "T:a href=\"x.htm\"title=t>", "X:cdefgh", "T:i>"}));
    EXPECT_EQ(out.at(7), "x.htm");  // Hyperlinks, after the events and the three texts
}

namespace {
class Keeper : public QObject {
public:
    QStringList kept;
    void Tag(TObject*, QString s)
    {
        kept << s;
        s += "changed";  // the handler's own copy; must not leak into the next event
    }
};
}  // namespace

TEST(HTMLParserScan, EventTextsStayIntactWhenKeptOrChanged)
{
    THTMLParser parser(nullptr);
    Keeper keeper;
    parser.SetOnFoundTag(TFoundEvent(&keeper, &Keeper::Tag));
    parser.HTML()->AddStrings(QStringList({"<a long tag with text>x<b>y<c d>"}));
    parser.Parse();
    EXPECT_EQ(keeper.kept, QStringList({"a long tag with text>", "b>", "c d>"}));
}

TEST(HTMLParserScan, RepeatedAndManyDistinctEntries)
{
    // More distinct links than the scanner keeps for sharing, then the same again: every entry
    // must still be the link written, whichever string it shares.
    QStringList lines, expected;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < 600; ++i) {
            const QString href = QStringLiteral("p%1.htm").arg(i * 7 % 600);
            lines << QStringLiteral("<a href=\"%1\"><img src=\"%1\">").arg(href);
            expected << href;
        }
    lines << "<img src=\"\"><a href=\"mailto:\">";
    THTMLParser parser(nullptr);
    parser.HTML()->AddStrings(lines);
    parser.Parse();
    TParsed* p = parser.Parsed();
    EXPECT_EQ(p->Hyperlinks()->ToStringList(), expected + QStringList({"mailto:"}));
    EXPECT_EQ(p->Images()->ToStringList(), expected + QStringList({""}));
    ASSERT_EQ(p->EMails()->Count(), 1);
    EXPECT_TRUE(p->EMails()->Strings(0).isEmpty());
    EXPECT_FALSE(p->Images()->Strings(1200).isNull());  // an empty value stays an empty string
}

namespace {
// Hands the tag event to a second handler after the first tag, and starts a nested pass.
class Switcher : public QObject {
public:
    THTMLParser* parser = nullptr;
    QStringList first, second;
    void First(TObject*, QString s)
    {
        first << s;
        parser->SetOnFoundTag(TFoundEvent(this, &Switcher::Second));
    }
    void Second(TObject*, QString s)
    {
        second << s;
        if (second.size() == 1) {
            parser->SetOnFoundTag({});
            parser->Parse();  // nested: scans the same lines without a tag handler
            parser->SetOnFoundTag(TFoundEvent(this, &Switcher::Second));
        }
    }
};
}  // namespace

TEST(HTMLParserScan, HandlersMayReassignEventsAndParseAgain)
{
    THTMLParser parser(nullptr);
    Switcher switcher;
    switcher.parser = &parser;
    parser.SetOnFoundTag(TFoundEvent(&switcher, &Switcher::First));
    parser.HTML()->AddStrings(QStringList({"<a href=\"1.htm\"><b>", "<i><a href=\"2.htm\">"}));
    parser.Parse();
    EXPECT_EQ(switcher.first, QStringList({"a href=\"1.htm\">"}));
    EXPECT_EQ(switcher.second, QStringList({"b>", "i>", "a href=\"2.htm\">"}));
    EXPECT_EQ(parser.LinesParsed(), 2);
    // The nested pass found both links; the outer pass then added the second again.
    EXPECT_EQ(parser.Parsed()->Hyperlinks()->ToStringList(), QStringList({"1.htm", "2.htm", "2.htm"}));
}

TEST(HTMLParserScan, ATagHoldingACommentOpenerIsNeverReportedAsATag)
{
    // The opener is looked for eight characters at a time: put it at every place of tags of
    // every length around those blocks, and a "!-" that is not one at the very end.
    for (int size = 3; size <= 40; ++size) {
        for (int at = 0; at + 3 <= size; ++at) {
            QString body(size, u'x');
            body.replace(at, 3, QStringLiteral("!--"));
            const QStringList out = Outcome({"<" + body + ">"});
            EXPECT_FALSE(out.first().startsWith(u"T:")) << body.toStdString();
        }
        QString almost(size - 2, u'y');
        almost += u"!-";
        EXPECT_EQ(Outcome({"<" + almost + ">"}).first(), "T:" + almost + ">");
    }
}
