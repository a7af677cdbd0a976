// The help window: start pages, the Quick Link pages and their parts, navigation and the
// browser commands, driven through the bar items' direct clicks.
#include "HelpViewerFixture.h"

#include "Dialogs.h"
#include "WebBrowser.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarWindowsLibrary.h"
#include "ImgList.h"
#include "dxBarItemLink.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QSet>

using testsupport::WaitFor;

namespace {
const QString kNoBack = QStringLiteral("No pages to go back to.");
const QString kNoForward = QStringLiteral("No pages to go forward to.");

QStringList MessageTexts(const TDialogScript& script)
{
    QStringList texts;
    for (const TDialogRecord& r : script.Log(QStringLiteral("MessageBox"))) texts.append(r.text);
    return texts;
}
}  // namespace

// Where each group of links starts, by link index.
QList<int> GroupStarts(TdxBarItemLinks* links)
{
    QList<int> starts;
    for (int i = 0; i < links->Count(); ++i)
        if (links->Items(i)->BeginGroup()) starts.append(i);
    return starts;
}

TEST_F(THelpViewerTest, TheNavigationBarComesFromTheFormResource)
{
    Start();
    TdxBar* bar = form->BarManager->BarByName("MainNavigation");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->DockingStyle(), dsTop);
    EXPECT_EQ(bar->BorderStyle(), bbsNone);
    EXPECT_FALSE(bar->AllowClose());
    ASSERT_EQ(bar->ItemLinks()->Count(), 9);
    EXPECT_EQ(bar->ItemLinks()->Items(0)->Item(), form->btQuickLink);
    EXPECT_EQ(bar->ItemLinks()->Items(8)->Item(), form->btExit);
    EXPECT_EQ(GroupStarts(bar->ItemLinks()), (QList<int>{1, 3, 6, 8}));
    EXPECT_EQ(GroupStarts(form->btQuickLink->ItemLinks()), (QList<int>{1, 7}));
    // Every command's hint is its caption without the accelerator mark and dots.
    for (TdxBarItem* item : form->BarManager->ItemList()) {
        QString caption = item->Caption();
        caption.remove('&').remove('.');
        EXPECT_EQ(item->Hint(), caption) << item->Name().toStdString();
        EXPECT_TRUE(item->Enabled() || item == form->btBack || item == form->btForward) << item->Name().toStdString();
        // A glyph index names an image the list holds.
        if (auto* button = qobject_cast<TdxBarButton*>(item); button && button->ImageIndex() >= 0) {
            ASSERT_LT(button->ImageIndex(), form->ImageList->Count()) << item->Name().toStdString();
            EXPECT_FALSE(form->ImageList->Image(button->ImageIndex()).isNull());
        }
    }
    EXPECT_GE(form->btBack->ImageIndex(), 0);
    EXPECT_EQ(form->btLinkContents->ImageIndex(), -1);  // shown by caption only
}

TEST_F(THelpViewerTest, WithTheBarWindowsTheNavigationBarIsDockedAtTheTopWithItsButtons)
{
    TdxBarWindowsLibrary library;
    Start();
    TdxBar* bar = form->BarManager->BarByName("MainNavigation");
    ASSERT_NE(bar, nullptr);
    auto* window = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Visible());
    EXPECT_GT(window->Height(), 0);
    EXPECT_EQ(window->DockControl()->Height(), window->Height());
    // Back and Print stand in the row, one after the other.
    const QRect back = form->btBack->LinkList().value(0)->ItemRect();
    const QRect print = form->btPrint->LinkList().value(0)->ItemRect();
    EXPECT_FALSE(back.isEmpty());
    EXPECT_GT(print.left(), back.right());
    Finish();
}

TEST_F(THelpViewerTest, WithoutArgumentsShowsTheContents)
{
    Start();
    EXPECT_EQ(form->Caption(), "VESK HELP");
    EXPECT_EQ(form->ProgramPath, QCoreApplication::applicationFilePath());
    ASSERT_TRUE(WaitForPage("/Contents.htm"));
    EXPECT_TRUE(form->HelpBrowser->LocationURL().startsWith("res:///"));
    EXPECT_TRUE(BrokenPageParts().isEmpty());
    EXPECT_TRUE(Eval("document.body.innerText").toString().contains("Contents"));
    // Nothing to go back to or forward to yet.
    EXPECT_FALSE(form->btBack->Enabled());
    EXPECT_FALSE(form->btForward->Enabled());
    EXPECT_TRUE(script.Log().isEmpty());
}

TEST_F(THelpViewerTest, TutorialArgumentsAreCaseSensitive)
{
    struct Case {
        QString argument, page;
    };
    for (const Case& c : {Case{"H", "/HTML.htm"}, Case{"C", "/CSS.htm"}}) {
        Start({c.argument});
        EXPECT_EQ(form->Caption(), "VESK Tutorials");
        EXPECT_TRUE(WaitForPage(c.page)) << c.argument.toStdString();
        EXPECT_TRUE(BrokenPageParts().isEmpty());
        Finish();
    }
    // Anything else is an empty page that loads, with no error page in its place.
    for (const QString& argument : {QStringLiteral("h"), QStringLiteral("c"), QStringLiteral("HTML"), QString()}) {
        Start({argument});
        EXPECT_EQ(form->Caption(), "VESK Tutorials");
        EXPECT_TRUE(WaitForPage("about:blank")) << argument.toStdString();
        EXPECT_EQ(form->HelpBrowser->LocationURL(), "about:blank");
        EXPECT_EQ(Eval("document.body ? document.body.innerText : 'none'").toString(), "");
        Finish();
    }
    EXPECT_TRUE(script.Log().isEmpty());
}

TEST_F(THelpViewerTest, EveryQuickLinkOpensAWholePage)
{
    Start();
    ASSERT_TRUE(WaitForPage("/Contents.htm"));
    const QStringList expected = {"Contents.htm", "Introduction.htm", "Creating.htm", "Opening.htm", "Parser.htm",
                                  "Insert.htm",   "Advanced.htm",     "HTML.htm",     "CSS.htm"};
    TdxBarItemLinks* links = form->btQuickLink->ItemLinks();
    ASSERT_EQ(links->Count(), expected.size());
    QSet<QString> pageLinks;
    // Start each item from another page, so that every click really navigates.
    for (int i = expected.size() - 1; i >= 0; --i) {
        TdxBarItem* item = links->Items(i)->Item();
        item->DirectClick();
        ASSERT_TRUE(WaitForPage("/" + expected[i])) << item->Name().toStdString();
        EXPECT_TRUE(form->HelpBrowser->LocationURL().startsWith("res://" + form->ProgramPath + "/"));
        const QStringList broken = BrokenPageParts();
        EXPECT_TRUE(broken.isEmpty()) << expected[i].toStdString() << ": " << broken.join(", ").toStdString();
        EXPECT_FALSE(Eval("document.title").toString().isEmpty()) << expected[i].toStdString();
        for (const QString& link : PageLinks()) pageLinks.insert(link.section('#', 0, 0));
    }
    // The links between the pages lead to pages the program has.
    for (const QString& link : pageLinks) {
        form->HelpBrowser->Navigate(link);
        EXPECT_TRUE(WaitForPage(link.section('/', -1))) << link.toStdString();
        EXPECT_TRUE(BrokenPageParts().isEmpty()) << link.toStdString();
    }
    EXPECT_TRUE(script.Log().isEmpty());
}

TEST_F(THelpViewerTest, BackAndForwardTellWhenThereIsNoPage)
{
    Start();
    ASSERT_TRUE(WaitForPage("/Contents.htm"));
    // The disabled item ignores its click; its handler, when it is reached, tells.
    form->btBack->DirectClick();
    EXPECT_TRUE(script.Log().isEmpty());
    form->btBackClick(form->btBack);
    EXPECT_EQ(MessageTexts(script), QStringList{kNoBack});
    ASSERT_EQ(script.Log("Beep").size(), 1);
    EXPECT_EQ(script.Log("Beep")[0].flags, MB_ICONEXCLAMATION);
    EXPECT_EQ(script.Log("MessageBox")[0].flags & MB_ICONMASK, MB_ICONEXCLAMATION);

    script.ClearLog();
    form->btLinkCSSTut->DirectClick();
    ASSERT_TRUE(WaitForPage("/CSS.htm"));
    EXPECT_TRUE(WaitFor([&] { return form->btBack->Enabled(); }));
    EXPECT_FALSE(form->btForward->Enabled());
    form->btForwardClick(form->btForward);
    EXPECT_EQ(MessageTexts(script), QStringList{kNoForward});

    script.ClearLog();
    form->btBack->DirectClick();
    ASSERT_TRUE(WaitForPage("/Contents.htm"));
    EXPECT_TRUE(WaitFor([&] { return form->btForward->Enabled() && !form->btBack->Enabled(); }));
    form->btForward->DirectClick();
    ASSERT_TRUE(WaitForPage("/CSS.htm"));
    EXPECT_TRUE(script.Log().isEmpty());
}

TEST_F(THelpViewerTest, CopyNeedsASelection)
{
    Start();
    ASSERT_TRUE(WaitForPage("/Contents.htm"));
    QGuiApplication::clipboard()->setText("before");
    form->btCopy->DirectClick();
    EXPECT_EQ(MessageTexts(script), QStringList{"Can not copy from the browser window."});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");

    script.ClearLog();
    form->btSelectAll->DirectClick();
    ASSERT_TRUE(WaitFor([&] { return !form->HelpBrowser->SelectedText().isEmpty(); }));
    form->btCopy->DirectClick();
    EXPECT_TRUE(WaitFor([&] { return QGuiApplication::clipboard()->text().contains("Contents"); }));
    EXPECT_TRUE(script.Log().isEmpty());
}

TEST_F(THelpViewerTest, PrintCommandsReachTheBrowserAndExitCloses)
{
    Start();
    ASSERT_TRUE(WaitForPage("/Contents.htm"));
    form->btPrint->DirectClick();
    form->btPreview->DirectClick();
    form->btPageSetup->DirectClick();
    EXPECT_EQ(script.Log("PrintDialog").size(), 1);
    EXPECT_EQ(script.Log("PrintPreviewDialog").size(), 1);
    EXPECT_EQ(script.Log("PageSetupDialog").size(), 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // the busy cursor is gone again

    form->btExit->DirectClick();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Registry);
}
