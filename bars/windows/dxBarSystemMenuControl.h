#pragma once
// The control of an MDI child's system menu on the frame's menu bar: the child's small icon,
// no caption. It opens the menu as any sub item does, is not selectable while customizing,
// and a double click closes the menus and runs the menu's default command (close).
#include "dxBarSubItemControl.h"

class TSystemMenuSubItemControl : public TdxBarSubItemControl {
public:
    using TdxBarSubItemControl::TdxBarSubItemControl;

    bool CanSelect() const override;
    bool HandlesDblClick() const override { return true; }
    bool DblClickWhileExpandable() const override { return true; }
    void DblClick() override;
    int GetDefaultWidth() override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;
};

void dxBarRegisterSystemMenuControl();
void dxBarUnregisterSystemMenuControl();
