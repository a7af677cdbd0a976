#pragma once
// The res scheme: maps a res URL to a file inside the program's compiled resources or a
// loaded resource module, and serves it.
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

class QWebEngineUrlRequestJob;

// The Qt resource path (":/...") that url names, or an empty string when it names nothing
// we serve. Names match without case; "." and ".." segments (also percent-encoded),
// backslashes and empty segments are refused, so nothing outside a bundle is reachable.
QString ResolveResUrl(const QUrl& url);

// The res URL of the page name inside container (the program's file or a resource module's
// file). The container's path is percent-encoded, so blanks, "#" and "%" in its folders stay
// part of the path.
QString ResPageUrl(const QString& containerPath, const QString& name);

// MIME type for a served file, from its name ("text/html", "text/css", "image/png" ...).
QByteArray ResMimeType(const QString& fileName);

// Answers job with the file at path and its MIME type, or fails it when the file cannot be
// opened. A file that gives no size is served empty without being read: the kernel's own
// files (under /proc and /sys) give none, and a read of some of them would never end.
void ReplyWithFile(QWebEngineUrlRequestJob* job, const QString& path);

class TResSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};
