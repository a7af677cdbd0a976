#include "LivePreview.h"

#include "EditorText.h"
#include "ExceptionBarrier.h"
#include "PageFolder.h"
#include "StdCtrls.h"
#include "WebBrowser.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

TLivePreview::TLivePreview(TWebBrowser* browser, TMemo* pane, std::function<QString()> pathBarText)
    : browser_(browser), pane_(pane), pathBarText_(std::move(pathBarText)), pages_(std::make_shared<TPageFolder>())
{
    // A render or a navigation that ends lets the next write in. Connected after the browser's
    // and its document's own handlers, so their state is current when this runs.
    connect(browser_->Page(), &QWebEnginePage::loadingChanged, this,
            Guarded(
                [this](const QWebEngineLoadingInfo& info) {
                    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
                    RemoveSuperseded();
                    Pump();
                },
                this));
}

TLivePreview::~TLivePreview() = default;

void TLivePreview::Show(const QString& text, bool withBase)
{
    fromPane_ = false;
    text_ = TSharedText(text);
    withBase_ = withBase;
    stale_ = true;
    Pump();
}

void TLivePreview::ShowPane()
{
    fromPane_ = true;
    text_ = TSharedText();
    withBase_ = true;
    stale_ = true;
    Pump();
}

bool TLivePreview::Busy() const
{
    return stale_ || preparing_ || browser_->Busy() || browser_->Navigating();
}

bool TLivePreview::BrowserReady() const
{
    return browser_->Document() && !browser_->Navigating() && !browser_->Document()->Rendering();
}

void TLivePreview::Pump()
{
    if (!stale_ || preparing_) return;
    if (!BrowserReady()) {
        // Without a document yet, the blank page gives one; the write follows its load.
        if (!browser_->Document() && !browser_->Navigating()) browser_->Navigate(QStringLiteral("about:blank"));
        return;
    }
    stale_ = false;
    preparing_ = true;
    const TSharedText text = fromPane_ ? pane_->SharedText() : text_;
    const QString pathBar = withBase_ ? pathBarText_() : QString();
    // The folder as the browser reaches it (an untrusted browser through its local-file scheme).
    const QString baseTag =
        pathBar.isEmpty() ? QString() : editortext::BaseTagOf(browser_->PageAddress(editortext::BaseAddress(pathBar)));
    const quint64 generation = ++generation_;
    QPointer<TLivePreview> self(this);
    std::shared_ptr<TPageFolder> pages = pages_;
    QThreadPool::globalInstance()->start([self, text, baseTag, generation, pages] {
        QByteArray bytes = editortext::PreviewBytes(text, baseTag);
        const QUrl page = pages->Write(bytes);
        if (!page.isEmpty()) bytes = QByteArray();  // kept only for a page that could not be written
        // Back on the GUI thread, where the preview may already be gone (and its pages with it).
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, bytes, page, generation] {
                if (self) RunGuarded(self, [&] { self->Prepared(generation, bytes, page); });
            },
            Qt::QueuedConnection);
    });
}

void TLivePreview::Prepared(quint64 generation, const QByteArray& bytes, const QUrl& page)
{
    if (generation != generation_) {
        pages_->Remove(page);
        return;
    }
    preparing_ = false;
    // Typed on while this was prepared: the newer text goes instead.
    if (stale_ || !BrowserReady()) {
        pages_->Remove(page);
        stale_ = true;
        Pump();
        return;
    }
    if (!shownPage_.isEmpty()) superseded_.append(shownPage_);
    shownPage_ = page;
    if (page.isEmpty())
        browser_->Document()->Replace(bytes);
    else
        browser_->Document()->ReplaceFromFile(page);
}

void TLivePreview::RemoveSuperseded()
{
    if (browser_->Document() && browser_->Document()->Rendering()) return;
    for (const QUrl& page : std::as_const(superseded_)) pages_->Remove(page);
    superseded_.clear();
}
