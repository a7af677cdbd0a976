#pragma once
// Graphics values of the component library: colours ($00BBGGRR integers and system
// colour indexes), fonts and bitmaps as published persistent properties.
#include "Classes.h"

#include <QByteArray>
#include <QColor>
#include <QFlags>
#include <QFont>
#include <QImage>
#include <QMetaType>
#include <QString>

class QIODevice;
class QPainter;
class QMetaProperty;

// A drawing surface (a canvas): the painter a window, an image or a printer is drawn with.
using TCanvas = QPainter;

VESK_DECLARE_EXCEPTION(EInvalidGraphic, Exception)

// A colour: $00BBGGRR, or $80000000 | index for a system colour, or clNone/clDefault.
// Its own type (an enumeration over a 32-bit integer, any value allowed) so published
// colour properties can be told from plain integers: QMetaType::fromType<TColor>().
enum TColor : qint32 {
    clBlack = 0x000000,
    clMaroon = 0x000080,
    clGreen = 0x008000,
    clOlive = 0x008080,
    clNavy = 0x800000,
    clPurple = 0x800080,
    clTeal = 0x808000,
    clGray = 0x808080,
    clSilver = 0xC0C0C0,
    clRed = 0x0000FF,
    clLime = 0x00FF00,
    clYellow = 0x00FFFF,
    clBlue = 0xFF0000,
    clFuchsia = 0xFF00FF,
    clAqua = 0xFFFF00,
    clWhite = 0xFFFFFF,
    clNone = 0x1FFFFFFF,
    clDefault = 0x20000000,

    clScrollBar = qint32(0x80000000),
    clBackground = qint32(0x80000001),
    clActiveCaption = qint32(0x80000002),
    clInactiveCaption = qint32(0x80000003),
    clMenu = qint32(0x80000004),
    clWindow = qint32(0x80000005),
    clWindowFrame = qint32(0x80000006),
    clMenuText = qint32(0x80000007),
    clWindowText = qint32(0x80000008),
    clCaptionText = qint32(0x80000009),
    clActiveBorder = qint32(0x8000000A),
    clInactiveBorder = qint32(0x8000000B),
    clAppWorkSpace = qint32(0x8000000C),
    clHighlight = qint32(0x8000000D),
    clHighlightText = qint32(0x8000000E),
    clBtnFace = qint32(0x8000000F),
    clBtnShadow = qint32(0x80000010),
    clGrayText = qint32(0x80000011),
    clBtnText = qint32(0x80000012),
    clInactiveCaptionText = qint32(0x80000013),
    clBtnHighlight = qint32(0x80000014),
    cl3DDkShadow = qint32(0x80000015),
    cl3DLight = qint32(0x80000016),
    clInfoText = qint32(0x80000017),
    clInfoBk = qint32(0x80000018),
};

constexpr TColor MakeColor(qint32 value)
{
    return TColor(value);
}
// $00BBGGRR from the three components.
constexpr TColor RGB(int r, int g, int b)
{
    return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c)
{
    return int(c) & 0xFF;
}
constexpr int GetGValue(TColor c)
{
    return (int(c) >> 8) & 0xFF;
}
constexpr int GetBValue(TColor c)
{
    return (int(c) >> 16) & 0xFF;
}
constexpr bool IsSystemColor(TColor c)
{
    return (quint32(c) & 0xFF000000u) == 0x80000000u;
}

// The $00BBGGRR value a colour shows as: system colours through the application's
// palette (fixed defaults without a GUI application); clNone and clDefault come back
// unchanged, so callers can still tell them apart.
TColor ColorToRGB(TColor color);
QColor ColorToQColor(TColor color);
// Opaque colour of a QColor (alpha dropped).
TColor QColorToColor(const QColor& color);

// Identifier of a named colour ("clRed", "clBtnFace"); false when the value has none.
bool ColorToIdent(TColor color, QString& ident);
// Colour of an identifier (case-insensitive); false when unknown.
bool IdentToColor(const QString& ident, TColor& color);
// Text of a colour for form resources: its identifier, else the integer.
QString ColorToString(TColor color);
// Identifier or integer ("$FF00", "-2147483633"); EConvertError on anything else.
TColor StringToColor(const QString& text);
// True for a published property of type TColor.
bool IsColorProperty(const QMetaProperty& property);

// Font styles and pitch, published as a set and an enumeration.
namespace GraphicsTypes {
Q_NAMESPACE
enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
Q_ENUM_NS(TFontStyle)
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_FLAG_NS(TFontStyles)
enum TFontPitch { fpDefault, fpVariable, fpFixed };
Q_ENUM_NS(TFontPitch)
}  // namespace GraphicsTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(GraphicsTypes::TFontStyles)
using GraphicsTypes::TFontPitch;
using GraphicsTypes::TFontStyle;
using GraphicsTypes::TFontStyles;
using enum GraphicsTypes::TFontStyle;
using enum GraphicsTypes::TFontPitch;

constexpr int DEFAULT_CHARSET = 1;
// Sizes convert at the screen resolution the forms are designed for.
constexpr int FontPixelsPerInch = 96;

class TFont : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(GraphicsTypes::TFontPitch Pitch READ Pitch WRITE SetPitch)
    Q_PROPERTY(int Size READ Size WRITE SetSize STORED false)
    Q_PROPERTY(GraphicsTypes::TFontStyles Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default.Charset", "1")
    Q_CLASSINFO("Default.Color", "clWindowText")
    Q_CLASSINFO("Default.Height", "-11")
    Q_CLASSINFO("Default.Name", "'Sans Serif'")
    Q_CLASSINFO("Default.Pitch", "fpDefault")
    Q_CLASSINFO("Default.Style", "[]")
public:
    TFont() = default;

    int Charset() const { return charset_; }
    void SetCharset(int value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    // Negative: the pixel height of the characters; positive: the cell height (characters
    // plus internal leading).
    int Height() const { return height_; }
    void SetHeight(int value);
    const QString& Name() const { return name_; }
    void SetName(const QString& value);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch value);
    // Points at FontPixelsPerInch: -Height * 72 / 96, rounded (negative for a cell height).
    int Size() const;
    void SetSize(int value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);

    void Assign(TPersistent* source) override;
    // A QFont with this font's family, pixel size, style and pitch (colour is separate).
    QFont ToQFont() const;
    // Takes family, size, style and pitch from a QFont (one change notification).
    void SetFromQFont(const QFont& font);

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }

protected:
    // Fires OnChange.
    virtual void Changed();

private:
    int charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    int height_ = -11;
    QString name_ = QStringLiteral("Sans Serif");
    TFontPitch pitch_ = fpDefault;
    TFontStyles style_;
    TNotifyEvent onChange_;
};

// A bitmap image. Streams as the binary "Data" property (PNG bytes of our own choosing).
class TBitmap : public TPersistent {
    Q_OBJECT
public:
    TBitmap() = default;

    int Width() const { return image_.width(); }
    void SetWidth(int value);
    int Height() const { return image_.height(); }
    void SetHeight(int value);
    // Resizes, keeping the top-left part; new pixels are white.
    void SetSize(int width, int height);
    bool Empty() const { return image_.isNull(); }

    const QImage& Image() const { return image_; }
    void SetImage(const QImage& image);

    // An explicit colour, or with clDefault (the default) the bottom-left pixel's colour.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);
    // The image with every pixel of TransparentColor made fully transparent.
    QImage TransparentImage() const;

    void Assign(TPersistent* source) override;
    // Defines "Data" through ReadData/WriteData, stored when the bitmap is not empty.
    void DefineProperties(TFiler* filer) override;
    // The streamed bytes: empty for an empty bitmap, else PNG.
    QByteArray WriteData() const;
    // EInvalidGraphic "Bitmap image is not valid" when the bytes are no image.
    void ReadData(const QByteArray& data);
    void SaveToStream(QIODevice* stream) const;
    // Reads the rest of the stream.
    void LoadFromStream(QIODevice* stream);

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }

protected:
    virtual void Changed();

private:
    QImage image_;
    TColor transparentColor_ = clDefault;
    TNotifyEvent onChange_;
};

// The focus frame: every other pixel of a 1-pixel frame just inside r (exclusive right and
// bottom edges) inverted, so that drawing it twice erases it.
void DrawFocusFrame(QPainter& p, const QRect& r);
