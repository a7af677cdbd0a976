#include "frmHTML.h"

#include "Application.h"
#include "Dialogs.h"
#include "EditCommands.h"
#include "EditorSettings.h"
#include "EditorText.h"
#include "FileCommands.h"
#include "InsertRS.h"
#include "LivePreview.h"
#include "Registry.h"
#include "ResScheme.h"
#include "ResourceModule.h"
#include "TextFile.h"
#include "ViewCommands.h"
#include "frm_About.h"
#include "frm_Custom.h"
#include "frm_Info.h"
#include "frm_Parse.h"

#include <QCoreApplication>
#include <QDir>

TfrmMain* frmMain = nullptr;

namespace {
QStringList& Arguments()
{
    static QStringList args;
    return args;
}
QString& ResourceLibraryName()
{
    static QString name = QStringLiteral("Tarnwick.dll");
    return name;
}
}  // namespace

TfrmMain::TfrmMain(TComponent* owner)
    : TForm(owner),
      fileCommands_(std::make_unique<TFileCommands>(*this)),
      editCommands_(std::make_unique<TEditCommands>(*this)),
      viewCommands_(std::make_unique<TViewCommands>(*this))
{}

TfrmMain::~TfrmMain()
{
    if (Application && Application->OnIdle().Data() == this) Application->SetOnIdle({});
    if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::SetArguments(const QStringList& arguments)
{
    Arguments() = arguments;
}
void TfrmMain::SetResourceLibraryName(const QString& fileName)
{
    ResourceLibraryName() = fileName;
}

void TfrmMain::FormCreate(TObject* /*Sender*/)
{
    // The preview shows pages nobody vetted, from before it shows anything.
    WebBrowser->SetUntrusted(true);
    preview_ = std::make_unique<TLivePreview>(WebBrowser, mmHTMLCode, [this] { return edPathEdit->Text(); });
    WebBrowser->Navigate(QStringLiteral("about:<B>Loading</B>...."));
    CaptionBase = QStringLiteral("Zundra's Dynamic HTML Editor");
    // The start-page container is only ever taken from the program's own folder.
    resources_ = TResourceModule::Load(ResourceLibraryName());
    ResourceMissing = resources_ == nullptr;
    ExeDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    FileToOpen = editortext::FileToOpen(Arguments(), QDir::currentPath());
    Registry = std::make_unique<TRegistry>();
    Swapped = false;
    Unchanged = true;
    UndoDone = false;
    if (btRedo) btRedo->SetShortCut(ShortCut('Z', ssShift | ssCtrl));  // Ctrl+Shift+Z, 0x605A
    if (edPathEdit) edPathEdit->OnChange = TNotifyEvent(this, &TfrmMain::edPathEditChange);
}

void TfrmMain::FormShow(TObject* /*Sender*/)
{
    if (ResourceMissing) {
        MessageBeep(MB_ICONEXCLAMATION);
        MessageDlg(QStringLiteral("Could not find Resource DLL. Please reinstall the application."), mtError, {mbOK});
        Close();
        return;
    }
    LoadLayout();
    LoadCustomInserts();
    WebBrowser->Navigate(ResPageUrl(ExeDir + ResourceLibraryName(), QStringLiteral("Start.htm")));
    if (!FileToOpen.isEmpty()) fileCommands_->OpenCommandLineFile();
    Application->SetOnIdle(TIdleEvent(this, &TfrmMain::ApplicationIdle));
}

void TfrmMain::ApplicationIdle(TObject* /*Sender*/, bool& /*Done*/)
{
    UpdateCommandStates();
}

void TfrmMain::FormClose(TObject* /*Sender*/, TCloseAction& /*Action*/)
{
    // With the resource container missing nothing is ever written.
    if (ResourceMissing) return;
    fileCommands_->AskSaveChanges();  // Cancel keeps the window open
    try {
        SaveCustomInserts();
        SaveLayout();
    } catch (const Exception& e) {
        // The window closes all the same; the failure is told once.
        if (!settingsErrorShown_) {
            settingsErrorShown_ = true;
            MessageBeep(MB_ICONEXCLAMATION);
            MessageDlg(QStringLiteral("The settings could not be saved. ") + e.Message(), mtError, {mbOK});
        }
    }
}

void TfrmMain::ShowHTML(const QString& text)
{
    if (!edPathEdit->Text().isEmpty())
        InsertBaseHref(text);
    else
        WriteToBrowser(text);
}

void TfrmMain::ShowPaneHTML()
{
    preview_->ShowPane();
}

void TfrmMain::InsertBaseHref(const QString& text)
{
    preview_->Show(text, true);
}

void TfrmMain::WriteToBrowser(const QString& text)
{
    preview_->Show(text, false);
}

// A text that waited for the page is written by the live preview itself once the page has
// loaded: nothing is left to do here.
void TfrmMain::WebBrowserNavigateComplete2(TObject* /*Sender*/, const QString& /*URL*/) {}

void TfrmMain::WebBrowserCommandStateChange(TObject* /*Sender*/, int Command, bool Enable)
{
    if (Command == CSC_NAVIGATEFORWARD)
        btForward->SetEnabled(Enable);
    else if (Command == CSC_NAVIGATEBACK)
        btBack->SetEnabled(Enable);
}

void TfrmMain::mmHTMLCodeChange(TObject* /*Sender*/)
{
    if (DynamicDown()) {
        ShowPaneHTML();
        SetActiveControl(nullptr);
        if (mmHTMLCode->CanFocus()) mmHTMLCode->SetFocus();  // a hidden pane takes no focus
    }
    UndoDone = false;
    Unchanged = false;
}

void TfrmMain::btViewClick(TObject* /*Sender*/)
{
    ShowPaneHTML();
}

void TfrmMain::edPathEditChange(TObject* /*Sender*/)
{
    // A folder the user typed into the path bar and applied re-renders the preview against
    // it; the file commands set the folder themselves and show the document once.
    if (!edPathEdit->FocusedLink() || !DynamicDown()) return;
    ShowPaneHTML();
}

void TfrmMain::btDynamicClick(TObject* /*Sender*/) {}

namespace {
// Shows a window modally and frees it afterwards, also when showing fails.
template <class F>
void ShowModalAndFree(F* form)
{
    std::unique_ptr<F> owned(form);
    owned->ShowModal();
}
}  // namespace

void TfrmMain::btParseClick(TObject* /*Sender*/)
{
    ShowModalAndFree(Create<TfrmParse>(nullptr, mmHTMLCode->Lines(), FileName()));
}

void TfrmMain::btAboutClick(TObject* /*Sender*/)
{
    ShowModalAndFree(Create<TfrmAbout>(nullptr));
}

void TfrmMain::btBrowserInfoClick(TObject* /*Sender*/)
{
    ShowModalAndFree(Create<TfrmInfo>(nullptr));
}

// ---- file commands

void TfrmMain::New1Click(TObject* /*Sender*/)
{
    fileCommands_->New();
}
void TfrmMain::Open1Click(TObject* /*Sender*/)
{
    fileCommands_->Open();
}
void TfrmMain::btSaveClick(TObject* /*Sender*/)
{
    fileCommands_->Save();
}
void TfrmMain::SaveAs1Click(TObject* /*Sender*/)
{
    fileCommands_->SaveAs();
}
void TfrmMain::btExampleClick(TObject* /*Sender*/)
{
    fileCommands_->Example();
}
bool TfrmMain::AskSaveChanges()
{
    return fileCommands_->AskSaveChanges();
}

// ---- command states, edit and find

void TfrmMain::UpdateCommandStates()
{
    editCommands_->UpdateCommandStates();
}
void TfrmMain::btUndoClick(TObject* /*Sender*/)
{
    editCommands_->Undo();
}
void TfrmMain::btRedoClick(TObject* /*Sender*/)
{
    editCommands_->Redo();
}
void TfrmMain::btCutClick(TObject* /*Sender*/)
{
    editCommands_->Cut();
}
void TfrmMain::btCopyClick(TObject* /*Sender*/)
{
    editCommands_->Copy();
}
void TfrmMain::btPasteClick(TObject* /*Sender*/)
{
    editCommands_->Paste();
}
void TfrmMain::btClearClick(TObject* /*Sender*/)
{
    editCommands_->Clear();
}
void TfrmMain::btSelectAllClick(TObject* /*Sender*/)
{
    editCommands_->SelectAll();
}
void TfrmMain::btFindClick(TObject* /*Sender*/)
{
    editCommands_->Find();
}
void TfrmMain::btFindNextClick(TObject* /*Sender*/)
{
    editCommands_->FindNext();
}
void TfrmMain::FindDlgFind(TObject* /*Sender*/)
{
    editCommands_->FindAgain();
}

// ---- view, browser, print and help commands

void TfrmMain::btSwapClick(TObject* /*Sender*/)
{
    viewCommands_->Swap();
}
void TfrmMain::btCodeClick(TObject* /*Sender*/)
{
    viewCommands_->ToggleCode();
}
void TfrmMain::btBrowserClick(TObject* /*Sender*/)
{
    viewCommands_->ToggleBrowser();
}
void TfrmMain::btWordWrapClick(TObject* /*Sender*/)
{
    viewCommands_->ToggleWordWrap();
}
void TfrmMain::btCodeTBClick(TObject* /*Sender*/)
{
    viewCommands_->ToggleBar(1);
}
void TfrmMain::btPathTBClick(TObject* /*Sender*/)
{
    viewCommands_->ToggleBar(2);
}
void TfrmMain::btNavigationTBClick(TObject* /*Sender*/)
{
    viewCommands_->ToggleBar(3);
}
void TfrmMain::btViewInsertBarClick(TObject* /*Sender*/)
{
    viewCommands_->ToggleBar(4);
}
// Customise and Customise Toolbars open the customizing window.
void TfrmMain::btCustomiseClick(TObject* /*Sender*/)
{
    BarManager->Customizing(true);
}
void TfrmMain::btBackClick(TObject* /*Sender*/)
{
    viewCommands_->Back();
}
void TfrmMain::btForwardClick(TObject* /*Sender*/)
{
    viewCommands_->Forward();
}
void TfrmMain::btStopClick(TObject* /*Sender*/)
{
    viewCommands_->Stop();
}
void TfrmMain::btRefreshClick(TObject* /*Sender*/)
{
    viewCommands_->Refresh();
}
void TfrmMain::btPrintClick(TObject* /*Sender*/)
{
    viewCommands_->Print();
}
void TfrmMain::btPreviewClick(TObject* /*Sender*/)
{
    viewCommands_->PrintPreview();
}
void TfrmMain::btPageSetupClick(TObject* /*Sender*/)
{
    viewCommands_->PageSetup();
}
void TfrmMain::btHelpClick(TObject* /*Sender*/)
{
    viewCommands_->StartHelp({});
}
void TfrmMain::btTut_HTMLClick(TObject* /*Sender*/)
{
    viewCommands_->StartHelp(QStringLiteral("H"));
}
void TfrmMain::btTut_CSSClick(TObject* /*Sender*/)
{
    viewCommands_->StartHelp(QStringLiteral("C"));
}
void TfrmMain::btVisitWebClick(TObject* /*Sender*/)
{
    viewCommands_->VisitWeb();
}
void TfrmMain::btExitClick(TObject* /*Sender*/)
{
    Close();
}

// ---- inserts and custom inserts

void TfrmMain::InsertText(const QString& text)
{
    mmHTMLCode->SetSelText(text);
}

void TfrmMain::DoInsert(TObject* Sender)
{
    auto* item = qobject_cast<TComponent*>(Sender);
    const int id = item ? InsertRS::InsertIdOf(item->Name()) : 0;
    if (id) InsertText(InsertRS::LoadStr(id));
}

void TfrmMain::btCustom1Click(TObject* /*Sender*/)
{
    InsertText(CustomText[1]);
}
void TfrmMain::btCustom2Click(TObject* /*Sender*/)
{
    InsertText(CustomText[2]);
}
void TfrmMain::btCustom3Click(TObject* /*Sender*/)
{
    InsertText(CustomText[3]);
}
void TfrmMain::btCustom4Click(TObject* /*Sender*/)
{
    InsertText(CustomText[4]);
}
void TfrmMain::btCustom5Click(TObject* /*Sender*/)
{
    InsertText(CustomText[5]);
}

void TfrmMain::btEditCustomClick(TObject* /*Sender*/)
{
    ShowModalAndFree(Create<TfrmCustom>(nullptr));
}

TdxBarButton* TfrmMain::CustomItem(int slot) const
{
    TdxBarButton* const items[] = {btCustom1, btCustom2, btCustom3, btCustom4, btCustom5};
    return slot >= 1 && slot <= 5 ? items[slot - 1] : nullptr;
}

// ---- settings

void TfrmMain::LoadLayout()
{
    editorsettings::TEditorSettings(*this).LoadLayout();
}
void TfrmMain::SaveLayout()
{
    editorsettings::TEditorSettings(*this).SaveLayout();
}
void TfrmMain::LoadCustomInserts()
{
    editorsettings::TEditorSettings(*this).LoadCustomInserts();
}
void TfrmMain::SaveCustomInserts()
{
    editorsettings::TEditorSettings(*this).SaveCustomInserts();
}
