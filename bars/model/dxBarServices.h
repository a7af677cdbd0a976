#pragma once
// The one seam between the item model and the bar windows library. The model calls what is
// declared here; the windows library implements it and hands its services in at start-up
// (dxBarSetWindowServices). Without them the model runs headless: the installed services
// start as a do-nothing instance, no control class has a factory, and no customizing
// window listens.
//
// - TdxBarWindowServices: the thread hooks and the hint window shared by all managers, a
//   bar's window, the drag loop, and what item links ask of the bar window showing them.
// - TdxBarItemControl: the on-screen counterpart of one shown item link inside one bar
//   window. Declared here so the model can pass changes to it; implemented by the windows
//   library (bars/windows/dxBarItemControl.cpp), whose control classes derive from it.
// - TdxBarItemControlClass: a control class as the item/control registry names it.
// - TdxBarCustomizingNotifications: the customizing window's notification routines.
#include "Graphics.h"
#include "Keys.h"
#include "WinTypes.h"
#include "dxBarTypes.h"

#include <QBrush>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <exception>
#include <functional>
#include <memory>

class QEvent;
class QFont;
class QPainter;
class TBitmap;
class TCustomImageList;
class TCustomdxBarControl;
class TPersistent;
class TdxBar;
class TdxBarGroup;
class TdxBarItem;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarManager;
class TdxBarPopupMenu;
class TdxBarPopupMenuLinks;
class TdxBarCustomCombo;
class TdxDockControl;
class QWidget;

// ---------------------------------------------------------------- item controls

// The paint type every item control's drawing gets.
enum : int { dxBarPaintHorizontal = 0, dxBarPaintMenu = 1, dxBarPaintVertical = 2 };

// The base of every item control. A bar window creates one for every can-visible link
// (CreateControls), sizes it (GetWidth/GetHeight, GetWidthForBar/GetHeightForBar,
// GetMinWidth/GetMinHeight), stores its place in the link's ItemRect, paints it through
// Draw(painter, rect, paint type) from its own Paint, and routes input to it
// (ControlClick on a press, ControlUnclick on the release that clicks, KeyDown with
// WantsKey, ControlActivate/ControlInactivate with the selection). A control knows its bar
// window as Parent and asks it to repaint its rectangle (Repaint) or to re-lay itself out
// (RepaintBar). Re-layouts free and re-create every control of the window; only the
// link's state survives them.
//
// A QObject for guarded pointers only: it has no meta-object of its own, so the model
// needs nothing of the windows library at link time (every call here is virtual or inline).
class TdxBarItemControl : public QObject {
public:
    explicit TdxBarItemControl(TdxBarItemLink* link);
    // Forgets the control wherever it is known (manager hint and selection, the link, the
    // bar window's selection). Subclasses must not rely on their own overrides here.
    ~TdxBarItemControl() override;

    // None once the link is gone.
    TdxBarItemLink* ItemLink() const;
    TdxBarItem* Item() const;
    TdxBarManager* BarManager() const;
    // The bar window that shows this control (taken from the link at creation); none once
    // that window is gone. Virtual so that the model reaches it without linking the windows
    // library.
    virtual TCustomdxBarControl* Parent() const;

    // --- per-window state
    // Place and flags of the layout (the bar windows' business).
    TRect LayoutRect;
    unsigned char LayoutFlags[4] = {0, 0, 0, 0};
    // The begin-group marker of menu rows.
    bool LayoutBeginGroup = false;
    // A disabled control may stay the selected one (IsSelected).
    bool StaysSelectedWhenDisabled = false;
    // Selected with its editor or menu open.
    virtual bool IsActive() const { return active_; }
    bool Pressed() const { return pressed_; }
    void SetPressed(bool value);

    // --- derived values
    bool IsFlatStyle() const;
    // The parent's selected control, and enabled (or allowed to stay selected).
    bool IsSelected() const;
    TdxBarItemAlign GetAlign() const;
    int GetHeightForBar();
    int GetWidthForBar();
    // Not in a drop-down window (menus, quick customization).
    bool InToolbar() const;
    bool InQuickControl() const;
    bool HasGlyph() const;
    bool HasImage() const;
    // Enabled, the left button down, and the cursor over the link's item rectangle.
    bool IsMousePressedOver() const;
    bool IsSelectable() const { return CanSelect() || CanClicked(); }
    // The selected control of an active bar window: change repaints leave it alone.
    virtual bool IsSelectedInActiveBar() const;
    // The paint style the control really uses (a button without a glyph shows its caption).
    virtual TdxBarPaintStyle RealPaintStyle() const;

    // --- change notices (from the item's setters)
    virtual void BeforeDestroyParentHandle() {}
    virtual void AlignChanged();
    virtual void CaptionChanged();
    virtual void EnabledChanged();
    virtual void GlyphChanged();
    virtual void PressedChanged();
    virtual void ShortCutChanged();
    virtual void WidthChanged();
    // Button items.
    virtual void ButtonStyleChanged() {}
    virtual void DownChanged() {}
    virtual void DropDownEnabledChanged() {}
    virtual void PaintStyleChanged() {}

    // --- behaviour
    virtual bool CanClicked() const { return true; }
    virtual bool CanCustomize() const;
    virtual bool CanSelect() const;
    // The click path: nothing when disabled; ControlClick, then, while the parent is alive
    // and still holds this control, ControlUnclick (which fires the item's click).
    virtual void Click(bool byMouse);
    // byMouse: the mouse (or the control's own click) asks for it; false for a hover or a
    // key selection, which a sub item in a menu answers after a delay.
    virtual void ControlActivate(bool /*byMouse*/) { active_ = true; }
    virtual void ControlInactivate(bool /*byMouse*/) { active_ = false; }
    virtual void ControlClick(bool /*byMouse*/) {}
    virtual void ControlUnclick(bool byMouse);
    virtual bool IsDrawnSelected() const { return IsSelected(); }
    virtual void KeyDown(int /*key*/) {}
    virtual bool WantsKey(int /*key*/) const { return false; }
    virtual QString GetCaption() const;
    virtual bool GetEnabled() const;
    // The link's glyph bitmap (its user glyph, else the item's); none without a link.
    virtual TBitmap* GetGlyph() const;
    virtual int GetImageIndex() const;
    virtual TCustomImageList* GetImages() const;
    virtual QString GetHint() const;
    virtual TCustomImageList* GetHotImages() const;
    virtual TCustomImageList* GetLargeImages() const;
    virtual TShortCut GetShortCut() const;
    // Where a caption starts after the glyph square in a menu row; 0 elsewhere.
    virtual int GetCaptionOffset() const;
    virtual int GetHeight() { return 0; }
    virtual int GetMinHeight() { return 1; }
    virtual int GetMinWidth() { return 1; }
    virtual int GetWidth() { return 0; }
    virtual bool HasHint() const;
    virtual bool HidesMenusOnClick() const { return true; }
    virtual bool IsExpandable() const { return false; }
    // A toolbar captures the mouse for the control on a press.
    virtual bool CapturesMouseOnPress() const { return false; }
    // Paints the control into r on the parent's painter; paintType 0 horizontal toolbar,
    // 1 menu row, 2 rotated vertical toolbar.
    virtual void Draw(QPainter& /*p*/, const TRect& /*r*/, int /*paintType*/) {}
    // Asks the parent to repaint this control's rectangle.
    virtual void Repaint();
    // Asks the parent to re-lay itself out.
    virtual void RepaintBar();
    virtual void DblClick() {}
    virtual bool HandlesDblClick() const;

    // --- window items: the in-place editor of a live control
    virtual bool HasEditor() const { return false; }
    virtual bool EditorFocused() const { return false; }
    virtual QString EditorText() const { return {}; }
    virtual void SetEditorText(const QString& /*text*/) {}
    // Combo items: the control's dropped-down state and its current list index.
    virtual bool IsDroppedDown() const { return false; }
    virtual int CurItemIndex() const { return -1; }
    virtual void SetCurItemIndex(int /*index*/) {}

    // --- drawing shared by all controls (on the parent's painter)
    // Flat: a button-shadow frame; else a sunken outer edge. r shrinks by 1.
    void DrawLoweredFrame(QPainter& p, TRect& r) const;
    // r shrinks by 1 and is filled.
    void DrawFrameAndFill(QPainter& p, TRect& r, bool sunken, bool framed) const;
    // alignment: 0 left, 1 centre, 2 right.
    void DrawItemText(QPainter& p, const QString& text, TRect r, bool flat, bool clip, bool rotated, bool selected,
                      bool enabled, int alignment) const;
    // A button face with its glyph: fill, glyph, frame.
    void DrawButtonInBar(QPainter& p, const TRect& r, int paintType, bool plainBackground, bool pressed, bool down,
                         bool selected, bool noGlyph) const;
    // A menu row: glyph square at the left, caption to its right.
    void DrawMenuGlyphAndCaption(QPainter& p, TRect r, bool down, bool glyphAllowed, bool selected) const;
    // The colour index and brush of an arrow drawn on a button part.
    void GetArrowColorAndBrush(bool selected, bool pressed, int& colorIndex, QBrush& brush) const;

protected:
    // The check mark of a menu glyph square without a glyph.
    void DrawCheckMark(QPainter& p, const TRect& r) const;

private:
    QPointer<QObject> link_;
    QPointer<QObject> parent_;
    bool active_ = false;
    bool pressed_ = false;
};

// A control class of the item/control registry: a name and, once the windows library has
// started, a factory. Identity is the descriptor's address.
struct TdxBarItemControlClass {
    using Factory = TdxBarItemControl* (*)(TdxBarItemLink*);
    const char* className;
    Factory factory = nullptr;
};

// The standard control classes; the bar windows install their factories.
extern TdxBarItemControlClass TdxBarButtonControlClass;
extern TdxBarItemControlClass TdxBarEditControlClass;
extern TdxBarItemControlClass TCustomdxBarComboControlClass;
extern TdxBarItemControlClass TdxBarComboControlClass;
extern TdxBarItemControlClass TdxBarSubItemControlClass;
extern TdxBarItemControlClass TdxBarContainerItemControlClass;
extern TdxBarItemControlClass TdxBarQuickCustExtButtonControlClass;
extern TdxBarItemControlClass TdxBarQuickCustItemControlClass;
extern TdxBarItemControlClass TSystemMenuSubItemControlClass;

// The customizing window's notification routines.
class TdxBarCustomizingNotifications {
public:
    virtual ~TdxBarCustomizingNotifications() = default;
    // True while a customizing window is open.
    virtual bool Exists() const { return false; }
    // Opens the window for manager (customizing mode began) and closes it (mode ended).
    virtual void Open(TdxBarManager* /*manager*/) {}
    virtual void Close(TdxBarManager* /*manager*/) {}
    virtual void StyleChanged() {}
    virtual void HelpButtonChanged() {}
    virtual void BarChanged(TdxBar* /*bar*/) {}
    virtual void ItemsChanged() {}
    virtual void SelectItem(TdxBarItem* /*item*/) {}
    virtual void ItemDestroyed(TdxBarItem* /*item*/) {}
    virtual void OptionsChanged() {}
    virtual void ItemRenamed(TdxBarItem* /*item*/) {}
    virtual void GroupRenamed(TdxBarGroup* /*group*/) {}
    virtual void GroupItemRenamed(TdxBarItem* /*item*/) {}
};

// The installed notifications (a do-nothing instance when none is installed).
TdxBarCustomizingNotifications& dxBarCustomizingForm();
// Installs the customizing window's notifications; nullptr uninstalls them.
void dxBarSetCustomizingForm(TdxBarCustomizingNotifications* form);
// A customizing window is installed: only then do the bars offer customizing to the user,
// since only the window can end it.
bool dxBarCustomizingFormInstalled();

// The list that drops down below a string combo (TdxBarCustomCombo). The windows library
// makes it, owned by the combo; the combo fills, drops and closes it through this.
class TdxBarDropDownList {
public:
    virtual ~TdxBarDropDownList() = default;
    // The list's own object (for guarded pointers) and its window.
    virtual QObject* ListObject() = 0;
    virtual QWidget* ListWidget() const = 0;
    // Takes a copy of the combo's entries, selects index and sizes itself for the combo's
    // live link.
    virtual void Prepare(int index) = 0;
    // Shows the list at the preferred screen point, kept inside the work area, without
    // activation; while the left button is still down the list tracks the pointer so that
    // a drag and a release choose an entry.
    virtual void Drop(QPoint preferred, QSize linkSize, bool vertical) = 0;
    virtual void CloseList() = 0;
    virtual bool ListVisible() const = 0;
    virtual void SelectIndex(int index) = 0;
    // A key the combo's editor passes on while the list is open.
    virtual void ListKeyDown(int key, TShiftState shift) = 0;
};

// A local event loop the model waits in (a popup menu's Popup).
class TdxBarModalWait {
public:
    virtual ~TdxBarModalWait() = default;
    // Returns once Stop is called (also from inside the loop) or the application quits.
    virtual void Run() = 0;
    virtual void Stop() = 0;
};

// What changed for a bar window (or for every bar window of a manager).
enum class TdxBarWindowChange {
    Caption,        // the bar's caption
    Layout,         // re-lay out and repaint
    Frame,          // recompute the non-client frame
    Font,           // font-changed message
    Style,          // the manager's style changed
    Repaint,        // repaint only
    Brushes,        // rebuild the brushes (image-list background colour)
    CloseButton,    // close or help button changed on the main menu bar
    Lock,           // LockUpdate(True) on a bar window
    Unlock,         // LockUpdate(False) on a bar window
};

class TdxBarWindowServices {
public:
    virtual ~TdxBarWindowServices() = default;

    // The three thread hooks (keyboard, mouse, call-window-procedure) and the hint window;
    // installed with the first manager, removed with the last.
    virtual void InstallHooks() {}
    virtual void RemoveHooks() {}
    virtual void CreateHintWindow() {}
    virtual void FreeHintWindow() {}

    // Creates the bar's window and shows it at the bar's placement: docked in
    // RealDockControl() at (DockedLeft, DockedTop), or floating at (FloatLeft, FloatTop).
    virtual void ShowBar(TdxBar* /*bar*/) {}
    // Tells the window it is about to be hidden, then frees it.
    virtual void HideBar(TdxBar* /*bar*/) {}
    virtual void BarWindowChanged(TdxBar* /*bar*/, TdxBarWindowChange /*change*/) {}
    // Every bar window of the manager (docked and floating, menus included).
    virtual void ManagerWindowsChanged(TdxBarManager* /*manager*/, TdxBarWindowChange /*change*/) {}
    // The modal drag of a bar window between dock areas and the floating state.
    virtual void DragBar(TdxBar* /*bar*/) {}
    // The modal drag of an item (or of one of its links) onto the manager's bars and menus
    // while customizing.
    virtual void DragItem(TdxBarManager* /*manager*/, TdxBarItem* /*item*/, TdxBarItemLink* /*link*/) {}
    // Lays the dock's rows of bar windows out and sizes the dock to them.
    virtual void UpdateDock(TdxDockControl* /*dock*/) {}
    // The dock is going: its rows are forgotten.
    virtual void DockDestroyed(TdxDockControl* /*dock*/) {}
    // Asks the active bar window of the manager, if any, to close all its menus.
    virtual void CloseActiveMenus(TdxBarManager* /*manager*/) {}
    // While customizing, the selection went from a control of left to one of entered (none):
    // the menus opened from left close, unless entered is one of them.
    virtual void SelectionLeftWindow(TCustomdxBarControl* /*left*/, TCustomdxBarControl* /*entered*/) {}

    // Shows the popup menu's links in a menu window at (x, y); closedUp runs once that window
    // has closed. False when no window was shown.
    virtual bool ShowPopupMenu(TdxBarPopupMenu* /*menu*/, int /*x*/, int /*y*/, std::function<void()> /*closedUp*/)
    {
        return false;
    }
    // Closes the popup menu's window, if it has one.
    virtual void ClosePopupMenu(TdxBarPopupMenu* /*menu*/) {}
    // The one hint window of the thread: shown at a screen point for a manager, hidden.
    virtual void ActivateHint(const TPoint& /*at*/, const QString& /*text*/, TdxBarManager* /*manager*/) {}
    virtual void HideHint() {}
    virtual bool HintVisible() const { return false; }
    // The drop-down list of a string combo, owned by the combo; none headless.
    virtual TdxBarDropDownList* CreateDropDownList(TdxBarCustomCombo* /*combo*/) { return nullptr; }
    // The list of the manager's toolbars at a screen point (a right click on a dock).
    virtual void ShowToolbarsPopup(TdxBarManager* /*manager*/, const TPoint& /*screen*/) {}
    // The links of a popup menu (a drop-down button's menu); none without the popup menus.
    virtual TdxBarItemLinks* PopupMenuItemLinks(TdxBarPopupMenu* /*menu*/) const { return nullptr; }

    // --- what item links need from the bar window that shows them
    // The window is in the library-wide live list and has its window handle.
    virtual bool IsBarWindowLive(TCustomdxBarControl* /*window*/) const { return false; }
    // The window is in the active chain (menu or keyboard mode).
    virtual bool IsBarWindowActive(TCustomdxBarControl* /*window*/) const { return false; }
    // The control whose item rectangle in the window holds a screen point; none elsewhere.
    virtual TdxBarItemControl* BarWindowControlAt(TCustomdxBarControl* /*window*/, const TPoint& /*screen*/) const
    {
        return nullptr;
    }
    // The window is in customizing state.
    virtual bool IsBarWindowCustomizing(TCustomdxBarControl* /*window*/) const { return false; }
    virtual TdxBarItemControl* BarWindowSelectedControl(TCustomdxBarControl* /*window*/) const { return nullptr; }
    // The window's selected control becomes none.
    virtual void DeselectBarWindowControl(TCustomdxBarControl* /*window*/) {}
    // Re-lays the window out now.
    virtual void RelayoutBarWindow(TCustomdxBarControl* /*window*/) {}
    // Asks the window to re-lay itself out later (a posted request).
    virtual void PostBarWindowRelayout(TCustomdxBarControl* /*window*/) {}
    virtual QRect BarWindowClientRect(TCustomdxBarControl* /*window*/) const { return {}; }
    // The links of the bar window that opened window (its parent bar window); none for a
    // toolbar or a window without a parent.
    virtual TdxBarItemLinks* ParentBarWindowLinks(TCustomdxBarControl* /*window*/) const { return nullptr; }
    // The item of the button whose drop-down opened popupMenu (a TdxBarPopupMenu); none
    // when the menu was not dropped down from a button.
    virtual TdxBarItem* PopupMenuDropDownItem(TPersistent* /*popupMenu*/) const { return nullptr; }
    // Handles a change of links owned by a popup menu or one of the library's own popups;
    // false for owners the windows library does not handle (the manager's Changed runs).
    virtual bool HandleLinksChanged(TdxBarItemLinks* /*links*/) { return false; }

    // --- windows and painters the model hands on without touching them
    // Whoever holds the mouse capture lets it go.
    virtual void ReleaseMouseCapture() {}
    // Runs a local event loop until Stop (or until the application quits); none headless.
    virtual std::unique_ptr<TdxBarModalWait> CreateModalWait() { return nullptr; }
    // Shows a window a combo's handler supplied at the preferred screen point, kept inside
    // the work area there, without activation; hides it.
    virtual void ShowDropDownWindow(QWidget* /*window*/, QPoint /*preferred*/, QSize /*linkSize*/, bool /*vertical*/) {}
    virtual void HideDropDownWindow(QWidget* /*window*/) {}
    // Paints one entry of a string combo with font: ownerDraw when there is one, else the
    // standard entry (the highlight when selected, text at left + 2, top + 2 in a flat text
    // box, a focus frame when focused). The painter's state is put back afterwards.
    virtual void DrawComboEntry(QPainter& /*p*/, const QFont& /*font*/, const QString& /*text*/, const TRect& /*rect*/,
                                unsigned /*state*/, bool /*flatInterior*/, const std::function<void()>& /*ownerDraw*/)
    {
    }
    // A dock window's updates are switched off (and on again) around a batch of changes.
    virtual void SetDockRedraw(TdxDockControl* /*dock*/, bool /*value*/) {}
    // An event of a dock's window: true when the services took it (a right press outside
    // customizing shows the list of the manager's toolbars).
    virtual bool DockWindowEvent(TdxDockControl* /*dock*/, QEvent* /*event*/) { return false; }
    // A context menu asked for on window wnd at a screen point ((-1, -1): from the keyboard,
    // at the caret): the first of the manager's popup menu links for a control holding wnd
    // that allows it shows its menu. True when a link allowed it.
    virtual bool ShowLinkedPopupMenu(TdxBarPopupMenuLinks* /*links*/, QWidget* /*wnd*/, const TPoint& /*screen*/)
    {
        return false;
    }
};

// The installed services (a do-nothing instance when none is installed).
TdxBarWindowServices& dxBarWindowServices();
// Installs the services; nullptr goes back to the do-nothing instance.
void dxBarSetWindowServices(TdxBarWindowServices* services);
