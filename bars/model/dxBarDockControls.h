#pragma once
// Dock areas as the manager and the bars see them. TdxDockControl is a control along one
// side of a form (the four built-in docks the bar collection creates) or placed anywhere
// (TdxBarDockControl). The row layout, the docked bar windows and the painting belong to
// the bar windows library, which overrides the virtual operations; the base keeps the
// model's part: the manager, the docking style, the colour rule and the docking permission.
#include "Controls.h"
#include "dxBarTypes.h"

#include <QPointer>

Q_MOC_INCLUDE("dxBarManager.h")

class TdxBar;
class TdxBarManager;

class TdxDockControl : public TWinControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TdxDockControl(TComponent* owner);
    // Leaves the manager first, so bars docked here let go of it.
    ~TdxDockControl() override;

    // A built-in dock of a form side: aligned to that side and registered with the manager.
    static TdxDockControl* CreateForSide(TComponent* owner, TdxBarDockingStyle style, TdxBarManager* manager);

    TdxBarManager* BarManager() const { return barManager_; }
    // Leaves the old manager's dock list, joins the new one's, then BarManagerChanged.
    void SetBarManager(TdxBarManager* value);
    bool AllowDocking() const { return allowDocking_; }
    void SetAllowDocking(bool value) { allowDocking_ = value; }
    // The form side of a built-in dock; dsNone for a placed one.
    TdxBarDockingStyle BuiltInStyle() const { return builtInStyle_; }
    bool IsBuiltIn() const { return builtInStyle_ != dsNone; }
    // The docking style that the alignment means.
    TdxBarDockingStyle DockingStyle() const;
    bool Horizontal() const;
    // The thickness across the dock: height of a horizontal dock, width of a vertical one.
    int Thickness() const { return Horizontal() ? Height() : Width(); }
    void SetThickness(int value);

    virtual void BarManagerChanged() {}
    virtual bool CanDock(TdxBar* /*bar*/) const { return allowDocking_; }
    // ParentColor without a manager or with its AutoDockColor; else the manager's DockColor.
    virtual void UpdateColor();
    virtual bool GetSunkenBorder() const;
    // The bar windows library's layout work; nothing to do without bar windows.
    virtual void RecalcBars();
    virtual void UpdateDock();
    virtual void LayoutRows();
    // Redraw switch around locked updates: neither the dock nor its bar windows paint while off.
    virtual void SetRedraw(bool value);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    // A new length along the dock lays its rows out again.
    void Resized() override;
    // A right press on the dock lists the manager's toolbars.
    bool WidgetEvent(QEvent* event) override;

private:
    int laidOutLength_ = -1;
    QPointer<TdxBarManager> barManager_;
    TdxBarDockingStyle builtInStyle_ = dsNone;
    bool allowDocking_ = true;
};

// A dock area a form designer places on a form; streamed with the form.
class TdxBarDockControl : public TdxDockControl {
    Q_OBJECT
    Q_PROPERTY(bool AllowDocking READ AllowDocking WRITE SetAllowDocking)
    Q_PROPERTY(TdxBarManager* BarManager READ BarManager WRITE SetBarManager)
    Q_CLASSINFO("Default.AllowDocking", "True")
public:
    Q_INVOKABLE explicit TdxBarDockControl(TComponent* owner);
};

// The control alignment of a docking style (alNone for dsNone).
TAlign dxBarDockingStyleToAlign(TdxBarDockingStyle style);
// The docking style of a control alignment.
TdxBarDockingStyle dxBarAlignToDockingStyle(TAlign align);
