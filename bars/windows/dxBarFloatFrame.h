#pragma once
// The frame of a bar's floating window from the bar and its manager, known also while the
// bar has no window (its float client size and this frame give the window's size).
#include "FloatingFrame.h"

class TdxBar;

// withCaption false: the quick-customization drop-down's frame, without caption.
floatingframe::TFloatFrame dxBarFloatFrame(const TdxBar* bar, bool withCaption = true);
