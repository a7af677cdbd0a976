#pragma once
// A tolerant one-pass tag scanner for HTML: splits the text into tags and text runs,
// classifies links, images, frames and meta data into a TParsed result and reports
// tags, text, comments and unusual links through events. It builds no tree and
// validates nothing.
#include "Classes.h"
#include "Strings.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

// OnParsing(Sender, Line, LineCount): fired once per scanned character.
using TParsingEvent = TEvent<TObject*, int, int>;
// OnFoundHyperlink, OnFoundTag, OnFoundText, OnFoundComment(Sender, Text).
using TFoundEvent = TEvent<TObject*, QString>;

// Links of one kind, split by where they point.
class TLocalRemote : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(TStrings* Local READ Local WRITE SetLocal)
    Q_PROPERTY(TStrings* Remote READ Remote WRITE SetRemote)
public:
    TLocalRemote();
    ~TLocalRemote() override;

    TStringList* Local() const { return local_.get(); }
    TStringList* Remote() const { return remote_.get(); }
    void SetLocal(TStrings* value) { local_->Assign(value); }
    void SetRemote(TStrings* value) { remote_->Assign(value); }

private:
    std::unique_ptr<TStringList> local_;
    std::unique_ptr<TStringList> remote_;
};

// What a parse found.
class TParsed : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(QString Keyword READ Keyword WRITE SetKeyword)
    Q_PROPERTY(QString Description READ Description WRITE SetDescription)
    Q_PROPERTY(TLocalRemote* HTML READ HTML)
    Q_PROPERTY(TLocalRemote* Image READ Image)
    Q_PROPERTY(TLocalRemote* Media READ Media)
    Q_PROPERTY(TLocalRemote* Java READ Java)
    Q_PROPERTY(TLocalRemote* ActiveX READ ActiveX)
    Q_PROPERTY(TLocalRemote* ASP READ ASP)
    Q_PROPERTY(TLocalRemote* PHP READ PHP)
    Q_PROPERTY(TLocalRemote* PERL READ PERL)
    Q_PROPERTY(TStrings* Hyperlinks READ Hyperlinks WRITE SetHyperlinks)
    Q_PROPERTY(TStrings* Images READ Images WRITE SetImages)
    Q_PROPERTY(TStrings* EMails READ EMails WRITE SetEMails)
    Q_PROPERTY(TStrings* HTTPlinks READ HTTPlinks WRITE SetHTTPlinks)
    Q_PROPERTY(TStrings* FTPlinks READ FTPlinks WRITE SetFTPlinks)
    Q_PROPERTY(TStrings* Locallinks READ Locallinks WRITE SetLocallinks)
    Q_PROPERTY(TStrings* FramePages READ FramePages WRITE SetFramePages)
public:
    // The link kinds, in the order their extension tests are tried.
    enum TLinkKind { lkHTML, lkImage, lkMedia, lkJava, lkASP, lkPERL, lkPHP, lkActiveX, lkCount };

    TParsed();
    ~TParsed() override;

    const QString& Title() const { return title_; }
    const QString& Keyword() const { return keyword_; }
    const QString& Description() const { return description_; }
    void SetTitle(const QString& value) { title_ = value; }
    void SetKeyword(const QString& value) { keyword_ = value; }
    void SetDescription(const QString& value) { description_ = value; }

    TLocalRemote* HTML() const { return Kind(lkHTML); }
    TLocalRemote* Image() const { return Kind(lkImage); }
    TLocalRemote* Media() const { return Kind(lkMedia); }
    TLocalRemote* Java() const { return Kind(lkJava); }
    TLocalRemote* ActiveX() const { return Kind(lkActiveX); }
    TLocalRemote* ASP() const { return Kind(lkASP); }
    TLocalRemote* PHP() const { return Kind(lkPHP); }
    TLocalRemote* PERL() const { return Kind(lkPERL); }
    TLocalRemote* Kind(TLinkKind kind) const { return kinds_[kind].get(); }

    TStringList* Hyperlinks() const { return hyperlinks_.get(); }
    TStringList* Images() const { return images_.get(); }
    TStringList* EMails() const { return emails_.get(); }
    TStringList* HTTPlinks() const { return httpLinks_.get(); }
    TStringList* FTPlinks() const { return ftpLinks_.get(); }
    TStringList* Locallinks() const { return localLinks_.get(); }
    TStringList* FramePages() const { return framePages_.get(); }
    void SetHyperlinks(TStrings* value) { hyperlinks_->Assign(value); }
    void SetImages(TStrings* value) { images_->Assign(value); }
    void SetEMails(TStrings* value) { emails_->Assign(value); }
    void SetHTTPlinks(TStrings* value) { httpLinks_->Assign(value); }
    void SetFTPlinks(TStrings* value) { ftpLinks_->Assign(value); }
    void SetLocallinks(TStrings* value) { localLinks_->Assign(value); }
    void SetFramePages(TStrings* value) { framePages_->Assign(value); }

    // Empties the seven plain lists; the per-kind lists and the texts are kept.
    void ClearLists();

private:
    QString title_, keyword_, description_;
    std::unique_ptr<TLocalRemote> kinds_[lkCount];
    std::unique_ptr<TStringList> hyperlinks_, images_, emails_, httpLinks_, ftpLinks_, localLinks_, framePages_;
};

class THTMLParser : public TComponent {
    Q_OBJECT
    Q_PROPERTY(TStrings* HTML READ HTML WRITE SetHTML)
    Q_PROPERTY(TParsed* Parsed READ Parsed)
    Q_PROPERTY(TParsingEvent OnParsing READ OnParsing WRITE SetOnParsing)
    Q_PROPERTY(TFoundEvent OnFoundHyperlink READ OnFoundHyperlink WRITE SetOnFoundHyperlink)
    Q_PROPERTY(TFoundEvent OnFoundTag READ OnFoundTag WRITE SetOnFoundTag)
    Q_PROPERTY(TFoundEvent OnFoundText READ OnFoundText WRITE SetOnFoundText)
    Q_PROPERTY(TFoundEvent OnFoundComment READ OnFoundComment WRITE SetOnFoundComment)
public:
    explicit THTMLParser(TComponent* owner);
    ~THTMLParser() override;

    TStringList* HTML() const { return html_.get(); }
    // Replaces the input with a copy of value's lines (nil: no lines).
    void SetHTML(TStrings* value);
    TParsed* Parsed() const { return parsed_.get(); }

    // One pass over HTML. Handlers may change the input meanwhile: the pass scans the
    // lines as they were when it started (copied only when they are about to change).
    void Parse();
    // The handlers Parse calls: tag is the tag text without its "<" and with its ">".
    void FoundTag(QStringView tag);
    void FoundText(QStringView text);

    // The attribute called name (found anywhere in the tag, ignoring ASCII case), from the
    // name through the blank, ">" or last character that ends it; empty when absent.
    static QString GetAttribute(QStringView tag, QStringView name);
    // The attribute's text after its first "=", without the surrounding double quotes.
    static QString GetAttributeValue(QStringView attribute);
    // The text between the first ch and the next one (or the end); all of text without ch.
    static QString ExtractQuoted(QStringView text, QChar ch);

    int LinesParsed() const { return linesParsed_; }
    int CurrentLine() const { return currentLine_; }
    int LineCount() const { return lineCount_; }
    bool InTitle() const { return inTitle_; }
    const QString& TitleBuffer() const { return titleBuffer_; }
    const QString& TitleEnd() const { return titleEnd_; }

    const TParsingEvent& OnParsing() const { return onParsing_; }
    const TFoundEvent& OnFoundHyperlink() const { return onFoundHyperlink_; }
    const TFoundEvent& OnFoundTag() const { return onFoundTag_; }
    const TFoundEvent& OnFoundText() const { return onFoundText_; }
    const TFoundEvent& OnFoundComment() const { return onFoundComment_; }
    void SetOnParsing(const TParsingEvent& e) { SetEvent(onParsing_, e); }
    void SetOnFoundHyperlink(const TFoundEvent& e) { SetEvent(onFoundHyperlink_, e); }
    void SetOnFoundTag(const TFoundEvent& e) { SetEvent(onFoundTag_, e); }
    void SetOnFoundText(const TFoundEvent& e) { SetEvent(onFoundText_, e); }
    void SetOnFoundComment(const TFoundEvent& e) { SetEvent(onFoundComment_, e); }

private:
    struct Handlers;
    struct Scan;
    struct LineScan;
    class InputList;
    template <class E>
    void SetEvent(E& event, const E& value)
    {
        event = value;
        ++eventsChanged_;
        wantsEverything_ = bool(onParsing_) || bool(onFoundText_) || bool(onFoundTag_);
    }
    // Called before the input changes: passes in progress keep the lines they scan.
    void InputChanging();
    // False for an empty line, which it skips.
    bool ScanLine(Scan& scan, int index);
    // Whether nothing but keyword tags can have an effect: no title is open and no handler
    // wants every tag, text run or character.
    bool Quiet() const { return !inTitle_ && !wantsEverything_; }
    bool ScanKeywords(LineScan& line);
    void ScanAll(LineScan& line);
    void FireParsing(Scan& scan, qsizetype count);
    void TagFound(Scan& scan, QStringView tag);
    void TextFound(Scan& scan, QStringView text);
    void FoundLink(Scan& scan, QStringView tag);
    void FoundMeta(QStringView tag);
    void FoundComment(Scan& scan, QStringView tag);
    void BeginTitle();
    void EndTitle();

    std::unique_ptr<TStringList> html_;
    std::unique_ptr<TParsed> parsed_;
    Scan* scans_ = nullptr;  // the innermost pass in progress; each links to the one it runs in
    int linesParsed_ = 0;
    int currentLine_ = 0;
    int lineCount_ = 0;
    bool inTitle_ = false;
    QString titleBuffer_;
    QString titleEnd_;
    TParsingEvent onParsing_;
    TFoundEvent onFoundHyperlink_, onFoundTag_, onFoundText_, onFoundComment_;
    // Counts assignments to the events, so a scan knows when to renew its copies of them.
    unsigned eventsChanged_ = 0;
    // Whether a handler wants every character, tag or text run.
    bool wantsEverything_ = false;
};
