// Command states at idle, the Edit commands and Find through their items.
#include "CommandsFixture.h"

#include <QApplication>
#include <QClipboard>

namespace {

class EditCommandsTest : public CommandsTest {
protected:
    void Idle() { form->UpdateCommandStates(); }
    bool Enabled(const QString& name) { return Item(name)->Enabled(); }
    void Find(const QString& what, bool matchCase)
    {
        form->FindDlg->SetFindText(what);
        form->FindDlg->SetOptions(matchCase ? form->FindDlg->Options() | frMatchCase
                                            : form->FindDlg->Options() & ~TFindOptions(frMatchCase));
        Click("btFindNext");
    }
    QString Selection() { return form->mmHTMLCode->SelText(); }
};

TEST_F(EditCommandsTest, UndoAndRedoTakeTurnsAtIdle)
{
    Start();
    Type("abc");
    Idle();
    EXPECT_TRUE(Enabled("btSave"));
    EXPECT_TRUE(Enabled("btUndo"));
    EXPECT_FALSE(Enabled("btRedo"));
    EXPECT_EQ(form->txCode->Font()->Color(), clMaroon);
    EXPECT_EQ(form->txBrowser->Font()->Color(), clGray);

    Click("btUndo");
    EXPECT_TRUE(form->UndoDone);
    Idle();
    EXPECT_FALSE(Enabled("btUndo"));
    EXPECT_TRUE(Enabled("btRedo"));
    const QString undone = form->mmHTMLCode->Text();
    EXPECT_NE(undone, "abc");

    Click("btRedo");
    EXPECT_FALSE(form->UndoDone);
    EXPECT_EQ(form->mmHTMLCode->Text(), "abc");
    Idle();
    EXPECT_TRUE(Enabled("btUndo"));
    EXPECT_FALSE(Enabled("btRedo"));

    // Any other edit after an Undo takes Redo away.
    Click("btUndo");
    Type("z");
    Idle();
    EXPECT_FALSE(Enabled("btRedo"));
}

TEST_F(EditCommandsTest, ClipboardCommandsFollowTheSelection)
{
    Start();
    Type("hello world");
    form->mmHTMLCode->SetSelStart(0);
    Idle();
    EXPECT_FALSE(Enabled("btCut"));
    EXPECT_FALSE(Enabled("btCopy"));
    EXPECT_FALSE(Enabled("btClear"));
    form->mmHTMLCode->SetSelLength(5);
    Idle();
    EXPECT_TRUE(Enabled("btCut"));
    Click("btCut");
    EXPECT_EQ(QApplication::clipboard()->text(), "hello");
    EXPECT_EQ(form->mmHTMLCode->Text(), " world");
    Idle();
    EXPECT_TRUE(Enabled("btPaste"));
    form->mmHTMLCode->SetSelStart(6);
    Click("btPaste");
    EXPECT_EQ(form->mmHTMLCode->Text(), " worldhello");
    Click("btSelectAll");
    Idle();
    Click("btClear");
    EXPECT_TRUE(form->mmHTMLCode->Text().isEmpty());
}

TEST_F(EditCommandsTest, ThePreviewsStatesWhenTheCodePaneHasNoFocus)
{
    Start();
    Type("x");
    form->WebBrowser->SetFocus();
    Idle();
    EXPECT_EQ(form->txCode->Font()->Color(), clGray);
    EXPECT_EQ(form->txBrowser->Font()->Color(), clMaroon);
    for (const char* name : {"btUndo", "btRedo", "btCut", "btPaste", "btClear", "btCopy"})
        EXPECT_FALSE(Enabled(name)) << name;
    // Edits of the code pane do nothing from here.
    Click("btUndo");
    Click("btClear");
    EXPECT_EQ(form->mmHTMLCode->Text(), "x");
    // Nothing selected in the preview: Copy says so.
    form->btCopyClick(form->btCopy);
    EXPECT_EQ(BoxTexts(), QStringList{"Can not copy from the browser window."});
}

TEST_F(EditCommandsTest, FindAndFindNext)
{
    Start();
    // Find Next before any find opens the find dialog.
    Click("btFindNext");
    EXPECT_EQ(script.Log("FindDialog").size(), 1);

    form->mmHTMLCode->SetText("<HTML><p>Para</p><P>end</p>");
    form->mmHTMLCode->SetSelStart(0);
    Find("<html>", false);  // the match at the caret counts
    EXPECT_EQ(form->mmHTMLCode->SelStart(), 0);
    EXPECT_EQ(Selection(), "<HTML>");

    Find("<p>", true);
    EXPECT_EQ(Selection(), "<p>");
    EXPECT_EQ(form->mmHTMLCode->SelStart(), 6);
    Click("btFindNext");  // case matters: "<P>" is passed over
    EXPECT_EQ(BoxTexts(), QStringList{"Can not find <p>."});
    EXPECT_EQ(script.Log("Beep").last().flags, int(MB_ICONASTERISK));
    EXPECT_EQ(form->mmHTMLCode->SelStart(), 6);  // the selection stays

    Find("<p>", false);
    EXPECT_EQ(form->mmHTMLCode->SelStart(), 17);
    Find("</P>", false);  // the match at the very end
    EXPECT_EQ(form->mmHTMLCode->SelStart(), 23);
    EXPECT_EQ(form->mmHTMLCode->SelLength(), 4);
}

TEST_F(EditCommandsTest, FindWithTheCodePaneHiddenDoesNotRaise)
{
    Start();
    form->mmHTMLCode->SetText("one two");
    Click("btCode");  // hides the code pane
    form->mmHTMLCode->SetSelStart(0);
    Find("two", false);
    EXPECT_EQ(form->mmHTMLCode->SelStart(), 4);
    EXPECT_TRUE(BoxTexts().isEmpty());
}

TEST_F(EditCommandsTest, InsertsWhileTheCodePaneIsHiddenStillMarkTheDocumentChanged)
{
    Start();
    Click("btNew");
    Click("btCode");
    ASSERT_FALSE(form->Panel1->Visible());
    Click("btBold");
    EXPECT_FALSE(form->Unchanged);
    EXPECT_TRUE(form->mmHTMLCode->Text().contains("<B>  </B>"));
}

}  // namespace
