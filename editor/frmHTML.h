#pragma once
// The editor's main window: the code pane, the live preview and the path bar.
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

class TRegistry;
class TResourceModule;

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

    // State of the window.
    QString CaptionBase;
    bool ResourceMissing = false;
    std::unique_ptr<TRegistry> Registry;
    QString PendingHTML;
    bool Swapped = false;
    bool Unchanged = true;
    bool UndoDone = false;
    QString CustomName[6];
    QString CustomText[6];
    QString ExeDir;
    QString FileToOpen;

    // Whether every change of the code pane re-renders the preview: btDynamic is down.
    bool DynamicDown() const { return btDynamic && btDynamic->Down(); }

    // The one entry to the preview.
    void ShowHTML(const QString& text);
    void InsertBaseHref(const QString& text);
    void WriteToBrowser(const QString& text);

    Q_INVOKABLE void FormCreate(TObject* Sender);
    Q_INVOKABLE void FormShow(TObject* Sender);
    Q_INVOKABLE void FormClose(TObject* Sender, TCloseAction& Action);
    Q_INVOKABLE void mmHTMLCodeChange(TObject* Sender);
    Q_INVOKABLE void btViewClick(TObject* Sender);
    // Nothing to do: the button's Down state alone decides (it toggles on click).
    Q_INVOKABLE void btDynamicClick(TObject* Sender);
    Q_INVOKABLE void WebBrowserNavigateComplete2(TObject* Sender, const QString& URL);
    Q_INVOKABLE void WebBrowserCommandStateChange(TObject* Sender, int Command, bool Enable);
    // Check HTML, About and Browser Information: each opens its window modally.
    Q_INVOKABLE void btParseClick(TObject* Sender);
    Q_INVOKABLE void btAboutClick(TObject* Sender);
    Q_INVOKABLE void btBrowserInfoClick(TObject* Sender);

    // The current document's file; empty for a new document. For now the command-line
    // file; the save dialog's file name takes its place once the file commands exist.
    QString FileName() const { return FileToOpen; }

    // Command-line arguments (without the program) that FormCreate reads; the program
    // sets them from its own command line.
    static void SetArguments(const QStringList& arguments);
    // The start-page container's file name in the program's folder (tests name a missing one).
    static void SetResourceLibraryName(const QString& fileName);

private:
    void OpenCommandLineFile();
    TResourceModule* resources_ = nullptr;
};

extern TfrmMain* frmMain;
