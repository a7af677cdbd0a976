#include "dxBarDropDownListBox.h"

#include "Forms.h"
#include "Strings.h"
#include "InPlaceGeometry.h"
#include "dxBarCustomControl.h"
#include "dxBarDrawing.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace {

TCreateParams ListParams(TdxBarCustomCombo* combo)
{
    TCreateParams params;
    params.Popup = true;
    params.DoubleClicks = false;
    TdxBarManager* manager = combo ? combo->BarManager() : nullptr;
    TCustomForm* form = manager ? manager->OwnerFormAsForm() : nullptr;
    params.Owner = form ? form->Handle() : nullptr;
    return params;
}

TCustomdxBarControl* LiveBarWindow(TdxBarCustomCombo* combo)
{
    TdxBarItemLink* link = combo ? combo->FindLiveLink() : nullptr;
    TdxBarItemControl* control = link ? link->Control() : nullptr;
    return control ? control->Parent() : nullptr;
}

}  // namespace

TdxBarDropDownListBox::TdxBarDropDownListBox(TdxBarCustomCombo* combo)
    : TWindow(combo, ListParams(combo)), combo_(combo)
{
    FrameChanged();
}

TdxBarDropDownListBox::~TdxBarDropDownListBox()
{
    Destroying();
    DetachHandle();
}

bool TdxBarDropDownListBox::IsFlat() const
{
    return combo_ && combo_->BarManager() && combo_->BarManager()->IsFlat();
}

void TdxBarDropDownListBox::Prepare(int index)
{
    if (!combo_) return;
    TCustomdxBarControl* window = LiveBarWindow(combo_);
    if (window)
        font_ = window->Font();
    else if (combo_->BarManager() && combo_->BarManager()->Font())
        font_ = combo_->BarManager()->Font()->ToQFont();
    entries_.clear();
    TStrings* items = combo_->Items();
    for (int i = 0; i < items->Count(); ++i) entries_ << items->Strings(i);
    std::vector<int> widths;
    heights_.clear();
    for (int i = 0; i < entries_.size(); ++i) {
        int width = 0, height = 0;
        combo_->MeasureItemWidth(i, font_, width);
        combo_->MeasureItem(i, font_, height);
        widths.push_back(width);
        heights_.push_back(std::max(1, height));
    }
    TdxBarItemLink* link = combo_->FindLiveLink();
    const int linkWidth = link ? link->ItemRect().width() : combo_->Width();
    const inplace::TListBoxSize size =
        inplace::ListBoxSize(combo_->DropDownWidth(), linkWidth, inplace::DropDownButtonWidth(IsFlat()),
                             GetSystemMetrics(SM_CXVSCROLL), combo_->DropDownCount(), widths, heights_);
    scrollBar_ = size.ScrollBar;
    visibleRows_ = std::min<int>(int(entries_.size()), std::max(0, combo_->DropDownCount()));
    index_ = index >= 0 && index < entries_.size() ? index : -1;
    top_ = inplace::ScrollToShow(0, index_, visibleRows_, int(entries_.size()));
    SetWindowPos(TRect::Bounds(0, 0, size.Width, size.Height), SWP_NOMOVE);
    Invalidate();
}

void TdxBarDropDownListBox::Drop(QPoint preferred, QSize linkSize, bool vertical)
{
    const TRect area = dxBarGetWorkArea(preferred);
    const QPoint at = dxBarDropDownPosition(preferred, QSize(Width(), Height()), linkSize, area.ToQRect(), vertical);
    SetWindowPos(TRect::Bounds(at.x(), at.y(), Width(), Height()), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    choosing_ = false;
    // Dropped by a press that is still held: one drag and release choose an entry.
    pending_ = dxBarLeftButtonState();
    if (pending_) SetCapture();
}

void TdxBarDropDownListBox::CloseList()
{
    pending_ = false;
    choosing_ = false;
    if (GetCapture() == this) ReleaseCapture();
    Hide();
}

void TdxBarDropDownListBox::SelectIndex(int index)
{
    Select(index);
}

void TdxBarDropDownListBox::Select(int index)
{
    const int count = int(entries_.size());
    index_ = count == 0 ? -1 : (index < 0 ? -1 : std::min(index, count - 1));
    top_ = inplace::ScrollToShow(top_, index_, visibleRows_, count);
    Invalidate();
}

int TdxBarDropDownListBox::RowHeight(int index) const
{
    return index >= 0 && index < int(heights_.size()) ? heights_[index] : 0;
}

int TdxBarDropDownListBox::ItemAt(const TPoint& client) const
{
    if (!ClientRect().Contains(client) || (scrollBar_ && ScrollBarRect().Contains(client))) return -1;
    const int count = int(entries_.size());
    for (int index = top_, y = 0; index < count && index < top_ + visibleRows_; y += RowHeight(index), ++index)
        if (client.y() >= y && client.y() < y + RowHeight(index)) return index;
    return -1;
}

TRect TdxBarDropDownListBox::ItemRect(int index) const
{
    // Rows stack from the top entry shown; entries above it lie above the client area.
    int top = 0;
    for (int i = top_; i < index; ++i) top += RowHeight(i);
    for (int i = index; i < top_; ++i) top -= RowHeight(i);
    const int right = ClientRect().Right - (scrollBar_ ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    return {0, top, right, top + RowHeight(index)};
}

TRect TdxBarDropDownListBox::ScrollBarRect() const
{
    const TRect c = ClientRect();
    return {c.Right - GetSystemMetrics(SM_CXVSCROLL), c.Top, c.Right, c.Bottom};
}

void TdxBarDropDownListBox::Click()
{
    if (index_ < 0 || !combo_) return;
    TdxBarItemLink* link = combo_->FindLiveLink();
    if (TdxBarItemControl* control = link ? link->Control() : nullptr) control->SetCurItemIndex(index_);
}

void TdxBarDropDownListBox::Choose()
{
    QPointer<TdxBarDropDownListBox> self(this);
    QPointer<TdxBarCustomCombo> combo = combo_;
    const int index = index_;
    TdxBarItemLink* link = combo ? combo->FindLiveLink() : nullptr;
    QPointer<TdxBarItemControl> control = link ? link->Control() : nullptr;
    if (link) (link->OriginalItemLink() ? link->OriginalItemLink() : link)->ItemClicked(true);
    // The control takes the entry first, so that leaving the editor keeps it.
    if (control && index != -1) control->SetCurItemIndex(index);
    QPointer<TCustomdxBarControl> active = dxBarActiveBarControl();
    if (active && dxBarIsBarControlAlive(active)) active->HideAll();
    if (combo && index != -1) combo->SetItemIndex(index);
    // Nothing closed the list (no bar window was active): the control closes it.
    if (!self || !Visible()) return;
    if (control && control->IsDroppedDown()) control->ControlInactivate(true);
    if (self && Visible()) CloseList();
}

void TdxBarDropDownListBox::ListKeyDown(int key, TShiftState /*shift*/)
{
    const int count = int(entries_.size());
    if (count == 0) return;
    if (index_ == -1) {
        // The first key of a list without a selection selects the top entry shown.
        Select(top_);
        Click();
        return;
    }
    int index = index_;
    switch (key) {
    case VK_UP: --index; break;
    case VK_DOWN: ++index; break;
    case VK_PRIOR: index -= std::max(1, visibleRows_ - 1); break;
    case VK_NEXT: index += std::max(1, visibleRows_ - 1); break;
    case VK_HOME: index = 0; break;
    case VK_END: index = count - 1; break;
    default: return;
    }
    index = std::clamp(index, 0, count - 1);
    if (index == index_) return;
    Select(index);
    Click();
}

void TdxBarDropDownListBox::KeyDown(int& key, TShiftState shift)
{
    ListKeyDown(key, shift);
}

void TdxBarDropDownListBox::NCCalcSize(TRect& rect)
{
    rect = rect.Inflated(-2, -2);
}

void TdxBarDropDownListBox::NCPaint(QPainter& p)
{
    const TRect r(0, 0, Width(), Height());
    if (IsFlat()) {
        FrameRect(p, r, SysBrush(COLOR_BTNSHADOW));
        FrameRect(p, r.Inflated(-1, -1), SysBrush(COLOR_WINDOW));
    } else {
        FillRect(p, r, SysBrush(COLOR_BTNFACE));
        DrawEdge(p, r, EDGE_RAISED, BF_RECT);
    }
}

void TdxBarDropDownListBox::Paint(QPainter& p)
{
    FillRect(p, ClientRect(), SysBrush(COLOR_WINDOW));
    const int last = std::min<int>(int(entries_.size()), top_ + visibleRows_);
    for (int i = top_; i < last && combo_; ++i) {
        // The list draws as focused: the selected entry carries the focus frame.
        const unsigned state = i == index_ ? odSelected | odFocused : 0u;
        p.save();
        p.setClipRect(ItemRect(i).ToQRect(), Qt::IntersectClip);
        combo_->DrawItem(p, font_, i, ItemRect(i), state);
        p.restore();
    }
    if (!scrollBar_) return;
    const TRect bar = ScrollBarRect();
    FillRect(p, bar, dxBarPatternBrush());
    const int count = int(entries_.size());
    const int thumbHeight = std::max(8, bar.Height() * visibleRows_ / std::max(1, count));
    const int range = std::max(1, count - visibleRows_);
    const int thumbTop = bar.Top + (bar.Height() - thumbHeight) * top_ / range;
    const TRect thumb{bar.Left, thumbTop, bar.Right, thumbTop + thumbHeight};
    FillRect(p, thumb, SysBrush(COLOR_BTNFACE));
    DrawEdge(p, thumb, EDGE_RAISED, BF_RECT);
}

void TdxBarDropDownListBox::LButtonDown(const TPoint& client, TShiftState /*shift*/)
{
    if (scrollBar_ && ScrollBarRect().Contains(client)) {
        // A click on the scroll bar turns a page.
        const int count = int(entries_.size());
        const int range = std::max(1, count - visibleRows_);
        const int thumbTop = ScrollBarRect().Height() * top_ / (range + visibleRows_);
        const int page = std::max(1, visibleRows_ - 1);
        top_ = std::clamp(client.y() < thumbTop ? top_ - page : top_ + page, 0, std::max(0, count - visibleRows_));
        Invalidate();
        return;
    }
    const int index = ItemAt(client);
    if (index < 0) return;
    choosing_ = true;
    Select(index);
    SetCapture();
}

void TdxBarDropDownListBox::MouseMove(const TPoint& client, TShiftState /*shift*/)
{
    if (pending_ && GetCapture() == this && ClientRect().Contains(client)) {
        // The drag reached the list: from here the list tracks it.
        pending_ = false;
        choosing_ = true;
    }
    const int index = ItemAt(client);
    if (index >= 0 && index != index_) Select(index);
}

void TdxBarDropDownListBox::LButtonUp(const TPoint& /*client*/, TShiftState /*shift*/)
{
    const bool pending = pending_;
    pending_ = false;
    if (GetCapture() == this) ReleaseCapture();
    if (pending || !choosing_) return;
    choosing_ = false;
    Choose();
}

void TdxBarDropDownListBox::CaptureChanged()
{
    pending_ = false;
}

// ---------------------------------------------------------------- the hint window

namespace {

TCreateParams HintParams()
{
    TCreateParams params;
    params.Popup = true;
    return params;
}

// The system's status font: the platform's font for status bars; without a GUI application
// to ask, the default font at 8 points.
QFont SystemStatusFont()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) return QApplication::font("QStatusBar");
    QFont font;
    font.setPointSize(8);
    return font;
}

// Hints wrap at word breaks; a word wider than the work area breaks where it must.
QTextOption HintTextOption()
{
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// The size of text laid out as the hint paints it, in lines at most width wide.
QSize HintTextSize(const QFont& font, const QString& text, int width)
{
    QString lines = text;
    lines.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(lines, font);
    layout.setTextOption(HintTextOption());
    layout.beginLayout();
    qreal height = 0, widest = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition({0, height});
        height += line.height();
        widest = std::max(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return {std::min(width, int(std::ceil(widest))), int(std::ceil(height))};
}

}  // namespace

TdxBarHintWindow::TdxBarHintWindow() : TWindow(nullptr, HintParams()) {}

TdxBarHintWindow::~TdxBarHintWindow()
{
    Destroying();
    DetachHandle();
}

void TdxBarHintWindow::ActivateHint(const TPoint& at, const QString& text, TdxBarManager* manager)
{
    text_ = text;
    if (manager && manager->UseSystemFont())
        font_ = SystemStatusFont();
    else
        font_ = manager && manager->Font() ? manager->Font()->ToQFont() : QFont();
    const TRect area = dxBarGetWorkArea(at);
    const TRect bounds = inplace::HintBounds(at, HintTextSize(font_, text_, inplace::HintTextWidth(area)), area);
    Invalidate();
    SetWindowPos(bounds, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TdxBarHintWindow::Paint(QPainter& p)
{
    const TRect r = ClientRect();
    FillRect(p, r, SysBrush(COLOR_INFOBK));
    DrawEdge(p, r, BDR_RAISEDOUTER, BF_RECT);
    const TRect text{r.Left + 3, r.Top + 3, r.Right - 1, r.Bottom - 1};
    p.setFont(font_);
    p.setPen(SysColor(COLOR_INFOTEXT));
    p.drawText(QRectF(text.ToQRect()), text_, HintTextOption());
}
