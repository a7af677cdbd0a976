#include "PageGuard.h"

#include "ExceptionBarrier.h"
#include "LocalFileScheme.h"
#include "WebSchemes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {

using R = QWebEngineUrlRequestInfo;

// What the engine shows without handing it to a script: a page and its frames (each its own
// document, which the others may not look into), style sheets, scripts, images, fonts, sound
// and video. Not reads (fetch, XMLHttpRequest, preloads), workers, pings or sockets.
bool Shown(R::ResourceType type)
{
    switch (type) {
    case R::ResourceTypeMainFrame:
    case R::ResourceTypeSubFrame:
    case R::ResourceTypeObject:
    case R::ResourceTypeStylesheet:
    case R::ResourceTypeScript:
    case R::ResourceTypeImage:
    case R::ResourceTypeFontResource:
    case R::ResourceTypeMedia:
    case R::ResourceTypeFavicon: return true;
    default: return false;
    }
}

// A local file, as what the request loads it: only a regular file, so never a folder listing,
// a device or a pipe. The engine reads file: addresses itself, so those must also give their
// size: the kernel's files under /proc and /sys give none and a read of some never ends (the
// local-file scheme serves such a file empty). Only a file named as a style sheet or a script
// is parsed as one, so no other file's text comes back in a script's error message or a style
// sheet's rules (nor as a JSON or CSS module).
bool LocalFileAllowed(const QString& path, R::ResourceType type, bool engineReads)
{
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    if (!info.isFile() || (engineReads && info.size() <= 0)) return false;
    const QString suffix = info.suffix().toLower();
    switch (type) {
    case R::ResourceTypeStylesheet: return suffix == QLatin1String("css");
    case R::ResourceTypeScript: return suffix == QLatin1String("js") || suffix == QLatin1String("mjs");
    default: return Shown(type);
    }
}

// Navigations only the program starts (a page cannot pretend to be typed in) and going back
// or forward to them.
bool ProgramNavigation(R::NavigationType navigation)
{
    return navigation == R::NavigationTypeTyped || navigation == R::NavigationTypeBackForward ||
           navigation == R::NavigationTypeReload;
}

bool IsScheme(const QString& scheme, const char* name)
{
    return scheme == QLatin1String(name);
}

R::NavigationType RequestNavigation(QWebEnginePage::NavigationType type)
{
    switch (type) {
    case QWebEnginePage::NavigationTypeLinkClicked: return R::NavigationTypeLink;
    case QWebEnginePage::NavigationTypeTyped: return R::NavigationTypeTyped;
    case QWebEnginePage::NavigationTypeFormSubmitted: return R::NavigationTypeFormSubmitted;
    case QWebEnginePage::NavigationTypeBackForward: return R::NavigationTypeBackForward;
    case QWebEnginePage::NavigationTypeReload: return R::NavigationTypeReload;
    case QWebEnginePage::NavigationTypeRedirect: return R::NavigationTypeRedirect;
    default: return R::NavigationTypeOther;
    }
}

}  // namespace

bool GuardAllows(const TGuardedRequest& request)
{
    const QString scheme = request.url.scheme();
    switch (request.type) {
    case R::ResourceTypeWorker:
    case R::ResourceTypeSharedWorker:
    case R::ResourceTypeServiceWorker:  // their requests have no page behind them
    case R::ResourceTypeWebSocket: return false;
    default: break;
    }
    // What the page made itself.
    if (IsScheme(scheme, "data") || IsScheme(scheme, "blob") || IsScheme(scheme, "about")) return true;
    if (IsScheme(scheme, "file"))
        return LocalFileAllowed(request.url.host().isEmpty() ? request.url.toLocalFile() : QString(), request.type,
                                true);
    if (IsScheme(scheme, kLocalFileScheme)) return LocalFileAllowed(LocalFilePath(request.url), request.type, false);
    // Written documents only as the page itself; which ones, TGuardedPage decides.
    if (IsScheme(scheme, kDocumentScheme)) return request.type == R::ResourceTypeMainFrame;
    // The program's own pages when the program shows them, with their style sheets and images.
    if (IsScheme(scheme, kResScheme)) {
        if (request.type == R::ResourceTypeMainFrame) return ProgramNavigation(request.navigation);
        return IsScheme(request.firstParty.scheme(), kResScheme) && request.type != R::ResourceTypeSubFrame &&
               request.type != R::ResourceTypeObject && Shown(request.type);
    }
    // The network (http, https, ws, ftp ...), the program's compiled resources (qrc) and the
    // engine's own pages.
    return false;
}

void TPageGuard::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    // Refused unless judged allowed, also when judging fails.
    bool allowed = false;
    RunGuarded(this, [&] {
        allowed = GuardAllows({info.requestUrl(), info.resourceType(), info.navigationType(), info.firstPartyUrl()});
    });
    if (!allowed) info.block(true);
}

QWebEngineProfile* GuardedProfile()
{
    static QPointer<QWebEngineProfile> profile;
    if (profile) return profile;
    profile = new QWebEngineProfile(QCoreApplication::instance());  // no name: off the record
    InstallWebSchemeHandlers(profile);
    profile->installUrlSchemeHandler(kLocalFileScheme, new TLocalFileSchemeHandler(profile));
    profile->setUrlRequestInterceptor(new TPageGuard(profile));
    QWebEngineSettings* settings = profile->settings();
    // Each local page is a document of its own that may read no other: its files load because
    // its scheme may load local files, never because it shares an origin with them.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    settings->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    settings->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    // A link to mailto: or an unknown scheme starts no outside program.
    settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    return profile;
}

TGuardedPage::TGuardedPage(std::function<bool(const QUrl&)> ownsDocument, QObject* parent)
    : QWebEnginePage(GuardedProfile(), parent), ownsDocument_(std::move(ownsDocument))
{}

bool TGuardedPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    bool accept = false;
    RunGuarded(this, [&] {
        // Under file: a page could load none of its files; under the local-file scheme it
        // loads them. Frames stay where they are (a file: frame shows, without its files).
        const QUrl address = isMainFrame ? LocalFileAddress(url) : url;
        // Judged as its request will be, so a refused navigation leaves the page as it is
        // instead of showing an error.
        const TGuardedRequest request{address, isMainFrame ? R::ResourceTypeMainFrame : R::ResourceTypeSubFrame,
                                      RequestNavigation(type), this->url()};
        if (!GuardAllows(request)) return;
        if (IsScheme(address.scheme(), kDocumentScheme)) {
            accept = ownsDocument_ && ownsDocument_(address);
        } else if (address != url) {
            QTimer::singleShot(0, this, Guarded([this, address] { load(address); }, this));
        } else {
            accept = true;
        }
    });
    return accept;
}

QWebEnginePage* TGuardedPage::createWindow(WebWindowType /*type*/)
{
    return nullptr;
}

QUrl LoadAddress(const QWebEnginePage* page, const QUrl& url)
{
    return qobject_cast<const TGuardedPage*>(page) ? LocalFileAddress(url) : url;
}
