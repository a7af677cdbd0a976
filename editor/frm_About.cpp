#include "frm_About.h"

#include <QCoreApplication>
#include <QUrl>
#include <QWebEnginePage>

QString ProgramPageUrl(const QString& page) {
    // Percent-encoded, so that blanks, "#" or "%" in the program's path stay part of the path.
    return QStringLiteral("res://") +
           QString::fromLatin1(QUrl::toPercentEncoding(QCoreApplication::applicationFilePath(), "/")) +
           QLatin1Char('/') + page;
}

void HidePageScrollBars(TWebBrowser* browser) {
    if (!browser || !browser->Page()) return;
    browser->Page()->runJavaScript(QStringLiteral(
        "if (document.body) { document.body.style.overflowX = 'hidden';"
        " document.body.style.overflowY = 'hidden'; }"));
}

TfrmAbout::TfrmAbout(TComponent* owner) : TForm(owner) { RegisterWebClasses(); }

void TfrmAbout::FormShow(TObject* /*Sender*/) { AboutBrowser->Navigate(ProgramPageUrl(QStringLiteral("About.htm"))); }

void TfrmAbout::btOKClick(TObject* /*Sender*/) { SetModalResult(mrOk); }

void TfrmAbout::AboutBrowserNavigateComplete2(TObject* /*Sender*/, const QString& /*URL*/) {
    HidePageScrollBars(AboutBrowser);
}
