#include "dxBarDockControls.h"

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

void TdxDockControl::RecalcBars() { UpdateDock(); }

void TdxDockControl::SetRedraw(bool value)
{
    dxBarWindowServices().SetDockRedraw(this, value);
}

void TdxDockControl::UpdateDock() { dxBarWindowServices().UpdateDock(this); }

void TdxDockControl::LayoutRows() { dxBarWindowServices().UpdateDock(this); }

bool TdxDockControl::WidgetEvent(QEvent* event)
{
    if (dxBarWindowServices().DockWindowEvent(this, event)) return true;
    return TWinControl::WidgetEvent(event);
}

void TdxDockControl::Resized()
{
    TWinControl::Resized();
    const int length = Horizontal() ? Width() : Height();
    if (length == laidOutLength_) return;
    laidOutLength_ = length;
    UpdateDock();
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

TdxBarDockControl::TdxBarDockControl(TComponent* owner) : TdxDockControl(owner)
{
    SetAlign(alTop);
}
