#pragma once
// The document of a browser control, written from text. The text is served from memory
// under the document's own URL (vesk-doc:/<key>), or loaded from a file the caller wrote,
// and the page is sent there with
// location.replace(), which gives the written page a fresh script state and adds no
// history entry, and renders documents of any size without blocking the GUI thread.
// The scroll position is read before and restored after a rewrite. A web (non-local) page
// may not send itself to the local document scheme, so from there the document URL is
// loaded directly, which adds one history entry. Writes that arrive while one is still
// rendering are held; only the latest is rendered.
#include <QObject>
#include <QPointer>
#include <QPointF>
#include <QString>
#include <QUrl>

class QWebEnginePage;
class QWebEngineLoadingInfo;

class TWebDocument : public QObject {
    Q_OBJECT
public:
    explicit TWebDocument(QWebEnginePage* page, QObject* parent = nullptr);
    ~TWebDocument() override;

    // Ends the written stream; the next Write starts a new document.
    void Close();
    // Replaces the document with text when the stream is closed (or the document was loaded
    // by navigation); appends to the stream when it was written since the last Close.
    void Write(const QString& text);
    void write(const QString& text) { Write(text); }
    // Replaces the document with UTF-8 bytes, as Close and Write would with their text; the
    // bytes are served as they are, shared rather than copied. The stream is closed after.
    void Replace(const QByteArray& utf8);
    // Replaces the document with the page in a local file, as Replace does with bytes; the
    // file must stay until the next render has ended. A guarded page loads it through the
    // local-file scheme (PageGuard.h).
    void ReplaceFromFile(const QUrl& file);

    // The URL of the written document: the one that serves the written text, or the file of
    // the latest ReplaceFromFile.
    const QUrl& Url() const { return current_; }
    // The URL that serves the written text, whatever the latest render loaded.
    const QUrl& TextUrl() const { return url_; }
    // The whole text written since the stream opened (empty after Replace).
    const QString& Text() const { return text_; }
    // A render is under way (the page is loading the written text).
    bool Rendering() const { return rendering_; }

signals:
    // The latest written text has finished loading (successfully or not).
    void Rendered();

private:
    void RenderOrHold();
    void StartRender();
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);
    void FinishRender(bool ok);
    // Loads the document URL when render is still the current one and has not started.
    void LoadDirectly(int render);

    // Where the next render comes from.
    enum class TSource { Text, Bytes, File };

    QPointer<QWebEnginePage> page_;
    QString key_;
    QUrl url_;      // serves the written text or bytes
    QUrl current_;  // the URL the latest render loads: url_ or file_
    QString text_;
    QByteArray bytes_;  // set by Replace: served instead of text_
    QUrl file_;         // set by ReplaceFromFile
    TSource source_ = TSource::Text;
    bool open_ = false;
    bool rendering_ = false;
    bool started_ = false;
    bool held_ = false;  // a newer text waits for the current render
    bool restoreScroll_ = false;
    bool pageFailed_ = false;  // the last load failed: the page is the engine's error page
    QPointF scroll_;
    int renders_ = 0;  // counts the renders started, so a late answer finds its own
};
