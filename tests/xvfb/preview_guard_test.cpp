// The editor's preview of a hostile page under real clicks: the page's own image and style
// sheet are drawn, its script reads no secret, nothing reaches a listener on this machine, and
// no link starts an outside program.
#include "DocumentScheme.h"
#include "EditorWindowFixture.h"
#include "HostilePage.h"
#include "ResScheme.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

using testsupport::WaitFor;

namespace {

constexpr int kWaitMs = 30000;

// Stand-ins for the programs that open addresses (xdg-open and friends), first on PATH while
// this lives: each leaves a mark when it runs.
class TFakeOpeners {
public:
    explicit TFakeOpeners(const QString& folder)
        : mark_(folder + QStringLiteral("/opened")), oldPath_(qgetenv("PATH")), oldBrowser_(qgetenv("BROWSER"))
    {
        const QString bin = folder + QStringLiteral("/bin");
        QDir().mkpath(bin);
        for (const char* name : {"xdg-open", "xdg-email", "x-www-browser", "sensible-browser"}) {
            const QString path = bin + QLatin1Char('/') + QLatin1String(name);
            hostilepage::WriteFile(path, "#!/bin/sh\necho \"$0 $*\" >> '" + mark_.toUtf8() + "'\n");
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", bin.toUtf8() + ':' + oldPath_);
        qputenv("BROWSER", (bin + QStringLiteral("/x-www-browser")).toUtf8());
    }
    ~TFakeOpeners()
    {
        qputenv("PATH", oldPath_);
        if (oldBrowser_.isEmpty())
            qunsetenv("BROWSER");
        else
            qputenv("BROWSER", oldBrowser_);
    }
    bool Ran() const { return QFile::exists(mark_); }

private:
    QString mark_;
    QByteArray oldPath_, oldBrowser_;
};

class PreviewGuardTest : public EditorWindowTest {
protected:
    void SetUp() override
    {
        ShowForm(root.path() + QStringLiteral("/registry.json"));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Handle()));
        ASSERT_TRUE(WaitFor([&] { return BodyText().contains(QStringLiteral("HTML")); }, kWaitMs));
    }
    void TearDown() override
    {
        EditorWindowTest::TearDown();
        TDocumentStore::Instance().Remove(QStringLiteral("preview-guard-secret"));
    }

    QVariant Eval(const QString& script) { return hostilepage::Eval(form->WebBrowser->Page(), script); }
    QString BodyText() { return Eval(QStringLiteral("document.body ? document.body.innerText : ''")).toString(); }
    // Where an element of the page is on the screen: its centre.
    QPoint ScreenCentre(const QString& id)
    {
        const QVariantList r =
            Eval(QStringLiteral("(() => { const b = document.getElementById('%1').getBoundingClientRect();"
                                " return [b.left + b.width / 2, b.top + b.height / 2]; })()")
                     .arg(id))
                .toList();
        EXPECT_EQ(r.size(), 2) << id.toStdString();
        return r.size() == 2 ? form->WebBrowser->View()->mapToGlobal(QPoint(int(r[0].toDouble()), int(r[1].toDouble())))
                             : QPoint();
    }
    static QColor ScreenPixel(const QPoint& p)
    {
        return QGuiApplication::primaryScreen()->grabWindow(0, p.x(), p.y(), 1, 1).toImage().pixelColor(0, 0);
    }

    QTemporaryDir root;
};

TEST_F(PreviewGuardTest, AHostilePageShowsItsOwnFilesAndUnderRealClicksReadsSendsAndStartsNothing)
{
    hostilepage::TListeners listeners;
    const TFakeOpeners openers(root.path());
    hostilepage::TSite site = hostilepage::MakeSite(root.path());
    TDocumentStore::Instance().Put(QStringLiteral("preview-guard-secret"), QStringLiteral("<p>SECRET_DOCUMENT</p>"));
    site.secrets << QStringLiteral("SECRET_DOCUMENT") << QStringLiteral("Zundra");
    const QString web = QStringLiteral("http://127.0.0.1:%1/?d=SECRET_SENT").arg(listeners.TcpPort());
    // Links that must open nothing, then one to a page beside it, which the preview shows.
    const QStringList targets = {QStringLiteral("mailto:someone@example.com?body=SECRET_SENT"),
                                 QStringLiteral("vesk-unknown:SECRET_SENT"),
                                 web,
                                 QStringLiteral("beside.txt\" target=\"_blank"),
                                 ResPageUrl(form->ExeDir + QStringLiteral("Tarnwick.dll"), QStringLiteral("Start.htm")),
                                 QStringLiteral("frame.htm")};
    QString links = QStringLiteral(
                        "<script>window.clicked = []; new WebSocket('ws://127.0.0.1:%1/?d=SECRET_SENT');</script>"
                        "<img src='%2'>")
                        .arg(listeners.TcpPort())
                        .arg(web);
    for (int i = 0; i < targets.size(); ++i)
        links +=
            QStringLiteral(
                "<a id=l%1 href=\"%2\" onclick=\"clicked.push('l%1')\" style='display:block;height:28px'>link %1</a>")
                .arg(i)
                .arg(targets[i]);

    form->edPathEdit->SetText(site.folder);
    form->mmHTMLCode->SetText(hostilepage::ReadsPage(
        site, targets[4], TDocumentStore::UrlFor(QStringLiteral("preview-guard-secret")).toString(), links));
    hostilepage::ExpectNothingRead(form->WebBrowser->Page(), site);

    // The page's own image and style sheet are drawn.
    ASSERT_EQ(Eval(QStringLiteral("document.getElementById('own').naturalWidth")).toInt(), 4);
    EXPECT_EQ(ScreenPixel(ScreenCentre(QStringLiteral("own"))), QColor(Qt::red));
    const QPoint background =
        form->WebBrowser->View()->mapToGlobal(QPoint(form->WebBrowser->View()->width() * 3 / 4, 10));
    EXPECT_EQ(ScreenPixel(background), QColor(1, 2, 3));

    for (int i = 0; i + 1 < targets.size(); ++i) {
        SCOPED_TRACE(targets[i].toStdString());
        const QString id = QStringLiteral("l%1").arg(i);
        ASSERT_TRUE(ClickAt(ScreenCentre(id)));
        EXPECT_TRUE(WaitFor([&] { return Eval(QStringLiteral("clicked.includes('%1')").arg(id)).toBool(); }, kWaitMs));
        QTest::qWait(1000);
        EXPECT_EQ(form->WebBrowser->Page()->title(), QStringLiteral("done")) << "the page stays";
    }
    // A page beside it opens in the preview, with its own image.
    ASSERT_TRUE(ClickAt(ScreenCentre(QStringLiteral("l%1").arg(targets.size() - 1))));
    EXPECT_TRUE(
        WaitFor([&] { return form->WebBrowser->LocationURL().endsWith(QStringLiteral("/site/frame.htm")); }, kWaitMs));
    EXPECT_TRUE(WaitFor(
        [&] {
            return Eval(QStringLiteral("document.images.length ? document.images[0].naturalWidth : 0")).toInt() == 4;
        },
        kWaitMs));

    EXPECT_FALSE(openers.Ran());
    EXPECT_EQ(listeners.received, 0);
    EXPECT_TRUE(listeners.Hear());
}

}  // namespace
