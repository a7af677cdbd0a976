#include "ImgList.h"
#include "dxBarDrawing.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

QRgb Sys(int index)
{
    return SysColor(index).rgb() & 0xFFFFFF;
}

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

QImage Canvas(int w, int h, QColor fill = Qt::white)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// The columns of one row that have the colour.
QList<int> Columns(const QImage& image, int y, QRgb color)
{
    QList<int> cols;
    for (int x = 0; x < image.width(); ++x)
        if (At(image, x, y) == color) cols << x;
    return cols;
}

}  // namespace

TEST(DrawingArrows, SizeFollowsTheRectangleWithAMinimumOfThree)
{
    EXPECT_EQ(dxBarArrowSize({0, 0, 16, 16}, true), 3);
    EXPECT_EQ(dxBarArrowSize({0, 0, 21, 16}, true), 7);
    EXPECT_EQ(dxBarArrowSize({0, 0, 4, 4}, true), 3);
    EXPECT_EQ(dxBarArrowSize({0, 0, 5, 19}, false), 7);  // height 19 - 6 = 13
}

TEST(DrawingArrows, DownArrowIsATriangleCentredInTheRectangle)
{
    QImage image = Canvas(21, 16);
    {
        QPainter p(&image);
        dxBarDrawArrowInRect(p, {0, 0, 21, 16}, true, true, false, false);
    }
    // size 7: x0 = (21 - 14 + 1) / 2 = 4, y0 = (16 - 7) / 2 = 4; rows narrow by one on each side.
    const QRgb text = Sys(COLOR_BTNTEXT);
    EXPECT_EQ(Columns(image, 4, text), QList<int>({4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(Columns(image, 5, text).first(), 5);
    EXPECT_EQ(Columns(image, 10, text), QList<int>({10}));
    EXPECT_TRUE(Columns(image, 11, text).isEmpty());
    EXPECT_TRUE(Columns(image, 3, text).isEmpty());
}

TEST(DrawingArrows, ColoursFollowTheStateAndDisabledArrowsAreEmbossedOutsideTheFlatLook)
{
    auto draw = [](bool enabled, bool selected, bool flat, bool down) {
        QImage image = Canvas(20, 20, Qt::red);
        QPainter p(&image);
        dxBarDrawArrow(p, {0, 0, 20, 20}, down, enabled, selected, flat, 4);
        return image;
    };
    // Down, size 4: x0 = (20 - 8 + 1) / 2 = 6, y0 = 8; apex (9, 11).
    EXPECT_EQ(At(draw(true, true, false, true), 9, 11), Sys(COLOR_HIGHLIGHTTEXT));
    const QImage disabled = draw(false, false, false, true);
    EXPECT_EQ(At(disabled, 9, 11), Sys(COLOR_BTNSHADOW));
    // The highlight runs from (x0 + size, y0 + size) up to the right.
    EXPECT_EQ(At(disabled, 10, 12), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(disabled, 13, 9), Sys(COLOR_BTNHIGHLIGHT));
    const QImage flat = draw(false, false, true, true);
    EXPECT_EQ(At(flat, 10, 12), 0xFF0000u);

    // Right arrow, size 4: x0 = 8, y0 = (20 - 8 + 1) / 2 = 6; apex (11, 9).
    const QImage right = draw(true, false, false, false);
    EXPECT_EQ(At(right, 8, 6), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(At(right, 8, 12), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(At(right, 11, 9), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(At(right, 12, 9), 0xFF0000u);
}

TEST(DrawingColours, OffsetsClampEveryChannel)
{
    // The classic face is (212, 208, 200).
    EXPECT_EQ(dxBarOffsetSysColor(COLOR_BTNFACE, 100, -300, 10), RGB(255, 0, 210));
    EXPECT_EQ(dxBarOffsetSysColor(COLOR_BTNFACE, 0, 0, 0), GetSysColor(COLOR_BTNFACE));
    // A dark face does not wrap to bright.
    EXPECT_EQ(dxBarOffsetSysColor(COLOR_3DDKSHADOW, -79, -62, -18), RGB(0, 2, 46));
    const TdxBarFlatColors flat = dxBarFlatColors();
    EXPECT_EQ(flat.Selected, RGB(182, 189, 210));
    EXPECT_EQ(flat.Toolbar, RGB(222, 218, 210));
}

TEST(DrawingColours, PatternAndGradient)
{
    QImage image = Canvas(10, 512);
    {
        QPainter p(&image);
        p.fillRect(0, 0, 10, 4, dxBarPatternBrush());
        dxBarFillGradient(p, {0, 4, 10, 516}, RGB(0, 0, 0), RGB(255, 0, 255));
    }
    EXPECT_EQ(At(image, 0, 0), Sys(COLOR_BTNFACE));
    EXPECT_EQ(At(image, 1, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(image, 1, 1), Sys(COLOR_BTNFACE));
    // 512 rows: 256 stripes of two rows, from black to magenta.
    EXPECT_EQ(At(image, 5, 4), 0u);
    EXPECT_EQ(At(image, 5, 5), 0u);
    EXPECT_EQ(At(image, 5, 6), 0x010001u);
    EXPECT_EQ(At(image, 5, 511), 0xFD00FDu);  // stripe 253 of 256 (rows 510-511)

    // A short rectangle: the last row shows the last stripe that starts on it (i = 213).
    QImage small = Canvas(4, 3);
    {
        QPainter p(&small);
        dxBarFillGradient(p, {0, 0, 4, 3}, RGB(10, 20, 30), RGB(110, 220, 30));
    }
    EXPECT_EQ(At(small, 0, 0), QColor(26, 53, 30).rgb() & 0xFFFFFF);  // i = 42
    EXPECT_EQ(At(small, 0, 2), QColor(94, 187, 30).rgb() & 0xFFFFFF);
}

TEST(DrawingGlyphs, TheBottomLeftColourIsTransparentAndStatesMoveOrGreyTheGlyph)
{
    // A 16x16 glyph: magenta background, a black 8x8 square at (4, 4) with one red pixel.
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(QColor(255, 0, 255));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x) glyph.setPixel(x, y, qRgb(0, 0, 0));
    glyph.setPixel(5, 5, qRgb(255, 0, 0));
    TImageList images(nullptr);
    images.Add(glyph);

    auto draw = [&](unsigned flags, bool fromList = true) {
        QImage image = Canvas(24, 24, Qt::green);
        QPainter p(&image);
        dxBarDrawGlyph(p, QBrush(Qt::yellow), {2, 2, 22, 22}, clFuchsia, flags, fromList ? &images : nullptr, 0,
                       fromList ? QImage() : glyph, {4, 4, 20, 20});
        return image;
    };
    const QImage normal = draw(dgEnabled);
    EXPECT_EQ(At(normal, 1, 1), 0x00FF00u);  // outside the destination
    EXPECT_EQ(At(normal, 2, 2), 0xFFFF00u);  // background brush
    EXPECT_EQ(At(normal, 4, 4), 0xFFFF00u);  // the glyph's transparent corner
    EXPECT_EQ(At(normal, 8, 8), 0u);
    EXPECT_EQ(At(normal, 9, 9), 0xFF0000u);
    EXPECT_EQ(At(draw(dgEnabled, false), 9, 9), 0xFF0000u);  // a bitmap the same way

    EXPECT_EQ(At(draw(dgEnabled | dgDesaturate), 9, 9), 0x555555u);

    // Hot and shadowed: up and left by one over the shape in button shadow.
    const QImage hot = draw(dgEnabled | dgHot | dgShadowed);
    EXPECT_EQ(At(hot, 7, 7), 0u);
    EXPECT_EQ(At(hot, 16, 16), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(At(hot, 15, 15), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(At(draw(dgEnabled | dgHot | dgShadowed | dgPressed), 7, 7), 0xFFFF00u);

    // Disabled: the shape in shadow, its highlight one pixel right and down.
    const QImage disabled = draw(0);
    EXPECT_EQ(At(disabled, 8, 8), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(At(disabled, 16, 16), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(disabled, 4, 4), 0xFFFF00u);
    EXPECT_EQ(At(draw(dgFlat), 16, 16), 0xFFFF00u);
}

TEST(DrawingRoutines, ClampsFontsAndTexts)
{
    int v = 5;
    dxBarClampSize(v);
    EXPECT_EQ(v, 20);
    v = 900;
    dxBarClampSize(v);
    EXPECT_EQ(v, 600);
    TFont font;
    font.SetHeight(-20);
    EXPECT_EQ(dxBarCreateMenuFont(font, true, -10).pixelSize(), 11);
    EXPECT_EQ(dxBarCreateMenuFont(font, true, -13).pixelSize(), 13);
    EXPECT_EQ(dxBarCreateMenuFont(font, false, -10).pixelSize(), 20);
    EXPECT_EQ(dxBarRemoveAmpersands("&Save && &Exit"), "Save  Exit");
    QStringList played;
    dxBarSetSoundPlayer([&](const QString& alias) { played << alias; });
    dxBarPlaySound(1);
    dxBarPlaySound(7);
    dxBarSetSoundPlayer({});
    EXPECT_EQ(played, QStringList({"MenuCommand"}));
}

namespace {

// How far a colour leans to fuchsia: red and blue both above green (0 for greys, yellow,
// green; 255 for fuchsia itself).
int FuchsiaLikeness(QRgb c)
{
    return std::max(0, std::min(qRed(c), qBlue(c)) - qGreen(c));
}

// c at alpha 128 over background, as a painter blends it.
QRgb HalfOver(QRgb c, QRgb background)
{
    auto mix = [](int a, int b) { return (a * 128 + b * 127) / 255; };
    return qRgb(mix(qRed(c), qRed(background)), mix(qGreen(c), qGreen(background)), mix(qBlue(c), qBlue(background)));
}

bool Near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
           std::abs(qBlue(a) - qBlue(b)) <= 2;
}

}  // namespace

TEST(DrawingGlyphs, APictureWithAlphaBlendsItsSoftEdgesIntoTheBackgroundInEveryState)
{
    // A green square with a half-transparent black border, on nothing.
    QImage glyph(16, 16, QImage::Format_ARGB32);
    glyph.fill(qRgba(0, 0, 0, 128));
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x) glyph.setPixel(x, y, qRgba(0, 160, 0, 255));
    TImageList images(nullptr);
    images.Add(glyph);
    const QRgb yellow = 0xFFFF00u;
    const QRgb shadow = Sys(COLOR_BTNSHADOW);

    struct Case {
        const char* name;
        unsigned flags;
        QPoint border;  // a border pixel of the glyph as drawn
        QRgb borderColour;
    };
    // The glyph is drawn at (4, 4); hot and shadowed it moves up and left by one.
    const Case cases[] = {
        {"normal", dgEnabled, {4, 4}, HalfOver(0, yellow)},
        {"greyed", dgEnabled | dgDesaturate, {4, 4}, HalfOver(0, yellow)},
        {"hot", dgEnabled | dgHot | dgShadowed, {3, 3}, HalfOver(0, yellow)},
        {"pressed", dgEnabled | dgHot | dgShadowed | dgPressed, {4, 4}, HalfOver(0, yellow)},
        {"disabled flat", dgFlat, {4, 4}, HalfOver(shadow, yellow)},
    };
    for (bool fromList : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (fromList ? " from the list" : " bitmap"));
            QImage image = Canvas(24, 24, Qt::green);
            {
                QPainter p(&image);
                dxBarDrawGlyph(p, QBrush(Qt::yellow), {2, 2, 22, 22}, clFuchsia, c.flags, fromList ? &images : nullptr,
                               0, fromList ? QImage() : glyph, {4, 4, 20, 20});
            }
            EXPECT_TRUE(Near(At(image, c.border.x(), c.border.y()), c.borderColour))
                << std::hex << At(image, c.border.x(), c.border.y());
            int worst = 0;
            for (int y = 2; y < 22; ++y)
                for (int x = 2; x < 22; ++x) worst = std::max(worst, FuchsiaLikeness(At(image, x, y)));
            EXPECT_EQ(worst, 0);
        }
    }

    // Disabled with the embossed highlight: the highlight's edge shows right and down.
    QImage disabled = Canvas(24, 24, Qt::green);
    {
        QPainter p(&disabled);
        dxBarDrawGlyph(p, QBrush(Qt::yellow), {2, 2, 22, 22}, clFuchsia, 0, &images, 0, QImage(), {4, 4, 20, 20});
    }
    EXPECT_TRUE(Near(At(disabled, 20, 20), HalfOver(Sys(COLOR_BTNHIGHLIGHT), yellow)));
    EXPECT_EQ(At(disabled, 10, 10), shadow);

    // A picture whose alpha is opaque everywhere still goes by its key colour.
    QImage opaque(16, 16, QImage::Format_ARGB32);
    opaque.fill(qRgba(255, 0, 255, 255));
    opaque.setPixel(8, 8, qRgba(0, 0, 255, 255));
    TImageList keyed(nullptr);
    keyed.Add(opaque);
    QImage image = Canvas(24, 24, Qt::green);
    {
        QPainter p(&image);
        dxBarDrawGlyph(p, QBrush(Qt::yellow), {2, 2, 22, 22}, clFuchsia, dgEnabled, &keyed, 0, QImage(),
                       {4, 4, 20, 20});
    }
    EXPECT_EQ(At(image, 4, 4), yellow);
    EXPECT_EQ(At(image, 12, 12), 0x0000FFu);
}
