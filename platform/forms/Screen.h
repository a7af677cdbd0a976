#pragma once
// The screen's cursor: one cursor over every window of the program while it is not
// crDefault (a busy hourglass during a long command).
#include "ControlTypes.h"

TCursor ScreenCursor();
// crDefault gives every window its own cursor back.
void SetScreenCursor(TCursor cursor);
