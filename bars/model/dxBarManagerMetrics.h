#pragma once
// The sizes a manager's bars and menus are laid out with. They follow from the manager's
// style, its icon size and its button arrow width alone, so they are worked out here as
// plain numbers and the manager only keeps the result.
#include "dxBarTypes.h"

struct TdxBarManagerMetrics {
    int GripOffset = 1;
    int GripAreaSize = 6;
    int MenuSeparatorIndent = 12;
    int GlyphSize = 16;
    int DefaultButtonWidth = 23;
    int DefaultButtonHeight = 22;
    // Width of a drop-down button's arrow part: odd, one pixel narrower when flat.
    int ArrowWidth = 9;
    // Sizing frame of floating bars: 3 when flat, else the system's sizing frame.
    int FrameWidth = 4;
    int FrameHeight = 4;

    static TdxBarManagerMetrics For(dxBarTypes::TdxBarManagerStyle style, bool largeIcons, int buttonArrowWidth);
};
