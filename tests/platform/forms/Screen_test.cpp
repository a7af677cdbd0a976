#include "Screen.h"

#include <QApplication>
#include <QCursor>
#include <gtest/gtest.h>

// The busy cursor covers the scope, nested scopes keep it, and the screen cursor found at
// the start comes back at the end, also when the scope ends by an exception.
TEST(Screen, BusyCursorScopeGivesTheScreenCursorBack)
{
    for (TCursor before : {crDefault, crHandPoint}) {
        SetScreenCursor(before);
        try {
            TBusyCursorScope busy;
            EXPECT_EQ(ScreenCursor(), crHourGlass);
            {
                TBusyCursorScope nested;
                ASSERT_NE(QApplication::overrideCursor(), nullptr);
                EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            }
            EXPECT_EQ(ScreenCursor(), crHourGlass);
            throw std::runtime_error("command failed");
        } catch (const std::runtime_error&) {}
        EXPECT_EQ(ScreenCursor(), before);
        EXPECT_EQ(QApplication::overrideCursor() != nullptr, before != crDefault);
    }
    SetScreenCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
