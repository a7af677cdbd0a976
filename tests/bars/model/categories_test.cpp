// The manager's categories: records, renumbering of items, visibility and streaming.
#include "BarModelFixture.h"
#include "FormResources.h"
#include "dxBarCategories.h"
#include "dxBarStrs.h"

#include <QPointer>

namespace {

class CategoriesTest : public BarModelTest {
protected:
    void SetUp() override
    {
        BarModelTest::SetUp();
        cats = manager->Categories();
        cats->Add("Action");
        cats->Add("Menu");
    }

    TdxBarButton* ItemIn(int category, const QString& caption)
    {
        auto* item = NewItem<TdxBarButton>(caption);
        item->SetCategory(category);
        return item;
    }

    TdxBarManagerCategories* cats = nullptr;
};

TEST_F(CategoriesTest, ValuesWithoutAndWithRecords)
{
    EXPECT_EQ(cats->Count(), 3);
    EXPECT_EQ(cats->Strings(0), dxBarStr(dxSBAR_DEFAULTCATEGORYNAME));
    EXPECT_EQ(manager->GetCategoryItemsVisible(1), ivAlways);
    EXPECT_TRUE(manager->GetCategoryVisible(1));
    EXPECT_EQ(cats->Record(1), nullptr);
    // Out of range.
    EXPECT_EQ(manager->GetCategoryItemsVisible(3), ivNever);
    EXPECT_EQ(manager->GetCategoryItemsVisible(-1), ivNever);
    EXPECT_FALSE(manager->GetCategoryVisible(3));
    manager->SetCategoryVisible(7, false);
    manager->SetCategoryItemsVisible(-1, ivNever);

    manager->SetModified(false);
    manager->SetCategoryVisible(1, true);  // equal: no record, no change
    EXPECT_EQ(cats->Record(1), nullptr);
    EXPECT_FALSE(manager->Modified());
    manager->SetCategoryVisible(1, false);
    ASSERT_NE(cats->Record(1), nullptr);
    EXPECT_FALSE(cats->Record(1)->visible);
    EXPECT_EQ(cats->Record(1)->itemsVisible, ivAlways);
    EXPECT_EQ(cats->Record(1)->loadedItemsVisible, ivAlways);
    EXPECT_TRUE(manager->Modified());

    // Run time counts only listed categories.
    EXPECT_EQ(manager->GetCategoryRealIndex(0), 0);
    EXPECT_EQ(manager->GetCategoryRealIndex(1), 2);
    EXPECT_EQ(manager->GetCategoryRealIndex(2), -1);
    manager->SetDesigningFlag(true);
    EXPECT_EQ(manager->GetCategoryRealIndex(1), 1);
}

TEST_F(CategoriesTest, ItemsVisibleSwitchesTheItemsThatFollowedTheCategory)
{
    TdxBarButton* a = ItemIn(1, "a");
    TdxBarButton* b = ItemIn(1, "b");
    TdxBarButton* other = ItemIn(2, "other");
    b->SetVisible(ivInCustomizing);  // its own choice: left alone

    manager->SetModified(false);
    manager->SetCategoryItemsVisible(1, ivNever);
    EXPECT_EQ(a->Visible(), ivNever);
    EXPECT_EQ(b->Visible(), ivInCustomizing);
    EXPECT_EQ(other->Visible(), ivAlways);
    EXPECT_EQ(manager->GetCategoryItemsVisible(1), ivNever);
    EXPECT_TRUE(manager->Modified());

    manager->SetCategoryItemsVisible(1, ivAlways);
    EXPECT_EQ(a->Visible(), ivAlways);
    EXPECT_EQ(b->Visible(), ivInCustomizing);
}

TEST_F(CategoriesTest, AutoHideEmptyBarsHidesAndShowsBarsWithTheirItems)
{
    bar->SetVisible(true);
    manager->SetAutoHideEmptyBars(true);
    TdxBarItemLink* link = Show(ItemIn(1, "only"));
    ASSERT_EQ(bar->ItemLinks()->VisibleItemCount(), 1);
    ASSERT_NE(link, nullptr);

    manager->SetCategoryItemsVisible(1, ivNever);
    EXPECT_EQ(bar->ItemLinks()->VisibleItemCount(), 0);
    EXPECT_FALSE(bar->Visible());
    EXPECT_TRUE(bar->AutoHidden());
    manager->SetCategoryItemsVisible(1, ivAlways);
    EXPECT_TRUE(bar->Visible());
    EXPECT_FALSE(bar->AutoHidden());
    EXPECT_FALSE(manager->UpdateLocked());

    manager->SetCategoryItemsVisible(1, ivNever);
    manager->SetAutoHideEmptyBars(false);  // forgets the marks
    EXPECT_FALSE(bar->AutoHidden());
    manager->SetCategoryItemsVisible(1, ivAlways);
    EXPECT_FALSE(bar->Visible());
}

TEST_F(CategoriesTest, EditingTheListRenumbersTheItems)
{
    TdxBarButton* d = ItemIn(0, "d");
    TdxBarButton* a = ItemIn(1, "a");
    TdxBarButton* m = ItemIn(2, "m");
    manager->SetCategoryVisible(0, false);

    // Default, Action, Menu -> Action, Menu, Default; the record travels with its name.
    cats->Move(0, 2);
    EXPECT_EQ(cats->ToStringList(), QStringList({"Action", "Menu", "Default"}));
    EXPECT_EQ(a->Category(), 0);
    EXPECT_EQ(m->Category(), 1);
    EXPECT_EQ(d->Category(), 2);
    EXPECT_FALSE(manager->GetCategoryVisible(2));
    EXPECT_TRUE(manager->GetCategoryVisible(0));

    cats->Move(2, 0);
    EXPECT_EQ(cats->ToStringList(), QStringList({"Default", "Action", "Menu"}));
    EXPECT_EQ(d->Category(), 0);
    EXPECT_EQ(a->Category(), 1);
    EXPECT_EQ(m->Category(), 2);

    cats->Insert(1, "New");
    EXPECT_EQ(d->Category(), 0);
    EXPECT_EQ(a->Category(), 2);
    EXPECT_EQ(m->Category(), 3);
    EXPECT_FALSE(manager->GetCategoryVisible(0));
    EXPECT_TRUE(manager->GetCategoryVisible(1));
    cats->Add("Appended");  // renumbers nothing
    EXPECT_EQ(m->Category(), 3);

    cats->Exchange(0, 3);
    EXPECT_EQ(d->Category(), 3);
    EXPECT_EQ(m->Category(), 0);
    EXPECT_FALSE(manager->GetCategoryVisible(3));
    cats->Exchange(0, 9);  // out of range: nothing
    EXPECT_EQ(m->Category(), 0);
}

TEST_F(CategoriesTest, DeleteFreesTheCategorysItemsAndKeepsADefault)
{
    QPointer<TdxBarButton> a = ItemIn(1, "a");
    QPointer<TdxBarButton> m = ItemIn(2, "m");
    cats->Delete(1);
    EXPECT_TRUE(a.isNull());
    ASSERT_FALSE(m.isNull());
    EXPECT_EQ(m->Category(), 1);
    EXPECT_EQ(manager->ItemCount(), 1);
    cats->Delete(5);  // out of range: nothing

    cats->Delete(0);
    cats->Delete(0);
    EXPECT_TRUE(m.isNull());
    EXPECT_EQ(cats->ToStringList(), QStringList({"Default"}));
    EXPECT_EQ(manager->ItemCount(), 0);
}

// ---------------------------------------------------------------- streaming

using CategoryStreamingTest = ManagerStreamingTest;

const char* const kCategoriesForm = R"(object CatForm: TForm
  object BarManager1: TdxBarManager
    Categories = (
      'Default'
      'Hidden'
      'Shown')
    Categories.ItemsVisibles = (
      2
      0
      2
      1)
    Categories.Visibles = (
      True
      False
      True
      False)
    object b1: TdxBarButton
      Caption = 'b1'
      Category = 1
    end
    object b2: TdxBarButton
      Caption = 'b2'
      Category = 2
    end
  end
end
)";

TEST_F(CategoryStreamingTest, ItemsVisiblesAndVisiblesSurviveARoundTrip)
{
    TdxBarManager* m = Read(kCategoriesForm);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->CategoryCount(), 3);  // the values past the count are dropped
    EXPECT_EQ(m->GetCategoryItemsVisible(1), ivNever);
    EXPECT_EQ(m->ItemByName("b1")->Visible(), ivNever);
    EXPECT_EQ(m->ItemByName("b2")->Visible(), ivAlways);
    EXPECT_FALSE(m->GetCategoryVisible(1));
    EXPECT_TRUE(m->GetCategoryVisible(2));

    m->SetCategoryItemsVisible(2, ivInCustomizing);
    const QString text = WriteComponentToText(forms.back().get());
    EXPECT_TRUE(text.contains("Categories.ItemsVisibles")) << text.toStdString();
    EXPECT_TRUE(text.contains("Categories.Visibles")) << text.toStdString();

    TdxBarManager* copy = Read(text);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->CategoryCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(copy->GetCategoryItemsVisible(i), m->GetCategoryItemsVisible(i)) << i;
        EXPECT_EQ(copy->GetCategoryVisible(i), m->GetCategoryVisible(i)) << i;
    }
    EXPECT_EQ(copy->ItemByName("b2")->Visible(), ivInCustomizing);
    EXPECT_EQ(WriteComponentToText(forms.back().get()), text);
}

TEST_F(CategoryStreamingTest, AResourceWithOnlyVisiblesKeepsTheItemsShown)
{
    // A record made for Visible alone must not hide the category's items once loaded.
    TdxBarManager* m = Read(R"(object CatForm: TForm
  object BarManager1: TdxBarManager
    Categories = (
      'Default'
      'Other')
    Categories.Visibles = (
      True
      False)
    object b1: TdxBarButton
      Category = 1
    end
  end
end
)");
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(m->GetCategoryVisible(1));
    EXPECT_EQ(m->GetCategoryItemsVisible(1), ivAlways);
    EXPECT_EQ(m->ItemByName("b1")->Visible(), ivAlways);
}

TEST_F(CategoryStreamingTest, ValuesThatNameNoVisibilityAreIgnored)
{
    TdxBarManager* m = Read(R"(object CatForm: TForm
  object BarManager1: TdxBarManager
    Categories = (
      'Default'
      'Other')
    Categories.ItemsVisibles = (
      7
      -1)
  end
end
)");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetCategoryItemsVisible(0), ivAlways);
    EXPECT_EQ(m->GetCategoryItemsVisible(1), ivAlways);
}

}  // namespace
