#pragma once
// TdxBarSpinEditControl: a spin edit on a bar. Its text box is the edit control's, narrowed by
// a strip at the right that holds the up button over the down button.
//
// - Keys in the editor: Up and Down step the value (the button shows pressed until the key
//   goes up); only digits, "-" with a negative MinValue and, for floats, the locale's decimal
//   point can be typed.
// - A press on a button focuses the editor, steps at once and captures the mouse for the
//   editor; while the button is held it steps again after the double-click time and then
//   every 100 ms. Off the button the repeat pauses, back on it resumes; the release, the loss
//   of the capture or of the focus ends it.
#include "dxBarEditControls.h"
#include "dxBarSpinEdit.h"

#include <QPointer>
#include <vector>

class TSpinPressBridge;

namespace spinedit {

// Where the parts of a spin edit go in the link's rectangle r.
struct TSpinLayout {
    int ArrowWidth = 0;  // the arrows' width (odd)
    int StripWidth = 0;  // 0: no buttons
    TRect Field;         // the edit part: r less the strip
    TRect Strip;         // the buttons with a background column at either side
    TRect Buttons;       // the strip less those columns: where a press hits a button
    TRect Up;            // the upper half of Buttons
    TRect Down;          // the lower half
};
// Buttons only when the arrow is at least 1 px wide and the strip takes less than half of r.
TSpinLayout SpinLayout(const TRect& r);
// The button of the buttons' rectangle at a point (sbNone outside).
TdxBarSpinEditButton SpinButtonAt(const TRect& buttons, const TPoint& at);
// The pixel rows of a filled arrow of odd width centred in r, its apex up or down.
std::vector<TRect> SpinArrowRows(const TRect& r, int width, bool up);

}  // namespace spinedit

class TdxBarSpinEditControl : public TdxBarEditControl {
public:
    explicit TdxBarSpinEditControl(TdxBarItemLink* link);
    // Ends a press without repainting.
    ~TdxBarSpinEditControl() override;

    TdxBarSpinEdit* SpinEdit() const;

    // The buttons' rectangle as last drawn (client coordinates of the bar window; empty
    // without buttons).
    TRect ButtonRect;
    TdxBarSpinEditButton PressedButton() const { return pressedButton_; }
    bool PressedLook() const { return pressedLook_; }
    // The mouse holds a button down.
    bool Repeating() const { return timer_ != 0; }
    // The button at a point of the bar window's client area (sbNone on a read-only item).
    TdxBarSpinEditButton HitTest(const TPoint& client) const;

    void ControlClick(bool byMouse) override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;
    bool EditorKeyDown(int& key, TShiftState shift) override;
    bool EditorKeyUp(int& key, TShiftState shift) override;
    bool EditorChar(QChar& ch) override;
    void EditorFocusOut() override;

    // --- the held button (the press bridge calls these; client coordinates of the bar window)
    void MouseMovedTo(const TPoint& client);
    // Releases the capture, lifts the button and stops the repeat.
    void EndPress();

private:
    void BeginPress(TdxBarSpinEditButton button);
    void FirstRepeat();
    void NextRepeat();
    // False when the editor lost the capture (the press has ended then).
    bool StillCaptured();
    void SetPressed(TdxBarSpinEditButton button, bool look);
    void DrawButton(QPainter& p, const TRect& r, bool up);

    TdxBarSpinEditButton pressedButton_ = sbNone;
    bool pressedLook_ = false;
    unsigned timer_ = 0;
    int arrowWidth_ = 0;
    QPointer<TSpinPressBridge> bridge_;
};

extern TdxBarItemControlClass TdxBarSpinEditControlClass;
