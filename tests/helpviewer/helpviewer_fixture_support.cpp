#include "HelpViewerFixture.h"

#include "Registry.h"
#include "ResScheme.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarRegistry.h"

#include <QMutexLocker>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <optional>

using testsupport::WaitFor;

namespace {
constexpr int kWaitMs = 30000;

// Records every res: address the engine asks for that the program cannot serve.
class TMissRecorder : public QWebEngineUrlRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        if (url.scheme() != QLatin1String(kResScheme)) return;
        QMutexLocker lock(&mutex);
        ++requests;
        if (ResolveResUrl(url).isEmpty()) missing.append(url.toString());
    }
    QMutex mutex;
    QStringList missing;
    int requests = 0;
};

TMissRecorder& Recorder()
{
    static TMissRecorder* recorder = new TMissRecorder;
    return *recorder;
}

}  // namespace

void THelpViewerTest::SetUpTestSuite()
{
    RegisterWebClasses();
    dxBarInitialize();
    dxBarRegisterManagerClasses();
    SetProgramResourcePrefix(QStringLiteral(":/help"));
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&Recorder());
}

void THelpViewerTest::SetUp()
{
    TRegistry registry;
    registry.DeleteKey(QStringLiteral("\\Software\\Morvath\\Help"));
    TakeMissingRequests();
}

void THelpViewerTest::TearDown()
{
    Finish(false);
    TfrmHelpMain::SetArguments({});
    EXPECT_TRUE(TakeMissingRequests().isEmpty());
}

void THelpViewerTest::Start(const QStringList& arguments)
{
    TfrmHelpMain::SetArguments(arguments);
    form = Create<TfrmHelpMain>(Application);
    form->Show();
}

void THelpViewerTest::Finish(bool close)
{
    if (!form) return;
    if (close) form->Close();
    delete form;
    form = nullptr;
}

QVariant THelpViewerTest::Eval(const QString& script)
{
    std::optional<QVariant> result;
    form->HelpBrowser->Page()->runJavaScript(script, [&](const QVariant& v) { result = v; });
    EXPECT_TRUE(WaitFor([&] { return result.has_value(); }, kWaitMs)) << script.toStdString();
    return result.value_or(QVariant());
}

bool THelpViewerTest::WaitForPage(const QString& suffix)
{
    return WaitFor(
        [&] {
            return form->HelpBrowser->LocationURL().endsWith(suffix) && !form->HelpBrowser->Busy() &&
                   Eval(QStringLiteral("document.readyState")).toString() == QLatin1String("complete");
        },
        kWaitMs);
}

QStringList THelpViewerTest::TakeMissingRequests()
{
    QMutexLocker lock(&Recorder().mutex);
    QStringList missing;
    missing.swap(Recorder().missing);
    return missing;
}

QStringList THelpViewerTest::BrokenPageParts()
{
    // An image that failed has no natural size; a style sheet that failed has no rules.
    const QString script = QStringLiteral(
        "(function() { var bad = [];"
        "  for (var i of document.images) if (!i.complete || i.naturalWidth == 0) bad.push(i.src);"
        "  for (var l of document.querySelectorAll('link[rel=stylesheet]'))"
        "    { try { if (!l.sheet || l.sheet.cssRules.length == 0) bad.push(l.href); } catch (e) { bad.push(l.href); } "
        "}"
        "  return bad.join('\\n'); })()");
    QString bad = Eval(script).toString();
    QStringList result = bad.isEmpty() ? QStringList() : bad.split(QLatin1Char('\n'));
    result += TakeMissingRequests();
    return result;
}

QStringList THelpViewerTest::PageLinks()
{
    const QString links =
        Eval(
            QStringLiteral("Array.from(document.links).map(a => a.href).filter(h => h.startsWith('res:')).join('\\n')"))
            .toString();
    return links.isEmpty() ? QStringList() : links.split(QLatin1Char('\n'));
}
