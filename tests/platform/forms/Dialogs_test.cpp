#include "Application.h"
#include "Dialogs.h"

#include <gtest/gtest.h>

TEST(Dialogs, ScriptAnswersAndLogsMessageBoxes)
{
    Application->SetTitle("Editor");
    TDialogScript script;
    script.AnswerMessage(IDNO);
    MessageBeep(MB_ICONQUESTION);
    EXPECT_EQ(MessageBox("Save?", "", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    // The queue is empty now: the safe default answers.
    EXPECT_EQ(MessageBox("Save?", "", MB_YESNOCANCEL | MB_ICONQUESTION), IDCANCEL);
    EXPECT_EQ(MessageBox("Failed", "Own caption", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBox("Delete?", "", MB_YESNO), IDNO);

    ASSERT_EQ(script.Log().size(), 5);
    EXPECT_EQ(script.Log()[0].kind, "Beep");
    EXPECT_EQ(script.Log()[0].flags, MB_ICONQUESTION);
    const TDialogRecord& box = script.Log()[1];
    EXPECT_EQ(box.kind, "MessageBox");
    EXPECT_EQ(box.caption, "Editor");
    EXPECT_EQ(box.text, "Save?");
    EXPECT_EQ(box.flags, MB_YESNOCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(box.result, IDNO);
    EXPECT_EQ(script.Log()[3].caption, "Own caption");
    EXPECT_EQ(script.Log("MessageBox").size(), 4);
}

TEST(Dialogs, NestedScriptsAndFallback)
{
    TDialogScript outer;
    {
        TDialogScript inner;
        MessageBox("inner", "", MB_OK);
        EXPECT_EQ(inner.Log().size(), 1);
    }
    EXPECT_TRUE(outer.Log().isEmpty());
    MessageBox("outer", "", MB_OK);
    EXPECT_EQ(outer.Log().size(), 1);
    EXPECT_FALSE(outer.Fallback());
}

TEST(Dialogs, MessageDlgMapsKindAndButtons)
{
    TDialogScript script;
    script.AnswerMessage(mrYes);
    EXPECT_EQ(MessageDlg("Sure?", mtConfirmation, mbYes | mbNo | mbCancel), mrYes);
    EXPECT_EQ(MessageDlg("Oops", mtError, mbOK), mrOk);
    EXPECT_EQ(script.Log()[0].flags, MB_YESNOCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(script.Log()[1].flags, MB_OK | MB_ICONERROR);
}

TEST(Dialogs, FileDialogsTakeScriptedNames)
{
    TDialogScript script;
    TSaveDialog save(nullptr);
    save.SetDefaultExt("*.htm");
    save.SetTitle("Save As");
    script.AnswerFile(QString("/tmp/page"));
    script.AnswerFile(QString("/tmp/other.txt"));
    script.AnswerFile(std::nullopt);
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), "/tmp/page.htm");  // the default extension, without "*."
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), "/tmp/other.txt");
    EXPECT_FALSE(save.Execute());  // cancelled: the name stays
    EXPECT_EQ(save.FileName(), "/tmp/other.txt");

    TOpenDialog open(nullptr);
    EXPECT_FALSE(open.Execute());  // nothing scripted: cancelled
    const QList<TDialogRecord> log = script.Log("SaveDialog");
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0].caption, "Save As");
    EXPECT_EQ(log[1].text, "/tmp/page.htm");  // the name offered
    EXPECT_EQ(log[0].answer, "/tmp/page.htm");
    EXPECT_EQ(script.Log("OpenDialog").size(), 1);
}

// Each type reads as its description with its patterns in brackets once.
TEST(Dialogs, FilterConversion)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Hypertext Markup (*.htm)|*.htm|Text File|*.txt|All Files|*.*",
         "Hypertext Markup (*.htm);;Text File (*.txt);;All Files (*.*)"},
        {"Pages|*.htm;*.html", "Pages (*.htm *.html)"},
        {"Pages (*.htm;*.html)|*.htm;*.html", "Pages (*.htm *.html)"},
        {"Pages (*.htm)|*.htm;*.html", "Pages (*.htm) (*.htm *.html)"},  // shows other patterns
        {"Pages (old)|*.htm", "Pages (old) (*.htm)"},
        {"Dangling", ""},
    };
    for (const auto& [filter, expected] : cases) EXPECT_EQ(TOpenDialog::QtFilter(filter), expected) << filter;
}

TEST(Dialogs, FindColorAndFontDialogs)
{
    TDialogScript script;
    TFindDialog find(nullptr);
    find.SetOptions(frDown | frHideWholeWord);
    int found = 0;
    struct Receiver : QObject {
        int* count;
        void Found(TObject*) { ++*count; }
    } receiver;
    receiver.count = &found;
    find.SetOnFind(TNotifyEvent(&receiver, &Receiver::Found));
    EXPECT_TRUE(find.Execute());  // modeless: returns at once
    find.SetFindText("aa");
    find.DoFind();
    EXPECT_EQ(found, 1);
    EXPECT_TRUE(find.Options().testFlag(frFindNext));
    EXPECT_EQ(script.Log("FindDialog").size(), 1);

    TColorDialog color(nullptr);
    color.SetColor(clRed);
    script.AnswerColor(QColor(0, 0, 255));
    EXPECT_TRUE(color.Execute());
    EXPECT_EQ(color.Color(), clBlue);
    EXPECT_EQ(script.Log("ColorDialog").at(0).text, "clRed");
    EXPECT_FALSE(color.Execute());
    EXPECT_EQ(color.Color(), clBlue);

    TFontDialog font(nullptr);
    font.Font()->SetName("Arial");
    script.AnswerFont(true);
    EXPECT_TRUE(font.Execute());
    EXPECT_EQ(font.Font()->Name(), "Arial");
    script.AnswerFont(true, "Courier New");
    EXPECT_TRUE(font.Execute());
    EXPECT_EQ(font.Font()->Name(), "Courier New");
    EXPECT_FALSE(font.Execute());
    EXPECT_EQ(script.Log("FontDialog").at(1).text, "Arial");
}
