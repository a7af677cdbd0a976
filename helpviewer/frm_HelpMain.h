#pragma once
// The help viewer's window: a browser over the help pages compiled into the program, the
// navigation bar with its Quick Link menu, and the window placement kept in the registry.
#include "Forms.h"
#include "WebBrowser.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

#include <QString>
#include <QStringList>
#include <memory>

class TRegistry;
class TCustomImageList;

class TfrmHelpMain : public TForm {
    Q_OBJECT
    Q_PROPERTY(TWebBrowser* HelpBrowser MEMBER HelpBrowser STORED false)
    Q_PROPERTY(TCustomImageList* ImageList MEMBER ImageList STORED false)
    Q_PROPERTY(TdxBarManager* BarManager MEMBER BarManager STORED false)
    Q_PROPERTY(TdxBarSubItem* btQuickLink MEMBER btQuickLink STORED false)
    Q_PROPERTY(TdxBarButton* btBack MEMBER btBack STORED false)
    Q_PROPERTY(TdxBarButton* btForward MEMBER btForward STORED false)
    Q_PROPERTY(TdxBarButton* btPrint MEMBER btPrint STORED false)
    Q_PROPERTY(TdxBarButton* btPreview MEMBER btPreview STORED false)
    Q_PROPERTY(TdxBarButton* btPageSetup MEMBER btPageSetup STORED false)
    Q_PROPERTY(TdxBarButton* btCopy MEMBER btCopy STORED false)
    Q_PROPERTY(TdxBarButton* btSelectAll MEMBER btSelectAll STORED false)
    Q_PROPERTY(TdxBarButton* btExit MEMBER btExit STORED false)
    Q_PROPERTY(TdxBarButton* btLinkContents MEMBER btLinkContents STORED false)
    Q_PROPERTY(TdxBarButton* btLinkIntro MEMBER btLinkIntro STORED false)
    Q_PROPERTY(TdxBarButton* btLinkCreate MEMBER btLinkCreate STORED false)
    Q_PROPERTY(TdxBarButton* btLinkOpen MEMBER btLinkOpen STORED false)
    Q_PROPERTY(TdxBarButton* btLinkParser MEMBER btLinkParser STORED false)
    Q_PROPERTY(TdxBarButton* btLinkInsert MEMBER btLinkInsert STORED false)
    Q_PROPERTY(TdxBarButton* btLinkAdvance MEMBER btLinkAdvance STORED false)
    Q_PROPERTY(TdxBarButton* btLinkHTMLTut MEMBER btLinkHTMLTut STORED false)
    Q_PROPERTY(TdxBarButton* btLinkCSSTut MEMBER btLinkCSSTut STORED false)

public:
    explicit TfrmHelpMain(TComponent* owner);
    ~TfrmHelpMain() override;

    // Components, set when the form resource is read.
    TWebBrowser* HelpBrowser = nullptr;
    TCustomImageList* ImageList = nullptr;
    TdxBarManager* BarManager = nullptr;
    TdxBarSubItem* btQuickLink = nullptr;
    TdxBarButton* btBack = nullptr;
    TdxBarButton* btForward = nullptr;
    TdxBarButton* btPrint = nullptr;
    TdxBarButton* btPreview = nullptr;
    TdxBarButton* btPageSetup = nullptr;
    TdxBarButton* btCopy = nullptr;
    TdxBarButton* btSelectAll = nullptr;
    TdxBarButton* btExit = nullptr;
    TdxBarButton* btLinkContents = nullptr;
    TdxBarButton* btLinkIntro = nullptr;
    TdxBarButton* btLinkCreate = nullptr;
    TdxBarButton* btLinkOpen = nullptr;
    TdxBarButton* btLinkParser = nullptr;
    TdxBarButton* btLinkInsert = nullptr;
    TdxBarButton* btLinkAdvance = nullptr;
    TdxBarButton* btLinkHTMLTut = nullptr;
    TdxBarButton* btLinkCSSTut = nullptr;

    // The program's own full path; help pages are res:// + ProgramPath + "/" + page.
    QString ProgramPath;
    std::unique_ptr<TRegistry> Registry;
    // The address FormCreate navigated to ("about:blank" for an unknown argument).
    QString StartAddress;

    // The address of one of the program's pages.
    QString PageAddress(const QString& page) const;

    Q_INVOKABLE void FormCreate(TObject* Sender);
    Q_INVOKABLE void FormClose(TObject* Sender, TCloseAction& Action);
    Q_INVOKABLE void HelpBrowserCommandStateChange(TObject* Sender, int Command, bool Enable);
    Q_INVOKABLE void btBackClick(TObject* Sender);
    Q_INVOKABLE void btForwardClick(TObject* Sender);
    Q_INVOKABLE void btPrintClick(TObject* Sender);
    Q_INVOKABLE void btPreviewClick(TObject* Sender);
    Q_INVOKABLE void btPageSetupClick(TObject* Sender);
    Q_INVOKABLE void btCopyClick(TObject* Sender);
    Q_INVOKABLE void btSelectAllClick(TObject* Sender);
    Q_INVOKABLE void btExitClick(TObject* Sender);
    Q_INVOKABLE void btLinkContentsClick(TObject* Sender);
    Q_INVOKABLE void btLinkIntroClick(TObject* Sender);
    Q_INVOKABLE void btLinkCreateClick(TObject* Sender);
    Q_INVOKABLE void btLinkOpenClick(TObject* Sender);
    Q_INVOKABLE void btLinkParserClick(TObject* Sender);
    Q_INVOKABLE void btLinkInsertClick(TObject* Sender);
    Q_INVOKABLE void btLinkAdvanceClick(TObject* Sender);
    Q_INVOKABLE void btLinkHTMLTutClick(TObject* Sender);
    Q_INVOKABLE void btLinkCSSTutClick(TObject* Sender);

    void LoadPlacement();
    void SavePlacement();

    // Command-line arguments (without the program) that FormCreate reads.
    static void SetArguments(const QStringList& arguments);

private:
    void NavigateToPage(const QString& page);
};

extern TfrmHelpMain* frmHelpMain;
