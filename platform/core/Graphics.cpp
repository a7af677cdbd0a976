#include "Graphics.h"

#include "Streaming.h"
#include "SysParams.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QIODevice>
#include <QMetaProperty>
#include <QPainter>
#include <QPalette>
#include <cmath>
#include <iterator>

// ---- colours ----

namespace {

struct ColorName {
    TColor color;
    const char* name;
};

// Identifiers of the named colours; the first name of a value is the one written.
constexpr ColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

}  // namespace

TColor ColorToRGB(TColor color)
{
    if (IsSystemColor(color)) return GetSysColor(int(color) & 0xFF);
    if (color == clNone || color == clDefault) return color;
    return TColor(int(color) & 0x00FFFFFF);
}

QColor ColorToQColor(TColor color)
{
    if (color == clNone) return QColor(Qt::transparent);
    if (color == clDefault) return QColor();
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor QColorToColor(const QColor& color)
{
    const QColor c = color.toRgb();
    return RGB(c.red(), c.green(), c.blue());
}

bool ColorToIdent(TColor color, QString& ident)
{
    for (const ColorName& n : kColorNames) {
        if (n.color == color) {
            ident = QString::fromLatin1(n.name);
            return true;
        }
    }
    return false;
}

bool IdentToColor(const QString& ident, TColor& color)
{
    for (const ColorName& n : kColorNames) {
        if (ident.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            color = n.color;
            return true;
        }
    }
    return false;
}

QString ColorToString(TColor color)
{
    QString ident;
    if (ColorToIdent(color, ident)) return ident;
    return QString::number(qint32(color));
}

TColor StringToColor(const QString& text)
{
    TColor color = clBlack;
    const QString s = text.trimmed();
    if (IdentToColor(s, color)) return color;
    bool ok = false;
    qint64 value = 0;
    if (s.startsWith(QLatin1Char('$')))
        value = s.mid(1).toLongLong(&ok, 16);
    else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = s.mid(2).toLongLong(&ok, 16);
    else
        value = s.toLongLong(&ok, 10);
    // Hex texts name the 32 bits; decimal ones must fit a signed 32-bit value.
    if (!ok || value < INT32_MIN || value > qint64(UINT32_MAX))
        throw EConvertError(QStringLiteral("'%1' is not a valid colour").arg(text));
    return TColor(qint32(quint32(value)));
}

bool IsColorProperty(const QMetaProperty& property)
{
    return property.metaType() == QMetaType::fromType<TColor>();
}

// ---- TFont ----

void TFont::SetCharset(int value)
{
    if (charset_ == value) return;
    charset_ = value;
    Changed();
}

void TFont::SetColor(TColor value)
{
    if (color_ == value) return;
    color_ = value;
    Changed();
}

void TFont::SetHeight(int value)
{
    if (height_ == value) return;
    height_ = value;
    Changed();
}

void TFont::SetName(const QString& value)
{
    if (name_ == value || value.isEmpty()) return;
    name_ = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value)
{
    if (pitch_ == value) return;
    pitch_ = value;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(height_, 72, FontPixelsPerInch);
}

void TFont::SetSize(int value)
{
    SetHeight(-MulDiv(value, FontPixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles value)
{
    if (style_ == value) return;
    style_ = value;
    Changed();
}

void TFont::Assign(TPersistent* source)
{
    auto* other = qobject_cast<TFont*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    const bool same = charset_ == other->charset_ && color_ == other->color_ && height_ == other->height_ &&
                      name_ == other->name_ && pitch_ == other->pitch_ && style_ == other->style_;
    if (same) return;
    charset_ = other->charset_;
    color_ = other->color_;
    height_ = other->height_;
    name_ = other->name_;
    pitch_ = other->pitch_;
    style_ = other->style_;
    Changed();
}

QFont TFont::ToQFont() const
{
    QFont font(name_);
    font.setBold(style_.testFlag(fsBold));
    font.setItalic(style_.testFlag(fsItalic));
    font.setUnderline(style_.testFlag(fsUnderline));
    font.setStrikeOut(style_.testFlag(fsStrikeOut));
    if (pitch_ == fpFixed) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::Monospace);
    } else if (pitch_ == fpVariable) {
        font.setFixedPitch(false);
    }
    if (height_ < 0) {
        font.setPixelSize(-height_);
    } else if (height_ > 0) {
        // A cell height includes the internal leading: scale the character size to fit.
        font.setPixelSize(height_);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            const qreal cell = QFontMetricsF(font).height();
            if (cell > 0) font.setPixelSize(qMax(1, qRound(height_ * height_ / cell)));
        }
    }
    return font;
}

void TFont::SetFromQFont(const QFont& font)
{
    int height = height_;
    if (font.pixelSize() > 0)
        height = -font.pixelSize();
    else if (font.pointSizeF() > 0)
        height = -qRound(font.pointSizeF() * FontPixelsPerInch / 72.0);
    TFontStyles style;
    style.setFlag(fsBold, font.bold());
    style.setFlag(fsItalic, font.italic());
    style.setFlag(fsUnderline, font.underline());
    style.setFlag(fsStrikeOut, font.strikeOut());
    const TFontPitch pitch = font.fixedPitch() ? fpFixed : fpDefault;
    const QString name = font.family().isEmpty() ? name_ : font.family();
    if (height == height_ && style == style_ && pitch == pitch_ && name == name_) return;
    height_ = height;
    style_ = style;
    pitch_ = pitch;
    name_ = name;
    Changed();
}

void TFont::Changed()
{
    if (onChange_) onChange_(this);
}

// ---- TBitmap ----

void TBitmap::SetWidth(int value)
{
    SetSize(value, Height());
}

void TBitmap::SetHeight(int value)
{
    SetSize(Width(), value);
}

void TBitmap::SetSize(int width, int height)
{
    if (width == Width() && height == Height()) return;
    if (width <= 0 || height <= 0) {
        image_ = QImage();
    } else {
        QImage sized(width, height, image_.isNull() ? QImage::Format_RGB32 : image_.format());
        sized.fill(Qt::white);
        if (!image_.isNull()) {
            QPainter painter(&sized);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, image_);
        }
        image_ = sized;
    }
    Changed();
}

void TBitmap::SetImage(const QImage& image)
{
    image_ = image;
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (transparentColor_ != clDefault) return transparentColor_;
    if (image_.isNull()) return clDefault;
    return QColorToColor(image_.pixelColor(0, image_.height() - 1));
}

void TBitmap::SetTransparentColor(TColor value)
{
    if (transparentColor_ == value) return;
    transparentColor_ = value;
    Changed();
}

QImage TBitmap::TransparentImage() const
{
    if (image_.isNull()) return image_;
    QImage result = image_.convertToFormat(QImage::Format_ARGB32);
    const TColor transparent = TransparentColor();
    if (transparent == clNone || transparent == clDefault) return result;
    const QRgb key = ColorToQColor(transparent).rgb() & 0x00FFFFFF;
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if ((line[x] & 0x00FFFFFF) == key) line[x] = 0;
    }
    return result;
}

void TBitmap::Assign(TPersistent* source)
{
    if (!source) {
        // Assigning nothing empties the bitmap.
        if (image_.isNull()) return;
        image_ = QImage();
        Changed();
        return;
    }
    auto* other = qobject_cast<TBitmap*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    image_ = other->image_;
    transparentColor_ = other->transparentColor_;
    Changed();
}

void TBitmap::DefineProperties(TFiler* filer)
{
    if (!filer) return;
    filer->DefineBinaryProperty(
        QStringLiteral("Data"), [this](const QByteArray& data) { ReadData(data); },
        [this](QByteArray& data) { data = WriteData(); }, !Empty());
}

QByteArray TBitmap::WriteData() const
{
    QByteArray data;
    if (image_.isNull()) return data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image_.save(&buffer, "PNG");
    return data;
}

void TBitmap::ReadData(const QByteArray& data)
{
    if (data.isEmpty()) {
        Assign(nullptr);
        return;
    }
    QImage image;
    bool ok = image.loadFromData(data);
    // Bitmap data of the classic form-resource layout: a 32-bit length, then the file.
    if (!ok && data.size() > 6 && data.mid(4, 2) == "BM") ok = image.loadFromData(data.mid(4));
    if (!ok) throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    SetImage(image);
}

void TBitmap::SaveToStream(QIODevice* stream) const
{
    if (!stream) return;
    const QByteArray data = WriteData();
    if (stream->write(data) != data.size()) throw EInOutError(QStringLiteral("Stream write error"));
}

void TBitmap::LoadFromStream(QIODevice* stream)
{
    if (!stream) return;
    ReadData(stream->readAll());
}

void TBitmap::Changed()
{
    if (onChange_) onChange_(this);
}

void DrawFocusFrame(QPainter& p, const QRect& r)
{
    if (r.isEmpty()) return;
    const int left = r.x(), top = r.y(), right = r.x() + r.width(), bottom = r.y() + r.height();
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor white(Qt::white);
    auto dot = [&p, &white](int x, int y) { p.fillRect(x, y, 1, 1, white); };
    // Around the frame, one pixel on and one off.
    int k = 0;
    for (int x = left; x < right; ++x, ++k)
        if (k % 2 == 0) dot(x, top);
    for (int y = top + 1; y < bottom; ++y, ++k)
        if (k % 2 == 0) dot(right - 1, y);
    for (int x = right - 2; x >= left && bottom - 1 > top; --x, ++k)
        if (k % 2 == 0) dot(x, bottom - 1);
    for (int y = bottom - 2; y > top && right - 1 > left; --y, ++k)
        if (k % 2 == 0) dot(left, y);
    p.restore();
}
