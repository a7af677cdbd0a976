#pragma once
// The local-file scheme: a guarded browser (PageGuard.h) reaches local files as
// vesk-file:/abs/path instead of file:///abs/path. Its pages then load their relative
// images, style sheets, scripts and frames from the same scheme, which the engine lets them
// do while file: pages of a guarded browser may load nothing. Only regular files are served:
// a folder, a device or a missing file gives no page.
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

// The local-file address of a file: URL; any other URL as it is.
QUrl LocalFileAddress(const QUrl& url);
// The file: URL of a local-file address; any other URL as it is.
QUrl FileUrlOf(const QUrl& url);
// The absolute path a local-file address names, or an empty string for anything else (another
// scheme, a host, a relative path).
QString LocalFilePath(const QUrl& url);

class TLocalFileSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};
