#include "Screen.h"

#include "Controls.h"

#include <QApplication>
#include <QGuiApplication>

namespace {
TCursor& Current()
{
    static TCursor cursor = crDefault;
    return cursor;
}
}  // namespace

TCursor ScreenCursor()
{
    return Current();
}

void SetScreenCursor(TCursor cursor)
{
    if (cursor == Current()) return;
    if (Current() != crDefault) QApplication::restoreOverrideCursor();
    Current() = cursor;
    if (cursor != crDefault) QApplication::setOverrideCursor(TControl::CursorToQCursor(cursor));
}

TBusyCursorScope::TBusyCursorScope()
    : active_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr), previous_(ScreenCursor())
{
    if (active_) SetScreenCursor(crHourGlass);
}

TBusyCursorScope::~TBusyCursorScope()
{
    if (active_) SetScreenCursor(previous_);
}
