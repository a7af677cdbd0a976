#include "Screen.h"

#include "Controls.h"

#include <QApplication>

namespace {
TCursor& Current() {
    static TCursor cursor = crDefault;
    return cursor;
}
}  // namespace

TCursor ScreenCursor() { return Current(); }

void SetScreenCursor(TCursor cursor) {
    if (cursor == Current()) return;
    if (Current() != crDefault) QApplication::restoreOverrideCursor();
    Current() = cursor;
    if (cursor != crDefault) QApplication::setOverrideCursor(TControl::CursorToQCursor(cursor));
}
