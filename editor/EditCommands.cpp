#include "EditCommands.h"

#include "Dialogs.h"
#include "TextSearch.h"
#include "frmHTML.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

bool TEditCommands::CodeFocused() const
{
    return form_.mmHTMLCode->Focused();
}

bool TEditCommands::BrowserHasSelection() const
{
    try {
        return form_.WebBrowser->Document() && !form_.WebBrowser->SelectedText().isEmpty();
    } catch (...) {
        return false;
    }
}

void TEditCommands::UpdateCommandStates()
{
    form_.btSave->SetEnabled(!form_.Unchanged);
    if (CodeFocused()) {
        form_.txCode->Font()->SetColor(clMaroon);
        form_.txBrowser->Font()->SetColor(clGray);
        const bool selected = form_.mmHTMLCode->SelLength() > 0;
        form_.btCut->SetEnabled(selected);
        form_.btCopy->SetEnabled(selected);
        form_.btClear->SetEnabled(selected);
        const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
        form_.btPaste->SetEnabled(clip && clip->hasText());
        if (form_.UndoDone) {
            form_.btUndo->SetEnabled(false);
            form_.btRedo->SetEnabled(form_.mmHTMLCode->CanRedo());
        } else {
            form_.btUndo->SetEnabled(form_.mmHTMLCode->CanUndo());
            form_.btRedo->SetEnabled(false);
        }
        return;
    }
    const bool selected = BrowserHasSelection();
    form_.txCode->Font()->SetColor(clGray);
    form_.txBrowser->Font()->SetColor(clMaroon);
    for (TdxBarButton* item : {form_.btUndo, form_.btRedo, form_.btCut, form_.btPaste, form_.btClear})
        item->SetEnabled(false);
    form_.btCopy->SetEnabled(selected);
}

void TEditCommands::Undo()
{
    if (!CodeFocused()) return;
    form_.mmHTMLCode->Undo();
    // The undo's change cleared it; set it after.
    form_.UndoDone = true;
}

void TEditCommands::Redo()
{
    if (!CodeFocused()) return;
    form_.mmHTMLCode->Redo();
    form_.UndoDone = false;
}

void TEditCommands::Cut()
{
    if (CodeFocused()) form_.mmHTMLCode->CutToClipboard();
}

void TEditCommands::Copy()
{
    if (CodeFocused()) {
        form_.mmHTMLCode->CopyToClipboard();
        return;
    }
    try {
        form_.WebBrowser->ExecWB(OLECMDID_COPY, OLECMDEXECOPT_DODEFAULT);
    } catch (const Exception&) {
        MessageBeep(MB_ICONEXCLAMATION);
        MessageDlg(QStringLiteral("Can not copy from the browser window."), mtError, {mbOK});
    }
}

void TEditCommands::Paste()
{
    if (CodeFocused()) form_.mmHTMLCode->PasteFromClipboard();
}

void TEditCommands::Clear()
{
    if (CodeFocused() && form_.mmHTMLCode->SelLength() > 0) form_.mmHTMLCode->ClearSelection();
}

void TEditCommands::SelectAll()
{
    if (CodeFocused())
        form_.mmHTMLCode->SelectAll();
    else
        form_.WebBrowser->ExecWB(OLECMDID_SELECTALL, OLECMDEXECOPT_DODEFAULT);
}

void TEditCommands::Find()
{
    form_.FindDlg->Execute();
}

void TEditCommands::FindNext()
{
    if (form_.FindDlg->FindText().isEmpty())
        Find();
    else
        FindAgain();
}

void TEditCommands::FindAgain()
{
    TMemo* memo = form_.mmHTMLCode;
    const QString what = form_.FindDlg->FindText();
    const qsizetype from = textsearch::SearchStart(memo->SelStart(), memo->SelLength());
    const qsizetype found =
        textsearch::FindForward(memo->Text(), what, from, form_.FindDlg->Options().testFlag(frMatchCase));
    if (found < 0) {
        MessageBeep(MB_ICONASTERISK);
        MessageDlg(QStringLiteral("Can not find ") + what + QStringLiteral("."), mtInformation, {mbOK});
        return;
    }
    if (memo->CanFocus()) memo->SetFocus();
    memo->SetSelStart(int(found));
    memo->SetSelLength(int(what.size()));
}
