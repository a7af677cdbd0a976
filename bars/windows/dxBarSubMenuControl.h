#pragma once
// TdxBarSubMenuControl: the drop-down window of a sub item and of a popup menu. It shows
// the owner's links as one column of rows (MenuLayout), scrolls by hovering its arrows,
// shows only the recently used links first with an expand band for the rest, places itself
// on the work area (flipping past its owner), plays the opening animation on a GUI-thread
// timer and handles the keys of an open menu.
//
// Timers of the window: 1 scrolling (80 ms), 2 and 3 the expand delays (kind 0 makes the
// expand button hot, kind 1 expands), 4 the animation frames.
//
// A menu is created hidden, placed and shown by Show, and freed by Close (once); every
// caller that may close a menu holds a QPointer to it.
#include "MenuLayout.h"
#include "dxBarCustomControl.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <functional>
#include <vector>

class TCustomdxBarContainerItem;
class TdxBarSubItemControl;

class TdxBarSubMenuControl : public TCustomdxBarControl {
    Q_OBJECT
public:
    enum : int { ScrollTimer = 1, DelayTimerHot = 2, DelayTimerExpand = 3, AnimationTimer = 4 };
    static constexpr int ScrollInterval = 80;
    static constexpr int ExpandDelay = 4000;
    static constexpr int HotExpandDelay = 1000;

    explicit TdxBarSubMenuControl(TdxBarManager* manager);
    ~TdxBarSubMenuControl() override;

    bool IsMenu() const override { return true; }
    bool IsDropDownWindow() const override { return true; }

    // --- set up before Show
    // The requested top-left corner on the screen.
    void SetPosition(int left, int top);
    int SavedLeft() const { return savedLeft_; }
    int SavedTop() const { return savedTop_; }
    // The owner item the menu may jump over when it does not fit (0: no flip that way).
    void SetOwnerSize(int width, int height);
    void SetPreferRight(bool value) { preferRight_ = value; }
    void SetPreferDown(bool value) { preferDown_ = value; }
    void SetAnimate(bool value) { animate_ = value; }
    bool Animate() const { return animate_; }
    // The sub item control that opened the menu.
    TdxBarSubItemControl* OwnerSubItemControl() const;
    void SetOwnerSubItemControl(TdxBarSubItemControl* control);
    // The width of the owner-painted strip at the left and its painter.
    void SetSideStrip(int width) { sideStrip_ = std::max(0, width); }
    int SideStrip() const { return sideStrip_; }
    std::function<void(QPainter&, const TRect&)> OnPaintBar;
    std::function<void()> OnPopup;
    std::function<void()> OnCloseUp;

    // --- life
    // Places, lays out and shows the menu (animated when asked and allowed).
    void Show();
    // Frees the menu (once). Hold a QPointer across it.
    void Close();
    bool Closing() const { return closing_; }
    void HideAll() override;

    // --- layout
    menulayout::TMenu LayoutMenu() const;
    std::vector<menulayout::TRow> LayoutRows() const;
    // Lays the visible links out in the client area from the top index.
    void CalcLayout();
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    // Links from the top index that have a rectangle.
    int VisibleItemCount() const { return shown_; }
    bool CanScrollUp() const { return topIndex_ > 0; }
    bool CanScrollDown() const;
    bool IsNotRecent(TdxBarItemControl* control) const { return places_.value(control).NotRecent; }
    bool HasBoundary(TdxBarItemControl* control) const { return places_.value(control).Boundary; }
    // The expand band (empty without the expand button) and the scroll-arrow rows.
    TRect ExpandButtonRect() const;
    TRect UpArrowRect() const;
    TRect DownArrowRect() const;
    // Recent-items mode: the manager shows recent items first and these links use them.
    bool InRecentItemsMode() const;
    bool HasDetachBar() const;
    int DetachBarHeight() const { return IsFlat() ? 8 : 10; }
    // The hot rectangle of the detach bar in client coordinates (above the client area).
    TRect DetachBarRect() const;
    bool DetachBarHot() const { return detachHot_; }

    // --- expansion
    void ExpandMenu();

    // --- animation
    bool Animating() const;
    // Shows the finished menu at once.
    void WaitForAnimation();
    int AnimationFrame() const { return frame_; }
    const menulayout::TAnimationFrames& AnimationFrames() const { return frames_; }

    // --- overrides
    int BeginGroupSize() const override { return IsFlat() ? 5 : 10; }
    void CalcDrawingConsts() override;
    int ExpandButtonHeight() const { return expandButtonHeight_; }
    bool CanCustomize() const override;
    TRect GetItemRectEx(TdxBarItemControl* control, bool extended) const override;
    TdxBarItemControl* ItemAtPosEx(const TPoint& client, bool& outside, bool& before, bool& vertical) const override;
    bool MarkExists() const override;
    QBrush GetToolbarBrush() const override;
    void DrawItem(QPainter& p, TdxBarItemControl* control) override;
    void UpdateFont() override;
    void SetActive(bool value) override;
    void SetSelectedItem(TdxBarItemControl* control) override;
    void SetMarkState(int state) override;
    void RepaintBar() override;

    void NCCalcSize(TRect& rect) override;
    int NCHitTest(const TPoint& screen) override;
    void NCPaint(QPainter& p) override;
    void Paint(QPainter& p) override;
    void LButtonDown(const TPoint& client, TShiftState shift) override;
    void MouseMove(const TPoint& client, TShiftState shift) override;
    void MouseLeave() override;
    void KeyDown(int& key, TShiftState shift) override;
    void Timer(int id) override;

protected:
    // Rebuilds the controls for the current recent-items state.
    void RebuildControls();
    // Container items show their listed links in place of (or below) their own link while
    // the controls exist, outside customizing.
    void CreateControls() override;
    void DestroyControls() override;

private:
    // One container expanded in place: the links it put in, and its own link when those
    // replace it.
    struct TContainerExpansion {
        QPointer<TCustomdxBarContainerItem> Item;
        QList<QPointer<TdxBarItemLink>> Listed;
        QPointer<TdxBarItemLink> Replaced;
    };
    void ExpandContainers();
    void CollapseContainers();
    void ApplyRecentLimit();
    void PlaceWindow();
    void StartAnimation(bool flippedH, bool flippedV);
    void ShowFrame(int k);
    void FinishAnimation();
    void StartDelayTimer(int elapse, int kind);
    void KillDelayTimer();
    void PaintSeparator(QPainter& p, TdxBarItemControl* control, const TRect& r);
    void PaintArrowRow(QPainter& p, const TRect& r, bool up);
    void PaintExpandBand(QPainter& p);
    bool CursorIn(const TRect& r) const;
    void SetDetachBarHot(bool hot);
    void DragDetach();
    // The key handling of an open menu after the base (Enter, Esc, Left, Right).
    bool MenuKey(int key);

    std::vector<TContainerExpansion> containers_;
    QPointer<TdxBarSubItemControl> ownerSubItem_;
    int savedLeft_ = 0, savedTop_ = 0;
    int ownerWidth_ = 0, ownerHeight_ = 0;
    bool preferRight_ = true, preferDown_ = true;
    bool animate_ = false;
    bool closing_ = false;
    bool shownOnce_ = false;
    bool locked_ = false;
    int sideStrip_ = 0;
    int topIndex_ = 0;
    int shown_ = 0;
    int expandButtonHeight_ = 0;
    bool detachHot_ = false;
    TPoint lastScrollCursor_{-1, -1};
    QHash<const TdxBarItemControl*, menulayout::TPlace> places_;
    std::vector<menulayout::TRow> rows_;
    // Animation.
    menulayout::TAnimationFrames frames_;
    int frame_ = 0;
    bool growLeft_ = false, growUp_ = false;
    TRect finalBounds_;
    QSize nonClient_;
    QImage prepared_;
    // The brush a row is painted with (the recent-items brush for shaded rows).
    QBrush rowBrush_;
    bool paintingRow_ = false;
};

// The innermost open menu of the active chain, or none: the window that gets the keys of
// an open menu.
TdxBarSubMenuControl* dxBarActiveMenu();
// A chain of open menus exists.
bool dxBarMenuChainActive();
// The menu that is animating, if any.
TdxBarSubMenuControl* dxBarAnimatingMenu();
// The recent-items brush colour: button face lightened by 20 in each channel.
TColor dxBarRecentItemsColor();
