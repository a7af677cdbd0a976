#include "frmHTML.h"

#include "Dialogs.h"
#include "EditorText.h"
#include "Registry.h"
#include "ResourceModule.h"
#include "TextFile.h"
#include "frm_About.h"
#include "frm_Info.h"
#include "frm_Parse.h"

#include <QCoreApplication>
#include <QDir>

TfrmMain* frmMain = nullptr;

namespace {
QStringList& Arguments() {
    static QStringList args;
    return args;
}
QString& ResourceLibraryName() {
    static QString name = QStringLiteral("Tarnwick.dll");
    return name;
}
}  // namespace

TfrmMain::TfrmMain(TComponent* owner) : TForm(owner) {}

TfrmMain::~TfrmMain() {
    if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::SetArguments(const QStringList& arguments) { Arguments() = arguments; }
void TfrmMain::SetResourceLibraryName(const QString& fileName) { ResourceLibraryName() = fileName; }

void TfrmMain::FormCreate(TObject* /*Sender*/) {
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
}

void TfrmMain::FormShow(TObject* /*Sender*/) {
    if (ResourceMissing) {
        MessageBeep(MB_ICONEXCLAMATION);
        MessageDlg(QStringLiteral("Could not find Resource DLL. Please reinstall the application."), mtError,
                   {mbOK});
        Close();
        return;
    }
    WebBrowser->Navigate(QStringLiteral("Res://") + ExeDir + QStringLiteral("Tarnwick.dll/Start.htm"));
    if (!FileToOpen.isEmpty()) OpenCommandLineFile();
}

void TfrmMain::OpenCommandLineFile() {
    try {
        const TTextDocument doc = ReadTextFile(FileToOpen);
        mmHTMLCode->SetText(doc.lines.join(QLatin1Char('\n')));
        edPathEdit->SetText(editortext::FolderOf(FileToOpen));
        ShowHTML(mmHTMLCode->Text());
        Unchanged = true;
    } catch (const Exception&) {
        MessageBeep(MB_ICONEXCLAMATION);
        MessageDlg(QStringLiteral("Cannot Open The VESK File."), mtError, {mbOK});
    }
}

void TfrmMain::FormClose(TObject* /*Sender*/, TCloseAction& /*Action*/) {
    // Settings are written here once the editor stores them; with the resource
    // container missing nothing is ever written.
}

void TfrmMain::ShowHTML(const QString& text) {
    if (!edPathEdit->Text().isEmpty())
        InsertBaseHref(text);
    else
        WriteToBrowser(text);
}

void TfrmMain::InsertBaseHref(const QString& text) {
    WriteToBrowser(editortext::InsertBaseHref(text, edPathEdit->Text()));
}

void TfrmMain::WriteToBrowser(const QString& text) { WebBrowser->WriteOrHold(text, PendingHTML); }

void TfrmMain::WebBrowserNavigateComplete2(TObject* /*Sender*/, const QString& /*URL*/) {
    WebBrowser->WritePending(PendingHTML);
}

void TfrmMain::WebBrowserCommandStateChange(TObject* /*Sender*/, int Command, bool Enable) {
    if (Command == CSC_NAVIGATEFORWARD)
        btForward->SetEnabled(Enable);
    else if (Command == CSC_NAVIGATEBACK)
        btBack->SetEnabled(Enable);
}

void TfrmMain::mmHTMLCodeChange(TObject* /*Sender*/) {
    if (DynamicDown()) {
        ShowHTML(mmHTMLCode->Text());
        SetActiveControl(nullptr);
        mmHTMLCode->SetFocus();
    }
    UndoDone = false;
    Unchanged = false;
}

void TfrmMain::btViewClick(TObject* /*Sender*/) { ShowHTML(mmHTMLCode->Text()); }

void TfrmMain::btDynamicClick(TObject* /*Sender*/) {}

namespace {
// Shows a window modally and frees it afterwards, also when showing fails.
template <class F>
void ShowModalAndFree(F* form) {
    std::unique_ptr<F> owned(form);
    owned->ShowModal();
}
}  // namespace

void TfrmMain::btParseClick(TObject* /*Sender*/) {
    ShowModalAndFree(Create<TfrmParse>(nullptr, mmHTMLCode->Lines(), FileName()));
}

void TfrmMain::btAboutClick(TObject* /*Sender*/) { ShowModalAndFree(Create<TfrmAbout>(nullptr)); }

void TfrmMain::btBrowserInfoClick(TObject* /*Sender*/) { ShowModalAndFree(Create<TfrmInfo>(nullptr)); }
