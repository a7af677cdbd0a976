#pragma once
// The item control of buttons: sized from the manager's metrics and the link's paint
// style, drawn in its states, toggling checked buttons and opening a drop-down button's
// menu from its arrow part.
#include "dxBarServices.h"

class TdxBarButton;

class TdxBarButtonControl : public TdxBarItemControl {
public:
    explicit TdxBarButtonControl(TdxBarItemLink* link);

    TdxBarButton* Button() const;
    bool DroppedDown() const { return droppedDown_; }
    // The paint style in use: a toolbar button without a glyph shows its caption.
    TdxBarPaintStyle RealPaintStyle() const override;

    void GlyphChanged() override;
    void ControlInactivate(bool byMouse) override;
    void ControlClick(bool byMouse) override;
    void ControlUnclick(bool byMouse) override;
    bool IsDrawnSelected() const override;
    void KeyDown(int key) override;
    bool WantsKey(int key) const override;
    int GetHeight() override;
    int GetWidth() override;
    bool HidesMenusOnClick() const override;
    bool CapturesMouseOnPress() const override { return !droppedDown_; }
    void Draw(TCanvas& p, const TRect& r, int paintType) override;

    virtual int GetArrowWidth() const;
    void ButtonStyleChanged() override;
    void DownChanged() override;
    void DropDownEnabledChanged() override;
    virtual int GetDefaultHeight();
    virtual int GetDefaultWidth();
    void PaintStyleChanged() override;

    // Opens the drop-down menu below (or beside) the button.
    virtual void DropDown(bool byMouse);
    // Called when the drop-down menu closes.
    virtual void CloseUp();
    // The mouse is pressed over the arrow part of a drop-down button.
    bool IsArrowPressed() const;

protected:
    // The face looks pressed: the mouse holds it down, or its click is running.
    bool PressedLook(bool selected) const;
    void DrawArrowButton(QPainter& p, const TRect& r, bool selected, int paintType);

private:
    bool IsDropDownStyle() const;
    bool Down() const;
    bool Lowered() const;
    bool ShowsCaption() const;
    bool RotatedToolbar() const;
    bool droppedDown_ = false;
};

// Registers the button control's factory with its control class.
void dxBarRegisterButtonControl();
