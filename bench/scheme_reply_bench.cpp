// How the browser engine takes a large page from a URL scheme handler, against the same bytes
// from a file: one headless view loads one document (the preview bench's kind of page) by each
// way in turn, the same quiet time before each load, and prints the median time to the load's
// end and its ratio to the file.
//  file          the bytes from a file
//  buffer        our handler's reply today: one buffer, "text/html", the byte-order mark first
//  charset       the same with "text/html;charset=utf-8"
//  chunks        a sequential device fed 1 MB at a time (no size known in advance); only with
//                --only, since on this engine its load never ends
//  plain-scheme  one buffer from a scheme registered without the local flags
//  secure-scheme one buffer from a scheme registered as secure and local
// Usage: scheme_reply_bench [--size 20m] [--runs N] [--settle MS] [--only name,name]
#include "BrowserBench.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using browserbench::ParseSize;
using browserbench::Settle;
using browserbench::WaitFor;

QByteArray g_bytes;  // the page, with the byte-order mark

// A sequential device that hands out the shared bytes a chunk at a time, as a writer that
// produces them piece by piece would.
class TChunkDevice : public QIODevice {
public:
    TChunkDevice(const QByteArray& data, QObject* parent) : QIODevice(parent), data_(data)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        Feed();
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return fed_ - pos_ + QIODevice::bytesAvailable(); }
    bool atEnd() const override { return pos_ >= data_.size() && QIODevice::bytesAvailable() == 0; }

protected:
    qint64 readData(char* out, qint64 max) override
    {
        const qint64 n = std::min(max, fed_ - pos_);
        std::copy_n(data_.constData() + pos_, n, out);
        pos_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    void Feed()
    {
        fed_ = std::min<qint64>(data_.size(), fed_ + (1 << 20));
        emit readyRead();
        if (fed_ < data_.size()) QTimer::singleShot(0, this, [this] { Feed(); });
    }
    QByteArray data_;
    qint64 fed_ = 0;
    qint64 pos_ = 0;
};

class THandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        const QString how = job->requestUrl().query();
        if (how == QLatin1String("chunks")) {
            job->reply("text/html", new TChunkDevice(g_bytes, job));
            return;
        }
        auto* buffer = new QBuffer(job);
        buffer->setData(g_bytes);
        buffer->open(QIODevice::ReadOnly);
        job->reply(how == QLatin1String("charset") ? "text/html;charset=utf-8" : "text/html", buffer);
    }
};

void RegisterSchemes()
{
    const QWebEngineUrlScheme::Flags local =
        QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed | QWebEngineUrlScheme::CorsEnabled;
    const std::vector<std::pair<const char*, QWebEngineUrlScheme::Flags>> schemes = {
        {"bench-local", local},
        {"bench-plain", {}},
        {"bench-secure", local | QWebEngineUrlScheme::SecureScheme},
    };
    for (const auto& [name, flags] : schemes) {
        QWebEngineUrlScheme s(name);
        s.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        s.setFlags(flags);
        QWebEngineUrlScheme::registerScheme(s);
    }
}

QByteArray MakePage(qint64 bytes)
{
    QString text = QStringLiteral("<html>\n<head>\n<title>Bench</title>\n</head>\n<body>\n");
    QString words;
    for (int i = 0; words.size() < 900; ++i) words += QStringLiteral("word%1 caf\u00e9 na\u00efve text, ").arg(i % 97);
    const QString block =
        QStringLiteral("<h2>Section %1</h2>\n<p>Some <b>bold</b> and <a href=\"page%1.htm\">a link</a>: ") + words +
        QStringLiteral("</p>\n");
    for (int i = 0; text.size() < bytes; ++i) text += block.arg(i);
    text += QStringLiteral("</body>\n</html>\n");
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

double TimedLoad(QWebEngineView* view, const QUrl& url)
{
    bool done = false;
    auto c = QObject::connect(view->page(), &QWebEnginePage::loadFinished, [&](bool) { done = true; });
    QElapsedTimer t;
    t.start();
    view->load(url);
    if (!WaitFor([&] { return done; }, 120000)) std::printf("  (no load end within 120 s)\n");
    QObject::disconnect(c);
    return double(t.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    browserbench::HeadlessEnvironment(home.path().toLocal8Bit());
    qint64 size = 20 << 20;
    int runs = 3, settleMs = 1500;
    QStringList only;
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--size")
            size = ParseSize(QString::fromLocal8Bit(argv[++i]));
        else if (a == "--runs")
            runs = std::atoi(argv[++i]);
        else if (a == "--settle")
            settleMs = std::atoi(argv[++i]);
        else if (a == "--only")
            only = QString::fromLocal8Bit(argv[++i]).split(',');
    }
    RegisterSchemes();
    QApplication app(argc, argv);
    auto* handler = new THandler(&app);
    for (const char* name : {"bench-local", "bench-plain", "bench-secure"})
        QWebEngineProfile::defaultProfile()->installUrlSchemeHandler(name, handler);

    g_bytes = MakePage(size);
    const QString path = home.path() + QStringLiteral("/page.htm");
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(g_bytes);
    }
    const std::vector<std::pair<QString, QUrl>> ways = {
        {QStringLiteral("file"), QUrl::fromLocalFile(path)},
        {QStringLiteral("buffer"), QUrl(QStringLiteral("bench-local:/page"))},
        {QStringLiteral("charset"), QUrl(QStringLiteral("bench-local:/page?charset"))},
        {QStringLiteral("chunks"), QUrl(QStringLiteral("bench-local:/page?chunks"))},
        {QStringLiteral("plain-scheme"), QUrl(QStringLiteral("bench-plain:/page"))},
        {QStringLiteral("secure-scheme"), QUrl(QStringLiteral("bench-secure:/page"))},
    };

    QWidget window;
    auto* view = new QWebEngineView(&window);
    window.resize(634, 400);
    view->resize(634, 400);
    window.show();
    TimedLoad(view, QUrl(QStringLiteral("about:blank")));

    std::printf("%lld bytes, %d runs, %d ms quiet before each load\n", (long long)g_bytes.size(), runs, settleMs);
    std::map<QString, std::vector<double>> times;
    for (int run = 0; run < runs; ++run) {
        for (const auto& [name, url] : ways) {
            const bool asked = only.isEmpty() ? name != QLatin1String("chunks") : only.contains(name);
            if (name != QLatin1String("file") && !asked) continue;
            Settle(settleMs);
            const double ms = TimedLoad(view, url);
            times[name].push_back(ms);
            std::printf("  run %d %-14s %9.0f ms\n", run + 1, qPrintable(name), ms);
            std::fflush(stdout);
        }
    }
    const double file = Median(times[QStringLiteral("file")]);
    std::printf("median time to the load's end, and its ratio to the file:\n");
    for (const auto& [name, url] : ways) {
        if (!times.count(name)) continue;
        const double m = Median(times[name]);
        std::printf("  %-14s %9.0f ms  %5.2fx\n", qPrintable(name), m, m / file);
    }
    return 0;
}
