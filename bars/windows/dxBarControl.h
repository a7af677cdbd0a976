#pragma once
// TdxBarControl: the window of one bar (a toolbar or the menu bar), docked in a dock area
// or floating with its own small caption. It lays its item controls out (ToolbarLayout),
// draws its frame, grip, size grip or floating caption in the non-client area, and paints
// its items, group separators and mark. A press on the grip or caption hands the bar to the
// library's drag; a floating window sizes itself by its edges (snapping to the sizes its
// items allow, FloatingFrame), closes by its close button, and a double click on the grip
// or caption floats a docked bar or docks a floating one. After every move the bar holds
// the new place (StorePosition), so the layout store can save it.
#include "FloatingFrame.h"
#include "InPlaceGeometry.h"
#include "SizeGrip.h"
#include "ToolbarLayout.h"
#include "dxBarCustomControl.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <vector>

class TdxBar;
class TdxBarEditControl;
class TdxBarQuickControl;

class TdxBarControl : public TCustomdxBarControl {
    Q_OBJECT
public:
    // A docked window of bar inside dock, or a floating one without a dock. A window
    // without a caption (the quick-customization drop-down) has no close button either.
    TdxBarControl(TdxBar* bar, TdxDockControl* dock, bool withCaption = true);
    ~TdxBarControl() override;

    TdxBar* Bar() const { return bar_; }
    bool IsToolbar() const override { return true; }
    bool IsVertical() const override;
    bool IsRotated() const override;
    bool Truncated() const { return truncated_; }
    void SetTruncated(bool value) { truncated_ = value; }

    // The geometry of the bar and its can-visible items as the layout sees them.
    toolbarlayout::TBar LayoutBar() const;
    std::vector<toolbarlayout::TItem> LayoutItems() const;
    // Non-client room along and across the bar's row.
    int NCAlong() const;
    int NCAcross() const;
    // Shows the most recently used links up to limit (-1: all).
    void SetRecentLimit(int limit);
    // Places the visible links in the client area; answers whether any place changed.
    bool CalcItemRects();

    int BeginGroupSize() const override { return IsFlat() ? 5 : 6; }
    bool CanAlignItems() const override;
    bool MarkExists() const override;
    TRect GetItemRect(TdxBarItemControl* control) const override;
    QBrush GetToolbarBrush() const override;
    void RepaintBar() override;
    // The bar allows customizing.
    bool CanCustomize() const override;
    // Past the last item of a row the answer is that item, with the drop after it.
    TdxBarItemControl* ItemAtPosEx(const TPoint& client, bool& outside, bool& before, bool& vertical) const override;

    // --- the "More Buttons" mark
    // Its rectangle in client coordinates (in the caption of a floating window); empty
    // without a mark.
    TRect GetMarkRect() const;

    // The menu bar's caption buttons: minimize (0), restore (1) and close (2) of a maximized
    // MDI child with a system menu (HasMDIButtons), else the close button alone when the
    // manager shows it. CaptionButtonRect is in client coordinates, empty for a button not
    // shown; a button whose command the child's system menu grays is inactive.
    bool HasMDIButtons() const;
    bool HasCaptionButtons() const;
    // Besides the base's rule: a docked window of an MDI frame ignores moves while the
    // application is not active.
    bool IgnoreMouseMove(const TPoint& client) const override;
    TRect CaptionButtonRect(int index) const;
    bool CaptionButtonActive(int index) const;
    // The pressed caption button (-1: none) and whether the pointer is inside it.
    int PressedCaptionButton() const { return captionPressed_; }
    // The mark exists, the style is not the standard one, and the client point is on it.
    bool IsOverMark(const TPoint& client) const;
    // 0 normal, 1 hot, 2 pressed: pressing opens the quick-customization drop-down below
    // the mark, any other state closes it. Nothing while customizing.
    void SetMarkState(int state) override;
    // A press on the mark toggles it between pressed and hot; answers whether it was one.
    bool ClickMark(const TPoint& client);
    TdxBarQuickControl* QuickControl() const;
    // The hot mark of a floating window is checked on this timer (the pointer may leave
    // through the frame, where no move reaches the window).
    enum : int { MarkTimer = 1 };
    static constexpr int MarkTimerInterval = 50;
    void Timer(int id) override;

    // --- floating
    bool Floating() const { return DockingStyle() == dsNone; }
    floatingframe::TFloatFrame FloatFrame() const;
    // The floating window size for a client width (0: all items in one row).
    floatingframe::TSize FloatingSizeFor(int clientWidth) const;
    // The floating client size the items allow for a client width or height.
    floatingframe::TSize FloatingClientForWidth(int width) const;
    floatingframe::TSize FloatingClientForHeight(int height) const;
    // The last real hit-test code (HTCAPTION, a sizing edge, HTCLOSE, ...).
    int NCHitCode() const { return ncHitCode_; }
    // 0 normal, 1 hot, 2 pressed.
    int CloseButtonState() const { return closeState_; }
    // An edge being dragged by the sizing loop (0 none; HTBOTTOMRIGHT for the size grip,
    // which sizes the form).
    int SizingEdge() const { return sizingEdge_; }

    // --- the size grip of a bar docked at the bottom without a border: shown while the form
    // is not maximized and the window reaches the form's lower-right corner
    bool HasSizeGrip() const;
    // The grip the frame was last computed with.
    bool ShowsSizeGrip() const { return sizeGrip_; }
    // Computes the frame again when the grip comes or goes; answers whether it did.
    bool UpdateSizeGrip();

    // --- the width drag of an edit item while customizing: a press within a few pixels of
    // an edge of the selected edit item drags that edge; a frame shows the width the link
    // takes on the release. A lost capture leaves the width as it was.
    // The link width the drag shows (0: no drag).
    int EditWidthDragWidth() const { return widthDragging_ ? widthDragWidth_ : 0; }

    // --- moving between states
    // Switches the window to style in dock (none floating) at bounds: a docked window is a
    // child of its dock, a floating one a popup of the form. While dragging the handle of the
    // other state is kept for the way back; otherwise it goes.
    void ChangeDockControl(TdxBarDockingStyle style, TdxDockControl* dock, const TRect& bounds);
    // The dock turned to another side: a docked window takes the dock's docking style, its
    // frame and its items for it (the dock lays it out afterwards).
    void FollowDockingStyle();
    // The grab point of a press on the grip or caption: the cursor's offset in the window
    // and the window's size, so the grab can be scaled to another shape.
    void SetGrab(const TPoint& offset, int width, int height);
    // The grab point scaled to a window of the given size.
    TPoint GrabOffsetFor(int width, int height) const;
    // Dragging state: while set, the position is not stored.
    void SetBarDragging(bool value);
    // Set from construction until the library has placed the window: its passing
    // placements are not the bar's place.
    bool Placing() const { return placing_; }
    void SetPlacing(bool value) { placing_ = value; }
    // The bar takes this window's place: its float position and client size, or its dock,
    // row, column and position in the dock.
    void StorePosition();
    // Floats a docked bar, or docks a floating one where it last was docked (on a new last
    // row at the top when it never was); asks the manager first.
    void ToggleDocking();

    void NCCalcSize(TRect& rect) override;
    int NCHitTest(const TPoint& screen) override;
    void NCPaint(QPainter& p) override;
    void Paint(QPainter& p) override;
    void LButtonDown(const TPoint& client, TShiftState shift) override;
    // Outside customizing, the list of the manager's toolbars opens at the click.
    void RButtonDown(const TPoint& client, TShiftState shift) override;
    void KeyDown(int& key, TShiftState shift) override;

    // --- keyboard (menu) mode: the bar takes the keys through the input hooks while the
    // focus stays where it was
    // Enters keyboard mode with control selected (none: the first selectable link) and
    // becomes the manager's keyboard bar.
    void BarGetFocus(TdxBarItemControl* control);
    // Leaves keyboard mode (only the keyboard bar does); the focus goes back where it was.
    void BarLostFocus();
    bool InKeyboardMode() const;
    // While set, selecting a title opens its menu (a title was opened by click or key).
    bool DropDownMode() const override { return dropDownMode_; }
    void SetDropDownMode(bool value) override;
    void HideAll() override;
    void SetActive(bool value) override;
    void SetKeySelectedItem(TdxBarItemControl* control) override;
    void LButtonUp(const TPoint& client, TShiftState shift) override;
    void LButtonDblClk(const TPoint& client, TShiftState shift) override;
    void MouseMove(const TPoint& client, TShiftState shift) override;
    void MouseLeave() override;
    void NCLButtonDown(int hitTest, const TPoint& screen) override;
    void NCLButtonDblClk(int hitTest, const TPoint& screen) override;
    void CaptureChanged() override;
    void WindowPosChanging(TRect& bounds) override;
    void WindowPosChanged() override;

    void NCMouseMove(int hitTest, const TPoint& screen) override;

protected:
    // Sets the remembered hit-test code (a window that may not be moved or sized).
    void SetNCHitCode(int code) { ncHitCode_ = code; }

private:
    void NCPaintFloating(QPainter& p);
    void PaintCloseButton(QPainter& p, const TRect& r);
    void PaintCaptionButtons(QPainter& p);
    int CaptionButtonAt(const TPoint& client) const;
    void ClickCaptionButton(int index);
    // The sizing loop: the edge follows the pointer, snapped and kept in the work area. It
    // ends with the release; the capture lost (Esc takes it) puts back the size it began with.
    void BeginSizing(int edge, const TPoint& screen);
    void TrackSizing(const TPoint& screen);
    void EndSizing();
    void CancelSizing();
    void SetCloseState(int state);
    // The selected edit item while customizing, and the edge of it a client point arms.
    TdxBarEditControl* WidthDragControl() const;
    inplace::TWidthSide WidthDragSideAt(const TPoint& client) const;
    void TrackEditWidth(const TPoint& client);
    void EndEditWidth();
    void PaintEditWidthFrame(QPainter& p);
    // Starts the drag when the press was on the grip or caption (not on an item).
    void StartDragAt(const TPoint& client);
    void PaintSeparator(QPainter& p, TdxBarItemControl* control);
    void PaintMark(QPainter& p);

    QPointer<TdxBar> bar_;
    bool truncated_ = false;
    bool dropDownMode_ = false;
    QPointer<QWidget> savedFocus_;
    int ncHitCode_ = HTNOWHERE;
    int closeState_ = 0;
    int captionPressed_ = -1;
    bool captionInside_ = false;
    bool closePressed_ = false;
    bool sizeGrip_ = false;
    bool widthDragging_ = false;
    inplace::TWidthSide widthSide_ = inplace::TWidthSide::None;
    int widthDragWidth_ = 0;
    QPointer<TdxBarEditControl> widthControl_;
    int sizingEdge_ = 0;
    TPoint sizingStart_;
    TRect sizingBounds_;
    TPoint grab_;
    int grabbedWidth_ = 0;
    int grabbedHeight_ = 0;
    bool barDragging_ = false;
    bool placing_ = true;
    bool skipNextDown_ = false;
    bool withCaption_ = true;
    QPointer<TdxBarQuickControl> quickControl_;
    // Where each shown link stands, by control.
    QHash<const TdxBarItemControl*, toolbarlayout::TPlace> places_;
};

// The manager's toolbar window in keyboard mode, if any.
TdxBarControl* dxBarFocusedBar(const TdxBarManager* manager);
