#include "dxBarDrawing.h"

#include "Desktop.h"

#include "ImgList.h"
#include "SysParams.h"
#include "Window.h"

#include <QCache>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace {

QColor Q(TColor c)
{
    return ColorToQColor(c);
}

QRgb Rgb(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

std::function<void(const QString&)> soundPlayer;

}  // namespace

// ---------------------------------------------------------------- colours and brushes

TColor dxBarOffsetSysColor(int sysColorIndex, int dR, int dG, int dB)
{
    const TColor c = GetSysColor(sysColorIndex);
    auto channel = [](int value, int delta) { return std::clamp(value + delta, 0, 255); };
    return RGB(channel(GetRValue(c), dR), channel(GetGValue(c), dG), channel(GetBValue(c), dB));
}

TdxBarFlatColors dxBarFlatColors()
{
    return {dxBarOffsetSysColor(COLOR_BTNFACE, 10, 10, 10), dxBarOffsetSysColor(COLOR_BTNFACE, 0, 0, 16),
            dxBarOffsetSysColor(COLOR_BTNFACE, -79, -62, -18), dxBarOffsetSysColor(COLOR_HIGHLIGHT, 172, 153, 104)};
}

QBrush dxBarPatternBrush()
{
    QImage pattern(8, 8, QImage::Format_RGB32);
    const QRgb face = Rgb(clBtnFace), highlight = Rgb(clBtnHighlight);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern.setPixel(x, y, (x % 2) == (y % 2) ? face : highlight);
    return QBrush(pattern);
}

// ---------------------------------------------------------------- painters

int dxBarArrowSize(const TRect& r, bool down)
{
    const int w = down ? r.Width() - 8 : r.Height() - 6;
    int size = (w - 1) / 2;
    if (w % 2 != 0) ++size;
    return std::max(size, 3);
}

void dxBarDrawArrowInRect(QPainter& p, const TRect& r, bool down, bool enabled, bool selected, bool flat)
{
    dxBarDrawArrow(p, r, down, enabled, selected, flat, dxBarArrowSize(r, down));
}

void dxBarDrawArrow(QPainter& p, const TRect& r, bool down, bool enabled, bool selected, bool flat, int size)
{
    const int colorIndex = !enabled ? COLOR_BTNSHADOW : selected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
    const QColor color = SysColor(colorIndex);
    int x0, y0;
    QList<TPoint> points;
    // Floor division, as the coordinates may be negative.
    auto div2 = [](int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); };
    if (down) {
        x0 = div2(r.Left + r.Right - 2 * size + 1);
        y0 = div2(r.Top + r.Bottom - size);
        points = {{x0, y0}, {x0 + 2 * size - 2, y0}, {x0 + size - 1, y0 + size - 1}};
    } else {
        x0 = div2(r.Left + r.Right - size);
        y0 = div2(r.Top + r.Bottom - 2 * size + 1);
        points = {{x0, y0}, {x0, y0 + 2 * size - 2}, {x0 + size - 1, y0 + size - 1}};
    }
    FillPolygon(p, points, color);
    if (enabled || flat) return;
    const QColor light = SysColor(COLOR_BTNHIGHLIGHT);
    if (down) {
        DrawLine(p, {x0 + size, y0 + size - 1}, {x0 + 2 * size - 1, y0}, light);
        DrawLine(p, {x0 + size, y0 + size}, {x0 + 2 * size, y0}, light);
    } else {
        DrawLine(p, {x0 + size - 1, y0 + size}, {x0, y0 + 2 * size - 1}, light);
        DrawLine(p, {x0 + size, y0 + size}, {x0, y0 + 2 * size}, light);
    }
}

void dxBarFrameHighlight(QPainter& p, const TRect& r)
{
    FrameRect(p, r, SysBrush(COLOR_HIGHLIGHT));
}

void dxBarFillGradient(QPainter& p, const TRect& r, TColor start, TColor end)
{
    const TColor s = ColorToRGB(start), e = ColorToRGB(end);
    const int h = r.Height();
    for (int i = 0; i < 256; ++i) {
        const int top = r.Top + MulDiv(i, h, 256), bottom = r.Top + MulDiv(i + 1, h, 256);
        auto channel = [i](int from, int to) { return from + MulDiv(i, to - from, 255); };
        const QColor c(channel(GetRValue(s), GetRValue(e)), channel(GetGValue(s), GetGValue(e)),
                       channel(GetBValue(s), GetBValue(e)));
        FillRect(p, {r.Left, top, r.Right, bottom}, c);
    }
}

void dxBarDesaturateImage(QImage& image, TColor transparent)
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = Rgb(transparent) & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == key) continue;
            const int gray = (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3;
            line[x] = qRgba(gray, gray, gray, qAlpha(line[x]));
        }
    }
}

namespace {

// Pixels of image whose colour differs from key, as an opaque-where-set mask.
QImage ShapeOf(const QImage& image, QRgb key)
{
    QImage shape(image.size(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            shape.setPixel(x, y, (image.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF) ? 0u : 0xFF000000u);
    return shape;
}

// The shape filled with one colour.
QImage Tinted(const QImage& shape, const QColor& color)
{
    QImage out = shape;
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(out.rect(), color);
    return out;
}

// The image with its key-coloured pixels transparent.
QImage Keyed(const QImage& image, QRgb key)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
    }
    return out;
}

// An image with alpha flattened onto a colour.
QImage OnBackground(const QImage& image, const QColor& background)
{
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(background);
    QPainter p(&out);
    p.drawImage(0, 0, image);
    return out;
}

}  // namespace

namespace {

// A picture that carries its own transparency: some pixel is not fully opaque. Only a
// picture without it marks its background with a key colour.
bool HasOwnTransparency(const QImage& image)
{
    if (!image.hasAlphaChannel()) return false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 255) return true;
    }
    return false;
}

// The glyph as it is drawn (in its colours, or greyed) and its shape, both with alpha.
struct TGlyphImages {
    QImage Colours;
    QImage Shape;
};

// A picture with its own alpha: drawn with it, its soft edges blending into the background.
TGlyphImages AlphaGlyph(const QImage& source, const QSize& size, bool desaturate)
{
    QImage image =
        source.convertToFormat(QImage::Format_ARGB32).scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (desaturate) {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int gray = (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3;
                line[x] = qRgba(gray, gray, gray, qAlpha(line[x]));
            }
        }
    }
    return {image, image};
}

// A picture without alpha: what has the key colour (its bottom-left pixel, or the bitmap's
// own transparent colour when disabled) is transparent. Image-list pictures sit on the
// list's background colour, bitmaps on white.
TGlyphImages KeyedGlyph(const QImage& source, const QSize& size, bool fromList, const QColor& listBackground,
                        unsigned flags, TColor bitmapTransparent)
{
    QImage image = OnBackground(source, fromList ? listBackground : QColor(Qt::white));
    image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRgb corner = image.pixel(0, image.height() - 1);
    QRgb key = corner;
    if (flags & dgEnabled) {
        if (flags & dgDesaturate) dxBarDesaturateImage(image, TColor(RGB(qRed(key), qGreen(key), qBlue(key))));
    } else if (fromList) {
        // The shape of an image-list image is what differs from white once its own
        // transparent colour is white too.
        image = OnBackground(Keyed(image, corner), Qt::white);
        key = qRgb(255, 255, 255);
    } else if (bitmapTransparent != clDefault) {
        const TColor t = ColorToRGB(bitmapTransparent);
        key = qRgb(GetRValue(t), GetGValue(t), GetBValue(t));
    }
    return {Keyed(image, key), ShapeOf(image, key)};
}

// What the glyph images of a picture depend on: the picture's contents, the size it is
// stretched to, where it comes from with the colours it is keyed with, and whether it is
// drawn enabled or greyed (the other flags only place the images).
struct TGlyphKey {
    qint64 Source = 0;
    int Width = 0;
    int Height = 0;
    bool FromList = false;
    QRgb ListBackground = 0;
    unsigned Look = 0;
    bool OwnTransparent = false;
    QRgb Transparent = 0;
    friend bool operator==(const TGlyphKey&, const TGlyphKey&) = default;
};

size_t qHash(const TGlyphKey& key, size_t seed = 0) noexcept
{
    return qHashMulti(seed, key.Source, key.Width, key.Height, key.FromList, key.ListBackground, key.Look,
                      key.OwnTransparent, key.Transparent);
}

// The glyph images of a picture, made once for each picture, size and look and then taken
// from a cache: keying a picture pixel by pixel is the dearest part of painting a bar
// window, and the same glyphs are painted again on every hot-tracking move and every
// resize. The key is the picture's cache key, which changes whenever the picture does;
// colours are keyed as they resolve now, so a new colour table makes new images.
TGlyphImages GlyphImages(const QImage& source, const QSize& size, bool fromList, const QColor& listBackground,
                         unsigned flags, TColor bitmapTransparent)
{
    // At most this many bytes of images are kept, the least recently drawn going first.
    static QCache<TGlyphKey, TGlyphImages> cache(8 << 20);
    const bool ownTransparent = bitmapTransparent != clDefault;
    const TGlyphKey key{source.cacheKey(),     size.width(),
                        size.height(),         fromList,
                        listBackground.rgba(), flags & (dgEnabled | dgDesaturate),
                        ownTransparent,        ownTransparent ? Rgb(bitmapTransparent) : 0};
    if (const TGlyphImages* cached = cache.object(key)) return *cached;
    const TGlyphImages glyph = HasOwnTransparency(source)
                                   ? AlphaGlyph(source, size, (flags & dgEnabled) && (flags & dgDesaturate))
                                   : KeyedGlyph(source, size, fromList, listBackground, flags, bitmapTransparent);
    cache.insert(key, new TGlyphImages(glyph),
                 std::max<qsizetype>(1, glyph.Colours.sizeInBytes() + glyph.Shape.sizeInBytes()));
    return glyph;
}

}  // namespace

void dxBarDrawGlyph(QPainter& p, const QBrush& background, const TRect& dest, TColor imageListBkColor, unsigned flags,
                    TCustomImageList* images, int imageIndex, const QImage& bitmap, const TRect& glyphRect,
                    TColor bitmapTransparent)
{
    if (dest.IsEmpty()) return;
    QImage memory(dest.Width(), dest.Height(), QImage::Format_RGB32);
    {
        QPainter m(&memory);
        m.setBrushOrigin(-dest.Left, -dest.Top);
        m.fillRect(memory.rect(), background);
    }
    const bool fromList = bitmap.isNull();
    QImage source;
    if (!fromList)
        source = bitmap;
    else if (images && imageIndex >= 0 && imageIndex < images->Count())
        source = images->Image(imageIndex);
    if (!source.isNull() && !glyphRect.IsEmpty()) {
        const bool enabled = flags & dgEnabled;
        const QSize size(glyphRect.Width(), glyphRect.Height());
        const TGlyphImages glyph = GlyphImages(source, size, fromList, Q(imageListBkColor), flags, bitmapTransparent);
        const QPoint at(glyphRect.Left - dest.Left, glyphRect.Top - dest.Top);
        QPainter m(&memory);
        if (enabled) {
            const bool shadow = (flags & dgHot) && (flags & dgShadowed) && !(flags & dgPressed);
            if (shadow) {
                m.drawImage(at + QPoint(1, 1), Tinted(glyph.Shape, SysColor(COLOR_BTNSHADOW)));
                m.drawImage(at - QPoint(1, 1), glyph.Colours);
            } else {
                m.drawImage(at, glyph.Colours);
            }
        } else {
            if (!(flags & dgFlat)) m.drawImage(at + QPoint(1, 1), Tinted(glyph.Shape, SysColor(COLOR_BTNHIGHLIGHT)));
            m.drawImage(at, Tinted(glyph.Shape, SysColor(COLOR_BTNSHADOW)));
        }
    }
    p.drawImage(dest.Left, dest.Top, memory);
}

// ---------------------------------------------------------------- texts and fonts

QString dxBarRemoveAmpersands(const QString& text)
{
    QString out = text;
    out.remove(u'&');
    return out;
}

QFont dxBarCreateMenuFont(const TFont& font, bool useSystemFont, int systemMenuFontHeight)
{
    TFont copy;
    copy.Assign(const_cast<TFont*>(&font));
    if (useSystemFont) copy.SetHeight(systemMenuFontHeight >= -10 ? -11 : systemMenuFontHeight);
    return copy.ToQFont();
}

int dxBarFontPoints(const QFont& font)
{
    return font.pointSize() > 0 ? font.pointSize() : MulDiv(font.pixelSize(), 72, FontPixelsPerInch);
}

int dxBarSmallCaptionHeight()
{
    return GetSystemMetrics(SM_CYSMCAPTION);
}

// ---------------------------------------------------------------- window routines

void dxBarClampSize(int& value)
{
    value = std::clamp(value, 20, 600);
}

TRect dxBarGetWorkArea(const TPoint& screen)
{
    return NearestWorkArea(GetMonitors(), TRect::Bounds(screen.x(), screen.y(), 1, 1));
}

QWidget* dxBarWindowFromPoint(const TPoint& screen)
{
    return TWindow::WindowFromPoint(screen);
}

bool dxBarIsMouseTracked(TWindow* window)
{
    return window && window->IsMouseLeaveTracked();
}

void dxBarBeginMouseTracking(TWindow* window)
{
    if (window) window->TrackMouseLeave();
}

void dxBarEndMouseTracking(TWindow* window)
{
    if (window) window->EndMouseLeaveTracking();
}

namespace {
std::function<Qt::MouseButtons()> mouseButtons;

Qt::MouseButtons MouseButtons()
{
    return mouseButtons ? mouseButtons() : QGuiApplication::mouseButtons();
}
}  // namespace

bool dxBarLeftButtonState()
{
    return MouseButtons() & Qt::LeftButton;
}

bool dxBarIsRightButtonDown()
{
    return MouseButtons() & Qt::RightButton;
}

void dxBarSetMouseButtonsFunction(std::function<Qt::MouseButtons()> fn)
{
    mouseButtons = std::move(fn);
}

void dxBarPumpMouseMessages()
{
    // Qt dispatches no single kind of input on its own: everything pending goes, without
    // waiting, and the queued mouse input with it.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool dxBarDragDistancePassed(const TPoint& start, const TPoint& point)
{
    const int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
    return !TRect::Bounds(start.x() - cx / 2, start.y() - cy / 2, cx, cy).Contains(point);
}

void dxBarProcessPaintMessages()
{
    // Every widget's pending repaint is one update request of its top-level window.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void dxBarPlaySound(int aliasIndex)
{
    static const char* const aliases[] = {"MenuPopup", "MenuCommand"};
    if (aliasIndex < 0 || aliasIndex > 1 || !soundPlayer) return;
    soundPlayer(QString::fromLatin1(aliases[aliasIndex]));
}

void dxBarSetSoundPlayer(std::function<void(const QString&)> player)
{
    soundPlayer = std::move(player);
}
