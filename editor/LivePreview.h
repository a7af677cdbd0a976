#pragma once
// The main window's live preview: the code pane's text, or a given text, rendered in the
// browser with the path bar's folder as its base address.
//
// Typing never waits for the preview. A change only marks the preview stale; when the browser
// can take the next write, the text is taken once as a shared copy (no characters copied), the
// base tag is inserted, the text encoded as UTF-8 and written as a page into a private folder
// on a worker thread, and the browser loads that file (the engine takes a large page from a
// file far sooner than from a scheme handler). When the page cannot be written, the bytes go
// to the browser's document instead. Changes that arrive meanwhile are gathered into the next
// write, so the latest text always reaches the preview. A page is removed once the render
// after it has ended, the folder when the preview goes.
#include "SharedText.h"

#include <QByteArray>
#include <QObject>
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class TMemo;
class TPageFolder;
class TWebBrowser;

class TLivePreview : public QObject {
    Q_OBJECT
public:
    // pathBarText gives the folder the base tag names (empty: no base tag).
    TLivePreview(TWebBrowser* browser, TMemo* pane, std::function<QString()> pathBarText);
    ~TLivePreview() override;

    // Shows text; with withBase the base tag goes in after its head tag.
    void Show(const QString& text, bool withBase);
    // Shows the pane's text, with the base tag.
    void ShowPane();
    // A text waits, is being prepared, or is rendering.
    bool Busy() const;

private:
    // Starts the next write when something is stale and the browser can take it.
    void Pump();
    // page is the written file, or empty when it could not be written: then bytes go instead.
    void Prepared(quint64 generation, const QByteArray& bytes, const QUrl& page);
    bool BrowserReady() const;
    // Removes the pages that renders since have replaced.
    void RemoveSuperseded();

    TWebBrowser* browser_;
    TMemo* pane_;
    std::function<QString()> pathBarText_;
    // What the next write shows: the pane, or text.
    bool fromPane_ = true;
    TSharedText text_;
    bool withBase_ = true;
    bool stale_ = false;
    bool preparing_ = false;
    quint64 generation_ = 0;
    // Shared with the worker that writes into it, so it outlives a write under way.
    std::shared_ptr<TPageFolder> pages_;
    QUrl shownPage_;          // the page of the latest write
    QList<QUrl> superseded_;  // pages of earlier writes, kept until the latest render ends
};
