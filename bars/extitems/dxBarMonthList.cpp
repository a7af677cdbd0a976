#include "dxBarMonthList.h"

#include "Painting.h"
#include "dxBarDates.h"

#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {

TCreateParams ListParams(QWidget* ownerWindow)
{
    TCreateParams params;
    params.Popup = true;
    params.DoubleClicks = false;
    params.Owner = ownerWindow;
    return params;
}

int BorderWidth()
{
    return GetSystemMetrics(SM_CXBORDER);
}

int BorderHeight()
{
    return GetSystemMetrics(SM_CYBORDER);
}

}  // namespace

TMonthListScroll dxBarMonthListScroll(int y, int clientHeight)
{
    int distance = 0;
    if (y < 0)
        distance = y;
    else if (y >= clientHeight)
        distance = y - clientHeight + 1;
    if (distance == 0) return {};
    const int sign = distance < 0 ? -1 : 1;
    const int level = std::clamp(sign + distance / 12, -4, 4);
    static const int intervals[] = {500, 250, 100, 50};
    return {level + 5, intervals[std::abs(level) - 1]};
}

TAMonthListBox::TAMonthListBox(TComponent* owner, QWidget* ownerWindow)
    : TWindow(owner, ListParams(ownerWindow)), topDate_(dxBarNullDate)
{
    FrameChanged();
}

TAMonthListBox::~TAMonthListBox()
{
    StopTimer();
    Destroying();
    DetachHandle();
}

void TAMonthListBox::FontChanged(const QFont& font, int headerHeight, int columnWidth)
{
    font_ = font;
    itemHeight_ = std::max(1, headerHeight - 2);
    SetWindowPos(TRect::Bounds(0, 0, 2 * BorderWidth() + 6 * columnWidth, 2 * BorderHeight() + kRows * itemHeight_),
                 SWP_NOMOVE);
    Invalidate();
}

void TAMonthListBox::SetTopDate(double date)
{
    if (date == topDate_) return;
    topDate_ = date;
    Invalidate();
}

double TAMonthListBox::ChosenDate() const
{
    if (hovered_ < 0 || topDate_ == dxBarNullDate) return dxBarNullDate;
    return dxBarFirstOfMonth(dxBarAddMonths(topDate_, hovered_));
}

TRect TAMonthListBox::RowRect(int row) const
{
    return {0, row * itemHeight_, ClientRect().Right, (row + 1) * itemHeight_};
}

void TAMonthListBox::SetHovered(int row)
{
    if (row == hovered_) return;
    if (hovered_ >= 0) InvalidateRect(RowRect(hovered_));
    hovered_ = row;
    if (hovered_ >= 0) InvalidateRect(RowRect(hovered_));
}

void TAMonthListBox::StopTimer()
{
    if (timerId_ == 0) return;
    KillTimer(timerId_);
    timerId_ = 0;
}

void TAMonthListBox::NCCalcSize(TRect& rect)
{
    rect = {rect.Left + BorderWidth(), rect.Top + BorderHeight(), rect.Right - BorderWidth(),
            rect.Bottom - BorderHeight()};
}

void TAMonthListBox::NCPaint(QPainter& p)
{
    FrameRect(p, TRect(0, 0, Width(), Height()), SysBrush(COLOR_WINDOWFRAME));
}

void TAMonthListBox::Paint(QPainter& p)
{
    p.setFont(font_);
    const QLocale locale;
    for (int row = 0; row < kRows; ++row) {
        const TRect r = RowRect(row);
        const bool hovered = row == hovered_;
        FillRect(p, r, SysBrush(hovered ? COLOR_WINDOWTEXT : COLOR_WINDOW));
        const QDate month = dxBarDateToQDate(dxBarAddMonths(topDate_, row));
        if (!month.isValid()) continue;
        p.setPen(SysColor(hovered ? COLOR_WINDOW : COLOR_WINDOWTEXT));
        TRect text = r;
        DrawText(p,
                 locale.standaloneMonthName(month.month(), QLocale::LongFormat) + u' ' + QString::number(month.year()),
                 text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void TAMonthListBox::MouseMove(const TPoint& client, TShiftState /*shift*/)
{
    const TRect c = ClientRect();
    if (c.Contains(client)) {
        StopTimer();
        SetHovered(std::min(kRows - 1, client.y() / std::max(1, itemHeight_)));
        return;
    }
    SetHovered(-1);
    if (client.y() >= 0 && client.y() < c.Height()) return;  // beside the list
    const TMonthListScroll scroll = dxBarMonthListScroll(client.y(), c.Height());
    if (scroll.Id == timerId_) return;
    StopTimer();
    timerId_ = scroll.Id;
    SetTimer(timerId_, scroll.Interval);
}

void TAMonthListBox::Timer(int id)
{
    if (id != timerId_ || topDate_ == dxBarNullDate) return;
    SetTopDate(dxBarAddMonths(topDate_, id < 6 ? -1 : 1));
    UpdateWindow();
}
