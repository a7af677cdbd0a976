#include "dxBarDateNavigatorLayout.h"

#include "SysParams.h"
#include "dxBarDates.h"

#include <QLocale>

TDateNavigatorMetrics dxBarDateNavigatorMetrics(QSize zero, int fontSize, int todayTextWidth, int clearTextWidth,
                                                int style)
{
    TDateNavigatorMetrics m;
    m.ColumnWidth = 3 * zero.width();
    m.SideWidth = 2 * zero.width();
    m.RowHeight = zero.height() + 2;
    m.HeaderHeight = zero.height() + 4 + (style != 0 ? 1 : 0);
    m.DaysOfWeekHeight = m.RowHeight + 1;
    m.TodayWidth = todayTextWidth + m.ColumnWidth;
    m.ClearWidth = clearTextWidth + m.ColumnWidth;
    m.ButtonsOffset = fontSize / 2;
    m.ButtonsHeight = MulDiv(fontSize, 5, 2);
    m.ButtonsRegionHeight = fontSize * 3 / 4 + m.ButtonsHeight + m.ButtonsOffset;
    return m;
}

QSize TDateNavigatorLayout::ClientSize() const
{
    const int width = 2 * M.SideWidth + 7 * M.ColumnWidth;
    int height = M.HeaderHeight + M.DaysOfWeekHeight + 6 * M.RowHeight + 1 + (Style == 0 ? 1 : 0);
    if (HasButtons()) height += M.ButtonsRegionHeight;
    return {width, height};
}

TRect TDateNavigatorLayout::Header() const
{
    return {0, 0, ClientSize().width(), M.HeaderHeight};
}

TRect TDateNavigatorLayout::HeaderText() const
{
    const int width = ClientSize().width();
    return {M.ColumnWidth, 1, width - M.ColumnWidth - (Style == 0 ? 1 : 0), M.HeaderHeight - 1};
}

TRect TDateNavigatorLayout::LeftArrow() const
{
    return {1, 1, M.ColumnWidth - 1, M.HeaderHeight - 1};
}

TRect TDateNavigatorLayout::RightArrow() const
{
    const int width = ClientSize().width();
    return {width - M.ColumnWidth, 1, width - (Style != 0 ? 1 : 2), M.HeaderHeight - 1};
}

int TDateNavigatorLayout::DaysTop() const
{
    return M.HeaderHeight + (Style == 0 ? 1 : 0);
}

TRect TDateNavigatorLayout::DayNames() const
{
    return {M.SideWidth, DaysTop(), ClientSize().width() - M.SideWidth, DaysTop() + M.DaysOfWeekHeight - 2};
}

TRect TDateNavigatorLayout::Cells() const
{
    const int top = DaysTop() + M.DaysOfWeekHeight;
    return {M.SideWidth, top, M.SideWidth + 7 * M.ColumnWidth, top + 6 * M.RowHeight};
}

TRect TDateNavigatorLayout::Cell(int column, int row) const
{
    const TRect cells = Cells();
    return TRect::Bounds(cells.Left + column * M.ColumnWidth, cells.Top + row * M.RowHeight, M.ColumnWidth,
                         M.RowHeight);
}

int TDateNavigatorLayout::ButtonsRegionTop() const
{
    return ClientSize().height() - M.ButtonsRegionHeight;
}

TRect TDateNavigatorLayout::TodayButton() const
{
    if (!HasButtons() || !ShowToday) return {};
    const int width = ClientSize().width();
    const int top = ClientSize().height() + M.ButtonsOffset - M.ButtonsRegionHeight;
    const int left = ShowClear ? (width - M.TodayWidth - M.ClearWidth) / 3 : (width - M.TodayWidth) / 2;
    return TRect::Bounds(left, top, M.TodayWidth, M.ButtonsHeight);
}

TRect TDateNavigatorLayout::ClearButton() const
{
    if (!HasButtons() || !ShowClear) return {};
    const int width = ClientSize().width();
    const int top = ClientSize().height() + M.ButtonsOffset - M.ButtonsRegionHeight;
    const int left =
        ShowToday ? width - (width - M.TodayWidth - M.ClearWidth) / 3 - M.ClearWidth : (width - M.ClearWidth) / 2;
    return TRect::Bounds(left, top, M.ClearWidth, M.ButtonsHeight);
}

int dxBarDateColumn(double date, int firstWeekDay)
{
    const QDate d = dxBarDateToQDate(date);
    if (!d.isValid()) return 0;
    const int weekday = d.dayOfWeek() % 7;  // Sunday 0
    return ((weekday - firstWeekDay) % 7 + 7) % 7;
}

QString dxBarDayLetter(int column, int firstWeekDay)
{
    const int weekday = (firstWeekDay + column) % 7;  // 0 Sunday
    return QLocale().dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat).left(1);
}

double dxBarGridFirstDate(double firstOfMonth, int firstWeekDay)
{
    const int column = dxBarDateColumn(firstOfMonth, firstWeekDay);
    return firstOfMonth - column - (column == 0 ? 7 : 0);
}

double dxBarGridPosToDate(const TDateNavigatorLayout& layout, const TPoint& client, double firstOfMonth,
                          int firstWeekDay)
{
    const TRect cells = layout.Cells();
    const QSize size = layout.ClientSize();
    if (!TRect(0, 0, size.width(), size.height()).Contains(client) || !cells.Contains(client)) return dxBarNullDate;
    const int column = (client.x() - cells.Left) / layout.M.ColumnWidth;
    const int row = (client.y() - cells.Top) / layout.M.RowHeight;
    return dxBarGridFirstDate(firstOfMonth, firstWeekDay) + 7 * row + column;
}
