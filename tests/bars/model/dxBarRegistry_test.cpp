#include "dxBarServices.h"
#include "dxBarRegistry.h"

#include "ClassRegistry.h"
#include "dxBarInternalItems.h"
#include "dxBarItems.h"

#include <gtest/gtest.h>

namespace {
// A combo kind of its own, registered by nobody.
class TTestCombo : public TdxBarCombo {
    Q_OBJECT
public:
    using TdxBarCombo::TdxBarCombo;
};

struct StartUp {
    StartUp() { dxBarInitialize(); }
    ~StartUp() { dxBarFinalize(); }
};
}  // namespace

TEST(dxBarRegistry, StartUpRegistersTheStandardPairs)
{
    StartUp library;
    EXPECT_EQ(dxBarRegisteredItemCount(), 10);
    EXPECT_EQ(dxBarGetVisibleItemClassCount(), 7);
    EXPECT_EQ(dxBarGetVisibleItemClass(0), &TdxBarButton::staticMetaObject);
    EXPECT_EQ(dxBarGetVisibleItemClass(6), &TdxBarContainerItem::staticMetaObject);
    EXPECT_EQ(dxBarGetVisibleItemClass(7), nullptr);
    EXPECT_EQ(dxBarGetVisibleItemClass(-1), nullptr);

    // Lookup is by exact class: ancestors' entries do not serve descendants.
    EXPECT_EQ(dxBarGetItemControlClass(&TdxBarCombo::staticMetaObject), &TdxBarComboControlClass);
    EXPECT_EQ(dxBarGetItemControlClass(&TdxBarCustomCombo::staticMetaObject), nullptr);
    EXPECT_EQ(dxBarGetItemControlClass(&TdxBarListItem::staticMetaObject), &TdxBarContainerItemControlClass);
    EXPECT_EQ(dxBarGetItemControlClass(&TSystemMenuSubItem::staticMetaObject), &TSystemMenuSubItemControlClass);

    // Registered items can be made from a form resource by class name.
    ASSERT_TRUE(GetClass("TdxBarListItem").has_value());
    TComponent owner(nullptr);
    TComponent* made = GetClass("TdxBarListItem")->create(&owner);
    EXPECT_NE(qobject_cast<TdxBarListItem*>(made), nullptr);
}

TEST(dxBarRegistry, NestedStartUpAndShutDown)
{
    dxBarInitialize();
    dxBarInitialize();
    EXPECT_EQ(dxBarRegisteredItemCount(), 10);
    dxBarFinalize();
    EXPECT_TRUE(dxBarInitialized());
    EXPECT_EQ(dxBarRegisteredItemCount(), 10);
    EXPECT_TRUE(dxBarHasCursor(crdxBarDragCopy));
    dxBarFinalize();
    EXPECT_FALSE(dxBarInitialized());
    EXPECT_EQ(dxBarRegisteredItemCount(), 0);
    EXPECT_FALSE(GetClass("TdxBarButton").has_value());
    EXPECT_FALSE(dxBarHasCursor(crdxBarDragCopy));
    dxBarFinalize();  // unbalanced: ignored
    EXPECT_FALSE(dxBarInitialized());
}

TEST(dxBarRegistry, DuplicateEntriesAndUnregistration)
{
    StartUp library;
    TdxBarItemControlClass other{"TOtherControl"};
    dxBarRegisterItem(&TdxBarCombo::staticMetaObject, &other, false);
    EXPECT_EQ(dxBarRegisteredItemCount(), 11);
    EXPECT_EQ(dxBarGetItemControlClass(&TdxBarCombo::staticMetaObject), &TdxBarComboControlClass);
    dxBarUnregisterItem(&TdxBarCombo::staticMetaObject);
    EXPECT_EQ(dxBarGetItemControlClass(&TdxBarCombo::staticMetaObject), &other);
    EXPECT_TRUE(GetClass("TdxBarCombo").has_value());  // still streamable through the second entry
    EXPECT_EQ(dxBarGetVisibleItemClassCount(), 6);

    dxBarUnregisterItem(&TTestCombo::staticMetaObject);  // never registered: ignored
    EXPECT_EQ(dxBarRegisteredItemCount(), 10);
}

TEST(dxBarRegistry, CursorTable)
{
    StartUp library;
    for (int id : {crdxBarDrag, crdxBarDragCopy, crdxBarDragNoDrop, crdxBarEditSizing})
        EXPECT_TRUE(dxBarHasCursor(id)) << id;
    EXPECT_EQ(dxBarCursor(crdxBarEditSizing).shape(), Qt::SizeHorCursor);
    EXPECT_EQ(dxBarCursor(999).shape(), Qt::ArrowCursor);
}

#include "dxBarRegistry_test.moc"
