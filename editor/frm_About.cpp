#include "frm_About.h"

#include "ResScheme.h"

#include <QCoreApplication>
#include <QWebEnginePage>

QString ProgramPageUrl(const QString& page)
{
    return ResPageUrl(QCoreApplication::applicationFilePath(), page);
}

void HidePageScrollBars(TWebBrowser* browser)
{
    if (!browser || !browser->Page()) return;
    browser->Page()->runJavaScript(
        QStringLiteral("if (document.body) { document.body.style.overflowX = 'hidden';"
                       " document.body.style.overflowY = 'hidden'; }"));
}

TfrmAbout::TfrmAbout(TComponent* owner) : TForm(owner)
{
    RegisterWebClasses();
}

void TfrmAbout::FormShow(TObject* /*Sender*/)
{
    AboutBrowser->Navigate(ProgramPageUrl(QStringLiteral("About.htm")));
}

void TfrmAbout::btOKClick(TObject* /*Sender*/)
{
    SetModalResult(mrOk);
}

void TfrmAbout::AboutBrowserNavigateComplete2(TObject* /*Sender*/, const QString& /*URL*/)
{
    HidePageScrollBars(AboutBrowser);
}
