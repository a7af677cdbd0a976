#include "ViewCommands.h"

#include "Dialogs.h"
#include "Screen.h"
#include "Shell.h"
#include "dxBarBar.h"
#include "frmHTML.h"

namespace {
// The maker's download page.
const QString kWebAddress = QStringLiteral("https://vesk.example.org/download");

void Warn(const QString& text)
{
    MessageBeep(MB_ICONEXCLAMATION);
    MessageDlg(text, mtWarning, {mbOK});
}
}  // namespace

void TViewCommands::PlaceSplitter(bool swapped)
{
    form_.Splitter->SetAlign(swapped ? alBottom : alRight);
    form_.Splitter->SetAlign(swapped ? alTop : alLeft);
}

void TViewCommands::Swap()
{
    TPanel* code = form_.Panel1;
    switch (code->Align()) {
    case alLeft:
        code->SetAlign(alTop);
        code->SetHeight(kCodeHeight);
        form_.Splitter->SetAlign(alTop);
        form_.Splitter->SetCursor(crVSplit);
        form_.Swapped = true;
        break;
    case alClient:
        // The preview is hidden: the pane goes on top when it comes back.
        form_.Swapped = true;
        break;
    case alTop:
        code->SetAlign(alLeft);
        code->SetWidth(kCodeWidth);
        PlaceSplitter(false);
        form_.Splitter->SetCursor(crHSplit);
        form_.Swapped = false;
        break;
    default: break;
    }
}

void TViewCommands::ToggleCode()
{
    if (form_.Panel1->Visible()) {
        form_.Panel1->SetVisible(false);
        form_.Splitter->SetVisible(false);
        return;
    }
    form_.Panel1->SetVisible(true);
    if (form_.Panel4->Visible()) {
        form_.Splitter->SetVisible(true);
        PlaceSplitter(form_.Panel1->Align() == alTop);
    }
}

void TViewCommands::ToggleBrowser()
{
    if (form_.Panel4->Visible()) {
        form_.Panel4->SetVisible(false);
        form_.Panel1->SetAlign(alClient);
        form_.Splitter->SetVisible(false);
        return;
    }
    form_.Panel1->SetAlign(alLeft);
    form_.Panel1->SetWidth(kCodeWidth);
    form_.Panel4->SetVisible(true);
    if (form_.Panel1->Visible()) {
        form_.Splitter->SetVisible(true);
        PlaceSplitter(false);
    }
    if (form_.Swapped) Swap();  // back on top, as it was before the preview went
}

void TViewCommands::ToggleWordWrap()
{
    form_.mmHTMLCode->SetScrollBars(form_.btWordWrap->Down() ? ssVertical : ssBoth);
}

void TViewCommands::ToggleBar(int index)
{
    TdxBars* bars = form_.BarManager->Bars();
    if (index < 0 || index >= bars->Count()) return;
    TdxBar* bar = bars->Items(index);
    bar->SetVisible(!bar->Visible());
}

void TViewCommands::Back()
{
    try {
        form_.WebBrowser->GoBack();
    } catch (const Exception&) {
        Warn(QStringLiteral("No history to go back to."));
    }
}

void TViewCommands::Forward()
{
    try {
        form_.WebBrowser->GoForward();
    } catch (const Exception&) {
        Warn(QStringLiteral("No history to go forward to."));
    }
}

void TViewCommands::Stop()
{
    form_.WebBrowser->Stop();
}
void TViewCommands::Refresh()
{
    form_.WebBrowser->Refresh();
}
void TViewCommands::Print()
{
    form_.WebBrowser->ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_DODEFAULT);
}
void TViewCommands::PageSetup()
{
    form_.WebBrowser->ExecWB(OLECMDID_PAGESETUP, OLECMDEXECOPT_DODEFAULT);
}

void TViewCommands::PrintPreview()
{
    TBusyCursorScope busy;
    form_.WebBrowser->ExecWB(OLECMDID_PRINTPREVIEW, OLECMDEXECOPT_DODEFAULT);
}

void TViewCommands::CheckShellResult(int result)
{
    if (result != SE_ERR_FNF && result != SE_ERR_ACCESSDENIED) return;
    MessageBeep(MB_ICONEXCLAMATION);
    MessageDlg(QStringLiteral("Cannot Load The Help File. Please Reinstall VESK."), mtError, {mbOK});
}

void TViewCommands::StartHelp(const QString& parameter)
{
    const QStringList parameters = parameter.isEmpty() ? QStringList() : QStringList{parameter};
    CheckShellResult(ShellExecute(form_.ExeDir + QStringLiteral("Help/VESKHelp"), parameters));
}

void TViewCommands::VisitWeb()
{
    CheckShellResult(ShellExecute(kWebAddress));
}
