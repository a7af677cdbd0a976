#include "DocumentScheme.h"

#include "WebSchemes.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>

TDocumentStore& TDocumentStore::Instance()
{
    static TDocumentStore store;
    return store;
}

QUrl TDocumentStore::UrlFor(const QString& key)
{
    QUrl url;
    url.setScheme(QLatin1String(kDocumentScheme));
    url.setPath(QLatin1Char('/') + key);
    return url;
}

void TDocumentStore::Put(const QString& key, const QString& text)
{
    documents_.insert(key, QByteArray(kUtf8Bom) + text.toUtf8());
}

void TDocumentStore::PutBytes(const QString& key, const QByteArray& utf8)
{
    documents_.insert(key, utf8.startsWith(kUtf8Bom) ? utf8 : QByteArray(kUtf8Bom) + utf8);
}

void TDocumentStore::Remove(const QString& key)
{
    documents_.remove(key);
}

bool TDocumentStore::Find(const QUrl& url, QByteArray* data) const
{
    if (url.scheme() != QLatin1String(kDocumentScheme)) return false;
    const auto it = documents_.constFind(url.path().mid(1));
    if (it == documents_.constEnd()) return false;
    *data = it.value();
    return true;
}

void TDocumentSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    QByteArray data;
    if (!TDocumentStore::Instance().Find(job->requestUrl(), &data)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* buffer = new QBuffer(job);  // shares the stored bytes; the job frees the buffer
    buffer->setData(data);
    buffer->open(QIODevice::ReadOnly);
    // A plain MIME type: the job takes the whole string as the type, and a type with a charset
    // parameter is not one the engine renders directly. The byte-order mark at the start
    // fixes the encoding before anything else is looked at.
    job->reply("text/html", buffer);
}
