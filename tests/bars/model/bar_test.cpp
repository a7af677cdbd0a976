// Bars: naming from captions, the main menu, docking, visibility and shortcut search.
#include "Forms.h"
#include "dxBarBar.h"
#include "dxBarDockControls.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarServices.h"

#include <gtest/gtest.h>

#include <QHash>
#include <memory>

namespace {

// Popup menus stand in as plain keys that name a link collection.
class MenuServices : public TdxBarWindowServices {
public:
    TdxBarItemLinks* PopupMenuItemLinks(TdxBarPopupMenu* menu) const override { return menus.value(menu); }
    void ShowBar(TdxBar* bar) override { log << "Show:" + bar->Caption(); }
    void HideBar(TdxBar* bar) override { log << "Hide:" + bar->Caption(); }
    QHash<TdxBarPopupMenu*, TdxBarItemLinks*> menus;
    QStringList log;
};

class BarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dxBarInitialize();
        dxBarSetWindowServices(&services);
        sink.clicks = &clicks;
        form = std::make_unique<TForm>(nullptr);
        manager = Create<TdxBarManager>(form.get());
    }
    void TearDown() override
    {
        form.reset();
        dxBarSetWindowServices(nullptr);
        dxBarFinalize();
    }
    TdxBar* NewBar(const QString& caption)
    {
        TdxBar* bar = manager->Bars()->Add();
        bar->SetCaption(caption);
        return bar;
    }
    TdxBarButton* NewButton(TdxBarItemLinks* links, const QString& caption, TShortCut shortCut)
    {
        auto* button = Create<TdxBarButton>(form.get());
        button->SetCaption(caption);
        button->SetShortCut(shortCut);
        button->SetOnClick(TNotifyEvent(&sink, &ClickSink::Clicked));
        links->Add()->SetItem(button);
        return button;
    }
    struct ClickSink : QObject {
        QStringList* clicks;
        void Clicked(TObject* sender) { *clicks << static_cast<TdxBarItem*>(sender)->Caption(); }
    };

    MenuServices services;
    ClickSink sink;
    std::unique_ptr<TForm> form;
    TdxBarManager* manager = nullptr;
    QStringList clicks;
};

}  // namespace

TEST_F(BarTest, NamesComeFromCaptionsAndCaptionsStayUnique)
{
    TdxBar* first = NewBar("Tools");
    EXPECT_EQ(first->Name(), "Tools");
    first->SetCaption("Edit");  // renamed caption: the name stays
    EXPECT_EQ(first->Name(), "Tools");
    TdxBar* second = NewBar("Tools");  // name taken, caption free
    EXPECT_EQ(second->Name(), "Tools1");
    second->SetCaption("Edit");  // caption of another bar: refused
    EXPECT_EQ(second->Caption(), "Tools");
    TdxBar* third = manager->Bars()->Add();
    third->SetCaption("Format");
    third->SetCaption("X");
    TdxBar* fourth = NewBar("Tools2");
    EXPECT_EQ(fourth->Name(), "Tools2");
    EXPECT_EQ(manager->Bars()->GetUniqueBarName("Tools"), "Tools3");
    EXPECT_EQ(manager->BarByName("Tools1"), second);
    EXPECT_EQ(manager->BarByCaption("Edit"), first);
}

TEST_F(BarTest, MainMenuFlags)
{
    TdxBar* a = NewBar("A");
    TdxBar* b = NewBar("B");
    a->SetIsMainMenu(true);
    EXPECT_TRUE(a->WholeRow() && a->MultiLine());
    b->SetIsMainMenu(true);
    EXPECT_FALSE(a->IsMainMenu());
    EXPECT_FALSE(a->WholeRow() || a->MultiLine());
    EXPECT_EQ(manager->MainMenuBar(), b);
    b->SetMultiLine(false);  // cannot be cleared while the main menu
    EXPECT_TRUE(b->MultiLine());
    EXPECT_FALSE(b->ShowsCloseButton());
    delete b;
    EXPECT_EQ(manager->MainMenuBar(), nullptr);
}

TEST_F(BarTest, DockingVisibilityAndEvents)
{
    QStringList events;
    struct Sink : QObject {
        QStringList* events;
        void Visible(TdxBarManager*, TdxBar* bar) { *events << "Visible:" + bar->Caption(); }
        void Docking(TdxBarManager*, TdxBar* bar) { *events << "Style:" + bar->Caption(); }
    } sink;
    sink.events = &events;
    manager->OnBarVisibleChange = TdxBarEvent(&sink, &Sink::Visible);
    manager->OnBarDockingStyleChange = TdxBarEvent(&sink, &Sink::Docking);

    TdxBar* bar = NewBar("T");
    bar->SetDockingStyle(dsTop);
    bar->SetVisible(true);
    bar->SetDockingStyle(dsBottom);  // the shown window is moved: hidden and shown again
    EXPECT_EQ(services.log, QStringList({"Show:T", "Hide:T", "Show:T"}));
    EXPECT_EQ(events, QStringList({"Style:T", "Visible:T", "Style:T"}));
    EXPECT_EQ(bar->RealDockControl(), manager->Bars()->BuiltInDock(dsBottom));

    auto* placed = Create<TdxBarDockControl>(form.get());
    placed->SetBarManager(manager);
    bar->SetDockControl(placed);
    EXPECT_EQ(bar->DockingStyle(), dsTop);
    EXPECT_EQ(bar->RealDockControl(), placed);
    delete placed;  // bars let go of a dock that goes
    EXPECT_EQ(bar->DockControl(), nullptr);
    EXPECT_FALSE(bar->Visible());

    bar->SetNotDocking(TdxBarDockingStyles(dxBarDockingStyleSet::dsLeft));
    EXPECT_FALSE(manager->CanDock(bar, dsLeft, nullptr));
    EXPECT_TRUE(manager->CanDock(bar, dsRight, nullptr));
    manager->SetNotDocking(TdxBarDockingStyles(dxBarDockingStyleSet::dsRight));
    EXPECT_FALSE(manager->CanDock(bar, dsRight, manager->Bars()->BuiltInDock(dsRight)));

    bar->SetDockedLeft(-4);
    bar->SetRow(-1);
    EXPECT_EQ(bar->DockedLeft(), 0);
    EXPECT_EQ(bar->Row(), 0);
}

TEST_F(BarTest, AssignCopiesThroughTheSetters)
{
    TdxBar* source = NewBar("Source");
    source->SetDockingStyle(dsRight);
    source->SetFloatLeft(40);
    source->SetIsMainMenu(true);
    NewButton(source->ItemLinks(), "Cut", 0);
    TdxBar* target = NewBar("Target");
    target->Assign(source);
    EXPECT_EQ(target->Caption(), "Target");  // the source's caption is taken already
    EXPECT_EQ(target->DockingStyle(), dsRight);
    EXPECT_EQ(target->FloatLeft(), 40);
    EXPECT_TRUE(target->IsMainMenu());
    EXPECT_FALSE(source->IsMainMenu());
    EXPECT_EQ(target->ItemLinks()->Count(), 1);
}

TEST_F(BarTest, ShortCutSearchOrderAndCycles)
{
    const TShortCut ctrlS = scCtrl | 'S';
    TdxBar* bar = NewBar("T");
    auto* sub = Create<TdxBarSubItem>(form.get());
    sub->SetCaption("File");
    bar->ItemLinks()->Add()->SetItem(sub);
    TdxBarButton* disabled = NewButton(sub->ItemLinks(), "Disabled", ctrlS);
    disabled->SetEnabled(false);
    NewButton(sub->ItemLinks(), "Save", ctrlS);
    NewButton(bar->ItemLinks(), "Later", ctrlS);

    EXPECT_TRUE(bar->IsShortCut(ctrlS));
    EXPECT_EQ(clicks, QStringList({"Save"}));
    EXPECT_FALSE(bar->IsShortCut(scCtrl | 'Q'));
    EXPECT_FALSE(bar->IsShortCut(0));

    // A drop-down button whose menu holds the button itself.
    TdxBar* other = NewBar("U");
    TdxBarButton* drop = NewButton(other->ItemLinks(), "Drop", 0);
    drop->SetButtonStyle(bsDropDown);
    auto* menuKey = reinterpret_cast<TdxBarPopupMenu*>(&services);
    drop->SetDropDownMenu(menuKey);
    TdxBarItemLinks menuLinks(manager, nullptr);
    menuLinks.Add()->SetItem(drop);
    NewButton(&menuLinks, "InMenu", scCtrl | 'M');
    services.menus.insert(menuKey, &menuLinks);
    EXPECT_FALSE(other->IsShortCut(scCtrl | 'Z'));
    EXPECT_TRUE(other->IsShortCut(scCtrl | 'M'));
    EXPECT_EQ(clicks.last(), "InMenu");
    drop->SetDropDownMenu(nullptr);
}

TEST_F(BarTest, ShortCutHandlerMayFreeTheBar)
{
    TdxBar* bar = NewBar("T");
    TdxBarButton* button = NewButton(bar->ItemLinks(), "Close", scCtrl | 'W');
    struct Freer : QObject {
        TdxBar* bar;
        void Click(TObject*) { delete bar; }
    } freer;
    freer.bar = bar;
    button->SetOnClick(TNotifyEvent(&freer, &Freer::Click));
    EXPECT_TRUE(bar->IsShortCut(scCtrl | 'W'));
    EXPECT_EQ(manager->Bars()->Count(), 0);
}
