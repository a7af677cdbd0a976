// Pane layout, bar toggles, browser history and the help viewer's start.
#include "CommandsFixture.h"
#include "ViewCommands.h"
#include "dxBarBar.h"

#include <QApplication>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScrollBar>

using testsupport::WaitFor;

namespace {

TEST_F(CommandsTest, SwapTwiceReturnsToSideBySide)
{
    Start();
    Click("btSwap");
    EXPECT_TRUE(form->Swapped);
    EXPECT_EQ(form->Panel1->Align(), alTop);
    EXPECT_EQ(form->Panel1->Height(), TViewCommands::kCodeHeight);
    EXPECT_EQ(form->Splitter->Align(), alTop);
    EXPECT_EQ(form->Splitter->Cursor(), crVSplit);
    EXPECT_EQ(form->Splitter->Top(), form->Panel1->Top() + form->Panel1->Height());  // under the pane

    Click("btSwap");
    EXPECT_FALSE(form->Swapped);
    EXPECT_EQ(form->Panel1->Align(), alLeft);
    EXPECT_EQ(form->Panel1->Width(), TViewCommands::kCodeWidth);
    EXPECT_EQ(form->Splitter->Align(), alLeft);
    EXPECT_EQ(form->Splitter->Cursor(), crHSplit);
    EXPECT_EQ(form->Splitter->Left(), form->Panel1->Left() + form->Panel1->Width());  // right of the pane
}

TEST_F(CommandsTest, SwapWhileThePreviewIsHiddenTakesEffectWhenItReturns)
{
    Start();
    Click("btBrowser");
    EXPECT_FALSE(Item("btBrowser")->Down());
    EXPECT_FALSE(form->Panel4->Visible());
    EXPECT_EQ(form->Panel1->Align(), alClient);
    EXPECT_FALSE(form->Splitter->Visible());

    Click("btSwap");
    EXPECT_TRUE(form->Swapped);
    EXPECT_EQ(form->Panel1->Align(), alClient);

    Click("btBrowser");
    EXPECT_TRUE(form->Panel4->Visible());
    EXPECT_EQ(form->Panel1->Align(), alTop);
    EXPECT_EQ(form->Panel1->Height(), TViewCommands::kCodeHeight);
    EXPECT_TRUE(form->Splitter->Visible());
    EXPECT_EQ(form->Splitter->Top(), form->Panel1->Top() + form->Panel1->Height());
}

TEST_F(CommandsTest, HidingBothPanesAndShowingThemBack)
{
    Start();
    Click("btCode");
    Click("btBrowser");
    EXPECT_FALSE(form->Panel1->Visible());
    EXPECT_FALSE(form->Panel4->Visible());
    EXPECT_FALSE(form->Splitter->Visible());

    Click("btCode");  // one pane: no splitter
    EXPECT_TRUE(form->Panel1->Visible());
    EXPECT_FALSE(form->Splitter->Visible());
    EXPECT_EQ(form->Panel1->Width(), form->Panel3->Width());

    Click("btBrowser");
    EXPECT_TRUE(form->Splitter->Visible());
    EXPECT_EQ(form->Panel1->Width(), TViewCommands::kCodeWidth);
    EXPECT_EQ(form->Splitter->Left(), form->Panel1->Width());
    EXPECT_EQ(form->Panel4->Left(), form->Panel1->Width() + form->Splitter->Width());
}

TEST_F(CommandsTest, WordWrapOffShowsAHorizontalScrollBar)
{
    Start();
    Click("btWordWrap");
    EXPECT_EQ(form->mmHTMLCode->ScrollBars(), ssBoth);
    EXPECT_EQ(form->mmHTMLCode->Editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
    Click("btWordWrap");
    EXPECT_EQ(form->mmHTMLCode->ScrollBars(), ssVertical);
    EXPECT_EQ(form->mmHTMLCode->Editor()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(CommandsTest, BarTogglesShowAndHideTheirBars)
{
    Start();
    const struct {
        const char* item;
        const char* bar;
    } toggles[] = {{"btCodeTB", "Toolbar"},
                   {"btPathTB", "ControlBar"},
                   {"btNavigationTB", "Navigator"},
                   {"btViewInsertBar", "InsertBar"}};
    TdxBars* bars = form->BarManager->Bars();
    for (const auto& t : toggles) {
        TdxBar* bar = nullptr;
        for (int i = 0; i < bars->Count(); ++i)
            if (bars->Items(i)->Name() == t.bar) bar = bars->Items(i);
        ASSERT_NE(bar, nullptr) << t.bar;
        const bool visible = bar->Visible();
        Click(t.item);
        EXPECT_EQ(bar->Visible(), !visible) << t.item;
        EXPECT_FALSE(Item(t.item)->Down()) << t.item;
        Click(t.item);
        EXPECT_EQ(bar->Visible(), visible) << t.item;
    }
}

TEST_F(CommandsTest, BackWithoutHistoryWarns)
{
    Start();
    Click("btBack");
    Click("btForward");
    EXPECT_EQ(BoxTexts(), QStringList({"No history to go back to.", "No history to go forward to."}));
    EXPECT_EQ(script.Log("Beep").first().flags, int(MB_ICONEXCLAMATION));
}

TEST_F(CommandsTest, PrintCommandsReachTheBrowsersDialogs)
{
    Start();
    form->btPrintClick(form);
    form->btPreviewClick(form);
    form->btPageSetupClick(form);
    EXPECT_EQ(script.Log("PrintDialog").size(), 1);
    EXPECT_EQ(script.Log("PrintPreviewDialog").size(), 1);
    EXPECT_EQ(script.Log("PageSetupDialog").size(), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the busy cursor is gone
}

TEST_F(CommandsTest, HelpCommandsStartTheViewerWithoutWaiting)
{
    Start();
    // A stand-in viewer that records its arguments.
    QDir().mkpath(Path("prog/Help"));
    const QString viewer = WriteFile("prog/Help/VESKHelp", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$0.$1.out\"\n");
    QFile::setPermissions(viewer, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    form->ExeDir = Path("prog/");
    Click("btHelp");
    Click("btTut_HTML");
    Click("btTut_CSS");
    EXPECT_TRUE(WaitFor([&] { return QFileInfo::exists(viewer + "..out"); }));
    EXPECT_TRUE(WaitFor([&] { return ReadFile(viewer + ".H.out") == "1|H"; }));
    EXPECT_TRUE(WaitFor([&] { return ReadFile(viewer + ".C.out") == "1|C"; }));
    EXPECT_EQ(ReadFile(viewer + "..out"), "0|");
    EXPECT_TRUE(BoxTexts().isEmpty());

    Click("btVisitWeb");
    ASSERT_EQ(script.Log("ShellExecute").size(), 1);
    EXPECT_TRUE(script.Log("ShellExecute")[0].text.startsWith("https://"));
}

TEST_F(CommandsTest, AMissingHelpViewerIsReported)
{
    Start();
    form->ExeDir = Path("empty/");
    Click("btHelp");
    EXPECT_EQ(BoxTexts(), QStringList{"Cannot Load The Help File. Please Reinstall VESK."});
    EXPECT_EQ(script.Log("Beep").first().flags, int(MB_ICONEXCLAMATION));
}

TEST_F(CommandsTest, ExitClosesWithTheSavePrompt)
{
    Start();
    Type("x");
    script.AnswerMessage(IDCANCEL);
    Click("btExit");
    EXPECT_TRUE(form->Visible());
    script.AnswerMessage(IDNO);
    Click("btExit");
    EXPECT_FALSE(form->Visible());
}

}  // namespace
