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
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

using testsupport::WaitFor;

namespace {

constexpr int kWaitMs = 30000;

using hostilepage::TListeners;

class UntrustedBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(TResourceModule::Load(QStringLiteral("Tarnwick.dll")), nullptr);
        site = hostilepage::MakeSite(root.path());
        TDocumentStore::Instance().Put(QStringLiteral("untrusted-test-secret"), QStringLiteral("<p>SECRET_DOCUMENT</p>"));
        site.secrets << QStringLiteral("SECRET_DOCUMENT") << QStringLiteral("Zundra");  // the program's page says its name
        browser.reset(Create<TWebBrowser>(nullptr));
        browser->SetUntrusted(true);
        browser->SetBounds(0, 0, 800, 600);
        browser->Handle()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(browser->Handle()));
        browser->Navigate(ProgramPage());
        ASSERT_TRUE(WaitFor([&] { return browser->Document() && !browser->Busy(); }, kWaitMs));
    }
    void TearDown() override { TDocumentStore::Instance().Remove(QStringLiteral("untrusted-test-secret")); }

    QString ProgramPage() const {
        return ResPageUrl(QCoreApplication::applicationDirPath() + QStringLiteral("/Tarnwick.dll"), QStringLiteral("Start.htm"));
    }
    QString OtherDocument() const {
        return TDocumentStore::UrlFor(QStringLiteral("untrusted-test-secret")).toString(QUrl::FullyEncoded);
    }
    // The page's text with the base tag the preview gives it: the site's folder.
    QString WithBase(QString page) const {
        const QString base = browser->PageAddress(hostilepage::FileUrl(site.folder) + QLatin1Char('/'));
        return page.replace(QStringLiteral("<HEAD>"), QStringLiteral("<HEAD><BASE HREF=\"") + base + QStringLiteral("\">"));
    }
    // Shows the page as the preview does: from a file in a folder of its own.
    void ShowFromFile(const QString& page) {
        const QString path = root.path() + QStringLiteral("/pages/page-%1.htm").arg(++pages);
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(hostilepage::WriteFile(path, WithBase(page).toUtf8()));
        browser->Document()->ReplaceFromFile(QUrl::fromLocalFile(path));
        ASSERT_TRUE(WaitFor([&] { return !browser->Busy(); }, kWaitMs));
    }
    void Write(const QString& page) {
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

TEST_F(UntrustedBrowserTest, PagesShowTheirOwnFilesButReadNoFileOrProgramPage) {
    ShowFromFile(hostilepage::ReadsPage(site, ProgramPage(), OtherDocument()));
    hostilepage::ExpectNothingRead(browser->Page(), site);

    // Its own image, style sheet, script and frame (with the frame's own image) are there.
    EXPECT_EQ(Eval(QStringLiteral("document.getElementById('own').naturalWidth")).toInt(), 4);
    EXPECT_EQ(Eval(QStringLiteral("getComputedStyle(document.body).backgroundColor")).toString(), "rgb(1, 2, 3)");
    EXPECT_EQ(Eval(QStringLiteral("window.ownScript")).toString(), "ran");
    EXPECT_TRUE(WaitFor([&] { return Eval(QStringLiteral("frameReport")).toString() == "frame image 4"; }, kWaitMs));
    EXPECT_EQ(browser->LocationURL(), QStringLiteral("about:blank"));
}

TEST_F(UntrustedBrowserTest, NothingLeavesTheMachine) {
    TListeners listeners;
    Write(hostilepage::ExitsPage(listeners.TcpPort(), listeners.UdpPort()));
    const QJsonObject results = hostilepage::Results(browser->Page());
    EXPECT_FALSE(results.isEmpty());
    QTest::qWait(500);
    EXPECT_EQ(listeners.received, 0) << QJsonDocument(results).toJson().toStdString();
    EXPECT_TRUE(listeners.Hear());
}

TEST_F(UntrustedBrowserTest, ScriptTakesThePageNowhereButItsOwnFiles) {
    TListeners listeners;
    struct Case {
        const char* name;
        QString target;
        bool goes;
    };
    const QList<Case> cases = {
        {"the program's page", ProgramPage(), false},
        {"a folder listing", hostilepage::FileUrl(site.other + QStringLiteral("/folder")) + QLatin1Char('/'), false},
        {"a folder through the local-file scheme",
         browser->PageAddress(hostilepage::FileUrl(site.other + QStringLiteral("/folder")) + QLatin1Char('/')), false},
        {"another document", OtherDocument(), false},
        {"the web", QStringLiteral("http://127.0.0.1:%1/?d=SECRET_SENT").arg(listeners.TcpPort()), false},
        {"the program's compiled resources", QStringLiteral("qrc:/qt-project.org/qmessagebox/images/qtlogo-64.png"), false},
        {"a page beside it", hostilepage::FileUrl(site.folder + QStringLiteral("/frame.htm")), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(QStringLiteral("<html><HEAD></HEAD><body><p>stays</p><script>setTimeout(() => { location.href = ") +
              QLatin1Char('\'') + c.target + QStringLiteral("'; }, 0)</script></body></html>"));
        if (c.goes) {
            // Shown with its own image: its files load where it went.
            EXPECT_TRUE(WaitFor([&] { return Eval(QStringLiteral("document.images.length && document.images[0].naturalWidth")).toInt() == 4; }, kWaitMs));
            EXPECT_EQ(browser->LocationURL(), hostilepage::FileUrl(site.folder + QStringLiteral("/frame.htm")));
            continue;
        }
        QTest::qWait(1500);
        EXPECT_TRUE(BodyText().contains(QStringLiteral("stays")));
        EXPECT_EQ(browser->LocationURL(), QStringLiteral("about:blank"));
    }
    EXPECT_EQ(listeners.received, 0);
}

}  // namespace
