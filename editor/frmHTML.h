#pragma once
// The editor's main window: the code pane, the live preview and the path bar.
#include "Dialogs.h"
#include "Forms.h"
#include "Controls.h"
#include "StdCtrls.h"
#include "ExtCtrls.h"
#include "WebBrowser.h"
#include "dxBarDockControls.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

#include <QString>
#include <memory>

class TLivePreview;
class TRegistry;
class TResourceModule;
class TFileCommands;
class TEditCommands;
class TViewCommands;

class TfrmMain : public TForm {
    Q_OBJECT
    Q_PROPERTY(TPanel* Panel3 MEMBER Panel3 STORED false)
    Q_PROPERTY(TPanel* Panel1 MEMBER Panel1 STORED false)
    Q_PROPERTY(TSplitter* Splitter MEMBER Splitter STORED false)
    Q_PROPERTY(TPanel* Panel4 MEMBER Panel4 STORED false)
    Q_PROPERTY(TMemo* mmHTMLCode MEMBER mmHTMLCode STORED false)
    Q_PROPERTY(TWebBrowser* WebBrowser MEMBER WebBrowser STORED false)
    Q_PROPERTY(TLabel* txCode MEMBER txCode STORED false)
    Q_PROPERTY(TLabel* txBrowser MEMBER txBrowser STORED false)
    Q_PROPERTY(TdxBarManager* BarManager MEMBER BarManager STORED false)
    Q_PROPERTY(TdxBarDockControl* DockControl1 MEMBER DockControl1 STORED false)
    Q_PROPERTY(TdxBarDockControl* DockControl2 MEMBER DockControl2 STORED false)
    Q_PROPERTY(TdxBarButton* btView MEMBER btView STORED false)
    Q_PROPERTY(TdxBarButton* btDynamic MEMBER btDynamic STORED false)
    Q_PROPERTY(TdxBarButton* btRedo MEMBER btRedo STORED false)
    Q_PROPERTY(TdxBarButton* btBack MEMBER btBack STORED false)
    Q_PROPERTY(TdxBarButton* btForward MEMBER btForward STORED false)
    Q_PROPERTY(TdxBarEdit* edPathEdit MEMBER edPathEdit STORED false)
    Q_PROPERTY(TdxBarButton* btNew MEMBER btNew STORED false)
    Q_PROPERTY(TdxBarButton* btOpen MEMBER btOpen STORED false)
    Q_PROPERTY(TdxBarButton* btSave MEMBER btSave STORED false)
    Q_PROPERTY(TdxBarButton* btSaveAs MEMBER btSaveAs STORED false)
    Q_PROPERTY(TdxBarButton* btExample MEMBER btExample STORED false)
    Q_PROPERTY(TdxBarButton* btSwap MEMBER btSwap STORED false)
    Q_PROPERTY(TdxBarButton* btCode MEMBER btCode STORED false)
    Q_PROPERTY(TdxBarButton* btBrowser MEMBER btBrowser STORED false)
    Q_PROPERTY(TdxBarButton* btWordWrap MEMBER btWordWrap STORED false)
    Q_PROPERTY(TdxBarButton* btUndo MEMBER btUndo STORED false)
    Q_PROPERTY(TdxBarButton* btCut MEMBER btCut STORED false)
    Q_PROPERTY(TdxBarButton* btCopy MEMBER btCopy STORED false)
    Q_PROPERTY(TdxBarButton* btPaste MEMBER btPaste STORED false)
    Q_PROPERTY(TdxBarButton* btClear MEMBER btClear STORED false)
    Q_PROPERTY(TdxBarButton* btFind MEMBER btFind STORED false)
    Q_PROPERTY(TdxBarButton* btCustom1 MEMBER btCustom1 STORED false)
    Q_PROPERTY(TdxBarButton* btCustom2 MEMBER btCustom2 STORED false)
    Q_PROPERTY(TdxBarButton* btCustom3 MEMBER btCustom3 STORED false)
    Q_PROPERTY(TdxBarButton* btCustom4 MEMBER btCustom4 STORED false)
    Q_PROPERTY(TdxBarButton* btCustom5 MEMBER btCustom5 STORED false)
    Q_PROPERTY(TSaveDialog* SaveDlg MEMBER SaveDlg STORED false)
    Q_PROPERTY(TOpenDialog* OpenDlg MEMBER OpenDlg STORED false)
    Q_PROPERTY(TFindDialog* FindDlg MEMBER FindDlg STORED false)

public:
    explicit TfrmMain(TComponent* owner);
    ~TfrmMain() override;

    // Components, set when the form resource is read.
    TPanel* Panel3 = nullptr;
    TPanel* Panel1 = nullptr;
    TSplitter* Splitter = nullptr;
    TPanel* Panel4 = nullptr;
    TMemo* mmHTMLCode = nullptr;
    TWebBrowser* WebBrowser = nullptr;
    TLabel* txCode = nullptr;
    TLabel* txBrowser = nullptr;
    TdxBarManager* BarManager = nullptr;
    TdxBarDockControl* DockControl1 = nullptr;
    TdxBarDockControl* DockControl2 = nullptr;
    TdxBarButton* btView = nullptr;
    TdxBarButton* btDynamic = nullptr;
    TdxBarButton* btRedo = nullptr;
    TdxBarButton* btBack = nullptr;
    TdxBarButton* btForward = nullptr;
    // The path bar: its folder is the preview's base address.
    TdxBarEdit* edPathEdit = nullptr;
    // The file, edit, view and insert commands.
    TdxBarButton* btNew = nullptr;
    TdxBarButton* btOpen = nullptr;
    TdxBarButton* btSave = nullptr;
    TdxBarButton* btSaveAs = nullptr;
    TdxBarButton* btExample = nullptr;
    TdxBarButton* btSwap = nullptr;
    TdxBarButton* btCode = nullptr;
    TdxBarButton* btBrowser = nullptr;
    TdxBarButton* btWordWrap = nullptr;
    TdxBarButton* btUndo = nullptr;
    TdxBarButton* btCut = nullptr;
    TdxBarButton* btCopy = nullptr;
    TdxBarButton* btPaste = nullptr;
    TdxBarButton* btClear = nullptr;
    TdxBarButton* btFind = nullptr;
    TdxBarButton* btCustom1 = nullptr;
    TdxBarButton* btCustom2 = nullptr;
    TdxBarButton* btCustom3 = nullptr;
    TdxBarButton* btCustom4 = nullptr;
    TdxBarButton* btCustom5 = nullptr;
    TSaveDialog* SaveDlg = nullptr;
    TOpenDialog* OpenDlg = nullptr;
    TFindDialog* FindDlg = nullptr;

    // State of the window.
    QString CaptionBase;
    bool ResourceMissing = false;
    std::unique_ptr<TRegistry> Registry;
    bool Swapped = false;
    bool Unchanged = true;
    bool UndoDone = false;
    QString CustomName[6];
    QString CustomText[6];
    QString ExeDir;
    QString FileToOpen;

    // Whether every change of the code pane re-renders the preview: btDynamic is down.
    bool DynamicDown() const { return btDynamic && btDynamic->Down(); }

    // The one entry to the preview. The pane's own text goes through ShowPaneHTML, which
    // reads it only when the preview can take it.
    void ShowHTML(const QString& text);
    void ShowPaneHTML();
    void InsertBaseHref(const QString& text);
    void WriteToBrowser(const QString& text);

    Q_INVOKABLE void FormCreate(TObject* Sender);
    Q_INVOKABLE void FormShow(TObject* Sender);
    Q_INVOKABLE void FormClose(TObject* Sender, TCloseAction& Action);
    Q_INVOKABLE void mmHTMLCodeChange(TObject* Sender);
    Q_INVOKABLE void btViewClick(TObject* Sender);
    Q_INVOKABLE void edPathEditChange(TObject* Sender);
    // Nothing to do: the button's Down state alone decides (it toggles on click).
    Q_INVOKABLE void btDynamicClick(TObject* Sender);
    Q_INVOKABLE void WebBrowserNavigateComplete2(TObject* Sender, const QString& URL);
    Q_INVOKABLE void WebBrowserCommandStateChange(TObject* Sender, int Command, bool Enable);
    // Check HTML, About and Browser Information: each opens its window modally.
    Q_INVOKABLE void btParseClick(TObject* Sender);
    Q_INVOKABLE void btAboutClick(TObject* Sender);
    Q_INVOKABLE void btBrowserInfoClick(TObject* Sender);

    // File commands and the save prompt (FileCommands.h).
    Q_INVOKABLE void New1Click(TObject* Sender);
    Q_INVOKABLE void Open1Click(TObject* Sender);
    Q_INVOKABLE void btSaveClick(TObject* Sender);
    Q_INVOKABLE void SaveAs1Click(TObject* Sender);
    Q_INVOKABLE void btExampleClick(TObject* Sender);
    // Asks to save a changed document: true when it was saved; the silent abort on Cancel,
    // and also when Yes did not write it.
    bool AskSaveChanges();

    // Command states, edit and find (EditCommands.h).
    void UpdateCommandStates();
    Q_INVOKABLE void btUndoClick(TObject* Sender);
    Q_INVOKABLE void btRedoClick(TObject* Sender);
    Q_INVOKABLE void btCutClick(TObject* Sender);
    Q_INVOKABLE void btCopyClick(TObject* Sender);
    Q_INVOKABLE void btPasteClick(TObject* Sender);
    Q_INVOKABLE void btClearClick(TObject* Sender);
    Q_INVOKABLE void btSelectAllClick(TObject* Sender);
    Q_INVOKABLE void btFindClick(TObject* Sender);
    Q_INVOKABLE void btFindNextClick(TObject* Sender);
    Q_INVOKABLE void FindDlgFind(TObject* Sender);

    // View, browser, print and help commands (ViewCommands.h).
    Q_INVOKABLE void btSwapClick(TObject* Sender);
    Q_INVOKABLE void btCodeClick(TObject* Sender);
    Q_INVOKABLE void btBrowserClick(TObject* Sender);
    Q_INVOKABLE void btWordWrapClick(TObject* Sender);
    Q_INVOKABLE void btCodeTBClick(TObject* Sender);
    Q_INVOKABLE void btPathTBClick(TObject* Sender);
    Q_INVOKABLE void btNavigationTBClick(TObject* Sender);
    Q_INVOKABLE void btViewInsertBarClick(TObject* Sender);
    Q_INVOKABLE void btCustomiseClick(TObject* Sender);
    Q_INVOKABLE void btBackClick(TObject* Sender);
    Q_INVOKABLE void btForwardClick(TObject* Sender);
    Q_INVOKABLE void btStopClick(TObject* Sender);
    Q_INVOKABLE void btRefreshClick(TObject* Sender);
    Q_INVOKABLE void btPrintClick(TObject* Sender);
    Q_INVOKABLE void btPreviewClick(TObject* Sender);
    Q_INVOKABLE void btPageSetupClick(TObject* Sender);
    Q_INVOKABLE void btHelpClick(TObject* Sender);
    Q_INVOKABLE void btTut_HTMLClick(TObject* Sender);
    Q_INVOKABLE void btTut_CSSClick(TObject* Sender);
    Q_INVOKABLE void btVisitWebClick(TObject* Sender);
    Q_INVOKABLE void btExitClick(TObject* Sender);

    // Inserts and custom inserts.
    Q_INVOKABLE void DoInsert(TObject* Sender);
    Q_INVOKABLE void btCustom1Click(TObject* Sender);
    Q_INVOKABLE void btCustom2Click(TObject* Sender);
    Q_INVOKABLE void btCustom3Click(TObject* Sender);
    Q_INVOKABLE void btCustom4Click(TObject* Sender);
    Q_INVOKABLE void btCustom5Click(TObject* Sender);
    Q_INVOKABLE void btEditCustomClick(TObject* Sender);
    // The custom insert item of slot 1 to 5.
    TdxBarButton* CustomItem(int slot) const;

    // Settings kept between runs (EditorSettings.h).
    void LoadLayout();
    void SaveLayout();
    void LoadCustomInserts();
    void SaveCustomInserts();

    // The current document's file; empty for a new document or the example.
    QString FileName() const { return SaveDlg ? SaveDlg->FileName() : QString(); }

    // Command-line arguments (without the program) that FormCreate reads; the program
    // sets them from its own command line.
    static void SetArguments(const QStringList& arguments);
    // The start-page container's file name in the program's folder (tests name a missing one).
    static void SetResourceLibraryName(const QString& fileName);

    // The preview machinery (created with the window).
    TLivePreview* Preview() const { return preview_.get(); }

private:
    void ApplicationIdle(TObject* Sender, bool& Done);
    // Makes text the selection of the code pane (replacing it, or at the caret).
    void InsertText(const QString& text);

    TResourceModule* resources_ = nullptr;
    std::unique_ptr<TFileCommands> fileCommands_;
    std::unique_ptr<TEditCommands> editCommands_;
    std::unique_ptr<TViewCommands> viewCommands_;
    bool settingsErrorShown_ = false;
    std::unique_ptr<TLivePreview> preview_;
};

extern TfrmMain* frmMain;
