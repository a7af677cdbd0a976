// Toolbar geometry: where items stand on single-line, wrapping and vertical bars, where a
// wrapping bar breaks its rows, and how big a bar wants to be.
#include "ToolbarLayout.h"

#include <gtest/gtest.h>

using namespace toolbarlayout;

static void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "{" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << "}";
}
namespace toolbarlayout {
void PrintTo(const TSize& s, std::ostream* os)
{
    *os << "(" << s.X << "," << s.Y << ")";
}
}  // namespace toolbarlayout

namespace {

// The flat look's glyph button, its drop-down variant (arrow part 11 px) and a large-icon
// button.
TItem Button(bool beginGroup = false)
{
    return {23, 22, beginGroup};
}
TItem DropDownButton()
{
    return {23 + 11, 22};
}
TItem LargeButton()
{
    return {39, 38};
}

TBar Docked(TdxBarDockingStyle style)
{
    TBar bar;
    bar.Style = style;
    return bar;
}

std::vector<TRect> Rects(const TItemRects& layout)
{
    std::vector<TRect> rects;
    for (const TPlace& p : layout.Places) rects.push_back(p.Rect);
    return rects;
}

std::vector<int> LastInRow(const TItemRects& layout)
{
    std::vector<int> last;
    for (int i = 0; i < int(layout.Places.size()); ++i)
        if (layout.Places[i].LastInRow) last.push_back(i);
    return last;
}

}  // namespace

TEST(ToolbarItemRects, SingleLineButtonsFollowEachOtherWithGroupGapsCentredAcross)
{
    const TBar bar = Docked(dsTop);
    // A group start as the first item gets no gap; later ones get the 5-px gap.
    const std::vector<TItem> items{Button(true), Button(), Button(true), DropDownButton(), LargeButton()};
    const TItemRects layout = CalcItemRects(bar, items, 400, 40);
    EXPECT_EQ(
        Rects(layout),
        (std::vector<TRect>{{0, 9, 23, 31}, {23, 9, 46, 31}, {51, 9, 74, 31}, {74, 9, 108, 31}, {108, 1, 147, 39}}));
    EXPECT_EQ(LastInRow(layout), std::vector<int>{4});
    EXPECT_FALSE(layout.Truncated);
    // The hit rectangle spans the client across.
    EXPECT_EQ(ItemRect(bar, layout.Places[0]), (TRect{0, 0, 23, 40}));
}

TEST(ToolbarItemRects, SingleLineShowsOnlyWhatFitsBeforeTheMark)
{
    TBar bar = Docked(dsTop);
    bar.MarkExists = true;
    // 60 px less the mark's 11 leaves room for two buttons.
    TItemRects layout = CalcItemRects(bar, {Button(), Button(), Button()}, 60, 22);
    EXPECT_FALSE(layout.Places[1].Rect.IsEmpty());
    EXPECT_TRUE(layout.Places[2].Rect.IsEmpty());
    EXPECT_EQ(LastInRow(layout), std::vector<int>{1});

    // Caption buttons take their room too.
    bar.MarkExists = false;
    bar.HasCaptionButtons = true;
    bar.CaptionButtonsWidth = 16;
    layout = CalcItemRects(bar, {Button(), Button(), Button()}, 62, 22);
    EXPECT_TRUE(layout.Places[2].Rect.IsEmpty());

    // Without a mark the first item stands even when it is longer than the bar; with one it
    // waits behind the mark too.
    layout = CalcItemRects(Docked(dsTop), {LargeButton(), Button()}, 20, 38);
    EXPECT_EQ(layout.Places[0].Rect, (TRect{0, 0, 39, 38}));
    EXPECT_TRUE(layout.Places[1].Rect.IsEmpty());
    bar = Docked(dsTop);
    bar.MarkExists = true;
    layout = CalcItemRects(bar, {Button(), Button()}, 30, 22);
    EXPECT_TRUE(layout.Places[0].Rect.IsEmpty());
    EXPECT_TRUE(layout.Places[1].Rect.IsEmpty());
}

TEST(ToolbarItemRects, AlignedItemsEndTheRow)
{
    TBar bar = Docked(dsTop);
    bar.MarkExists = true;
    TItem right = Button();
    right.Align = iaRight;
    // A right-aligned item sits against the mark; what follows is hidden.
    TItemRects layout = CalcItemRects(bar, {Button(), right, Button()}, 200, 22);
    EXPECT_EQ(layout.Places[1].Rect, (TRect{189 - 23, 0, 189, 22}));
    EXPECT_TRUE(layout.Places[2].Rect.IsEmpty());
    EXPECT_TRUE(layout.Truncated);
    // As the last item it truncates nothing.
    EXPECT_FALSE(CalcItemRects(bar, {Button(), right}, 200, 22).Truncated);

    TItem centre = Button();
    centre.Align = iaCenter;
    layout = CalcItemRects(Docked(dsTop), {Button(), centre}, 123, 22);
    EXPECT_EQ(layout.Places[1].Rect.Left, 23 + (123 - 46) / 2);

    // A client-aligned item stretches to the end, but not below its minimum.
    TItem client{100, 22};
    client.Align = iaClient;
    client.MinLength = 60;
    layout = CalcItemRects(Docked(dsTop), {Button(), client}, 300, 22);
    EXPECT_EQ(layout.Places[1].Rect, (TRect{23, 0, 300, 22}));
    client.Width = 30;
    layout = CalcItemRects(Docked(dsTop), {Button(), client}, 70, 22);
    EXPECT_EQ(layout.Places[1].Rect.Width(), 60);
}

TEST(ToolbarItemRects, VerticalBarsStackDownwardsAndWrapFromTheRightEdge)
{
    const TBar left = Docked(dsLeft);
    TItemRects layout = CalcItemRects(left, {Button(), Button(true), {20, 22}}, 26, 200);
    EXPECT_EQ(Rects(layout), (std::vector<TRect>{{1, 0, 24, 22}, {1, 27, 24, 49}, {3, 49, 23, 71}}));
    EXPECT_EQ(ItemRect(left, layout.Places[2]), (TRect{0, 49, 26, 71}));

    // A multi-line vertical bar fills its first column at the right edge, centring narrower
    // items in their column.
    TBar multi = Docked(dsLeft);
    multi.MultiLine = true;
    layout = CalcItemRects(multi, {Button(), {20, 22}, Button(), Button()}, 60, 50);
    EXPECT_EQ(Rects(layout),
              (std::vector<TRect>{{37, 0, 60, 22}, {39, 22, 59, 44}, {14, 0, 37, 22}, {14, 22, 37, 44}}));
    EXPECT_EQ(LastInRow(layout), (std::vector<int>{1, 3}));
    EXPECT_EQ(layout.Places[1].RowThickness, 23);
}

TEST(ToolbarItemRects, WrappingRowsTakeTheirTallestItemAndTheGroupGapBetweenRows)
{
    const TBar floating = Docked(dsNone);
    const std::vector<TItem> items{Button(), LargeButton(), Button(true), Button()};
    const TItemRects layout = CalcItemRects(floating, items, 70, 200);
    // Row 1: the button centred on the large one; the group start breaks into row 2 and its
    // gap lies between the rows.
    EXPECT_EQ(Rects(layout), (std::vector<TRect>{{0, 8, 23, 30}, {23, 0, 62, 38}, {0, 43, 23, 65}, {23, 43, 46, 65}}));
    EXPECT_EQ(LastInRow(layout), (std::vector<int>{1, 3}));
    EXPECT_EQ(ItemRect(floating, layout.Places[0]), (TRect{0, 0, 23, 38}));
}

TEST(ToolbarWrapSize, RowsBreakAtGroupStartsAndASplitGroupStartsTheNextGroupOnAFreshRow)
{
    const TBar floating = Docked(dsNone);
    // Groups of 2 and 3 buttons; 100 px hold four buttons with the gap.
    const std::vector<TItem> groups{Button(), Button(), Button(true), Button(), Button()};
    std::vector<bool> breaks;
    TSize size = CalcWrapSize(floating, groups, false, 100, {23, 22}, breaks);
    EXPECT_EQ(breaks, (std::vector<bool>{false, false, true, false, false}));
    // The group gap lies between the rows.
    EXPECT_EQ(size, (TSize{69, 22 + 5 + 22}));
    // The layout follows the search's breaks.
    const TItemRects layout = CalcItemRects(floating, groups, size.X, size.Y, breaks);
    EXPECT_EQ(layout.Places[2].Rect, (TRect{0, 27, 23, 49}));
    EXPECT_EQ(layout.Places[4].Rect, (TRect{46, 27, 69, 49}));

    // One group too long for a row breaks inside; the group after it starts a new row even
    // though it would fit behind.
    const std::vector<TItem> longGroup{Button(), Button(), Button(), Button(), Button(true)};
    size = CalcWrapSize(floating, longGroup, false, 75, {23, 22}, breaks);
    EXPECT_EQ(breaks, (std::vector<bool>{false, false, false, true, true}));
    EXPECT_EQ(size, (TSize{69, 22 + 22 + 5 + 22}));

    // Without items the size stays as it came.
    EXPECT_EQ(CalcWrapSize(floating, {}, false, 75, {23, 22}, breaks), (TSize{23, 22}));
}

TEST(ToolbarSeparators, AGroupStartGetsItsBandBeforeItInItsRowOrAcrossTheGapAboveItsRow)
{
    // Groups of two buttons that wrap: each group starts a row or column.
    const std::vector<TItem> items{Button(), Button(), Button(true), Button(), Button(true)};
    TBar docked = Docked(dsTop);
    docked.MultiLine = true;
    docked.MarkExists = true;
    TBar left = Docked(dsLeft);
    left.MultiLine = true;
    struct Case {
        const char* name;
        TBar bar;
        int along;  // the client's length along the bar, room for two or four buttons
    };
    const Case cases[] = {
        {"floating", Docked(dsNone), 60},
        {"docked with a mark", docked, 60 + MarkRoom},
        {"vertical", left, 60},
        {"floating, a group inside a row", Docked(dsNone), 110},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool vertical = c.bar.Vertical();
        const int clientWidth = vertical ? 200 : c.along, clientHeight = vertical ? c.along : 200;
        const int length = c.along - (c.bar.MarkExists ? MarkRoom : 0);
        const TItemRects layout = CalcItemRects(c.bar, items, clientWidth, clientHeight);
        for (int i : {2, 4}) {
            SCOPED_TRACE(i);
            const TSeparator s = GroupSeparator(c.bar, layout.Places[i], clientWidth, clientHeight);
            const TRect before = ItemRect(c.bar, layout.Places[i - 1]);
            const TRect item = ItemRect(c.bar, layout.Places[i]);
            const bool rowStart = (vertical ? layout.Places[i].Rect.Top : layout.Places[i].Rect.Left) == 0;
            if (!rowStart) {
                // Between the item before and this one, across the row.
                EXPECT_EQ(s.Band, vertical ? TRect(item.Left, before.Bottom, item.Right, item.Top)
                                           : TRect(before.Right, item.Top, item.Left, item.Bottom));
                EXPECT_EQ(s.Band.Width() * s.Band.Height(),
                          c.bar.BeginGroupSize * (vertical ? item.Width() : item.Height()));
                EXPECT_EQ(s.Horizontal, vertical);
                continue;
            }
            // Exactly the gap between the row before and this row, along the whole bar but
            // the mark.
            EXPECT_EQ(s.Band,
                      vertical ? TRect(item.Right, 0, before.Left, length) : TRect(0, before.Bottom, length, item.Top));
            EXPECT_EQ(vertical ? s.Band.Width() : s.Band.Height(), c.bar.BeginGroupSize);
            EXPECT_EQ(s.Horizontal, !vertical);
        }
    }
    // An item without a place gets no band.
    EXPECT_TRUE(GroupSeparator(Docked(dsNone), TPlace{}, 60, 60).Band.IsEmpty());
}

TEST(ToolbarExtents, MinimaAndMaximaCountGroupsMarksAndCaptionButtons)
{
    TBar bar = Docked(dsTop);
    const std::vector<TItem> items{Button(), LargeButton(), Button(true)};
    EXPECT_EQ(GetMinWidth(bar, items, dsTop), 23);
    EXPECT_EQ(GetMaxWidth(bar, items, dsTop), 23 + 39 + 5 + 23);
    EXPECT_EQ(GetMinHeight(bar, items, dsTop), 38);
    EXPECT_EQ(GetMaxHeight(bar, items, dsTop), 38);

    bar.MarkExists = true;
    EXPECT_EQ(GetMinWidth(bar, items, dsTop), 23 + 11);
    EXPECT_EQ(GetMaxWidth(bar, items, dsTop), 90 + 11);

    // A bar without items measures to the standard item.
    const TBar empty = Docked(dsTop);
    EXPECT_EQ(GetMinWidth(empty, {}, dsTop), 23);
    EXPECT_EQ(GetMinHeight(empty, {}, dsTop), 22);
    EXPECT_EQ(CalcSizeForWidth(empty, {}, dsTop, 300).Size, (TSize{23, 22}));

    // The menu bar's close button adds its width.
    TBar menu = Docked(dsTop);
    menu.HasCaptionButtons = true;
    menu.CaptionButtonsWidth = 16;
    menu.CaptionButtonsHeight = 14;
    EXPECT_EQ(GetMaxWidth(menu, items, dsTop), 90 + 16);
}

TEST(ToolbarSizeForWidth, DockedRowsMeasureTheirItemsAndTheMark)
{
    TBar bar = Docked(dsTop);
    bar.MarkExists = true;
    const std::vector<TItem> items{Button(), Button(), Button(true), DropDownButton()};
    TSizeResult result = CalcSizeForWidth(bar, items, dsTop, 500);
    EXPECT_EQ(result.Size, (TSize{23 + 23 + 5 + 23 + 34 + 11, 22}));
    EXPECT_EQ(result.RecentLimit, -1);
    // Narrower than the items: the measure stops at the first item that does not fit.
    result = CalcSizeForWidth(bar, items, dsTop, 60);
    EXPECT_EQ(result.Size, (TSize{46 + 11, 22}));

    // Vertical single line: as wide as the widest item, as high as all of them.
    const TBar left = Docked(dsLeft);
    EXPECT_EQ(CalcSizeForHeight(left, items, dsLeft, 500).Size, (TSize{34, 22 * 4 + 5}));
}

TEST(ToolbarSizeForWidth, RecentItemsShowAsManyOfTheMostRecentAsFitAndStopWhenAllFit)
{
    TBar bar = Docked(dsTop);
    bar.UsesRecentItems = true;
    std::vector<TItem> items;
    for (int rank : {2, 0, 3, 1}) {
        TItem item = Button();
        item.RecentRank = rank;
        items.push_back(item);
    }
    // Everything fits: the limit is the number of items, and the search ends.
    TSizeResult result = CalcSizeForWidth(bar, items, dsTop, 1000);
    EXPECT_EQ(result.RecentLimit, 4);
    EXPECT_EQ(result.Size.X, 92);
    // Room for two: the two most recently used.
    result = CalcSizeForWidth(bar, items, dsTop, 50);
    EXPECT_EQ(result.RecentLimit, 2);
    EXPECT_EQ(result.Size.X, 46);
    const std::vector<TItem> shown = VisibleUnderLimit(items, result.RecentLimit);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].RecentRank, 0);
    EXPECT_EQ(shown[1].RecentRank, 1);
    // Even no room shows the most recent one.
    EXPECT_EQ(CalcSizeForWidth(bar, items, dsTop, 1).RecentLimit, 1);
}

TEST(ToolbarSizeForWidth, WrappingBarsTradeHeightForWidthAndTheSearchEnds)
{
    // A floating bar of six buttons: the narrower, the more rows.
    const TBar floating = Docked(dsNone);
    const std::vector<TItem> six(6, Button());
    EXPECT_EQ(CalcSizeForWidth(floating, six, dsNone, 1000).Size, (TSize{138, 22}));
    EXPECT_EQ(CalcSizeForWidth(floating, six, dsNone, 70).Size, (TSize{69, 44}));
    EXPECT_EQ(CalcSizeForWidth(floating, six, dsNone, 10).Size, (TSize{23, 132}));
    // Asked for a height, the first width whose rows reach it.
    EXPECT_EQ(CalcSizeForHeight(floating, six, dsNone, 50).Size, (TSize{46, 66}));

    // A multi-line vertical bar asked for more width than it can ever use stops once its
    // height no longer shrinks.
    TBar multi = Docked(dsLeft);
    multi.MultiLine = true;
    EXPECT_EQ(CalcSizeForWidth(multi, six, dsLeft, 100000).Size, (TSize{138, 22}));
    EXPECT_EQ(CalcSizeForWidth(multi, six, dsLeft, 46).Size, (TSize{46, 110}));
}

TEST(ToolbarMarkRect, DockedMarksSitAtTheEndOfTheBar)
{
    EXPECT_EQ(MarkRect(dsTop, false, 100, 22), (TRect{89, 0, 100, 22}));
    EXPECT_EQ(MarkRect(dsTop, true, 100, 22), (TRect{89, 0, 100, 9}));
    EXPECT_EQ(MarkRect(dsLeft, false, 24, 200), (TRect{0, 189, 24, 200}));
    EXPECT_EQ(MarkRect(dsRight, true, 24, 200), (TRect{15, 189, 24, 200}));
}

TEST(ToolbarGrabOffset, ScalesToTheNewShapeAndZeroSizedWindowsGiveZero)
{
    EXPECT_EQ(ScaleGrabOffset({200, 30}, 50, 100, 10, 20), (TSize{100, 15}));
    EXPECT_EQ(ScaleGrabOffset({200, 30}, 50, 0, 10, 0), (TSize{0, 0}));
}
