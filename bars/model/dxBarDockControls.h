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
    // The thickness of the dock's client area while no bar is docked here.
    virtual int EmptySize() const { return 0; }
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
    // The length along the dock differs from the one last seen (and is remembered).
    bool LengthChanged();
    // The windows library takes the dock's input and painting first: a right press lists the
    // manager's toolbars, and it draws the dock (a sunken border's edge; at design time a
    // placed dock's dotted outline).
    bool WidgetEvent(QEvent* event) override;
    // The rows lie inside a sunken border's 1-px edge.
    QRect AdjustClientRect(QRect rect) const override;

private:
    int laidOutLength_ = -1;
    QPointer<TdxBarManager> barManager_;
    TdxBarDockingStyle builtInStyle_ = dsNone;
    bool allowDocking_ = true;
};

// A dock area a form designer places on a form; streamed with the form. It takes the
// manager's dock colour and sunken border unless it has its own, and turning it to another
// side turns its bars with it.
class TdxBarDockControl : public TdxDockControl {
    Q_OBJECT
    Q_PROPERTY(bool AllowDocking READ AllowDocking WRITE SetAllowDocking)
    Q_PROPERTY(bool AllowZeroSizeInDesignTime READ AllowZeroSizeInDesignTime WRITE SetAllowZeroSizeInDesignTime)
    Q_PROPERTY(TdxBarManager* BarManager READ BarManager WRITE SetBarManager)
    Q_PROPERTY(bool SunkenBorder READ GetSunkenBorder WRITE SetSunkenBorder)
    Q_PROPERTY(bool UseOwnColor READ UseOwnColor WRITE SetUseOwnColor)
    Q_PROPERTY(bool UseOwnSunkenBorder READ UseOwnSunkenBorder WRITE SetUseOwnSunkenBorder)
    Q_CLASSINFO("Default.AllowDocking", "True")
    Q_CLASSINFO("Default.AllowZeroSizeInDesignTime", "False")
    Q_CLASSINFO("Default.UseOwnColor", "False")
    Q_CLASSINFO("Default.UseOwnSunkenBorder", "False")
    Q_CLASSINFO("Stored.Color", "IsOwnColorStored")
    Q_CLASSINFO("Stored.ParentColor", "IsOwnColorStored")
    Q_CLASSINFO("Stored.SunkenBorder", "IsSunkenBorderStored")
public:
    Q_INVOKABLE explicit TdxBarDockControl(TComponent* owner);

    // Turning to another side restyles every docked bar window, under the manager's update
    // lock, so the bars are laid out once for the new side.
    void SetAlign(TAlign value) override;
    // A colour of its own (outside loading) keeps the manager's dock colour away.
    void SetColor(TColor value) override;
    void SetParentColor(bool value) override;
    bool UseOwnColor() const { return useOwnColor_; }
    // Clearing it takes the manager's dock colour again.
    void SetUseOwnColor(bool value);
    // A value that differs from the current one becomes the dock's own.
    void SetSunkenBorder(bool value);
    bool UseOwnSunkenBorder() const { return useOwnSunkenBorder_; }
    // Switching keeps the look: turned on, the own value is the border shown until then.
    void SetUseOwnSunkenBorder(bool value);
    // An empty dock at design time stays 3 px thick so that it can be seen, unless allowed
    // to shrink to nothing.
    bool AllowZeroSizeInDesignTime() const { return allowZeroSizeInDesignTime_; }
    void SetAllowZeroSizeInDesignTime(bool value);

    void BarManagerChanged() override;
    // Refused when docking is not allowed or the dock lies inside the bar's own window.
    bool CanDock(TdxBar* bar) const override;
    void UpdateColor() override;
    bool GetSunkenBorder() const override;
    int EmptySize() const override;

    Q_INVOKABLE bool IsOwnColorStored() const { return useOwnColor_ && !ParentColor(); }
    Q_INVOKABLE bool IsSunkenBorderStored() const { return useOwnSunkenBorder_; }

protected:
    // Any other thickness than its rows' is taken back, except while loading.
    void Resized() override;

private:
    // Loading from the form, or the manager restoring its bars after loading.
    bool Restoring() const;

    bool allowZeroSizeInDesignTime_ = false;
    bool sunkenBorder_ = false;
    bool useOwnColor_ = false;
    bool useOwnSunkenBorder_ = false;
};

// The control alignment of a docking style (alNone for dsNone).
TAlign dxBarDockingStyleToAlign(TdxBarDockingStyle style);
// The docking style of a control alignment.
TdxBarDockingStyle dxBarAlignToDockingStyle(TAlign align);
