// The browser control: navigation events, the res scheme in a page, and document writes.
#include "ResScheme.h"
#include "WebBrowser.h"

#include "DialogScript.h"
#include "DurableFile.h"
#include "ResourceModule.h"
#include "TestSupport.h"
#include "TypInfo.h"
#include "ClassRegistry.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QRegularExpression>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>

using testsupport::WaitFor;

namespace {

constexpr int kWaitMs = 20000;

class BrowserTest : public ::testing::Test, public QObject {
protected:
    void SetUp() override
    {
        browser.reset(Create<TWebBrowser>(nullptr));
        browser->SetBounds(0, 0, 800, 600);
        browser->Handle()->show();
        browser->SetOnNavigateComplete2(TWebNavigateCompleteEvent(this, &BrowserTest::NavigateComplete));
        browser->SetOnCommandStateChange(TWebCommandStateChangeEvent(this, &BrowserTest::CommandStateChange));
        QObject::connect(browser->Page(), &QWebEnginePage::loadingChanged, browser->Page(),
                         [this](const QWebEngineLoadingInfo& info) {
                             if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
                             lastLoadOk = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
                         });
    }

    void NavigateComplete(TObject* sender, QString url)
    {
        EXPECT_EQ(sender, browser.get());
        completed.append(url);
    }
    void CommandStateChange(TObject*, int command, bool enable) { states[command] = enable; }

    // Navigates and waits for the navigate-complete event.
    void Go(const QString& url)
    {
        const qsizetype before = completed.size();
        browser->Navigate(url);
        ASSERT_TRUE(WaitFor([&] { return completed.size() > before; }, kWaitMs)) << url.toStdString();
    }

    // Replaces the document and waits until it is shown.
    void Show(const QString& text, int timeoutMs = kWaitMs)
    {
        ASSERT_NE(browser->Document(), nullptr);
        browser->Document()->Close();
        browser->Document()->Write(text);
        ASSERT_TRUE(WaitFor([&] { return !browser->Busy(); }, timeoutMs));
    }

    QVariant Eval(const QString& script)
    {
        std::optional<QVariant> result;
        browser->Page()->runJavaScript(script, [&](const QVariant& v) { result = v; });
        EXPECT_TRUE(WaitFor([&] { return result.has_value(); }, kWaitMs)) << script.toStdString();
        return result.value_or(QVariant());
    }
    QString BodyText() { return Eval(QStringLiteral("document.body ? document.body.innerText : ''")).toString(); }

    std::unique_ptr<TWebBrowser> browser;
    QStringList completed;
    QMap<int, bool> states;
    bool lastLoadOk = false;
};

QString StartPageUrl(const QString& name = QStringLiteral("Start.htm"))
{
    return QStringLiteral("Res://") + QCoreApplication::applicationDirPath() + QStringLiteral("/Tarnwick.dll/") + name;
}

}  // namespace

TEST_F(BrowserTest, ServesTheStartPageWithItsStyleSheetAndImage)
{
    ASSERT_NE(TResourceModule::Load(QStringLiteral("Tarnwick.dll")), nullptr);
    EXPECT_EQ(browser->Document(), nullptr) << "no document before the first navigation";
    Go(StartPageUrl(QStringLiteral("START.HTM")));
    EXPECT_TRUE(lastLoadOk);
    EXPECT_NE(browser->Document(), nullptr);
    EXPECT_TRUE(BodyText().contains(QStringLiteral("Zundra's HTML Editor")));
    EXPECT_EQ(browser->LocationName(), QStringLiteral("Welcome"));
    EXPECT_TRUE(browser->LocationURL().endsWith(QStringLiteral("/Tarnwick.dll/START.HTM")));
    // Relative links of the page resolve against its res URL.
    EXPECT_EQ(Eval(QStringLiteral("getComputedStyle(document.body).backgroundColor")).toString(),
              QStringLiteral("rgb(244, 241, 234)"));
    EXPECT_TRUE(WaitFor([&] { return Eval(QStringLiteral("document.images[0].naturalWidth")).toInt() > 0; }, kWaitMs));

    Go(StartPageUrl(QStringLiteral("%2e%2e/Tarnwick.dll/Start.htm")));
    EXPECT_FALSE(lastLoadOk) << "a way out of the bundle is refused";
    Go(StartPageUrl(QStringLiteral("Missing.htm")));
    EXPECT_FALSE(lastLoadOk);
}

TEST_F(BrowserTest, PageAddressesKeepHashPercentAndBlankInTheirFolder)
{
    // A program folder with every character that means something else in a URL.
    const QString folder = testsupport::TempDir() + QStringLiteral("/a #1 100% b");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Tarnwick.dll"),
                            folder + QStringLiteral("/Tarnwick.dll")));
    ASSERT_NE(TResourceModule::LoadFromFolder(folder, QStringLiteral("Tarnwick.dll")), nullptr);
    const QString url = ResPageUrl(folder + QStringLiteral("/Tarnwick.dll"), QStringLiteral("Start.htm"));
    EXPECT_FALSE(url.contains(QLatin1Char('#')));
    EXPECT_FALSE(url.contains(QLatin1Char(' ')));
    Go(url);
    EXPECT_TRUE(lastLoadOk);
    EXPECT_TRUE(BodyText().contains(QStringLiteral("Zundra's HTML Editor")));
    // Its style sheet, named relative to the page, comes from the same folder.
    EXPECT_EQ(Eval(QStringLiteral("getComputedStyle(document.body).backgroundColor")).toString(),
              QStringLiteral("rgb(244, 241, 234)"));
}

TEST_F(BrowserTest, NavigationEventsAndHistoryCommands)
{
    Go(QStringLiteral("about:<B>Loading</B>...."));
    EXPECT_EQ(completed.last(), QStringLiteral("about:<B>Loading</B>...."));
    EXPECT_EQ(BodyText(), QStringLiteral("Loading...."));
    EXPECT_FALSE(states.value(CSC_NAVIGATEBACK, true));
    EXPECT_THROW(browser->GoBack(), EOleException);

    Go(QStringLiteral("about:blank"));
    EXPECT_EQ(completed.last(), QStringLiteral("about:blank"));
    EXPECT_TRUE(states.value(CSC_NAVIGATEBACK));
    EXPECT_FALSE(states.value(CSC_NAVIGATEFORWARD, true));

    browser->GoBack();
    ASSERT_TRUE(WaitFor([&] { return states.value(CSC_NAVIGATEFORWARD); }, kWaitMs));
    EXPECT_FALSE(states.value(CSC_NAVIGATEBACK));
    EXPECT_THROW(browser->GoBack(), EOleException);
    EXPECT_NO_THROW(browser->GoForward());
}

TEST_F(BrowserTest, WritesReplaceTheDocumentWithoutHistoryOrOldScriptState)
{
    ASSERT_NE(TResourceModule::Load(QStringLiteral("Tarnwick.dll")), nullptr);
    Go(StartPageUrl());  // the editor writes over its start page
    const qsizetype events = completed.size();
    // A top-level let in the page must not clash with the previous write's.
    Show(QStringLiteral("<script>let x = 1; document.title = 'one' + x;</script><p>first</p>"));
    EXPECT_EQ(BodyText(), QStringLiteral("first"));
    EXPECT_EQ(browser->LocationName(), QStringLiteral("one1"));
    Show(QStringLiteral("<script>let x = 2; document.title = 'two' + x;</script><p>second \u00e9</p>"));
    EXPECT_EQ(BodyText(), QStringLiteral("second \u00e9"));
    EXPECT_EQ(browser->LocationName(), QStringLiteral("two2"));

    EXPECT_EQ(browser->LocationURL(), QStringLiteral("about:blank"));
    EXPECT_FALSE(browser->Page()->history()->canGoBack());
    EXPECT_EQ(browser->Page()->history()->count(), 1);
    EXPECT_EQ(completed.size(), events) << "writing is not navigation";

    // Without Close, writes continue the open stream; after Close they start anew.
    browser->Document()->Close();
    browser->Document()->write(QStringLiteral("<p>a"));
    browser->Document()->write(QStringLiteral("b</p>"));
    ASSERT_TRUE(WaitFor([&] { return !browser->Busy() && BodyText() == QStringLiteral("ab"); }, kWaitMs));
    Show(QStringLiteral("<p>c</p>"));
    EXPECT_EQ(BodyText(), QStringLiteral("c"));
    EXPECT_EQ(browser->LocationName(), QStringLiteral("about:blank")) << "no title: the address";
}

TEST_F(BrowserTest, WritesWhileRenderingAreHeldAndOnlyTheLatestShows)
{
    Go(QStringLiteral("about:blank"));
    int renders = 0;
    QObject::connect(
        browser->Page(), &QWebEnginePage::loadingChanged, browser->Page(), [&](const QWebEngineLoadingInfo& info) {
            if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus && info.url() == browser->Document()->Url())
                ++renders;
        });
    for (const char* text : {"<p>one</p>", "<p>two</p>", "<p>three</p>"}) {
        browser->Document()->Close();
        browser->Document()->Write(QString::fromLatin1(text));
    }
    ASSERT_TRUE(WaitFor([&] { return !browser->Busy(); }, kWaitMs));
    EXPECT_EQ(BodyText(), QStringLiteral("three"));
    EXPECT_EQ(renders, 2) << "the first write renders, the middle one is dropped";
}

TEST_F(BrowserTest, RewritesKeepTheScrollPosition)
{
    Go(QStringLiteral("about:blank"));
    const QString body = QStringLiteral("<p style='height:4000px'>tall</p>");
    Show(body);
    Eval(QStringLiteral("window.scrollTo(0, 700)"));
    ASSERT_TRUE(WaitFor([&] { return Eval(QStringLiteral("window.scrollY")).toInt() == 700; }, kWaitMs));
    Show(body + QStringLiteral("<p>more</p>"));
    EXPECT_TRUE(WaitFor([&] { return Eval(QStringLiteral("window.scrollY")).toInt() == 700; }, kWaitMs));
}

TEST_F(BrowserTest, PagesFromFilesReplaceTheDocumentLikeWrites)
{
    const QString dir = testsupport::TempDir();
    auto page = [&](const QString& name, const QByteArray& body) {
        QFile f(dir + QLatin1Char('/') + name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<p style='height:4000px'>" + body + "</p>");
        return QUrl::fromLocalFile(f.fileName());
    };
    ASSERT_NE(TResourceModule::Load(QStringLiteral("Tarnwick.dll")), nullptr);
    Go(StartPageUrl());
    Show(QStringLiteral("<p style='height:4000px'>written</p>"));
    Eval(QStringLiteral("window.scrollTo(0, 700)"));
    ASSERT_TRUE(WaitFor([&] { return Eval(QStringLiteral("window.scrollY")).toInt() == 700; }, kWaitMs));
    for (const auto& [name, body] : {std::pair{"a b#1.htm", "one"}, std::pair{"a b#2.htm", "two"}}) {
        const QUrl url = page(QString::fromLatin1(name), body);
        browser->Document()->ReplaceFromFile(url);
        ASSERT_TRUE(WaitFor([&] { return !browser->Busy(); }, kWaitMs));
        EXPECT_EQ(BodyText(), QString::fromLatin1(body));
        EXPECT_EQ(browser->Document()->Url(), url);
        EXPECT_TRUE(WaitFor([&] { return Eval(QStringLiteral("window.scrollY")).toInt() == 700; }, kWaitMs));
    }
    EXPECT_EQ(browser->LocationURL(), QStringLiteral("about:blank"));
    EXPECT_EQ(browser->Page()->history()->count(), 1);
    // Back to written text from a file's page.
    Show(QStringLiteral("<p>text</p>"));
    EXPECT_EQ(BodyText(), QStringLiteral("text"));
    EXPECT_EQ(browser->Page()->url().scheme(), QStringLiteral("vesk-doc"));
}

TEST_F(BrowserTest, WritesShowOverAPageThatFailedToLoad)
{
    Go(StartPageUrl().replace(QStringLiteral("Tarnwick.dll"), QStringLiteral("Missing.dll")));
    EXPECT_FALSE(lastLoadOk);
    Show(QStringLiteral("<p>written</p>"));
    EXPECT_EQ(BodyText(), QStringLiteral("written"));
}

TEST_F(BrowserTest, LargeDocumentsRender)
{
    Go(QStringLiteral("about:blank"));
    // Far beyond what the engine's setHtml takes; mostly text, so parsing stays quick.
    const QString line = QStringLiteral("<p>") + QStringLiteral("words and ").repeated(200) + QStringLiteral("</p>\n");
    QString text;
    text.reserve(20 * 1024 * 1024 + line.size());
    int lines = 0;
    while (text.size() < 20 * 1024 * 1024) {
        text += line;
        ++lines;
    }
    // A busy machine can take minutes over 20 MB; the suite's own limit still ends a hang.
    Show(text, 12 * kWaitMs);
    EXPECT_EQ(Eval(QStringLiteral("document.getElementsByTagName('p').length")).toInt(), lines);
}

TEST_F(BrowserTest, WrittenDocumentsReachLocalFilesThroughTheirBase)
{
    const QString dir = testsupport::TempDir();
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir + QStringLiteral("/pic.png")));
    Go(QStringLiteral("about:blank"));
    Show(QStringLiteral("<html><head><base href=\"") + QUrl::fromLocalFile(dir + QLatin1Char('/')).toString() +
         QStringLiteral("\"></head><body><img src=\"pic.png\"></body></html>"));
    EXPECT_TRUE(WaitFor([&] { return Eval(QStringLiteral("document.images[0].naturalWidth")).toInt() == 4; }, kWaitMs));
}

TEST_F(BrowserTest, BrowserCommands)
{
    Go(QStringLiteral("about:blank"));
    Show(QStringLiteral("<p>select me</p>"));
    EXPECT_THROW(browser->ExecWB(OLECMDID_COPY), EOleException) << "nothing selected";
    browser->ExecWB(OLECMDID_SELECTALL);
    ASSERT_TRUE(WaitFor([&] { return browser->SelectedText() == QStringLiteral("select me"); }, kWaitMs));
    EXPECT_NO_THROW(browser->ExecWB(OLECMDID_COPY));
    EXPECT_THROW(browser->ExecWB(99), EOleException);

    TDialogScript script;
    browser->ExecWB(OLECMDID_PRINT);
    browser->ExecWB(OLECMDID_PRINTPREVIEW);
    browser->ExecWB(OLECMDID_PAGESETUP);
    ASSERT_EQ(script.Log().size(), 3);
    EXPECT_EQ(script.Log()[0].kind, QStringLiteral("PrintDialog"));
    EXPECT_EQ(script.Log()[1].kind, QStringLiteral("PrintPreviewDialog"));
    EXPECT_EQ(script.Log()[2].kind, QStringLiteral("PageSetupDialog"));

    browser->SetNoContextMenu(true);
    EXPECT_EQ(browser->View()->contextMenuPolicy(), Qt::NoContextMenu);
}

namespace {

// The streams of a PDF file, inflated where they are compressed.
QList<QByteArray> PdfStreams(const QByteArray& pdf)
{
    static const QRegularExpression begin(QStringLiteral("stream\\r?\\n"));
    QList<QByteArray> streams;
    const QString text = QString::fromLatin1(pdf);
    for (QRegularExpressionMatch m = begin.match(text); m.hasMatch(); m = begin.match(text, m.capturedEnd())) {
        const qsizetype end = pdf.indexOf("endstream", m.capturedEnd());
        if (end < 0) break;
        const QByteArray raw = pdf.mid(m.capturedEnd(), end - m.capturedEnd());
        const QByteArray inflated = qUncompress(QByteArray("\x00\x10\x00\x00", 4) + raw);  // size hint, then zlib data
        streams.append(inflated.isEmpty() ? raw : inflated);
    }
    return streams;
}

// The size of the first page in points, from its media box.
QSizeF PdfPageSize(const QByteArray& pdf)
{
    static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"));
    const QRegularExpressionMatch m = box.match(QString::fromLatin1(pdf));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

}  // namespace

// A print to a PDF file writes the page as the engine lays it out for paper: small, its text
// kept as text (text operators, fonts with their character maps, no pictures), on the page
// setup's paper.
TEST_F(BrowserTest, PrintingToAPdfFileKeepsTheTextOnThePageSetupsPaper)
{
    Go(QStringLiteral("about:blank"));
    Show(QStringLiteral("<h1>Printed heading</h1><p>A line of printed words.</p>"));
    const QString dir = testsupport::TempDir();
    struct Case {
        const char* name;
        std::optional<QPageLayout> setup;  // none: the printer's own
    };
    const Case cases[] = {
        {"the printer's own layout", std::nullopt},
        {"letter across", QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(20, 20, 20, 20),
                                      QPageLayout::Millimeter)},
        {"A5 upright", QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                   QPageLayout::Millimeter)},
    };
    TDialogScript script;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir + QStringLiteral("/") + QString::fromLatin1(c.name) + QStringLiteral(".pdf");
        script.AnswerPageSetup(c.setup);
        browser->ExecWB(OLECMDID_PAGESETUP);
        script.AnswerPrintToFile(path);
        browser->ExecWB(OLECMDID_PRINT);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        EXPECT_TRUE(pdf.startsWith("%PDF-"));
        EXPECT_LT(pdf.size(), 200 * 1024);
        EXPECT_TRUE(pdf.contains("/ToUnicode")) << "no text that can be selected";
        EXPECT_FALSE(pdf.contains("/Subtype /Image")) << "a picture of the page";
        const QList<QByteArray> streams = PdfStreams(pdf);
        EXPECT_TRUE(std::any_of(streams.begin(), streams.end(), [](const QByteArray& s) {
            return s.contains("BT") && s.contains(" Tj") && s.contains("ET");
        })) << "no text operators";
        if (c.setup) {
            const QSizeF paper = c.setup->fullRectPoints().size();
            const QSizeF size = PdfPageSize(pdf);
            EXPECT_NEAR(size.width(), paper.width(), 1.0);
            EXPECT_NEAR(size.height(), paper.height(), 1.0);
        }
    }
    EXPECT_EQ(script.Log("PrintDialog").size(), 3);

    // A file that cannot be written is told, not taken as printed; one whose flush to the disk
    // fails too, and the file printed before stays.
    script.AnswerPrintToFile(dir + QStringLiteral("/no such folder/page.pdf"));
    EXPECT_THROW(browser->ExecWB(OLECMDID_PRINT), EOleException);
    const QString printed = dir + QStringLiteral("/A5 upright.pdf");
    const QByteArray before = testsupport::FileBytes(printed);
    script.AnswerPrintToFile(printed);
    {
        const TDurableWriteFault fault(TDurableStep::Sync, EIO);
        EXPECT_THROW(browser->ExecWB(OLECMDID_PRINT), EOleException);
    }
    EXPECT_EQ(testsupport::FileBytes(printed), before);
}

TEST(WebClasses, BrowserAndItsEventTypesAreStreamable)
{
    RegisterWebClasses();
    EXPECT_TRUE(GetClass(QStringLiteral("TWebBrowser")).has_value());
    EXPECT_NE(FindEventTypeInfo(QMetaType::fromType<TWebNavigateCompleteEvent>()), nullptr);
    EXPECT_NE(FindEventTypeInfo(QMetaType::fromType<TWebCommandStateChangeEvent>()), nullptr);
}
