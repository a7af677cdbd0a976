#include "dxBarDockControls.h"

#include "dxBarBar.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarServices.h"

TAlign dxBarDockingStyleToAlign(TdxBarDockingStyle style)
{
    switch (style) {
    case dsLeft: return alLeft;
    case dsTop: return alTop;
    case dsRight: return alRight;
    case dsBottom: return alBottom;
    default: return alNone;
    }
}

TdxBarDockingStyle dxBarAlignToDockingStyle(TAlign align)
{
    switch (align) {
    case alBottom: return dsBottom;
    case alLeft: return dsLeft;
    case alRight: return dsRight;
    default: return dsTop;
    }
}

TdxDockControl::TdxDockControl(TComponent* owner) : TWinControl(owner)
{
    SetParentColor(true);
}

TdxDockControl::~TdxDockControl()
{
    SetBarManager(nullptr);
    dxBarWindowServices().DockDestroyed(this);
}

void TdxDockControl::RecalcBars()
{
    UpdateDock();
}

void TdxDockControl::SetRedraw(bool value)
{
    dxBarWindowServices().SetDockRedraw(this, value);
}

void TdxDockControl::UpdateDock()
{
    dxBarWindowServices().UpdateDock(this);
}

void TdxDockControl::LayoutRows()
{
    dxBarWindowServices().UpdateDock(this);
}

bool TdxDockControl::WidgetEvent(QEvent* event)
{
    if (dxBarWindowServices().DockWindowEvent(this, event)) return true;
    return TWinControl::WidgetEvent(event);
}

QRect TdxDockControl::AdjustClientRect(QRect rect) const
{
    if (!GetSunkenBorder()) return rect;
    return {rect.left() + 1, rect.top() + 1, std::max(0, rect.width() - 2), std::max(0, rect.height() - 2)};
}

void TdxDockControl::Resized()
{
    TWinControl::Resized();
    if (LengthChanged()) UpdateDock();
}

bool TdxDockControl::LengthChanged()
{
    const int length = Horizontal() ? Width() : Height();
    if (length == laidOutLength_) return false;
    laidOutLength_ = length;
    return true;
}

TdxDockControl* TdxDockControl::CreateForSide(TComponent* owner, TdxBarDockingStyle style, TdxBarManager* manager)
{
    auto* dock = new TdxDockControl(owner);
    dock->builtInStyle_ = style;
    dock->SetAlign(dxBarDockingStyleToAlign(style));
    dock->SetBounds(0, 0, 0, 0);
    dock->SetBarManager(manager);
    return dock;
}

void TdxDockControl::SetBarManager(TdxBarManager* value)
{
    if (value == barManager_) return;
    if (TdxBarManager* old = barManager_) {
        barManager_ = nullptr;
        old->RemoveFreeNotification(this);
        old->RemoveDockControl(this);
    }
    barManager_ = value;
    if (value) {
        value->AddDockControl(this);
        value->FreeNotification(this);
    }
    if (!IsDestroying()) BarManagerChanged();
}

TdxBarDockingStyle TdxDockControl::DockingStyle() const
{
    return dxBarAlignToDockingStyle(Align());
}

bool TdxDockControl::Horizontal() const
{
    const TdxBarDockingStyle style = DockingStyle();
    return style == dsTop || style == dsBottom;
}

void TdxDockControl::SetThickness(int value)
{
    if (Horizontal())
        SetHeight(value);
    else
        SetWidth(value);
}

void TdxDockControl::UpdateColor()
{
    if (!barManager_ || barManager_->AutoDockColor())
        SetParentColor(true);
    else
        SetColor(barManager_->DockColor());
}

bool TdxDockControl::GetSunkenBorder() const
{
    return barManager_ && barManager_->SunkenBorder();
}

void TdxDockControl::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == barManager_) barManager_ = nullptr;
}

// ---------------------------------------------------------------- TdxBarDockControl

TdxBarDockControl::TdxBarDockControl(TComponent* owner) : TdxDockControl(owner)
{
    SetAlign(alTop);
}

bool TdxBarDockControl::Restoring() const
{
    return Loading() || (BarManager() && BarManager()->BarsRestoring());
}

void TdxBarDockControl::SetAlign(TAlign value)
{
    if (value == Align()) return;
    TdxBarManager* manager = BarManager();
    if (!manager || !manager->Bars()) {
        TdxDockControl::SetAlign(value);
        return;
    }
    // The bars shown here, before the dock turns.
    QList<QPointer<TdxBar>> docked;
    TdxBars* bars = manager->Bars();
    for (int i = 0; i < bars->Count(); ++i) {
        TdxBar* bar = bars->Items(i);
        if (bar->DockControl() == this && bar->ItemLinks() &&
            dxBarWindowServices().IsBarWindowLive(bar->ItemLinks()->BarControl()))
            docked.append(bar);
    }
    {
        TdxBarUpdateLockScope lock(manager);
        TdxDockControl::SetAlign(value);
        const TdxBarDockingStyle style = DockingStyle();
        for (const QPointer<TdxBar>& bar : docked) {
            if (!bar) continue;
            bar->WindowMoved(style, this);
            dxBarWindowServices().BarWindowChanged(bar, TdxBarWindowChange::DockingStyle);
        }
    }
    if (TWinControl* parent = Parent()) parent->Invalidate();
}

void TdxBarDockControl::SetColor(TColor value)
{
    TdxDockControl::SetColor(value);
    if (!Restoring()) useOwnColor_ = true;
}

void TdxBarDockControl::SetParentColor(bool value)
{
    TdxDockControl::SetParentColor(value);
    if (!Restoring()) useOwnColor_ = true;
}

void TdxBarDockControl::SetUseOwnColor(bool value)
{
    useOwnColor_ = value;
    if (!value) UpdateColor();
}

void TdxBarDockControl::UpdateColor()
{
    if (useOwnColor_) return;
    TdxDockControl::UpdateColor();
    useOwnColor_ = false;  // the manager's colour is not one of the dock's own
}

bool TdxBarDockControl::GetSunkenBorder() const
{
    return useOwnSunkenBorder_ ? sunkenBorder_ : TdxDockControl::GetSunkenBorder();
}

void TdxBarDockControl::SetSunkenBorder(bool value)
{
    if (value == GetSunkenBorder()) return;
    sunkenBorder_ = value;
    useOwnSunkenBorder_ = true;
    RecalcBars();
}

void TdxBarDockControl::SetUseOwnSunkenBorder(bool value)
{
    if (value == useOwnSunkenBorder_) return;
    const bool shown = GetSunkenBorder();
    useOwnSunkenBorder_ = value;
    if (value)
        sunkenBorder_ = shown;
    else if (GetSunkenBorder() != shown)
        RecalcBars();
}

void TdxBarDockControl::SetAllowZeroSizeInDesignTime(bool value)
{
    if (value == allowZeroSizeInDesignTime_) return;
    allowZeroSizeInDesignTime_ = value;
    UpdateDock();
}

void TdxBarDockControl::Resized()
{
    TWinControl::Resized();
    // Outside loading the thickness is always the rows' (or the empty size).
    if (LengthChanged() || !Restoring()) UpdateDock();
}

int TdxBarDockControl::EmptySize() const
{
    return Designing() && !allowZeroSizeInDesignTime_ ? 3 : 0;
}

void TdxBarDockControl::BarManagerChanged()
{
    if (IsDestroying()) return;
    UpdateColor();
    RecalcBars();
}

bool TdxBarDockControl::CanDock(TdxBar* bar) const
{
    if (!AllowDocking()) return false;
    TCustomdxBarControl* window = bar && bar->ItemLinks() ? bar->ItemLinks()->BarControl() : nullptr;
    return !(window && dxBarWindowServices().IsInsideBarWindow(window, Handle()));
}
