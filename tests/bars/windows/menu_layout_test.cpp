// Menu geometry from numbers: rows, separators, shading of the not-recent rows, scrolling,
// placement on the work area and the frames of the opening animation.
#include "MenuLayout.h"

#include <gtest/gtest.h>

using namespace menulayout;

namespace {

std::vector<TRow> Rows(int count, int height = 20, int width = 80)
{
    std::vector<TRow> rows(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) rows[size_t(i)] = TRow{width, height, false, i};
    return rows;
}

TMenu Menu(int clientHeight, bool flat = false)
{
    TMenu m;
    m.Flat = flat;
    m.ClientWidth = 120;
    m.ClientHeight = clientHeight;
    m.MenuItemHeight = 20;
    m.BeginGroupSize = flat ? 5 : 10;
    return m;
}

}  // namespace

TEST(MenuLayoutTest, RowsStackBelowTheFrameWithSeparatorsAndTheMeasureFitsThem)
{
    std::vector<TRow> rows = Rows(3);
    rows[0].Width = 150;
    rows[0].BeginGroup = true;  // the first row never gets a separator
    rows[2].BeginGroup = true;
    TMenu m = Menu(0);
    m.SideStrip = 12;
    const TResult measured = Layout(m, rows, true);
    EXPECT_EQ(measured.Width, 150 + 12 + 6);
    // Standard look: 2 px above the rows, a 10 px separator, and 4 px of frame below.
    EXPECT_EQ(measured.Height, 2 + 60 + 10 + 4);

    m.ClientWidth = measured.Width - 2;
    m.ClientHeight = measured.Height - 2;
    const TResult r = Layout(m, rows, false);
    ASSERT_EQ(r.Shown, 3);
    EXPECT_EQ(r.Places[0].Rect, TRect(14, 2, m.ClientWidth - 2, 22));
    EXPECT_FALSE(r.Places[0].Separator);
    EXPECT_EQ(r.Places[1].Rect.Top, 22);
    EXPECT_TRUE(r.Places[2].Separator);
    EXPECT_EQ(r.Places[2].Rect.Top, 42 + 10);

    // The flat look: rows from y = 1, 5 px below; an empty menu is 100 wide and as tall as one
    // expand band plus the frame.
    const TResult empty = Layout(Menu(0, true), {}, true);
    EXPECT_EQ(empty.Width, 100);
    EXPECT_EQ(empty.Height, 1 + 20 + 5);
    TMenu withMark = Menu(0, true);
    withMark.MarkExists = true;
    EXPECT_EQ(Layout(withMark, Rows(2), true).Height, 1 + 40 + 20 + 5);
}

TEST(MenuLayoutTest, ExpandedMenusShadeTheRowsPastTheRecentCountWithBoundaries)
{
    std::vector<TRow> rows = Rows(4);
    // Collection order vs recent order: rows 0 and 2 are the two most recently used.
    rows[0].RecentRank = 0;
    rows[1].RecentRank = 2;
    rows[2].RecentRank = 1;
    rows[3].RecentRank = 3;
    TMenu m = Menu(400);
    m.Shading = true;
    m.RecentCount = 2;
    const TResult r = Layout(m, rows, false);
    const bool shaded[] = {false, true, false, true};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(r.Places[size_t(i)].NotRecent, shaded[i]) << i;
    EXPECT_FALSE(r.Places[0].Boundary);
    EXPECT_TRUE(r.Places[1].Boundary);
    EXPECT_TRUE(r.Places[2].Boundary);
    // Each boundary takes a pixel line in the standard look.
    EXPECT_EQ(r.Places[1].Rect.Top, r.Places[0].Rect.Bottom + 1);
    EXPECT_EQ(r.Places[3].Rect.Top, r.Places[2].Rect.Bottom + 1);

    // A count of 0 means that every link is recent: nothing is shaded.
    m.RecentCount = 0;
    for (const TPlace& place : Layout(m, rows, false).Places) {
        EXPECT_FALSE(place.NotRecent);
        EXPECT_FALSE(place.Boundary);
    }
}

TEST(MenuLayoutTest, ARowThatDoesNotFitEndsTheLayoutAndScrollingBringsAnyRowIntoView)
{
    const std::vector<TRow> rows = Rows(10);
    // Room for 4 rows: 2 + 4 * 20 = 82 <= limit = height - 1 - 1.
    TMenu m = Menu(85);
    TResult r = Layout(m, rows, false);
    EXPECT_EQ(r.Shown, 4);
    EXPECT_TRUE(r.Places[4].Rect.IsEmpty());
    EXPECT_TRUE(CanScrollDown(m, r, 10));
    EXPECT_FALSE(CanScrollUp(m));
    EXPECT_FALSE(DownArrowRow(m, r, 10).IsEmpty());

    // The last row comes into view above the last shown row's place, which stops scrolling.
    m.TopIndex = TopIndexFor(m, rows, 9);
    r = Layout(m, rows, false);
    EXPECT_FALSE(CanScrollDown(m, r, 10));
    EXPECT_FALSE(r.Places[9].Rect.IsEmpty());
    EXPECT_EQ(m.TopIndex, LowestTopIndex(m, rows));
    // Back to a row above the top: it comes just under the up arrow.
    m.TopIndex = TopIndexFor(m, rows, 3);
    EXPECT_EQ(m.TopIndex, 2);
    // Out-of-range rows are clamped instead of looping.
    EXPECT_LE(TopIndexFor(m, rows, 50), 9);
    EXPECT_EQ(TopIndexFor(m, rows, -3), 0);

    // Only one or two rows fit (or none): the search still ends.
    for (int height : {0, 10, 25, 45}) {
        TMenu tiny = Menu(height);
        for (int index = 0; index < 10; ++index) {
            const int top = TopIndexFor(tiny, rows, index);
            EXPECT_GE(top, 0);
            EXPECT_LE(top, 9);
        }
    }
}

TEST(MenuLayoutTest, MenusFlipPastTheirOwnerAtTheRightAndBottomEdges)
{
    TPlacement p;
    p.WorkArea = TRect(0, 0, 800, 800);
    p.Width = 150;
    p.Height = 200;

    // A sub menu opened at an owner row's right edge near the screen's right flips left of it.
    p.Left = 720;
    p.Top = 100;
    p.OwnerWidth = 120;
    TPlaced placed = Place(p);
    EXPECT_TRUE(placed.FlippedH);
    EXPECT_EQ(placed.Bounds.Left, 720 - 120 - 150);
    // Without the owner's width it only moves in to end at the edge.
    p.OwnerWidth = 0;
    placed = Place(p);
    EXPECT_FALSE(placed.FlippedH);
    EXPECT_EQ(placed.Bounds.Right, 800);

    // A menu below a menu-bar title near the bottom opens above the title when there is more
    // room there.
    p.Left = 10;
    p.Top = 700;
    p.OwnerHeight = 20;
    placed = Place(p);
    EXPECT_TRUE(placed.FlippedV);
    EXPECT_EQ(placed.Bounds.Bottom, 680);
    // With more room below it is cut to the work area and scrolls, but keeps three rows.
    p.Top = 150;
    p.Height = 900;
    p.MinScrollHeight = 70;
    placed = Place(p);
    EXPECT_FALSE(placed.FlippedV);
    EXPECT_EQ(placed.Bounds.Top, 150);
    EXPECT_EQ(placed.Bounds.Bottom, 800);
    p.Top = 790;
    p.OwnerHeight = 0;
    p.OwnerWidth = 100;  // a child menu moves up to end at the work area's bottom
    p.Height = 200;
    placed = Place(p);
    EXPECT_EQ(placed.Bounds.Bottom, 800);
    EXPECT_EQ(placed.Bounds.Height(), 200);

    // A popup at a point without an owner opens upwards from there.
    p.OwnerWidth = 0;
    p.Top = 750;
    placed = Place(p);
    EXPECT_TRUE(placed.FlippedV);
    EXPECT_EQ(placed.Bounds.Top, 550);
    // A menu taller than the work area is cut to it.
    p.Top = 0;
    p.Height = 2000;
    placed = Place(p);
    EXPECT_EQ(placed.Bounds.Top, 0);
    EXPECT_EQ(placed.Bounds.Height(), 800);
}

TEST(MenuLayoutTest, AnimationFramesRevealTheMenuFromItsOpeningCorner)
{
    const TAnimationFrames slide = Frames(TAnimation::Slide, 100, 60);
    EXPECT_EQ(slide.Count(), 3);
    EXPECT_EQ(FrameSize(slide, 1), QSize(100, 17));
    EXPECT_EQ(FrameSize(slide, 3), QSize(100, 51));
    // Under 17 px there are no intermediate frames: the menu shows at full size.
    EXPECT_EQ(Frames(TAnimation::Slide, 100, 16).Count(), 0);

    // Unfolding a tall menu starts as a strip as high as the excess and grows both ways.
    const TAnimationFrames tall = Frames(TAnimation::Unfold, 40, 100);
    EXPECT_EQ(tall.Count(), 5);
    EXPECT_EQ(FrameSize(tall, 1), QSize(8, 68));
    const TAnimationFrames wide = Frames(TAnimation::Unfold, 100, 40);
    EXPECT_EQ(FrameSize(wide, 2), QSize(76, 16));
    EXPECT_EQ(Frames(TAnimation::Unfold, 7, 7).Count(), 0);

    // Growing up and left keeps the final bottom and right edges.
    const TRect final = TRect::Bounds(200, 300, 104, 64);
    EXPECT_EQ(FrameBounds(final, {100, 17}, {4, 4}, false, false), TRect::Bounds(200, 300, 104, 21));
    EXPECT_EQ(FrameBounds(final, {50, 17}, {4, 4}, true, true), TRect(304 - 54, 364 - 21, 304, 364));
}
