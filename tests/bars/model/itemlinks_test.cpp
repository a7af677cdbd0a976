// Item links: derived lists, recent order and use counts, clicks up the menu chain,
// assignment, events, and keyboard navigation.
#include "BarModelFixture.h"
#include "dxBarInternalItems.h"
#include "dxBarServices.h"
#include "Strings.h"
#include "dxBarStrs.h"

#include <QMap>

namespace {

// Bar windows as the links see them, with a log of what the links asked for.
class FakeBarWindows : public TdxBarWindowServices {
public:
    bool IsBarWindowLive(TCustomdxBarControl*) const override { return true; }
    bool IsBarWindowCustomizing(TCustomdxBarControl*) const override { return customizing; }
    TdxBarItemControl* BarWindowSelectedControl(TCustomdxBarControl*) const override { return selected; }
    void DeselectBarWindowControl(TCustomdxBarControl*) override
    {
        log << "Deselect";
        selected = nullptr;
    }
    void RelayoutBarWindow(TCustomdxBarControl*) override { log << "Relayout"; }
    void PostBarWindowRelayout(TCustomdxBarControl*) override { log << "PostRelayout"; }
    QRect BarWindowClientRect(TCustomdxBarControl*) const override { return client; }
    TdxBarItemLinks* ParentBarWindowLinks(TCustomdxBarControl* w) const override { return parents.value(w); }
    bool HandleLinksChanged(TdxBarItemLinks* links) override { return handled.contains(links); }

    bool customizing = false;
    TdxBarItemControl* selected = nullptr;
    QRect client;
    QMap<TCustomdxBarControl*, TdxBarItemLinks*> parents;
    QList<TdxBarItemLinks*> handled;
    QStringList log;
};

class SelectableFake : public FakeItemControl {
public:
    using FakeItemControl::FakeItemControl;
    bool CanSelect() const override { return selectable; }
    bool selectable = true;
};

struct LinkEvents : QObject {
    QStringList log;
    void Add(TdxBarManager*, TdxBarItemLink* l) { log << "Add:" + Name(l); }
    void Change(TdxBarManager*, TdxBarItemLink* l) { log << "Change:" + Name(l); }
    void Delete(TdxBarManager*, TdxBarItemLink* l) { log << "Delete:" + Name(l); }
    static QString Name(TdxBarItemLink* l) { return l->Item() ? l->Item()->Caption() : QString("-"); }
};

QStringList Captions(const QList<TdxBarItemLink*>& links)
{
    QStringList out;
    for (TdxBarItemLink* l : links) out << l->Item()->Caption();
    return out;
}

}  // namespace

class ItemLinksTest : public BarModelTest {
protected:
    void SetUp() override
    {
        BarModelTest::SetUp();
        for (TdxBarItemControlClass* c : ControlClasses())
            c->factory = [](TdxBarItemLink* l) -> TdxBarItemControl* { return new SelectableFake(l); };
        dxBarSetWindowServices(&windows);
    }
    void TearDown() override
    {
        BarModelTest::TearDown();
        dxBarSetWindowServices(nullptr);
    }

    // A sub item whose menu shows one button per caption; the links in collection order.
    TdxBarSubItem* Menu(const QStringList& captions, QList<TdxBarItemLink*>& links)
    {
        auto* sub = NewItem<TdxBarSubItem>("Menu");
        for (const QString& c : captions) {
            links << sub->ItemLinks()->Add();
            links.last()->SetItem(NewItem<TdxBarButton>(c));
        }
        return sub;
    }

    // Puts links into this recent order (first = most recent).
    static void SetRecentOrder(const QList<TdxBarItemLink*>& order)
    {
        for (int i = int(order.size()) - 1; i >= 0; --i) order[i]->MoveToRecentTop(false);
    }

    FakeBarWindows windows;
    char menuWindow = 0;
};

TEST_F(ItemLinksTest, DerivedListsFollowItemAndLinkVisibility)
{
    QList<TdxBarItemLink*> l;
    TdxBarSubItem* menu = Menu({"a", "b", "c", "d"}, l);
    TdxBarItemLinks* links = menu->ItemLinks();
    l[1]->Item()->SetVisible(ivInCustomizing);
    l[2]->SetVisible(false);
    EXPECT_EQ(Captions(links->AvailableItems()), QStringList({"a", "c", "d"}));
    EXPECT_EQ(Captions(links->CanVisibleItems()), QStringList({"a", "d"}));
    EXPECT_EQ(Captions(links->VisibleItems()), QStringList({"a", "d"}));

    manager->SetIsCustomizing(true);
    links->RebuildLists();
    EXPECT_EQ(Captions(links->CanVisibleItems()), QStringList({"a", "b", "d"}));
    manager->SetIsCustomizing(false);

    // A limit shows the leading can-visible links of the recent order, in collection order.
    SetRecentOrder({l[3], l[2], l[1], l[0]});
    links->SetRecentItemLimit(1);
    EXPECT_EQ(Captions(links->VisibleItems()), QStringList({"d"}));
    l[1]->Item()->SetVisible(ivAlways);
    links->SetRecentItemLimit(2);
    EXPECT_EQ(Captions(links->VisibleItems()), QStringList({"b", "d"}));
    links->SetRecentItemLimit(0);
    EXPECT_EQ(Captions(links->VisibleItems()), QStringList({"a", "b", "d"}));
    links->RestoreRecentItemLimit();
    EXPECT_EQ(links->RecentItemLimit(), 2);

    manager->SetDesigningFlag(true);
    links->RebuildLists();
    EXPECT_EQ(links->VisibleItemCount(), 4);
    manager->SetDesigningFlag(false);
}

TEST_F(ItemLinksTest, RecentItemCountCountsLinksReachingTheThreshold)
{
    QList<TdxBarItemLink*> l;
    TdxBarItemLinks* links = Menu({"a", "b", "c", "d"}, l)->ItemLinks();
    auto counts = [&](QList<int> uses) {
        for (int i = 0; i < 4; ++i) l[i]->SetUseCount(uses[i]);
    };
    SetRecentOrder({l[3], l[2], l[0], l[1]});

    // 95 %: threshold 20 + MulDiv(20, 5, 100) = 21; the last qualifying position is c's.
    counts({20, 20, 21, 40});
    EXPECT_EQ(links->RecentItemCount(), 2);
    // 90 %: threshold 0 + MulDiv(5, 10, 100) = 1 (0.5 rounds up); truncating would give -1.
    manager->SetMostRecentItemsPercents(90);
    counts({0, 0, 1, 5});
    EXPECT_EQ(links->RecentItemCount(), 2);
    // 50 %: 10 + MulDiv(3, 50, 100) = 12.
    manager->SetMostRecentItemsPercents(50);
    counts({12, 11, 10, 13});
    EXPECT_EQ(links->RecentItemCount(), 3);
    // 0 %: only the most used count; 100 %: everything, so nothing is hidden.
    manager->SetMostRecentItemsPercents(0);
    EXPECT_EQ(links->RecentItemCount(), 1);
    manager->SetMostRecentItemsPercents(100);
    EXPECT_EQ(links->RecentItemCount(), -1);

    manager->SetMostRecentItemsPercents(95);
    manager->SetMenusShowRecentItemsFirst(false);
    EXPECT_EQ(links->RecentItemCount(), -1);
    links->SetRecentItemLimit(2);
    EXPECT_EQ(links->RecentItemLimit(), -1);
}

TEST_F(ItemLinksTest, UsesRecentItemsClimbsToTheBarThatOpenedTheMenu)
{
    QList<TdxBarItemLink*> l;
    TdxBarItemLinks* links = Menu({"a"}, l)->ItemLinks();
    EXPECT_TRUE(links->UsesRecentItems());  // no parent window: its own flag
    auto* window = reinterpret_cast<TCustomdxBarControl*>(&menuWindow);
    links->SetBarControl(window);
    windows.parents[window] = bar->ItemLinks();
    bar->SetUseRecentItems(false);
    EXPECT_FALSE(links->UsesRecentItems());
    bar->SetUseRecentItems(true);
    EXPECT_TRUE(links->UsesRecentItems());
    // Windows that point at each other end the climb instead of looping.
    windows.parents[window] = links;
    links->SetUseRecentItems(false);
    EXPECT_FALSE(links->UsesRecentItems());
    links->SetBarControl(nullptr);
}

TEST_F(ItemLinksTest, ClickCountsOneUseUpTheChain)
{
    auto* sub = NewItem<TdxBarSubItem>("File");
    TdxBarItemLink* other = Show(NewItem<TdxBarButton>("Other"));
    TdxBarItemLink* subOnBar = Show(sub);
    static_cast<FakeItemControl*>(subOnBar->Control())->active = true;  // its menu is open
    QList<TdxBarItemLink*> l;
    for (const char* c : {"Open", "Save"}) {
        l << sub->ItemLinks()->Add();
        l.last()->SetItem(NewItem<TdxBarButton>(c));
    }
    other->MoveToRecentTop(false);
    const int subUses = subOnBar->UseCount();
    const int saveUses = l[1]->UseCount();
    l[1]->ItemClicked(true);
    EXPECT_EQ(l[1]->UseCount(), saveUses + 1);
    EXPECT_EQ(l[1]->RecentIndex(), 0);
    EXPECT_EQ(subOnBar->UseCount(), subUses + 1);
    EXPECT_EQ(subOnBar->RecentIndex(), 0);

    // Without counting only the order changes; a hidden link is left alone.
    l[0]->ItemClicked(false);
    EXPECT_EQ(l[0]->RecentIndex(), 0);
    EXPECT_EQ(subOnBar->UseCount(), subUses + 1);
    l[1]->SetVisible(false);
    l[1]->ItemClicked(true);
    EXPECT_EQ(l[1]->UseCount(), saveUses + 1);

    // A source link inside the menu it opens (a drop-down holding its own button) is
    // counted once, not walked forever.
    subOnBar->SetOriginalItemLink(l[0]);
    const int openUses = l[0]->UseCount();
    l[0]->ItemClicked(true);
    EXPECT_EQ(l[0]->UseCount(), openUses + 1);
    subOnBar->SetOriginalItemLink(nullptr);
}

TEST_F(ItemLinksTest, RecentOrderBookkeeping)
{
    QList<TdxBarItemLink*> l;
    TdxBarItemLinks* links = Menu({"a", "b", "c"}, l)->ItemLinks();
    SetRecentOrder({l[0], l[1], l[2]});
    l[2]->SaveRecentIndex();
    l[2]->MoveToRecentTop(false);
    l[2]->RestoreRecentIndex();
    EXPECT_EQ(links->RecentOrder(), QList<TdxBarItemLink*>({l[0], l[1], l[2]}));

    l[1]->SetMostRecentlyUsed(false);
    EXPECT_EQ(l[1]->UseCount(), 0);
    EXPECT_EQ(links->RecentOrder().last(), l[1]);
    l[1]->SetMostRecentlyUsed(true);
    EXPECT_EQ(l[1]->UseCount(), manager->InitialUseCount());
    EXPECT_EQ(links->RecentOrder().first(), l[1]);

    // Packing moves can-visible links ahead of the hidden ones, keeping their order.
    l[1]->SetVisible(false);
    SetRecentOrder({l[1], l[2], l[0]});
    links->PackRecentOrder();
    EXPECT_EQ(links->RecentOrder(), QList<TdxBarItemLink*>({l[2], l[0], l[1]}));

    // The layout store's recent positions and use counts apply after loading.
    l[0]->SetStoredRecentState(0, 7);
    l[2]->SetStoredRecentState(1, 3);
    l[1]->SetStoredRecentState(2, 1);
    links->AfterLoad(false);
    EXPECT_EQ(links->RecentOrder(), QList<TdxBarItemLink*>({l[0], l[2], l[1]}));
    EXPECT_EQ(l[0]->UseCount(), 7);
    EXPECT_EQ(l[0]->StoredRecentIndex(), -1);

    // Recent flags copied by index, then packed.
    QList<TdxBarItemLink*> m;
    TdxBarItemLinks* fresh = Menu({"a", "b", "c"}, m)->ItemLinks();
    m[0]->SetMostRecentlyUsed(false);
    links->AssignRecentState(fresh);
    EXPECT_FALSE(l[0]->MostRecentlyUsed());
    EXPECT_EQ(l[0]->UseCount(), 0);
    EXPECT_EQ(links->RecentOrder().indexOf(l[0]), 1);  // last of the can-visible links
}

TEST_F(ItemLinksTest, HiddenGroupStartCarriesOverToTheNextShownLink)
{
    QList<TdxBarItemLink*> l;
    TdxBarItemLinks* links = Menu({"a", "b", "c"}, l)->ItemLinks();
    l[1]->SetBeginGroup(true);
    SetRecentOrder({l[0], l[2], l[1]});
    links->SetRecentItemLimit(2);
    ASSERT_EQ(Captions(links->VisibleItems()), QStringList({"a", "c"}));
    EXPECT_TRUE(l[2]->BeginGroup());
    l[0]->SetBeginGroup(true);
    EXPECT_FALSE(l[0]->BeginGroup());  // never before the first shown link
    links->SetRecentItemLimit(-1);
    EXPECT_FALSE(l[2]->BeginGroup());
}

TEST_F(ItemLinksTest, ManagerEventsAndCustomizingNotification)
{
    LinkEvents events;
    manager->OnItemLinkAdd = TdxBarItemLinkEvent(&events, &LinkEvents::Add);
    manager->OnItemLinkChange = TdxBarItemLinkEvent(&events, &LinkEvents::Change);
    manager->OnItemLinkDelete = TdxBarItemLinkEvent(&events, &LinkEvents::Delete);
    TdxBarItemLink* link = bar->ItemLinks()->Add();
    link->SetItem(NewItem<TdxBarButton>("Go"));
    delete link;
    EXPECT_EQ(events.log, QStringList({"Add:-", "Change:Go", "Delete:Go"}));

    // In a customizing window a change marks the manager modified, unless the windows
    // library handles the owner itself.
    link = Show(NewItem<TdxBarButton>("Up"));
    manager->SetModified(false);
    link->SetBeginGroup(true);
    EXPECT_FALSE(manager->Modified());
    windows.customizing = true;
    link->SetBeginGroup(false);
    EXPECT_TRUE(manager->Modified());
    manager->SetModified(false);
    windows.handled << bar->ItemLinks();
    link->SetBeginGroup(true);
    EXPECT_FALSE(manager->Modified());

    // No delete events while the manager itself is going.
    events.log.clear();
    form.reset();
    EXPECT_TRUE(events.log.filter("Delete").isEmpty());
}

TEST_F(ItemLinksTest, FreeingALinkDeselectsItsControlAndHandsOverTheDraggedGroupStart)
{
    TdxBarItemLink* a = Show(NewItem<TdxBarButton>("a"));
    TdxBarItemLink* b = Show(NewItem<TdxBarButton>("b"));
    TdxBarItemLink* c = Show(NewItem<TdxBarButton>("c"));
    TdxBarItemLink* d = Show(NewItem<TdxBarButton>("d"));
    b->SetBeginGroup(true);
    windows.selected = a->Control();
    manager->SetSelectedControl(a->Control());
    manager->SetDraggedLink(a);
    windows.log.clear();
    delete a;  // first link before a group start: the start is not needed any more
    EXPECT_FALSE(b->BeginGroup());
    EXPECT_EQ(manager->SelectedControl(), nullptr);
    EXPECT_EQ(manager->DraggedLink(), nullptr);
    EXPECT_EQ(windows.log, QStringList({"Deselect", "Relayout"}));

    c->SetBeginGroup(true);
    manager->SetDraggedLink(c);
    delete c;  // a group start followed by a plain link passes the start on
    EXPECT_TRUE(d->BeginGroup());
}

TEST_F(ItemLinksTest, ACopyForgetsTheLinkItStandsInForWhenThatLinkIsFreed)
{
    TdxBarItemLink* original = Show(NewItem<TdxBarButton>("a"));
    QList<TdxBarItemLink*> copies;
    Menu({"a"}, copies);
    copies[0]->SetOriginalItemLink(original);
    EXPECT_EQ(copies[0]->OriginalItemLink(), original);
    delete original;
    EXPECT_EQ(copies[0]->OriginalItemLink(), nullptr);
}

TEST_F(ItemLinksTest, AssignDefersVisibilityAndKeepsTheSystemMenu)
{
    QList<TdxBarItemLink*> src;
    TdxBarSubItem* source = Menu({"a", "b"}, src);
    src[1]->SetVisible(false);
    src[1]->SetBeginGroup(true);
    auto* empty = source->ItemLinks()->Add();  // a link without an item is skipped

    auto* sysMenu = NewItem<TSystemMenuSubItem>("System");
    bar->ItemLinks()->Add()->SetItem(sysMenu);
    bar->ItemLinks()->Assign(source->ItemLinks());
    TdxBarItemLinks* links = bar->ItemLinks();
    ASSERT_EQ(links->Count(), 3);
    EXPECT_EQ(links->Items(0)->Item(), sysMenu);
    EXPECT_FALSE(links->Items(2)->Visible());
    EXPECT_TRUE(links->Items(2)->BeginGroup());
    EXPECT_FALSE(links->Assigning());
    EXPECT_EQ(Captions(links->CanVisibleItems()), QStringList({"System", "a"}));
    delete empty;
}

TEST_F(ItemLinksTest, ByNameAssignmentSkipsNamesThatAreNoItems)
{
    TComponent fresh(nullptr);
    TdxBarItemLinks source(manager, nullptr);
    auto add = [&](const QString& name) {
        auto* item = new TdxBarButton(&fresh);
        item->SetName(name);
        source.Add()->SetItem(item);
    };
    auto* live = NewItem<TdxBarButton>("Live");
    live->SetName("btGo");
    (new TComponent(form.get()))->SetName("NotAnItem");
    add("btGo");
    add("btMissing");
    add("NotAnItem");
    {
        TdxBarAssignLinksByNameScope byName;
        bar->ItemLinks()->Assign(&source);
    }
    EXPECT_FALSE(dxBarAssignLinksByName());
    ASSERT_EQ(bar->ItemLinks()->Count(), 1);
    EXPECT_EQ(bar->ItemLinks()->Items(0)->Item(), live);
}

TEST_F(ItemLinksTest, AcceleratorsMatchKeyAndShiftState)
{
    EXPECT_TRUE(dxBarIsAccel("&Open", 'O', {}));
    EXPECT_TRUE(dxBarIsAccel("&Open", 'O', ssAlt | ssShift));  // upper case: Shift ignored
    EXPECT_FALSE(dxBarIsAccel("&open", 'O', ssShift));
    EXPECT_TRUE(dxBarIsAccel("&open", 'O', ssAlt));
    EXPECT_FALSE(dxBarIsAccel("&Open", 'O', ssCtrl));
    EXPECT_TRUE(dxBarIsAccel("Fish && &Chips", 'C', {}));
    EXPECT_TRUE(dxBarIsAccel("&1 One", '1', {}));
    EXPECT_FALSE(dxBarIsAccel("Fish && Chips", 'C', {}));
    EXPECT_FALSE(dxBarIsAccel("Trailing&", 'G', {}));

    // Generated list entries past "Z" get no accelerator.
    auto* list = NewItem<TdxBarListItem>("Recent");
    QStringList entries;
    for (int i = 0; i < 37; ++i) entries << QString("f%1").arg(i);
    list->Items()->SetText(entries.join('\n'));
    QList<TdxBarItemLink*> l;
    TdxBarSubItem* menu = Menu({}, l);
    menu->ItemLinks()->Add()->SetItem(list);
    list->AddListedItemLinks(menu->ItemLinks(), 0, menu->ItemLinks()->Items(0), true);
    EXPECT_EQ(dxBarCaptionAccel(list->GeneratedButtons()[34]->Caption()), QChar('z'));
    EXPECT_TRUE(dxBarCaptionAccel(list->GeneratedButtons()[35]->Caption()).isNull());
    EXPECT_TRUE(dxBarCaptionAccel(list->GeneratedButtons()[36]->Caption()).isNull());
}

TEST_F(ItemLinksTest, FindByAcceleratorInAMenuWrapsAndSkipsDisabledItems)
{
    QList<TdxBarItemLink*> l;
    TdxBarItemLinks* links = Menu({"&Save", "Save &As", "&Send", "&Stop"}, l)->ItemLinks();
    l[3]->Item()->SetEnabled(false);
    EXPECT_EQ(links->FindByAccelerator('S', {}, nullptr), l[0]);
    EXPECT_EQ(links->FindByAccelerator('S', {}, l[0]), l[2]);
    EXPECT_EQ(links->FindByAccelerator('S', {}, l[2]), l[0]);
    EXPECT_EQ(links->FindByAccelerator('A', {}, nullptr), l[1]);
    l[1]->SetVisible(false);
    EXPECT_EQ(links->FindByAccelerator('A', {}, nullptr), nullptr);
    EXPECT_EQ(links->FindByAccelerator('X', {}, nullptr), nullptr);
}

TEST_F(ItemLinksTest, ToolbarNavigationCoversTheLinksThatFit)
{
    QList<TdxBarItemLink*> l;
    for (const char* c : {"&a", "&b", "&c", "&d"}) {
        auto* button = NewItem<TdxBarButton>(c);
        button->SetPaintStyle(psCaptionGlyph);
        l << Show(button);
    }
    for (int i = 0; i < 4; ++i) l[i]->SetItemRect(QRect(i * 20, 0, 20, 20));
    windows.client = QRect(0, 0, 70, 22);  // d is clipped
    TdxBarItemLinks* links = bar->ItemLinks();
    EXPECT_EQ(links->FittingVisibleCount(), 3);
    static_cast<SelectableFake*>(l[1]->Control())->selectable = false;

    EXPECT_EQ(links->First(), l[0]);
    EXPECT_EQ(links->Last(), l[2]);
    EXPECT_EQ(links->Next(l[0]), l[2]);
    EXPECT_EQ(links->Next(l[2]), l[0]);  // wraps
    EXPECT_EQ(links->Prev(l[0]), l[2]);
    EXPECT_EQ(links->Next(nullptr), l[0]);
    EXPECT_EQ(links->Prev(nullptr), l[2]);
    EXPECT_EQ(links->FindByAccelerator('C', {}, l[2]), l[2]);
    EXPECT_EQ(links->FindByAccelerator('D', {}, nullptr), nullptr);

    l[1]->SetItemRect(QRect());  // an empty rectangle ends the fitting links
    EXPECT_EQ(links->FittingVisibleCount(), 1);
    static_cast<SelectableFake*>(l[0]->Control())->selectable = false;
    EXPECT_EQ(links->First(), nullptr);
    EXPECT_EQ(links->Next(l[0]), nullptr);
    links->EmptyItemRects();
    EXPECT_EQ(links->FittingVisibleCount(), 0);
}
