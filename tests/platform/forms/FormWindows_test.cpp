// Forms as windows: modal forms answered by a dialog script, staying on top, belonging to
// another window, and help requests.
#include "Application.h"
#include "FormResources.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <QPointer>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A name dialog: OK is refused while the name is "taken".
struct NameDialog : QObject {
    NameDialog()
    {
        edit->SetParent(form.get());
        form->SetCaption("Name");
        form->SetOnShow(TNotifyEvent(this, &NameDialog::Shown));
        form->SetOnCloseQuery(TCloseQueryEvent(this, &NameDialog::CloseQuery));
    }
    void Shown(TObject*) { ++shows; }
    void CloseQuery(TObject*, bool& canClose)
    {
        ++queries;
        canClose = refuseAll ? false : form->ModalResult() != mrOk || edit->Text() != "taken";
    }
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TEdit* edit = new TEdit(form.get());
    int shows = 0, queries = 0;
    bool refuseAll = false;
};

}  // namespace

TEST(ScriptedModalForms, HandlersFillTheShownFormInUntilAResultCloses)
{
    TDialogScript script;
    NameDialog dialog;
    QStringList seen;
    auto typeAndConfirm = [&](const QString& name) {
        return [&, name](TCustomForm& form) {
            seen << QStringLiteral("%1 shown=%2 modal=%3 onshow=%4")
                        .arg(name)
                        .arg(form.Visible())
                        .arg(form.Modal())
                        .arg(dialog.shows);
            dialog.edit->SetText(name);
            form.SetModalResult(mrOk);
        };
    };
    script.AnswerForm(typeAndConfirm("taken"));  // refused: the form stays open for the next one
    script.AnswerForm(typeAndConfirm("fresh"));
    EXPECT_EQ(dialog.form->ShowModal(), mrOk);
    EXPECT_EQ(seen, QStringList({"taken shown=1 modal=1 onshow=1", "fresh shown=1 modal=1 onshow=1"}));
    EXPECT_EQ(dialog.edit->Text(), "fresh");
    EXPECT_EQ(dialog.queries, 2);
    EXPECT_FALSE(dialog.form->Visible());
    EXPECT_FALSE(dialog.form->Modal());
    ASSERT_EQ(script.Log("Form").size(), 1);
    EXPECT_EQ(script.Log("Form")[0].caption, "Name");
    EXPECT_EQ(script.Log("Form")[0].text, "TForm");
    EXPECT_EQ(script.Log("Form")[0].result, mrOk);
}

TEST(ScriptedModalForms, WithoutAnAnsweringHandlerTheFormIsCancelledWithoutWaiting)
{
    struct Case {
        const char* name;
        std::function<void(TDialogScript&, NameDialog&)> arrange;
    };
    const Case cases[] = {
        {"no handler", [](TDialogScript&, NameDialog&) {}},
        {"a handler that sets no result", [](TDialogScript& s, NameDialog&) { s.AnswerForm([](TCustomForm&) {}); }},
        {"every result refused",
         [](TDialogScript& s, NameDialog& d) {
             d.refuseAll = true;
             s.AnswerForm([](TCustomForm& f) { f.SetModalResult(mrOk); });
         }},
        {"the form closed from the handler",
         [](TDialogScript& s, NameDialog&) { s.AnswerForm([](TCustomForm& f) { f.Close(); }); }},
    };
    for (const Case& c : cases) {
        TDialogScript script;
        NameDialog dialog;
        c.arrange(script, dialog);
        EXPECT_EQ(dialog.form->ShowModal(), mrCancel) << c.name;
        EXPECT_FALSE(dialog.form->Visible()) << c.name;
        ASSERT_EQ(script.Log("Form").size(), 1) << c.name;
        EXPECT_EQ(script.Log("Form")[0].result, mrCancel) << c.name;
    }

    // A handler that frees the form: the answer is Cancel and nothing touches the freed form.
    TDialogScript script;
    auto* form = new TForm(nullptr);
    script.AnswerForm([](TCustomForm& f) { delete &f; });
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST(FormWindows, StayOnTopIsAWindowFlagBesideTheBorderStyle)
{
    RegisterFormResource("TForm", "object Form: TForm\n  BorderStyle = bsDialog\n  FormStyle = fsStayOnTop\nend\n");
    std::unique_ptr<TForm> form(Create<TForm>(nullptr));
    UnregisterFormResource("TForm");
    QWidget* w = form->Handle();
    EXPECT_EQ(form->FormStyle(), fsStayOnTop);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
    form->Show();
    form->SetFormStyle(fsNormal);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->isVisible());  // re-made and shown again
    form->SetBorderStyle(bsToolWindow);
    form->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
}

TEST(FormWindows, AnOwnedFormIsATransientWindowNotAQtChild)
{
    auto owner = std::make_unique<TForm>(nullptr);
    auto* inner = new TEdit(owner.get());
    inner->SetParent(owner.get());
    TForm owned(nullptr);
    owned.SetOwnerWindow(inner->Handle());  // any widget of the window names the window
    EXPECT_EQ(owned.OwnerWindow(), owner->Handle());
    owner->Show();
    owned.Show();
    QWindow* ownerWindow = owner->Handle()->windowHandle();
    ASSERT_NE(ownerWindow, nullptr);
    EXPECT_EQ(owned.Handle()->windowHandle()->transientParent(), ownerWindow);
    EXPECT_EQ(owned.Handle()->parentWidget(), nullptr);

    // Disabling the owner leaves the owned form alone.
    owner->SetEnabled(false);
    EXPECT_TRUE(owned.Handle()->isEnabled());
    owner->SetEnabled(true);

    // A border style change re-makes the window: it still belongs to the owner.
    owned.SetBorderStyle(bsDialog);
    EXPECT_EQ(owned.Handle()->windowHandle()->transientParent(), ownerWindow);
    owned.SetOwnerWindow(nullptr);
    EXPECT_EQ(owned.Handle()->windowHandle()->transientParent(), nullptr);

    // The owner going first leaves the owned form whole.
    owned.SetOwnerWindow(owner->Handle());
    owner.reset();
    EXPECT_EQ(owned.OwnerWindow(), nullptr);
    owned.Hide();
    owned.Show();
    EXPECT_EQ(owned.Handle()->windowHandle()->transientParent(), nullptr);
}

TEST(ApplicationHelp, HelpRequestsGoToOnHelpAlone)
{
    EXPECT_FALSE(Application->HelpContext(7));  // no handler, no help engine: nothing happens
    struct Recorder : QObject {
        QList<std::pair<int, int>> requests;
        bool take = true;
        void Help(int command, int data, bool& handled)
        {
            requests.append({command, data});
            handled = take;
        }
    } recorder;
    Application->SetOnHelp(THelpEvent(&recorder, &Recorder::Help));
    EXPECT_TRUE(Application->HelpContext(7));
    recorder.take = false;
    EXPECT_FALSE(Application->HelpContext(0));
    Application->SetOnHelp({});
    EXPECT_EQ(recorder.requests, (QList<std::pair<int, int>>{{HELP_CONTEXT, 7}, {HELP_CONTEXT, 0}}));
}
