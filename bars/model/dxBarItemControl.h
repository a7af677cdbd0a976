#pragma once
// The item control as the model sees it: the on-screen counterpart of one shown item link
// inside one bar window. Declared here so that the model can pass changes to it. What it
// answers from its link and item alone is implemented here (dxBarItemControl.cpp); the rest,
// which depends on the bar window showing it, by the windows library
// (bars/windows/dxBarItemControl.cpp), whose control classes derive from it. Every member of
// the windows library's part that the model calls is virtual, so the model links without the
// windows library. Also the control classes of the item/control registry.
#include "Graphics.h"
#include "Keys.h"
#include "WinTypes.h"
#include "dxBarTypes.h"

#include <QBrush>
#include <QObject>
#include <QPointer>
#include <QString>

class TBitmap;
class TCustomImageList;
class TCustomdxBarControl;
class TdxBarItem;
class TdxBarItemLink;
class TdxBarManager;

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
// needs nothing of the windows library at link time (see above).
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
    virtual void Draw(TCanvas& /*p*/, const TRect& /*r*/, int /*paintType*/) {}
    // Asks the parent to repaint this control's rectangle.
    virtual void Repaint();
    // Asks the parent to re-lay itself out.
    virtual void RepaintBar();
    virtual void DblClick() {}
    // A double click reaches DblClick even on a control that opens a menu.
    virtual bool DblClickWhileExpandable() const { return false; }
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
    void DrawLoweredFrame(TCanvas& p, TRect& r) const;
    // r shrinks by 1 and is filled.
    void DrawFrameAndFill(TCanvas& p, TRect& r, bool sunken, bool framed) const;
    // alignment: 0 left, 1 centre, 2 right.
    void DrawItemText(TCanvas& p, const QString& text, TRect r, bool flat, bool clip, bool rotated, bool selected,
                      bool enabled, int alignment) const;
    // A button face with its glyph: fill, glyph, frame.
    void DrawButtonInBar(TCanvas& p, const TRect& r, int paintType, bool plainBackground, bool pressed, bool down,
                         bool selected, bool noGlyph) const;
    // The fill and the frame of a button face, as DrawButtonInBar draws them around its glyph.
    QBrush ButtonFaceBrush(int paintType, bool plainBackground, bool down, bool selected, bool glyphDrawn) const;
    void DrawButtonFrame(TCanvas& p, const TRect& r, int paintType, bool pressed, bool down, bool selected,
                         bool glyphDrawn, const QBrush& fill) const;
    // A menu row: glyph square at the left, caption to its right.
    void DrawMenuGlyphAndCaption(TCanvas& p, TRect r, bool down, bool glyphAllowed, bool selected) const;
    // The colour index and brush of an arrow drawn on a button part.
    void GetArrowColorAndBrush(bool selected, bool pressed, int& colorIndex, QBrush& brush) const;

protected:
    // The check mark of a menu glyph square without a glyph.
    void DrawCheckMark(TCanvas& p, const TRect& r) const;

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
