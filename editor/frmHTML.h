#pragma once
// The editor's main window: the code pane, the live preview and the path bar.
#include "Forms.h"
#include "Controls.h"
#include "StdCtrls.h"
#include "ExtCtrls.h"
#include "WebBrowser.h"

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
    Q_PROPERTY(TEdit* edPathEdit MEMBER edPathEdit STORED false)

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
    TEdit* edPathEdit = nullptr;

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

    // Whether every change of the code pane re-renders the preview.
    bool DynamicDown() const { return dynamic_; }
    void SetDynamicDown(bool down) { dynamic_ = down; }

    // The one entry to the preview.
    void ShowHTML(const QString& text);
    void InsertBaseHref(const QString& text);
    void WriteToBrowser(const QString& text);

    Q_INVOKABLE void FormCreate(TObject* Sender);
    Q_INVOKABLE void FormShow(TObject* Sender);
    Q_INVOKABLE void FormClose(TObject* Sender, TCloseAction& Action);
    Q_INVOKABLE void mmHTMLCodeChange(TObject* Sender);
    Q_INVOKABLE void btViewClick(TObject* Sender);
    Q_INVOKABLE void WebBrowserNavigateComplete2(TObject* Sender, const QString& URL);
    Q_INVOKABLE void WebBrowserCommandStateChange(TObject* Sender, int Command, bool Enable);

    // Command-line arguments (without the program) that FormCreate reads; the program
    // sets them from its own command line.
    static void SetArguments(const QStringList& arguments);
    // The start-page container's file name in the program's folder (tests name a missing one).
    static void SetResourceLibraryName(const QString& fileName);

private:
    void OpenCommandLineFile();
    bool dynamic_ = true;
    TResourceModule* resources_ = nullptr;
};

extern TfrmMain* frmMain;
