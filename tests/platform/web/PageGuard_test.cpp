// The untrusted browser with real pages in the engine: a page shows its own files but reads
// none, reaches none of the program's pages or documents, and sends nothing out. Its links,
// clicked for real, are checked under Xvfb (tests/xvfb/preview_guard_test.cpp).
#include "DocumentScheme.h"
#include "HostilePage.h"
#include "ResScheme.h"
#include "ResourceModule.h"
#include "TestSupport.h"
#include "WebBrowser.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QMutex>
#include <QNetworkInterface>
#include <dlfcn.h>
#include <memory>
#include <netdb.h>
#include <sys/stat.h>

// Every host name looked up in this process. The engine's own DNS client is off, so its
// lookups come here too (a name server would hear each of them).
namespace {
QMutex lookupsMutex;
QStringList lookups;
}  // namespace

extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result) noexcept
{
    using TNext = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto next = reinterpret_cast<TNext>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (node) {
        QMutexLocker lock(&lookupsMutex);
        lookups << QString::fromUtf8(node);
    }
    return next ? next(node, service, hints, result) : EAI_SYSTEM;
}

using testsupport::WaitFor;

namespace {

constexpr int kWaitMs = 30000;

using hostilepage::TListeners;

class UntrustedBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(TResourceModule::Load(QStringLiteral("Tarnwick.dll")), nullptr);
        site = hostilepage::MakeSite(root.path());
        TDocumentStore::Instance().Put(QStringLiteral("untrusted-test-secret"),
                                       QStringLiteral("<p>SECRET_DOCUMENT</p>"));
        site.secrets << QStringLiteral("SECRET_DOCUMENT")
                     << QStringLiteral("Zundra");  // the program's page says its name
        browser.reset(Create<TWebBrowser>(nullptr));
        browser->SetUntrusted(true);
        browser->SetBounds(0, 0, 800, 600);
        browser->Handle()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(browser->Handle()));
        browser->Navigate(ProgramPage());
        ASSERT_TRUE(WaitFor([&] { return browser->Document() && !browser->Busy(); }, kWaitMs));
    }
    void TearDown() override { TDocumentStore::Instance().Remove(QStringLiteral("untrusted-test-secret")); }

    QString ProgramPage() const
    {
        return ResPageUrl(QCoreApplication::applicationDirPath() + QStringLiteral("/Tarnwick.dll"),
                          QStringLiteral("Start.htm"));
    }
    QString OtherDocument() const
    {
        return TDocumentStore::UrlFor(QStringLiteral("untrusted-test-secret")).toString(QUrl::FullyEncoded);
    }
    // The page's text with the base tag the preview gives it: the site's folder.
    QString WithBase(QString page) const
    {
        const QString base = browser->PageAddress(hostilepage::FileUrl(site.folder) + QLatin1Char('/'));
        return page.replace(QStringLiteral("<HEAD>"),
                            QStringLiteral("<HEAD><BASE HREF=\"") + base + QStringLiteral("\">"));
    }
    // Shows the page as the preview does: from a file in a folder of its own.
    void ShowFromFile(const QString& page)
    {
        const QString path = root.path() + QStringLiteral("/pages/page-%1.htm").arg(++pages);
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(hostilepage::WriteFile(path, WithBase(page).toUtf8()));
        browser->Document()->ReplaceFromFile(QUrl::fromLocalFile(path));
        ASSERT_TRUE(WaitFor([&] { return !browser->Busy(); }, kWaitMs));
    }
    void Write(const QString& page)
    {
        browser->Document()->Close();
        browser->Document()->Write(WithBase(page));
        ASSERT_TRUE(WaitFor([&] { return !browser->Busy(); }, kWaitMs));
    }
    QVariant Eval(const QString& script) { return hostilepage::Eval(browser->Page(), script); }
    QString BodyText() { return Eval(QStringLiteral("document.body ? document.body.innerText : ''")).toString(); }

    QTemporaryDir root;
    hostilepage::TSite site;
    std::unique_ptr<TWebBrowser> browser;
    int pages = 0;
};

TEST_F(UntrustedBrowserTest, PagesShowTheirOwnFilesButReadNoFileOrProgramPage)
{
    ShowFromFile(hostilepage::ReadsPage(site, ProgramPage(), OtherDocument()));
    hostilepage::ExpectNothingRead(browser->Page(), site);

    // Its own image, style sheet, script and frame (with the frame's own image) are there.
    EXPECT_EQ(Eval(QStringLiteral("document.getElementById('own').naturalWidth")).toInt(), 4);
    EXPECT_EQ(Eval(QStringLiteral("getComputedStyle(document.body).backgroundColor")).toString(), "rgb(1, 2, 3)");
    EXPECT_EQ(Eval(QStringLiteral("window.ownScript")).toString(), "ran");
    EXPECT_TRUE(WaitFor([&] { return Eval(QStringLiteral("frameReport")).toString() == "frame image 4"; }, kWaitMs));
    EXPECT_EQ(browser->LocationURL(), QStringLiteral("about:blank"));
}

TEST_F(UntrustedBrowserTest, NothingLeavesTheMachine)
{
    TListeners listeners;
    // Another host: this machine under an address of its network, not a loopback one (or,
    // without a network, another loopback address).
    QString otherHost = QStringLiteral("127.0.0.2");
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            otherHost = address.toString();
    Write(hostilepage::ExitsPage(listeners.TcpPort(), listeners.UdpPort(), otherHost));
    const QJsonObject results = hostilepage::Results(browser->Page());
    EXPECT_FALSE(results.isEmpty());
    QTest::qWait(500);
    EXPECT_EQ(listeners.received, 0) << QJsonDocument(results).toJson().toStdString();
    EXPECT_TRUE(listeners.Hear(otherHost));
    // No name was looked up for the page (a WebRTC server's name would carry the secret to a
    // name server); the program's own lookups still answer.
    QMutexLocker lock(&lookupsMutex);
    EXPECT_TRUE(lookups.filter(QStringLiteral("secret-sent"), Qt::CaseInsensitive).isEmpty())
        << lookups.join(' ').toStdString();
    lock.unlock();
    addrinfo* found = nullptr;
    EXPECT_EQ(getaddrinfo("localhost", nullptr, nullptr, &found), 0);
    if (found) freeaddrinfo(found);
}

TEST_F(UntrustedBrowserTest, ScriptTakesThePageNowhereButItsOwnFiles)
{
    TListeners listeners;
    struct Case {
        const char* name;
        QString target;
        bool goes;
    };
    const QList<Case> cases = {
        {"the program's page", ProgramPage(), false},
        {"a folder listing", hostilepage::FileUrl(site.other + QStringLiteral("/folder")) + QLatin1Char('/'), false},
        {"the root folder's listing", QStringLiteral("file:///etc/"), false},
        {"a folder through the local-file scheme",
         browser->PageAddress(hostilepage::FileUrl(site.other + QStringLiteral("/folder")) + QLatin1Char('/')), false},
        {"another document", OtherDocument(), false},
        {"the web", QStringLiteral("http://127.0.0.1:%1/?d=SECRET_SENT").arg(listeners.TcpPort()), false},
        {"the program's compiled resources", QStringLiteral("qrc:/qt-project.org/qmessagebox/images/qtlogo-64.png"),
         false},
        {"a page beside it", hostilepage::FileUrl(site.folder + QStringLiteral("/frame.htm")), true},
    };
    // Every way a page can move itself, one after the other; a page still there after the
    // last says so in its title.
    const QString page = QStringLiteral(R"(<html><HEAD><title>trying</title></HEAD><body><p>stays</p>
<a id=link href="TARGET">link</a><form id=form action="TARGET" target=_top></form><script>
const target = 'TARGET';
const ways = [
  () => { location.href = target; },
  () => { location.replace(target); },
  () => { window.open(target, '_self'); },
  () => { document.getElementById('link').click(); },
  () => { document.getElementById('form').submit(); },
  () => { document.head.insertAdjacentHTML('beforeend', '<meta http-equiv="refresh" content="0; url=' + target + '">'); },
  () => { const f = document.createElement('iframe');
          f.srcdoc = '<script>top.location.href = ' + JSON.stringify(target) + '<\/script>';
          document.body.appendChild(f); },
];
let way = 0;
(function next() { if (way < ways.length) { ways[way++](); setTimeout(next, 300); } else { document.title = 'stayed'; } })();
</script></body></html>)");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(QString(page).replace(QStringLiteral("TARGET"), c.target));
        if (c.goes) {
            // Shown with its own image: its files load where it went.
            EXPECT_TRUE(WaitFor(
                [&] {
                    return Eval(QStringLiteral("document.images.length && document.images[0].naturalWidth")).toInt() ==
                           4;
                },
                kWaitMs));
            // Under load a later way (the form's submission) may be the one that lands, with
            // its empty query: the page it reached is what counts.
            EXPECT_EQ(QUrl(browser->LocationURL()).adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment),
                      QUrl(hostilepage::FileUrl(site.folder + QStringLiteral("/frame.htm"))));
            continue;
        }
        EXPECT_TRUE(WaitFor([&] { return browser->Page()->title() == QStringLiteral("stayed"); }, kWaitMs));
        EXPECT_TRUE(BodyText().contains(QStringLiteral("stays")));
        EXPECT_EQ(browser->LocationURL(), QStringLiteral("about:blank"));
    }
    EXPECT_EQ(listeners.received, 0);
}

TEST_F(UntrustedBrowserTest, FilesWhoseReadNeverEndsHoldNothingUp)
{
    // A pipe, and the kernel's message log where this process may read it: a read of either
    // waits for more, for ever.
    const QString pipe = site.folder + QStringLiteral("/pipe.htm");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QStringList sources = {QStringLiteral("pipe.htm"), hostilepage::FileUrl(pipe)};
    if (QFileInfo(QStringLiteral("/proc/kmsg")).isReadable())
        sources << QStringLiteral("file:///proc/kmsg") << browser->PageAddress(QStringLiteral("file:///proc/kmsg"));
    for (const QString& source : sources) {
        SCOPED_TRACE(source.toStdString());
        Write(QStringLiteral(
                  "<html><HEAD></HEAD><body><img src='%1'><iframe src='%1'></iframe><p>first</p></body></html>")
                  .arg(source));
        Write(QStringLiteral("<html><HEAD></HEAD><body><p>next</p></body></html>"));
        EXPECT_TRUE(WaitFor([&] { return BodyText().contains(QStringLiteral("next")); }, 10000));
    }
}

}  // namespace
