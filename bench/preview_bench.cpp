// Prints the live preview's figures, headless, in the real main window:
//  (a) the UI thread's time per keystroke (key press and release delivered through the event
//      loop, with the code pane's repaint), with the preview idle and with a render in flight;
//  (b) keystroke to the new text rendered, beside the same engine loading the same bytes from
//      a file in the same run, and their ratio; and beside the same file reached the way the
//      preview must reach its page (the page replacing itself, which leaves no history entry);
//  (c) start-up to the start page shown, beside a bare window holding only a browser view
//      showing the same page, each in a fresh process, and their ratio.
// Where the time of (b) goes is printed as the median moment of each step (the key handled,
// the write begun, the load started, the bytes asked for, the load ended), beside the same
// steps of the file load and of a plain load of the same bytes from our document scheme.
// Usage: preview_bench [--sizes 10k,100k,1m,20m] [--runs N] [--startup-runs N] [--no-startup]
//                      [--settle MS] (quiet time before each timed load) [--trace] (every step)
#include "Application.h"
#include "BrowserBench.h"
#include "DialogScript.h"
#include "DocumentScheme.h"
#include "ExceptionBarrier.h"
#include "ResourceModule.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarManager.h"
#include "dxBarExtItems.h"
#include "dxBarRegistry.h"
#include "LivePreview.h"
#include "frmHTML.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

namespace {

using browserbench::HeadlessEnvironment;
using browserbench::ParseSize;
using browserbench::Settle;
using browserbench::WaitFor;

// ---- figures ----

struct Series {
    std::vector<double> values;
    void Add(double v) { values.push_back(v); }
    double Quantile(double q) const
    {
        if (values.empty()) return 0;
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        const size_t i = std::min(v.size() - 1, size_t(q * double(v.size() - 1) + 0.5));
        return v[i];
    }
    double Median() const { return Quantile(0.5); }
    double Max() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
};

void PrintSeries(const char* what, const Series& s, const char* unit)
{
    std::printf("  %-34s median %9.2f %s   p95 %9.2f %s   max %9.2f %s   (n=%zu)\n", what, s.Median(), unit,
                s.Quantile(0.95), unit, s.Max(), unit, s.values.size());
}

double Ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// The CPU time the calling thread has used, in ns: beside the wall time of a keystroke, it
// tells the UI thread's own work from time it spent waiting or preempted.
qint64 ThreadCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Where the UI thread's time of one keystroke went, in ms from its key press: the pane's
// document changed (the edit and the pane's own bookkeeping), the pane's change handled (the
// editor's handler and the preview's share), the key events' end.
struct KeyTrace {
    double wall = 0;  // key press and release
    double cpu = 0;   // the UI thread's CPU time in them
    double docChanged = -1, changeHandled = -1, pressEnd = -1;
    void Print(const char* what) const
    {
        std::printf(
            "  %s: %.2f ms (UI thread CPU %.2f ms): document changed at %.2f, change handled at %.2f, "
            "key press done at %.2f\n",
            what, wall, cpu, docChanged, changeHandled, pressEnd);
    }
};

// ---- probes: where the time from a keystroke (or a file load) to its page goes ----

// Milliseconds since the clock started, at the first occurrence of each step (-1: not seen).
struct Steps {
    double keyDone = -1;      // the key release has been handled
    double written = -1;      // the document write began (the page is loading our text)
    double loadStarted = -1;  // the engine reports the navigation started
    double requested = -1;    // the engine asked for the document's bytes
    double finished = -1;     // the engine reports the load's end
};

struct Probe {
    QElapsedTimer clock;
    Steps* steps = nullptr;          // the run being traced, or none
    QUrl url;                        // the URL whose load is traced
    TWebDocument* follow = nullptr;  // or: the URL this document's next render loads
    bool trace = false;              // print every request and load step as it comes

    void Start(Steps* s, const QUrl& u, TWebDocument* document = nullptr)
    {
        steps = s;
        url = u;
        follow = document;
        clock.start();
    }
    bool Traced(const QUrl& u) const { return follow ? u == follow->Url() : u == url; }
    void Mark(double Steps::*step)
    {
        if (steps && steps->*step < 0) steps->*step = Ms(clock);
    }
};

Probe& TheProbe()
{
    static Probe probe;
    return probe;
}

// Sees every request of the engine, on the GUI thread: when the traced document is asked for.
class TRequestProbe : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        if (TheProbe().Traced(info.requestUrl())) TheProbe().Mark(&Steps::requested);
        if (TheProbe().steps && TheProbe().trace)
            std::printf("    %7.1f ms  request %s\n", Ms(TheProbe().clock),
                        qPrintable(info.requestUrl().toString().left(80)));
    }
};

void TraceLoads(QWebEnginePage* page)
{
    QObject::connect(page, &QWebEnginePage::loadingChanged, [](const QWebEngineLoadingInfo& info) {
        if (TheProbe().steps && TheProbe().trace)
            std::printf("    %7.1f ms  loading status %d %s\n", Ms(TheProbe().clock), int(info.status()),
                        qPrintable(info.url().toString().left(80)));
        if (!TheProbe().Traced(info.url())) return;
        TheProbe().Mark(info.status() == QWebEngineLoadingInfo::LoadStartedStatus ? &Steps::loadStarted
                                                                                  : &Steps::finished);
    });
}

struct StepSeries {
    Series keyDone, written, loadStarted, requested, finished;
    void Add(const Steps& s)
    {
        keyDone.Add(s.keyDone);
        written.Add(s.written);
        loadStarted.Add(s.loadStarted);
        requested.Add(s.requested);
        finished.Add(s.finished);
    }
    void Print(const char* what) const
    {
        std::printf(
            "  %s, median ms from the start: key handled %.1f, write begun %.1f, load started %.1f, "
            "bytes asked for %.1f, load ended %.1f\n",
            what, keyDone.Median(), written.Median(), loadStarted.Median(), requested.Median(), finished.Median());
    }
};

// ---- the application: times the delivery of key events and the main window's repaints ----

class TBenchApplication : public TQtApplication {
public:
    using TQtApplication::TQtApplication;

    QObject* keyTarget = nullptr;  // the code pane's widget
    QObject* window = nullptr;     // the main window's widget (its repaint request)
    bool measuring = false;
    qint64 busyNs = 0;    // key events and repaints
    qint64 keyNs = 0;     // key events alone
    qint64 keyCpuNs = 0;  // the UI thread's CPU time in the key events
    int keysDelivered = 0;
    QElapsedTimer keyClock;  // from the key press
    KeyTrace trace;          // of the keystroke being measured

    // Notes a step of the keystroke being measured.
    void Stamp(double KeyTrace::*step)
    {
        if (measuring && keyClock.isValid() && trace.*step < 0) trace.*step = Ms(keyClock);
    }

    // The document whose write the probe notes.
    TWebDocument* document = nullptr;

    bool notify(QObject* receiver, QEvent* event) override
    {
        const bool result = TimedNotify(receiver, event);
        if (event->type() == QEvent::KeyRelease && receiver == keyTarget) TheProbe().Mark(&Steps::keyDone);
        if (document && document->Rendering()) TheProbe().Mark(&Steps::written);
        return result;
    }

private:
    bool TimedNotify(QObject* receiver, QEvent* event)
    {
        const QEvent::Type type = event->type();
        const bool timed = measuring && depth_ == 0 &&
                           (((type == QEvent::KeyPress || type == QEvent::KeyRelease) && receiver == keyTarget) ||
                            (type == QEvent::UpdateRequest && receiver == window));
        if (!timed) return TQtApplication::notify(receiver, event);
        ++depth_;
        if (type == QEvent::KeyPress) keyClock.start();
        QElapsedTimer t;
        t.start();
        const qint64 cpu = ThreadCpuNs();
        const bool result = TQtApplication::notify(receiver, event);
        busyNs += t.nsecsElapsed();
        if (type != QEvent::UpdateRequest) {
            keyNs += t.nsecsElapsed();
            keyCpuNs += ThreadCpuNs() - cpu;
        }
        if (type == QEvent::KeyPress) Stamp(&KeyTrace::pressEnd);
        --depth_;
        if (type == QEvent::KeyRelease) ++keysDelivered;
        return result;
    }

    int depth_ = 0;
};

TBenchApplication* App()
{
    return static_cast<TBenchApplication*>(QCoreApplication::instance());
}

// ---- documents ----

// A document of about bytes UTF-8 bytes: head, then sections of long paragraphs of text with
// a few inline tags; it ends with the paragraph that the keystrokes go into.
QString MakeDocument(qint64 bytes)
{
    QString text = QStringLiteral("<html>\n<head>\n<title>Bench</title>\n</head>\n<body>\n");
    QString words;
    for (int i = 0; words.size() < 900; ++i) words += QStringLiteral("word%1 caf\u00e9 na\u00efve text, ").arg(i % 97);
    const QString block =
        QStringLiteral("<h2>Section %1</h2>\n<p>Some <b>bold</b> and <a href=\"page%1.htm\">a link</a>: ") + words +
        QStringLiteral("</p>\n");
    for (int i = 0; text.size() < bytes; ++i) text += block.arg(i);
    text += QStringLiteral("<p id=\"last\">typed:</p>\n</body>\n</html>\n");
    return text;
}

// The caret position for typing: inside the last paragraph.
int TypingPosition(const QString& text)
{
    return int(text.lastIndexOf(QStringLiteral("</p>")));
}

// ---- the editor under measurement ----

struct Editor {
    TfrmMain* form = nullptr;
    QPlainTextEdit* pane = nullptr;

    bool Busy() const { return form->Preview()->Busy(); }
    QWebEnginePage* Page() const { return form->WebBrowser->Page(); }
};

struct KeyCost {
    double keys = 0;   // key press and release: the pane's edit and the preview's share
    double total = 0;  // with the window's repaint
    KeyTrace trace;
};

// Posts one keystroke to the pane through the event loop and returns the UI thread's time
// for it, in ms.
KeyCost Keystroke(Editor& e, QChar c)
{
    TBenchApplication* app = App();
    app->busyNs = 0;
    app->keyNs = 0;
    app->keyCpuNs = 0;
    app->keysDelivered = 0;
    app->trace = KeyTrace();
    app->keyClock.invalidate();
    app->measuring = true;
    const QString text(c);
    QCoreApplication::postEvent(e.pane, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, text));
    QCoreApplication::postEvent(e.pane, new QKeyEvent(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, text));
    WaitFor([&] { return app->keysDelivered > 0; }, 600000);
    // Let the repaint request that the edit posted be delivered too.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 20) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    app->measuring = false;
    KeyTrace trace = app->trace;
    trace.wall = double(app->keyNs) / 1e6;
    trace.cpu = double(app->keyCpuNs) / 1e6;
    return {trace.wall, double(app->busyNs) / 1e6, trace};
}

// Runs the event loop until the preview has rendered the latest text; returns false on timeout.
bool WaitRendered(Editor& e, int timeoutMs)
{
    return WaitFor([&] { return !e.Busy() && e.Page()->url() == e.form->WebBrowser->Document()->Url(); }, timeoutMs);
}

// Loads url in view and returns the time to its load's end, in ms.
// With byReplace, the page navigates itself there by a script's location.replace, as the
// preview's render does (no history entry), instead of the view loading it.
double TimedLoad(QWebEngineView* view, const QUrl& url, int timeoutMs, Steps* steps = nullptr, bool byReplace = false)
{
    bool done = false;
    auto c = QObject::connect(view->page(), &QWebEnginePage::loadFinished, [&](bool) { done = true; });
    QElapsedTimer t;
    t.start();
    if (steps) TheProbe().Start(steps, url);
    if (byReplace)
        view->page()->runJavaScript(QStringLiteral("location.replace('%1')").arg(url.toString(QUrl::FullyEncoded)),
                                    QWebEngineScript::ApplicationWorld);
    else
        view->load(url);
    WaitFor([&] { return done; }, timeoutMs);
    const double ms = Ms(t);
    TheProbe().steps = nullptr;
    QObject::disconnect(c);
    return ms;
}

QString SizeName(qint64 bytes)
{
    if (bytes >= 1 << 20) return QStringLiteral("%1 MB").arg(bytes >> 20);
    return QStringLiteral("%1 KB").arg(bytes >> 10);
}

void RunSize(Editor& e, QWebEngineView* fileView, const QString& folder, qint64 bytes, int runs, int settleMs)
{
    const int timeoutMs = 600000;
    const QString document = MakeDocument(bytes);
    std::printf("\n%s document (%lld bytes UTF-8), %d runs\n", qPrintable(SizeName(bytes)),
                (long long)document.toUtf8().size(), runs);
    std::fflush(stdout);
    QElapsedTimer load;
    load.start();
    e.form->mmHTMLCode->SetText(document);
    if (!WaitRendered(e, timeoutMs)) std::printf("  (the first render did not end)\n");
    std::printf("  set into the pane and first render: %.0f ms\n", Ms(load));
    e.form->mmHTMLCode->SetSelStart(TypingPosition(document));
    e.pane->setFocus();

    // The same bytes the preview gets (with its base tag), from a file; loaded once so that each
    // timed load replaces the same document, as each render does.
    const QString filePath = folder + QStringLiteral("/same-bytes.htm");
    const QUrl fileUrl = QUrl::fromLocalFile(filePath);
    // Exactly the bytes the preview was served: its page's file, or what our scheme served.
    auto servedBytes = [&] {
        const QUrl url = e.form->WebBrowser->Document()->Url();
        QByteArray served;
        if (url.isLocalFile()) {
            QFile page(url.toLocalFile());
            if (page.open(QIODevice::ReadOnly)) served = page.readAll();
        } else {
            TDocumentStore::Instance().Find(url, &served);
        }
        return served;
    };
    auto writeFile = [&] {
        const QByteArray served = servedBytes();
        QFile f(filePath);
        f.open(QIODevice::WriteOnly);
        f.write(served);
    };
    writeFile();
    TimedLoad(fileView, fileUrl, timeoutMs);
    // The same bytes again, served by our document scheme to a plain load: the scheme's share
    // of the gap, apart from the preview's scripted navigation.
    const QString schemeKey = QStringLiteral("bench-same-bytes");
    const QUrl schemeUrl = TDocumentStore::UrlFor(schemeKey);
    auto storeBytes = [&] { TDocumentStore::Instance().PutBytes(schemeKey, servedBytes()); };

    Series keyIdle, keyInFlight, paintIdle, paintInFlight, rendered, fromFile, ratio, fromScheme, afterRender;
    Series fromFileReplace, ratioReplace;
    // The same bytes under a second name, which the file page replaces itself with.
    const QString replacePath = folder + QStringLiteral("/same-bytes-replaced.htm");
    Series cpuIdle, cpuInFlight;
    KeyTrace slowestIdle, slowestInFlight;
    auto keep = [](KeyTrace& slowest, const KeyTrace& t) {
        if (t.wall > slowest.wall) slowest = t;
    };
    StepSeries previewSteps, fileSteps, schemeSteps;
    int inFlightKeys = 0, burstMisses = 0;
    for (int run = 0; run < runs; ++run) {
        // (a) idle, (b) keystroke to rendered.
        // The engine gets the same quiet time before the keystroke as before each file load: a
        // render that follows another at once also pays for the engine's clean-up of the
        // document it replaces (measured apart below).
        WaitRendered(e, timeoutMs);
        Settle(settleMs);
        QElapsedTimer t;
        t.start();
        Steps preview, file;
        TheProbe().Start(&preview, {}, e.form->WebBrowser->Document());
        const KeyCost idle = Keystroke(e, QLatin1Char('a' + run % 26));
        keyIdle.Add(idle.keys);
        cpuIdle.Add(idle.trace.cpu);
        keep(slowestIdle, idle.trace);
        paintIdle.Add(idle.total);
        if (!WaitRendered(e, timeoutMs)) std::printf("  (a render did not end)\n");
        const double shownMs = Ms(t);
        TheProbe().steps = nullptr;
        rendered.Add(shownMs);
        previewSteps.Add(preview);
        writeFile();
        Settle(settleMs);
        const double fileMs = TimedLoad(fileView, fileUrl, timeoutMs, &file);
        fromFile.Add(fileMs);
        QFile::remove(replacePath);
        QFile::copy(filePath, replacePath);
        Settle(settleMs);
        const double replaceMs = TimedLoad(fileView, QUrl::fromLocalFile(replacePath), timeoutMs, nullptr, true);
        fromFileReplace.Add(replaceMs);
        ratioReplace.Add(shownMs / replaceMs);
        fileSteps.Add(file);
        Steps scheme;
        storeBytes();
        Settle(settleMs);
        fromScheme.Add(TimedLoad(fileView, schemeUrl, timeoutMs, &scheme));
        schemeSteps.Add(scheme);
        ratio.Add(shownMs / fileMs);

        // (a) with a render in flight: a burst of keys while the preview renders.
        Keystroke(e, QLatin1Char('b'));
        for (int k = 0; k < 5; ++k) {
            if (!e.Busy()) break;
            const KeyCost busy = Keystroke(e, QLatin1Char('c' + k));
            keyInFlight.Add(busy.keys);
            cpuInFlight.Add(busy.trace.cpu);
            keep(slowestInFlight, busy.trace);
            paintInFlight.Add(busy.total);
            ++inFlightKeys;
        }
        if (!WaitRendered(e, timeoutMs)) std::printf("  (a burst's render did not end)\n");
        // The latest text must be the one shown: the last paragraph's text is checked.
        const QString pane = e.form->mmHTMLCode->Text();
        const QString expected =
            pane.mid(pane.lastIndexOf(QStringLiteral("typed:")),
                     pane.lastIndexOf(QStringLiteral("</p>")) - pane.lastIndexOf(QStringLiteral("typed:")));
        std::optional<QString> shown;
        e.Page()->runJavaScript(QStringLiteral("document.getElementById('last').textContent"),
                                [&](const QVariant& v) { shown = v.toString(); });
        WaitFor([&] { return shown.has_value(); }, timeoutMs);
        if (shown.value_or(QString()) != expected) ++burstMisses;
        // (b) once more, with the keystroke right after the burst's render.
        QElapsedTimer after;
        after.start();
        Keystroke(e, QLatin1Char('a' + run % 26));
        if (!WaitRendered(e, timeoutMs)) std::printf("  (a render did not end)\n");
        afterRender.Add(Ms(after));
        std::printf(
            "  run %d: key idle %.2f ms, key->rendered %.0f ms (write %.0f, started %.0f, ended %.0f), "
            "file %.0f ms (by replace %.0f ms), our scheme %.0f ms; right after a render %.0f ms\n",
            run + 1, keyIdle.values.back(), shownMs, preview.written, preview.loadStarted, preview.finished, fileMs,
            fromFileReplace.values.back(), fromScheme.values.back(), afterRender.values.back());
        std::fflush(stdout);
    }
    PrintSeries("UI per keystroke, preview idle", keyIdle, "ms");
    PrintSeries("UI per keystroke, render in flight", keyInFlight, "ms");
    PrintSeries("  its UI thread CPU time, idle", cpuIdle, "ms");
    PrintSeries("  its UI thread CPU time, in flight", cpuInFlight, "ms");
    slowestIdle.Print("slowest keystroke, preview idle");
    slowestInFlight.Print("slowest keystroke, render in flight");
    PrintSeries("  with the window's repaint, idle", paintIdle, "ms");
    PrintSeries("  with the window's repaint, in flight", paintInFlight, "ms");
    PrintSeries("keystroke -> rendered", rendered, "ms");
    PrintSeries("engine loading the bytes from a file", fromFile, "ms");
    PrintSeries("ratio rendered / file", ratio, "x ");
    PrintSeries("the file by the preview's replace", fromFileReplace, "ms");
    PrintSeries("ratio rendered / file by replace", ratioReplace, "x ");
    PrintSeries("engine loading them from our scheme", fromScheme, "ms");
    PrintSeries("keystroke right after a render -> rendered", afterRender, "ms");
    previewSteps.Print("preview");
    fileSteps.Print("file   ");
    schemeSteps.Print("scheme ");
    TDocumentStore::Instance().Remove(schemeKey);
    std::printf("  keys typed during a render: %d; bursts whose preview missed the latest text: %d\n", inFlightKeys,
                burstMisses);
    std::fflush(stdout);
}

void SetUpEditorClasses()
{
    RegisterWebClasses();
    dxBarInitialize();
    dxBarRegisterManagerClasses();
    dxBarExtItemsInitialize();  // the form holds extended items
    SetProgramResourcePrefix(QStringLiteral(":/editor"));
}

// ---- start-up ----

// Child: starts the editor's main window (or a bare browser window on the same start page)
// and prints "shown" when the start page has loaded.
int RunStartupChild(int argc, char** argv, bool editor)
{
    RegisterWebSchemes();
    TQtApplication app(argc, argv);
    auto shown = [] {
        std::printf("shown\n");
        std::fflush(stdout);
        std::exit(0);
    };
    const QString startPage =
        QStringLiteral("Res://") + QCoreApplication::applicationDirPath() + QStringLiteral("/Tarnwick.dll/Start.htm");
    QWebEnginePage* page = nullptr;
    QWidget bare;
    if (editor) {
        SetUpEditorClasses();
        Application->SetTitle(QStringLiteral("Zundra's HTML Editor"));
        Application->CreateForm(frmMain);
        frmMain->Show();
        page = frmMain->WebBrowser->Page();
    } else {
        TResourceModule::Load(QStringLiteral("Tarnwick.dll"));
        InstallWebSchemeHandlers(QWebEngineProfile::defaultProfile());
        auto* view = new QWebEngineView(&bare);
        bare.resize(634, 477);
        view->resize(634, 477);
        bare.show();
        view->load(QUrl(QStringLiteral("res://") + QCoreApplication::applicationDirPath() +
                        QStringLiteral("/Tarnwick.dll/Start.htm")));
        page = view->page();
    }
    (void)startPage;
    QObject::connect(page, &QWebEnginePage::loadingChanged, [&](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus &&
            info.url().path().endsWith(QStringLiteral("Start.htm"), Qt::CaseInsensitive))
            shown();
    });
    QTimer::singleShot(120000, [] { std::exit(2); });
    return app.exec();
}

double TimeChild(const QString& mode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer t;
    t.start();
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode});
    double ms = -1;
    while (p.waitForReadyRead(120000)) {
        if (p.readAllStandardOutput().contains("shown")) {
            ms = Ms(t);
            break;
        }
    }
    p.waitForFinished(30000);
    return ms;
}

void RunStartup(int runs)
{
    Series editor, bare, ratio;
    TimeChild(QStringLiteral("bare"));  // warms the disk cache for both
    for (int i = 0; i < runs; ++i) {
        const double b = TimeChild(QStringLiteral("bare"));
        const double ed = TimeChild(QStringLiteral("editor"));
        bare.Add(b);
        editor.Add(ed);
        ratio.Add(ed / b);
    }
    std::printf("\nstart-up to the start page shown, %d runs each\n", runs);
    PrintSeries("editor main window", editor, "ms");
    PrintSeries("bare window with a browser view", bare, "ms");
    PrintSeries("ratio editor / bare", ratio, "x ");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--child")
        return RunStartupChild(argc, argv, std::string(argv[2]) == "editor");

    QTemporaryDir home;
    HeadlessEnvironment(home.path().toLocal8Bit());
    QList<qint64> sizes{10 << 10, 100 << 10, 1 << 20, 20 << 20};
    int runs = 0, startupRuns = 5, settleMs = -1;
    bool startup = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--sizes" && i + 1 < argc) {
            sizes.clear();
            for (const QString& s : QString::fromLocal8Bit(argv[++i]).split(',')) sizes << ParseSize(s);
        } else if (a == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else if (a == "--startup-runs" && i + 1 < argc) {
            startupRuns = std::atoi(argv[++i]);
        } else if (a == "--settle" && i + 1 < argc) {
            settleMs = std::atoi(argv[++i]);
        } else if (a == "--trace") {
            TheProbe().trace = true;
        } else if (a == "--no-startup") {
            startup = false;
        }
    }

    RegisterWebSchemes();
    TBenchApplication app(argc, argv);
    if (startup) RunStartup(startupRuns);

    SetUpEditorClasses();
    TDialogScript script;  // no modal box ever blocks the run
    Application->SetTitle(QStringLiteral("Zundra's HTML Editor"));
    Editor e;
    e.form = Create<TfrmMain>(Application);
    frmMain = e.form;
    e.form->Show();
    e.pane = e.form->mmHTMLCode->Editor();
    app.keyTarget = e.pane;
    // Connected after the pane's own handlers, so each runs when theirs have.
    QObject::connect(e.pane->document(), &QTextDocument::contentsChange, [&] { app.Stamp(&KeyTrace::docChanged); });
    QObject::connect(e.pane, &QPlainTextEdit::textChanged, [&] { app.Stamp(&KeyTrace::changeHandled); });
    app.window = e.form->Handle();
    // Wait for the start page, then give the document a folder, as an opened file has.
    WaitFor([&] { return e.Page()->url().path().endsWith(QStringLiteral("Start.htm")) && !e.Busy(); }, 120000);
    QTemporaryDir site;
    e.form->edPathEdit->SetText(site.path());
    app.document = e.form->WebBrowser->Document();

    QWidget fileWindow;
    auto* fileView = new QWebEngineView(&fileWindow);
    const QSize previewSize = e.form->WebBrowser->View()->size();
    fileWindow.resize(previewSize);
    fileView->resize(previewSize);
    fileWindow.show();
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(new TRequestProbe(&app));
    TraceLoads(e.Page());
    TraceLoads(fileView->page());

    for (qint64 bytes : sizes) {
        const int n = runs > 0 ? runs : bytes >= (20 << 20) ? 3 : bytes >= (1 << 20) ? 7 : 15;
        RunSize(e, fileView, site.path(), bytes, n, settleMs >= 0 ? settleMs : bytes >= (20 << 20) ? 3000 : 1000);
    }
    delete e.form;
    return 0;
}
