#include "WebSchemes.h"

#include "DocumentScheme.h"
#include "ResScheme.h"

#include <QByteArray>
#include <QWebEngineProfile>
#include <QWebEngineUrlScheme>
#include <unistd.h>

namespace {

QString& ProgramPrefix() {
    static QString prefix;
    return prefix;
}

}  // namespace

void RegisterWebSchemes() {
    if (!QWebEngineUrlScheme::schemeByName(kResScheme).name().isEmpty()) return;
    // Path syntax keeps res:///abs/path/... intact (no host to lower-case or drop), and
    // relative links still resolve against the page's URL.
    QWebEngineUrlScheme res(kResScheme);
    res.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Both schemes are local, like file: pages, so a res page may hand over to a written
    // document by script (web pages may not navigate to local schemes).
    res.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed |
                 QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(res);

    // Written documents may refer to local files through a file: base address.
    QWebEngineUrlScheme doc(kDocumentScheme);
    doc.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    doc.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(doc);
}

void InstallWebSchemeHandlers(QWebEngineProfile* profile) {
    if (!profile || profile->urlSchemeHandler(kResScheme)) return;
    // The handlers live as long as their profile, which may outlive any one browser.
    profile->installUrlSchemeHandler(kResScheme, new TResSchemeHandler(profile));
    profile->installUrlSchemeHandler(kDocumentScheme, new TDocumentSchemeHandler(profile));
}

void SetProgramResourcePrefix(const QString& prefix) {
    QString p = prefix;
    while (p.size() > 2 && p.endsWith(QLatin1Char('/'))) p.chop(1);
    ProgramPrefix() = p.startsWith(QLatin1String(":/")) ? p : QString();
}

QString ProgramResourcePrefix() { return ProgramPrefix(); }

void AllowBrowserEngineAsRoot() {
    if (geteuid() != 0) return;
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains("--no-sandbox")) return;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --no-sandbox");
}
