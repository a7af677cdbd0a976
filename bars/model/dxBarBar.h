#pragma once
// TdxBar: one toolbar or menu bar of a manager, holding the item links it shows and the dock
// placement the layout store persists; TdxBars: the manager's collection of bars.
// The bar's window, its drag and its dock areas' layout belong to the bar windows library,
// reached through dxBarServices.h.
#include "Collections.h"
#include "dxBarTypes.h"

#include "Graphics.h"
#include "Keys.h"

#include <QPointer>
#include <QString>

Q_MOC_INCLUDE("dxBarItemLink.h")
Q_MOC_INCLUDE("dxBarDockControls.h")

class TdxBarDockControl;
class TdxBarItemLinks;
class TdxBarManager;
class TdxBars;
class TdxDockControl;

class TdxBar : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(bool AllowClose READ AllowClose WRITE SetAllowClose)
    Q_PROPERTY(bool AllowCustomizing MEMBER allowCustomizing_)
    Q_PROPERTY(bool AllowQuickCustomizing READ AllowQuickCustomizing WRITE SetAllowQuickCustomizing)
    Q_PROPERTY(bool AllowReset MEMBER allowReset_)
    Q_PROPERTY(dxBarTypes::TdxBarBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TdxBarDockControl* DockControl READ DockControl WRITE SetDockControl)
    Q_PROPERTY(TdxBarDockControl* DockedDockControl READ DockedDockControl WRITE SetDockedDockControl)
    Q_PROPERTY(dxBarTypes::TdxBarDockingStyle DockedDockingStyle READ DockedDockingStyle WRITE SetDockedDockingStyle)
    Q_CLASSINFO("Stored.DockedDockingStyle", "IsDockedDockingStyleStored")
    Q_PROPERTY(int DockedLeft READ DockedLeft WRITE SetDockedLeft)
    Q_PROPERTY(int DockedTop READ DockedTop WRITE SetDockedTop)
    Q_PROPERTY(dxBarTypes::TdxBarDockingStyle DockingStyle READ DockingStyle WRITE SetDockingStyle)
    Q_CLASSINFO("Stored.DockingStyle", "IsDockingStyleStored")
    Q_PROPERTY(int FloatLeft READ FloatLeft WRITE SetFloatLeft)
    Q_PROPERTY(int FloatTop READ FloatTop WRITE SetFloatTop)
    Q_PROPERTY(int FloatClientWidth READ FloatClientWidth WRITE SetFloatClientWidth)
    Q_PROPERTY(int FloatClientHeight READ FloatClientHeight WRITE SetFloatClientHeight)
    Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
    Q_CLASSINFO("Stored.Font", "IsFontStored")
    Q_PROPERTY(bool Hidden READ Hidden WRITE SetHidden)
    Q_PROPERTY(bool IsMainMenu READ IsMainMenu WRITE SetIsMainMenu)
    Q_PROPERTY(TdxBarItemLinks* ItemLinks READ ItemLinks WRITE SetItemLinks)
    Q_PROPERTY(bool MultiLine READ MultiLine WRITE SetMultiLine)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(dxBarDockingStyleSet::TdxBarDockingStyles NotDocking READ NotDocking WRITE SetNotDocking)
    Q_PROPERTY(bool OneOnRow MEMBER oneOnRow_)
    Q_PROPERTY(bool RotateWhenVertical READ RotateWhenVertical WRITE SetRotateWhenVertical)
    Q_PROPERTY(int Row READ Row WRITE SetRow)
    Q_PROPERTY(bool ShowMark READ ShowMark WRITE SetShowMark)
    Q_PROPERTY(bool SizeGrip READ SizeGrip WRITE SetSizeGrip)
    Q_PROPERTY(bool UseOwnFont READ UseOwnFont WRITE SetUseOwnFont)
    Q_PROPERTY(bool UseRecentItems READ UseRecentItems WRITE SetUseRecentItems)
    Q_PROPERTY(bool UseRestSpace READ UseRestSpace WRITE SetUseRestSpace)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool WholeRow READ WholeRow WRITE SetWholeRow)
    Q_CLASSINFO("Default.DockedDockingStyle", "dsTop")
    Q_CLASSINFO("Default.AllowClose", "True")
    Q_CLASSINFO("Default.AllowCustomizing", "True")
    Q_CLASSINFO("Default.AllowQuickCustomizing", "True")
    Q_CLASSINFO("Default.AllowReset", "True")
    Q_CLASSINFO("Default.BorderStyle", "bbsSingle")
    Q_CLASSINFO("Default.DockedLeft", "0")
    Q_CLASSINFO("Default.DockedTop", "0")
    Q_CLASSINFO("Default.DockingStyle", "dsNone")
    Q_CLASSINFO("Default.FloatLeft", "0")
    Q_CLASSINFO("Default.FloatTop", "0")
    Q_CLASSINFO("Default.FloatClientWidth", "0")
    Q_CLASSINFO("Default.FloatClientHeight", "0")
    Q_CLASSINFO("Default.Hidden", "False")
    Q_CLASSINFO("Default.IsMainMenu", "False")
    Q_CLASSINFO("Default.MultiLine", "False")
    Q_CLASSINFO("Default.NotDocking", "[]")
    Q_CLASSINFO("Default.OneOnRow", "False")
    Q_CLASSINFO("Default.RotateWhenVertical", "True")
    Q_CLASSINFO("Default.Row", "0")
    Q_CLASSINFO("Default.ShowMark", "True")
    Q_CLASSINFO("Default.SizeGrip", "True")
    Q_CLASSINFO("Default.UseOwnFont", "False")
    Q_CLASSINFO("Default.UseRecentItems", "True")
    Q_CLASSINFO("Default.UseRestSpace", "False")
    Q_CLASSINFO("Default.Visible", "False")
    Q_CLASSINFO("Default.WholeRow", "False")
public:
    explicit TdxBar(TCollection* collection = nullptr);
    ~TdxBar() override;

    TdxBarManager* BarManager() const;
    TdxBars* Bars() const;
    TdxBarItemLinks* ItemLinks() const { return itemLinks_; }
    void SetItemLinks(TdxBarItemLinks* value);
    const QString& Caption() const { return caption_; }
    // A caption another bar carries already is refused; an unnamed bar takes it as name.
    void SetCaption(const QString& value);
    // Drops the caption without naming the bar or notifying anyone, so that a stored caption
    // it held can go to another bar (the layout store's restore).
    void ReleaseCaption();
    const QString& Name() const { return name_; }
    void SetName(const QString& value) { name_ = value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    // The style of DockControl when set, else the stored style.
    TdxBarDockingStyle DockingStyle() const;
    void SetDockingStyle(TdxBarDockingStyle value);
    TdxBarDockControl* DockControl() const { return dockControl_; }
    void SetDockControl(TdxBarDockControl* value);
    TdxBarDockControl* DockedDockControl() const { return dockedDockControl_; }
    void SetDockedDockControl(TdxBarDockControl* value);
    TdxBarDockingStyle DockedDockingStyle() const;
    void SetDockedDockingStyle(TdxBarDockingStyle value);
    TdxBarDockingStyles NotDocking() const { return notDocking_; }
    void SetNotDocking(TdxBarDockingStyles value) { notDocking_ = value; }
    bool IsMainMenu() const { return isMainMenu_; }
    void SetIsMainMenu(bool value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);
    bool WholeRow() const { return wholeRow_; }
    void SetWholeRow(bool value);
    bool UseRecentItems() const { return useRecentItems_; }
    void SetUseRecentItems(bool value);
    bool RotateWhenVertical() const { return rotateWhenVertical_; }
    void SetRotateWhenVertical(bool value);
    bool AllowClose() const { return allowClose_; }
    void SetAllowClose(bool value);
    bool AllowCustomizing() const { return allowCustomizing_; }
    void SetAllowCustomizing(bool value) { allowCustomizing_ = value; }
    bool AllowQuickCustomizing() const { return allowQuickCustomizing_; }
    void SetAllowQuickCustomizing(bool value);
    bool AllowReset() const { return allowReset_; }
    void SetAllowReset(bool value) { allowReset_ = value; }
    TdxBarBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TdxBarBorderStyle value);
    int DockedLeft() const { return dockedLeft_; }
    void SetDockedLeft(int value);
    int DockedTop() const { return dockedTop_; }
    void SetDockedTop(int value);
    int FloatLeft() const { return floatLeft_; }
    void SetFloatLeft(int value);
    int FloatTop() const { return floatTop_; }
    void SetFloatTop(int value);
    int FloatClientWidth() const { return floatClientWidth_; }
    void SetFloatClientWidth(int value);
    int FloatClientHeight() const { return floatClientHeight_; }
    void SetFloatClientHeight(int value);
    TFont* Font() const { return font_; }
    void SetFont(TFont* value);
    bool Hidden() const { return hidden_; }
    void SetHidden(bool value);
    bool OneOnRow() const { return oneOnRow_; }
    void SetOneOnRow(bool value) { oneOnRow_ = value; }
    int Row() const { return row_; }
    void SetRow(int value) { row_ = qMax(0, value); }
    bool ShowMark() const { return showMark_; }
    void SetShowMark(bool value);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value);
    bool UseOwnFont() const { return useOwnFont_; }
    void SetUseOwnFont(bool value);
    bool UseRestSpace() const { return useRestSpace_; }
    void SetUseRestSpace(bool value);

    Q_INVOKABLE bool IsDockingStyleStored() const { return !dockControl_; }
    Q_INVOKABLE bool IsDockedDockingStyleStored() const { return !dockedDockControl_; }
    Q_INVOKABLE bool IsFontStored() const { return useOwnFont_; }

    // DockControl, else the built-in dock of DockingStyle (none when floating or gone).
    TdxDockControl* RealDockControl() const;
    // A built-in dock counts as none.
    void DockTo(TdxBarDockingStyle style, TdxBarDockControl* dock);
    bool ShowsCloseButton() const;
    bool CanReset() const { return allowReset_ && canReset_; }
    void SetCanResetFlag(bool value) { canReset_ = value; }
    bool IsBottomBorderless() const;
    bool AutoHidden() const { return autoHidden_; }
    void SetAutoHidden(bool value) { autoHidden_ = value; }

    // Non-client room of the bar's window for a docking style.
    int NonClientWidth(TdxBarDockingStyle style) const;
    int NonClientHeight(TdxBarDockingStyle style) const;

    // Looks for an enabled clickable item with the shortcut on the bar, in its sub menus and
    // drop-down menus, and clicks the first. Every link collection is searched once.
    bool IsShortCut(TShortCut shortCut);
    void Assign(TPersistent* source) override;
    // Asks (39001) and resets on OK.
    void ResetWithConfirmation();
    // Takes the bar's state from a fresh copy of the form; nothing without one.
    void Reset();
    // Starts the modal drag of the bar's window (nothing when no style may be taken).
    void StartDrag();
    // The bar's window moved itself (a drag or a double click) to style and dock (none for
    // a built-in dock): the bar takes them without showing its window again.
    void WindowMoved(TdxBarDockingStyle style, TdxBarDockControl* dock);
    // The window's own docking style as the bar last showed or moved it.
    TdxBarDockingStyle WindowStyle() const { return windowStyle_; }
    // The bar's window has been docked since the bar was made (or its docked place stored).
    bool EverDocked() const { return everDocked_; }
    // The bar was read with the manager's form: not one the user made (at run time, or
    // restored from a stored layout). Such bars can be reset but not renamed or deleted.
    bool LoadedWithForm() const { return loadedWithForm_; }
    void SetLoadedWithForm(bool value) { loadedWithForm_ = value; }

    // Called by the manager: the values read while loading take effect.
    void ApplyLoadedState();
    // The manager's font changed: the bar follows it unless it uses its own.
    void ManagerFontChanged();
    // The owner form is gone: the window is dropped without being touched.
    void DropWindow();

    QString DisplayName() const override;

private:
    bool allowClose_ = true;
    bool allowCustomizing_ = true;
    bool allowQuickCustomizing_ = true;
    bool allowReset_ = true;
    TdxBarBorderStyle borderStyle_ = bbsSingle;
    QString caption_;
    int dockedLeft_ = 0;
    int dockedTop_ = 0;
    TdxBarDockingStyle dockingStyle_ = dsNone;
    int floatLeft_ = 0;
    int floatTop_ = 0;
    int floatClientWidth_ = 0;
    int floatClientHeight_ = 0;
    bool hidden_ = false;
    bool isMainMenu_ = false;
    TdxBarItemLinks* itemLinks_ = nullptr;
    bool multiLine_ = false;
    QString name_;
    TdxBarDockingStyles notDocking_;
    bool oneOnRow_ = false;
    bool rotateWhenVertical_ = true;
    int row_ = 0;
    bool showMark_ = true;
    bool sizeGrip_ = true;
    bool useOwnFont_ = false;
    bool useRecentItems_ = true;
    bool useRestSpace_ = false;
    bool visible_ = false;
    bool wholeRow_ = false;
    TdxBarDockControl* dockControl_ = nullptr;
    TdxBarDockControl* dockedDockControl_ = nullptr;
    TdxBarDockingStyle dockedDockingStyle_ = dsTop;
    TFont* font_ = nullptr;
    bool settingOwnFont_ = false;
    bool autoHidden_ = false;
    bool canReset_ = true;
    bool loaded_ = true;
    bool dockReentry_ = false;
    bool windowShown_ = false;
    bool everDocked_ = false;
    bool loadedWithForm_ = false;
    TdxBarDockingStyle windowStyle_ = dsNone;
    TdxBarDockControl* pendingDockControl_ = nullptr;
    TdxBarDockingStyle pendingDockingStyle_ = dsNone;
    bool pendingVisible_ = false;

    bool IsLoading() const;
    void ShowWindow();
    void HideWindow();
    void WindowChanged(int change) const;
    void NotifyBarChanged();
    void ManagerChanged() const;
    void FontChange(TObject* sender);
};

// Holds a bar window's update lock; releasing it re-lays the window out.
class TdxBarWindowLockScope {
public:
    explicit TdxBarWindowLockScope(TdxBar* bar);
    ~TdxBarWindowLockScope();
    TdxBarWindowLockScope(const TdxBarWindowLockScope&) = delete;
    TdxBarWindowLockScope& operator=(const TdxBarWindowLockScope&) = delete;

private:
    QPointer<TdxBar> bar_;
};

class TdxBars : public TCollection {
    Q_OBJECT
public:
    // Creates the four built-in docks of the manager's form sides.
    explicit TdxBars(TdxBarManager* manager);
    ~TdxBars() override;

    TdxBar* Add();
    TdxBar* Items(int index) const;
    TdxBarManager* BarManager() const { return manager_; }

    // The built-in dock of a side (dsLeft..dsBottom); none once it is gone.
    TdxDockControl* BuiltInDock(TdxBarDockingStyle style) const;
    static constexpr int DockZoneSize = 23;

    // Set by the manager while the bars are read and while the read states are applied.
    bool Loading() const { return loading_; }
    void SetLoading(bool value) { loading_ = value; }
    // Set while read or stored bar states are applied: visibility changes do not count as
    // modifications.
    bool Restoring() const { return restoring_ || loading_; }
    void SetRestoring(bool value) { restoring_ = value; }
    bool RestoringFlag() const { return restoring_; }

    // caption, else caption followed by 1, 2, ...: the first no bar bears as its name.
    QString GetUniqueBarName(const QString& caption) const;
    // The manager lets go of a dock: bars drop it, a built-in slot becomes nil.
    void DockControlRemoved(TdxDockControl* dock);

private:
    TdxBarManager* manager_;
    TdxDockControl* builtInDocks_[4] = {};
    bool loading_ = false;
    bool restoring_ = false;
};
