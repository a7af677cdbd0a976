#pragma once
// The document scheme: the text written into a browser is kept here and served from
// memory when the browser loads its document URL (vesk-doc:/<key>).
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

// Every stored document starts with the UTF-8 byte-order mark, so the engine decodes it as
// UTF-8 at once, without sniffing.
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

class TDocumentStore {
public:
    static TDocumentStore& Instance();

    // The URL that serves the text stored under key.
    static QUrl UrlFor(const QString& key);
    // Stores text (as UTF-8) under key, replacing what was there.
    void Put(const QString& key, const QString& text);
    // Stores UTF-8 bytes under key; bytes that start with the byte-order mark are shared, not
    // copied, and served as they are.
    void PutBytes(const QString& key, const QByteArray& utf8);
    void Remove(const QString& key);
    // The stored bytes for a document URL; false when the URL names nothing stored.
    bool Find(const QUrl& url, QByteArray* data) const;

private:
    QHash<QString, QByteArray> documents_;
};

class TDocumentSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};
