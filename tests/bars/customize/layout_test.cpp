// The customizing window's geometry as plain values.
#include "dxBarCustomizingLayout.h"

#include <gtest/gtest.h>

TEST(CustomizingLayout, ANewToolbarFloatsLeftOfTheWindowUnlessThatLeavesTheWorkArea)
{
    const TRect area(0, 30, 1280, 1000);
    struct TCase {
        TRect window;
        TPoint place;
    };
    const TCase cases[] = {
        {TRect::Bounds(400, 200, 366, 310), TPoint(350, 200)},  // 50 to the left, at its top
        {TRect::Bounds(30, 200, 366, 310), TPoint(406, 200)},   // off the left: 10 right of it
        {TRect::Bounds(400, 10, 366, 310), TPoint(350, 40)},    // above the area: 10 below its top
        {TRect::Bounds(50, 30, 366, 310), TPoint(0, 30)},       // exactly at the edges: stays
    };
    for (const TCase& c : cases) EXPECT_EQ(dxBarNewToolbarPlace(c.window, area), c.place);
}

TEST(CustomizingLayout, TheWindowCentresOnItsFormInsideTheWorkArea)
{
    const TRect area(0, 0, 1280, 1000);
    const QSize size(366, 310);
    struct TCase {
        TRect owner;
        TPoint place;
    };
    const TCase cases[] = {
        {TRect::Bounds(100, 100, 634, 477), TPoint(234, 183)},
        {TRect::Bounds(-400, -300, 400, 300), TPoint(0, 0)},
        {TRect::Bounds(1100, 900, 400, 300), TPoint(914, 690)},
    };
    for (const TCase& c : cases) EXPECT_EQ(dxBarCentredPlace(c.owner, size, area), c.place);
}
