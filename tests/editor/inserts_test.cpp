// The insert commands, the custom inserts and their editor window.
#include "CommandsFixture.h"
#include "ExceptionBarrier.h"
#include "InsertRS.h"
#include "frm_Custom.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {

TEST_F(CommandsTest, EveryInsertItemHasItsSnippetAndTheOthersNone)
{
    Start();
    int inserts = 0;
    for (int i = 0; i < form->BarManager->ItemCount(); ++i) {
        TdxBarItem* item = form->BarManager->GetItem(i);
        const bool isInsert = item->OnClick().MethodName() == "DoInsert";
        const int id = InsertRS::InsertIdOf(item->Name());
        EXPECT_EQ(id != 0, isInsert) << item->Name().toStdString();
        if (isInsert) {
            ++inserts;
            EXPECT_FALSE(InsertRS::LoadStr(id).isEmpty()) << item->Name().toStdString();
        }
    }
    EXPECT_EQ(inserts, 46);
}

TEST_F(CommandsTest, InsertsReplaceTheSelectionOrGoInAtTheCaret)
{
    Start();
    form->mmHTMLCode->SetText("one two three");
    form->mmHTMLCode->SetSelStart(4);
    form->mmHTMLCode->SetSelLength(3);
    Click("btTableRow");
    EXPECT_EQ(form->mmHTMLCode->Text(), "one <TR>\n\n</TR> three");
    EXPECT_EQ(form->mmHTMLCode->SelStart(), 15);  // the caret ends after the snippet
    EXPECT_EQ(form->mmHTMLCode->SelLength(), 0);
    Click("btS_Euro");
    EXPECT_EQ(form->mmHTMLCode->Text(), "one <TR>\n\n</TR>&euro; three");
    EXPECT_FALSE(form->Unchanged);

    // The table template: 23 lines, no break after the last.
    form->mmHTMLCode->SetText({});
    Click("btTableTemp");
    const QStringList lines = form->mmHTMLCode->Text().split('\n');
    ASSERT_EQ(lines.size(), 23);
    EXPECT_EQ(lines.first(), "<TABLE Width=\"75%\">");
    EXPECT_EQ(lines.count("<TD>  </TD>"), 16);
    EXPECT_EQ(lines.last(), "</TABLE>");
}

TEST_F(CommandsTest, CustomInsertsStartWithTheirDefaults)
{
    Start();
    EXPECT_EQ(form->CustomName[3], "Custom 3");
    EXPECT_EQ(form->CustomText[3], "Use Custom Edit To Add Your Own Text.");
    EXPECT_EQ(Item("btCustom3")->Caption(), "Custom &3");
    form->mmHTMLCode->SetText("ab");
    form->mmHTMLCode->SetSelStart(1);
    form->CustomText[3] = "<mine>";
    Click("btCustom3");
    EXPECT_EQ(form->mmHTMLCode->Text(), "a<mine>b");
}

class CustomEditorTest : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        Start();
        editor = Create<TfrmCustom>(nullptr);
    }
    void TearDown() override
    {
        delete editor;
        CommandsTest::TearDown();
    }
    TfrmCustom* editor = nullptr;
};

TEST_F(CustomEditorTest, ShowsSlotOneAndMovesAroundTheFive)
{
    EXPECT_EQ(editor->Slot, 1);
    EXPECT_EQ(editor->Caption(), "Editing Custom No.1...");
    EXPECT_EQ(editor->edName->Text(), "Custom 1");
    EXPECT_FALSE(editor->Modified);
    editor->btPrevBt->DirectClick();
    EXPECT_EQ(editor->Slot, 5);
    EXPECT_EQ(editor->Caption(), "Editing Custom No.5...");
    editor->btNextBt->DirectClick();
    editor->btNextBt->DirectClick();
    EXPECT_EQ(editor->Slot, 2);
    EXPECT_TRUE(script.Log("MessageBox").isEmpty());
}

TEST_F(CustomEditorTest, TheSlotPromptStoresDropsOrStays)
{
    editor->btNextBt->DirectClick();
    editor->mmText->SetText("changed two");
    EXPECT_TRUE(editor->Modified);

    script.AnswerMessage(IDCANCEL);  // stays on slot 2
    editor->btNextBt->DirectClick();
    EXPECT_EQ(editor->Slot, 2);
    EXPECT_EQ(BoxTexts(), QStringList{"Do you want to save the changes to custom No.2?"});

    script.AnswerMessage(IDNO);  // slot 2 keeps its text, slot 3 is shown
    editor->btNextBt->DirectClick();
    EXPECT_EQ(editor->Slot, 3);
    EXPECT_EQ(form->CustomText[2], "Use Custom Edit To Add Your Own Text.");

    editor->edName->SetText("Three");
    script.AnswerMessage(IDYES);
    editor->btPrevBt->DirectClick();
    EXPECT_EQ(form->CustomName[3], "Three");
    EXPECT_EQ(Item("btCustom3")->Caption(), "Three");
}

TEST_F(CustomEditorTest, OkStoresEvenUnchangedAndCancelAsks)
{
    editor->btPrevBt->DirectClick();  // slot 5
    editor->btOK->Click();
    EXPECT_EQ(editor->ModalResult(), mrOk);
    EXPECT_EQ(Item("btCustom5")->Caption(), "Custom 5");  // the name, without its accelerator

    editor->SetModalResult(mrNone);
    editor->mmText->SetText("x");
    script.AnswerMessage(IDCANCEL);
    RunGuarded(nullptr, [&] { editor->btCancel->Click(); });
    EXPECT_EQ(editor->ModalResult(), mrNone);  // Cancel in the prompt keeps the window
    script.AnswerMessage(IDNO);
    editor->btCancel->Click();
    EXPECT_EQ(editor->ModalResult(), mrCancel);
    EXPECT_EQ(form->CustomText[5], "Use Custom Edit To Add Your Own Text.");
}

TEST_F(CustomEditorTest, NameAndTextCannotBeTypedPastTheirLimits)
{
    editor->Show();
    editor->edName->SetText({});
    editor->edName->SetFocus();
    QTest::keyClicks(editor->edName->Handle(), QString(25, 'n'));
    EXPECT_EQ(editor->edName->Text(), QString(20, 'n'));

    editor->mmText->SetText(QString(195, 't'));
    editor->mmText->SetFocus();
    editor->mmText->SetSelStart(195);
    QTest::keyClicks(editor->mmText->Editor(), "abcdefgh");
    EXPECT_EQ(editor->mmText->Text(), QString(195, 't') + "abcde");
    // A paste keeps only what fits.
    editor->mmText->SetText(QString(190, 't'));
    editor->mmText->SetSelStart(0);
    editor->mmText->SetSelText("PASTED-LONG-TEXT");
    EXPECT_EQ(editor->mmText->Text(), "PASTED-LON" + QString(190, 't'));
}

}  // namespace
