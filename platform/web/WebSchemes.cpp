#include "WebSchemes.h"

#include "DocumentScheme.h"
#include "ResScheme.h"

#include <QByteArray>
#include <QWebEngineProfile>
#include <QWebEngineUrlScheme>
#include <unistd.h>

namespace {

QString& ProgramPrefix()
{
    static QString prefix;
    return prefix;
}

}  // namespace

void RegisterWebSchemes()
{
    KeepBrowserEngineOffline();
    if (!QWebEngineUrlScheme::schemeByName(kResScheme).name().isEmpty()) return;
    // Path syntax keeps res:///abs/path/... intact (no host to lower-case or drop), and
    // relative links still resolve against the page's URL. All three schemes are local, like
    // file: pages, so a res page may hand over to a written document by script (web pages may
    // not navigate to local schemes), and their pages may load local files (a written document
    // reaches them through its base address). None takes part in CORS: no fetch reads them.
    const auto local = QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed;
    for (const char* name : {kResScheme, kDocumentScheme, kLocalFileScheme}) {
        QWebEngineUrlScheme scheme(name);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        scheme.setFlags(local);
        QWebEngineUrlScheme::registerScheme(scheme);
    }
}

void InstallWebSchemeHandlers(QWebEngineProfile* profile)
{
    if (!profile || profile->urlSchemeHandler(kResScheme)) return;
    // The handlers live as long as their profile, which may outlive any one browser.
    profile->installUrlSchemeHandler(kResScheme, new TResSchemeHandler(profile));
    profile->installUrlSchemeHandler(kDocumentScheme, new TDocumentSchemeHandler(profile));
}

void SetProgramResourcePrefix(const QString& prefix)
{
    QString p = prefix;
    while (p.size() > 2 && p.endsWith(QLatin1Char('/'))) p.chop(1);
    ProgramPrefix() = p.startsWith(QLatin1String(":/")) ? p : QString();
}

QString ProgramResourcePrefix()
{
    return ProgramPrefix();
}

void KeepBrowserEngineOffline()
{
    static constexpr char kOffline[] =
        " --proxy-server=127.0.0.1:1 --proxy-bypass-list=<-loopback>"
        " --force-webrtc-ip-handling-policy=disable_non_proxied_udp"
        " \"--host-resolver-rules=MAP * ~NOTFOUND\" --disable-features=AsyncDns";
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains(kOffline)) return;
    // Later switches win over the caller's.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + kOffline);
}

void AllowBrowserEngineAsRoot()
{
    if (geteuid() != 0) return;
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains("--no-sandbox")) return;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --no-sandbox");
}
