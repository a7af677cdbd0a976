#include "dxBarSpinEditControl.h"

#include "ExceptionBarrier.h"
#include "Painting.h"
#include "SysParams.h"
#include "ThreadTimers.h"
#include "dxBarCustomControl.h"

#include <QCursor>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TdxBarItemControlClass TdxBarSpinEditControlClass{
    "TdxBarSpinEditControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarSpinEditControl(link); }};

// ---------------------------------------------------------------- geometry

namespace spinedit {

TSpinLayout SpinLayout(const TRect& r)
{
    TSpinLayout layout;
    layout.Field = r;
    const int half = r.Height() / 2;
    // C++ division truncates toward zero.
    const int a = (half - 2) / 2;
    const int strip = 4 * a + 3;
    // Under a pixel of arrow there are no buttons.
    if (a < 1 || strip >= r.Width() / 2) return layout;
    layout.ArrowWidth = 2 * a - 1;
    layout.StripWidth = strip;
    layout.Field.Right -= strip;
    layout.Strip = {layout.Field.Right, r.Top, r.Right, r.Bottom};
    layout.Buttons = layout.Strip.Inflated(-1, 0);
    const int middle = r.Top + r.Height() / 2;
    layout.Up = {layout.Buttons.Left, r.Top, layout.Buttons.Right, middle};
    layout.Down = {layout.Buttons.Left, middle, layout.Buttons.Right, r.Bottom};
    return layout;
}

TdxBarSpinEditButton SpinButtonAt(const TRect& buttons, const TPoint& at)
{
    if (!buttons.Contains(at)) return sbNone;
    return at.y() < buttons.Top + buttons.Height() / 2 ? sbUp : sbDown;
}

std::vector<TRect> SpinArrowRows(const TRect& r, int width, bool up)
{
    std::vector<TRect> rows;
    if (width < 1) return rows;
    const int count = (width + 1) / 2;
    const int left = r.Left + (r.Width() - width) / 2;
    const int top = r.Top + (r.Height() - count) / 2;
    for (int i = 0; i < count; ++i) {
        // Row i from the apex is 2i + 1 pixels wide.
        const int fromApex = up ? i : count - 1 - i;
        const int inset = count - 1 - fromApex;
        rows.push_back({left + inset, top + i, left + width - inset, top + i + 1});
    }
    return rows;
}

}  // namespace spinedit

// ---------------------------------------------------------------- the press bridge

// While a button is held: the editor has the mouse captured, and its mouse events become the
// control's calls instead of selecting text.
class TSpinPressBridge : public QObject {
public:
    TSpinPressBridge(TdxBarSpinEditControl* control, QWidget* editor)
        : QObject(editor), control_(control), editor_(editor)
    {
        editor->installEventFilter(this);
        editor->grabMouse();
        // Without a shown window there is no capture to lose.
        captured_ = QWidget::mouseGrabber() == editor;
    }
    void Release()
    {
        control_ = nullptr;
        if (!editor_) return;
        editor_->removeEventFilter(this);
        if (QWidget::mouseGrabber() == editor_) editor_->releaseMouse();
    }
    // False once another window took the capture.
    bool HoldsCapture() const { return !captured_ || (editor_ && QWidget::mouseGrabber() == editor_); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched != editor_ || !control_) return false;
        switch (e->type()) {
        case QEvent::MouseMove: {
            const TPoint global = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
            RunGuarded(editor_, [&] {
                if (TCustomdxBarControl* parent = control_ ? control_->Parent() : nullptr)
                    control_->MouseMovedTo(parent->ScreenToClient(global));
            });
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
                RunGuarded(editor_, [&] {
                    if (control_) control_->EndPress();
                });
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: return true;
        default: return false;
        }
    }

private:
    QPointer<TdxBarSpinEditControl> control_;
    QPointer<QWidget> editor_;
    bool captured_ = false;
};

// ---------------------------------------------------------------- TdxBarSpinEditControl

TdxBarSpinEditControl::TdxBarSpinEditControl(TdxBarItemLink* link) : TdxBarEditControl(link) {}

TdxBarSpinEditControl::~TdxBarSpinEditControl()
{
    KillThreadTimer(timer_);
    if (bridge_) {
        bridge_->Release();
        bridge_->deleteLater();
    }
}

TdxBarSpinEdit* TdxBarSpinEditControl::SpinEdit() const
{
    return qobject_cast<TdxBarSpinEdit*>(Item());
}

TdxBarSpinEditButton TdxBarSpinEditControl::HitTest(const TPoint& client) const
{
    TdxBarSpinEdit* item = SpinEdit();
    if (!item || item->ReadOnly()) return sbNone;
    return spinedit::SpinButtonAt(ButtonRect, client);
}

void TdxBarSpinEditControl::SetPressed(TdxBarSpinEditButton button, bool look)
{
    if (button == sbNone) look = false;
    if (button == pressedButton_ && look == pressedLook_) return;
    pressedButton_ = button;
    pressedLook_ = look;
    Repaint();
}

void TdxBarSpinEditControl::ControlClick(bool byMouse)
{
    TCustomdxBarControl* parent = Parent();
    const TdxBarSpinEditButton hit = byMouse && parent ? HitTest(parent->ScreenToClient(QCursor::pos())) : sbNone;
    QPointer<TdxBarSpinEditControl> self(this);
    TdxBarEditControl::ControlClick(byMouse);
    if (self && hit != sbNone && pressedButton_ == sbNone && Focused()) BeginPress(hit);
}

void TdxBarSpinEditControl::BeginPress(TdxBarSpinEditButton button)
{
    SetPressed(button, true);
    if (QLineEdit* editor = Editor()) bridge_ = new TSpinPressBridge(this, editor);
    QPointer<TdxBarSpinEditControl> self(this);
    if (TdxBarSpinEdit* item = SpinEdit()) item->ButtonClick(button);
    // The item's handlers may have ended the press.
    if (!self || pressedButton_ != button) return;
    timer_ = SetThreadTimer(std::max(1, GetDoubleClickTime() - 100), [this] { FirstRepeat(); });
}

void TdxBarSpinEditControl::FirstRepeat()
{
    KillThreadTimer(timer_);
    if (!StillCaptured()) return;
    timer_ = SetThreadTimer(100, [this] { NextRepeat(); });
}

void TdxBarSpinEditControl::NextRepeat()
{
    if (!StillCaptured() || !pressedLook_) return;
    if (TdxBarSpinEdit* item = SpinEdit()) item->ButtonClick(pressedButton_);
}

bool TdxBarSpinEditControl::StillCaptured()
{
    if (!bridge_ || bridge_->HoldsCapture()) return true;
    EndPress();
    return false;
}

void TdxBarSpinEditControl::MouseMovedTo(const TPoint& client)
{
    if (!Repeating() || pressedButton_ == sbNone || !StillCaptured()) return;
    SetPressed(pressedButton_, HitTest(client) == pressedButton_);
}

void TdxBarSpinEditControl::EndPress()
{
    KillThreadTimer(timer_);
    if (bridge_) {
        bridge_->Release();
        bridge_->deleteLater();
        bridge_ = nullptr;
    }
    SetPressed(sbNone, false);
}

bool TdxBarSpinEditControl::EditorKeyDown(int& key, TShiftState shift)
{
    QPointer<TdxBarSpinEditControl> self(this);
    if (TdxBarEditControl::EditorKeyDown(key, shift)) return true;
    if (!self) return true;
    if ((key != VK_UP && key != VK_DOWN) || (shift & ssAlt)) return false;
    TdxBarSpinEdit* item = SpinEdit();
    if (!item || item->ReadOnly()) return false;
    if (!Repeating()) {
        const TdxBarSpinEditButton button = key == VK_UP ? sbUp : sbDown;
        SetPressed(button, true);
        item->ButtonClick(button);
    }
    key = 0;
    return true;
}

bool TdxBarSpinEditControl::EditorKeyUp(int& key, TShiftState shift)
{
    QPointer<TdxBarSpinEditControl> self(this);
    const int pressedKey = key;
    const bool ended = TdxBarEditControl::EditorKeyUp(key, shift);
    // The key lifts the button it pressed; a press of the mouse is the mouse's to end.
    if (self && (pressedKey == VK_UP || pressedKey == VK_DOWN) && !Repeating()) SetPressed(sbNone, false);
    return ended;
}

bool TdxBarSpinEditControl::EditorChar(QChar& ch)
{
    QPointer<TdxBarSpinEditControl> self(this);
    if (TdxBarEditControl::EditorChar(ch) || !self) return true;
    TdxBarSpinEdit* item = SpinEdit();
    if (!item || item->AcceptsChar(ch)) return false;
    ch = QChar();
    return true;
}

void TdxBarSpinEditControl::EditorFocusOut()
{
    QPointer<TdxBarSpinEditControl> self(this);
    if (pressedButton_ != sbNone) EndPress();
    if (self) TdxBarEditControl::EditorFocusOut();
}

void TdxBarSpinEditControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    TCustomdxBarControl* parent = Parent();
    if (r.Width() <= 0 || !parent) return;
    const spinedit::TSpinLayout layout = spinedit::SpinLayout(r);
    TdxBarEditControl::Draw(p, layout.Field, paintType);
    ButtonRect = layout.Buttons;
    arrowWidth_ = layout.ArrowWidth;
    if (layout.StripWidth == 0) return;
    const QBrush barBrush = parent->GetToolbarBrush();
    const TRect& strip = layout.Strip;
    FillRect(p, {strip.Left, strip.Top, strip.Left + 1, strip.Bottom}, barBrush);
    FillRect(p, {strip.Right - 1, strip.Top, strip.Right, strip.Bottom}, barBrush);
    DrawButton(p, layout.Up, true);
    DrawButton(p, layout.Down, false);
}

void TdxBarSpinEditControl::DrawButton(QPainter& p, const TRect& r, bool up)
{
    const bool pressed = pressedLook_ && pressedButton_ == (up ? sbUp : sbDown);
    const bool selected = IsDrawnSelected();
    const bool flat = IsFlatStyle();
    TRect face = r;
    DrawFrameAndFill(p, face, pressed, selected || pressed);
    QColor color = SysColor(COLOR_BTNTEXT);
    if (flat && pressed) {
        // The flat look's pressed face: the colours of a button pressed under the mouse.
        int colorIndex = COLOR_BTNTEXT;
        QBrush brush;
        GetArrowColorAndBrush(true, true, colorIndex, brush);
        FillRect(p, face, brush);
        color = SysColor(colorIndex);
    }
    if (pressed && !flat) face = face.Offset(1, 1);
    const std::vector<TRect> rows = spinedit::SpinArrowRows(face, arrowWidth_, up);
    if (!GetEnabled()) {
        if (!flat)
            for (const TRect& row : rows) FillRect(p, row.Offset(1, 1), SysBrush(COLOR_BTNHIGHLIGHT));
        color = SysColor(COLOR_BTNSHADOW);
    }
    for (const TRect& row : rows) FillRect(p, row, color);
}
