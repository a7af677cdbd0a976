#pragma once
// The about window: the program's "About.htm" page in a browser, and an OK button.
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "WebBrowser.h"

class TfrmAbout : public TForm {
    Q_OBJECT
    Q_PROPERTY(TWebBrowser* AboutBrowser MEMBER AboutBrowser STORED false)
    Q_PROPERTY(TPanel* pnAbout MEMBER pnAbout STORED false)
    Q_PROPERTY(TLabel* txVersion MEMBER txVersion STORED false)
    Q_PROPERTY(TButton* btOK MEMBER btOK STORED false)
public:
    explicit TfrmAbout(TComponent* owner);

    TWebBrowser* AboutBrowser = nullptr;
    TPanel* pnAbout = nullptr;
    TLabel* txVersion = nullptr;
    TButton* btOK = nullptr;

    Q_INVOKABLE void FormShow(TObject* Sender);
    Q_INVOKABLE void btOKClick(TObject* Sender);
    Q_INVOKABLE void AboutBrowserNavigateComplete2(TObject* Sender, const QString& URL);
};

// The res URL of a page that the program carries as a resource ("About.htm").
QString ProgramPageUrl(const QString& page);
// Hides the scroll bars of the page shown in browser (nothing happens without a body).
void HidePageScrollBars(TWebBrowser* browser);
