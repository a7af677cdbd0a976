#pragma once
// Geometry of a dock area computed from numbers alone: its rows of docked bars, which row
// and column a point means, how one row lays its bars out (lengths, squeezing when the
// row is too short, positions, thickness) and how thick the dock becomes. The dock control
// keeps a TDockRows for its bar windows and reads these results back.
#include "dxBarTypes.h"

#include <functional>
#include <vector>

namespace dockrows {

// Width of the zone around a dock in which a dragged bar docks.
constexpr int ZoneSize = 23;
// Stored and requested positions stay within this distance of the origin.
constexpr int PositionLimit = 32000;

int ClampPosition(int value);

// The dock as the row geometry needs it.
struct TDock {
    TdxBarDockingStyle Style = dsTop;  // dsLeft .. dsBottom
    int ClientWidth = 0;
    int ClientHeight = 0;
    bool Dragging = false;  // a bar is being dragged: end-side rows count from the far end

    bool Horizontal() const { return Style == dsTop || Style == dsBottom || Style == dsNone; }
    // Left and top docks grow away from the form edge at 0; right and bottom docks towards it.
    bool StartSide() const { return Style == dsLeft || Style == dsTop || Style == dsNone; }
    // The client extent across the dock that end-side rows are measured from.
    int FarEnd() const { return Style == dsRight ? ClientWidth : ClientHeight; }
    int Length() const { return Horizontal() ? ClientWidth : ClientHeight; }
};

// [Start, End) across the dock.
struct TBand {
    int Start = 0;
    int End = 0;
    bool Contains(int v) const { return v >= Start && v < End; }
    bool operator==(const TBand&) const = default;
};

// The sum of the row thicknesses.
int RowsSize(const std::vector<int>& rowThicknesses);
// Row n across the dock; empty for an invalid n.
TBand RowExtent(const TDock& dock, const std::vector<int>& rowThicknesses, int n);
// The band of row r (-1: the zone before the first row, row count: the zone after the last),
// split into its parts 0, 1 (the 5-px band that means a new row) and 2; part -1 is the whole.
TBand RowBand(const TDock& dock, const std::vector<int>& rowThicknesses, int r, int part = -1);

struct TRowHit {
    int Row = 0;
    bool NewRow = false;
    bool operator==(const TRowHit&) const = default;
};
// The row a point across the dock (client co-ordinates) means.
TRowHit RowAtPos(const TDock& dock, const std::vector<int>& rowThicknesses, int across);
// The coordinate across the dock in the middle of where RowAtPos answers row (a new row
// before it when atRow).
int RowInsertPoint(const TDock& dock, const std::vector<int>& rowThicknesses, int row, bool atRow);

// One bar in a row as the row layout needs it. Lengths include the bar window's non-client
// room along the row; thicknesses its room across.
struct TRowBar {
    int Requested = 0;  // the position along the row the bar wants
    int MinLength = 0;  // the smallest length the bar can show itself in
    // A single-line bar in a row shorter than MinLength is cut to the row, but never below
    // this (its grip and its mark): every item then waits behind the mark.
    int ShortestLength = 0;
    int FullLength = 0;     // all items in one line
    int FullThickness = 0;  // the thickness with all items in one line
    bool Wraps = false;     // a multi-line bar: it gets thicker instead of truncated
    bool WholeRow = false;
    bool UseRestSpace = false;
    bool MarkExists = false;
    // The thickness of the bar shown at a length (truncated: the mark shows chevrons).
    std::function<int(int length, bool truncated)> ThicknessFor;
};

struct TRowPlace {
    int Pos = 0;
    int Length = 0;
    int Thickness = 0;
    bool Truncated = false;
    bool operator==(const TRowPlace&) const = default;
};

struct TRowLayout {
    std::vector<TRowPlace> Bars;
    int Thickness = 0;
};

// Lays one row of length out. draggedIndex names the bar being dragged (-1 none); bars
// following it may have their Requested moved out of its way.
TRowLayout LayoutRow(std::vector<TRowBar>& bars, int length, int draggedIndex = -1);

// The rows of bar windows of one dock: each column is one bar window (an opaque key for this
// geometry) with the position it asks for.
struct TDockCol {
    const void* Window = nullptr;
    int X = 0;
    int Y = 0;
};

class TDockRows {
public:
    int RowCount() const { return int(rows_.size()); }
    int ColCount(int row) const { return int(rows_.at(row).size()); }
    const TDockCol& Col(int row, int col) const { return rows_.at(row).at(col); }
    TDockCol& Col(int row, int col) { return rows_.at(row).at(col); }
    const std::vector<TDockCol>& Row(int row) const { return rows_.at(row); }

    // Where a bar with the given wishes goes, and puts it there. With stored (the bar's
    // stored Row and OneOnRow are used, as when a window is created again or the bars are
    // restored) row and newRow come from the bar; otherwise from the point. restoring appends
    // empty rows up to a stored row beyond the last, but never more rows than maxRows.
    // wholeRowAt tells whether a row holds a bar that wants its row to itself. The column
    // goes in at the first column whose position along the dock is not less than along.
    struct TInsert {
        const void* Window = nullptr;
        TRowHit At;  // the row and new-row flag
        bool WholeRow = false;
        bool Restoring = false;
        int MaxRows = 0;
        int Along = 0;  // the point along the dock, client co-ordinates
        bool Horizontal = true;
    };
    struct TPosition {
        int Row = 0;
        int Col = 0;
    };
    TPosition Insert(const TInsert& insert, const std::function<bool(int row)>& wholeRowAt);
    // Takes the first column of window out; an emptied row goes. False when none holds it.
    bool Remove(const void* window);
    // Row and column of window; row -1 when no column holds it.
    TPosition Find(const void* window) const;
    void Clear() { rows_.clear(); }

private:
    std::vector<std::vector<TDockCol>> rows_;
};

// The dock's thickness for its rows: the rows' sum (emptySize without rows), 2 more with a
// sunken border when that is above 0.
int DockThickness(const std::vector<int>& rowThicknesses, bool sunkenBorder, int emptySize = 0);

}  // namespace dockrows
