#pragma once
// The browser information window: the program's "Info.htm" page and an OK button.
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "WebBrowser.h"

class TfrmInfo : public TForm {
    Q_OBJECT
    Q_PROPERTY(TWebBrowser* InfoBrowser MEMBER InfoBrowser STORED false)
    Q_PROPERTY(TPanel* pnButton MEMBER pnButton STORED false)
    Q_PROPERTY(TButton* btOK MEMBER btOK STORED false)
public:
    explicit TfrmInfo(TComponent* owner);

    TWebBrowser* InfoBrowser = nullptr;
    TPanel* pnButton = nullptr;
    TButton* btOK = nullptr;

    Q_INVOKABLE void FormShow(TObject* Sender);
    Q_INVOKABLE void btOKClick(TObject* Sender);
    Q_INVOKABLE void InfoBrowserNavigateComplete2(TObject* Sender, const QString& URL);
};
