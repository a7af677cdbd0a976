#include "frm_Info.h"

#include "frm_About.h"

TfrmInfo::TfrmInfo(TComponent* owner) : TForm(owner)
{
    RegisterWebClasses();
}

void TfrmInfo::FormShow(TObject* /*Sender*/)
{
    InfoBrowser->Navigate(ProgramPageUrl(QStringLiteral("Info.htm")));
}

void TfrmInfo::btOKClick(TObject* /*Sender*/)
{
    SetModalResult(mrOk);
}

void TfrmInfo::InfoBrowserNavigateComplete2(TObject* /*Sender*/, const QString& /*URL*/)
{
    HidePageScrollBars(InfoBrowser);
}
