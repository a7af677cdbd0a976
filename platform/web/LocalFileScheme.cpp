#include "LocalFileScheme.h"

#include "ResScheme.h"
#include "WebSchemes.h"

#include <QFileInfo>
#include <QWebEngineUrlRequestJob>

namespace {

// out with the query and fragment of from.
QUrl WithQueryAndFragment(QUrl out, const QUrl& from)
{
    if (from.hasQuery()) out.setQuery(from.query(QUrl::FullyEncoded), QUrl::StrictMode);
    if (from.hasFragment()) out.setFragment(from.fragment(QUrl::FullyEncoded), QUrl::StrictMode);
    return out;
}

}  // namespace

QUrl LocalFileAddress(const QUrl& url)
{
    if (!url.isLocalFile() || !url.host().isEmpty()) return url;
    // Spelled without an authority ("vesk-file:/abs/path"), the one spelling the engine keeps
    // for a scheme of path syntax: with "//" a page resolving an address would read its first
    // folder as a host.
    QUrl address;
    address.setScheme(QLatin1String(kLocalFileScheme));
    address.setPath(url.path(QUrl::FullyDecoded), QUrl::DecodedMode);
    return WithQueryAndFragment(address, url);
}

QUrl FileUrlOf(const QUrl& url)
{
    const QString path = LocalFilePath(url);
    return path.isEmpty() ? url : WithQueryAndFragment(QUrl::fromLocalFile(path), url);
}

QString LocalFilePath(const QUrl& url)
{
    if (url.scheme() != QLatin1String(kLocalFileScheme) || !url.host().isEmpty()) return {};
    const QString path = url.path(QUrl::FullyDecoded);
    return path.startsWith(QLatin1Char('/')) ? path : QString();
}

void TLocalFileSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QString path = LocalFilePath(job->requestUrl());
    // isFile follows links and is false for folders, devices and pipes: no listings, nothing
    // that never ends.
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    ReplyWithFile(job, path);
}
