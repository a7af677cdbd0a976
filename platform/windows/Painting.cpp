#include "Painting.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <cstdlib>

QColor SysColor(int index)
{
    return ColorToQColor(GetSysColor(index));
}

QBrush SysBrush(int index)
{
    return QBrush(SysColor(index));
}

void FillRect(QPainter& p, const TRect& r, const QBrush& brush)
{
    if (r.IsEmpty()) return;
    p.fillRect(r.ToQRect(), brush);
}

void FrameRect(QPainter& p, const TRect& r, const QBrush& brush)
{
    if (r.IsEmpty()) return;
    FillRect(p, {r.Left, r.Top, r.Right, r.Top + 1}, brush);
    FillRect(p, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, brush);
    FillRect(p, {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, brush);
    FillRect(p, {r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, brush);
}

void DrawFocusRect(QPainter& p, const TRect& r)
{
    DrawFocusFrame(p, r.ToQRect());
}

namespace {

// One ring of an edge: top-left colour, bottom-right colour.
void DrawEdgeRing(QPainter& p, const TRect& r, int topLeft, int bottomRight, unsigned sides)
{
    if (r.IsEmpty()) return;
    const QBrush tl = SysBrush(topLeft), br = SysBrush(bottomRight);
    if (sides & BF_TOP) FillRect(p, {r.Left, r.Top, r.Right - 1, r.Top + 1}, tl);
    if (sides & BF_LEFT) FillRect(p, {r.Left, r.Top, r.Left + 1, r.Bottom - 1}, tl);
    if (sides & BF_BOTTOM) FillRect(p, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, br);
    if (sides & BF_RIGHT) FillRect(p, {r.Right - 1, r.Top, r.Right, r.Bottom}, br);
}

}  // namespace

void DrawEdge(QPainter& p, const TRect& r, unsigned edge, unsigned sides)
{
    if (edge & BDR_RAISEDOUTER)
        DrawEdgeRing(p, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW, sides);
    else if (edge & BDR_SUNKENOUTER)
        DrawEdgeRing(p, r, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, sides);
    const TRect inner(r.Left + ((sides & BF_LEFT) ? 1 : 0), r.Top + ((sides & BF_TOP) ? 1 : 0),
                      r.Right - ((sides & BF_RIGHT) ? 1 : 0), r.Bottom - ((sides & BF_BOTTOM) ? 1 : 0));
    const bool hasOuter = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
    const TRect& at = hasOuter ? inner : r;
    if (edge & BDR_RAISEDINNER)
        DrawEdgeRing(p, at, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, sides);
    else if (edge & BDR_SUNKENINNER)
        DrawEdgeRing(p, at, COLOR_3DDKSHADOW, COLOR_3DLIGHT, sides);
}

void DrawLine(QPainter& p, const TPoint& from, const TPoint& to, const QColor& color)
{
    int x = from.x(), y = from.y();
    const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
    int err = dx + dy;
    while (x != to.x() || y != to.y()) {
        p.fillRect(x, y, 1, 1, color);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void FillPolygon(QPainter& p, const QList<TPoint>& points, const QColor& color)
{
    if (points.isEmpty()) return;
    int top = points[0].y(), bottom = top;
    for (const TPoint& pt : points) {
        top = std::min(top, pt.y());
        bottom = std::max(bottom, pt.y());
    }
    const int n = int(points.size());
    for (int y = top; y <= bottom; ++y) {
        double lo = 1e9, hi = -1e9;
        for (int i = 0; i < n; ++i) {
            const TPoint a = points[i], b = points[(i + 1) % n];
            if (y < std::min(a.y(), b.y()) || y > std::max(a.y(), b.y())) continue;
            if (a.y() == b.y()) {
                lo = std::min({lo, double(a.x()), double(b.x())});
                hi = std::max({hi, double(a.x()), double(b.x())});
                continue;
            }
            const double x = a.x() + double(y - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
        const int from = int(std::ceil(lo - 1e-9)), to = int(std::floor(hi + 1e-9));
        if (from <= to) p.fillRect(from, y, to - from + 1, 1, color);
    }
}

QString StripMnemonic(const QString& text, int* accelIndex)
{
    QString out;
    out.reserve(text.size());
    int accel = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u'&') {
            out += u'&';
            ++i;
        } else if (i + 1 < text.size()) {
            accel = int(out.size());
        }
    }
    if (accelIndex) *accelIndex = accel;
    return out;
}

int DrawText(QPainter& p, const QString& text, TRect& r, unsigned flags)
{
    int accel = -1;
    const QString shown = (flags & DT_NOPREFIX) ? text : StripMnemonic(text, &accel);
    const QFontMetrics fm(p.font());
    const int width = fm.horizontalAdvance(shown), height = fm.height();
    if (flags & DT_CALCRECT) {
        r.Right = r.Left + width;
        r.Bottom = r.Top + height;
        return height;
    }
    int x = r.Left;
    if (flags & DT_CENTER)
        x = r.Left + (r.Width() - width) / 2;
    else if (flags & DT_RIGHT)
        x = r.Right - width;
    int y = r.Top;
    if (flags & DT_VCENTER)
        y = r.Top + (r.Height() - height) / 2;
    else if (flags & DT_BOTTOM)
        y = r.Bottom - height;
    p.save();
    if (!(flags & DT_NOCLIP)) p.setClipRect(r.ToQRect(), Qt::IntersectClip);
    p.drawText(QPoint(x, y + fm.ascent()), shown);
    if (accel >= 0 && accel < shown.size()) {
        const int ux = x + fm.horizontalAdvance(shown.left(accel));
        const int uw = fm.horizontalAdvance(shown.at(accel));
        const int uy = y + fm.ascent() + std::max(1, fm.underlinePos());
        p.fillRect(ux, uy, uw, 1, p.pen().color());
    }
    p.restore();
    return height;
}

void DrawRotatedText(QPainter& p, const QString& text, const TPoint& origin)
{
    const QFontMetrics fm(p.font());
    p.save();
    p.translate(origin);
    p.rotate(90);
    p.drawText(QPoint(0, fm.ascent()), text);
    p.restore();
}

namespace {

void FillFace(QPainter& p, const TRect& r, unsigned state, const TFrameControlColors& colors, int faceIndex)
{
    if (!(state & DFCS_TRANSPARENT)) FillRect(p, r, colors.Face.value_or(SysBrush(faceIndex)));
}

// The cross of a close button centred in r, shifted by offset.
void DrawCross(QPainter& p, const TRect& r, int offset, const QColor& color)
{
    const int side = (std::min(r.Width() - 4, r.Height() - 6) / 2) * 2;
    if (side <= 0) return;
    const int x = r.Left + (r.Width() - side) / 2 + offset, y = r.Top + (r.Height() - side) / 2 + offset;
    for (int i = 0; i < side; ++i) {
        p.fillRect(x + i, y + i, 2, 1, color);
        p.fillRect(x + side - 2 - i, y + i, 2, 1, color);
    }
}

// The minimize mark: a bar two pixels high along the bottom of the cross's square.
void DrawMinimizeMark(QPainter& p, const TRect& r, int offset, const QColor& color)
{
    const int side = (std::min(r.Width() - 4, r.Height() - 6) / 2) * 2;
    if (side <= 0) return;
    const int x = r.Left + (r.Width() - side) / 2 + offset, y = r.Top + (r.Height() - side) / 2 + offset;
    p.fillRect(x, y + side - 2, side - 2, 2, color);
}

// The restore mark: two windows, the front one lower left, each with a title bar (two pixels
// high on a square of 8 or more, else one).
void DrawRestoreMark(QPainter& p, const TRect& r, int offset, const QColor& color)
{
    const int side = std::max(6, (std::min(r.Width() - 4, r.Height() - 4) / 2) * 2);
    const int x = r.Left + (r.Width() - side) / 2 + offset, y = r.Top + (r.Height() - side) / 2 + offset;
    const int w = side - 2, h = side - 2, title = side >= 8 ? 2 : 1;
    auto window = [&](int left, int top) {
        p.fillRect(left, top, w, title, color);
        p.fillRect(left, top + title, 1, h - title, color);
        p.fillRect(left + w - 1, top + title, 1, h - title, color);
        p.fillRect(left, top + h - 1, w, 1, color);
    };
    window(x + 2, y);
    // The front window hides what lies behind it.
    p.fillRect(x + 1, y + 2 + title, w - 2, h - title - 1, p.background());
    window(x, y + 2);
}

void DrawCaptionButton(QPainter& p, const TRect& r, unsigned state, const TFrameControlColors& colors)
{
    const bool flat = state & DFCS_FLAT, pushed = state & DFCS_PUSHED;
    FillFace(p, r, state, colors, COLOR_BTNFACE);
    if (!flat) DrawEdge(p, r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int offset = pushed && !flat ? 1 : 0;
    const unsigned part = state & 0xFF;
    auto mark = [&](int at, const QColor& color) {
        if (part == DFCS_CAPTIONMIN)
            DrawMinimizeMark(p, r, at, color);
        else if (part == DFCS_CAPTIONRESTORE)
            DrawRestoreMark(p, r, at, color);
        else
            DrawCross(p, r, at, color);
    };
    p.setBackground(colors.Face ? colors.Face->color() : SysColor(COLOR_BTNFACE));
    if (colors.Glyph) {
        mark(offset, *colors.Glyph);
    } else if (state & DFCS_INACTIVE) {
        mark(offset + 1, SysColor(COLOR_BTNHIGHLIGHT));
        mark(offset, SysColor(COLOR_BTNSHADOW));
    } else {
        mark(offset, SysColor(COLOR_BTNTEXT));
    }
}

void DrawSizeGrip(QPainter& p, const TRect& r, unsigned state, const TFrameControlColors& colors)
{
    FillFace(p, r, state, colors, COLOR_BTNFACE);
    for (int ridge = 0; ridge < 3; ++ridge) {
        const int d = 4 * ridge + 3;
        if (!(state & DFCS_FLAT))
            DrawLine(p, {r.Right - d - 1, r.Bottom - 1}, {r.Right - 1, r.Bottom - d - 1}, SysColor(COLOR_BTNHIGHLIGHT));
        DrawLine(p, {r.Right - d, r.Bottom - 1}, {r.Right - 1, r.Bottom - d}, SysColor(COLOR_BTNSHADOW));
        DrawLine(p, {r.Right - d + 1, r.Bottom - 1}, {r.Right - 1, r.Bottom - d + 1}, SysColor(COLOR_BTNSHADOW));
    }
}

void DrawCheckBox(QPainter& p, const TRect& r, unsigned state, const TFrameControlColors& colors)
{
    const int side = std::min(r.Width(), r.Height());
    if (side <= 0) return;
    const TRect box = TRect::Bounds(r.Left + (r.Width() - side) / 2, r.Top + (r.Height() - side) / 2, side, side);
    const bool flat = state & DFCS_FLAT, grey = state & (DFCS_PUSHED | DFCS_INACTIVE);
    TRect inside = box.Inflated(-1, -1);
    if (flat) {
        FrameRect(p, box, SysBrush(COLOR_BTNSHADOW));
    } else {
        DrawEdge(p, box, EDGE_SUNKEN, BF_RECT);
        inside = box.Inflated(-2, -2);
    }
    FillFace(p, inside, state, colors, grey ? COLOR_BTNFACE : COLOR_WINDOW);
    if (!(state & DFCS_CHECKED) || inside.IsEmpty()) return;
    // The check mark: seven columns three pixels high, falling then rising.
    static constexpr int tops[7] = {2, 3, 4, 3, 2, 1, 0};
    const QColor ink = colors.Glyph.value_or(SysColor((state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
    const int x = inside.Left + (inside.Width() - 7) / 2, y = inside.Top + (inside.Height() - 7) / 2;
    p.save();
    p.setClipRect(inside.ToQRect(), Qt::IntersectClip);
    for (int c = 0; c < 7; ++c) p.fillRect(x + c, y + tops[c], 1, 3, ink);
    p.restore();
}

}  // namespace

bool DrawFrameControl(QPainter& p, const TRect& r, unsigned type, unsigned state, const TFrameControlColors& colors)
{
    if (r.IsEmpty()) return true;
    const unsigned part = state & 0xFF;
    if (type == DFC_CAPTION && (part == DFCS_CAPTIONCLOSE || part == DFCS_CAPTIONMIN || part == DFCS_CAPTIONRESTORE))
        DrawCaptionButton(p, r, state, colors);
    else if (type == DFC_SCROLL && part == DFCS_SCROLLSIZEGRIP)
        DrawSizeGrip(p, r, state, colors);
    else if (type == DFC_BUTTON && part == DFCS_BUTTONCHECK)
        DrawCheckBox(p, r, state, colors);
    else
        return false;
    return true;
}
