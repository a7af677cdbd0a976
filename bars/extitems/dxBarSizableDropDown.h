#pragma once
// TdxBarSizableDropDown: the base of a combo's drop-down window that the user sizes with a grip
// and closes with a button, both in a strip on the side away from the combo's edit box.
//
// It is a popup window owned by the combo (as a component) and by the combo's form (as a
// window), made once the combo's form is known; it never takes activation or the focus, so
// the combo's in-place editor keeps the keys. A subclass paints the client area, or hands a
// widget to SetContent, which is kept over the client area.
//
// The combo drops it with Drop and closes it with CloseUp from its own DropDown and CloseUp.
// The grip drag is the window's own loop with the mouse captured: the grip's corner follows
// the pointer and the opposite corner stays, never below 100 x 100. A press on the close
// button holds it until the release; a release over it closes the drop-down the way a choice
// does (the menus close).
#include "Window.h"
#include "dxBarDropDownFrameLayout.h"

#include <QPointer>

class TCustomdxBarCombo;

class TdxBarSizableDropDown : public TWindow {
    Q_OBJECT
public:
    explicit TdxBarSizableDropDown(TCustomdxBarCombo* combo);
    ~TdxBarSizableDropDown() override;

    TCustomdxBarCombo* Combo() const { return combo_; }
    // Shows the strip with its grip and close button.
    bool AllowResizing() const { return allowResizing_; }
    void SetAllowResizing(bool value);
    // The grip's corner, as the frame was last computed.
    TdxCorner GripCorner() const { return corner_; }
    TdxDropDownFrameLayout FrameLayout() const;
    // The close button's and the grip's rectangles in window coordinates (empty without the
    // strip).
    TRect CloseButtonRect() const { return FrameLayout().CloseButton(); }
    TRect GripRect() const { return FrameLayout().GripBox(); }
    bool CloseTracking() const { return closeTracking_; }
    bool MouseAboveClose() const { return mouseAbove_; }
    bool Sizing() const { return sizing_; }

    // A child widget kept over the client area (none: the subclass paints it).
    void SetContent(QWidget* content);
    QWidget* Content() const { return content_; }

    // Opens at the preferred screen point beside the link (dxBarDropDownPosition) without
    // activation; the grip's corner follows from where the window lands.
    void Drop(QPoint preferred, QSize linkSize, bool vertical);
    // Ends a grip drag or a held close button and hides the window.
    void CloseUp();
    // Sizes the window so that its client area gets the size, never below the minimum.
    // Whether the client area got it.
    bool SetClientSize(QSize size);

    // --- messages
    void NCCalcSize(TRect& rect) override;
    void NCPaint(QPainter& p) override;
    int NCHitTest(const TPoint& screen) override;
    void NCLButtonDown(int hitTest, const TPoint& screen) override;
    void NCMouseMove(int hitTest, const TPoint& screen) override;
    void MouseMove(const TPoint& client, TShiftState shift) override;
    void LButtonUp(const TPoint& client, TShiftState shift) override;
    void CaptureChanged() override;
    void MouseLeave() override;
    void WindowPosChanging(TRect& bounds) override;
    void WindowPosChanged() override;

    // Closes the drop-down the way a choice in it does (and a release over the close button):
    // the active bar window hides its menus, which closes the drop-down with the combo's
    // control; when nothing did, the control and then the combo close it.
    void CloseAsChosen();

protected:
    bool IsFlat() const;

private:
    void SetMouseAbove(bool value);
    void TrackSizing(const TPoint& screen);
    void EndTracking();

    QPointer<TCustomdxBarCombo> combo_;
    QPointer<QWidget> content_;
    bool allowResizing_ = true;
    TdxCorner corner_ = dxcBottomRight;
    bool closeTracking_ = false;
    bool mouseAbove_ = false;
    bool sizing_ = false;
    TPoint sizingStart_;
    TRect sizingBounds_;
};
