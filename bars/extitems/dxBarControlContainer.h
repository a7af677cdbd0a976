#pragma once
// TdxBarControlContainerItem: an item that puts an ordinary control of the form (a label, a
// check box, any control) onto a bar. Each shown link gets a TdxBarControlContainerControl,
// which makes room for the control in the bar's layout; the control itself sits in the item's
// host, a plain container that the bar window takes as a child at the link's rectangle.
//
// - Placing: the bar window places the host once its layout has written the link rectangles
//   (PlaceHostedWindow), never while painting; painting only keeps the host's bounds.
// - A bar window's handle that goes or is swapped (hiding, floating, docking) first parks the
//   host, hidden, under the form's window: Qt would delete it with the handle. The next
//   layout places it again. A link that the window does not show, or a link control that
//   goes for good, parks it too; a re-layout, which frees and makes every control again,
//   does not, so the control neither flickers nor loses the focus.
// - Size watch: a change of the control's size that the item did not make itself re-lays
//   the bars out once; a move does nothing.
// - A control is hosted by at most one container item of a manager.
// - In the quick-customization drop-down the link is an ordinary clickable caption; while
//   the manager is designing, or without a control, the bar shows a hatched placeholder.
#include "Controls.h"
#include "dxBarCustomControl.h"
#include "dxBarItem.h"
#include "dxBarServices.h"

#include <QPointer>
#include <QSize>

class TdxBarControlContainerControl;

class TdxBarControlContainerItem : public TdxBarItem {
    Q_OBJECT
    Q_PROPERTY(TControl* Control READ Control WRITE SetControl)
public:
    Q_INVOKABLE explicit TdxBarControlContainerItem(TComponent* owner);
    // The control leaves the host (unless it is being freed), then the host goes.
    ~TdxBarControlContainerItem() override;

    TControl* Control() const { return control_; }
    // Exception 65266 when another container item of the manager hosts value already (the
    // item keeps its control); the same control again changes nothing.
    void SetControl(TControl* value);
    // The window that sits in the bar window and holds the control.
    TWinControl* Host() const;

    // --- item
    void Notification(TComponent* component, TOperation operation) override;
    void SetName(const QString& name) override;
    bool CanClicked() const override { return false; }
    bool IsHiddenInCategory() const override { return true; }
    bool IsAccelEnabled(TdxBarItemLink* link) const override;
    void ControlDestroyed(TdxBarItemControl* control) override;
    bool HostsWindow() const override { return true; }

    // --- for the link controls
    // Not in the quick-customization drop-down, a control assigned, the manager not designing.
    bool CanShowControl(const TdxBarItemControl* control) const;
    // The host sits in a handle of window.
    bool IsHostedIn(const TCustomdxBarControl* window) const;
    // Puts the host into the control's bar window at its link's rectangle, with the control
    // filling it.
    void PlaceControl(TdxBarControlContainerControl* control);
    // Keeps a placed host at the rectangle (client coordinates of the control's bar window).
    void KeepHostAt(TdxBarControlContainerControl* control, const TRect& rect);
    // Hides the host and parks it under the form's window.
    void ParkHost();

private:
    void ControlBoundsChanged(TControl* control);

    QPointer<TControl> control_;
    // The control as a component, for telling it apart while it is being freed.
    TComponent* controlComponent_ = nullptr;
    QPointer<TWinControl> host_;
    int boundsObserver_ = 0;
    QSize recordedSize_;
    // The link control that placed the host last, while it lives.
    QPointer<TdxBarItemControl> placedBy_;
    bool placing_ = false;
};

class TdxBarControlContainerControl : public TdxBarItemControl, public TdxBarWindowHost {
public:
    explicit TdxBarControlContainerControl(TdxBarItemLink* link);
    // Tells the item first.
    ~TdxBarControlContainerControl() override;

    // None while the item itself is being freed.
    TdxBarControlContainerItem* ContainerItem() const;

    void BeforeDestroyParentHandle() override;
    bool CanClicked() const override { return InQuickControl(); }
    bool CanSelect() const override;
    bool HidesMenusOnClick() const override { return InQuickControl(); }
    bool CapturesMouseOnPress() const override { return InQuickControl(); }
    int GetHeight() override;
    int GetWidth() override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;
    void PlaceHostedWindow() override;

private:
    void DrawCaptionEntry(QPainter& p, const TRect& r, int paintType) const;
    void DrawPlaceholder(QPainter& p, const TRect& r, int paintType) const;
};

extern TdxBarItemControlClass TdxBarControlContainerControlClass;
