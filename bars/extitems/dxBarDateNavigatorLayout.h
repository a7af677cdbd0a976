#pragma once
// The date navigator's geometry as plain values: its metrics from the font, its size, the
// places of the header, the arrows, the day grid and the Today and Clear buttons, and the
// dates of the grid's cells. Nothing here needs a window.
//
// The grid shows six weeks of seven days; its columns start at the locale's first day of the
// week. A month that starts in the first column shows the whole week before it first.
#include "WinTypes.h"

#include <QSize>
#include <QString>

struct TDateNavigatorMetrics {
    int ColumnWidth = 0;
    int SideWidth = 0;
    int RowHeight = 0;
    int HeaderHeight = 0;
    int DaysOfWeekHeight = 0;
    int TodayWidth = 0;
    int ClearWidth = 0;
    int ButtonsOffset = 0;
    int ButtonsHeight = 0;
    int ButtonsRegionHeight = 0;
};

// zero: the width and height of "0" in the font; fontSize: its size in points; the captions'
// text widths; style: 0 no border, 1 sunken edge, 2 flat frame.
TDateNavigatorMetrics dxBarDateNavigatorMetrics(QSize zero, int fontSize, int todayTextWidth, int clearTextWidth,
                                                int style);

struct TDateNavigatorLayout {
    TDateNavigatorMetrics M;
    int Style = 1;      // the style byte (0, 1 or 2)
    int NonClient = 0;  // the frame's width on each side
    bool Popup = false;
    bool ShowToday = true;
    bool ShowClear = false;

    bool HasButtons() const { return Popup && (ShowToday || ShowClear); }
    QSize ClientSize() const;
    QSize WindowSize() const { return ClientSize() + QSize(2 * NonClient, 2 * NonClient); }

    // --- client coordinates
    TRect Header() const;
    TRect HeaderText() const;
    TRect LeftArrow() const;
    TRect RightArrow() const;
    int DaysTop() const;
    // The day letters' row, inset by the side width.
    TRect DayNames() const;
    // The six rows of seven cells.
    TRect Cells() const;
    TRect Cell(int column, int row) const;
    int ButtonsRegionTop() const;
    // Empty when the button isn't shown.
    TRect TodayButton() const;
    TRect ClearButton() const;
};

// The column of a date (day number) for the first day of the week (0 Sunday ... 6 Saturday).
int dxBarDateColumn(double date, int firstWeekDay);
// The letter over a column: the first character of the locale's short day name.
QString dxBarDayLetter(int column, int firstWeekDay);
// The date of the grid's first cell for the month of firstOfMonth; the last is 41 days on.
double dxBarGridFirstDate(double firstOfMonth, int firstWeekDay);
// The date under a client point, or the null date outside the cells.
double dxBarGridPosToDate(const TDateNavigatorLayout& layout, const TPoint& client, double firstOfMonth,
                          int firstWeekDay);
