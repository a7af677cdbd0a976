#include "dxBarControlContainer.h"

#include "Painting.h"
#include "Scope.h"
#include "SysParams.h"
#include "SysUtils.h"
#include "dxBarDrawing.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

TdxBarItemControlClass TdxBarControlContainerControlClass{
    "TdxBarControlContainerControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarControlContainerControl(link); }};

namespace {

// The plain container that sits in the bar window, filled with the bar's background.
class TdxBarControlHost : public TWinControl {
public:
    explicit TdxBarControlHost(TComponent* owner) : TWinControl(owner)
    {
        SetVisible(false);
        Handle()->setAutoFillBackground(true);
    }
    void SetBrush(const QBrush& brush)
    {
        QWidget* w = Handle();
        if (!w || w->palette().brush(QPalette::Window) == brush) return;
        QPalette palette = w->palette();
        palette.setBrush(QPalette::Window, brush);
        w->setPalette(palette);
    }
};

// A client rectangle of window as a rectangle of its widget (the non-client part first).
QRect WidgetRect(const TCustomdxBarControl* window, const TRect& client)
{
    const TRect frame = window->ClientBounds();
    return client.Offset(frame.Left, frame.Top).ToQRect();
}

}  // namespace

// ---------------------------------------------------------------- the item

TdxBarControlContainerItem::TdxBarControlContainerItem(TComponent* owner)
    : TdxBarItem(owner), host_(new TdxBarControlHost(this))
{}

TdxBarControlContainerItem::~TdxBarControlContainerItem()
{
    Destroying();
    SetControl(nullptr);
    if (TWinControl* host = host_) {
        // The host frees the controls it holds: anything still in it goes back first.
        while (host->ControlCount() > 0) host->Controls(host->ControlCount() - 1)->SetParent(nullptr);
        delete host;
    }
}

TWinControl* TdxBarControlContainerItem::Host() const
{
    return host_;
}

void TdxBarControlContainerItem::SetControl(TControl* value)
{
    if (value) {
        if (TdxBarManager* manager = BarManager()) {
            for (TdxBarItem* item : manager->ItemList()) {
                auto* other = qobject_cast<TdxBarControlContainerItem*>(item);
                if (other && other != this && other->Control() == value)
                    throw Exception(dxBarStr(dxSBAR_CONTAINERSAMECONTROL));
            }
        }
    }
    if (value == control_) return;
    if (TControl* old = control_) {
        old->RemoveBoundsObserver(boundsObserver_);
        RemoveFreeNotification(old);
        const bool designing = BarManager() && BarManager()->IsDesigning();
        if (!old->IsDestroying() && !designing) old->SetParent(nullptr);
    }
    control_ = value;
    controlComponent_ = value;
    boundsObserver_ = 0;
    placedBy_ = nullptr;
    if (value) {
        FreeNotification(value);
        boundsObserver_ =
            value->AddBoundsObserver([this](TControl* control, const QRect&) { ControlBoundsChanged(control); });
        recordedSize_ = value->BoundsRect().size();
    }
    if (!IsDestroying()) RepaintBars();
}

void TdxBarControlContainerItem::ControlBoundsChanged(TControl* control)
{
    // The item's own placing is no change of the control.
    if (placing_ || control != control_) return;
    const QSize size = control->BoundsRect().size();
    if (size == recordedSize_) return;
    recordedSize_ = size;
    RepaintBars();
}

void TdxBarControlContainerItem::Notification(TComponent* component, TOperation operation)
{
    TdxBarItem::Notification(component, operation);
    // The control is being freed: it is no longer a control, so it is only forgotten (and
    // told apart as the component it was when set).
    if (operation == opRemove && component && component == controlComponent_) {
        control_ = nullptr;
        controlComponent_ = nullptr;
        boundsObserver_ = 0;
        if (!IsDestroying()) RepaintBars();
    }
}

void TdxBarControlContainerItem::SetName(const QString& name)
{
    TdxBarItem::SetName(name);
    // The placeholder shows the item's name.
    if (!control_ && !Loading()) RepaintBars();
}

bool TdxBarControlContainerItem::IsAccelEnabled(TdxBarItemLink* link) const
{
    return link && link->Control() && link->Control()->InQuickControl();
}

bool TdxBarControlContainerItem::CanShowControl(const TdxBarItemControl* control) const
{
    const TdxBarManager* manager = BarManager();
    return control && !control->InQuickControl() && control_ && !(manager && manager->IsDesigning());
}

bool TdxBarControlContainerItem::IsHostedIn(const TCustomdxBarControl* window) const
{
    QWidget* parent = host_ ? host_->ParentWindow() : nullptr;
    return window && parent && TWindow::FromWidget(parent) == window;
}

void TdxBarControlContainerItem::ControlDestroyed(TdxBarItemControl* control)
{
    if (control) {
        if (control->InQuickControl()) return;
        // A re-layout frees every control of its window and makes them again; the layout
        // that follows places the host anew or tells that the link is not shown.
        if (TCustomdxBarControl* window = control->Parent(); window && window->DestroyingControls()) return;
    }
    // Another link control still shows the host.
    if (placedBy_ && placedBy_ != control) return;
    ParkHost();
}

void TdxBarControlContainerItem::ParkHost()
{
    placedBy_ = nullptr;
    TWinControl* host = host_;
    if (!host) return;
    host->SetVisible(false);
    host->SetParentWindow(nullptr);
}

void TdxBarControlContainerItem::PlaceControl(TdxBarControlContainerControl* control)
{
    TCustomdxBarControl* window = control ? control->Parent() : nullptr;
    TdxBarItemLink* link = control ? control->ItemLink() : nullptr;
    TWinControl* host = host_;
    TControl* hosted = control_;
    if (!window || !link || !host || !hosted || !window->Handle() || !CanShowControl(control)) return;
    const TRect rect = TRect::FromQRect(link->ItemRect());
    if (rect.IsEmpty()) return;
    TRestore placing(placing_, true);
    static_cast<TdxBarControlHost*>(host)->SetBrush(window->GetToolbarBrush());
    const QRect bounds = WidgetRect(window, rect);
    host->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    host->SetParentWindow(window->Handle());
    hosted->SetParent(host);
    hosted->SetBounds(0, 0, bounds.width(), bounds.height());
    hosted->SetVisible(true);
    host->SetVisible(true);
    placedBy_ = control;
    // The size the item gave the control is no change of the control's own.
    recordedSize_ = hosted->BoundsRect().size();
}

void TdxBarControlContainerItem::KeepHostAt(TdxBarControlContainerControl* control, const TRect& rect)
{
    TCustomdxBarControl* window = control ? control->Parent() : nullptr;
    TWinControl* host = host_;
    if (!host || placedBy_ != control || !IsHostedIn(window) || rect.IsEmpty()) return;
    const QRect bounds = WidgetRect(window, rect);
    if (host->BoundsRect() == bounds) return;
    TRestore placing(placing_, true);
    host->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    if (TControl* hosted = control_) hosted->SetBounds(0, 0, bounds.width(), bounds.height());
}

// ---------------------------------------------------------------- the link control

TdxBarControlContainerControl::TdxBarControlContainerControl(TdxBarItemLink* link) : TdxBarItemControl(link) {}

TdxBarControlContainerControl::~TdxBarControlContainerControl()
{
    // Through the item's virtual: while the item itself is being freed it is no container.
    if (TdxBarItem* item = Item()) item->ControlDestroyed(this);
}

TdxBarControlContainerItem* TdxBarControlContainerControl::ContainerItem() const
{
    return qobject_cast<TdxBarControlContainerItem*>(Item());
}

void TdxBarControlContainerControl::BeforeDestroyParentHandle()
{
    TdxBarItemControl::BeforeDestroyParentHandle();
    TdxBarControlContainerItem* item = ContainerItem();
    if (item && item->IsHostedIn(Parent())) item->ParkHost();
}

bool TdxBarControlContainerControl::CanSelect() const
{
    return InQuickControl() || (BarManager() && BarManager()->IsDesigning());
}

int TdxBarControlContainerControl::GetHeight()
{
    TdxBarControlContainerItem* item = ContainerItem();
    if (item && item->Control() && !InQuickControl()) return item->Control()->Height();
    TCustomdxBarControl* parent = Parent();
    if (!parent) return 0;
    int height = parent->ItemHeight();
    if (parent->IsToolbar() && BarManager()) height = std::max(height, BarManager()->GlyphSize());
    return height;
}

int TdxBarControlContainerControl::GetWidth()
{
    TdxBarControlContainerItem* item = ContainerItem();
    TCustomdxBarControl* parent = Parent();
    if (!item || !parent) return 0;
    const QFontMetrics metrics(parent->Font());
    const int points = dxBarFontPoints(parent->Font());
    if (InQuickControl()) {
        const int caption = metrics.horizontalAdvance(dxBarRemoveAmpersands(GetCaption()));
        return caption + (HasGlyph() && BarManager() ? BarManager()->GlyphSize() + 4 : points);
    }
    if (item->Control()) return item->Control()->Width();
    const int name = metrics.horizontalAdvance(dxBarRemoveAmpersands(item->Name()));
    if (parent->IsMenu()) return name + 2 * parent->ItemHeight() + 6 + (IsFlatStyle() ? 9 : 0);
    return name + points;
}

void TdxBarControlContainerControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    TdxBarControlContainerItem* item = ContainerItem();
    if (!item || r.IsEmpty()) return;
    if (InQuickControl()) {
        DrawCaptionEntry(p, r, paintType);
        return;
    }
    if (!item->Control() || (BarManager() && BarManager()->IsDesigning())) {
        DrawPlaceholder(p, r, paintType);
        return;
    }
    // The layout placed the host; a paint only keeps its bounds.
    item->KeepHostAt(this, r);
}

void TdxBarControlContainerControl::DrawCaptionEntry(QPainter& p, const TRect& r, int paintType) const
{
    TCustomdxBarControl* parent = Parent();
    if (!parent) return;
    const bool selected = IsDrawnSelected();
    const bool pressed = selected && parent->IsActive() && IsMousePressedOver();
    DrawButtonInBar(p, r, paintType, false, pressed, false, selected, true);
    const bool rotated = paintType == dxBarPaintVertical;
    const int offset = HasGlyph() && BarManager() ? BarManager()->GlyphSize() : dxBarFontPoints(parent->Font()) / 2;
    TRect text =
        rotated ? TRect(r.Left, r.Top + offset, r.Right, r.Bottom) : TRect(r.Left + offset, r.Top, r.Right, r.Bottom);
    if (pressed && !IsFlatStyle()) text = text.Offset(1, 1);
    p.save();
    p.setFont(parent->Font());
    DrawItemText(p, GetCaption(), text, IsFlatStyle(), false, rotated, false, GetEnabled(), 0);
    p.restore();
}

void TdxBarControlContainerControl::DrawPlaceholder(QPainter& p, const TRect& rect, int paintType) const
{
    TCustomdxBarControl* parent = Parent();
    TdxBarControlContainerItem* item = ContainerItem();
    if (!parent || !item) return;
    TRect r = rect;
    FrameRect(p, r, SysBrush(COLOR_BTNSHADOW));
    r = r.Inflated(-1, -1);
    const QColor background = parent->GetToolbarBrush().color();
    FillRect(p, r, QBrush(background));
    FillRect(p, r, QBrush(SysColor(COLOR_BTNSHADOW), Qt::BDiagPattern));
    const QString text = item->Control() ? dxBarStr(dxSBAR_PLACEFORCONTROL) + item->Control()->Name() : item->Name();
    p.save();
    p.setFont(parent->Font());
    DrawItemText(p, text, r, IsFlatStyle(), true, paintType == dxBarPaintVertical, false, true, 1);
    p.restore();
}

void TdxBarControlContainerControl::PlaceHostedWindow()
{
    TdxBarControlContainerItem* item = ContainerItem();
    if (!item || InQuickControl()) return;
    if (item->CanShowControl(this))
        item->PlaceControl(this);
    else
        item->ParkHost();  // the placeholder shows instead
}
