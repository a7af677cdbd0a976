#include "dxBarQuickControl.h"

#include "Keys.h"
#include "Painting.h"
#include "SysParams.h"
#include "ThreadTimers.h"
#include "dxBarBar.h"
#include "dxBarDrawing.h"
#include "dxBarInternalItems.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"
#include "dxBarTempItems.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>

namespace {

QPointer<TdxBarQuickControl> openQuickControl;
unsigned closeTimer = 0;

// The owner-bar links that take no room on the owner's window.
QList<TdxBarItemLink*> HiddenLinks(TdxBarControl* owner)
{
    QList<TdxBarItemLink*> hidden;
    TdxBarItemLinks* links = owner ? owner->ItemLinks() : nullptr;
    if (!links) return hidden;
    for (TdxBarItemLink* link : links->CanVisibleItems()) {
        const bool shown =
            links->VisibleItems().contains(link) && link->Control() && !owner->GetItemRect(link->Control()).IsEmpty();
        if (!shown) hidden << link;
    }
    return hidden;
}

}  // namespace

namespace quickcontrol {

TRect Bounds(const TRect& mark, int width, int height, bool verticalOwner, bool floatingFlatOwner, const TRect& work)
{
    int x, y;
    if (verticalOwner) {
        x = mark.Right;
        y = mark.Top;
        if (x + width > work.Right) x = mark.Left - width;
        y = std::max(y, work.Top);
        if (y + height > work.Bottom) y = work.Bottom - height;
    } else {
        x = floatingFlatOwner ? mark.Left : mark.Right - width;
        y = mark.Bottom;
        x = std::max(x, work.Left);
        if (x + width > work.Right) x = work.Right - width;
        if (y + height > work.Bottom) y = mark.Top - height;
    }
    return TRect::Bounds(x, y, width, height);
}

}  // namespace quickcontrol

// ---------------------------------------------------------------- the drop-down

TdxBar* TdxBarQuickControl::CreatePrivateBar(TdxBarManager* manager, TdxBarControl* owner)
{
    dxBarFreeUnusedTempItems();
    auto* bar = qobject_cast<TdxBar*>(manager->Bars()->Add());
    bar->SetAllowQuickCustomizing(false);
    bar->SetHidden(true);
    if (TdxBar* ownerBar = owner ? owner->Bar() : nullptr) {
        bar->SetFont(ownerBar->Font());
        bar->SetUseOwnFont(ownerBar->UseOwnFont());
    }
    // The links that did not fit, each clicking as its original.
    for (TdxBarItemLink* link : HiddenLinks(owner)) {
        QPointer<TdxBarItemLink> copy = bar->ItemLinks()->Add();
        copy->Assign(link);
        if (copy) copy->SetOriginalItemLink(link);
    }
    auto* sub = dxBarCreateTempItem<TdxBarSubItem>(manager);
    sub->SetCaption(dxBarStr(dxSBAR_ADDREMOVEBUTTONS));
    sub->SetEnabled(owner && owner->Bar() && owner->Bar()->AllowQuickCustomizing());
    TdxBarItemLink* last = bar->ItemLinks()->Add();
    last->SetItem(sub);
    last->SetBeginGroup(true);
    return bar;
}

TdxBarQuickControl::TdxBarQuickControl(TdxBarManager* manager, TdxBarControl* owner)
    : TdxBarControl(CreatePrivateBar(manager, owner), nullptr, false), owner_(owner)
{
    // One at a time: the one open goes the way its mark would close it.
    if (QPointer<TdxBarQuickControl> previous = openQuickControl.data()) {
        if (previous->owner_) previous->owner_->SetMarkState(0);
        if (previous) delete previous.data();
    }
    openQuickControl = this;
    privateBar_ = Bar();
    TdxBarItemLinks* links = privateBar_->ItemLinks();
    subItem_ = qobject_cast<TdxBarSubItem*>(links->Items(links->Count() - 1)->Item());
    if (subItem_ && subItem_->Enabled()) subItem_->OnPopup = TNotifyEvent(this, &TdxBarQuickControl::FillAddRemoveMenu);
}

TdxBarQuickControl::~TdxBarQuickControl()
{
    Destroying();
    BarControlDestroying();
    KillThreadTimer(closeTimer);
    if (openQuickControl == this) openQuickControl = nullptr;
    delete checkItem_.data();
    delete privateBar_.data();
}

TdxBarQuickControl* dxBarQuickControl()
{
    return openQuickControl;
}

void TdxBarQuickControl::UpdatePosition(const TRect& markScreen)
{
    TdxBarManager* manager = BarManager();
    TdxBarControl* owner = owner_;
    if (!manager) return;
    const floatingframe::TSize client = FloatingClientForWidth(0);
    const floatingframe::TSize size = FloatFrame().WindowSize(client);
    const bool vertical = owner && owner->IsVertical();
    const bool floatingFlat = owner && owner->Floating() && IsFlat();
    const TPoint anchor = vertical
                              ? TPoint(markScreen.Right, markScreen.Top)
                              : TPoint(floatingFlat ? markScreen.Left : markScreen.Right - size.X, markScreen.Bottom);
    const TRect bounds =
        quickcontrol::Bounds(markScreen, size.X, size.Y, vertical, floatingFlat, dxBarGetWorkArea(anchor));
    SetWindowPos(bounds, SWP_NOZORDER | SWP_NOACTIVATE);
    CalcItemRects();
    SetPlacing(false);
    Show();
}

QBrush TdxBarQuickControl::GetToolbarBrush() const
{
    return IsFlat() ? SysBrush(COLOR_WINDOW) : TdxBarControl::GetToolbarBrush();
}

bool TdxBarQuickControl::HeldByOwner() const
{
    return openQuickControl == this && owner_ && owner_->QuickControl() == this;
}

void TdxBarQuickControl::HideAll()
{
    QPointer<TdxBarQuickControl> self(this);
    TdxBarControl::HideAll();
    if (!self || !HeldByOwner()) return;
    QPointer<TdxBarControl> owner = owner_;
    // A press on the mark that closed the drop-down must not open it again on release.
    const TRect mark = owner->GetMarkRect();
    if ((QGuiApplication::mouseButtons() & Qt::LeftButton) && mark.Contains(owner->ScreenToClient(QCursor::pos())))
        owner->SetIgnoreClick(true);
    owner->SetMarkState(0);
}

int TdxBarQuickControl::NCHitTest(const TPoint& screen)
{
    const int answer = TdxBarControl::NCHitTest(screen);
    if (NCHitCode() != HTCLIENT) SetNCHitCode(HTBORDER);
    return answer == HTCLIENT || answer == HTNOWHERE ? answer : HTBORDER;
}

void TdxBarQuickControl::RButtonDown(const TPoint& /*client*/, TShiftState /*shift*/) {}

void TdxBarQuickControl::FillAddRemoveMenu(TObject* /*sender*/)
{
    TdxBarManager* manager = BarManager();
    TdxBarControl* owner = owner_;
    if (!manager || !owner || !subItem_) return;
    dxBarFreeUnusedTempItems();
    TdxBarItemLinks* entries = subItem_->ItemLinks();
    entries->Clear();
    delete checkItem_.data();
    checkItem_ = new TdxBarQuickCustItem(nullptr);
    checkItem_->SetBarManager(manager);
    if (TdxBarItemLinks* links = owner->ItemLinks()) {
        for (TdxBarItemLink* link : links->AvailableItems()) {
            if (link->Control() && !link->Control()->CanCustomize()) continue;
            TdxBarItemLink* entry = entries->Add();
            entry->SetItem(checkItem_);
            checkItem_->SetTargetLink(entry, link);
        }
    }
    TdxBar* bar = owner->Bar();
    const bool reset = manager->CanReset() && bar && bar->CanReset();
    if (reset) {
        auto* button = dxBarCreateTempItem<TdxBarQuickCustExtButton>(manager);
        button->SetCaption(dxBarStr(dxSBAR_RESETTOOLBAR));
        button->SetOnClick(TNotifyEvent(this, &TdxBarQuickControl::ResetClick));
        TdxBarItemLink* link = entries->Add();
        link->SetItem(button);
        link->SetBeginGroup(true);
    }
    manager->AddCustomizeItem(entries, !reset, [](TdxBarManager* m) -> TdxBarItem* {
        auto* item = new TdxBarQuickCustExtButton(nullptr);
        item->SetBarManager(m);
        return item;
    });
}

void TdxBarQuickControl::ResetClick(TObject* /*sender*/)
{
    QPointer<TdxBar> bar = owner_ ? owner_->Bar() : nullptr;
    if (bar) bar->ResetWithConfirmation();
}

// ---------------------------------------------------------------- close timer

void dxBarStartQuickCloseTimer()
{
    if (closeTimer) return;
    closeTimer = SetThreadTimer(TdxBarQuickControl::CloseDelay, [] {
        KillThreadTimer(closeTimer);
        try {
            TdxBarQuickControl* quick = openQuickControl;
            TdxBarManager* manager = quick ? quick->BarManager() : nullptr;
            TdxBarItemControl* selected = manager ? manager->SelectedControl() : nullptr;
            TCustomdxBarControl* root = selected ? dxBarGetItemControlToolbar(selected) : nullptr;
            if (!selected || root == quick) return;
            if (TdxBarControl* owner = quick->OwnerControl())
                owner->SetMarkState(0);
            else
                delete quick;
        } catch (...) {
            // Closing the drop-down never fails the timer.
        }
    });
}

bool dxBarQuickCloseTimerActive()
{
    return ThreadTimerActive(closeTimer);
}

// ---------------------------------------------------------------- entry controls

TdxBarItemLink* TdxBarQuickCustItemControl::TargetLink() const
{
    auto* item = qobject_cast<TdxBarQuickCustItem*>(Item());
    return item ? item->TargetLink(ItemLink()) : nullptr;
}

QString TdxBarQuickCustItemControl::GetCaption() const
{
    TdxBarItemLink* target = TargetLink();
    return target ? target->Caption() : QString();
}

TBitmap* TdxBarQuickCustItemControl::GetGlyph() const
{
    TdxBarItemLink* target = TargetLink();
    return target ? target->Glyph() : nullptr;
}

int TdxBarQuickCustItemControl::GetImageIndex() const
{
    TdxBarItemLink* target = TargetLink();
    return target && target->Item() ? target->Item()->ImageIndex() : -1;
}

QString TdxBarQuickCustItemControl::GetHint() const
{
    TdxBarItemLink* target = TargetLink();
    return target && target->Item() ? target->Item()->Hint() : QString();
}

TShortCut TdxBarQuickCustItemControl::GetShortCut() const
{
    TdxBarItemLink* target = TargetLink();
    return target && target->Item() ? target->Item()->ShortCut() : TShortCut(0);
}

void TdxBarQuickCustItemControl::ControlUnclick(bool byMouse)
{
    QPointer<TdxBarQuickCustItemControl> self(this);
    TdxBarButtonControl::ControlUnclick(byMouse);
    if (self) Repaint();
}

int TdxBarQuickCustItemControl::GetWidth()
{
    return TdxBarButtonControl::GetWidth() + GetDefaultHeight();
}

void TdxBarQuickCustItemControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    TCustomdxBarControl* parent = Parent();
    if (!parent || r.IsEmpty()) return;
    const bool flat = IsFlatStyle();
    const bool selected = IsDrawnSelected();
    // The check square, showing whether the target link is visible.
    TRect square(r.Left, r.Top, r.Left + r.Height(), r.Bottom);
    FillRect(p, square, parent->GetToolbarBrush());
    if (flat && !selected) {
        FrameRect(p, square, QBrush(ColorToQColor(dxBarFlatColors().Toolbar)));
        square = square.Inflated(-1, -1);
    }
    TdxBarItemLink* target = TargetLink();
    if (target && target->Visible()) DrawCheckMark(p, square);
    const TRect rest(r.Left + r.Height() + (flat ? 1 : 0), r.Top, r.Right, r.Bottom);
    TdxBarButtonControl::Draw(p, rest, paintType);
    if (flat && selected) {
        FillRect(p, {r.Left + r.Height(), r.Top, r.Left + r.Height() + 2, r.Bottom}, parent->GetSelectedBrush());
        dxBarFrameHighlight(p, r);
    }
}

int TdxBarQuickCustExtButtonControl::GetCaptionOffset() const
{
    return TdxBarButtonControl::GetCaptionOffset() +
           const_cast<TdxBarQuickCustExtButtonControl*>(this)->GetDefaultHeight();
}

int TdxBarQuickCustExtButtonControl::GetWidth()
{
    return TdxBarButtonControl::GetWidth() + GetDefaultHeight();
}

void TdxBarQuickCustExtButtonControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    TCustomdxBarControl* parent = Parent();
    if (!parent || r.IsEmpty()) return;
    const bool flat = IsFlatStyle();
    const bool selected = IsDrawnSelected();
    TRect square(r.Left, r.Top, r.Left + r.Height(), r.Bottom);
    const QBrush fill = selected ? parent->GetSelectedBrush()
                        : flat   ? QBrush(ColorToQColor(dxBarFlatColors().Toolbar))
                                 : SysBrush(COLOR_BTNFACE);
    FillRect(p, flat && selected ? square.Inflated(-1, -1) : square, fill);
    TdxBarButtonControl::Draw(p, {square.Right, r.Top, r.Right, r.Bottom}, paintType);
    if (flat && selected) {
        FillRect(p, {square.Right, r.Top, square.Right + 1, r.Bottom}, parent->GetSelectedBrush());
        dxBarFrameHighlight(p, r);
    }
}

void dxBarRegisterQuickCustControls()
{
    TdxBarQuickCustItemControlClass.factory = [](TdxBarItemLink* link) -> TdxBarItemControl* {
        return new TdxBarQuickCustItemControl(link);
    };
    TdxBarQuickCustExtButtonControlClass.factory = [](TdxBarItemLink* link) -> TdxBarItemControl* {
        return new TdxBarQuickCustExtButtonControl(link);
    };
}

void dxBarUnregisterQuickCustControls()
{
    TdxBarQuickCustItemControlClass.factory = nullptr;
    TdxBarQuickCustExtButtonControlClass.factory = nullptr;
}
