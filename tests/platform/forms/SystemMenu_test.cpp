#include "SystemMenu.h"

#include <QImage>
#include <gtest/gtest.h>

// A menu draws these marks in its text colour over its own background, so they
// must be pure black on a clear cell, keep off the cell's edge, and tell the
// commands apart.
TEST(StandardMenuBitmap, EachWindowCommandHasItsOwnMarkAndOtherCodesNone)
{
    std::vector<QImage> marks;
    for (int code : {HBMMENU_POPUP_CLOSE, HBMMENU_POPUP_RESTORE, HBMMENU_POPUP_MAXIMIZE, HBMMENU_POPUP_MINIMIZE}) {
        SCOPED_TRACE(code);
        const QImage mark = StandardMenuBitmap(code).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(mark.size(), QSize(16, 16));
        int ink = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb px = mark.pixel(x, y);
                const bool edge = x == 0 || y == 0 || x == 15 || y == 15;
                if (qAlpha(px) == 0) continue;
                EXPECT_FALSE(edge) << x << "," << y;
                EXPECT_EQ(px, qRgba(0, 0, 0, 255)) << x << "," << y;
                ++ink;
            }
        EXPECT_GT(ink, 0);
        for (const QImage& other : marks) EXPECT_NE(mark, other);
        marks.push_back(mark);
    }
    for (int code : {0, HBMMENU_POPUP_CLOSE - 1, HBMMENU_POPUP_MINIMIZE + 1})
        EXPECT_TRUE(StandardMenuBitmap(code).isNull()) << code;
}
