// The toolbar name dialog: its captions, OK only with a name, and the refusal of a name
// another bar carries.
#include "CustomizeFixture.h"
#include "dxBarNameEd.h"

#include <functional>

namespace {

// A handler that types name and presses OK the way Enter does.
std::function<void(TCustomForm&)> Answer(const QString& name, QStringList* seen = nullptr)
{
    return [name, seen](TCustomForm& form) {
        auto& dialog = static_cast<TdxBarNameEd&>(form);
        if (seen) *seen << dialog.Caption() << dialog.LName->Caption() << dialog.EName->Text();
        dialog.EName->SetText(name);
        if (dialog.BOK->Enabled()) dialog.BOK->Click();
    };
}

}  // namespace

TEST_F(CustomizeTest, TheNameDialogRefusesAnEmptyNameAndOneAnotherBarCarries)
{
    TdxBar* main = manager->Bars()->Items(0);  // "Main"
    TdxBar* other = manager->Bars()->Add();
    other->SetCaption("Other");
    struct TCase {
        const char* what;
        TdxBarNameMode mode;
        TdxBar* bar;
        QString typed;
        bool accepted;
        QString refusal;  // the message shown, if any
    };
    const TCase cases[] = {
        {"a new name", TdxBarNameMode::New, nullptr, "Fresh", true, {}},
        {"no name", TdxBarNameMode::New, nullptr, "", false, {}},
        {"another bar's name", TdxBarNameMode::New, nullptr, "Other", false,
         "A toolbar named 'Other' already exists. Type another name."},
        {"another bar's name on renaming", TdxBarNameMode::Rename, main, "Other", false,
         "A toolbar named 'Other' already exists. Type another name."},
        {"the bar's own name", TdxBarNameMode::Rename, main, "Main", true, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        script.ClearLog();
        script.AnswerForm(Answer(c.typed));
        // A refused name leaves the dialog open: the next answer cancels it.
        script.AnswerForm([](TCustomForm& form) { form.SetModalResult(mrCancel); });
        QString name = "Start";
        EXPECT_EQ(dxBarShowNameEditor(name, TdxBarNameKind::Toolbar, c.mode, c.bar, manager), c.accepted);
        EXPECT_EQ(name, c.accepted ? c.typed : "Start");
        const QList<TDialogRecord> boxes = script.Log("MessageBox");
        if (c.refusal.isEmpty()) {
            EXPECT_TRUE(boxes.isEmpty());
        } else {
            ASSERT_EQ(boxes.size(), 1);
            EXPECT_EQ(boxes[0].text, c.refusal);
            EXPECT_EQ(boxes[0].caption, Application->Title());
            EXPECT_EQ(boxes[0].flags, MB_ICONERROR);
        }
        script.TakeForm();  // the cancelling answer, when it was not needed
    }
}

TEST_F(CustomizeTest, TheNameDialogIsCaptionedForWhatItNamesAndOffersOkOnlyWithAName)
{
    struct TCase {
        TdxBarNameKind kind;
        TdxBarNameMode mode;
        QStringList seen;  // caption, label, the name offered
    };
    const TCase cases[] = {
        {TdxBarNameKind::Toolbar, TdxBarNameMode::New, {"Custom ", "&Toolbar name:", "Start"}},
        {TdxBarNameKind::Toolbar, TdxBarNameMode::Rename, {"Rename Toolbar", "&Toolbar name:", "Start"}},
        {TdxBarNameKind::Category, TdxBarNameMode::Insert, {"Insert Category", "&Category name:", "Start"}},
    };
    for (const TCase& c : cases) {
        QStringList seen;
        script.AnswerForm(Answer("Start", &seen));
        QString name = "Start";
        dxBarShowNameEditor(name, c.kind, c.mode, nullptr, manager);
        EXPECT_EQ(seen, c.seen);
    }

    TFont font;
    font.SetName("DejaVu Sans Mono");
    script.AnswerForm([&](TCustomForm& form) {
        auto& dialog = static_cast<TdxBarNameEd&>(form);
        EXPECT_EQ(dialog.Font()->Name(), "DejaVu Sans Mono");
        EXPECT_EQ(dialog.ActiveControl(), dialog.EName);
        EXPECT_EQ(dialog.BOK->Caption(), "OK");
        EXPECT_EQ(dialog.BCancel->Caption(), "Cancel");
        EXPECT_TRUE(dialog.BOK->Enabled());
        dialog.EName->SetText("");
        EXPECT_FALSE(dialog.BOK->Enabled());
        dialog.EName->SetText("x");
        EXPECT_TRUE(dialog.BOK->Enabled());
        dialog.BCancel->Click();
    });
    QString name = "Start";
    EXPECT_FALSE(dxBarShowNameEditor(name, TdxBarNameKind::Toolbar, TdxBarNameMode::New, nullptr, manager, &font));
}
