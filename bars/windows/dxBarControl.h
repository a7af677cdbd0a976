#pragma once
// TdxBarControl: the window of one bar (a toolbar or the menu bar) docked in a dock area.
// It lays its item controls out in a row (ToolbarLayout), draws its frame, grip and size
// grip in the non-client area, and paints its items, group separators and mark.
// Floating, dragging and sizing by the user are not handled here.
#include "ToolbarLayout.h"
#include "dxBarCustomControl.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <vector>

class TdxBar;

class TdxBarControl : public TCustomdxBarControl {
    Q_OBJECT
public:
    // A docked window of bar inside dock.
    TdxBarControl(TdxBar* bar, TdxDockControl* dock);
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
    // Places the visible links in the client area.
    void CalcItemRects();

    int BeginGroupSize() const override { return IsFlat() ? 5 : 6; }
    bool CanAlignItems() const override;
    bool MarkExists() const override;
    TRect GetItemRect(TdxBarItemControl* control) const override;
    QBrush GetToolbarBrush() const override;
    void RepaintBar() override;

    void NCCalcSize(TRect& rect) override;
    void NCPaint(QPainter& p) override;
    void Paint(QPainter& p) override;
    void LButtonDown(const TPoint& client, TShiftState shift) override;
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

private:
    bool HasSizeGrip() const;
    void PaintSeparator(QPainter& p, TdxBarItemControl* control, const TRect& itemRect);
    void PaintMark(QPainter& p);

    QPointer<TdxBar> bar_;
    bool truncated_ = false;
    bool dropDownMode_ = false;
    QPointer<QWidget> savedFocus_;
    // Where each shown link stands, by control.
    QHash<const TdxBarItemControl*, toolbarlayout::TPlace> places_;
};

// The manager's toolbar window in keyboard mode, if any.
TdxBarControl* dxBarFocusedBar(const TdxBarManager* manager);
