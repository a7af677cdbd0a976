#pragma once
// The screen's cursor: one cursor over every window of the program while it is not
// crDefault (a busy hourglass during a long command).
#include "ControlTypes.h"

TCursor ScreenCursor();
// crDefault gives every window its own cursor back.
void SetScreenCursor(TCursor cursor);

// The busy cursor (crHourGlass) over every window while the scope lasts; the screen cursor
// it found comes back at its end. Nothing where no GUI application runs.
class TBusyCursorScope {
public:
    TBusyCursorScope();
    ~TBusyCursorScope();
    TBusyCursorScope(const TBusyCursorScope&) = delete;
    TBusyCursorScope& operator=(const TBusyCursorScope&) = delete;

private:
    bool active_;
    TCursor previous_;
};
