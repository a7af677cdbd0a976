#include "dxBarStatic.h"

#include "Painting.h"
#include "dxBarCustomControl.h"
#include "dxBarDrawing.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

TdxBarItemControlClass TdxBarStaticControlClass{
    "TdxBarStaticControl", [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarStaticControl(link); }};

int dxBarStaticBorderWidth(TdxBarStaticBorderStyle style)
{
    switch (style) {
    case sbsLowered:
    case sbsRaised: return 1;
    case sbsEtched:
    case sbsBump: return 2;
    case sbsNone: break;
    }
    return 0;
}

// ---------------------------------------------------------------- the item

TdxBarStatic::TdxBarStatic(TComponent* owner) : TdxBarItem(owner) {}

void TdxBarStatic::SetAlignment(TAlignment value)
{
    if (value == alignment_) return;
    alignment_ = value;
    if (!Loading()) UpdateControls();
}

void TdxBarStatic::SetBorderStyle(TdxBarStaticBorderStyle value)
{
    if (value == borderStyle_) return;
    borderStyle_ = value;
    if (Loading()) return;
    // With both sizes fixed the border takes room inside them.
    if (width_ != 0 && height_ != 0)
        UpdateControls();
    else
        RepaintBars();
}

void TdxBarStatic::SetShowCaption(bool value)
{
    if (value == showCaption_) return;
    showCaption_ = value;
    if (!Loading()) RepaintBars();
}

void TdxBarStatic::SetSize(int& field, int value)
{
    value = std::clamp(value, 0, MaxSize);
    if (value == field) return;
    field = value;
    if (!Loading()) RepaintBars();
}

bool TdxBarStatic::IsAccelEnabled(TdxBarItemLink*) const
{
    return false;
}

// ---------------------------------------------------------------- the control

TdxBarStaticControl::TdxBarStaticControl(TdxBarItemLink* link) : TdxBarItemControl(link) {}

TdxBarStatic* TdxBarStaticControl::Static() const
{
    return qobject_cast<TdxBarStatic*>(Item());
}

void TdxBarStaticControl::CaptionChanged()
{
    if (Static() && Static()->Width() != 0)
        Repaint();
    else
        TdxBarItemControl::CaptionChanged();
}

void TdxBarStaticControl::GlyphChanged()
{
    RepaintBar();
}

bool TdxBarStaticControl::CanClicked() const
{
    return Static() && Static()->AllowClick();
}

bool TdxBarStaticControl::CanSelect() const
{
    return TdxBarItemControl::CanSelect() && BarManager() && BarManager()->IsCustomizing();
}

bool TdxBarStaticControl::HidesMenusOnClick() const
{
    return CanClicked();
}

bool TdxBarStaticControl::Rotated() const
{
    return Parent() && Parent()->IsToolbar() && Parent()->IsRotated();
}

bool TdxBarStaticControl::CaptionShows() const
{
    return Static() && Static()->ShowCaption() && !GetCaption().isEmpty();
}

int TdxBarStaticControl::BorderWidth() const
{
    return Static() ? dxBarStaticBorderWidth(Static()->BorderStyle()) : 0;
}

int TdxBarStaticControl::GetHeight()
{
    return Rotated() ? GetDefaultWidth() : GetDefaultHeight();
}

int TdxBarStaticControl::GetWidth()
{
    return Rotated() ? GetDefaultHeight() : GetDefaultWidth();
}

TAlignment TdxBarStaticControl::GetAlignment() const
{
    return Static() ? Static()->Alignment() : taCenter;
}

int TdxBarStaticControl::AutomaticWidth()
{
    TdxBarStatic* item = Static();
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    if (!item || !parent || !manager) return 0;
    const bool caption = CaptionShows();
    int w = caption ? QFontMetrics(parent->Font()).horizontalAdvance(dxBarRemoveAmpersands(GetCaption())) : 0;
    if (HasGlyph() || (!caption && !IgnoresGlyph()))
        w += (Rotated() ? manager->DefaultButtonHeight() : manager->DefaultButtonWidth()) + (caption ? 4 : 0);
    else if (caption)
        w += parent->ItemHeight() / 2;
    return w + item->LeftIndent() + item->RightIndent() + 2 * BorderWidth();
}

int TdxBarStaticControl::GetDefaultWidth()
{
    TdxBarStatic* item = Static();
    if (item && item->Width() != 0) return item->Width();
    return AutomaticWidth();
}

int TdxBarStaticControl::GetDefaultHeight()
{
    TdxBarStatic* item = Static();
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    if (!item || !parent || !manager) return 0;
    if (item->Height() != 0) return item->Height();
    int h;
    if (InToolbar()) {
        const bool caption = CaptionShows();
        h = HasGlyph() || (!caption && !IgnoresGlyph())
                ? (Rotated() ? manager->DefaultButtonWidth() : manager->DefaultButtonHeight())
                : 0;
        if (h == 0 || caption) h = std::max(h, parent->ItemHeight() - 3);
    } else {
        h = parent->ItemHeight();
    }
    return h + 2 * BorderWidth();
}

TRect TdxBarStaticControl::IndentedRect(const TRect& rect, bool vertical) const
{
    TdxBarStatic* item = Static();
    TRect r = rect;
    if (!item) return r;
    int& nearEdge = vertical ? r.Top : r.Left;
    int& farEdge = vertical ? r.Bottom : r.Right;
    nearEdge += std::clamp(item->LeftIndent(), 0, std::max(farEdge - nearEdge, 0));
    farEdge -= std::clamp(item->RightIndent(), 0, std::max(farEdge - nearEdge, 0));
    return r;
}

TRect TdxBarStaticControl::ContentRect(const TRect& rect, bool vertical) const
{
    const int border = BorderWidth();
    return IndentedRect(rect, vertical).Inflated(-border, -border);
}

void TdxBarStaticControl::Draw(TCanvas& p, const TRect& rect, int paintType)
{
    TdxBarStatic* item = Static();
    TCustomdxBarControl* parent = Parent();
    if (!item || !parent || rect.Width() <= 0) return;
    const bool vertical = paintType == dxBarPaintVertical;
    TRect r = IndentedRect(rect, vertical);
    // The indents are bar.
    const QBrush bar = parent->GetToolbarBrush();
    if (vertical) {
        FillRect(p, {rect.Left, rect.Top, rect.Right, r.Top}, bar);
        FillRect(p, {rect.Left, r.Bottom, rect.Right, rect.Bottom}, bar);
    } else {
        FillRect(p, {rect.Left, rect.Top, r.Left, rect.Bottom}, bar);
        FillRect(p, {r.Right, rect.Top, rect.Right, rect.Bottom}, bar);
    }
    const TdxBarStaticBorderStyle style = item->BorderStyle();
    const int border = dxBarStaticBorderWidth(style);
    if (style != sbsNone && IsFlatStyle()) {
        for (int i = 0; i < border; ++i) FrameRect(p, r.Inflated(-i, -i), SysBrush(COLOR_BTNSHADOW));
    } else if (style == sbsBump) {
        DrawEdge(p, r, BDR_RAISEDINNER, BF_RECT);
        DrawEdge(p, r.Inflated(-1, -1), BDR_SUNKENOUTER, BF_RECT);
    } else if (style != sbsNone) {
        DrawEdge(p, r,
                 style == sbsLowered  ? BDR_SUNKENOUTER
                 : style == sbsRaised ? BDR_RAISEDINNER
                                      : EDGE_ETCHED,
                 BF_RECT);
    }
    DrawContent(p, r.Inflated(-border, -border), paintType);
}

void TdxBarStaticControl::DrawContent(QPainter& p, const TRect& r, int paintType)
{
    DrawStatic(p, r, true, paintType);
}

void TdxBarStaticControl::DrawStatic(QPainter& p, const TRect& rect, bool framed, int paintType)
{
    TdxBarStatic* item = Static();
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    if (!item || !parent || !manager || rect.IsEmpty()) return;
    const QBrush bar = parent->GetToolbarBrush();
    const bool rotated = paintType == dxBarPaintVertical;
    TRect text = rect;
    int indent;
    if (HasGlyph()) {
        // The glyph's part at the start; the caption takes the rest.
        TRect glyph = rect;
        if (paintType == dxBarPaintMenu) {
            if (!framed || CaptionShows()) glyph.Right = std::min(rect.Right, rect.Left + rect.Height());
        } else if (item->ShowCaption()) {
            if (rotated)
                glyph.Bottom = std::min(rect.Bottom, rect.Top + manager->DefaultButtonHeight());
            else
                glyph.Right = std::min(rect.Right, rect.Left + manager->DefaultButtonWidth());
        }
        if (glyph.Right < rect.Right) text.Left = glyph.Right;
        if (glyph.Bottom < rect.Bottom) text.Top = glyph.Bottom;
        if (text != rect) FillRect(p, text, bar);
        DrawButtonInBar(p, glyph, paintType, true, false, false, false, false);
        indent = 2;
    } else {
        FillRect(p, rect, bar);
        indent = parent->ItemHeight() / 4;
    }
    if (!item->ShowCaption()) return;
    const TAlignment alignment = GetAlignment();
    if (!(framed && alignment == taCenter)) {
        if (alignment == taLeftJustify)
            (rotated ? text.Top : text.Left) += indent;
        else
            (rotated ? text.Bottom : text.Right) -= indent;
    }
    p.save();
    p.setFont(parent->Font());
    const int drawn = alignment == taLeftJustify ? 0 : alignment == taCenter ? 1 : 2;
    DrawItemText(p, GetCaption(), text, IsFlatStyle(), true, rotated, false, GetEnabled(), drawn);
    p.restore();
}

// ---------------------------------------------------------------- path captions

namespace {

// The first n characters, without a lone high surrogate at the end.
QString LeftChars(const QString& text, int n)
{
    if (n > 0 && n < text.size() && text.at(n - 1).isHighSurrogate()) --n;
    return text.left(n);
}

// The largest n in 0..count for which fits(n) holds, by binary search over a property that
// holds up to some n and not after it; -1 when it holds for none.
template <typename Fits>
int LargestFitting(int count, Fits fits)
{
    int low = 0, high = count, best = -1;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        if (fits(mid)) {
            best = mid;
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    return best;
}

}  // namespace

QString dxBarShortenPath(const QString& text, const QFontMetrics& metrics, int maxWidth)
{
    const auto fits = [&](const QString& s) { return metrics.horizontalAdvance(s) <= maxWidth; };
    if (fits(text)) return text;
    const QString ellipsis = QStringLiteral("...");
    const int separator = std::max(text.lastIndexOf(QLatin1Char('/')), text.lastIndexOf(QLatin1Char('\\')));
    if (separator >= 0) {
        const QString head = text.left(separator), tail = text.mid(separator);
        const int n =
            LargestFitting(int(head.size()), [&](int n) { return fits(LeftChars(head, n) + ellipsis + tail); });
        if (n >= 0) return LeftChars(head, n) + ellipsis + tail;
    }
    // The last part alone does not fit: its start, as much as fits.
    const QString start = separator >= 0 ? ellipsis + text.mid(separator) : text;
    const int n = LargestFitting(int(start.size()), [&](int n) { return fits(LeftChars(start, n) + ellipsis); });
    return LeftChars(start, std::max(n, 0)) + ellipsis;
}

QString dxBarGetShortPathCaption(const QString& text)
{
    return dxBarShortenPath(text, QFontMetrics(QGuiApplication::font()), 300);
}
