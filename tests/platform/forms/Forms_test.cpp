#include "Application.h"
#include "ExtCtrls.h"
#include "FormResources.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A form with handlers that tests steer through its fields.
class TTestForm : public TForm {
    Q_OBJECT
    Q_PROPERTY(TMemo* mmCode MEMBER mmCode STORED false)
public:
    using TForm::TForm;
    TMemo* mmCode = nullptr;
    int creates = 0, shows = 0, closes = 0, changes = 0;
    TCloseAction answer = caHide;
    bool abortClose = false;

    Q_INVOKABLE void FormCreate(TObject*) { ++creates; }
    bool focusOnShow = false;
    Q_INVOKABLE void FormShow(TObject*)
    {
        ++shows;
        if (focusOnShow) mmCode->SetFocus();  // the window is not on screen yet
    }
    Q_INVOKABLE void FormClose(TObject*, TCloseAction& action)
    {
        ++closes;
        if (abortClose) Abort();
        action = answer;
    }
    Q_INVOKABLE void mmCodeChange(TObject*) { ++changes; }
};

// Records what it can see of its siblings at the destroy moment.
class TProbe : public TComponent {
    Q_OBJECT
public:
    using TComponent::TComponent;
    QStringList* seen = nullptr;
    void BeforeFormDestroy() override
    {
        for (int i = 0; i < Owner()->ComponentCount(); ++i) {
            TComponent* c = Owner()->Components(i);
            *seen << c->Name() + (c->IsDestroying() ? "*" : "");
        }
    }
    ~TProbe() override { *seen << "free " + Name(); }
};

const char* kResource = R"(object TestForm: TTestForm
  Left = 10
  Top = 20
  Width = 300
  Height = 200
  Caption = 'Test window'
  OnCreate = FormCreate
  OnShow = FormShow
  OnClose = FormClose
  object Panel1: TPanel
    Align = alClient
    BevelOuter = bvNone
    object mmCode: TMemo
      Align = alClient
      ScrollBars = ssVertical
      OnChange = mmCodeChange
    end
  end
end
)";

std::unique_ptr<TTestForm> MakeForm()
{
    RegisterFormResource("TTestForm", kResource);
    auto form = std::make_unique<TTestForm>(nullptr);
    form->AfterConstruction();
    return form;
}

}  // namespace

TEST(Forms, ReadsItsResourceAndFiresOnCreate)
{
    auto form = MakeForm();
    EXPECT_EQ(form->creates, 1);
    EXPECT_EQ(form->Caption(), "Test window");
    EXPECT_EQ(form->Handle()->windowTitle(), "Test window");
    ASSERT_NE(form->mmCode, nullptr);
    EXPECT_EQ(form->mmCode->ScrollBars(), ssVertical);
    EXPECT_EQ(form->mmCode->BoundsRect(), QRect(0, 0, 300, 200));  // laid out after reading
    form->mmCode->SetText("x");
    EXPECT_EQ(form->changes, 1);
    EXPECT_FALSE(form->Visible());
    UnregisterFormResource("TTestForm");
}

TEST(Forms, OnShowOnlyOnTheFirstShow)
{
    auto form = MakeForm();
    form->focusOnShow = true;
    form->Show();
    EXPECT_TRUE(form->Handle()->isVisible());
    form->Hide();
    form->Show();
    EXPECT_EQ(form->shows, 1);
    UnregisterFormResource("TTestForm");
}

TEST(Forms, CloseAsksOnCloseAndAbortKeepsTheWindowOpen)
{
    TDialogScript script;
    auto form = MakeForm();
    form->Show();
    form->abortClose = true;
    form->Handle()->close();  // the window's close button
    EXPECT_TRUE(form->Handle()->isVisible());
    EXPECT_TRUE(script.Log().isEmpty());  // the silent abort shows nothing
    form->abortClose = false;
    form->answer = caNone;
    form->Close();
    EXPECT_TRUE(form->Visible());
    form->answer = caHide;
    form->Handle()->close();
    EXPECT_FALSE(form->Handle()->isVisible());
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->closes, 3);

    form->answer = caFree;
    form->Show();
    QPointer<TTestForm> watch(form.release());
    watch->Close();
    EXPECT_FALSE(watch.isNull());  // freed later, from the loop
    EXPECT_TRUE(testsupport::WaitFor([&] { return watch.isNull(); }));
    UnregisterFormResource("TTestForm");
}

TEST(Forms, ShowModalRunsUntilModalResult)
{
    auto form = MakeForm();
    QTimer::singleShot(0, [&] {
        form->abortClose = true;  // the first attempt is refused
        form->SetModalResult(mrOk);
        QTimer::singleShot(0, [&] {
            form->abortClose = false;
            EXPECT_TRUE(form->Modal());
            form->Close();  // closing a modal form means Cancel
        });
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Modal());
    EXPECT_EQ(form->closes, 2);

    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
    UnregisterFormResource("TTestForm");
}

TEST(Forms, DestroyMomentSeesEverySiblingAlive)
{
    QStringList seen;
    auto* form = new TForm(nullptr);
    for (const char* name : {"First", "Second", "Third"}) {
        auto* probe = new TProbe(form);
        probe->SetName(name);
        probe->seen = &seen;
    }
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    QPointer<QWidget> memoWidget = memo->Handle();
    delete form;
    EXPECT_EQ(seen, QStringList({"First*", "Second*", "Third*", "*", "First*", "Second*", "Third*", "*", "First*",
                                 "Second*", "Third*", "*", "free Third", "free Second", "free First"}));
    EXPECT_TRUE(memoWidget.isNull());
}

TEST(Forms, CreateFormMakesTheMainFormAndRunEndsWithIt)
{
    ASSERT_EQ(Application->MainForm(), nullptr);
    RegisterFormResource("TTestForm", kResource);
    TTestForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Application->MainForm(), main);
    TTestForm* second = nullptr;
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), main);

    QTimer::singleShot(0, [&] { main->Close(); });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(main->shows, 1);
    Application->ResetTerminated();
    delete main;
    EXPECT_EQ(Application->MainForm(), nullptr);
    delete second;
    UnregisterFormResource("TTestForm");
}

TEST(Forms, WritesBackWhatItRead)
{
    auto form = MakeForm();
    const QString text = WriteComponentToText(form.get());
    EXPECT_TRUE(text.contains("OnClose = FormClose")) << text.toStdString();
    EXPECT_TRUE(text.contains("object mmCode: TMemo")) << text.toStdString();
    EXPECT_TRUE(text.contains("ScrollBars = ssVertical")) << text.toStdString();
    EXPECT_TRUE(text.contains("BevelOuter = bvNone")) << text.toStdString();
    // Defaults and values that follow the parent are left out.
    EXPECT_FALSE(text.contains("Visible")) << text.toStdString();
    EXPECT_FALSE(text.contains("WordWrap")) << text.toStdString();
    EXPECT_FALSE(text.contains("ParentColor")) << text.toStdString();
    EXPECT_FALSE(text.contains("ClientWidth")) << text.toStdString();
    EXPECT_FALSE(text.contains("Color")) << text.toStdString();
    UnregisterFormResource("TTestForm");
}

TEST(Forms, ActiveControlFocusPositionAndResize)
{
    auto form = MakeForm();
    auto other = std::make_unique<TForm>(nullptr);
    auto* foreign = new TEdit(other.get());
    foreign->SetParent(other.get());
    EXPECT_THROW(form->SetActiveControl(foreign), EInvalidOperation);
    form->SetActiveControl(nullptr);                            // none is fine
    EXPECT_THROW(form->mmCode->SetFocus(), EInvalidOperation);  // not shown yet
    form->SetActiveControl(form->mmCode);

    struct Counter : QObject {
        int resizes = 0;
        void Resized(TObject*) { ++resizes; }
    } counter;
    form->SetOnResize(TNotifyEvent(&counter, &Counter::Resized));
    form->SetPosition(poScreenCenter);
    form->Show();
    const QRect screen = form->Handle()->screen()->availableGeometry();
    EXPECT_EQ(form->Left(), screen.x() + (screen.width() - 300) / 2);
    EXPECT_EQ(form->Width(), 300);
    EXPECT_TRUE(testsupport::WaitFor([&] { return form->mmCode->Focused(); }, 2000));

    form->Handle()->resize(320, 220);  // as the user does
    EXPECT_TRUE(testsupport::WaitFor([&] { return form->Width() == 320; }, 2000));
    EXPECT_EQ(form->mmCode->BoundsRect(), QRect(0, 0, 320, 220));
    EXPECT_GE(counter.resizes, 1);
    UnregisterFormResource("TTestForm");
}

#include "Forms_test.moc"
