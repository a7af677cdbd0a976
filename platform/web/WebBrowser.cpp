#include "WebBrowser.h"

#include "ClassRegistry.h"
#include "DialogScript.h"
#include "DocumentScheme.h"
#include "DurableFile.h"
#include "ExceptionBarrier.h"
#include "LocalFileScheme.h"
#include "PageGuard.h"
#include "Scope.h"
#include "Screen.h"
#include "TypInfo.h"
#include "WebSchemes.h"

#include <QDir>
#include <QEventLoop>
#include <QPointer>
#include <algorithm>
#include <memory>
#include <optional>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

constexpr int kMaxPreviewDpi = 150;

QWebEngineView* CreateView()
{
    // The handlers must be in place before the view's page first loads anything.
    InstallWebSchemeHandlers(QWebEngineProfile::defaultProfile());
    return new QWebEngineView;
}

bool IsAboutBlank(const QString& rest)
{
    return rest.isEmpty() || rest.compare(QLatin1String("blank"), Qt::CaseInsensitive) == 0;
}

QUrl UrlFromText(const QString& text)
{
    if (text.startsWith(QLatin1Char('/'))) return QUrl::fromLocalFile(text);
    const QUrl url(text, QUrl::TolerantMode);
    return url.scheme().isEmpty() ? QUrl::fromUserInput(text) : url;
}

void RecordDialog(TDialogScript* script, const QString& kind, const QString& text)
{
    TDialogRecord record;
    record.kind = kind;
    record.text = text;
    script->Record(record);
}

void RegisterWebEventTypes()
{
    static const bool done = [] {
        RegisterEventType<TWebNavigateCompleteEvent>();
        RegisterEventType<TWebCommandStateChangeEvent>();
        return true;
    }();
    (void)done;
}

}  // namespace

void RegisterWebClasses()
{
    RegisterWebEventTypes();
    RegisterClass<TWebBrowser>();
}

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner, CreateView())
{
    RegisterWebEventTypes();  // a browser read from a form resource binds its events by name
    static int counter = 0;
    aboutPrefix_ = QStringLiteral("about-%1-").arg(++counter);
    AttachPage();
}

void TWebBrowser::AttachPage()
{
    document_ = new TWebDocument(Page(), this);
    connect(Page(), &QWebEnginePage::loadingChanged, this,
            Guarded([this](const QWebEngineLoadingInfo& info) { OnLoadingChanged(info); }, this));
}

void TWebBrowser::SetUntrusted(bool value)
{
    QWebEngineView* view = View();
    if (value == untrusted_ || !view) return;
    untrusted_ = value;
    QPointer<TWebBrowser> self(this);
    QWebEnginePage* page =
        value ? new TGuardedPage([self](const QUrl& url) { return self && self->OwnsDocument(url); }, view)
              : new QWebEnginePage(view);
    delete document_;
    view->setPage(page);  // frees the previous page, a child of the view
    hasDocument_ = loading_ = navigating_ = false;
    AttachPage();
}

bool TWebBrowser::OwnsDocument(const QUrl& url) const
{
    return (document_ && url == document_->TextUrl()) || aboutPages_.contains(url);
}

QString TWebBrowser::PageAddress(const QString& url) const
{
    const QUrl parsed = QUrl::fromEncoded(url.toUtf8());
    return parsed.isLocalFile() ? QString::fromUtf8(LoadAddress(Page(), parsed).toEncoded()) : url;
}

TWebBrowser::~TWebBrowser()
{
    delete document_;
    document_ = nullptr;  // the page, freed later with the view, may still ask OwnsDocument
    for (const QUrl& url : aboutPages_.keys()) TDocumentStore::Instance().Remove(url.path().mid(1));
}

QWebEngineView* TWebBrowser::View() const
{
    return qobject_cast<QWebEngineView*>(Handle());
}

QWebEnginePage* TWebBrowser::Page() const
{
    QWebEngineView* view = View();
    return view ? view->page() : nullptr;
}

void TWebBrowser::Navigate(const QString& url)
{
    QWebEnginePage* page = Page();
    if (!page) return;
    const QString text = url.trimmed();
    navigating_ = true;
    if (text.startsWith(QLatin1String("about:"), Qt::CaseInsensitive)) {
        // About pages, the blank one too, are served as local documents, from which a
        // document write may replace itself without a history entry.
        const QString rest = text.mid(6);
        const QString key = aboutPrefix_ + QString::number(aboutPages_.size() + 1);
        TDocumentStore::Instance().Put(key, IsAboutBlank(rest) ? QString() : rest);
        const QUrl served = TDocumentStore::UrlFor(key);
        aboutPages_.insert(served, IsAboutBlank(rest) ? QStringLiteral("about:blank") : text);
        page->load(served);
        return;
    }
    page->load(LoadAddress(page, UrlFromText(text)));
}

QString TWebBrowser::LocationURL() const
{
    QWebEnginePage* page = Page();
    if (!page) return {};
    const QUrl url = page->url();
    if (url == document_->Url()) return QStringLiteral("about:blank");
    if (aboutPages_.contains(url)) return aboutPages_.value(url);
    return FileUrlOf(url).toString();
}

QString TWebBrowser::LocationName() const
{
    QWebEnginePage* page = Page();
    const QString title = page ? page->title() : QString();
    // Without a title the engine reports the address, which may be an internal one.
    if (title.isEmpty() || title == page->url().toString()) return LocationURL();
    return title;
}

bool TWebBrowser::Busy() const
{
    return loading_ || document_->Rendering();
}

QString TWebBrowser::SelectedText() const
{
    QWebEnginePage* page = Page();
    return page ? page->selectedText() : QString();
}

void TWebBrowser::GoBack()
{
    QWebEnginePage* page = Page();
    if (!page || !page->history()->canGoBack()) throw EOleException(QStringLiteral("There is no page to go back to."));
    page->history()->back();
}

void TWebBrowser::GoForward()
{
    QWebEnginePage* page = Page();
    if (!page || !page->history()->canGoForward())
        throw EOleException(QStringLiteral("There is no page to go forward to."));
    page->history()->forward();
}

void TWebBrowser::Stop()
{
    if (QWebEnginePage* page = Page()) page->triggerAction(QWebEnginePage::Stop);
}

void TWebBrowser::Refresh()
{
    if (QWebEnginePage* page = Page()) page->triggerAction(QWebEnginePage::Reload);
}

void TWebBrowser::ExecWB(int command, int option)
{
    QWebEnginePage* page = Page();
    if (!page) throw EOleException(QStringLiteral("The browser window is gone."));
    switch (command) {
    case OLECMDID_PRINT: Print(option); return;
    case OLECMDID_PRINTPREVIEW: PrintPreview(); return;
    case OLECMDID_PAGESETUP: PageSetup(); return;
    case OLECMDID_COPY:
        if (!page->hasSelection()) throw EOleException(QStringLiteral("There is nothing selected to copy."));
        page->triggerAction(QWebEnginePage::Copy);
        return;
    case OLECMDID_SELECTALL: page->triggerAction(QWebEnginePage::SelectAll); return;
    default: throw EOleException(QStringLiteral("The browser does not support command %1.").arg(command));
    }
}

void TWebBrowser::SetNoContextMenu(bool value)
{
    noContextMenu_ = value;
    if (QWebEngineView* view = View()) view->setContextMenuPolicy(value ? Qt::NoContextMenu : Qt::DefaultContextMenu);
}

void TWebBrowser::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        loading_ = true;
        return;
    }
    loading_ = false;
    hasDocument_ = true;
    ReportCommandStates();
    const bool written = info.url() == document_->Url();
    if (!written) navigating_ = false;
    if (!written && info.status() != QWebEngineLoadingInfo::LoadStoppedStatus && onNavigateComplete2_)
        onNavigateComplete2_(this, LocationURL());
}

void TWebBrowser::WriteOrHold(const QString& text, QString& pending)
{
    TWebDocument* doc = Document();
    if (doc && !navigating_) {
        pending.clear();
        doc->Close();
        doc->Write(text);
        return;
    }
    pending = text;
    if (!doc) Navigate(QStringLiteral("about:blank"));
}

void TWebBrowser::WritePending(QString& pending)
{
    TWebDocument* doc = Document();
    if (pending.isEmpty() || !doc) return;
    const QString text = pending;
    pending.clear();
    doc->write(text);
}

void TWebBrowser::ReportCommandStates()
{
    QWebEnginePage* page = Page();
    if (!page || !onCommandStateChange_) return;
    onCommandStateChange_(this, CSC_NAVIGATEFORWARD, page->history()->canGoForward());
    onCommandStateChange_(this, CSC_NAVIGATEBACK, page->history()->canGoBack());
}

QPrinter* TWebBrowser::Printer()
{
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return printer_.get();
}

void TWebBrowser::Print(int option)
{
    // While the dialog service is scripted (tests, headless runs) only a print to a PDF file
    // the script chose is made.
    if (TDialogScript* script = TDialogScript::Active()) {
        const std::optional<QString> file = script->TakePrintToFile();
        TDialogRecord record;
        record.kind = QStringLiteral("PrintDialog");
        record.text = LocationName();
        record.result = file ? 1 : 0;
        record.answer = file.value_or(QString());
        script->Record(record);
        if (!file) return;
        Printer()->setOutputFormat(QPrinter::PdfFormat);
        Printer()->setOutputFileName(*file);
    } else if (option != OLECMDEXECOPT_DONTPROMPTUSER) {
        QPrintDialog dialog(Printer(), View());
        if (dialog.exec() != QDialog::Accepted) return;
    }
    const QPrinter& printer = *Printer();
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        WritePdf(printer.outputFileName(), printer.pageLayout(), printer.pageRanges());
    else
        View()->print(Printer());
}

void TWebBrowser::WritePdf(const QString& path, const QPageLayout& layout, const QPageRanges& ranges)
{
    // The engine's own PDF keeps the text as text; printing into the printer would send it
    // each page as a picture at the printer's resolution. The reply may come after this
    // call has stopped waiting (the application quitting, the page gone): it only ever
    // touches what it shares.
    struct Reply {
        std::optional<QByteArray> pdf;
        QPointer<QEventLoop> loop;
    };
    auto reply = std::make_shared<Reply>();
    QEventLoop loop;
    reply->loop = &loop;
    QPointer<TWebBrowser> self(this);
    QWebEnginePage* page = Page();
    connect(page, &QObject::destroyed, &loop, &QEventLoop::quit);
    page->printToPdf(
        [reply](const QByteArray& pdf) {
            reply->pdf = pdf;
            if (reply->loop) reply->loop->quit();
        },
        layout, ranges);
    if (!reply->pdf) loop.exec();
    if (!self || !reply->pdf) return;  // the window or the application is going away
    const QString failed = QStringLiteral("The page could not be printed to %1").arg(QDir::toNativeSeparators(path));
    if (reply->pdf->isEmpty()) throw EOleException(failed + QLatin1Char('.'));
    const QString error = ReplaceFileDurably(path, *reply->pdf);
    if (!error.isEmpty()) throw EOleException(failed + QStringLiteral(": ") + error);
}

void TWebBrowser::PrintPreview()
{
    if (TDialogScript* script = TDialogScript::Active())
        return RecordDialog(script, QStringLiteral("PrintPreviewDialog"), LocationName());
    // The preview renders at screen resolution with the print settings' page layout: at
    // printer resolution the pages would take minutes and gigabytes.
    QPrinter preview(QPrinter::ScreenResolution);
    preview.setPageLayout(Printer()->pageLayout());
    preview.setResolution(std::min(preview.resolution(), kMaxPreviewDpi));
    QPrintPreviewDialog dialog(&preview, View());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            Guarded(
                [this](QPrinter* printer) {
                    // The busy cursor ends with the first render, also when it fails.
                    TScopeExit endBusy([] { SetScreenCursor(crDefault); });
                    PrintAndWait(printer);
                },
                this));
    dialog.exec();
}

void TWebBrowser::PageSetup()
{
    if (TDialogScript* script = TDialogScript::Active()) {
        RecordDialog(script, QStringLiteral("PageSetupDialog"), LocationName());
        if (const std::optional<QPageLayout> layout = script->TakePageSetup()) Printer()->setPageLayout(*layout);
        return;
    }
    QPageSetupDialog dialog(Printer(), View());
    dialog.exec();
}

void TWebBrowser::PrintAndWait(QPrinter* printer)
{
    QWebEngineView* view = View();
    if (!view) return;
    QEventLoop loop;
    bool done = false;
    const auto connection = connect(view, &QWebEngineView::printFinished, &loop, [&] {
        done = true;
        loop.quit();
    });
    view->print(printer);
    if (!done) loop.exec();
    disconnect(connection);
}
