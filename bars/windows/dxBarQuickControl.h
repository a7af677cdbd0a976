#pragma once
// Quick customization: the drop-down a toolbar's "More Buttons" mark opens. It is a small
// toolbar of its own (over a private, hidden bar of the manager) that shows the owner bar's
// links that did not fit, then the sub item "&Add or Remove Buttons", whose menu lists every
// link of the owner bar with a check square that shows or hides it at once (the menu stays
// open), then "&Reset Toolbar" when the bar may be reset, and the manager's "&Customize...".
//
// One drop-down exists at a time, library-wide. The owner's mark owns it: any state of the
// mark other than pressed frees it. A selection in another bar window while the drop-down
// is idle closes it 200 ms later (one thread timer).
#include "dxBarBar.h"
#include "dxBarButtonControl.h"
#include "dxBarControl.h"
#include "dxBarInternalItems.h"
#include "dxBarItems.h"

#include <QPointer>

namespace quickcontrol {

// Where the drop-down of a mark goes: below the mark, ending at its right (beside it for a
// vertical owner; starting at its left for a floating owner in the flat look), kept in the
// work area, flipping to the other side of the mark when it does not fit.
TRect Bounds(const TRect& markScreen, int width, int height, bool verticalOwner, bool floatingFlatOwner,
             const TRect& workArea);

}  // namespace quickcontrol

class TdxBarQuickControl : public TdxBarControl {
    Q_OBJECT
public:
    static constexpr int CloseDelay = 200;

    // The drop-down of owner's mark, hidden until UpdatePosition; it becomes the library's.
    TdxBarQuickControl(TdxBarManager* manager, TdxBarControl* owner);
    ~TdxBarQuickControl() override;

    TdxBarControl* OwnerControl() const { return owner_; }
    // "&Add or Remove Buttons".
    TdxBarSubItem* AddRemoveItem() const { return subItem_; }
    // The check item behind every entry of the add-or-remove menu (none before it opened).
    TdxBarQuickCustItem* CheckItem() const { return checkItem_; }

    // Sizes the window for its links and shows it at the owner's mark (screen rectangle).
    void UpdatePosition(const TRect& markScreen);

    QBrush GetToolbarBrush() const override;
    bool IsDropDownWindow() const override { return true; }
    void HideAll() override;
    // Neither moved nor sized: whatever is not the client area is border.
    int NCHitTest(const TPoint& screen) override;
    // No toolbars popup here.
    void RButtonDown(const TPoint& client, TShiftState shift) override;

private:
    static TdxBar* CreatePrivateBar(TdxBarManager* manager, TdxBarControl* owner);
    // The sub item's popup event: lists the owner bar's links, then the extra entries.
    void FillAddRemoveMenu(TObject* sender);
    void ResetClick(TObject* sender);
    // The owner's mark is the one that holds this drop-down.
    bool HeldByOwner() const;

    QPointer<TdxBarControl> owner_;
    QPointer<TdxBar> privateBar_;
    QPointer<TdxBarSubItem> subItem_;
    QPointer<TdxBarQuickCustItem> checkItem_;
};

// The open drop-down, if any.
TdxBarQuickControl* dxBarQuickControl();
// Starts the close timer unless it runs; its end closes the drop-down when the manager's
// selected control lies outside it.
void dxBarStartQuickCloseTimer();
bool dxBarQuickCloseTimerActive();

// The item controls of the quick-customization entries.
class TdxBarQuickCustItemControl : public TdxBarButtonControl {
public:
    using TdxBarButtonControl::TdxBarButtonControl;
    // The owner-bar link the entry stands for.
    TdxBarItemLink* TargetLink() const;

    QString GetCaption() const override;
    TBitmap* GetGlyph() const override;
    int GetImageIndex() const override;
    QString GetHint() const override;
    TShortCut GetShortCut() const override;
    bool HidesMenusOnClick() const override { return false; }
    void ControlUnclick(bool byMouse) override;
    int GetWidth() override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;
};

class TdxBarQuickCustExtButtonControl : public TdxBarButtonControl {
public:
    using TdxBarButtonControl::TdxBarButtonControl;
    int GetCaptionOffset() const override;
    int GetWidth() override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;
};

void dxBarRegisterQuickCustControls();
void dxBarUnregisterQuickCustControls();
