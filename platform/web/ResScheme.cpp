#include "ResScheme.h"

#include "ResourceModule.h"
#include "WebSchemes.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <memory>

namespace {

// The file-system path a res URL spells. On Linux the spelling is res:///abs/path/...;
// a URL parsed with an authority (res://abs/path/...) gives the first folder as the host.
QString UrlFilePath(const QUrl& url)
{
    const QString path = url.path(QUrl::FullyDecoded);
    const QString host = url.host(QUrl::FullyDecoded);
    return host.isEmpty() ? path : QLatin1Char('/') + host + path;
}

// The part of path after container + "/", matched without case; empty when outside it.
QString NameInside(const QString& path, const QString& container)
{
    if (container.isEmpty()) return {};
    const QString prefix = container + QLatin1Char('/');
    if (!path.startsWith(prefix, Qt::CaseInsensitive)) return {};
    return path.mid(prefix.size());
}

bool SafeSegments(const QStringList& segments)
{
    for (const QString& s : segments) {
        if (s.isEmpty() || s == QLatin1String(".") || s == QLatin1String("..")) return false;
        if (s.contains(QLatin1Char('\\')) || s.contains(QLatin1Char(':')) || s.contains(QChar(0))) return false;
    }
    return !segments.isEmpty();
}

// Finds segment in folder: an exact match first, else the one entry equal without case.
QString FindEntry(const QString& folder, const QString& segment)
{
    const QString exact = folder + QLatin1Char('/') + segment;
    if (QFileInfo::exists(exact)) return exact;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& e : entries)
        if (e.compare(segment, Qt::CaseInsensitive) == 0) return folder + QLatin1Char('/') + e;
    return {};
}

QString ResolveInside(const QString& root, const QString& name)
{
    if (!root.startsWith(QLatin1String(":/"))) return {};
    const QStringList segments = name.split(QLatin1Char('/'));
    if (!SafeSegments(segments)) return {};
    QString current = root;
    for (const QString& s : segments) {
        current = FindEntry(current, s);
        if (current.isEmpty()) return {};
    }
    return QFileInfo(current).isFile() ? current : QString();
}

}  // namespace

QString ResPageUrl(const QString& containerPath, const QString& name)
{
    return QStringLiteral("res://") + QString::fromLatin1(QUrl::toPercentEncoding(containerPath, "/")) +
           QLatin1Char('/') + name;
}

QString ResolveResUrl(const QUrl& url)
{
    if (!url.isValid() || url.scheme().compare(QLatin1String(kResScheme), Qt::CaseInsensitive) != 0) return {};
    const QString path = UrlFilePath(url);
    if (path.contains(QLatin1Char('\\'))) return {};
    const QString programPrefix = ProgramResourcePrefix();
    if (!programPrefix.isEmpty()) {
        const QString name = NameInside(path, QCoreApplication::applicationFilePath());
        if (!name.isEmpty()) return ResolveInside(programPrefix, name);
    }
    for (const TResourceModule* m : TResourceModule::Loaded()) {
        const QString name = NameInside(path, m->FileName());
        if (!name.isEmpty()) return ResolveInside(m->Root(), name);
    }
    return {};
}

QByteArray ResMimeType(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    // The common web types are fixed here; the MIME database may know others.
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html")) return "text/html";
    if (suffix == QLatin1String("css")) return "text/css";
    if (suffix == QLatin1String("js") || suffix == QLatin1String("mjs")) return "text/javascript";
    if (suffix == QLatin1String("png")) return "image/png";
    if (suffix == QLatin1String("gif")) return "image/gif";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return "image/jpeg";
    if (suffix == QLatin1String("svg")) return "image/svg+xml";
    const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    return type.isDefault() ? QByteArray("application/octet-stream") : type.name().toLatin1();
}

void TResSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QString resource = ResolveResUrl(job->requestUrl());
    if (resource.isEmpty()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    ReplyWithFile(job, resource);
}

void ReplyWithFile(QWebEngineUrlRequestJob* job, const QString& path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    QIODevice* device = file->size() > 0 ? static_cast<QIODevice*>(file.release()) : new QBuffer;
    if (!device->isOpen()) device->open(QIODevice::ReadOnly);
    device->setParent(job);  // the job owns the device and frees it with itself
    job->reply(ResMimeType(path), device);
}
