#include "dxBarDateNavigator.h"

#include "Forms.h"
#include "Painting.h"
#include "dxBarCustomControl.h"
#include "dxBarDates.h"
#include "dxBarDrawing.h"
#include "dxBarExtItems.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarMonthList.h"

#include <QLocale>
#include <QPainter>

// ---------------------------------------------------------------- TdxBarCustomCalendar

TdxBarCustomCalendar::TdxBarCustomCalendar(TComponent* owner, const TCreateParams& params)
    : TWindow(owner, params),
      dragDate_(dxBarNullDate),
      firstDate_(dxBarToday()),
      selStart_(dxBarToday()),
      selFinish_(dxBarToday())
{}

void TdxBarCustomCalendar::SetStyle(int value)
{
    if (value == style_) return;
    style_ = value;
    FrameChanged();
}

double TdxBarCustomCalendar::GetSelStart() const
{
    if (selStart_ >= selFinish_ && selFinish_ != dxBarNullDate) return selFinish_;
    return selStart_;
}

double TdxBarCustomCalendar::GetSelFinish() const
{
    return selStart_ >= selFinish_ ? selStart_ : selFinish_;
}

void TdxBarCustomCalendar::SetFirstDate(double date)
{
    if (date == firstDate_) return;
    firstDate_ = date;
    Invalidate();
}

void TdxBarCustomCalendar::SetSelStart(double date)
{
    const bool changed = date != selStart_ || selFinish_ != date;
    selStart_ = date;
    selFinish_ = dxBarNullDate;
    SetSelFinish(date);
    if (changed) Invalidate();
}

void TdxBarCustomCalendar::SetSelFinish(double date)
{
    if (date == selFinish_) return;
    CheckFirstDate();
    const double old = selFinish_;
    selFinish_ = date;
    if (selFinish_ == old) return;
    CheckFirstDate();
    Invalidate();
}

void TdxBarCustomCalendar::CancelSelection()
{
    LButtonUp({-1, -1}, {});
}

void TdxBarCustomCalendar::DateSelected()
{
    if (OnDateSelected) OnDateSelected(this);
}

void TdxBarCustomCalendar::LButtonDown(const TPoint& client, TShiftState /*shift*/)
{
    dblClicked_ = false;
    pressed_ = true;
    SetCapture();
    dragDate_ = GetSelStart();
    const double date = PosToDate(client);
    if (date != dxBarNullDate) SetSelStart(date);
}

void TdxBarCustomCalendar::LButtonDblClk(const TPoint& client, TShiftState /*shift*/)
{
    // The second press of a double click selects nothing more; its release ends there.
    dblClicked_ = true;
    pressed_ = true;
    SetCapture();
    if (PosToDate(client) != dxBarNullDate && OnDateDblClick) OnDateDblClick(this);
}

void TdxBarCustomCalendar::MouseMove(const TPoint& client, TShiftState /*shift*/)
{
    if (!pressed_ || GetCapture() != this) return;
    const double date = PosToDate(client);
    if (date != dxBarNullDate)
        SetSelFinish(date);
    else if (!ClientRect().Contains(client) && dragDate_ != dxBarNullDate && dragDate_ != selFinish_)
        SetSelFinish(dragDate_);
    UpdateWindow();
}

void TdxBarCustomCalendar::LButtonUp(const TPoint& client, TShiftState /*shift*/)
{
    StandardRelease(client);
}

void TdxBarCustomCalendar::StandardRelease(const TPoint& client)
{
    if (!pressed_) return;
    pressed_ = false;
    if (GetCapture() == this) ReleaseCapture();
    if (dblClicked_) {
        dblClicked_ = false;
        return;
    }
    if (ClientRect().Contains(client) && IsChoosingPoint(client))
        DateSelected();
    else if (dragDate_ != dxBarNullDate)
        SetSelFinish(dragDate_);
}

void TdxBarCustomCalendar::CaptureChanged()
{
    // Only a capture taken by another window ends the press; our own release does not.
    if (pressed_ && GetCapture() && GetCapture() != this) CancelSelection();
}

// ---------------------------------------------------------------- TdxBarDateNavigator

namespace {

TCreateParams NavigatorParams(TCustomdxBarCombo* combo, bool popup, QWidget* parent)
{
    TCreateParams params;
    params.Bounds = TRect::Bounds(0, 0, 20, 20);
    params.Popup = popup;
    params.DoubleClicks = !popup;
    params.Parent = popup ? nullptr : parent;
    TdxBarManager* manager = combo ? combo->BarManager() : nullptr;
    TCustomForm* form = manager ? manager->OwnerFormAsForm() : nullptr;
    params.Owner = form ? form->Handle() : nullptr;
    return params;
}

}  // namespace

TdxBarDateNavigator::TdxBarDateNavigator(TCustomdxBarCombo* combo, bool popup, QWidget* parent)
    : TdxBarCustomCalendar(combo, NavigatorParams(combo, popup, parent)), combo_(combo), popupRole_(popup)
{
    firstDate_ = dxBarFirstOfMonth(dxBarToday());
    TakeComboFont();
}

TdxBarDateNavigator::~TdxBarDateNavigator()
{
    StopArrowTimer();
    CloseMonthList();
    Destroying();
    DetachHandle();
}

bool TdxBarDateNavigator::IsFlat() const
{
    return combo_ && combo_->IsFlat();
}

QWidget* TdxBarDateNavigator::OwnerWindow() const
{
    // In a dialog, the month list stays above the dialog.
    if (!popupRole_ && Handle()) return Handle()->window();
    TdxBarManager* manager = combo_ ? combo_->BarManager() : nullptr;
    TCustomForm* form = manager ? manager->OwnerFormAsForm() : nullptr;
    return form ? form->Handle() : Handle();
}

void TdxBarDateNavigator::SetShowButtons(bool today, bool clear)
{
    if (today == showToday_ && clear == showClear_) return;
    showToday_ = today;
    showClear_ = clear;
    Recalculate();
}

void TdxBarDateNavigator::SetStyle(int value)
{
    if (value == style_) return;
    style_ = value;
    Recalculate();
}

int TdxBarDateNavigator::GetDrawStyle() const
{
    return style_ == 1 && IsFlat() ? 2 : style_;
}

void TdxBarDateNavigator::TakeComboFont()
{
    TdxBarItemLink* link = combo_ ? combo_->FindLiveLink() : nullptr;
    TdxBarItemControl* control = link ? link->Control() : nullptr;
    TdxBarManager* manager = combo_ ? combo_->BarManager() : nullptr;
    if (TCustomdxBarControl* window = control ? control->Parent() : nullptr)
        SetFont(window->Font());
    else if (manager && manager->Font())
        SetFont(manager->Font()->ToQFont());
    else
        SetFont(QFont());
}

void TdxBarDateNavigator::SetFont(const QFont& font)
{
    font_ = font;
    Recalculate();
}

int TdxBarDateNavigator::NonClientWidth() const
{
    if (style_ == 0) return GetSystemMetrics(SM_CXEDGE);
    const int frame = popupRole_ && GetDrawStyle() != 2 ? GetSystemMetrics(SM_CXDLGFRAME) : 0;
    return frame + 1;
}

void TdxBarDateNavigator::Recalculate()
{
    layout_.M = dxBarDateNavigatorMetrics(TextExtent(font_, QStringLiteral("0")), dxBarFontPoints(font_),
                                          TextExtent(font_, dxBarTodayText()).width(),
                                          TextExtent(font_, dxBarClearText()).width(), style_);
    layout_.Style = style_;
    layout_.NonClient = NonClientWidth();
    layout_.Popup = popupRole_;
    layout_.ShowToday = showToday_;
    layout_.ShowClear = showClear_;
    const QSize size = layout_.WindowSize();
    SetWindowPos(TRect::Bounds(0, 0, size.width(), size.height()), SWP_NOMOVE | SWP_FRAMECHANGED);
    Invalidate();
}

double TdxBarDateNavigator::GetFirstDate() const
{
    return dxBarGridFirstDate(firstDate_, dxBarFirstWeekDay());
}

double TdxBarDateNavigator::GetLastDate() const
{
    return GetFirstDate() + 41;
}

double TdxBarDateNavigator::GetMonthLastDate() const
{
    return dxBarAddMonths(firstDate_, 1) - 1;
}

void TdxBarDateNavigator::SetFirstDate(double date)
{
    if (date == dxBarNullDate) return;
    TdxBarCustomCalendar::SetFirstDate(dxBarFirstOfMonth(date));
}

void TdxBarDateNavigator::SetSelFinish(double date)
{
    if (date == selFinish_) return;
    selStart_ = date;
    TdxBarCustomCalendar::SetSelFinish(date);
}

void TdxBarDateNavigator::CheckFirstDate()
{
    // No selection shows no month of its own: the shown month stays.
    const double start = GetSelStart();
    if (start == dxBarNullDate) return;
    if (GetFirstDate() > start) SetFirstDate(dxBarAddMonths(start, -1));
    if (GetLastDate() < start) SetFirstDate(start);
}

double TdxBarDateNavigator::PosToDate(const TPoint& client) const
{
    return dxBarGridPosToDate(layout_, client, firstDate_, dxBarFirstWeekDay());
}

bool TdxBarDateNavigator::IsChoosingPoint(const TPoint& client) const
{
    if (PosToDate(client) != dxBarNullDate) return true;
    return layout_.TodayButton().Contains(client) || layout_.ClearButton().Contains(client);
}

void TdxBarDateNavigator::CancelSelection()
{
    CloseMonthList();
    StopArrowTimer();
    if (todayActive_ || clearActive_) Invalidate();
    todayActive_ = todayPressed_ = clearActive_ = clearPressed_ = false;
    TdxBarCustomCalendar::CancelSelection();
}

// ---------------------------------------------------------------- month list and arrows

void TdxBarDateNavigator::OpenMonthList()
{
    CloseMonthList();
    monthList_ = new TAMonthListBox(this, OwnerWindow());
    monthList_->SetTopDate(dxBarAddMonths(firstDate_, -3));
    monthList_->FontChanged(font_, layout_.M.HeaderHeight, layout_.M.ColumnWidth);
    const TRect text = layout_.HeaderText();
    const TPoint centre = ClientToScreen({(text.Left + text.Right) / 2, (text.Top + text.Bottom) / 2});
    const int width = monthList_->Width(), height = monthList_->Height();
    monthList_->SetWindowPos(TRect::Bounds(centre.x() - width / 2, centre.y() - height / 2, width, height),
                             SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TdxBarDateNavigator::CloseMonthList()
{
    delete monthList_.data();
}

void TdxBarDateNavigator::StopArrowTimer()
{
    if (arrowTimer_ == 0) return;
    KillTimer(arrowTimer_);
    arrowTimer_ = 0;
}

void TdxBarDateNavigator::StepMonth(int delta)
{
    SetFirstDate(dxBarAddMonths(firstDate_, delta));
    UpdateWindow();
}

void TdxBarDateNavigator::Timer(int id)
{
    if (id != arrowTimer_) return;
    const TRect area = id == 1 ? layout_.LeftArrow() : layout_.RightArrow();
    if (area.Contains(lastMouse_)) StepMonth(id == 1 ? -1 : 1);
}

// ---------------------------------------------------------------- mouse

void TdxBarDateNavigator::LButtonDown(const TPoint& client, TShiftState shift)
{
    lastMouse_ = client;
    if (popupRole_ && layout_.HasButtons() && client.y() >= layout_.ButtonsRegionTop()) {
        const bool today = layout_.TodayButton().Contains(client);
        const bool clear = layout_.ClearButton().Contains(client);
        if (!today && !clear) return;
        todayActive_ = todayPressed_ = today;
        clearActive_ = clearPressed_ = clear;
        pressed_ = true;
        dblClicked_ = false;
        dragDate_ = GetSelStart();
        SetCapture();
        InvalidateRect(today ? layout_.TodayButton() : layout_.ClearButton());
        return;
    }
    TdxBarCustomCalendar::LButtonDown(client, shift);
    if (layout_.HeaderText().Contains(client)) {
        OpenMonthList();
    } else if (arrowTimer_ == 0 && (layout_.LeftArrow().Contains(client) || layout_.RightArrow().Contains(client))) {
        const bool back = layout_.LeftArrow().Contains(client);
        StepMonth(back ? -1 : 1);
        arrowTimer_ = back ? 1 : 2;
        SetTimer(arrowTimer_, kArrowInterval);
    }
}

void TdxBarDateNavigator::MouseMove(const TPoint& client, TShiftState shift)
{
    lastMouse_ = client;
    if (arrowTimer_ != 0) return;
    if (monthList_) {
        monthList_->MouseMove(monthList_->ScreenToClient(ClientToScreen(client)), shift);
        return;
    }
    if (todayActive_ || clearActive_) {
        bool& pressed = todayActive_ ? todayPressed_ : clearPressed_;
        const TRect button = todayActive_ ? layout_.TodayButton() : layout_.ClearButton();
        if (button.Contains(client) != pressed) {
            pressed = !pressed;
            InvalidateRect(button);
            UpdateWindow();
        }
        return;
    }
    TdxBarCustomCalendar::MouseMove(client, shift);
}

void TdxBarDateNavigator::LButtonUp(const TPoint& client, TShiftState shift)
{
    lastMouse_ = client;
    if (arrowTimer_ != 0) {
        StopArrowTimer();
        pressed_ = false;
        if (GetCapture() == this) ReleaseCapture();
        return;
    }
    if (monthList_) {
        const double chosen = monthList_->ChosenDate();
        CloseMonthList();
        pressed_ = false;
        if (GetCapture() == this) ReleaseCapture();
        // Choosing a month shows it; no date is chosen.
        if (chosen != dxBarNullDate) SetFirstDate(chosen);
        return;
    }
    if (todayActive_ || clearActive_) {
        const bool today = todayActive_;
        const bool held = todayActive_ ? todayPressed_ : clearPressed_;
        InvalidateRect(today ? layout_.TodayButton() : layout_.ClearButton());
        todayActive_ = todayPressed_ = clearActive_ = clearPressed_ = false;
        if (!held) {
            pressed_ = false;
            if (GetCapture() == this) ReleaseCapture();
            return;
        }
        SetSelStart(today ? dxBarToday() : dxBarNullDate);
    }
    TdxBarCustomCalendar::LButtonUp(client, shift);
}

// ---------------------------------------------------------------- keys

bool TdxBarDateNavigator::NavigatorKeyDown(int key, TShiftState shift)
{
    if (!popupRole_) return false;
    if (key == VK_RETURN) {
        if (!monthList_) DateSelected();
        return true;
    }
    // Keys move from the selection, or from today without one.
    const double start = GetSelStart() != dxBarNullDate ? GetSelStart() : dxBarToday();
    const bool ctrlAlone = (shift & (ssShift | ssAlt | ssCtrl)) == TShiftState(ssCtrl);
    const int column = dxBarDateColumn(start, dxBarFirstWeekDay());
    double date;
    switch (key) {
    case VK_PRIOR: date = dxBarAddMonths(start, -1); break;
    case VK_NEXT: date = dxBarAddMonths(start, 1); break;
    case VK_HOME: date = ctrlAlone ? dxBarFirstOfMonth(start) : start - column; break;
    case VK_END: date = ctrlAlone ? dxBarAddMonths(dxBarFirstOfMonth(start), 1) - 1 : start + 6 - column; break;
    case VK_LEFT: date = start - 1; break;
    case VK_RIGHT: date = start + 1; break;
    case VK_UP: date = start - 7; break;
    case VK_DOWN: date = start + 7; break;
    default: return false;
    }
    SetSelStart(date);
    UpdateWindow();
    return true;
}

void TdxBarDateNavigator::KeyDown(int& key, TShiftState shift)
{
    if (NavigatorKeyDown(key, shift)) key = 0;
}

// ---------------------------------------------------------------- painting

void TdxBarDateNavigator::NCCalcSize(TRect& rect)
{
    const int inset = layout_.NonClient;
    rect = rect.Inflated(-inset, -inset);
}

void TdxBarDateNavigator::NCPaint(QPainter& p)
{
    TRect r(0, 0, Width(), Height());
    if (style_ == 0) {
        DrawEdge(p, r, EDGE_SUNKEN, BF_RECT);
        return;
    }
    if (layout_.NonClient > 1) {
        // The dialog frame of the drop-down in the raised look.
        FillRect(p, r, SysBrush(COLOR_BTNFACE));
        DrawEdge(p, r, EDGE_RAISED, BF_RECT);
        r = r.Inflated(1 - layout_.NonClient, 1 - layout_.NonClient);
    }
    if (GetDrawStyle() == 2)
        FrameRect(p, r, SysBrush(COLOR_BTNSHADOW));
    else
        DrawEdge(p, r, BDR_SUNKENOUTER, BF_RECT);
}

void TdxBarDateNavigator::Paint(QPainter& p)
{
    QRegion rest(ClientRect().ToQRect());
    p.setFont(font_);
    PaintHeader(p, rest);
    PaintDayNames(p, rest);
    PaintDays(p, rest);
    if (layout_.HasButtons()) {
        const QSize size = layout_.ClientSize();
        const int y = size.height() - layout_.M.ButtonsRegionHeight - 1;
        DrawLine(p, {layout_.M.SideWidth, y}, {size.width() - layout_.M.SideWidth, y}, SysColor(COLOR_BTNSHADOW));
        rest -= QRect(layout_.M.SideWidth, y, size.width() - 2 * layout_.M.SideWidth, 1);
        if (showToday_) {
            PaintButton(p, layout_.TodayButton(), dxBarTodayText(), todayActive_ && todayPressed_);
            rest -= layout_.TodayButton().ToQRect();
        }
        if (showClear_) {
            PaintButton(p, layout_.ClearButton(), dxBarClearText(), clearActive_ && clearPressed_);
            rest -= layout_.ClearButton().ToQRect();
        }
    }
    p.save();
    p.setClipRegion(rest, Qt::IntersectClip);
    FillRect(p, ClientRect(), SysBrush(COLOR_WINDOW));
    p.restore();
}

void TdxBarDateNavigator::PaintHeader(QPainter& p, QRegion& rest)
{
    TRect r = layout_.Header();
    rest -= r.ToQRect();
    FillRect(p, r, SysBrush(COLOR_BTNFACE));
    if (style_ == 0) {
        DrawLine(p, {r.Left, r.Bottom - 1}, {r.Right, r.Bottom - 1}, SysColor(COLOR_BTNTEXT));
        DrawLine(p, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, SysColor(COLOR_BTNTEXT));
        r.Right -= 1;
    } else if (GetDrawStyle() == 2) {
        DrawLine(p, {r.Left, r.Bottom - 1}, {r.Right, r.Bottom - 1}, SysColor(COLOR_BTNSHADOW));
    } else {
        DrawEdge(p, r, BDR_RAISEDINNER, BF_RECT);
        r = r.Inflated(-1, -1);
    }
    // The arrows: filled triangles pointing outward, their upright side in from the edge.
    int arrow = layout_.M.HeaderHeight / 2;
    if (arrow % 2 == 0) ++arrow;
    const int top = (layout_.M.HeaderHeight - arrow) / 2;
    const int bottom = top + arrow - 1;
    const int mid = top + arrow / 2;
    const int side = layout_.M.SideWidth - 1;
    const int width = layout_.ClientSize().width();
    const QColor text = SysColor(COLOR_BTNTEXT);
    FillPolygon(p, {{side, top}, {side, bottom}, {side - arrow / 2, mid}}, text);
    FillPolygon(p, {{width - 1 - side, top}, {width - 1 - side, bottom}, {width - 1 - side + arrow / 2, mid}}, text);
    const QDate month = dxBarDateToQDate(firstDate_);
    if (!month.isValid()) return;
    const QString caption =
        QLocale().standaloneMonthName(month.month(), QLocale::LongFormat) + u' ' + QString::number(month.year());
    TRect textRect = layout_.HeaderText();
    p.save();
    p.setClipRect(textRect.ToQRect(), Qt::IntersectClip);
    p.setPen(text);
    DrawText(p, caption, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    p.restore();
}

void TdxBarDateNavigator::PaintDayNames(QPainter& p, QRegion& rest)
{
    const TRect row = layout_.DayNames();
    const int side = layout_.M.SideWidth;
    const TRect band(0, row.Top, layout_.ClientSize().width(), row.Bottom + 2);
    FillRect(p, band, SysBrush(COLOR_WINDOW));
    DrawLine(p, {row.Left, row.Bottom}, {row.Right, row.Bottom}, SysColor(COLOR_BTNSHADOW));
    rest -= band.ToQRect();
    p.setPen(SysColor(COLOR_WINDOWTEXT));
    for (int column = 0; column < 7; ++column) {
        TRect cell =
            TRect::Bounds(side + column * layout_.M.ColumnWidth, row.Top, layout_.M.ColumnWidth - 3, row.Height());
        DrawText(p, dxBarDayLetter(column, dxBarFirstWeekDay()), cell,
                 DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void TdxBarDateNavigator::PaintDays(QPainter& p, QRegion& rest)
{
    const double today = dxBarToday();
    const double first = GetFirstDate();
    const double monthLast = GetMonthLastDate();
    const double selStart = GetSelStart(), selFinish = GetSelFinish();
    const bool flat = GetDrawStyle() == 2;
    rest -= layout_.Cells().ToQRect();
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 7; ++column) {
            const double date = first + 7 * row + column;
            TRect cell = layout_.Cell(column, row);
            const bool selected = selStart != dxBarNullDate && date >= selStart && date <= selFinish;
            if (date == today) {
                FrameRect(p, cell, QBrush(QColor(0x80, 0, 0)));
                cell = cell.Inflated(-1, -1);
            }
            QBrush back = SysBrush(COLOR_WINDOW);
            if (selected && flat)
                back = QBrush(ColorToQColor(dxBarFlatColors().Selected));
            else if (selected)
                back = SysBrush(style_ == 0 ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
            FillRect(p, cell, back);
            int color = COLOR_WINDOWTEXT;
            if (selected)
                color = flat ? COLOR_WINDOWTEXT : COLOR_HIGHLIGHTTEXT;
            else if (date < firstDate_ || date > monthLast)
                color = COLOR_GRAYTEXT;
            p.setPen(SysColor(color));
            TRect text = layout_.Cell(column, row);
            text.Right -= 3;
            DrawText(p, QString::number(dxBarDatePart(date, 3)), text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        }
    }
}

void TdxBarDateNavigator::PaintButton(QPainter& p, const TRect& r, const QString& caption, bool pressed)
{
    TRect face = r;
    if (GetDrawStyle() == 2) {
        FrameRect(p, r, SysBrush(COLOR_BTNSHADOW));
        FrameRect(p, r.Inflated(-1, -1), SysBrush(COLOR_BTNFACE));
        FillRect(p, r.Inflated(-2, -2), SysBrush(COLOR_BTNFACE));
    } else if (pressed) {
        FillRect(p, r, SysBrush(COLOR_BTNFACE));
        FrameRect(p, r, SysBrush(COLOR_WINDOWFRAME));
        FrameRect(p, r.Inflated(-1, -1), SysBrush(COLOR_BTNSHADOW));
        face = r.Offset(1, 1);
    } else {
        FillRect(p, r, SysBrush(COLOR_BTNFACE));
        DrawLine(p, {r.Left, r.Bottom - 1}, {r.Right, r.Bottom - 1}, SysColor(COLOR_BTNTEXT));
        DrawLine(p, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom}, SysColor(COLOR_BTNTEXT));
        DrawLine(p, {r.Left, r.Top}, {r.Right - 1, r.Top}, SysColor(COLOR_BTNFACE));
        DrawLine(p, {r.Left, r.Top}, {r.Left, r.Bottom - 1}, SysColor(COLOR_BTNFACE));
        const TRect in = r.Inflated(-1, -1);
        DrawLine(p, {in.Left, in.Bottom - 1}, {in.Right, in.Bottom - 1}, SysColor(COLOR_BTNSHADOW));
        DrawLine(p, {in.Right - 1, in.Top}, {in.Right - 1, in.Bottom}, SysColor(COLOR_BTNSHADOW));
        DrawLine(p, {in.Left, in.Top}, {in.Right - 1, in.Top}, SysColor(COLOR_BTNHIGHLIGHT));
        DrawLine(p, {in.Left, in.Top}, {in.Left, in.Bottom - 1}, SysColor(COLOR_BTNHIGHLIGHT));
        DrawLine(p, {in.Right - 2, in.Top}, {in.Right - 1, in.Top}, SysColor(COLOR_BTNFACE));
    }
    p.setPen(SysColor(COLOR_BTNTEXT));
    DrawText(p, caption, face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
