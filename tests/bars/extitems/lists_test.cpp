// Items that put their entries into a menu: the in-place sub item, which opens its links
// under its own header row, and the recent-items list.
#include "../windows/MenuWindowFixture.h"
#include "Strings.h"
#include "dxBarExtItems.h"
#include "dxBarInPlaceSubItem.h"
#include "dxBarLayoutStore.h"
#include "dxBarMRUListItem.h"

#include <optional>

namespace {

// Records the in-place item's expand and collapse notices as "<event> <menu of the link>".
class TExpandRecorder : public QObject {
public:
    void After(TObject*, TdxBarItemLink* link) { Record("after " + MenuOf(link)); }
    void Before(TObject*, TdxBarItemLink* link) { Record("before " + MenuOf(link)); }
    QStringList TakeEvents() { return std::exchange(events, {}); }
    void Click(TObject*) { ++clicks; }
    int clicks = 0;
    // Runs after each notice is recorded.
    std::function<void()> onEvent;

private:
    void Record(const QString& event)
    {
        events << event;
        if (onEvent) onEvent();
    }
    static QString MenuOf(TdxBarItemLink* link)
    {
        auto* owner = qobject_cast<TdxBarItem*>(link->Links()->OwnerObject());
        return owner ? owner->Caption() : QStringLiteral("bar");
    }
    QStringList events;
};

class InPlaceSubItemTest : public MenuWindowTest {
protected:
    void SetUp() override
    {
        MenuWindowTest::SetUp();
        dxBarExtItemsInitialize();
        file = AddSubItem("&File", {"New", "Exit"});
        file->SetName("smFile");
        more = Create<TdxBarInPlaceSubItem>(form.get());
        more->SetName("ipMore");
        more->SetCaption("More");
        more->SetOnClick(TNotifyEvent(&expands, &TExpandRecorder::Click));
        for (const char* caption : {"Print", "Preview"}) {
            auto* button = Create<TdxBarButton>(form.get());
            button->SetName(QStringLiteral("bt") + caption);
            button->SetCaption(caption);
            button->SetOnClick(TNotifyEvent(&recorder, &TClickRecorder::Click));
            more->ItemLinks()->Add()->SetItem(button);
        }
        file->ItemLinks()->Items(0)->Item()->SetName("btNew");
        file->ItemLinks()->Items(1)->Item()->SetName("btExit");
        file->ItemLinks()->Insert(1)->SetItem(more);
        more->OnAfterExpand = TdxBarInPlaceSubItemEvent(&expands, &TExpandRecorder::After);
        more->OnBeforeCollapse = TdxBarInPlaceSubItemEvent(&expands, &TExpandRecorder::Before);
    }
    void TearDown() override
    {
        expands.onEvent = {};
        MenuWindowTest::TearDown();
        dxBarExtItemsFinalize();
    }
    // The docked menu bar with File's menu open.
    TdxBarSubMenuControl* OpenFile()
    {
        if (!menuBar) DockMenuBar();
        PressTitle(0);
        return MenuOf(file);
    }
    TdxBarItemLink* HeaderLink() const { return more->LinkList().first(); }
    TdxBarItemLink* ExitLink() const { return file->ItemLinks()->Items(file->ItemLinks()->Count() - 1); }
    // The "BeginGroup" the layout store writes for Exit's link in File's menu.
    std::optional<bool> StoredExitGroupStart() const
    {
        const TRegKeyData tree = TdxBarLayoutStore(manager).RegistryTree();
        for (const TRegKeyData& key : tree.keys) {
            if (key.name != "SubItem_smFile") continue;
            for (const TRegKeyData& link : key.keys) {
                auto named = [&link](const QString& name) {
                    return std::find_if(link.values.begin(), link.values.end(),
                                        [&name](const TRegValue& v) { return v.name == name; });
                };
                if (named("ItemName") == link.values.end() || named("ItemName")->text != "btExit") continue;
                return named("BeginGroup") != link.values.end() && named("BeginGroup")->dword != 0;
            }
        }
        return std::nullopt;
    }

    TdxBarSubItem* file = nullptr;
    TdxBarInPlaceSubItem* more = nullptr;
    TExpandRecorder expands;
};

TEST_F(InPlaceSubItemTest, RightExpandsLeftCollapsesAndAClickTogglesWithTheHeaderStillSelected)
{
    QPointer<TdxBarSubMenuControl> menu = OpenFile();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(MenuRows(menu), (QStringList{"New", "More", "Exit"}));
    menu->SetKeySelectedItem(HeaderLink()->Control());
    const QStringList expanded{"New", "More", "Print", "Preview", "Exit"}, collapsed{"New", "More", "Exit"};
    enum Action { Right, Left, Click };
    struct Step {
        Action action;
        QStringList rows;
    };
    const Step steps[] = {
        {Right, expanded}, {Left, collapsed}, {Click, expanded}, {Click, collapsed}, {Right, expanded}};
    int step = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(step++);
        if (s.action == Click) {
            ClickRow(menu, 1);
        } else {
            int key = s.action == Right ? VK_RIGHT : VK_LEFT;
            menu->KeyDown(key, {});
        }
        ASSERT_FALSE(menu.isNull());
        EXPECT_EQ(MenuRows(menu), s.rows);
        EXPECT_EQ(more->Expanded(), s.rows == expanded);
        ASSERT_NE(HeaderLink()->Control(), nullptr);
        EXPECT_EQ(menu->SelectedControl(), HeaderLink()->Control());
        EXPECT_EQ(expands.clicks, step) << "each toggle is a click of the item";
    }
    // The entries are the item's links: a pick clicks the button and closes the menu.
    ClickRow(menu, 2);
    EXPECT_TRUE(menu.isNull());
    EXPECT_EQ(clicks.last(), "Print");
    // The menu leaves its links as they were; the item stays expanded for the next time.
    EXPECT_EQ(file->ItemLinks()->Count(), 3);
    menu = OpenFile();
    EXPECT_EQ(MenuRows(menu), expanded);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(InPlaceSubItemTest, SettingExpandedTellsEveryLinkOnceAndReLaysOutTheOpenMenus)
{
    // A second link of the item in a menu that is not open.
    TdxBarSubItem* edit = AddSubItem("&Edit", {"Undo"});
    edit->ItemLinks()->Add()->SetItem(more);
    QPointer<TdxBarSubMenuControl> menu = OpenFile();
    ASSERT_NE(menu, nullptr);
    struct Step {
        bool value;
        QStringList events;
        int fileRows;
    };
    const Step steps[] = {
        {true, {"after &File", "after &Edit"}, 5},
        {true, {}, 5},
        {false, {"before &File", "before &Edit"}, 3},
        {false, {}, 3},
    };
    int step = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(step++);
        more->SetExpanded(s.value);
        EXPECT_EQ(expands.TakeEvents(), s.events);
        ASSERT_FALSE(menu.isNull());
        EXPECT_EQ(MenuRows(menu).size(), s.fileRows);
    }
    // A handler may free the item: the change goes no further, and the menu lives on.
    expands.onEvent = [this] {
        delete more;
        more = nullptr;
    };
    more->SetExpanded(true);
    EXPECT_EQ(expands.TakeEvents(), QStringList{"after &File"});
    ASSERT_FALSE(menu.isNull());
    EXPECT_EQ(MenuRows(menu), (QStringList{"New", "Exit"}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(InPlaceSubItemTest, TheLinkAfterAnExpandedBlockStartsAGroupThatIsNeitherStoredNorKeptAfterCollapsing)
{
    more->SetKeepBeginGroupWhileExpanded(true);
    struct Case {
        bool designed;
        bool menuOpen;
    };
    const Case cases[] = {{false, true}, {true, true}, {false, false}, {true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "designed " << c.designed << ", menu open " << c.menuOpen);
        ExitLink()->SetBeginGroup(c.designed);
        QPointer<TdxBarSubMenuControl> menu = c.menuOpen ? OpenFile() : nullptr;
        more->SetExpanded(true);
        EXPECT_TRUE(ExitLink()->BeginGroup());
        if (menu) {
            EXPECT_EQ(MenuRows(menu).last(), "|Exit");
        }
        EXPECT_EQ(StoredExitGroupStart(), std::optional<bool>(c.designed));
        more->SetExpanded(false);
        EXPECT_EQ(ExitLink()->BeginGroup(), c.designed);
        if (menu) {
            EXPECT_EQ(MenuRows(menu).last(), c.designed ? "|Exit" : "Exit");
        }
        if (menuBar) menuBar->HideAll();
    }
    // Freed while expanded, the item takes its group start along.
    ExitLink()->SetBeginGroup(false);
    more->SetExpanded(true);
    ASSERT_TRUE(ExitLink()->BeginGroup());
    delete more;
    EXPECT_FALSE(ExitLink()->BeginGroup());
}

TEST_F(InPlaceSubItemTest, OnAToolbarTheItemOpensItsLinksAsASubMenuAndStartsNoGroup)
{
    more->SetKeepBeginGroupWhileExpanded(true);
    bar->SetIsMainMenu(false);
    bar->ItemLinks()->Clear();
    bar->ItemLinks()->Add()->SetItem(more);
    AddButton("After");
    TdxBarControl* toolbar = Dock(400);
    ASSERT_NE(toolbar, nullptr);
    more->SetExpanded(true);
    EXPECT_FALSE(Link(1)->BeginGroup());
    const TPoint at = Centre(Link(0));
    toolbar->MouseMove(at, {});
    toolbar->LButtonDown(at, {});
    toolbar->LButtonUp(at, {});
    QPointer<TdxBarSubMenuControl> menu = MenuOf(more);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(MenuRows(menu), (QStringList{"Print", "Preview"}));
    toolbar->HideAll();
}

}  // namespace

namespace {

class RecentListTest : public MenuWindowTest {
protected:
    void SetUp() override
    {
        MenuWindowTest::SetUp();
        dxBarExtItemsInitialize();
        recent = Create<TdxBarMRUListItem>(form.get());
        recent->SetCaption("Recent");
        recent->SetShowNumbers(false);
    }
    void TearDown() override
    {
        MenuWindowTest::TearDown();
        dxBarExtItemsFinalize();
    }
    void SetEntries(const QStringList& entries)
    {
        recent->Items()->Clear();
        for (const QString& entry : entries) recent->Items()->Add(entry);
    }
    QStringList Entries() const
    {
        QStringList out;
        for (int i = 0; i < recent->Items()->Count(); ++i) out << recent->Items()->Strings(i);
        return out;
    }

    TdxBarMRUListItem* recent = nullptr;
};

TEST_F(RecentListTest, ACapKeepsTheFirstEntriesAndForgetsAChosenEntryPastIt)
{
    const QStringList five{"1.htm", "2.htm", "3.htm", "4.htm", "5.htm"};
    struct Case {
        int cap;
        int chosen;
        int storedCap;
        QStringList kept;
        int chosenAfter;
    };
    const Case cases[] = {
        {2, 1, 2, {"1.htm", "2.htm"}, 1},
        {2, 3, 2, {"1.htm", "2.htm"}, -1},
        {-3, 4, 0, five, 4},
        {0, 4, 0, five, 4},
        {9, 4, 9, five, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cap);
        recent->SetMaxItemCount(5);
        SetEntries(five);
        recent->SetItemIndex(c.chosen);
        recent->SetMaxItemCount(c.cap);
        EXPECT_EQ(recent->MaxItemCount(), c.storedCap);
        EXPECT_EQ(Entries(), c.kept);
        EXPECT_EQ(recent->ItemIndex(), c.chosenAfter);
    }
}

TEST_F(RecentListTest, ChoosingAnEntryRemovesThatEntryUnlessCustomizing)
{
    // The File menu lists the entries in place of the item's row.
    TdxBarSubItem* file = AddSubItem("&File", {"Exit"});
    file->ItemLinks()->Insert(0)->SetItem(recent);
    DockMenuBar();
    struct Case {
        bool removeOnClick;
        bool customizing;
        int chosen;
        QStringList left;
        int chosenAfter;
    };
    const Case cases[] = {
        {true, false, 2, {"a", "b"}, -1},
        {true, false, 0, {"b", "a"}, -1},
        {false, false, 2, {"a", "b", "a"}, 2},
        {true, true, 2, {"a", "b", "a"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "entry " << c.chosen << (c.customizing ? " customizing" : ""));
        SetEntries({"a", "b", "a"});
        recent->SetItemIndex(-1);
        recent->SetRemoveItemOnClick(c.removeOnClick);
        if (c.customizing) {
            // Menus open unexpanded while customizing: the choice comes as the entry's click would.
            manager->SetIsCustomizing(true);
            recent->SetItemIndex(c.chosen);
            recent->DoClick();
            manager->SetIsCustomizing(false);
        } else {
            PressTitle(0);
            QPointer<TdxBarSubMenuControl> menu = MenuOf(file);
            ASSERT_NE(menu, nullptr);
            // The item's own link stays in the menu's links, out of sight, before its entries.
            ASSERT_EQ(MenuRows(menu), (QStringList{"Recent", "a", "b", "a", "Exit"}));
            ClickRow(menu, 1 + c.chosen);
            EXPECT_TRUE(menu.isNull());
        }
        EXPECT_EQ(Entries(), c.left);
        EXPECT_EQ(recent->ItemIndex(), c.chosenAfter);
    }
    // Nothing chosen: nothing goes.
    SetEntries({"a", "b"});
    recent->SetItemIndex(-1);
    recent->DoClick();
    EXPECT_EQ(Entries(), (QStringList{"a", "b"}));
}

}  // namespace
