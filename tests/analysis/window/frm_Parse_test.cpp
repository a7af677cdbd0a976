// The analysis report window headless: enabled pages, filled templates and the written page.
#include "ResScheme.h"
#include "TestSupport.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarBar.h"
#include "dxBarItemLink.h"
#include "frm_Parse.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <optional>

using testsupport::WaitFor;

namespace {
constexpr int kWaitMs = 30000;

class ParseWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetProgramResourcePrefix(QStringLiteral(":/editor")); }

    void TearDown() override
    {
        delete form;
        TfrmParse::SetTemplateFolder(QStringLiteral(":/editor"));
    }

    void Open(const QString& code, const QString& fileName = {})
    {
        TStringList lines;
        lines.SetText(code);
        form = Create<TfrmParse>(nullptr, &lines, fileName);
        form->Show();
    }

    // The text last written into the report browser, once it contains part.
    bool WaitWritten(const QString& part)
    {
        return WaitFor(
            [&] {
                TWebDocument* doc = form->SubBrowser->Document();
                return doc && doc->Text().contains(part);
            },
            kWaitMs);
    }

    QVariant Eval(const QString& script)
    {
        std::optional<QVariant> result;
        form->SubBrowser->Page()->runJavaScript(script, [&](const QVariant& v) { result = v; });
        EXPECT_TRUE(WaitFor([&] { return result.has_value(); }, kWaitMs)) << script.toStdString();
        return result.value_or(QVariant());
    }

    QList<bool> Enabled() const
    {
        return {form->btResults->Enabled(), form->btTags->Enabled(), form->btLinks->Enabled(),
                form->btImages->Enabled(),  form->btText->Enabled(), form->btComments->Enabled()};
    }

    // The figure in the statistics row whose label is label.
    QString Figure(const QString& label) const
    {
        const QRegularExpression row(QRegularExpression::escape("<td>" + label + "</td><td class=\"value\">") +
                                     "([^<]*)</td>");
        return row.match(form->CurrentPage()).captured(1);
    }

    TfrmParse* form = nullptr;
};

const char kSkeleton[] = "<HTML><HEAD><TITLE></TITLE></HEAD><BODY></BODY></HTML>";

const char kLinks[] =
    "<HTML><HEAD><TITLE>Links</TITLE></HEAD>\n"
    "<BODY>Hello <b>world</b>\n"
    "<!-- note -->\n"
    "<a href=\"http://example.com/\">web</a>\n"
    "<a href=\"mailto:me@example.com\">mail</a>\n"
    "<a href=\"pages/local.htm\">local</a>\n"
    "<img src=\"pic.png\">\n"
    "</BODY></HTML>\n";

}  // namespace

TEST_F(ParseWindowTest, EmptyDocumentOffersOnlyStatistics)
{
    Open(QString());
    EXPECT_EQ(Enabled(), QList<bool>({true, false, false, false, false, false}));
    EXPECT_TRUE(form->btParseCancel->Enabled());
    EXPECT_EQ(form->Caption(), "HTML Parser");
    // One flat toolbar, docked left, with the page buttons and then a group for closing.
    EXPECT_EQ(form->SubBarManager->Style(), bmsFlat);
    ASSERT_EQ(form->SubBarManager->Bars()->Count(), 1);
    TdxBar* bar = form->SubBarManager->Bars()->Items(0);
    EXPECT_EQ(bar->Caption(), "Toolbar");
    EXPECT_EQ(bar->DockingStyle(), dsLeft);
    ASSERT_EQ(bar->ItemLinks()->Count(), 7);
    EXPECT_EQ(bar->ItemLinks()->Items(6)->Item(), form->btParseCancel);
    EXPECT_TRUE(bar->ItemLinks()->Items(6)->BeginGroup());
    EXPECT_EQ(form->btLinks->Hint(), form->btLinks->Caption());
    EXPECT_EQ(Figure("HTML tags"), "0");
    EXPECT_EQ(Figure("Hyperlinks"), "0");
    ASSERT_TRUE(WaitWritten("<h1>Document</h1>"));
}

TEST_F(ParseWindowTest, NewDocumentSkeletonShowsStatisticsWithWorkingStyleAndImages)
{
    Open(QString::fromLatin1(kSkeleton));
    EXPECT_EQ(Enabled(), QList<bool>({true, true, false, false, false, false}));
    EXPECT_EQ(form->TagCount, 8);
    EXPECT_EQ(Figure("HTML tags"), "8");
    EXPECT_EQ(Figure("Lines parsed"), "1 of 1");
    EXPECT_EQ(Figure("Characters of normal text"), "0");
    EXPECT_EQ(Figure("Comments"), "0");
    EXPECT_FALSE(form->CurrentPage().contains('{'));  // every placeholder was filled
    ASSERT_TRUE(WaitWritten("<h1>Document</h1>"));
    EXPECT_EQ(form->SubBrowser->View()->contextMenuPolicy(), Qt::NoContextMenu);

    // The base tag makes the page's style sheet and image load from the program.
    EXPECT_TRUE(WaitFor(
        [&] { return Eval("getComputedStyle(document.querySelector('.banner')).display").toString() == "flex"; },
        kWaitMs));
    EXPECT_TRUE(WaitFor([&] { return Eval("document.images[0].naturalWidth").toInt() > 0; }, kWaitMs));
    EXPECT_TRUE(Eval("document.body.innerText").toString().contains("Document"));
}

TEST_F(ParseWindowTest, DocumentWithEveryKindOfContentFillsEachPage)
{
    Open(QString::fromLatin1(kLinks), QStringLiteral("/home/user/site/links.htm"));
    EXPECT_EQ(Enabled(), QList<bool>({true, true, true, true, true, true}));
    EXPECT_TRUE(form->CurrentPage().contains("<h1>links.htm</h1>"));
    EXPECT_EQ(Figure("Hyperlinks"), "3");
    EXPECT_EQ(Figure("Images"), "1");
    EXPECT_EQ(Figure("Comments"), "1");
    EXPECT_EQ(Figure("Characters of normal text"), QString::number(form->TextChars));

    form->btLinks->DirectClick();
    const QString links = form->CurrentPage();
    EXPECT_TRUE(links.contains("<pre class=\"list\">http://example.com/\r\n</pre>")) << links.toStdString();
    EXPECT_TRUE(links.contains("<pre class=\"list\">me@example.com\r\n</pre>"));
    EXPECT_TRUE(links.contains("<pre class=\"list\">pages/local.htm\r\n</pre>"));
    EXPECT_TRUE(links.contains("<pre class=\"list\">NA</pre>"));  // no FTP links
    EXPECT_TRUE(links.contains("FTP links <span class=\"count\">0</span>"));
    EXPECT_TRUE(links.contains("Web links <span class=\"count\">1</span>"));
    EXPECT_TRUE(WaitWritten("http://example.com/"));

    form->btTags->DirectClick();
    EXPECT_TRUE(form->CurrentPage().contains("1. &lt;HTML&gt;<br>2. &lt;HEAD&gt;<br>"));
    form->btImages->DirectClick();
    EXPECT_TRUE(form->CurrentPage().contains("<div class=\"list\">1. pic.png<br></div>"));
    form->btComments->DirectClick();
    EXPECT_TRUE(form->CurrentPage().contains("<div class=\"list\">1. note <br></div>"));
    // Comment and text go in as markup, unescaped; tags are shown as text.
    form->AddComment(nullptr, "a<i>b");
    form->AddText(nullptr, "c<u>d");
    form->AddText(nullptr, QString());  // empty runs are not counted
    form->AddTag(nullptr, "p class=\"x\">");
    EXPECT_TRUE(form->CommentsHTML.endsWith("2. a<i>b<br>"));
    EXPECT_TRUE(form->TagsHTML.endsWith(". &lt;p class=\"x\"&gt;<br>"));
    EXPECT_TRUE(form->TextHTML.endsWith(QString::number(form->TextCount) + ". c<u>d<br>"));
    form->btText->DirectClick();
    EXPECT_TRUE(form->CurrentPage().contains("1. Links<br>2. Hello <br>3. world<br>4. web<br>"));
    EXPECT_TRUE(WaitWritten("c<u>d<br>"));
}

TEST_F(ParseWindowTest, FileNameIsEscapedAndValuesAreNeverScannedAgain)
{
    Open(QString::fromLatin1(kSkeleton), QStringLiteral("/tmp/a<b>&{LINES}.htm"));
    EXPECT_TRUE(form->CurrentPage().contains("<h1>a&lt;b&gt;&amp;{LINES}.htm</h1>"))
        << form->CurrentPage().toStdString();

    using V = QList<QPair<QString, QString>>;
    EXPECT_EQ(TfrmParse::ReplacePlaceholders("{A}-{B}-{A}{a}", V{{"{A}", "{B}"}, {"{B}", "x"}}), "{B}-x-{B}{a}");
    EXPECT_EQ(TfrmParse::ReplacePlaceholders("{TEXTNO}{TEXT}", V{{"{TEXT}", "t"}, {"{TEXTNO}", "9"}}), "9t");
    EXPECT_EQ(TfrmParse::ReplacePlaceholders("", V{{"{A}", "x"}}), "");
}

TEST_F(ParseWindowTest, TemplatesAndBase)
{
    Open(QString::fromLatin1(kSkeleton));
    const QString page = form->LoadTemplate("Tags.htm");
    ASSERT_FALSE(page.isEmpty());
    EXPECT_TRUE(page.endsWith("\r\n"));
    EXPECT_EQ(page.count("\r\n"), page.count('\n'));  // every line ends with CR LF

    const QString based = TfrmParse::InsertResBase("<html><Head><title>x</title></Head></html>");
    const qsizetype head = based.indexOf("<Head>");
    const qsizetype base = based.indexOf("<Base HREF=\"");
    ASSERT_GE(base, 0);
    EXPECT_LT(base, head);
    EXPECT_TRUE(based.mid(base, head - base).endsWith("/\">"));
    EXPECT_TRUE(TfrmParse::InsertResBase("<HEAD></HEAD>").startsWith("<Base HREF=\"res:///"));

    // The base address resolves the templates' style sheet and images in the program.
    const QRegularExpression href("<Base HREF=\"([^\"]*)\">");
    const QUrl baseUrl(href.match(based).captured(1));
    EXPECT_EQ(ResolveResUrl(baseUrl.resolved(QUrl("Style.css"))), ":/editor/Style.css");
    EXPECT_EQ(ResolveResUrl(baseUrl.resolved(QUrl("Logo.svg"))), ":/editor/Logo.svg");
}

TEST_F(ParseWindowTest, MissingTemplateShowsAnEmptyPage)
{
    Open(QString::fromLatin1(kLinks));
    ASSERT_TRUE(WaitWritten("<h1>Document</h1>"));
    TfrmParse::SetTemplateFolder(QStringLiteral(":/no-such-folder"));
    EXPECT_TRUE(form->LoadTemplate("Tags.htm").isEmpty());
    form->btTags->DirectClick();
    EXPECT_TRUE(form->CurrentPage().isEmpty());
    ASSERT_TRUE(WaitFor([&] { return !form->SubBrowser->Document()->Text().contains("Document"); }, kWaitMs));
    EXPECT_TRUE(
        WaitFor([&] { return Eval("document.body ? document.body.innerText : 'x'").toString().isEmpty(); }, kWaitMs));
}

TEST_F(ParseWindowTest, CloseParserEndsTheModalWindowAndFreesTheParser)
{
    TStringList lines;
    lines.SetText(QString::fromLatin1(kSkeleton));
    form = Create<TfrmParse>(nullptr, &lines, QString());
    QTimer::singleShot(0, form, [this] { form->btParseCancel->DirectClick(); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->Parser, nullptr);
    form->btResults->DirectClick();  // nothing left to report: no crash, nothing written
    EXPECT_EQ(form->btResults->Caption(), "Statistics");
}
