// Dock rows: which row a point means, how a row lays its bars out, and the row records.
#include "DockRows.h"

#include <gtest/gtest.h>

using namespace dockrows;

namespace dockrows {
void PrintTo(const TRowHit& h, std::ostream* os)
{
    *os << "row " << h.Row << (h.NewRow ? " new" : "");
}
void PrintTo(const TBand& b, std::ostream* os)
{
    *os << "[" << b.Start << "," << b.End << ")";
}
void PrintTo(const TRowPlace& p, std::ostream* os)
{
    *os << "pos " << p.Pos << " len " << p.Length << " thick " << p.Thickness << (p.Truncated ? " truncated" : "");
}
}  // namespace dockrows

namespace {

TDock Dock(TdxBarDockingStyle style, int width = 400, int height = 52)
{
    return {style, width, height};
}

// A single-line bar of fixed thickness.
TRowBar Bar(int requested, int minLength, int fullLength, int thickness = 26)
{
    TRowBar bar;
    bar.Requested = requested;
    bar.MinLength = minLength;
    bar.FullLength = fullLength;
    bar.FullThickness = thickness;
    bar.MarkExists = true;
    return bar;
}

std::vector<int> Positions(const TRowLayout& row)
{
    std::vector<int> pos;
    for (const TRowPlace& p : row.Bars) pos.push_back(p.Pos);
    return pos;
}

std::vector<int> Lengths(const TRowLayout& row)
{
    std::vector<int> len;
    for (const TRowPlace& p : row.Bars) len.push_back(p.Length);
    return len;
}

const void* Window(int n)
{
    return reinterpret_cast<const void*>(std::uintptr_t(0x1000 + 16 * n));
}

}  // namespace

TEST(DockRowAtPos, TopDockBandsJoinSplitAndOpenRows)
{
    const TDock top = Dock(dsTop);
    const std::vector<int> rows{26, 26};
    // Into row 0: 0..8 joins it, 9..13 opens a new row 1, further on joins row 1.
    EXPECT_EQ(RowAtPos(top, rows, 0), (TRowHit{0, false}));
    EXPECT_EQ(RowAtPos(top, rows, 8), (TRowHit{0, false}));
    EXPECT_EQ(RowAtPos(top, rows, 9), (TRowHit{1, true}));
    EXPECT_EQ(RowAtPos(top, rows, 13), (TRowHit{1, true}));
    EXPECT_EQ(RowAtPos(top, rows, 14), (TRowHit{1, false}));
    // Before the first row: the zone's near part is no hit; then a new first row, then row 0.
    EXPECT_EQ(RowAtPos(top, rows, -20), (TRowHit{0, true}));
    EXPECT_EQ(RowAtPos(top, rows, -14), (TRowHit{0, true}));
    EXPECT_EQ(RowAtPos(top, rows, -9), (TRowHit{0, false}));
    // The last row's far part and beyond: a new last row.
    EXPECT_EQ(RowAtPos(top, rows, 45), (TRowHit{2, true}));
    EXPECT_EQ(RowAtPos(top, rows, 300), (TRowHit{2, true}));
    // An empty dock: a new row 0.
    EXPECT_EQ(RowAtPos(top, {}, 5), (TRowHit{0, true}));
}

TEST(DockRowAtPos, EndSideDocksSplitBeforeTheBandEnd)
{
    const TDock right = Dock(dsRight, 52, 400);
    const std::vector<int> rows{26, 26};
    const TBand row0 = RowBand(right, rows, 0);
    EXPECT_EQ(row0, (TBand{0, 26}));
    EXPECT_EQ(RowBand(right, rows, 0, 1), (TBand{26 - 14, 26 - 9}));
    EXPECT_EQ(RowAtPos(right, rows, 11), (TRowHit{0, false}));
    EXPECT_EQ(RowAtPos(right, rows, 12), (TRowHit{1, true}));
    EXPECT_EQ(RowAtPos(right, rows, 17), (TRowHit{1, false}));
    // While a bar is dragged the rows hang from the far edge.
    TDock dragging = Dock(dsBottom, 400, 60);
    dragging.Dragging = true;
    EXPECT_EQ(RowExtent(dragging, rows, 0), (TBand{8, 34}));
    EXPECT_EQ(RowExtent(dragging, rows, 1), (TBand{34, 60}));
    EXPECT_EQ(RowBand(dragging, rows, -1), (TBand{60 - 52 - 23, 60 - 52}));
}

TEST(DockRowAtPos, InsertPointsLandInTheRowsTheyName)
{
    for (TdxBarDockingStyle style : {dsTop, dsLeft, dsBottom, dsRight}) {
        // Docks are as thick as their rows.
        const TDock dock = Dock(style, 78, 78);
        const std::vector<int> rows{26, 30, 22};
        for (int row = 0; row <= 3; ++row) {
            for (bool atRow : {false, true}) {
                if (row == 3 && !atRow) continue;
                const int across = RowInsertPoint(dock, rows, row, atRow);
                EXPECT_EQ(RowAtPos(dock, rows, across), (TRowHit{row, atRow || row == 3}))
                    << "style " << style << " row " << row << " atRow " << atRow;
            }
        }
    }
}

TEST(DockRowLayout, ARowTooShortSqueezesBarsFromTheRight)
{
    // Three bars of full length 100 (minimum 40) in 250 px.
    std::vector<TRowBar> bars{Bar(0, 40, 100), Bar(100, 40, 100), Bar(200, 40, 100)};
    const TRowLayout row = LayoutRow(bars, 250);
    EXPECT_EQ(Positions(row), (std::vector<int>{0, 100, 200}));
    EXPECT_EQ(Lengths(row), (std::vector<int>{100, 100, 50}));
    EXPECT_TRUE(row.Bars[2].Truncated);
    EXPECT_FALSE(row.Bars[0].Truncated);

    // In 150 px none starts before the minima of the bars before it, and the first bar is
    // stretched to what is left.
    std::vector<TRowBar> tight{Bar(0, 40, 100), Bar(100, 40, 100), Bar(200, 40, 100)};
    const TRowLayout squeezed = LayoutRow(tight, 150);
    EXPECT_EQ(Positions(squeezed), (std::vector<int>{0, 70, 110}));
    EXPECT_EQ(Lengths(squeezed), (std::vector<int>{70, 40, 40}));
    EXPECT_TRUE(squeezed.Bars[0].Truncated);
    EXPECT_TRUE(squeezed.Bars[2].Truncated);
}

TEST(DockRowLayout, ABarWithoutAMarkKeepsRoomForOne)
{
    std::vector<TRowBar> bars{Bar(0, 40, 100), Bar(100, 40, 100)};
    bars[1].MarkExists = false;
    const TRowLayout row = LayoutRow(bars, 120);
    EXPECT_EQ(row.Bars[1].Length, 51);
    EXPECT_EQ(row.Bars[1].Pos, 69);
}

TEST(DockRowLayout, ARowShorterThanABarsMinimumCutsTheBarAtTheRowsEnd)
{
    // A bar whose grip and mark take 21 px, its first item needing 44 px in all.
    struct Case {
        const char* name;
        int length;
        bool mark, wraps;
        TRowPlace expected;
    };
    const Case cases[] = {
        {"cut to the row", 31, true, false, {0, 31, 26, true}},
        {"without a mark of its own", 31, false, false, {0, 31, 26, true}},
        {"never below its grip and mark", 10, true, false, {0, 21, 26, true}},
        {"room for its minimum", 60, true, false, {0, 60, 26, true}},
        {"a wrapping bar keeps its widest item", 31, true, true, {0, 44, 26, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TRowBar> bars{Bar(0, c.mark ? 44 : 33, 181)};
        bars[0].MarkExists = c.mark;
        bars[0].ShortestLength = 21;
        bars[0].Wraps = c.wraps;
        EXPECT_EQ(LayoutRow(bars, c.length).Bars[0], c.expected);
    }
}

TEST(DockRowLayout, FittingRowsKeepRequestedPlacesWithinTheRow)
{
    std::vector<TRowBar> bars{Bar(10, 40, 100), Bar(50, 40, 100), Bar(500, 40, 60)};
    const TRowLayout row = LayoutRow(bars, 400);
    // The last bar is pulled back into the row, the middle one may not overlap the first,
    // and the first gives way to it.
    EXPECT_EQ(Positions(row), (std::vector<int>{0, 100, 340}));
    EXPECT_EQ(Lengths(row), (std::vector<int>{100, 100, 60}));
    for (const TRowPlace& p : row.Bars) EXPECT_FALSE(p.Truncated);
}

TEST(DockRowLayout, ThicknessFollowsTheTallestBarAndWrappingBarsGrowInsteadOfTruncating)
{
    std::vector<TRowBar> bars{Bar(0, 40, 100, 26), Bar(100, 40, 200, 24)};
    bars[1].Wraps = true;
    // The wrapping bar is asked for its thickness at its squeezed length.
    bars[1].ThicknessFor = [](int length, bool truncated) {
        EXPECT_FALSE(truncated);
        return length >= 200 ? 24 : 48;
    };
    TRowLayout row = LayoutRow(bars, 250);
    EXPECT_EQ(row.Thickness, 48);
    EXPECT_FALSE(row.Bars[1].Truncated);
    for (const TRowPlace& p : row.Bars) EXPECT_EQ(p.Thickness, 48);
    row = LayoutRow(bars, 400);
    EXPECT_EQ(row.Thickness, 26);
}

TEST(DockRowLayout, WholeRowBarsAndRestSpace)
{
    // A whole-row bar spans the row and is never shorter than its grip and mark.
    std::vector<TRowBar> whole{Bar(30, 60, 357)};
    whole[0].WholeRow = true;
    whole[0].ShortestLength = 21;
    TRowLayout row = LayoutRow(whole, 500);
    EXPECT_EQ(row.Bars[0], (TRowPlace{0, 500, 26, false}));
    row = LayoutRow(whole, 200);
    EXPECT_TRUE(row.Bars[0].Truncated);
    row = LayoutRow(whole, 10);
    EXPECT_EQ(row.Bars[0].Length, 21);

    std::vector<TRowBar> rest{Bar(0, 40, 100), Bar(100, 40, 100), Bar(300, 40, 50)};
    rest[1].UseRestSpace = true;
    row = LayoutRow(rest, 400);
    EXPECT_EQ(Positions(row), (std::vector<int>{0, 100, 300}));
    EXPECT_EQ(Lengths(row), (std::vector<int>{100, 200, 50}));
}

TEST(DockRowRecords, WholeRowBarsNeverShareARow)
{
    TDockRows rows;
    TDockRows::TInsert in;
    in.Window = Window(1);
    in.WholeRow = true;
    in.At = {0, false};
    rows.Insert(in, {});
    // A bar dropped onto the whole-row bar's row opens a new row.
    in = {};
    in.Window = Window(2);
    in.At = {0, false};
    auto wholeRowAt = [&](int row) { return row == rows.Find(Window(1)).Row; };
    EXPECT_EQ(rows.Insert(in, wholeRowAt).Row, 0);
    EXPECT_EQ(rows.RowCount(), 2);
    EXPECT_EQ(rows.Find(Window(1)).Row, 1);
    // Joining a shared row goes by position along the dock.
    in.Window = Window(3);
    in.Along = 50;
    in.At = {0, false};
    EXPECT_EQ(rows.Insert(in, wholeRowAt).Col, 1);
    in.Window = Window(4);
    in.Along = 10;
    EXPECT_EQ(rows.Insert(in, wholeRowAt).Col, 1);
    EXPECT_EQ(rows.Col(0, 2).Window, Window(3));

    // Removing the last bar of a row removes the row.
    EXPECT_TRUE(rows.Remove(Window(1)));
    EXPECT_EQ(rows.RowCount(), 1);
    EXPECT_FALSE(rows.Remove(Window(1)));
}

TEST(DockRowRecords, StoredRowsAndPositionsStayBounded)
{
    TDockRows rows;
    TDockRows::TInsert in;
    in.Window = Window(1);
    in.Restoring = true;
    in.MaxRows = 5;
    in.At = {2000000000, false};
    in.Along = 2000000000;
    const TDockRows::TPosition at = rows.Insert(in, {});
    EXPECT_EQ(rows.RowCount(), 5);
    EXPECT_EQ(at.Row, 4);
    EXPECT_EQ(rows.Col(4, 0).X, PositionLimit);
    // Out of a restore, a row beyond the end is clamped to a new last row.
    in = {};
    in.Window = Window(2);
    in.At = {99, false};
    in.Along = -70000;
    EXPECT_EQ(rows.Insert(in, {}).Row, 4);
    EXPECT_EQ(rows.Col(4, 0).X, -PositionLimit);
    EXPECT_EQ(rows.RowCount(), 5);
}

TEST(DockThickness, EmptyDocksShrinkToNothing)
{
    EXPECT_EQ(DockThickness({}, true), 0);
    EXPECT_EQ(DockThickness({26, 22}, false), 48);
    EXPECT_EQ(DockThickness({26, 22}, true), 50);
}
