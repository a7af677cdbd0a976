#include "dxBarDropDownFrameLayout.h"

#include "SysParams.h"

#include <algorithm>

int dxDropDownNCHeight()
{
    const int caption = GetSystemMetrics(SM_CYSIZE), scroll = GetSystemMetrics(SM_CYHSCROLL);
    return scroll + 2 < caption ? caption + 1 : scroll + 3;
}

TdxCorner GetCornerForRects(const TRect& editRect, const TRect& dropDownRect)
{
    static constexpr TdxCorner corners[4] = {dxcTopLeft, dxcBottomLeft, dxcTopRight, dxcBottomRight};
    const int index = 2 * (editRect.Left < dropDownRect.Right) + (editRect.Bottom < dropDownRect.Bottom);
    return corners[index];
}

int GetHitTestByCorner(TdxCorner corner)
{
    switch (corner) {
    case dxcTopLeft: return HTTOPLEFT;
    case dxcTopRight: return HTTOPRIGHT;
    case dxcBottomLeft: return HTBOTTOMLEFT;
    case dxcBottomRight: return HTBOTTOMRIGHT;
    }
    return HTBOTTOMRIGHT;
}

TdxDropDownFrameLayout::TdxDropDownFrameLayout(int width, int height, TdxCorner corner, bool showStrip)
    : Width(width),
      Height(height),
      Corner(corner),
      ShowStrip(showStrip),
      StripHeight(dxDropDownNCHeight()),
      GripWidth(GetSystemMetrics(SM_CXVSCROLL)),
      GripHeight(GetSystemMetrics(SM_CYHSCROLL)),
      ButtonSize(GetSystemMetrics(SM_CXSIZE))
{}

TRect TdxDropDownFrameLayout::Client() const
{
    TRect r = Window().Inflated(-1, -1);
    if (ShowStrip) {
        if (dxIsTopCorner(Corner))
            r.Top += StripHeight;
        else
            r.Bottom -= StripHeight;
    }
    // A window too small for its frame gets an empty client area, never a negative one.
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    return r;
}

TRect TdxDropDownFrameLayout::Strip() const
{
    if (!ShowStrip) return {};
    const TRect inner = Window().Inflated(-1, -1);
    if (inner.IsEmpty()) return {};
    TRect r = inner;
    if (dxIsTopCorner(Corner))
        r.Bottom = std::min(inner.Bottom, inner.Top + StripHeight);
    else
        r.Top = std::max(inner.Top, inner.Bottom - StripHeight);
    return r;
}

TRect TdxDropDownFrameLayout::StripLine() const
{
    const TRect strip = Strip();
    if (strip.IsEmpty()) return {};
    if (dxIsTopCorner(Corner)) return {strip.Left, strip.Bottom - 1, strip.Right, strip.Bottom};
    return {strip.Left, strip.Top, strip.Right, strip.Top + 1};
}

TRect TdxDropDownFrameLayout::StripFace() const
{
    TRect r = Strip();
    if (r.IsEmpty()) return {};
    if (dxIsTopCorner(Corner))
        --r.Bottom;
    else
        ++r.Top;
    return r.IsEmpty() ? TRect() : r;
}

TRect dxSizeGripBox(const TRect& r, TdxCorner corner, int width, int height)
{
    if (r.IsEmpty()) return {};
    TRect box = r;
    if (dxIsRightCorner(corner))
        box.Left = box.Right - width;
    else
        box.Right = box.Left + width;
    if (dxIsTopCorner(corner))
        box.Bottom = box.Top + height;
    else
        box.Top = box.Bottom - height;
    return box;
}

TRect dxSizeGripFace(const TRect& box, TdxCorner corner)
{
    TRect r = box;
    if (dxIsRightCorner(corner))
        r.Right -= 2;
    else
        r.Left += 2;
    if (dxIsTopCorner(corner))
        r.Top += 2;
    else
        r.Bottom -= 2;
    return r.IsEmpty() ? TRect() : r;
}

TRect dxCloseButtonBounds(const TRect& r, TdxCorner corner, int size)
{
    if (r.IsEmpty()) return {};
    const int left = dxIsRightCorner(corner) ? r.Left : r.Right - size;
    int top = (r.Top + r.Bottom - size - 1) / 2;
    if (!dxIsTopCorner(corner)) ++top;
    return TRect(left, top, left + size, top + size + 1).Inflated(-1, -2);
}

TRect dxCloseGlyphRect(const TRect& button, int size)
{
    return button.IsEmpty() ? TRect() : button.Inflated(-1, -1).Offset(0, size != 22 ? 1 : 0);
}

TRect TdxDropDownFrameLayout::GripBox() const
{
    return dxSizeGripBox(StripFace(), Corner, GripWidth, GripHeight);
}

TRect TdxDropDownFrameLayout::GripFace() const
{
    return dxSizeGripFace(GripBox(), Corner);
}

TRect TdxDropDownFrameLayout::CloseButton() const
{
    const TRect face = StripFace();
    return face.IsEmpty() ? TRect()
                          : dxCloseButtonBounds(face.Inflated(2, 2).Intersected(Window()), Corner, ButtonSize);
}

TRect TdxDropDownFrameLayout::CloseGlyph() const
{
    return dxCloseGlyphRect(CloseButton(), ButtonSize);
}

TRect TdxDropDownFrameLayout::CloseGlyphClip() const
{
    const TRect button = CloseButton();
    return button.IsEmpty() ? TRect() : button.Inflated(-2, -2);
}

TRect dxDropDownSizingRect(const TRect& start, TdxCorner corner, int dx, int dy)
{
    TRect r = start;
    if (dxIsRightCorner(corner))
        r.Right = std::max(start.Right + dx, start.Left + dxDropDownMinWidth);
    else
        r.Left = std::min(start.Left + dx, start.Right - dxDropDownMinWidth);
    if (dxIsTopCorner(corner))
        r.Top = std::min(start.Top + dy, start.Bottom - dxDropDownMinHeight);
    else
        r.Bottom = std::max(start.Bottom + dy, start.Top + dxDropDownMinHeight);
    return r;
}

bool dxSizeClientTo(QSize wanted, QSize minWindow, const std::function<QSize()>& windowSize,
                    const std::function<QSize()>& clientSize, const std::function<void(QSize)>& resize)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QSize client = clientSize();
        if (client == wanted) return true;
        const QSize window = windowSize();
        const QSize next = (window + (wanted - client)).expandedTo(minWindow);
        // The minimum holds the window where it is: more tries change nothing.
        if (next == window) break;
        resize(next);
    }
    return clientSize() == wanted;
}
