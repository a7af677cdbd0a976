#include "dxBarProgress.h"

#include "Painting.h"
#include "dxBarCustomControl.h"
#include "dxBarItemLink.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>

TdxBarItemControlClass TdxBarProgressControlClass{
    "TdxBarProgressControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarProgressControl(link); }};

// ---------------------------------------------------------------- geometry

TRect dxBarProgressBarRect(const TRect& content, bool vertical, int length)
{
    const int across = vertical ? content.Width() : content.Height();
    if (across <= 0 || length <= 0) return {};
    int thickness = MulDiv(across, 2, 3);
    if ((across - thickness) % 2 != 0) ++thickness;
    const int acrossStart = (vertical ? content.Left : content.Top) + (across - thickness) / 2;
    const int farEnd = (vertical ? content.Bottom : content.Right) - 2;
    const int start = std::max(farEnd - length, vertical ? content.Top : content.Left);
    if (farEnd <= start) return {};
    return vertical ? TRect(acrossStart, start, acrossStart + thickness, farEnd)
                    : TRect(start, acrossStart, farEnd, acrossStart + thickness);
}

int dxBarProgressFilled(int length, int position, int min, int max)
{
    if (length <= 0 || max <= min) return 0;
    // Rounded to the nearest pixel, in 64 bits: the range may span every 32-bit value.
    const qint64 done = std::clamp<qint64>(qint64(position) - min, 0, qint64(max) - min);
    const qint64 range = qint64(max) - min;
    return int((2 * qint64(length) * done + range) / (2 * range));
}

QList<std::pair<int, int>> dxBarProgressBlocks(int filled, int thickness)
{
    QList<std::pair<int, int>> blocks;
    const int size = std::max(1, MulDiv(thickness, 2, 3));
    for (int at = 0; at < filled; at += size + 2) blocks.append({at, std::min(at + size, filled)});
    return blocks;
}

// ---------------------------------------------------------------- the item

TdxBarProgressItem::TdxBarProgressItem(TComponent* owner) : TdxBarStatic(owner)
{
    SetBorderStyle(sbsLowered);
}

void TdxBarProgressItem::SetMin(int value)
{
    if (value == min_) return;
    // A form's values are taken as they come; Loaded orders them.
    if (Loading())
        min_ = value;
    else
        SetRange(value, std::max(max_, value));
}

void TdxBarProgressItem::SetMax(int value)
{
    if (value == max_) return;
    if (Loading())
        max_ = value;
    else
        SetRange(std::min(value, min_), value);
}

void TdxBarProgressItem::SetRange(int min, int max)
{
    if (min == min_ && max == max_) return;
    min_ = min;
    max_ = max;
    if (max_ < min_) min_ = max_;
    if (position_ < min_)
        SetPosition(min_);
    else if (position_ > max_)
        SetPosition(max_);
    else
        RepaintProgress();
}

void TdxBarProgressItem::SetPosition(int value)
{
    // The range in force; while loading it may not be in order yet.
    value = std::max(min_, std::min(value, max_));
    if (value == position_) return;
    position_ = value;
    RepaintProgress();
}

void TdxBarProgressItem::SetSmooth(bool value)
{
    if (value == smooth_) return;
    smooth_ = value;
    RepaintProgress();
}

void TdxBarProgressItem::Loaded()
{
    if (max_ < min_) min_ = max_;
    position_ = std::clamp(position_, min_, max_);
    TdxBarStatic::Loaded();
}

void TdxBarProgressItem::RepaintProgress()
{
    if (Loading()) return;
    ForEachControl([](TdxBarItemControl* c) {
        auto* control = dynamic_cast<TdxBarProgressControl*>(c);
        TCustomdxBarControl* parent = control ? control->Parent() : nullptr;
        if (!parent || parent->IsDestroying() || parent->DestroyingControls()) return;
        const TRect bar = control->BarRectInWindow();
        if (!bar.IsEmpty()) parent->InvalidateRect(bar);
    });
}

// ---------------------------------------------------------------- the control

TdxBarProgressControl::TdxBarProgressControl(TdxBarItemLink* link) : TdxBarStaticControl(link) {}

TdxBarProgressItem* TdxBarProgressControl::Progress() const
{
    return qobject_cast<TdxBarProgressItem*>(Item());
}

int TdxBarProgressControl::GetDefaultWidth()
{
    const int width = TdxBarStaticControl::GetDefaultWidth();
    TdxBarProgressItem* item = Progress();
    if (!item || item->Width() != 0) return width;
    return width + dxBarProgressDefaultLength + dxBarProgressGap(item->ShowCaption());
}

QBrush TdxBarProgressControl::GetBarBrush() const
{
    return SysBrush(COLOR_HIGHLIGHT);
}

TRect TdxBarProgressControl::BarRect(const TRect& content, int paintType)
{
    TdxBarProgressItem* item = Progress();
    if (!item) return {};
    const bool vertical = paintType == dxBarPaintVertical;
    const bool client = GetAlign() == iaClient;
    int length = dxBarProgressDefaultLength;
    if (item->Width() != 0 || client) {
        // Stretched over the link (in a menu too), else over the item's own width.
        const int along = (vertical ? content.Height() : content.Width()) + item->LeftIndent() + item->RightIndent() +
                          2 * BorderWidth();
        const int extent = client || paintType == dxBarPaintMenu ? along : item->Width();
        length = std::max(0, extent - AutomaticWidth() - dxBarProgressGap(item->ShowCaption()));
    }
    return dxBarProgressBarRect(content, vertical, length);
}

TRect TdxBarProgressControl::BarRectInWindow()
{
    TCustomdxBarControl* parent = Parent();
    if (!parent) return {};
    const TRect link = parent->GetItemRect(this);
    if (link.IsEmpty()) return {};
    const int paintType = parent->IsMenu() ? dxBarPaintMenu : Rotated() ? dxBarPaintVertical : dxBarPaintHorizontal;
    return BarRect(ContentRect(link, paintType == dxBarPaintVertical), paintType);
}

void TdxBarProgressControl::DrawContent(QPainter& p, const TRect& r, int paintType)
{
    TdxBarProgressItem* item = Progress();
    TCustomdxBarControl* parent = Parent();
    if (!item || !parent) return;
    const TRect bar = BarRect(r, paintType);
    // The static part around the bar, never over it.
    p.save();
    const QRegion clip = p.hasClipping() ? p.clipRegion() : QRegion(r.ToQRect());
    p.setClipRegion(clip.subtracted(QRegion(bar.ToQRect())));
    TdxBarStaticControl::DrawContent(p, r, paintType);
    p.restore();
    if (bar.IsEmpty()) return;

    const bool vertical = paintType == dxBarPaintVertical;
    const int length = vertical ? bar.Height() : bar.Width();
    const int thickness = vertical ? bar.Width() : bar.Height();
    const auto part = [&](int from, int to) {
        return vertical ? TRect(bar.Left, bar.Top + from, bar.Right, bar.Top + to)
                        : TRect(bar.Left + from, bar.Top, bar.Left + to, bar.Bottom);
    };
    FillRect(p, bar, parent->GetToolbarBrush());
    const int filled = dxBarProgressFilled(length, item->Position(), item->Min(), item->Max());
    if (item->Smooth()) {
        FillRect(p, part(0, filled), GetBarBrush());
        return;
    }
    for (const auto& [from, to] : dxBarProgressBlocks(filled, thickness)) FillRect(p, part(from, to), GetBarBrush());
}
