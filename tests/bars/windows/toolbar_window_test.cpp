// Docked toolbar windows: the dock takes their rows' thickness, items stand after the grip,
// and a click on a button clicks it.
#include "BarWindowFixture.h"
#include "dxBarControl.h"
#include "dxBarDockControls.h"

using ToolbarWindowTest = BarWindowTest;

TEST_F(ToolbarWindowTest, ADockIsAsThickAsItsRowAndItemsFollowTheGrip)
{
    AddButton("One");
    AddButton("Two");
    bar->ItemLinks()->Items(1)->SetBeginGroup(true);
    TdxBarControl* window = Dock(400);
    ASSERT_NE(window, nullptr);
    const int itemHeight = window->LayoutItems().at(0).Height;
    // The single border takes 2 px round the client and the grip area at its left.
    EXPECT_EQ(window->Height(), itemHeight + 4);
    EXPECT_EQ(dock->Height(), window->Height());
    EXPECT_EQ(window->ClientBounds().Left, 2 + manager->GripAreaSize());
    const QRect first = Link(0)->ItemRect();
    const QRect second = Link(1)->ItemRect();
    EXPECT_EQ(first.left(), 0);
    EXPECT_EQ(second.left(), first.right() + 1 + window->BeginGroupSize());
    // The window is as long as its items, the group gap, the mark and its non-client room.
    EXPECT_TRUE(window->MarkExists());
    EXPECT_EQ(window->Width(), second.right() + 1 + toolbarlayout::MarkRoom + window->NCAlong());

    // Hiding the bar empties the dock.
    bar->SetVisible(false);
    EXPECT_EQ(dock->Height(), 0);
}

TEST_F(ToolbarWindowTest, AShortDockTruncatesTheBarAndAClickReachesTheButton)
{
    for (const char* caption : {"A", "B", "C", "D"}) AddButton(caption);
    TdxBarControl* window = Dock(60);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Truncated());
    EXPECT_TRUE(window->MarkExists());
    EXPECT_TRUE(Link(3)->ItemRect().isEmpty());

    QPointer<TdxBarControl> guard(window);
    const TPoint centre = Link(0)->ItemRect().center();
    window->MouseMove(centre, {});
    EXPECT_EQ(window->SelectedControl(), Link(0)->Control());
    window->LButtonDown(centre, {});
    if (guard) window->LButtonUp(centre, {});
    EXPECT_EQ(clicks, QStringList{"A"});
}
