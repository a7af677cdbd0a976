#pragma once
// The guard over pages nobody vetted (the editor's preview shows whatever page is typed or
// opened). A guarded browser's page lives in a profile of its own, kept in memory only, whose
// every request passes TPageGuard: the page shows its local files but reads none of them,
// reaches none of the program's own pages or documents, and nothing leaves the machine. The
// policy is written down in platform/README.md.
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <functional>

class QWebEngineProfile;

// What the guard knows of a request.
struct TGuardedRequest {
    QUrl url;
    QWebEngineUrlRequestInfo::ResourceType type = QWebEngineUrlRequestInfo::ResourceTypeUnknown;
    QWebEngineUrlRequestInfo::NavigationType navigation = QWebEngineUrlRequestInfo::NavigationTypeOther;
    QUrl firstParty;  // the address of the page's top document
};

// Whether a guarded page may make the request.
bool GuardAllows(const TGuardedRequest& request);

// Refuses every request of its profile that GuardAllows refuses.
class TPageGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

// The profile of guarded pages: off the record, with the program's schemes, the local-file
// scheme, the guard, and settings that allow no windows, clipboard, plug-ins, unknown schemes
// (no outside program is started for a link), link auditing or DNS prefetching. Made on first
// use; it lives as long as the application.
QWebEngineProfile* GuardedProfile();

// A page of the guarded profile. Documents of the document scheme are shown only when
// ownsDocument says they were written into this page's own browser; a file: page is loaded
// through the local-file scheme instead; no window is ever opened.
class TGuardedPage : public QWebEnginePage {
    Q_OBJECT
public:
    TGuardedPage(std::function<bool(const QUrl&)> ownsDocument, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    std::function<bool(const QUrl&)> ownsDocument_;
};

// The address under which page loads url: a guarded page reaches local files through the
// local-file scheme; anything else, and any URL in another page, as it is.
QUrl LoadAddress(const QWebEnginePage* page, const QUrl& url);
