// Dock rows: bands, row hits, one row's layout, and the row records.
#include "DockRows.h"

#include <algorithm>
#include <numeric>

namespace dockrows {

int ClampPosition(int value)
{
    return std::clamp(value, -PositionLimit, PositionLimit);
}

int RowsSize(const std::vector<int>& rowThicknesses)
{
    return std::accumulate(rowThicknesses.begin(), rowThicknesses.end(), 0);
}

TBand RowExtent(const TDock& dock, const std::vector<int>& rowThicknesses, int n)
{
    const int count = int(rowThicknesses.size());
    if (n < 0 || n >= count) return {};
    if (dock.Dragging && !dock.StartSide()) {
        // While a bar is dragged the rows of an end-side dock hang from its far end.
        int end = dock.FarEnd();
        for (int k = count - 1; k > n; --k) end -= rowThicknesses[k];
        return {end - rowThicknesses[n], end};
    }
    int start = 0;
    for (int k = 0; k < n; ++k) start += rowThicknesses[k];
    return {start, start + rowThicknesses[n]};
}

TBand RowBand(const TDock& dock, const std::vector<int>& rowThicknesses, int r, int part)
{
    const int count = int(rowThicknesses.size());
    const int rowsSize = RowsSize(rowThicknesses);
    TBand band;
    if (r < 0) {
        if (dock.StartSide())
            band = {-ZoneSize, 0};
        else
            band.Start = dock.FarEnd() - rowsSize - ZoneSize, band.End = band.Start + ZoneSize;
    } else if (r < count) {
        band = RowExtent(dock, rowThicknesses, r);
    } else {
        if (dock.StartSide())
            band = {rowsSize, rowsSize + ZoneSize};
        else
            band = {dock.FarEnd(), dock.FarEnd() + ZoneSize};
    }
    if (part < 0) return band;
    const int split = dock.StartSide() ? band.Start + (ZoneSize - 5) / 2 : band.End - (ZoneSize - 5) / 2 - 5;
    switch (part) {
    case 0: return {band.Start, split};
    case 1: return {split, split + 5};
    default: return {split + 5, band.End};
    }
}

TRowHit RowAtPos(const TDock& dock, const std::vector<int>& rowThicknesses, int across)
{
    const int count = int(rowThicknesses.size());
    if (count == 0) return {0, true};
    for (int r = -1; r < count; ++r) {
        for (int part = 0; part < 3; ++part) {
            if (!RowBand(dock, rowThicknesses, r, part).Contains(across)) continue;
            if (r == -1 && part == 0) goto notFound;
            TRowHit hit{r + (part > 0 ? 1 : 0), part == 1};
            if (hit.Row == count) hit.NewRow = true;
            return hit;
        }
    }
notFound:
    return {across < RowsSize(rowThicknesses) ? 0 : count, true};
}

int RowInsertPoint(const TDock& dock, const std::vector<int>& rowThicknesses, int row, bool atRow)
{
    if (row == int(rowThicknesses.size())) atRow = false;
    if (atRow) return RowBand(dock, rowThicknesses, row - 1, 1).Start + 2;
    const TBand own = RowBand(dock, rowThicknesses, row, 0);
    const int s = std::max(RowBand(dock, rowThicknesses, row - 1, 2).Start, own.Start - (own.End - own.Start));
    return (s + own.End) / 2;
}

TRowLayout LayoutRow(std::vector<TRowBar>& bars, int length, int draggedIndex)
{
    const int count = int(bars.size());
    TRowLayout row;
    row.Bars.resize(count);
    if (count == 0) return row;

    std::vector<int> minLength(count);
    int fullSum = 0;
    for (int i = 0; i < count; ++i) {
        const TRowBar& bar = bars[i];
        minLength[i] = bar.MinLength;
        // A bar without a mark gets one when it is truncated: leave room for it.
        if (!bar.MarkExists && bar.MinLength != bar.FullLength) minLength[i] += 11;
        // A row shorter than that still ends the bar, its mark at the row's end.
        if (!bar.Wraps && minLength[i] > length) minLength[i] = std::max(length, bar.ShortestLength);
        fullSum += bar.FullLength;
    }
    auto thicknessAt = [&](int i, int len, bool truncated) {
        return bars[i].ThicknessFor ? bars[i].ThicknessFor(len, truncated) : bars[i].FullThickness;
    };
    auto fullThickness = [&](int i) {
        return bars[i].Wraps ? thicknessAt(i, bars[i].FullLength, false) : bars[i].FullThickness;
    };

    if (bars[0].WholeRow) {
        TRowPlace& p = row.Bars[0];
        p.Length = std::max(length, minLength[0]);
        p.Truncated = !bars[0].Wraps && p.Length < bars[0].FullLength;
        p.Thickness = thicknessAt(0, p.Length, p.Truncated);
    } else if (fullSum > length) {
        // Too long: bars give way from the right, none before the minima of those before it.
        std::vector<int> minBefore(count, 0), fullBefore(count, 0);
        for (int i = 1; i < count; ++i) {
            minBefore[i] = minBefore[i - 1] + minLength[i - 1];
            fullBefore[i] = fullBefore[i - 1] + bars[i - 1].FullLength;
        }
        int right = length;
        for (int i = count - 1; i >= 0; --i) {
            TRowBar& bar = bars[i];
            TRowPlace& p = row.Bars[i];
            int pos = std::min(std::max(bar.Requested, minBefore[i]), fullBefore[i]);
            if (draggedIndex >= 0 && i > 0 && i - 1 == draggedIndex) {
                const TRowBar& dragged = bars[i - 1];
                const int q = std::max(dragged.Requested, minBefore[i] - minLength[i - 1]) + dragged.FullLength;
                if (q < pos) bar.Requested = pos = q;
            }
            const int room = right - pos;
            if (room < bar.FullLength) {
                p.Truncated = !(bar.Wraps || minLength[i] == bar.FullLength);
                p.Length = std::max(room, minLength[i]);
                p.Thickness = thicknessAt(i, p.Length, p.Truncated);
            } else {
                p.Length = bar.FullLength;
                p.Thickness = fullThickness(i);
            }
            if (i == 0) p.Length = std::max(p.Length, right);
            p.Pos = std::min(std::max(right - p.Length, minBefore[i]), fullBefore[i]);
            right -= p.Length;
        }
    } else {
        int limit = length;
        int fullBefore = fullSum;
        for (int i = count - 1; i >= 0; --i) {
            TRowPlace& p = row.Bars[i];
            fullBefore -= bars[i].FullLength;
            p.Length = bars[i].FullLength;
            p.Thickness = fullThickness(i);
            p.Pos = bars[i].Requested + p.Length > limit ? limit - p.Length : bars[i].Requested;
            p.Pos = std::max(p.Pos, fullBefore);
            limit = p.Pos;
        }
    }

    for (int i = 0; i < count; ++i) {
        if (!bars[i].UseRestSpace) continue;
        TRowPlace& p = row.Bars[i];
        const int start = i == 0 ? 0 : row.Bars[i - 1].Pos + row.Bars[i - 1].Length;
        const int end = i + 1 < count ? row.Bars[i + 1].Pos : length;
        p.Pos = start;
        p.Length = std::max(end - start, minLength[i]);
    }

    TRowPlace& last = row.Bars[count - 1];
    if (last.Truncated) last.Length = std::max(length - last.Pos, minLength[count - 1]);
    for (const TRowPlace& p : row.Bars) row.Thickness = std::max(row.Thickness, p.Thickness);
    for (TRowPlace& p : row.Bars) p.Thickness = row.Thickness;
    return row;
}

TDockRows::TPosition TDockRows::Insert(const TInsert& insert, const std::function<bool(int row)>& wholeRowAt)
{
    int row = insert.At.Row;
    bool newRow = insert.At.NewRow || insert.WholeRow;
    bool appended = false;
    const int count = RowCount();
    if (insert.Restoring && row > count - 1) {
        // A stored row beyond the last: empty rows up to it, but no more rows than bars.
        row = std::min(row, std::max(insert.MaxRows - 1, 0));
        while (RowCount() <= row) rows_.emplace_back();
        appended = RowCount() > count;
        if (appended) newRow = true;
    } else {
        row = std::max(0, std::min(row, newRow ? count : count - 1));
    }
    if (row == RowCount()) newRow = true;
    if (!newRow && wholeRowAt && wholeRowAt(row)) newRow = true;

    TDockCol col{insert.Window, insert.Horizontal ? ClampPosition(insert.Along) : 0,
                 insert.Horizontal ? 0 : ClampPosition(insert.Along)};
    if (newRow) {
        if (!appended || !rows_[row].empty()) rows_.insert(rows_.begin() + row, std::vector<TDockCol>{});
        rows_[row].push_back(col);
        return {row, 0};
    }
    std::vector<TDockCol>& cols = rows_[row];
    int at = 0;
    while (at < int(cols.size()) && (insert.Horizontal ? cols[at].X : cols[at].Y) < insert.Along) ++at;
    cols.insert(cols.begin() + at, col);
    return {row, at};
}

bool TDockRows::Remove(const void* window)
{
    for (auto row = rows_.begin(); row != rows_.end(); ++row) {
        for (auto col = row->begin(); col != row->end(); ++col) {
            if (col->Window != window) continue;
            row->erase(col);
            if (row->empty()) rows_.erase(row);
            return true;
        }
    }
    return false;
}

TDockRows::TPosition TDockRows::Find(const void* window) const
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(r); ++c)
            if (rows_[r][c].Window == window) return {r, c};
    return {-1, 0};
}

int DockThickness(const std::vector<int>& rowThicknesses, bool sunkenBorder, int emptySize)
{
    int size = RowsSize(rowThicknesses);
    if (size == 0) size = std::max(0, emptySize);
    return size > 0 && sunkenBorder ? size + 2 : size;
}

}  // namespace dockrows
