#include "frm_HelpMain.h"

#include "Dialogs.h"
#include "HelpPlacement.h"
#include "ImgList.h"
#include "Registry.h"
#include "Screen.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

TfrmHelpMain* frmHelpMain = nullptr;

namespace {

QStringList& Arguments()
{
    static QStringList args;
    return args;
}

// A failed browser command: the exclamation beep and one box.
void Complain(const QString& text, TMsgDlgType type)
{
    MessageBeep(MB_ICONEXCLAMATION);
    MessageDlg(text, type, {mbOK});
}

QList<QRect> ScreenGeometries()
{
    QList<QRect> result;
    for (const QScreen* screen : QGuiApplication::screens()) result.append(screen->geometry());
    return result;
}

}  // namespace

TfrmHelpMain::TfrmHelpMain(TComponent* owner) : TForm(owner) {}

TfrmHelpMain::~TfrmHelpMain()
{
    if (frmHelpMain == this) frmHelpMain = nullptr;
}

void TfrmHelpMain::SetArguments(const QStringList& arguments)
{
    Arguments() = arguments;
}

QString TfrmHelpMain::PageAddress(const QString& page) const
{
    return QStringLiteral("res://") + ProgramPath + QLatin1Char('/') + page;
}

void TfrmHelpMain::FormCreate(TObject* /*Sender*/)
{
    ProgramPath = QCoreApplication::applicationFilePath();
    Registry = std::make_unique<TRegistry>();
    LoadPlacement();
    const QStringList& arguments = Arguments();
    if (arguments.isEmpty()) {
        StartAddress = PageAddress(QStringLiteral("Contents.htm"));
    } else {
        SetCaption(QStringLiteral("VESK Tutorials"));
        // The two tutorials are pages of our own, so they need no network.
        if (arguments.first() == QLatin1String("H"))
            StartAddress = PageAddress(QStringLiteral("HTML.htm"));
        else if (arguments.first() == QLatin1String("C"))
            StartAddress = PageAddress(QStringLiteral("CSS.htm"));
        else
            StartAddress = QStringLiteral("about:blank");  // an empty page that loads, not an error page
    }
    HelpBrowser->Navigate(StartAddress);
}

void TfrmHelpMain::FormClose(TObject* /*Sender*/, TCloseAction& /*Action*/)
{
    // The window closes whatever happens to its placement; a failure is told once.
    // A window shown again after closing needs a registry object again.
    if (!Registry) Registry = std::make_unique<TRegistry>();
    try {
        SavePlacement();
    } catch (const Exception& e) {
        Complain(QStringLiteral("The window position could not be saved.\n%1").arg(e.Message()), mtError);
    }
    Registry.reset();
}

void TfrmHelpMain::LoadPlacement()
{
    // Nothing stored yet and no key to make: the window keeps its designed place.
    try {
        if (!Registry->OpenKey(kHelpPlacementKey, true)) return;
    } catch (const Exception&) {
        if (!Registry->OpenKeyReadOnly(kHelpPlacementKey)) return;
    }
    const TStoredPlacement stored = ReadStoredPlacement(*Registry);
    const QRect placed = PlacedBounds(BoundsRect(), stored, ScreenGeometries());
    SetBounds(placed.left(), placed.top(), placed.width(), placed.height());
    if (stored.maximized.value_or(false)) SetWindowState(wsMaximized);
    Registry->CloseKey();
}

void TfrmHelpMain::SavePlacement()
{
    // A maximized or minimized window stores the rectangle it returns to.
    const TWindowState state = WindowState();
    QRect normal = BoundsRect();
    if (state != wsNormal && Handle() && Handle()->normalGeometry().isValid()) normal = Handle()->normalGeometry();
    if (!Registry->OpenKey(kHelpPlacementKey, true)) return;
    WriteStoredPlacement(*Registry, normal, state == wsMaximized);
    Registry->CloseKey();
}

void TfrmHelpMain::HelpBrowserCommandStateChange(TObject* /*Sender*/, int Command, bool Enable)
{
    if (Command == CSC_NAVIGATEFORWARD)
        btForward->SetEnabled(Enable);
    else if (Command == CSC_NAVIGATEBACK)
        btBack->SetEnabled(Enable);
}

void TfrmHelpMain::btBackClick(TObject* /*Sender*/)
{
    try {
        HelpBrowser->GoBack();
    } catch (const EOleException&) {
        Complain(QStringLiteral("No pages to go back to."), mtWarning);
    }
}

void TfrmHelpMain::btForwardClick(TObject* /*Sender*/)
{
    try {
        HelpBrowser->GoForward();
    } catch (const EOleException&) {
        Complain(QStringLiteral("No pages to go forward to."), mtWarning);
    }
}

void TfrmHelpMain::btPrintClick(TObject* /*Sender*/)
{
    HelpBrowser->ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_DODEFAULT);
}

void TfrmHelpMain::btPreviewClick(TObject* /*Sender*/)
{
    TBusyCursorScope busy;
    HelpBrowser->ExecWB(OLECMDID_PRINTPREVIEW, OLECMDEXECOPT_DODEFAULT);
}

void TfrmHelpMain::btPageSetupClick(TObject* /*Sender*/)
{
    HelpBrowser->ExecWB(OLECMDID_PAGESETUP, OLECMDEXECOPT_DODEFAULT);
}

void TfrmHelpMain::btCopyClick(TObject* /*Sender*/)
{
    try {
        HelpBrowser->ExecWB(OLECMDID_COPY, OLECMDEXECOPT_DODEFAULT);
    } catch (const EOleException&) {
        Complain(QStringLiteral("Can not copy from the browser window."), mtError);
    }
}

void TfrmHelpMain::btSelectAllClick(TObject* /*Sender*/)
{
    HelpBrowser->ExecWB(OLECMDID_SELECTALL, OLECMDEXECOPT_DODEFAULT);
}

void TfrmHelpMain::btExitClick(TObject* /*Sender*/)
{
    Close();
}

void TfrmHelpMain::NavigateToPage(const QString& page)
{
    HelpBrowser->Navigate(PageAddress(page));
}

void TfrmHelpMain::btLinkContentsClick(TObject*)
{
    NavigateToPage(QStringLiteral("Contents.htm"));
}
void TfrmHelpMain::btLinkIntroClick(TObject*)
{
    NavigateToPage(QStringLiteral("Introduction.htm"));
}
void TfrmHelpMain::btLinkCreateClick(TObject*)
{
    NavigateToPage(QStringLiteral("Creating.htm"));
}
void TfrmHelpMain::btLinkOpenClick(TObject*)
{
    NavigateToPage(QStringLiteral("Opening.htm"));
}
void TfrmHelpMain::btLinkParserClick(TObject*)
{
    NavigateToPage(QStringLiteral("Parser.htm"));
}
void TfrmHelpMain::btLinkInsertClick(TObject*)
{
    NavigateToPage(QStringLiteral("Insert.htm"));
}
void TfrmHelpMain::btLinkAdvanceClick(TObject*)
{
    NavigateToPage(QStringLiteral("Advanced.htm"));
}
void TfrmHelpMain::btLinkHTMLTutClick(TObject*)
{
    NavigateToPage(QStringLiteral("HTML.htm"));
}
void TfrmHelpMain::btLinkCSSTutClick(TObject*)
{
    NavigateToPage(QStringLiteral("CSS.htm"));
}
