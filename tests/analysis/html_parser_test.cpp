#include "HTMLParser.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

namespace {

// Collects every event a parser fires.
class Recorder : public QObject {
public:
    QStringList tags, texts, comments, links;
    QList<int> parsingLines;
    int parsingCount = -1;

    void Tag(TObject*, QString s) { tags << s; }
    void Text(TObject*, QString s) { texts << s; }
    void Comment(TObject*, QString s) { comments << s; }
    void Link(TObject*, QString s) { links << s; }
    void Parsing(TObject*, int line, int count)
    {
        parsingLines << line;
        parsingCount = count;
    }
};

struct Scanned {
    std::unique_ptr<THTMLParser> parser = std::make_unique<THTMLParser>(nullptr);
    Recorder events;

    explicit Scanned(bool withParsing = false)
    {
        parser->SetOnFoundTag(TFoundEvent(&events, &Recorder::Tag));
        parser->SetOnFoundText(TFoundEvent(&events, &Recorder::Text));
        parser->SetOnFoundComment(TFoundEvent(&events, &Recorder::Comment));
        parser->SetOnFoundHyperlink(TFoundEvent(&events, &Recorder::Link));
        if (withParsing) parser->SetOnParsing(TParsingEvent(&events, &Recorder::Parsing));
    }
    Scanned& Parse(const QStringList& lines)
    {
        parser->HTML()->Clear();
        parser->HTML()->AddStrings(lines);
        parser->Parse();
        return *this;
    }
    TParsed* Parsed() const { return parser->Parsed(); }
};

QStringList List(TStrings* s)
{
    return s->ToStringList();
}

}  // namespace

TEST(HTMLParser, SplitsTagsAndText)
{
    Scanned r;
    r.Parse({"<b>bold</b> end"});
    EXPECT_EQ(r.events.tags, QStringList({"b>", "/b>"}));
    EXPECT_EQ(r.events.texts, QStringList({"bold"}));  // text after the last tag is not reported

    // A "<" inside a tag starts the tag text afresh; ">" outside a tag is plain text.
    Scanned restart;
    restart.Parse({"a>b<x <i>c<p"});
    EXPECT_EQ(restart.events.tags, QStringList({"i>"}));
    EXPECT_EQ(restart.events.texts, QStringList({"a>b", "c"}));  // the unclosed "<p" is dropped

    Scanned attrs;
    attrs.Parse({R"(<a href="x">)"});
    EXPECT_EQ(attrs.events.tags, QStringList({R"(a href="x">)"}));
}

TEST(HTMLParser, LinesRunOnWithoutBreaks)
{
    Scanned r;
    r.Parse({"one", "", "two<a ", "", "href=\"p.htm\">x</a>", "<a", "href=\"q.htm\">"});
    EXPECT_EQ(r.events.texts, QStringList({"onetwo", "x"}));
    EXPECT_EQ(r.events.tags, QStringList({"a href=\"p.htm\">", "/a>", "ahref=\"q.htm\">"}));
    // "<a" at a line end joins the next line's "href" into one word: no link.
    EXPECT_EQ(List(r.Parsed()->Hyperlinks()), QStringList({"p.htm"}));
}

TEST(HTMLParser, Comments)
{
    Scanned r;
    r.Parse({"<!-- note --><!--x--><!-- ><!-- -->"});
    // "<!--x-->" has no blank after "<!--": neither tag nor comment. Short comments give
    // empty text.
    EXPECT_EQ(r.events.comments, QStringList({"note ", "", ""}));
    EXPECT_TRUE(r.events.tags.isEmpty());
}

TEST(HTMLParser, LinksByProtocol)
{
    Scanned r;
    r.Parse({R"(<a href="mailto:me@host.org">)", R"(<a href="ftp://h/f.zip">)", R"(<a href="HTTP://h/">)",
             R"(<a href="local/page">)", R"(<a href="https://h/p.htm">)", R"(<a href="news://group">)"});
    TParsed* p = r.Parsed();
    EXPECT_EQ(List(p->EMails()), QStringList({"me@host.org"}));
    EXPECT_EQ(List(p->FTPlinks()), QStringList({"ftp://h/f.zip"}));
    EXPECT_EQ(List(p->HTTPlinks()), QStringList({"HTTP://h/"}));
    EXPECT_EQ(List(p->Locallinks()), QStringList({"local/page"}));
    EXPECT_EQ(r.events.links, QStringList({"https://h/p.htm", "news://group"}));
    EXPECT_EQ(p->Hyperlinks()->Count(), 6);
    EXPECT_EQ(p->Hyperlinks()->Strings(0), "mailto:me@host.org");
    // Secure http is not "HTTP://": the page counts as local.
    EXPECT_EQ(List(p->HTML()->Local()), QStringList({"https://h/p.htm"}));
    EXPECT_EQ(p->HTML()->Remote()->Count(), 0);
}

TEST(HTMLParser, LinksByKind)
{
    struct Case {
        const char* href;
        TParsed::TLinkKind kind;
    };
    const Case cases[] = {
        {"a/index.HTML", TParsed::lkHTML}, {"p.shtm?x=1", TParsed::lkHTML}, {"i.jpeg", TParsed::lkImage},
        {"i.Png", TParsed::lkImage},       {"s.mp3", TParsed::lkMedia},     {"m.mpeg", TParsed::lkMedia},
        {"x.class", TParsed::lkJava},      {"s.js", TParsed::lkJava},       {"d.asp", TParsed::lkASP},
        {"b/run.cgi", TParsed::lkPERL},    {"s.pl", TParsed::lkPERL},       {"q.php3?a=b", TParsed::lkPHP},
        {"c.cab", TParsed::lkActiveX},
    };
    for (const Case& c : cases) {
        Scanned r;
        r.Parse(
            {QStringLiteral("<a href=\"%1\">").arg(c.href), QStringLiteral("<a href=\"http://h/%1\">").arg(c.href)});
        EXPECT_EQ(List(r.Parsed()->Kind(c.kind)->Local()), QStringList({c.href})) << c.href;
        EXPECT_EQ(r.Parsed()->Kind(c.kind)->Remote()->Count(), 1) << c.href;
    }
    // No file name: no "." after the last "/", a "." only in the query, the host alone.
    Scanned none;
    none.Parse({R"(<a href="v1.2/file">)", R"(<a href="page?f=a.htm">)", R"(<a href="http://h.htm">)",
                R"(<a href="x.txt">)", R"(<a href="mailto:a@b.htm">)"});
    for (int k = 0; k < TParsed::lkCount; ++k) {
        const TLocalRemote* lists = none.Parsed()->Kind(TParsed::TLinkKind(k));
        const int expected = k == TParsed::lkHTML ? 2 : 0;  // the host and the mail domain look like pages
        EXPECT_EQ(lists->Local()->Count() + lists->Remote()->Count(), expected) << k;
    }
}

TEST(HTMLParser, AnchorsWithoutHrefAreNoLinks)
{
    Scanned r;
    r.Parse({R"(<a name="top"><A NAME=x><a href=""><a>)", R"(<a href="https://x">)"});
    EXPECT_EQ(r.Parsed()->Hyperlinks()->Count(), 1);
    EXPECT_EQ(r.Parsed()->Locallinks()->Count(), 0);
    EXPECT_EQ(r.events.links, QStringList({"https://x"}));
}

TEST(HTMLParser, ImagesFramesAndUnquotedValues)
{
    Scanned r;
    r.Parse({R"(<img src="a.gif"><IMG SRC=b.png><img alt="x" src="c d.jpg" width=3><img>)",
             R"(<frame src="top.htm"><FRAME name=f src=f.htm>)", R"(<A HREF=p.htm>)"});
    // An unquoted value keeps the character that ended it.
    EXPECT_EQ(List(r.Parsed()->Images()), QStringList({"a.gif", "b.png>", "c d.jpg"}));
    EXPECT_EQ(List(r.Parsed()->FramePages()), QStringList({"top.htm", "f.htm>"}));
    EXPECT_EQ(List(r.Parsed()->HTML()->Local()), QStringList({"p.htm>"}));
}

TEST(HTMLParser, Meta)
{
    Scanned r;
    r.Parse({R"(<meta name="Keyword" content="a, b">)", R"(<meta name="description" content="About it">)"});
    EXPECT_EQ(r.Parsed()->Keyword(), "a, b");
    EXPECT_EQ(r.Parsed()->Description(), "About it");

    Scanned other;
    other.Parse({R"(<meta name="keywords" content="no"><meta http-equiv="x" content="y">)"});
    EXPECT_TRUE(other.Parsed()->Keyword().isEmpty());
    EXPECT_TRUE(other.Parsed()->Description().isEmpty());
}

TEST(HTMLParser, Title)
{
    Scanned r;
    r.Parse({R"(<title lang="en">My page</title><b>after</b>)"});
    EXPECT_EQ(r.Parsed()->Title(), "My page");
    EXPECT_FALSE(r.parser->InTitle());
    EXPECT_TRUE(r.parser->TitleEnd().isEmpty());
    // The closing tag ends the title, so the rest of the document is scanned normally.
    EXPECT_EQ(r.events.tags, QStringList({R"(title lang="en">)", "/title>", "b>", "/b>"}));
    EXPECT_EQ(r.events.texts, QStringList({"after"}));

    // Tags inside a title go into the title text; the last text run replaces it.
    Scanned nested;
    nested.Parse({"<TITLE x>A <b>B</b></TITLE >"});
    EXPECT_EQ(nested.Parsed()->Title(), "B</b>");

    // A title tag without attributes gives "TITLE>", which starts no title.
    Scanned plain;
    plain.Parse({"<title>Plain</title>"});
    EXPECT_TRUE(plain.Parsed()->Title().isEmpty());

    // A stray closing tag outside a title keeps the title found earlier, also across parses.
    r.Parse({"<title>x</title>"});
    EXPECT_EQ(r.Parsed()->Title(), "My page");
}

TEST(HTMLParser, UpperCasingIsAsciiOnly)
{
    EXPECT_EQ(THTMLParser::GetAttribute(u"a title=\"ßßß\" href=\"x.htm\">", u"HREF"), "href=\"x.htm\">");
    EXPECT_EQ(THTMLParser::GetAttribute(u"a t=\"ß\" href=ß>", u"href"), "href=ß>");
    Scanned r;
    // Dotless i upper-cases to "I" in Unicode, but "ımg" is no IMG tag.
    r.Parse({R"(<ımg src="n.gif"><a title="Straße" href="http://ß.de/ß.htm">)"});
    EXPECT_EQ(r.Parsed()->Images()->Count(), 0);
    EXPECT_EQ(List(r.Parsed()->HTML()->Remote()), QStringList({"http://ß.de/ß.htm"}));
}

TEST(HTMLParser, LineCountsAndOnParsing)
{
    Scanned r(true);
    r.Parse({"<a>", "", "xy", ""});
    EXPECT_EQ(r.parser->LineCount(), 4);
    EXPECT_EQ(r.parser->LinesParsed(), 3);
    EXPECT_EQ(r.parser->CurrentLine(), 4);
    EXPECT_EQ(r.events.parsingLines, QList<int>({1, 1, 1, 3, 3}));  // once per character
    EXPECT_EQ(r.events.parsingCount, 4);

    Scanned empty(true);
    empty.Parse({});
    EXPECT_EQ(empty.parser->LinesParsed(), 0);
    EXPECT_TRUE(empty.events.parsingLines.isEmpty());
    for (TStrings* list : {empty.Parsed()->Hyperlinks(), empty.Parsed()->Images(), empty.Parsed()->Locallinks()})
        EXPECT_EQ(list->Count(), 0);
}

TEST(HTMLParser, ParseClearsPlainListsOnly)
{
    Scanned r;
    r.Parse({R"(<a href="p.htm"><img src="i.gif">)"});
    r.parser->Parse();
    EXPECT_EQ(r.Parsed()->Hyperlinks()->Count(), 1);
    EXPECT_EQ(r.Parsed()->Images()->Count(), 1);
    EXPECT_EQ(r.Parsed()->HTML()->Local()->Count(), 2);  // the per-kind lists accumulate
}

TEST(HTMLParser, SetHTMLCopiesTheLines)
{
    THTMLParser parser(nullptr);
    TStringList source;
    source.Add("<a href=\"x.htm\">");
    parser.SetHTML(&source);
    source.Clear();
    parser.SetHTML(parser.HTML());  // assigning its own list keeps it
    ASSERT_EQ(parser.HTML()->Count(), 1);
    parser.Parse();
    EXPECT_EQ(parser.Parsed()->Locallinks()->Count(), 1);
    parser.SetHTML(nullptr);
    EXPECT_EQ(parser.HTML()->Count(), 0);
}

namespace {
// A handler that changes the parser under the scan: empties the input and unassigns itself.
class Meddler : public QObject {
public:
    THTMLParser* parser = nullptr;
    int calls = 0;
    void Tag(TObject*, QString)
    {
        ++calls;
        parser->HTML()->Clear();
        parser->SetOnFoundTag({});
    }
};
}  // namespace

TEST(HTMLParser, HandlersMayChangeTheParserDuringAScan)
{
    THTMLParser parser(nullptr);
    Meddler meddler;
    meddler.parser = &parser;
    parser.HTML()->AddStrings(QStringList({"<b>", "<a href=\"x.htm\">"}));
    parser.SetOnFoundTag(TFoundEvent(&meddler, &Meddler::Tag));
    parser.Parse();
    EXPECT_EQ(meddler.calls, 1);
    EXPECT_EQ(parser.Parsed()->Hyperlinks()->Count(), 1);  // the scan goes on over the lines it started with
}

TEST(HTMLParserAttributes, GetAttribute)
{
    EXPECT_EQ(THTMLParser::GetAttribute(u"a href=\"x y\" id=2>", u"HREF"), "href=\"x y\" ");
    EXPECT_EQ(THTMLParser::GetAttribute(u"img src=a.gif>", u"src"), "src=a.gif>");
    EXPECT_EQ(THTMLParser::GetAttribute(u"a b=c", u"b"), "b=c");  // stops at the last character
    EXPECT_EQ(THTMLParser::GetAttribute(u"a class=\"href\" href=\"x\">", u"href"), "href\" href=\"x\">");
    EXPECT_TRUE(THTMLParser::GetAttribute(u"a name=x>", u"href").isEmpty());
    EXPECT_TRUE(THTMLParser::GetAttribute(u"", u"href").isEmpty());
    EXPECT_TRUE(THTMLParser::GetAttribute(u"a>", u"").isEmpty());
}

TEST(HTMLParserAttributes, ValuesAndQuotes)
{
    EXPECT_EQ(THTMLParser::GetAttributeValue(u"href=\"x y\" "), "x y");
    EXPECT_EQ(THTMLParser::GetAttributeValue(u"src=a.gif>"), "a.gif>");
    EXPECT_EQ(THTMLParser::GetAttributeValue(u"src=\"a=b\">"), "a=b");
    EXPECT_EQ(THTMLParser::GetAttributeValue(u"src=\"open>"), "open>");
    EXPECT_TRUE(THTMLParser::GetAttributeValue(u"href>").isEmpty());
    EXPECT_EQ(THTMLParser::ExtractQuoted(u"a'b'c", u'\''), "b");
    EXPECT_EQ(THTMLParser::ExtractQuoted(u"plain", u'"'), "plain");
    EXPECT_EQ(THTMLParser::ExtractQuoted(u"x\"rest", u'"'), "rest");
    EXPECT_EQ(THTMLParser::ExtractQuoted(u"\"\"", u'"'), "");
}
