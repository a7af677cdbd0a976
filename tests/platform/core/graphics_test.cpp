#include "Graphics.h"
#include "SysParams.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QMetaProperty>
#include <QPalette>

namespace {

class Painted : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    int Width() const { return 0; }
    void SetWidth(int) {}

private:
    TColor color_ = clBtnFace;
};

class ChangeCounter : public QObject {
    Q_OBJECT
public:
    int changes = 0;
    void Change(QObject*) { ++changes; }
};

QMetaProperty Prop(const QObject& o, const char* name)
{
    return o.metaObject()->property(o.metaObject()->indexOfProperty(name));
}

}  // namespace

TEST(Graphics, ColoursAreBgrAndSystemColoursComeFromTheClassicTable)
{
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), TColor(0x563412));
    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 0x80));
    EXPECT_EQ(QColorToColor(QColor(0, 0xFF, 0, 0x10)), clLime);
    // Whatever the desktop's theme: the classic face, window, tooltip and gray text.
    EXPECT_EQ(ColorToQColor(clBtnFace), QColor(0xD4, 0xD0, 0xC8));
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clInfoBk), RGB(0xFF, 0xFF, 0xE1));
    EXPECT_EQ(ColorToRGB(clGrayText), clGray);
    EXPECT_EQ(ColorToRGB(TColor(0x800000FF)), clBlack);  // no such system colour
    EXPECT_EQ(ColorToRGB(TColor(0x02112233)), TColor(0x112233));
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToQColor(clNone).alpha(), 0);
    EXPECT_FALSE(ColorToQColor(clDefault).isValid());
}

TEST(Graphics, ColourIdentifiersAndTexts)
{
    QString ident;
    EXPECT_TRUE(ColorToIdent(clBtnFace, ident));
    EXPECT_EQ(ident, "clBtnFace");
    EXPECT_TRUE(ColorToIdent(TColor(0xC0C0C0), ident));
    EXPECT_EQ(ident, "clSilver");
    EXPECT_FALSE(ColorToIdent(TColor(0x123456), ident));
    TColor c = clBlack;
    EXPECT_TRUE(IdentToColor("CLINFOBK", c));
    EXPECT_EQ(c, clInfoBk);
    EXPECT_FALSE(IdentToColor("clMauve", c));
    EXPECT_EQ(ColorToString(clNone), "clNone");
    EXPECT_EQ(ColorToString(TColor(0x123456)), "1193046");
    EXPECT_EQ(StringToColor("clHighlight"), clHighlight);
    EXPECT_EQ(StringToColor("$8000000F"), clBtnFace);
    EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
    EXPECT_EQ(StringToColor("0xFF"), clRed);
    for (const char* bad : {"", "red", "$", "12x", "99999999999"})
        EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
}

TEST(Graphics, ColourPropertiesAreRecognisableAndWritableAsIntegers)
{
    Painted p;
    EXPECT_TRUE(IsColorProperty(Prop(p, "Color")));
    EXPECT_FALSE(IsColorProperty(Prop(p, "Width")));
    EXPECT_TRUE(Prop(p, "Color").write(&p, QVariant(int(clRed))));
    EXPECT_EQ(p.Color(), clRed);
    EXPECT_EQ(Prop(p, "Color").read(&p).toInt(), int(clRed));
}

TEST(Graphics, FontSizeFollowsHeightAt96Dpi)
{
    TFont f;
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);  // 11 * 72 / 96 = 8.25
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);  // 10 * 96 / 72 = 13.33
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    f.SetHeight(-14);
    EXPECT_EQ(f.Size(), 11);  // 10.5 rounds away from zero
    f.SetHeight(20);          // a cell height gives a negative size
    EXPECT_EQ(f.Size(), -15);
    f.SetSize(-9);
    EXPECT_EQ(f.Height(), 12);
}

TEST(Graphics, FontChangesFireOnceAndConvertToQFont)
{
    TFont f;
    ChangeCounter counter;
    f.SetOnChange(TNotifyEvent(&counter, &ChangeCounter::Change));
    f.SetHeight(-11);  // unchanged
    EXPECT_EQ(counter.changes, 0);
    f.SetStyle(fsBold | fsUnderline);
    f.SetName("Serif");
    EXPECT_EQ(counter.changes, 2);
    QFont q = f.ToQFont();
    EXPECT_EQ(q.pixelSize(), 11);
    EXPECT_TRUE(q.bold());
    EXPECT_TRUE(q.underline());
    EXPECT_FALSE(q.italic());
    EXPECT_EQ(q.family(), "Serif");

    TFont g;
    g.SetFromQFont(q);
    EXPECT_EQ(g.Height(), -11);
    EXPECT_EQ(g.Style(), fsBold | fsUnderline);
    QFont pt("Serif");
    pt.setPointSize(12);
    g.SetFromQFont(pt);
    EXPECT_EQ(g.Height(), -16);

    TFont h;
    h.Assign(&f);
    EXPECT_EQ(h.Style(), f.Style());
    EXPECT_EQ(h.Name(), "Serif");
    counter.changes = 0;
    f.Assign(&h);  // equal: no change
    EXPECT_EQ(counter.changes, 0);
    f.SetHeight(30);  // a cell height: the characters are smaller than the cell
    EXPECT_LE(f.ToQFont().pixelSize(), 30);
    EXPECT_GT(f.ToQFont().pixelSize(), 15);
}

TEST(Graphics, FontPublishesItsStyleAsASet)
{
    TFont f;
    const QMetaProperty style = Prop(f, "Style");
    ASSERT_TRUE(style.isFlagType());
    EXPECT_EQ(QByteArray(style.enumerator().valueToKeys(int(fsBold | fsItalic))), "fsBold|fsItalic");
    EXPECT_FALSE(Prop(f, "Size").isStored());
    EXPECT_TRUE(Prop(f, "Pitch").isEnumType());
}

TEST(Graphics, BitmapDataRoundTripsAndRejectsGarbage)
{
    TBitmap bmp;
    EXPECT_TRUE(bmp.Empty());
    EXPECT_TRUE(bmp.WriteData().isEmpty());
    bmp.SetSize(4, 3);
    EXPECT_EQ(bmp.Width(), 4);
    EXPECT_EQ(bmp.Image().pixelColor(3, 2), QColor(Qt::white));
    QImage img = bmp.Image();
    img.setPixelColor(1, 1, QColor(255, 0, 0));
    img.setPixelColor(0, 2, QColor(0, 255, 0));
    bmp.SetImage(img);

    TBitmap copy;
    copy.ReadData(bmp.WriteData());
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(copy.Height(), 3);
    EXPECT_EQ(copy.Image().pixelColor(1, 1), QColor(255, 0, 0));

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    bmp.SaveToStream(&buffer);
    buffer.seek(0);
    TBitmap loaded;
    loaded.LoadFromStream(&buffer);
    EXPECT_EQ(loaded.Image().pixelColor(0, 2), QColor(0, 255, 0));

    try {
        copy.ReadData("not an image");
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Bitmap image is not valid");
    }
    EXPECT_EQ(copy.Width(), 4);  // the old image stays
    copy.ReadData(QByteArray());
    EXPECT_TRUE(copy.Empty());
}

TEST(Graphics, BitmapTransparencyAndAssign)
{
    TBitmap bmp;
    bmp.SetSize(2, 2);
    QImage img = bmp.Image();
    img.setPixelColor(0, 1, QColor(0, 0, 255));  // bottom-left pixel
    bmp.SetImage(img);
    EXPECT_EQ(bmp.TransparentColor(), clBlue);
    QImage t = bmp.TransparentImage();
    EXPECT_EQ(t.pixelColor(0, 1).alpha(), 0);
    EXPECT_EQ(t.pixelColor(1, 1).alpha(), 255);
    bmp.SetTransparentColor(clWhite);
    t = bmp.TransparentImage();
    EXPECT_EQ(t.pixelColor(0, 1).alpha(), 255);
    EXPECT_EQ(t.pixelColor(1, 1).alpha(), 0);

    TBitmap other;
    ChangeCounter counter;
    other.SetOnChange(TNotifyEvent(&counter, &ChangeCounter::Change));
    other.Assign(&bmp);
    EXPECT_EQ(other.Width(), 2);
    EXPECT_EQ(other.TransparentColor(), clWhite);
    other.Assign(nullptr);
    EXPECT_TRUE(other.Empty());
    EXPECT_EQ(counter.changes, 2);
    TFont font;
    EXPECT_THROW(other.Assign(&font), EConvertError);
}

#include "graphics_test.moc"

TEST(Graphics, MulDivRoundsHalfAwayFromZeroInSixtyFourBits)
{
    EXPECT_EQ(MulDiv(5, 10, 100), 1);    // 0.5
    EXPECT_EQ(MulDiv(-5, 10, 100), -1);  // -0.5
    EXPECT_EQ(MulDiv(4, 10, 100), 0);    // 0.4
    EXPECT_EQ(MulDiv(5, -10, -100), 1);
    EXPECT_EQ(MulDiv(1 << 30, 4, 8), 1 << 29);  // no overflow in between
    EXPECT_EQ(MulDiv(7, 1, 0), -1);
    EXPECT_EQ(MulDiv(1 << 30, 1 << 30, 1), -1);  // does not fit
    // Font sizes go through it: 8 pt at 96 dpi is 11 pixels (10.67 rounded).
    TFont font;
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -11);
}

TEST(Graphics, ClassicTableGivesFixedMetrics)
{
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0x0A, 0x24, 0x6A));
    EXPECT_EQ(GetSysColor(99), clBlack);
    EXPECT_EQ(GetSystemMetrics(SM_CXDRAG), 4);
    EXPECT_EQ(GetSystemMetrics(12345), 0);
}
