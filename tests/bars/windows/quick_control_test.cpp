// Quick customization: a toolbar's mark drops down the buttons that did not fit and the
// "Add or Remove Buttons" menu, whose entries show and hide the bar's buttons at once.
#include "MenuWindowFixture.h"
#include "ThreadTimers.h"
#include "dxBarQuickControl.h"

namespace {

class QuickControlTest : public MenuWindowTest {
protected:
    void SetUp() override
    {
        MenuWindowTest::SetUp();
        bar->SetIsMainMenu(false);
        UseManualTimerClock(true);
    }
    void TearDown() override
    {
        if (toolbar) toolbar->SetMarkState(0);
        MenuWindowTest::TearDown();
        UseManualTimerClock(false);
    }
    // A docked toolbar of the buttons, width px long.
    TdxBarControl* DockButtons(const QStringList& captions, int width)
    {
        for (const QString& caption : captions) AddButton(caption);
        toolbar = Dock(width);
        return toolbar;
    }
    TPoint MarkCentre() const { return toolbar->GetMarkRect().ToQRect().center(); }
    TdxBarQuickControl* PressMark()
    {
        toolbar->LButtonDown(MarkCentre(), {});
        if (toolbar) toolbar->LButtonUp(MarkCentre(), {});
        return toolbar ? toolbar->QuickControl() : nullptr;
    }
    static QStringList Captions(TdxBarItemLinks* links)
    {
        QStringList captions;
        for (TdxBarItemLink* link : links->VisibleItems())
            captions << (link->Control() ? link->Control()->GetCaption() : link->Caption());
        return captions;
    }
    // Opens the add-or-remove menu of the drop-down.
    TdxBarSubMenuControl* OpenAddRemoveMenu(TdxBarQuickControl* quick)
    {
        TdxBarItemLinks* links = quick->ItemLinks();
        const TPoint at = Centre(links->Items(links->Count() - 1));
        quick->MouseMove(at, {});
        quick->LButtonDown(at, {});
        quick->LButtonUp(at, {});
        return MenuOf(quick->AddRemoveItem());
    }

    QPointer<TdxBarControl> toolbar;
};

}  // namespace

TEST_F(QuickControlTest, TheMarkDropsDownTheHiddenButtonsThenAddOrRemove)
{
    DockButtons({"A", "B", "C", "D"}, 70);
    ASSERT_TRUE(toolbar->Truncated());
    QStringList hidden;
    for (TdxBarItemLink* link : bar->ItemLinks()->VisibleItems())
        if (link->ItemRect().isEmpty()) hidden << link->Caption();
    ASSERT_FALSE(hidden.isEmpty());

    QPointer<TdxBarQuickControl> quick = PressMark();
    ASSERT_TRUE(quick);
    EXPECT_EQ(dxBarQuickControl(), quick);
    EXPECT_EQ(toolbar->MarkState(), 2);
    EXPECT_EQ(sounds, QStringList{"MenuPopup"});
    EXPECT_EQ(Captions(quick->ItemLinks()), hidden + QStringList{"&Add or Remove Buttons"});
    EXPECT_TRUE(quick->AddRemoveItem()->Enabled());
    EXPECT_TRUE(quick->Visible());
    // Below the mark, ending at its right edge unless the screen's left edge is in the way.
    const TRect mark = toolbar->GetMarkRect();
    const TPoint markBottomRight = toolbar->ClientToScreen({mark.Right, mark.Bottom});
    EXPECT_EQ(quick->BoundsRect().Top, markBottomRight.y());
    EXPECT_EQ(quick->BoundsRect().Left, std::max(0, markBottomRight.x() - quick->Width()));

    // A hidden button clicks from the drop-down, which closes with the click.
    const QString first = hidden.first();
    const TPoint at = Centre(quick->ItemLinks()->Items(0));
    quick->MouseMove(at, {});
    quick->LButtonDown(at, {});
    if (quick) quick->LButtonUp(at, {});
    EXPECT_EQ(clicks, QStringList{first});
    EXPECT_FALSE(quick);
    EXPECT_EQ(toolbar->MarkState(), 0);

    // Pressing the mark again opens a new one; pressing it once more closes it.
    quick = PressMark();
    ASSERT_TRUE(quick);
    PressMark();
    EXPECT_FALSE(quick);
    EXPECT_EQ(dxBarQuickControl(), nullptr);
}

TEST_F(QuickControlTest, ABarWhoseButtonsFitShowsOnlyAddOrRemove)
{
    DockButtons({"A", "B"}, 600);
    ASSERT_FALSE(toolbar->Truncated());
    ASSERT_TRUE(toolbar->MarkExists());
    TdxBarQuickControl* quick = PressMark();
    ASSERT_NE(quick, nullptr);
    EXPECT_EQ(Captions(quick->ItemLinks()), QStringList{"&Add or Remove Buttons"});
}

TEST_F(QuickControlTest, NothingHappensOnAMarkPressInTheStandardStyle)
{
    manager->SetStyle(bmsStandard);
    DockButtons({"A", "B", "C", "D"}, 70);
    ASSERT_TRUE(toolbar->MarkExists());
    const TPoint mark = toolbar->GetMarkRect().ToQRect().center();
    toolbar->MouseMove(mark, {});
    toolbar->LButtonDown(mark, {});
    toolbar->LButtonUp(mark, {});
    EXPECT_EQ(toolbar->MarkState(), 0);
    EXPECT_EQ(dxBarQuickControl(), nullptr);
    EXPECT_TRUE(sounds.isEmpty());
}

TEST_F(QuickControlTest, AddOrRemoveShowsAndHidesButtonsAtOnceWhileItsMenuStaysOpen)
{
    DockButtons({"A", "B", "C"}, 600);
    QPointer<TdxBarQuickControl> quick = PressMark();
    ASSERT_TRUE(quick);
    QPointer<TdxBarSubMenuControl> menu = OpenAddRemoveMenu(quick);
    ASSERT_TRUE(menu);
    // No customizing window is installed: no "&Customize..." entry.
    EXPECT_EQ(Captions(menu->ItemLinks()), (QStringList{"A", "B", "C"}));
    auto* entry = static_cast<TdxBarQuickCustItemControl*>(menu->ItemLinks()->Items(1)->Control());
    EXPECT_EQ(entry->TargetLink(), Link(1));

    ClickRow(menu, 1);
    EXPECT_FALSE(Link(1)->Visible());
    EXPECT_EQ(Captions(bar->ItemLinks()), (QStringList{"A", "C"}));
    EXPECT_TRUE(Link(1)->ItemRect().isEmpty());
    EXPECT_TRUE(menu);
    EXPECT_TRUE(quick);
    EXPECT_TRUE(clicks.isEmpty());

    ClickRow(menu, 1);
    EXPECT_TRUE(Link(1)->Visible());
    EXPECT_EQ(Captions(bar->ItemLinks()), (QStringList{"A", "B", "C"}));
    EXPECT_FALSE(Link(1)->ItemRect().isEmpty());
    EXPECT_TRUE(menu);

    // Closing the chain closes the drop-down and puts the mark back.
    menu->HideAll();
    EXPECT_FALSE(quick);
    EXPECT_EQ(toolbar->MarkState(), 0);
}

TEST_F(QuickControlTest, ABarThatForbidsQuickCustomizingDisablesAddOrRemove)
{
    bar->SetAllowQuickCustomizing(false);
    DockButtons({"A", "B", "C", "D"}, 70);
    ASSERT_TRUE(toolbar->MarkExists());
    TdxBarQuickControl* quick = PressMark();
    ASSERT_NE(quick, nullptr);
    EXPECT_FALSE(quick->AddRemoveItem()->Enabled());
}

TEST_F(QuickControlTest, PointingAtAnotherBarsButtonClosesTheDropDownLater)
{
    DockButtons({"A", "B"}, 600);
    // The mark turns hot under the pointer and hints "More Buttons".
    toolbar->MouseMove(MarkCentre(), {});
    EXPECT_EQ(toolbar->MarkState(), 1);
    QPointer<TdxBarQuickControl> quick = PressMark();
    ASSERT_TRUE(quick);
    toolbar->MouseMove(Centre(Link(0)), {});
    EXPECT_TRUE(dxBarQuickCloseTimerActive());
    AdvanceTimerClock(TdxBarQuickControl::CloseDelay - 1);
    EXPECT_TRUE(quick);
    AdvanceTimerClock(1);
    EXPECT_FALSE(quick);
    EXPECT_EQ(toolbar->MarkState(), 0);
}

TEST(QuickControlBoundsTest, TheDropDownStaysOnTheWorkArea)
{
    const TRect work(0, 0, 800, 800);
    // Below the mark, ending at its right; pushed in at the left; above it at the bottom.
    EXPECT_EQ(quickcontrol::Bounds({300, 10, 311, 30}, 100, 50, false, false, work), TRect(211, 30, 311, 80));
    EXPECT_EQ(quickcontrol::Bounds({20, 10, 31, 30}, 100, 50, false, false, work), TRect(0, 30, 100, 80));
    EXPECT_EQ(quickcontrol::Bounds({300, 780, 311, 800}, 100, 50, false, false, work), TRect(211, 730, 311, 780));
    // A floating flat owner: from the mark's left, ending at the work area's right.
    EXPECT_EQ(quickcontrol::Bounds({750, 10, 765, 25}, 100, 50, false, true, work), TRect(700, 25, 800, 75));
    // A vertical owner: beside the mark, to its left past the right edge, ending at the bottom.
    EXPECT_EQ(quickcontrol::Bounds({0, 300, 20, 311}, 100, 50, true, false, work), TRect(20, 300, 120, 350));
    EXPECT_EQ(quickcontrol::Bounds({780, 770, 800, 781}, 100, 50, true, false, work), TRect(680, 750, 780, 800));
}

TEST_F(QuickControlTest, AddOrRemoveDrawsASmallArrowInItsCornerThatLeavesTheCaptionAlone)
{
    DockButtons({"One", "Two"}, 400);
    TdxBarQuickControl* quick = PressMark();
    ASSERT_NE(quick, nullptr);
    TdxBarItemLink* addRemove = quick->ItemLinks()->Items(quick->ItemLinks()->Count() - 1);
    ASSERT_EQ(addRemove->Item(), quick->AddRemoveItem());
    const TRect item = quick->GetItemRect(addRemove->Control());
    const QImage image = quick->Snapshot();
    const TPoint origin = quick->ClientToScreen({0, 0}) - quick->WindowRect().TopLeft();
    const QRgb ink = SysColor(COLOR_BTNTEXT).rgb() & 0xFFFFFF;
    // The caption's strokes and the arrow are both in the text colour: an arrow sized by the
    // whole item would lie over the caption as long runs of it.
    int longestRun = 0, rightmostInk = -1;
    for (int y = item.Top; y < item.Bottom; ++y) {
        int run = 0;
        for (int x = item.Left; x < item.Right; ++x) {
            const bool isInk = (image.pixel(origin.x() + x, origin.y() + y) & 0xFFFFFF) == ink;
            run = isInk ? run + 1 : 0;
            longestRun = std::max(longestRun, run);
            if (isInk) rightmostInk = std::max(rightmostInk, x);
        }
    }
    EXPECT_LT(longestRun, item.Height() / 2);
    EXPECT_GT(rightmostInk, item.Right - item.Height()) << "no arrow at the right end";
}
