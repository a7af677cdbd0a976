#pragma once
// The main window's live preview: the code pane's text, or a given text, rendered in the
// browser with the path bar's folder as its base address.
//
// Typing never waits for the preview. A change only marks the preview stale; when the browser
// can take the next write, the text is taken once as a shared copy (no characters copied), the
// base tag is inserted and the text encoded as UTF-8 on a worker thread, and the bytes go to
// the browser. Changes that arrive meanwhile are gathered into the next write, so the latest
// text always reaches the preview.
#include "SharedText.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class TMemo;
class TWebBrowser;

class TLivePreview : public QObject {
    Q_OBJECT
public:
    // pathBarText gives the folder the base tag names (empty: no base tag).
    TLivePreview(TWebBrowser* browser, TMemo* pane, std::function<QString()> pathBarText);

    // Shows text; with withBase the base tag goes in after its head tag.
    void Show(const QString& text, bool withBase);
    // Shows the pane's text, with the base tag.
    void ShowPane();
    // A text waits, is being prepared, or is rendering.
    bool Busy() const;

private:
    // Starts the next write when something is stale and the browser can take it.
    void Pump();
    void Prepared(quint64 generation, const QByteArray& bytes);
    bool BrowserReady() const;

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
};
