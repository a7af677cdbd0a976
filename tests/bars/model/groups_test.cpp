// Groups: membership rules, switching their members, and streaming with the manager.
#include "BarModelFixture.h"
#include "FormResources.h"
#include "dxBarGroups.h"
#include "dxBarStrs.h"

#include <QPointer>

namespace {

QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return {};
}

class GroupsTest : public BarModelTest {};

TEST_F(GroupsTest, MembershipRules)
{
    TdxBarGroup* outer = manager->CreateGroup();
    TdxBarGroup* middle = manager->CreateGroup();
    TdxBarGroup* inner = manager->CreateGroup();
    EXPECT_EQ(outer->Owner(), form.get());
    EXPECT_EQ(manager->GroupCount(), 3);
    EXPECT_EQ(inner->IndexInManager(), 2);

    auto* button = NewItem<TdxBarButton>("b");
    TComponent plain(form.get());
    outer->Add(nullptr);
    outer->Add(&plain);  // neither item nor group
    outer->Add(button);
    outer->Add(button);
    EXPECT_EQ(outer->Count(), 1);

    outer->Add(middle);
    middle->Add(inner);
    const QString recursive = dxBarStr(dxSBAR_RECURSIVEGROUPS);
    EXPECT_EQ(ErrorOf([&] { outer->Add(outer); }), recursive);
    EXPECT_EQ(ErrorOf([&] { inner->Add(outer); }), recursive);  // outer holds inner two levels down
    EXPECT_EQ(ErrorOf([&] { inner->Add(middle); }), recursive);
    EXPECT_EQ(inner->Count(), 0);
    EXPECT_TRUE(outer->ContainsGroup(inner));

    outer->Move(0, 1);
    EXPECT_EQ(outer->Items(0), middle);
    EXPECT_EQ(outer->Items(5), nullptr);
    inner->SetIndexInManager(0);
    EXPECT_EQ(manager->GetGroup(0), inner);

    // Freed members leave their groups; a freed group leaves the manager.
    delete button;
    EXPECT_EQ(outer->Count(), 1);
    delete inner;
    EXPECT_EQ(middle->Count(), 0);
    EXPECT_EQ(manager->GroupCount(), 2);
}

TEST_F(GroupsTest, EnabledAndVisibleReachNestedGroupsItems)
{
    TdxBarGroup* outer = manager->CreateGroup();
    TdxBarGroup* inner = manager->CreateGroup();
    auto* top = NewItem<TdxBarButton>("top");
    auto* deep = NewItem<TdxBarButton>("deep");
    outer->Add(top);
    outer->Add(inner);
    inner->Add(deep);

    outer->SetEnabled(false);
    EXPECT_FALSE(top->Enabled());
    EXPECT_FALSE(deep->Enabled());
    EXPECT_FALSE(inner->Enabled());
    outer->SetVisible(ivNever);
    EXPECT_EQ(deep->Visible(), ivNever);
    EXPECT_FALSE(manager->UpdateLocked());

    // A member switched on its own is switched again by the group's next change.
    deep->SetEnabled(true);
    outer->SetEnabled(true);
    outer->SetEnabled(false);
    EXPECT_FALSE(deep->Enabled());
}

TEST_F(GroupsTest, TheManagerFreesItsGroups)
{
    QPointer<TdxBarGroup> group = manager->CreateGroup();
    group->Add(NewItem<TdxBarButton>("b"));
    delete manager;
    EXPECT_TRUE(group.isNull());
}

// ---------------------------------------------------------------- streaming

class GroupStreamingTest : public ManagerStreamingTest {
protected:
    TdxBarGroup* Group(const QString& name) { return qobject_cast<TdxBarGroup*>(forms.back()->FindComponent(name)); }
};

// g1 and g2 name each other: the second link would make them recursive.
const char* const kGroupsForm = R"(object GroupForm: TForm
  object BarManager1: TdxBarManager
    Categories = (
      'Default')
    object g1: TdxBarGroup
      Enabled = False
      Items = (
        'b1'
        'g2'
        'nosuch')
    end
    object g2: TdxBarGroup
      Items = (
        'b2'
        'g1')
    end
    object b1: TdxBarButton
      Category = 0
    end
    object b2: TdxBarButton
      Category = 0
    end
  end
end
)";

TEST_F(GroupStreamingTest, ARecursiveMemberInTheResourceIsSkipped)
{
    TdxBarManager* m = nullptr;
    ASSERT_NO_THROW(m = Read(kGroupsForm));
    ASSERT_NE(m, nullptr);
    TdxBarGroup* g1 = Group("g1");
    TdxBarGroup* g2 = Group("g2");
    ASSERT_TRUE(g1 && g2);
    EXPECT_EQ(m->GroupCount(), 2);
    EXPECT_EQ(g1->BarManager(), m);
    EXPECT_FALSE(g1->Enabled());
    // Loading does not switch the members.
    EXPECT_TRUE(m->ItemByName("b1")->Enabled());
    ASSERT_EQ(g1->Count(), 2);  // b1, g2; the unknown name is dropped
    EXPECT_EQ(g1->Items(1), g2);
    ASSERT_EQ(g2->Count(), 1);  // b2; g1 would close the circle
    EXPECT_EQ(g2->Items(0), m->ItemByName("b2"));
    // The API still refuses it.
    EXPECT_EQ(ErrorOf([&] { g2->Add(g1); }), dxBarStr(dxSBAR_RECURSIVEGROUPS));

    // Written as the manager's children, groups first, and read back alike.
    const QString text = WriteComponentToText(forms.back().get());
    EXPECT_LT(text.indexOf("object g1: TdxBarGroup"), text.indexOf("object b1: TdxBarButton")) << text.toStdString();
    EXPECT_GT(text.indexOf("object g1: TdxBarGroup"), text.indexOf("object BarManager1")) << text.toStdString();
    Read(text);
    ASSERT_NE(Group("g1"), nullptr);
    EXPECT_EQ(Group("g1")->Count(), 2);
    EXPECT_EQ(Group("g2")->Count(), 1);
    EXPECT_EQ(WriteComponentToText(forms.back().get()), text);
}

}  // namespace
