// The about and information windows, and the main window's commands that open them modally.
#include "Application.h"
#include "TestSupport.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarExtItems.h"
#include "dxBarRegistry.h"
#include "frmHTML.h"
#include "frm_About.h"
#include "frm_Info.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <optional>

using testsupport::WaitFor;

namespace {
constexpr int kWaitMs = 30000;

QVariant Eval(TWebBrowser* browser, const QString& script)
{
    std::optional<QVariant> result;
    browser->Page()->runJavaScript(script, [&](const QVariant& v) { result = v; });
    EXPECT_TRUE(WaitFor([&] { return result.has_value(); }, kWaitMs)) << script.toStdString();
    return result.value_or(QVariant());
}

QString BodyText(TWebBrowser* browser)
{
    return Eval(browser, QStringLiteral("document.body ? document.body.innerText : ''")).toString();
}

// Waits until the page shows text and its scroll bars were switched off.
void ExpectPageShown(TWebBrowser* browser, const QString& page, const QString& text)
{
    ASSERT_TRUE(WaitFor([&] { return browser->LocationURL().endsWith("/" + page); }, kWaitMs))
        << browser->LocationURL().toStdString();
    EXPECT_TRUE(browser->LocationURL().startsWith("res:///"));
    EXPECT_TRUE(WaitFor([&] { return BodyText(browser).contains(text); }, kWaitMs));
    EXPECT_TRUE(
        WaitFor([&] { return Eval(browser, "document.body.style.overflowY").toString() == "hidden"; }, kWaitMs));
    EXPECT_EQ(Eval(browser, "document.body.style.overflowX").toString(), "hidden");
    // The style sheet beside the page loads from the program too.
    EXPECT_TRUE(WaitFor(
        [&] {
            return Eval(browser, "getComputedStyle(document.querySelector('.banner')).display").toString() == "flex";
        },
        kWaitMs));
    EXPECT_EQ(browser->View()->contextMenuPolicy(), Qt::NoContextMenu);
    // The scroll bars are hidden, so the whole page must fit the window: its last element
    // ends inside the view, and nothing reaches past its right edge.
    EXPECT_TRUE(WaitFor([&] { return Eval(browser, "document.readyState").toString() == "complete"; }, kWaitMs));
    const QVariantList fit =
        Eval(browser,
             "(function(){var c=document.querySelector('.content');var r=c.lastElementChild.getBoundingClientRect();"
             "return [r.bottom, window.innerHeight, document.documentElement.scrollWidth, window.innerWidth];})()")
            .toList();
    ASSERT_EQ(fit.size(), 4);
    EXPECT_LE(fit[0].toDouble(), fit[1].toDouble()) << page.toStdString() << " is taller than its window";
    EXPECT_LE(fit[2].toDouble(), fit[3].toDouble()) << page.toStdString() << " is wider than its window";
    EXPECT_EQ(fit[3].toInt(), browser->View()->width());
}

// The visible top-level window called name, if any.
QWidget* TopLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

class AboutInfoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterWebClasses();
        dxBarInitialize();
        dxBarRegisterManagerClasses();
        dxBarExtItemsInitialize();  // the form holds extended items
        SetProgramResourcePrefix(QStringLiteral(":/editor"));
    }
};

}  // namespace

TEST_F(AboutInfoTest, AboutWindowShowsItsPage)
{
    std::unique_ptr<TfrmAbout> about(Create<TfrmAbout>(nullptr));
    EXPECT_EQ(about->Caption(), "About");
    EXPECT_EQ(about->ClientWidth(), 312);
    EXPECT_EQ(about->txVersion->Caption(), "V2.0.0.2 rel ");
    EXPECT_TRUE(about->btOK->Default());
    EXPECT_EQ(about->btOK->Cursor(), crHandPoint);
    about->Show();
    ExpectPageShown(about->AboutBrowser, "About.htm", "Version");
}

TEST_F(AboutInfoTest, InfoWindowShowsItsPageWithTheBrowsersDetails)
{
    std::unique_ptr<TfrmInfo> info(Create<TfrmInfo>(nullptr));
    EXPECT_EQ(info->Caption(), "Browser Information");
    EXPECT_EQ(info->ClientWidth(), 509);
    info->Show();
    ExpectPageShown(info->InfoBrowser, "Info.htm", "Browser Information");
    EXPECT_TRUE(WaitFor([&] { return BodyText(info->InfoBrowser).contains("Mozilla"); }, kWaitMs));
}

TEST_F(AboutInfoTest, CommandsShowTheWindowsModallyAndFreeThem)
{
    std::unique_ptr<TfrmMain> main(Create<TfrmMain>(Application));
    struct Case {
        const char* window;
        void (TfrmMain::*command)(TObject*);
    };
    for (const Case& c : {Case{"frmAbout", &TfrmMain::btAboutClick}, Case{"frmInfo", &TfrmMain::btBrowserInfoClick}}) {
        QPointer<QWidget> seen;
        bool opened = false;
        // Inside the modal loop: press the window's OK button once it is up.
        QTimer poll;
        poll.setInterval(50);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* w = TopLevel(c.window);
            if (!w) return;
            seen = w;
            opened = true;
            EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
            for (QPushButton* b : w->findChildren<QPushButton*>())
                if (b->text() == "OK") b->click();
        });
        poll.start();
        (main.get()->*c.command)(nullptr);
        poll.stop();
        EXPECT_TRUE(opened) << c.window;
        EXPECT_TRUE(seen.isNull()) << c.window << " was not freed";
    }
}

TEST_F(AboutInfoTest, CheckHtmlReportsTheCodePane)
{
    std::unique_ptr<TfrmMain> main(Create<TfrmMain>(Application));
    main->mmHTMLCode->SetText("<p>one</p><p>two</p>");
    QPointer<QWidget> seen;
    bool opened = false;
    bool reported = false;
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* w = TopLevel("frmParse");
        if (!w) return;
        seen = w;
        opened = true;
        auto* view = w->findChild<QWebEngineView*>();
        if (!view) return;
        view->page()->toPlainText([&, w = QPointer<QWidget>(w)](const QString& text) {
            // "Document": the new document has no file name; four tags.
            if (!reported && text.contains("Document") && text.contains(QRegularExpression("HTML tags\\s+4"))) {
                reported = true;
                if (w) w->close();
            }
        });
    });
    poll.start();
    main->btParseClick(nullptr);
    poll.stop();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(reported);
    EXPECT_TRUE(seen.isNull());
}
