// The design editors' rules without their windows: names for new components, the classes
// offered, member packing and the Groups page's buttons, and the lists the editors fill.
#include "Forms.h"
#include "StdCtrls.h"
#include "dxBarCategories.h"
#include "dxBarDesignRules.h"
#include "dxBarDesigner.h"
#include "dxBarExtItems.h"
#include "dxBarGroups.h"
#include "dxBarInternalItems.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class DesignRulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dxBarInitialize();
        form = std::make_unique<TForm>(nullptr);
        manager = new TdxBarManager(form.get());
        manager->SetDesigningFlag(true);
        manager->Categories()->Add("File");
    }
    void TearDown() override
    {
        form.reset();
        dxBarFinalize();
    }
    template <class T>
    T* Add(const QString& name, int category = 0)
    {
        auto* item = Create<T>(form.get());
        item->SetName(name);
        item->SetCategory(category);
        return item;
    }
    TdxBarGroup* Group(const QString& name)
    {
        TdxBarGroup* group = manager->CreateGroup();
        group->SetName(name);
        return group;
    }
    static QStringList Texts(const QList<TdxBarGroupItemsLine>& lines)
    {
        QStringList texts;
        for (const TdxBarGroupItemsLine& line : lines) texts << line.Text + (line.Member ? "*" : "");
        return texts;
    }

    std::unique_ptr<TForm> form;
    TdxBarManager* manager = nullptr;
};

TEST_F(DesignRulesTest, NewNamesAvoidEveryComponentOfTheFormIgnoringCase)
{
    const QString base = dxBarItemNameBase(&TdxBarButton::staticMetaObject);
    EXPECT_EQ(base, "dxBarButton");
    EXPECT_EQ(dxBarUniqueComponentName(form.get(), base), "dxBarButton1");
    // Not only items: an edit holding the first name moves the proposal on.
    Create<TEdit>(form.get())->SetName("DXBARBUTTON1");
    Add<TdxBarButton>("dxBarButton3");
    EXPECT_EQ(dxBarUniqueComponentName(form.get(), base), "dxBarButton2");
    // The default designer proposes the same, and group names come the same way.
    EXPECT_EQ(dxBarDesigner().UniqueName(form.get(), "dxBarGroup"), "dxBarGroup1");
}

TEST_F(DesignRulesTest, OnlyPublicItemClassesAreOffered)
{
    dxBarExtItemsInitialize();
    const QList<TdxBarItemClass> classes = dxBarPublicItemClasses();
    EXPECT_EQ(classes.size(), dxBarGetVisibleItemClassCount());
    EXPECT_TRUE(classes.contains(&TdxBarButton::staticMetaObject));
    EXPECT_TRUE(classes.contains(&TdxBarSubItem::staticMetaObject));
    for (TdxBarItemClass internal :
         {&TdxBarQuickCustItem::staticMetaObject, &TdxBarQuickCustExtButton::staticMetaObject,
          &TSystemMenuSubItem::staticMetaObject})
        EXPECT_FALSE(classes.contains(internal)) << internal->className();
    EXPECT_LT(classes.size(), dxBarRegisteredItemCount());
    dxBarExtItemsFinalize();
}

TEST_F(DesignRulesTest, SelectedMembersMovePackedTogether)
{
    struct Case {
        int count;
        QList<int> selected;
        bool up;
        QList<int> order;
    } cases[] = {
        {5, {2, 4}, true, {0, 2, 4, 1, 3}},   // one place above the first selected
        {5, {0, 3}, true, {0, 3, 1, 2, 4}},   // at the top at most
        {5, {0, 2}, false, {1, 3, 0, 2, 4}},  // one place below the last selected
        {5, {1, 4}, false, {0, 2, 3, 1, 4}},  // at the bottom at most
        {3, {}, true, {0, 1, 2}},
    };
    for (const Case& c : cases) EXPECT_EQ(dxBarPackedOrder(c.count, c.selected, c.up), c.order) << c.selected.size();
}

TEST_F(DesignRulesTest, GroupsPageButtonsFollowTheSelectionAndTheFocus)
{
    struct Case {
        int groups, group, members;
        QList<int> selected;
        bool membersFocused;
        bool remove, add, removeMember, up, down;
    } cases[] = {
        {0, -1, 0, {}, false, false, false, false, false, false},
        {3, 0, 0, {}, false, true, true, false, false, true},  // the first group moves down only
        {3, 2, 0, {}, false, true, true, false, true, false},
        {1, 0, 4, {0, 1}, true, true, true, true, false, true},  // packed at the top already
        {1, 0, 4, {2, 3}, true, true, true, true, true, false},
        {1, 0, 4, {0, 3}, true, true, true, true, true, true},
        {1, 0, 4, {}, true, true, true, false, false, false},
    };
    for (const Case& c : cases) {
        const TdxBarGroupsButtons b =
            dxBarGroupsButtonStates(c.groups, c.group, c.members, c.selected, c.membersFocused);
        EXPECT_EQ(QList<bool>({b.GroupDelete, b.ItemAdd, b.ItemDelete, b.MoveUp, b.MoveDown}),
                  QList<bool>({c.remove, c.add, c.removeMember, c.up, c.down}))
            << c.groups << " " << c.group << " " << c.selected.size() << " " << c.membersFocused;
    }
}

TEST_F(DesignRulesTest, PopupEntriesNeedWhatTheyActOn)
{
    TdxBarCategoryMenuState none = dxBarCategoryMenuState(manager, -1);
    EXPECT_FALSE(none.Insert || none.Rename || none.Visible || none.Delete);
    manager->SetCategoryVisible(1, false);
    TdxBarCategoryMenuState file = dxBarCategoryMenuState(manager, 1);
    EXPECT_TRUE(file.Insert && file.Rename && file.Visible && file.Delete);
    EXPECT_FALSE(file.VisibleDown);
    manager->Categories()->Delete(1);
    EXPECT_FALSE(dxBarCategoryMenuState(manager, 0).Delete) << "the last category stays";

    TdxBarSubItem* sub = Add<TdxBarSubItem>("Sub");
    TdxBarButton* button = Add<TdxBarButton>("Button");
    EXPECT_TRUE(dxBarCommandsMenuState(2, 0, sub).SubMenuEditor);
    EXPECT_FALSE(dxBarCommandsMenuState(2, 1, button).SubMenuEditor);
    const TdxBarCommandsMenuState first = dxBarCommandsMenuState(2, 0, sub),
                                  last = dxBarCommandsMenuState(2, 1, button);
    EXPECT_TRUE(!first.MoveUp && first.MoveDown && last.MoveUp && !last.MoveDown);
    const TdxBarCommandsMenuState empty = dxBarCommandsMenuState(0, -1, nullptr);
    EXPECT_FALSE(empty.Delete || empty.Clear || empty.MoveUp || empty.MoveDown);
}

TEST_F(DesignRulesTest, AllCommandsListsCategorizedItemsAndMeasuresTheirColumns)
{
    TdxBarButton* open = Add<TdxBarButton>("Open");
    open->SetCaption("&Open file");
    open->SetShortCut(ShortCut('O', {ssCtrl}));
    Add<TdxBarSubItem>("RecentMenu", 1);
    EXPECT_EQ(dxBarAllCommands(manager, false).size(), 2);
    // A sub item publishes no shortcut.
    EXPECT_EQ(dxBarAllCommands(manager, true), QList<TdxBarItem*>({open}));

    const TdxBarAllCommandsColumns columns =
        dxBarMeasureAllCommands(dxBarAllCommands(manager, false), [](const QString& s) { return int(s.size()) * 10; });
    EXPECT_EQ(columns.Name, 100);     // "RecentMenu"
    EXPECT_EQ(columns.Caption, 90);   // "Open file", without the mark
    EXPECT_EQ(columns.ShortCut, 60);  // "Ctrl+O"
    EXPECT_EQ(columns.Extent(), 100 + 90 + 60 + 30);
    EXPECT_EQ(columns.ShortCutX() + columns.ShortCut + 5, columns.Extent());
}

TEST_F(DesignRulesTest, AddGroupItemsListsOtherGroupsOnlyWithTwoOrMoreAndMarksMembers)
{
    TdxBarButton* open = Add<TdxBarButton>("Open", 1);
    Add<TdxBarButton>("Save", 1);
    TdxBarGroup* first = Group("First");
    first->Add(open);
    // Categories without items get no header.
    EXPECT_EQ(Texts(dxBarGroupItemsLines(manager, first)), QStringList({"~File", "Open*", "Save"}));
    TdxBarGroup* second = Group("Second");
    EXPECT_EQ(Texts(dxBarGroupItemsLines(manager, first)),
              QStringList({"~< Groups >", "Second", "~File", "Open*", "Save"}));

    // A group that holds the group, at any depth, may not join it; nor may the group itself.
    second->Add(first);
    TdxBarGroup* third = Group("Third");
    third->Add(second);
    EXPECT_EQ(dxBarFirstRecursiveEntry(first, {open, third}), third);
    EXPECT_EQ(dxBarFirstRecursiveEntry(first, {first}), first);
    EXPECT_EQ(dxBarFirstRecursiveEntry(third, {open, first}), nullptr);
}

}  // namespace
