#include "WebDocument.h"

#include "DocumentScheme.h"
#include "PageGuard.h"
#include "WebSchemes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QPointer>
#include <QVariantList>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <atomic>

namespace {

QString NextKey()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("document-%1").arg(++counter);
}

QString JsString(const QString& s)
{
    // A JSON string literal is a valid script string literal.
    const QByteArray json = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

// Local pages may send themselves to the (local) document scheme.
bool CanReplaceByScript(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme == QLatin1String(kDocumentScheme) || scheme == QLatin1String(kResScheme) ||
           scheme == QLatin1String(kLocalFileScheme) || scheme == QLatin1String("file");
}

}  // namespace

TWebDocument::TWebDocument(QWebEnginePage* page, QObject* parent)
    : QObject(parent), page_(page), key_(NextKey()), url_(TDocumentStore::UrlFor(key_)), current_(url_)
{
    connect(page_, &QWebEnginePage::loadingChanged, this, &TWebDocument::OnLoadingChanged);
    // A page whose renderer died answers no script: a render waiting on one loads directly.
    connect(page_, &QWebEnginePage::renderProcessTerminated, this, [this] { LoadDirectly(renders_); });
}

TWebDocument::~TWebDocument()
{
    TDocumentStore::Instance().Remove(key_);
}

void TWebDocument::Close()
{
    open_ = false;
}

void TWebDocument::Write(const QString& text)
{
    if (open_) {
        text_ += text;
    } else {
        text_ = text;
        open_ = true;
    }
    source_ = TSource::Text;
    bytes_.clear();
    RenderOrHold();
}

void TWebDocument::Replace(const QByteArray& utf8)
{
    text_.clear();
    open_ = false;
    bytes_ = utf8;
    source_ = TSource::Bytes;
    RenderOrHold();
}

void TWebDocument::ReplaceFromFile(const QUrl& file)
{
    text_.clear();
    open_ = false;
    bytes_.clear();
    file_ = LoadAddress(page_, file);
    source_ = TSource::File;
    RenderOrHold();
}

void TWebDocument::RenderOrHold()
{
    if (rendering_)
        held_ = true;
    else
        StartRender();
}

void TWebDocument::StartRender()
{
    if (!page_) return;
    rendering_ = true;
    started_ = false;
    held_ = false;
    const bool rewrite = page_->url() == current_;
    switch (source_) {
    case TSource::Text: TDocumentStore::Instance().Put(key_, text_); break;
    case TSource::Bytes: TDocumentStore::Instance().PutBytes(key_, bytes_); break;
    case TSource::File: TDocumentStore::Instance().Remove(key_); break;  // the file holds the page
    }
    current_ = source_ == TSource::File ? file_ : url_;
    if (pageFailed_ || !CanReplaceByScript(page_->url())) {
        // A web page may not navigate to a local scheme or a file, and an error page nowhere:
        // load the document directly, which adds a history entry after that page.
        page_->load(current_);
        return;
    }
    // One script reads the scroll position and replaces the current history entry with
    // the document URL. It runs in the application's world so the page's own scripts
    // cannot get in the way.
    const QString script =
        QStringLiteral("(function(){var s=[window.scrollX,window.scrollY];location.replace(%1);return s;})()")
            .arg(JsString(current_.toString(QUrl::FullyEncoded)));
    QPointer<TWebDocument> self(this);
    // The answer comes once the script has run, or failed to run (a page without a script
    // context, a script error): then the document URL is loaded directly.
    const int render = ++renders_;
    page_->runJavaScript(script, QWebEngineScript::ApplicationWorld, [self, rewrite, render](const QVariant& v) {
        if (!self) return;
        const QVariantList s = v.toList();
        if (s.size() != 2) {
            self->LoadDirectly(render);
            return;
        }
        if (!rewrite) return;
        self->scroll_ = QPointF(s[0].toDouble(), s[1].toDouble());
        self->restoreScroll_ = !self->scroll_.isNull();
    });
}

void TWebDocument::LoadDirectly(int render)
{
    if (page_ && rendering_ && !started_ && render == renders_) page_->load(current_);
}

void TWebDocument::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    const bool ours = info.url() == current_;
    if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus)
        pageFailed_ = info.status() == QWebEngineLoadingInfo::LoadFailedStatus;
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        if (ours) {
            started_ = true;
        } else {
            // Navigating elsewhere ends the written stream and any render under way.
            open_ = false;
            if (rendering_) rendering_ = held_ = restoreScroll_ = false;
        }
        return;
    }
    if (ours && rendering_ && started_)
        FinishRender(info.status() == QWebEngineLoadingInfo::LoadSucceededStatus);
    else if (rendering_ && started_) {
        // Another page ended after ours started: the written page went elsewhere while it
        // loaded (the engine does not always say when that load starts).
        open_ = false;
        rendering_ = held_ = restoreScroll_ = false;
    }
}

void TWebDocument::FinishRender(bool ok)
{
    rendering_ = false;
    if (ok && restoreScroll_ && page_)
        page_->runJavaScript(QStringLiteral("window.scrollTo(%1,%2)").arg(scroll_.x()).arg(scroll_.y()),
                             QWebEngineScript::ApplicationWorld);
    restoreScroll_ = false;
    if (held_)
        StartRender();
    else
        emit Rendered();
}
