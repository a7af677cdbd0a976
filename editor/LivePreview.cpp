#include "LivePreview.h"

#include "EditorText.h"
#include "ExceptionBarrier.h"
#include "StdCtrls.h"
#include "WebBrowser.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

TLivePreview::TLivePreview(TWebBrowser* browser, TMemo* pane, std::function<QString()> pathBarText)
    : browser_(browser), pane_(pane), pathBarText_(std::move(pathBarText)) {
    // A render or a navigation that ends lets the next write in. Connected after the browser's
    // and its document's own handlers, so their state is current when this runs.
    connect(browser_->Page(), &QWebEnginePage::loadingChanged, this,
            Guarded([this](const QWebEngineLoadingInfo& info) {
                if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus) Pump();
            }, this));
}

void TLivePreview::Show(const QString& text, bool withBase) {
    fromPane_ = false;
    text_ = TSharedText(text);
    withBase_ = withBase;
    stale_ = true;
    Pump();
}

void TLivePreview::ShowPane() {
    fromPane_ = true;
    text_ = TSharedText();
    withBase_ = true;
    stale_ = true;
    Pump();
}

bool TLivePreview::Busy() const { return stale_ || preparing_ || browser_->Busy() || browser_->Navigating(); }

bool TLivePreview::BrowserReady() const {
    return browser_->Document() && !browser_->Navigating() && !browser_->Document()->Rendering();
}

void TLivePreview::Pump() {
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
    const QString baseTag = pathBar.isEmpty() ? QString() : editortext::BaseTag(pathBar);
    const quint64 generation = ++generation_;
    QPointer<TLivePreview> self(this);
    QThreadPool::globalInstance()->start([self, text, baseTag, generation] {
        const QByteArray bytes = editortext::PreviewBytes(text, baseTag);
        // Back on the GUI thread, where the preview may already be gone.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, bytes, generation] {
                if (self) RunGuarded(self, [&] { self->Prepared(generation, bytes); });
            },
            Qt::QueuedConnection);
    });
}

void TLivePreview::Prepared(quint64 generation, const QByteArray& bytes) {
    if (generation != generation_) return;
    preparing_ = false;
    // Typed on while this was prepared: the newer text goes instead.
    if (stale_ || !BrowserReady()) {
        stale_ = true;
        Pump();
        return;
    }
    browser_->Document()->Replace(bytes);
}
