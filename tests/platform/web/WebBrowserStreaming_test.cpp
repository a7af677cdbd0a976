// The browser read from and written to a form resource, with its events bound by name.
#include "WebBrowser.h"

#include "FormResources.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TBrowserHost : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(TWebBrowser* WebBrowser MEMBER WebBrowser STORED false)
public:
    using TWinControl::TWinControl;
    TWebBrowser* WebBrowser = nullptr;
    QStringList calls;
    Q_INVOKABLE void WebBrowserNavigateComplete2(TObject*, const QString& url) { calls << url; }
    Q_INVOKABLE void WebBrowserCommandStateChange(TObject*, int command, bool enable)
    {
        calls << QStringLiteral("%1=%2").arg(command).arg(enable);
    }
};

}  // namespace

TEST(WebBrowserStreaming, ReadsPropertiesAndEventsAndWritesThemBack)
{
    RegisterWebClasses();
    auto host = std::make_unique<TBrowserHost>(nullptr);
    ReadComponentFromText(QStringLiteral(R"(object Host: TBrowserHost
  Width = 400
  Height = 300
  object WebBrowser: TWebBrowser
    Left = 0
    Top = 0
    Width = 100
    Height = 100
    Align = alClient
    Hint = 'The Browser Window'
    NoContextMenu = True
    OnNavigateComplete2 = WebBrowserNavigateComplete2
    OnCommandStateChange = WebBrowserCommandStateChange
  end
end
)"),
                          host.get());
    TWebBrowser* browser = host->WebBrowser;
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->Parent(), host.get());
    EXPECT_EQ(browser->Align(), alClient);
    EXPECT_EQ(browser->Width(), 400);
    EXPECT_EQ(browser->Hint(), QStringLiteral("The Browser Window"));
    EXPECT_TRUE(browser->NoContextMenu());

    browser->OnNavigateComplete2()(browser, QStringLiteral("about:blank"));
    browser->OnCommandStateChange()(browser, CSC_NAVIGATEBACK, true);
    EXPECT_EQ(host->calls, QStringList({QStringLiteral("about:blank"), QStringLiteral("2=1")}));

    const QString text = WriteComponentToText(host.get());
    EXPECT_TRUE(text.contains(QStringLiteral("OnNavigateComplete2 = WebBrowserNavigateComplete2")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("OnCommandStateChange = WebBrowserCommandStateChange")));
    EXPECT_TRUE(text.contains(QStringLiteral("NoContextMenu = True")));
}

#include "WebBrowserStreaming_test.moc"
