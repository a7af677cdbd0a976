// The bar manager: owner checks, registration, metrics, options, locking and streaming.
#include "Application.h"
#include "FormResources.h"
#include "Forms.h"
#include "Graphics.h"
#include "ImgList.h"
#include "dxBarBar.h"
#include "dxBarDockControls.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarServices.h"
#include "dxBarStrs.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Records what the model asks of the bar windows.
class RecordingServices : public TdxBarWindowServices {
public:
    void InstallHooks() override { log << "InstallHooks"; }
    void RemoveHooks() override { log << "RemoveHooks"; }
    void CreateHintWindow() override { log << "CreateHint"; }
    void FreeHintWindow() override { log << "FreeHint"; }
    void ShowBar(TdxBar* bar) override { log << "Show:" + bar->Caption(); }
    void HideBar(TdxBar* bar) override { log << "Hide:" + bar->Caption(); }
    void ManagerWindowsChanged(TdxBarManager*, TdxBarWindowChange change) override
    {
        if (change == TdxBarWindowChange::Lock) log << "Lock";
        if (change == TdxBarWindowChange::Unlock) log << "Unlock";
    }
    QStringList log;
};

class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dxBarInitialize();
        dxBarRegisterManagerClasses();
        dxBarSetWindowServices(&services);
        form = std::make_unique<TForm>(nullptr);
    }
    void TearDown() override
    {
        form.reset();
        dxBarSetWindowServices(nullptr);
        dxBarFinalize();
    }
    TdxBarManager* NewManager() { return Create<TdxBarManager>(form.get()); }

    RecordingServices services;
    std::unique_ptr<TForm> form;
};

QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return {};
}

}  // namespace

TEST_F(ManagerTest, OwnerChecksAndRegistration)
{
    TComponent plain(nullptr);
    EXPECT_EQ(ErrorOf([&] { new TdxBarManager(&plain); }), dxBarStr(dxSBAR_MANAGERNEEDSFORMOWNER));
    EXPECT_EQ(plain.ComponentCount(), 0);  // the half-made manager left its owner
    // No owner and no main form.
    EXPECT_EQ(ErrorOf([] { new TdxBarManager(nullptr); }), dxBarStr(dxSBAR_MANAGERNEEDSFORMOWNER));
    EXPECT_EQ(TdxBarManagerList::Instance()->Count(), 0);
    EXPECT_TRUE(services.log.isEmpty());

    TdxBarManager* first = NewManager();
    EXPECT_EQ(services.log, QStringList({"InstallHooks", "CreateHint"}));
    EXPECT_EQ(ErrorOf([&] { new TdxBarManager(form.get()); }), dxBarStr(dxSBAR_ONEMANAGERPERFORM));
    EXPECT_EQ(TdxBarManagerList::Instance()->Count(), 1);
    EXPECT_EQ(TdxBarManagerList::Instance()->FindByForm(form.get()), first);

    TForm other(nullptr);
    auto* second = Create<TdxBarManager>(&other);
    delete first;
    EXPECT_EQ(services.log.size(), 2);  // the hooks stay while a manager lives
    delete second;
    EXPECT_EQ(services.log.mid(2), QStringList({"RemoveHooks", "FreeHint"}));
}

TEST_F(ManagerTest, ManagerWithoutOwnerFollowsTheMainForm)
{
    auto app = std::make_unique<TApplication>();
    TForm* mainForm = nullptr;
    app->CreateForm(mainForm);
    auto* manager = new TdxBarManager(nullptr);
    manager->AfterConstruction();
    EXPECT_EQ(manager->OwnerForm(), mainForm);
    EXPECT_EQ(manager->Owner(), nullptr);
    TdxBar* bar = manager->Bars()->Add();
    bar->SetDockingStyle(dsTop);
    bar->SetVisible(true);
    ASSERT_NE(manager->Bars()->BuiltInDock(dsTop), nullptr);

    delete mainForm;  // frees its child controls, the built-in docks among them
    EXPECT_EQ(manager->OwnerForm(), nullptr);
    EXPECT_EQ(manager->Bars()->BuiltInDock(dsTop), nullptr);
    EXPECT_EQ(manager->DockControlCount(), 0);
    // A side without its dock cannot take bars.
    EXPECT_FALSE(manager->CanDock(bar, dsTop, nullptr));
    EXPECT_TRUE(manager->CanDock(bar, dsNone, nullptr));
    delete manager;
    app.reset();
}

TEST_F(ManagerTest, StyleAndSizeMetrics)
{
    TdxBarManager* m = NewManager();
    struct Row {
        TdxBarManagerStyle style;
        int grip, gripArea, sepIndent, arrow, largeArrow;
    };
    for (const Row& r :
         {Row{bmsStandard, 2, 9, 2, 9, 19}, Row{bmsEnhanced, 1, 6, 12, 9, 19}, Row{bmsFlat, 1, 6, 8, 8, 18}}) {
        m->SetLargeIcons(false);
        m->SetStyle(r.style);
        EXPECT_EQ(m->GripOffset(), r.grip);
        EXPECT_EQ(m->GripAreaSize(), r.gripArea);
        EXPECT_EQ(m->MenuSeparatorIndent(), r.sepIndent);
        EXPECT_EQ(m->ArrowWidth(), r.arrow);
        m->SetLargeIcons(true);
        EXPECT_EQ(m->ArrowWidth(), r.largeArrow);
        EXPECT_EQ(m->GlyphSize(), 32);
        EXPECT_EQ(m->DefaultButtonWidth(), 39);
        EXPECT_EQ(m->DefaultButtonHeight(), 38);
    }
    EXPECT_EQ(m->RealLargeButtonArrowWidth(), 13);
    EXPECT_EQ(m->FrameWidth(), 3);
    m->SetButtonArrowWidth(1);  // ignored
    m->SetWaitForDockingTime(-5);
    EXPECT_EQ(m->ButtonArrowWidth(), 9);
    EXPECT_EQ(m->WaitForDockingTime(), 21);
}

TEST_F(ManagerTest, InitialUseCountFollowsThePercentage)
{
    TdxBarManager* m = NewManager();
    EXPECT_EQ(m->InitialUseCount(), 20);
    for (auto [percent, expected] : {std::pair{100, 0}, {95, 20}, {50, 2}, {0, 1}, {99, 100}}) {
        m->SetMostRecentItemsPercents(percent);
        EXPECT_EQ(m->InitialUseCount(), expected) << percent;
    }
    m->SetMostRecentItemsPercents(250);
    EXPECT_EQ(m->MostRecentItemsPercents(), 100);
}

TEST_F(ManagerTest, DockColorFollowsTheFormUntilSet)
{
    TdxBarManager* m = NewManager();
    form->SetColor(clTeal);
    EXPECT_TRUE(m->AutoDockColor());
    EXPECT_EQ(m->DockColor(), clTeal);
    EXPECT_FALSE(m->IsDockColorStored());
    m->SetDockColor(clRed);
    EXPECT_FALSE(m->AutoDockColor());
    EXPECT_EQ(m->DockColor(), clRed);
    EXPECT_TRUE(m->IsDockColorStored());
    EXPECT_EQ(m->Bars()->BuiltInDock(dsLeft)->Color(), clRed);
    m->SetAutoDockColor(true);
    EXPECT_TRUE(m->Bars()->BuiltInDock(dsLeft)->ParentColor());
}

TEST_F(ManagerTest, LockUpdateNestsBySaveAndRestore)
{
    TdxBarManager* m = NewManager();
    TdxBar* bar = m->Bars()->Add();
    m->LockUpdate(true);
    services.log.clear();
    bar->SetIsMainMenu(true);  // locks and restores the previous (locked) state
    EXPECT_TRUE(m->UpdateLocked());
    EXPECT_TRUE(services.log.isEmpty());
    m->LockUpdate(false);
    bar->SetIsMainMenu(false);
    EXPECT_FALSE(m->UpdateLocked());
    EXPECT_EQ(services.log, QStringList({"Unlock", "Lock", "Unlock"}));
}

TEST_F(ManagerTest, OptionSettersMarkModified)
{
    TdxBarManager* m = NewManager();
    m->SetModified(false);
    m->SetShowHint(false);
    EXPECT_TRUE(m->Modified());
    EXPECT_TRUE(m->UseSystemFont());
    m->Font()->SetHeight(-20);  // a user change drops the system font
    EXPECT_FALSE(m->UseSystemFont());
}

namespace {

const char* const kFormText = R"(object BarTestForm: TBarTestForm
  object BarManager1: TdxBarManager
    Bars = <
      item
        Caption = 'Main Menu'
        DockedDockingStyle = dsTop
        DockingStyle = dsTop
        IsMainMenu = True
        Name = 'Main Menu'
        Visible = True
      end
      item
        Caption = 'Tools'
        DockingStyle = dsLeft
        Name = 'Tools'
        Visible = True
      end>
    Categories = (
      'Default')
    DockColor = clRed
    Style = bmsFlat
    UseSystemFont = True
    DockControlHeights = (
      27
      0
      19
      22)
    object btSave: TdxBarButton
      Caption = 'Save'
      Category = 0
    end
  end
end
)";

}  // namespace

class TBarTestForm : public TForm {
    Q_OBJECT
    Q_PROPERTY(TdxBarManager* BarManager1 MEMBER BarManager1 STORED false)
public:
    Q_INVOKABLE explicit TBarTestForm(TComponent* owner) : TForm(owner) {}
    TdxBarManager* BarManager1 = nullptr;
};

TEST_F(ManagerTest, StreamsBarsAndDockHeightsFromAndToText)
{
    RegisterFormResource(QStringLiteral("TBarTestForm"), QString::fromUtf8(kFormText));
    form.reset(Create<TBarTestForm>(nullptr));
    TdxBarManager* m = static_cast<TBarTestForm*>(form.get())->BarManager1;
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->LoadedCount(), 1);
    EXPECT_TRUE(m->CanReset());
    EXPECT_EQ(m->Style(), bmsFlat);
    EXPECT_EQ(m->DockColor(), clRed);
    EXPECT_EQ(m->DockControlHeights(), QList<int>({27, 0, 19, 22}));
    ASSERT_EQ(m->Bars()->Count(), 2);
    TdxBar* main = m->Bars()->Items(0);
    EXPECT_TRUE(main->IsMainMenu());
    EXPECT_EQ(m->MainMenuBar(), main);
    EXPECT_TRUE(main->Visible());
    EXPECT_EQ(m->Bars()->Items(1)->DockingStyle(), dsLeft);
    EXPECT_EQ(services.log.filter("Show:"), QStringList({"Show:Main Menu", "Show:Tools"}));
    EXPECT_EQ(m->ItemCount(), 1);

    const QString text = WriteComponentToText(form.get());
    EXPECT_TRUE(text.contains("DockControlHeights = (\n      27\n      0\n      19\n      22)")) << text.toStdString();
    EXPECT_TRUE(text.contains("DockColor = clRed"));
    EXPECT_TRUE(text.contains("object btSave: TdxBarButton"));
    EXPECT_FALSE(text.contains("AllowReset"));  // defaults are left out
    UnregisterFormResource(QStringLiteral("TBarTestForm"));
}

TEST_F(ManagerTest, DockControlHeightsTakesTheFirstFourAndSkipsMissingDocks)
{
    TdxBarManager* m = NewManager();
    m->SetDockControlHeights({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(m->DockControlHeights(), QList<int>({1, 2, 3, 4}));
    delete m->Bars()->BuiltInDock(dsRight);
    m->SetDockControlHeights({7, 8, 9, 10});
    EXPECT_EQ(m->DockControlHeights(), QList<int>({7, 0, 9, 10}));
    m->SetDockControlHeights({11});
    EXPECT_EQ(m->DockControlHeights(), QList<int>({11, 0, 9, 10}));
}

#include "manager_test.moc"

namespace {

// A customizing window that records being opened and closed.
class RecordingCustomizingForm : public TdxBarCustomizingNotifications {
public:
    bool Exists() const override { return manager != nullptr; }
    void Open(TdxBarManager* m) override { manager = m; }
    void Close(TdxBarManager*) override
    {
        manager = nullptr;
        ++closes;
    }
    TdxBarManager* manager = nullptr;
    int closes = 0;
};

}  // namespace

TEST_F(ManagerTest, AManagerGoingClosesItsCustomizingWindowFirst)
{
    RecordingCustomizingForm window;
    dxBarSetCustomizingForm(&window);
    // The manager freed by itself, and with its form.
    TdxBarManager* manager = NewManager();
    manager->Customizing(true);
    ASSERT_EQ(window.manager, manager);
    delete manager;
    EXPECT_FALSE(window.Exists());
    EXPECT_EQ(window.closes, 1);

    NewManager()->Customizing(true);
    form.reset();
    EXPECT_FALSE(window.Exists());
    EXPECT_EQ(window.closes, 2);
    dxBarSetCustomizingForm(nullptr);
}

TEST_F(ManagerTest, ANewToolbarIsOfferedTheSmallestCustomNumberNoBarCarries)
{
    TdxBarManager* manager = NewManager();
    EXPECT_EQ(manager->NewToolbarCaption(), "Custom 1");
    for (const char* caption : {"Custom 1", "Custom 3", "Custom "}) manager->Bars()->Add()->SetCaption(caption);
    // Names are not captions: a bar named "Custom 2" that shows another caption leaves 2 free.
    TdxBar* renamed = manager->Bars()->Add();
    renamed->SetCaption("Custom 2");
    renamed->SetCaption("Tools");
    EXPECT_EQ(renamed->Name(), "Custom 2");
    EXPECT_EQ(manager->NewToolbarCaption(), "Custom 2");
}

TEST_F(ManagerTest, AFreedImageListLeavesTheManagerWithoutItAndANewOneIsHeardFrom)
{
    TdxBarManager* manager = NewManager();
    using TSetter = void (TdxBarManager::*)(TCustomImageList*);
    using TGetter = TCustomImageList* (TdxBarManager::*)() const;
    const std::pair<TSetter, TGetter> lists[] = {{&TdxBarManager::SetImages, &TdxBarManager::Images},
                                                 {&TdxBarManager::SetLargeImages, &TdxBarManager::LargeImages},
                                                 {&TdxBarManager::SetHotImages, &TdxBarManager::HotImages}};
    for (const auto& [set, get] : lists) {
        auto* freed = new TImageList(form.get());
        (manager->*set)(freed);
        delete freed;
        EXPECT_EQ((manager->*get)(), nullptr);
        auto* next = new TImageList(form.get());
        (manager->*set)(next);
        EXPECT_EQ((manager->*get)(), next);
    }
    QImage image(16, 16, QImage::Format_ARGB32);
    manager->Images()->Add(image);
    EXPECT_EQ(manager->ImageCount(), 1);
}
