#pragma once
// The browser control: a TWinControl whose widget is a QWebEngineView.
// Navigation completes with OnNavigateComplete2; after every load the back and forward
// states are reported through OnCommandStateChange (1 = forward, 2 = back). Document()
// is nullptr until the first navigation has completed; then it writes text into the page
// (see WebDocument.h). Writing does not count as navigation: no OnNavigateComplete2.
#include "Controls.h"
#include "Events.h"
#include "WebDocument.h"

#include <QHash>
#include <QString>
#include <QUrl>
#include <memory>

class QPageLayout;
class QPageRanges;
class QPrinter;
class QWebEnginePage;
class QWebEngineView;
class QWebEngineLoadingInfo;

using TWebNavigateCompleteEvent = TEvent<TObject*, QString>;      // (Sender, URL)
using TWebCommandStateChangeEvent = TEvent<TObject*, int, bool>;  // (Sender, Command, Enable)
// TWebNavigateCompleteEvent is TTextEvent, declared as a metatype in Events.h.
Q_DECLARE_METATYPE(TWebCommandStateChangeEvent)

// ExecWB command ids and options.
enum : int {
    OLECMDID_PRINT = 6,
    OLECMDID_PRINTPREVIEW = 7,
    OLECMDID_PAGESETUP = 8,
    OLECMDID_COPY = 12,
    OLECMDID_SELECTALL = 17,
};
enum : int { OLECMDEXECOPT_DODEFAULT = 0, OLECMDEXECOPT_PROMPTUSER = 1, OLECMDEXECOPT_DONTPROMPTUSER = 2 };
// OnCommandStateChange command ids.
enum : int { CSC_NAVIGATEFORWARD = 1, CSC_NAVIGATEBACK = 2 };

// Makes TWebBrowser known to the form-resource reader, with its event types.
void RegisterWebClasses();

// Raised by browser commands that cannot run (no history, nothing to copy, unknown command).
VESK_DECLARE_EXCEPTION(EOleException, Exception)

class TWebBrowser : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(bool NoContextMenu READ NoContextMenu WRITE SetNoContextMenu)
    Q_PROPERTY(TWebNavigateCompleteEvent OnNavigateComplete2 READ OnNavigateComplete2 WRITE SetOnNavigateComplete2)
    Q_PROPERTY(TWebCommandStateChangeEvent OnCommandStateChange READ OnCommandStateChange WRITE SetOnCommandStateChange)
    Q_CLASSINFO("Default.NoContextMenu", "False")
public:
    explicit TWebBrowser(TComponent* owner);
    ~TWebBrowser() override;

    QWebEngineView* View() const;
    QWebEnginePage* Page() const;

    // An untrusted browser shows pages nobody vetted in a guarded page (PageGuard.h): they
    // show their local files but read none, reach none of the program's own pages or
    // documents, and send nothing out. Switching gives the browser a new page: switch before
    // anything is shown.
    bool Untrusted() const { return untrusted_; }
    void SetUntrusted(bool value);
    // The encoded address under which this browser loads the encoded address url: an
    // untrusted browser reaches local files through the local-file scheme.
    QString PageAddress(const QString& url) const;

    // Loads url. "about:blank" is the empty page; any other "about:" URL shows the rest of
    // its text as markup ("about:<B>Loading</B>...."). Text without a scheme is a file path.
    void Navigate(const QString& url);
    // The document, or nullptr while no navigation has completed yet.
    TWebDocument* Document() const { return hasDocument_ ? document_ : nullptr; }

    // The address shown: a written document reports "about:blank", an about page its
    // about: URL.
    QString LocationURL() const;
    // The page's title, or its address when it has none.
    QString LocationName() const;
    // A load or a document write is under way.
    bool Busy() const;
    // A Navigate() is in flight: its page will replace whatever is written meanwhile.
    bool Navigating() const { return navigating_; }
    // Replaces the document with text. Without a document, or while a navigation is in
    // flight, the text is held in pending instead (the latest text wins) and, without a
    // document, the blank page is loaded; WritePending writes it once the navigation completes.
    void WriteOrHold(const QString& text, QString& pending);
    void WritePending(QString& pending);
    // The text selected in the page (empty when none).
    QString SelectedText() const;

    // Raise EOleException when there is no history entry to go to.
    void GoBack();
    void GoForward();
    void Stop();
    void Refresh();
    // Runs a browser command (OLECMDID_...). Copy raises EOleException when nothing is
    // selected, as does an unknown command. Print, preview and page setup show their dialogs
    // through the dialog service, which logs them instead while scripted or headless. A
    // print to a printer that writes a PDF file writes the engine's own PDF of the page in
    // the page setup's layout, its text kept as text; that print raises EOleException when
    // the file could not be written.
    void ExecWB(int command, int option = OLECMDEXECOPT_DODEFAULT);

    bool NoContextMenu() const { return noContextMenu_; }
    void SetNoContextMenu(bool value);

    TWebNavigateCompleteEvent OnNavigateComplete2() const { return onNavigateComplete2_; }
    void SetOnNavigateComplete2(const TWebNavigateCompleteEvent& e) { onNavigateComplete2_ = e; }
    TWebCommandStateChangeEvent OnCommandStateChange() const { return onCommandStateChange_; }
    void SetOnCommandStateChange(const TWebCommandStateChangeEvent& e) { onCommandStateChange_ = e; }

private:
    // Makes the document of the view's current page and follows the page's loads.
    void AttachPage();
    // url is this browser's written document or one of its about pages.
    bool OwnsDocument(const QUrl& url) const;
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);
    void ReportCommandStates();
    void Print(int option);
    void PrintPreview();
    void PageSetup();
    QPrinter* Printer();
    // Writes the engine's own PDF of the page to path (through a temporary file) and waits
    // for it; raises EOleException when it could not be made or written.
    void WritePdf(const QString& path, const QPageLayout& layout, const QPageRanges& ranges);
    // Prints the page into printer and waits for the result (the preview needs its pages
    // before it returns).
    void PrintAndWait(QPrinter* printer);

    TWebDocument* document_ = nullptr;
    bool hasDocument_ = false;
    bool loading_ = false;
    bool navigating_ = false;
    // Each about page has a URL of its own (one URL for two pages would make the second
    // replace the first in the history): the served URL and the about: URL it stands for.
    QString aboutPrefix_;
    QHash<QUrl, QString> aboutPages_;
    bool noContextMenu_ = false;
    bool untrusted_ = false;
    std::unique_ptr<QPrinter> printer_;
    TWebNavigateCompleteEvent onNavigateComplete2_;
    TWebCommandStateChangeEvent onCommandStateChange_;
};
