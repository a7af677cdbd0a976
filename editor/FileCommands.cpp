#include "FileCommands.h"

#include "Dialogs.h"
#include "EditorText.h"
#include "InsertRS.h"
#include "SysUtils.h"
#include "frmHTML.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

void ShowError(const QString& text)
{
    MessageBeep(MB_ICONEXCLAMATION);
    MessageDlg(text, mtError, {mbOK});
}

const QString kSaveError = QStringLiteral("Save Error. Please try selecting another file.");

}  // namespace

void TFileCommands::SetCaption(const QString& label)
{
    form_.SetCaption(label + QStringLiteral(" - ") + form_.CaptionBase);
}

void TFileCommands::Show(const TTextDocument& document, const QString& folder, const QString& fileName,
                         const QString& label)
{
    // The path bar first, so that the live preview of the change already has its base.
    form_.edPathEdit->SetText(folder);
    form_.mmHTMLCode->SetText(document.text);
    bom_ = document.bom;
    encoding_ = document.encoding;
    form_.SaveDlg->SetFileName(fileName);
    if (!label.isEmpty()) SetCaption(label);
    form_.Unchanged = true;
    // With Dynamic down the change of the pane has shown it already.
    if (!form_.DynamicDown()) form_.ShowPaneHTML();
}

bool TFileCommands::AskSaveChanges()
{
    if (form_.Unchanged) return false;
    MessageBeep(MB_ICONQUESTION);
    switch (MessageDlg(QStringLiteral("Do you want to save the changes to your work?"), mtConfirmation,
                       {mbYes, mbNo, mbCancel})) {
    case mrNo: return false;
    case mrYes:
        // Yes counts only when the work was really written; otherwise nothing goes on.
        if (Save()) return true;
        Abort();
    default: Abort();
    }
}

void TFileCommands::New()
{
    AskSaveChanges();
    form_.edPathEdit->SetText({});
    form_.mmHTMLCode->SetText(InsertRS::LoadStr(InsertRS::sNewDocument));
    bom_ = false;
    encoding_ = TTextEncoding::Utf8;
    form_.SaveDlg->SetFileName({});
    SetCaption(QStringLiteral("New Document"));
    form_.Unchanged = true;
    form_.ShowPaneHTML();
}

QString TFileCommands::StartFolder() const
{
    if (const QString name = form_.FileName(); !name.isEmpty()) return editortext::FolderOf(name);
    if (!lastFolder_.isEmpty()) return lastFolder_;
    const QString working = QDir::currentPath();
    const bool programs =
        QFileInfo(working).canonicalFilePath() == QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath();
    return programs ? QDir::homePath() : working;
}

void TFileCommands::Open()
{
    for (;;) {
        AskSaveChanges();
        form_.OpenDlg->SetFileName({});
        form_.OpenDlg->SetInitialDir(StartFolder());
        if (!form_.OpenDlg->Execute()) return;
        const QString name = form_.OpenDlg->FileName();
        lastFolder_ = editortext::FolderOf(name);
        TTextDocument document;
        try {
            document = reader_(name);
        } catch (const Exception&) {
            ShowError(QStringLiteral("Can not open file. Please try again."));
            continue;
        }
        Show(document, editortext::FolderOf(name), name, QFileInfo(name).fileName());
        return;
    }
}

bool TFileCommands::Write(const QString& path)
{
    try {
        WriteTextFile(path, form_.mmHTMLCode->Lines()->ToStringList(), bom_, encoding_);
        return true;
    } catch (const Exception&) {
        ShowError(kSaveError);
        return false;
    }
}

bool TFileCommands::Save()
{
    const QString name = form_.SaveDlg->FileName();
    if (name.isEmpty()) return SaveAs();
    if (!Write(name)) return SaveAs();
    form_.Unchanged = true;
    return true;
}

bool TFileCommands::SaveAs()
{
    const QString current = form_.SaveDlg->FileName();
    for (;;) {
        form_.SaveDlg->SetInitialDir(StartFolder());
        if (!form_.SaveDlg->Execute()) {
            // Nothing written: the document keeps its file.
            form_.SaveDlg->SetFileName(current);
            return false;
        }
        const QString name = form_.SaveDlg->FileName();
        lastFolder_ = editortext::FolderOf(name);
        if (!Write(name)) continue;
        form_.edPathEdit->SetText(editortext::FolderOf(name));
        SetCaption(QFileInfo(name).fileName());
        form_.Unchanged = true;
        // The preview follows the new base folder.
        form_.btViewClick(form_.btView);
        return true;
    }
}

void TFileCommands::Example()
{
    AskSaveChanges();
    const QString folder = form_.ExeDir + QStringLiteral("Example");
    TTextDocument document;
    try {
        document = reader_(folder + QStringLiteral("/Example.htm"));
    } catch (const Exception&) {
        ShowError(QStringLiteral("Could not find Example file (Example.htm)."));
        return;
    }
    // No file name: a later Save asks for one.
    Show(document, folder, {}, QStringLiteral("Example File"));
}

void TFileCommands::OpenCommandLineFile()
{
    const QString name = form_.FileToOpen;
    try {
        Show(reader_(name), editortext::FolderOf(name), name, {});
    } catch (...) {
        // Whatever failed (the file, its text, the pane or the preview), the user gets the one
        // message and a new document.
        ShowError(QStringLiteral("Cannot Open The VESK File."));
        New();
    }
}
