// The frame controls drawn in the classic colours: check boxes, caption close buttons and
// size grips in their states.
#include "Painting.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

constexpr QRgb kBackground = 0x123456;

QRgb Rgb(int colorIndex)
{
    return SysColor(colorIndex).rgb() & 0xFFFFFF;
}

QImage Draw(int width, int height, unsigned type, unsigned state, const TFrameControlColors& colors = {},
            bool* drawn = nullptr)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(kBackground));
    QPainter p(&image);
    const bool result = DrawFrameControl(p, {0, 0, width, height}, type, state, colors);
    if (drawn) *drawn = result;
    return image;
}

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

struct PixelCase {
    const char* name;
    unsigned state;
    // Pixels and the colours they must have.
    std::vector<std::pair<QPoint, QRgb>> pixels;
};

void ExpectPixels(const QImage& image, const PixelCase& c)
{
    for (const auto& [at, colour] : c.pixels)
        EXPECT_EQ(At(image, at.x(), at.y()), colour) << c.name << " at " << at.x() << "," << at.y();
}

}  // namespace

// A 13 x 13 box: the edge, the inside per state, and the check mark's middle column at (6, 6).
TEST(FrameControls, CheckBoxesShowTheirEdgeInsideAndMarkPerState)
{
    const QRgb window = Rgb(COLOR_WINDOW), face = Rgb(COLOR_BTNFACE), shadow = Rgb(COLOR_BTNSHADOW);
    const QRgb dark = Rgb(COLOR_3DDKSHADOW), ink = Rgb(COLOR_WINDOWTEXT), light = Rgb(COLOR_BTNHIGHLIGHT);
    const PixelCase cases[] = {
        {"unchecked", DFCS_BUTTONCHECK, {{{0, 0}, shadow}, {{1, 1}, dark}, {{12, 12}, light}, {{6, 6}, window}}},
        {"checked", DFCS_CHECKED, {{{2, 2}, window}, {{6, 6}, ink}, {{3, 5}, ink}, {{3, 4}, window}, {{9, 3}, ink}}},
        {"pushed", DFCS_PUSHED, {{{2, 2}, face}, {{6, 6}, face}}},
        {"inactive and checked", DFCS_INACTIVE | DFCS_CHECKED, {{{2, 2}, face}, {{6, 6}, shadow}}},
        {"flat and checked",
         DFCS_FLAT | DFCS_CHECKED,
         {{{0, 0}, shadow}, {{1, 1}, window}, {{12, 12}, shadow}, {{6, 6}, ink}}},
        {"transparent", DFCS_TRANSPARENT, {{{0, 0}, shadow}, {{2, 2}, kBackground}}},
    };
    for (const PixelCase& c : cases) ExpectPixels(Draw(13, 13, DFC_BUTTON, c.state), c);

    // A wider rectangle centres the square; a glyph colour of the caller's replaces the ink.
    TFrameControlColors red;
    red.Glyph = QColor(Qt::red);
    const QImage wide = Draw(21, 13, DFC_BUTTON, DFCS_CHECKED, red);
    EXPECT_EQ(At(wide, 3, 6), kBackground);
    EXPECT_EQ(At(wide, 4, 0), shadow);
    EXPECT_EQ(At(wide, 10, 6), 0xFF0000u);
    EXPECT_EQ(At(wide, 17, 12), kBackground);
}

// A 16 x 14 button: the cross is 8 pixels square from (4, 3), its strokes two pixels wide.
TEST(FrameControls, CloseButtonsMoveTheirCrossWhenPushedUnlessFlat)
{
    const QRgb face = Rgb(COLOR_BTNFACE), text = Rgb(COLOR_BTNTEXT), shadow = Rgb(COLOR_BTNSHADOW);
    const QRgb light3d = Rgb(COLOR_3DLIGHT), light = Rgb(COLOR_BTNHIGHLIGHT);
    const PixelCase cases[] = {
        {"up",
         DFCS_CAPTIONCLOSE,
         {{{0, 0}, light3d},
          {{4, 3}, text},
          {{5, 3}, text},
          {{6, 3}, face},
          {{10, 3}, text},
          {{11, 3}, text},
          {{11, 10}, text}}},
        {"pushed", DFCS_PUSHED, {{{0, 0}, shadow}, {{4, 3}, face}, {{5, 4}, text}, {{12, 11}, text}}},
        {"flat and pushed", DFCS_FLAT | DFCS_PUSHED, {{{0, 0}, face}, {{4, 3}, text}, {{5, 4}, text}}},
        {"inactive", DFCS_INACTIVE, {{{4, 3}, shadow}, {{12, 4}, light}}},
        {"flat and transparent", DFCS_FLAT | DFCS_TRANSPARENT, {{{0, 0}, kBackground}, {{4, 3}, text}}},
    };
    for (const PixelCase& c : cases) ExpectPixels(Draw(16, 14, DFC_CAPTION, c.state), c);

    TFrameControlColors selected;
    selected.Face = QBrush(Qt::yellow);
    selected.Glyph = QColor(Qt::blue);
    const QImage own = Draw(16, 14, DFC_CAPTION, DFCS_FLAT, selected);
    EXPECT_EQ(At(own, 0, 0), 0xFFFF00u);
    EXPECT_EQ(At(own, 4, 3), 0x0000FFu);

    // Too small for a cross: the face alone.
    const QImage tiny = Draw(5, 8, DFC_CAPTION, DFCS_FLAT);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(At(tiny, x, y), face);
}

// A 16 x 16 grip: the first ridge's light line ends at (12, 15), its shadow at (13, 15).
TEST(FrameControls, SizeGripsDrawThreeRidgesInTheCorner)
{
    const QRgb face = Rgb(COLOR_BTNFACE), shadow = Rgb(COLOR_BTNSHADOW), light = Rgb(COLOR_BTNHIGHLIGHT);
    const PixelCase cases[] = {
        {"standard",
         DFCS_SCROLLSIZEGRIP,
         {{{0, 0}, face}, {{12, 15}, light}, {{13, 15}, shadow}, {{14, 15}, shadow}, {{15, 15}, face}}},
        {"flat", DFCS_SCROLLSIZEGRIP | DFCS_FLAT, {{{12, 15}, face}, {{13, 15}, shadow}}},
        {"transparent", DFCS_SCROLLSIZEGRIP | DFCS_TRANSPARENT, {{{0, 0}, kBackground}, {{12, 15}, light}}},
    };
    for (const PixelCase& c : cases) ExpectPixels(Draw(16, 16, DFC_SCROLL, c.state), c);
    // Three ridges along the bottom row, none beyond the third.
    const QImage grip = Draw(16, 16, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    int lights = 0;
    for (int x = 0; x < 16; ++x) lights += At(grip, x, 15) == light;
    EXPECT_EQ(lights, 3);
}

TEST(FrameControls, UnknownPartsDrawNothing)
{
    bool drawn = true;
    const QImage image = Draw(10, 10, DFC_SCROLL, 0x5, {}, &drawn);
    EXPECT_FALSE(drawn);
    EXPECT_EQ(At(image, 5, 5), kBackground);
}
