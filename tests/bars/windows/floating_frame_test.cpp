// Floating toolbar geometry from numbers: what a point of the window means, how an edge drag
// snaps, how a floating window is kept within reach of one or two screens, and the size grip
// of a bottom bar without border.
#include "FloatingFrame.h"
#include "FloatingWorkArea.h"
#include "SizeGrip.h"

#include <gtest/gtest.h>

using namespace floatingframe;

namespace {

TFloatFrame Standard()
{
    TFloatFrame f;
    f.FrameWidth = f.FrameHeight = 4;
    f.CaptionHeight = 15;
    return f;
}

TFloatFrame Flat()
{
    TFloatFrame f;
    f.FrameWidth = f.FrameHeight = 3;
    f.CaptionHeight = 15;
    f.Flat = true;
    return f;
}

// Items of 20 x 20 that wrap: a client width holds width / 20 of them per row.
TSize ForWidth(int width, int items)
{
    const int perRow = std::clamp(width / 20, 1, items);
    return {perRow * 20, ((items + perRow - 1) / perRow) * 20};
}
TSize ForHeight(int height, int items)
{
    const int rows = std::clamp(height / 20, 1, items);
    const int perRow = (items + rows - 1) / rows;
    return {perRow * 20, ((items + perRow - 1) / perRow) * 20};
}

const std::vector<TMonitorInfo> OneScreen{{{0, 0, 1024, 768}, {0, 0, 1024, 740}}};
const std::vector<TMonitorInfo> TwoScreens{{{0, 0, 1024, 768}, {0, 0, 1024, 740}},
                                           {{1024, 0, 2304, 1024}, {1024, 0, 2304, 1024}}};

}  // namespace

TEST(FloatingFrame, NonClientRoomMatchesTheClientRectangle)
{
    for (const TFloatFrame& f : {Standard(), Flat()}) {
        const TRect c = f.ClientRect(200, 100);
        EXPECT_EQ(200 - c.Width(), f.NCWidth());
        EXPECT_EQ(100 - c.Height(), f.NCHeight());
        EXPECT_EQ(f.WindowSize({c.Width(), c.Height()}), (TSize{200, 100}));
        // The caption lies between the frame and the client area; the close button ends it.
        EXPECT_EQ(f.CaptionRect(200).Bottom, f.FrameHeight + f.CaptionHeight);
        EXPECT_LE(f.CaptionRect(200).Bottom, c.Top);
        EXPECT_EQ(f.CloseButtonRect(200).Right, f.CaptionRect(200).Right);
        EXPECT_EQ(f.CloseButtonRect(200).Width(), f.CaptionHeight);
    }
    // The flat look leaves its 2-px shadow outside the frame.
    EXPECT_EQ(Flat().Outer(200, 100), TRect(0, 0, 198, 98));
    TFloatFrame noClose = Flat();
    noClose.ShowsCloseButton = false;
    EXPECT_TRUE(noClose.CloseButtonRect(200).IsEmpty());
    EXPECT_EQ(noClose.TextRect(200).Right, noClose.CaptionRect(200).Right);
}

TEST(FloatingFrame, HitTestGivesEdgesCaptionCloseButtonAndClient)
{
    const TFloatFrame f = Standard();
    const int w = 200, h = 100;
    auto hit = [&](int x, int y, bool overItem = false) { return FloatingHitTest(f, w, h, {x, y}, overItem, false); };
    EXPECT_EQ(hit(1, 50), (THit{HTLEFT, HTLEFT}));
    EXPECT_EQ(hit(w - 1, 50), (THit{HTRIGHT, HTRIGHT}));
    EXPECT_EQ(hit(100, 0), (THit{HTTOP, HTTOP}));
    EXPECT_EQ(hit(100, h - 1), (THit{HTBOTTOM, HTBOTTOM}));
    // Corners size one edge: the one along the top or bottom.
    EXPECT_EQ(hit(0, 0).Code, HTTOP);
    EXPECT_EQ(hit(w - 1, h - 1).Code, HTBOTTOM);
    // The caption and the empty client area are the drag handle; the window takes the
    // press itself.
    EXPECT_EQ(hit(30, 10), (THit{HTCLIENT, HTCAPTION}));
    const TRect client = f.ClientRect(w, h);
    EXPECT_EQ(hit(client.Left + 5, client.Top + 5), (THit{HTCLIENT, HTCAPTION}));
    // An item keeps its press.
    EXPECT_EQ(hit(client.Left + 5, client.Top + 5, true), (THit{HTCLIENT, HTCLIENT}));
    // The close button: a non-client button in the standard look, the window's own in the flat.
    const TRect close = f.CloseButtonRect(w);
    EXPECT_EQ(hit(close.Left + 2, close.Top + 2), (THit{HTCLOSE, HTCLOSE}));
    const TFloatFrame flat = Flat();
    const TRect flatClose = flat.CloseButtonRect(w);
    EXPECT_EQ(FloatingHitTest(flat, w, h, {flatClose.Left + 2, flatClose.Top + 2}, false, false),
              (THit{HTCLIENT, HTCLOSE}));
    // The shadow is no part of the window.
    EXPECT_EQ(FloatingHitTest(flat, w, h, {w - 1, h - 1}, false, false).Code, HTNOWHERE);
}

TEST(FloatingFrame, EdgeDragsSnapToTheSizesTheItemsAllowAndCornersKeepTheRectangle)
{
    const TFloatFrame f = Standard();
    const int items = 6;
    auto forWidth = [&](int width) { return ForWidth(width, items); };
    auto forHeight = [&](int height) { return ForHeight(height, items); };
    const TRect work(0, 0, 1024, 740);
    const TSize one = f.WindowSize(ForWidth(120, items));
    const TRect current = TRect::Bounds(100, 100, one.X, one.Y);  // one row of six

    // Dragging the right edge 50 px in leaves 70 px: three items a row, two rows.
    TRect dragged = current;
    dragged.Right -= 50;
    TRect r = SizingRect(f, HTRIGHT, dragged, current, work, forWidth, forHeight);
    EXPECT_EQ(r.Left, current.Left);
    EXPECT_EQ(r.Top, current.Top);
    EXPECT_EQ(r.Width(), 60 + f.NCWidth());
    EXPECT_EQ(r.Height(), 40 + f.NCHeight());

    // The left edge moves and the right one stays.
    dragged = current;
    dragged.Left += 50;
    r = SizingRect(f, HTLEFT, dragged, current, work, forWidth, forHeight);
    EXPECT_EQ(r.Right, current.Right);
    EXPECT_EQ(r.Width(), 60 + f.NCWidth());

    // The bottom edge pulled down to three rows' height: two items a row.
    dragged = current;
    dragged.Bottom += 40;
    r = SizingRect(f, HTBOTTOM, dragged, current, work, forWidth, forHeight);
    EXPECT_EQ(r.Top, current.Top);
    EXPECT_EQ(r.Width(), 40 + f.NCWidth());
    EXPECT_EQ(r.Height(), 60 + f.NCHeight());
    // The top edge moves and the bottom stays.
    dragged = current;
    dragged.Top -= 40;
    r = SizingRect(f, HTTOP, dragged, current, work, forWidth, forHeight);
    EXPECT_EQ(r.Bottom, current.Bottom);

    // A corner changes nothing.
    dragged = current.Inflated(30, 30);
    EXPECT_EQ(SizingRect(f, HTBOTTOMRIGHT, dragged, current, work, forWidth, forHeight), current);
    EXPECT_EQ(SizingRect(f, HTTOPLEFT, dragged, current, work, forWidth, forHeight), current);
}

TEST(FloatingFrame, SizingStopsAtTheWorkAreaAndTheTopStaysBelowMinus15)
{
    const TFloatFrame f = Standard();
    auto forWidth = [](int width) { return ForWidth(width, 40); };
    auto forHeight = [](int height) { return ForHeight(height, 40); };
    const TRect work(0, 0, 400, 300);
    const TRect current = TRect::Bounds(200, 50, 100 + f.NCWidth(), 160 + f.NCHeight());
    TRect dragged = current;
    dragged.Right += 500;  // far past the work area
    TRect r = SizingRect(f, HTRIGHT, dragged, current, work, forWidth, forHeight);
    EXPECT_LE(r.Right, work.Right);

    // A window whose snapped height would lift its top above -15 is moved down.
    const TRect high = TRect::Bounds(10, -10, 200 + f.NCWidth(), 20 + f.NCHeight());
    const TRect wide(-1000, -1000, 1000, 1000);
    r = SizingRect(f, HTTOP, {high.Left, high.Top - 300, high.Right, high.Bottom}, high, wide, forWidth, forHeight);
    EXPECT_EQ(r.Top, TopLimit);
}

TEST(FloatingFrame, AFloatingWindowIsClampedOnlyWhenItMeetsNoWorkArea)
{
    // Partly on screen: left alone.
    const TRect partly = TRect::Bounds(-150, 100, 200, 50);
    EXPECT_EQ(KeepReachable(partly, OneScreen), partly);
    // Wholly off each side: brought back to that edge.
    EXPECT_EQ(KeepReachable(TRect::Bounds(-500, 100, 200, 50), OneScreen), TRect::Bounds(0, 100, 200, 50));
    EXPECT_EQ(KeepReachable(TRect::Bounds(2000, 100, 200, 50), OneScreen), TRect::Bounds(824, 100, 200, 50));
    EXPECT_EQ(KeepReachable(TRect::Bounds(100, -300, 200, 50), OneScreen), TRect::Bounds(100, 0, 200, 50));
    // Below the work area (over the panel, too) it ends at the work area's bottom.
    EXPECT_EQ(KeepReachable(TRect::Bounds(100, 745, 200, 20), OneScreen), TRect::Bounds(100, 720, 200, 20));

    // A bar restored on the second screen stays there, though the cursor is on the first.
    const TRect second = TRect::Bounds(1500, 600, 200, 50);
    EXPECT_EQ(KeepReachable(second, TwoScreens), second);
    // Beyond the second screen's right edge it comes back to the second screen, not the first.
    EXPECT_EQ(KeepReachable(TRect::Bounds(2600, 600, 200, 50), TwoScreens), TRect::Bounds(2104, 600, 200, 50));
    // Below the first screen's work area but beside the second: nearest is the first.
    EXPECT_EQ(KeepReachable(TRect::Bounds(100, 900, 200, 50), TwoScreens), TRect::Bounds(100, 690, 200, 50));
}

TEST(FloatingFrame, AWorkAreaChangeMovesAWindowUpThenDownThenLeftThenRight)
{
    const TRect work(0, 0, 1024, 740);
    struct Case {
        const char* what;
        TRect r;
        TRect expected;
    };
    const Case cases[] = {
        {"inside", TRect::Bounds(100, 100, 200, 50), TRect::Bounds(100, 100, 200, 50)},
        {"over the bottom", TRect::Bounds(100, 700, 200, 50), TRect::Bounds(100, 690, 200, 50)},
        {"above the top", TRect::Bounds(100, -20, 200, 50), TRect::Bounds(100, 0, 200, 50)},
        {"taller than the area: its top shows", TRect::Bounds(100, 50, 200, 800), TRect::Bounds(100, 0, 200, 800)},
        {"beyond the right", TRect::Bounds(1000, 100, 200, 50), TRect::Bounds(824, 100, 200, 50)},
        {"wider than the area: its left shows", TRect::Bounds(-30, 100, 1100, 50), TRect::Bounds(0, 100, 1100, 50)},
        {"off a corner", TRect::Bounds(-50, 730, 200, 50), TRect::Bounds(0, 690, 200, 50)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MoveIntoWorkArea(c.r, work), c.expected);
    }
    // Without a work area nothing moves.
    EXPECT_EQ(MoveIntoWorkArea(TRect::Bounds(-50, 730, 200, 50), TRect()), TRect::Bounds(-50, 730, 200, 50));
}

TEST(FloatingFrame, NearestWorkAreaPrefersTheLargestOverlapThenTheClosestScreen)
{
    EXPECT_EQ(NearestWorkArea(TwoScreens, TRect::Bounds(1000, 10, 100, 10)), TwoScreens[1].WorkArea);
    EXPECT_EQ(NearestWorkArea(TwoScreens, TRect::Bounds(900, 10, 100, 10)), TwoScreens[0].WorkArea);
    EXPECT_EQ(NearestWorkArea(TwoScreens, TRect::Bounds(1500, 2000, 10, 10)), TwoScreens[1].WorkArea);
    EXPECT_EQ(NearestWorkArea({}, TRect::Bounds(0, 0, 1, 1)), TRect());
    // A docking rectangle widens a horizontal dock all round and a vertical one only sideways.
    EXPECT_EQ(DockingRect({0, 0, 100, 10}, true, 23), TRect(-23, -23, 123, 33));
    EXPECT_EQ(DockingRect({0, 0, 10, 100}, false, 23), TRect(-23, 0, 33, 100));
}

TEST(SizeGripTest, TheGripShowsOnlyWhenEveryWindowEndsAtItsParentsCornerAndKeepsTheFormUsable)
{
    using sizegrip::TChainLink;
    // The bar's window in its dock, the dock in the form.
    const TChainLink bar{TRect(0, 0, 600, 24), 600, 24};
    const TChainLink dock{TRect(0, 376, 600, 400), 600, 400};
    EXPECT_TRUE(sizegrip::ReachesLowerRight({bar, dock}));
    // A bar short of the dock's right end, or a dock above the form's bottom.
    EXPECT_FALSE(sizegrip::ReachesLowerRight({{TRect(0, 0, 580, 24), 600, 24}, dock}));
    EXPECT_FALSE(sizegrip::ReachesLowerRight({bar, {TRect(0, 350, 600, 374), 600, 400}}));
    EXPECT_FALSE(sizegrip::ReachesLowerRight({}));

    const TRect form = TRect::Bounds(100, 100, 600, 400);
    EXPECT_EQ(sizegrip::TrackedBounds(form, 40, -30), TRect::Bounds(100, 100, 640, 370));
    // Dragged far up and left the form stops at the smallest size; a form already smaller
    // than that does not grow by itself.
    EXPECT_EQ(sizegrip::TrackedBounds(form, -900, -900),
              TRect::Bounds(100, 100, sizegrip::MinTrackWidth, sizegrip::MinTrackHeight));
    EXPECT_EQ(sizegrip::TrackedBounds(TRect::Bounds(0, 0, 50, 20), -10, 5), TRect::Bounds(0, 0, 50, 25));
}
