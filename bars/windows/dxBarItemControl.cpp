// The item control base: per-window state of one shown link, the click path, and the
// drawing that every item control shares.
#include "dxBarCustomControl.h"
#include "Scope.h"
#include "dxBarDrawing.h"
#include "dxBarItem.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "ImgList.h"

#include <QCursor>
#include <QFontMetrics>
#include <QPainter>

TdxBarItemControl::TdxBarItemControl(TdxBarItemLink* link) : link_(link), parent_(link ? link->BarControl() : nullptr)
{}

TdxBarItemControl::~TdxBarItemControl()
{
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    if (!parent || parent->SelectedControl() != this) return;
    if (!manager || manager->IsDestroying() || manager->IsCustomizing()) {
        parent->ClearSelectedControl();
        return;
    }
    TdxBarItemLink* link = ItemLink();
    if (!link || link->Index() == -1)
        parent->ClearSelectedControl();
    else
        parent->SetMouseSelectedItem(nullptr);
}

TCustomdxBarControl* TdxBarItemControl::Parent() const
{
    auto* parent = static_cast<TCustomdxBarControl*>(parent_.data());
    return dxBarIsBarControlAlive(parent) ? parent : nullptr;
}

// ---------------------------------------------------------------- derived values

bool TdxBarItemControl::IsFlatStyle() const
{
    return Parent() && Parent()->IsFlat();
}

bool TdxBarItemControl::IsSelected() const
{
    TCustomdxBarControl* parent = Parent();
    return parent && parent->SelectedControl() == this && (GetEnabled() || StaysSelectedWhenDisabled);
}

TdxBarItemAlign TdxBarItemControl::GetAlign() const
{
    TdxBarItem* item = Item();
    if (item && item->Align() != iaLeft && Parent() && Parent()->CanAlignItems()) return item->Align();
    return iaLeft;
}

int TdxBarItemControl::GetHeightForBar()
{
    TCustomdxBarControl* parent = Parent();
    if (GetAlign() == iaClient && parent && parent->IsToolbar() && parent->IsVertical())
        return parent->IsRotated() ? GetMinWidth() : GetMinHeight();
    return GetHeight();
}

int TdxBarItemControl::GetWidthForBar()
{
    TCustomdxBarControl* parent = Parent();
    if (GetAlign() == iaClient && parent && parent->IsToolbar() && !parent->IsVertical()) return GetMinWidth();
    return GetWidth();
}

bool TdxBarItemControl::InToolbar() const
{
    return Parent() && !Parent()->IsDropDownWindow();
}

bool TdxBarItemControl::InQuickControl() const
{
    return Parent() && Parent()->inherits("TdxBarQuickControl");
}

bool TdxBarItemControl::IsMousePressedOver() const
{
    TCustomdxBarControl* parent = Parent();
    if (!GetEnabled() || !parent) return false;
    return parent->GetItemRect(const_cast<TdxBarItemControl*>(this)).Contains(parent->ScreenToClient(QCursor::pos())) &&
           dxBarLeftButtonState();
}

bool TdxBarItemControl::IsSelectedInActiveBar() const
{
    TCustomdxBarControl* parent = Parent();
    return parent && parent->IsActive() && parent->SelectedControl() == this;
}

// ---------------------------------------------------------------- change notices

void TdxBarItemControl::AlignChanged()
{
    RepaintBar();
}

void TdxBarItemControl::CaptionChanged()
{
    RepaintBar();
}

void TdxBarItemControl::EnabledChanged()
{
    TCustomdxBarControl* parent = Parent();
    if (!GetEnabled() && parent && parent->SelectedControl() == this) parent->ClearSelectedControl();
    Repaint();
}

void TdxBarItemControl::GlyphChanged()
{
    Repaint();
}

void TdxBarItemControl::PressedChanged()
{
    if (!pressed_) Repaint();
}

void TdxBarItemControl::ShortCutChanged()
{
    if (Parent() && Parent()->IsMenu()) RepaintBar();
}

void TdxBarItemControl::WidthChanged()
{
    RepaintBar();
}

// ---------------------------------------------------------------- behaviour

bool TdxBarItemControl::CanSelect() const
{
    TCustomdxBarControl* parent = Parent();
    return !(parent && parent->IsCustomizing() && !TdxBarItemControl::CanCustomize());
}

void TdxBarItemControl::Click(bool byMouse)
{
    if (!GetEnabled()) return;
    QPointer<TdxBarItemControl> self(this);
    QPointer<TCustomdxBarControl> parent = Parent();
    ControlClick(byMouse);
    if (self && parent && dxBarIsBarControlAlive(parent) && parent->HasItemControl(this)) ControlUnclick(byMouse);
}

void TdxBarItemControl::ControlUnclick(bool /*byMouse*/)
{
    TdxBarItemLink* link = ItemLink();
    if (!link) return;
    QPointer<TdxBarItemControl> self(this);
    QPointer<TCustomdxBarControl> parent = Parent();
    QPointer<TdxBarItemLink> clickLink = link->OriginalItemLink() ? link->OriginalItemLink() : link;
    QPointer<TdxBarItem> item = Item();
    const bool canClick = CanClicked();
    const bool hides = HidesMenusOnClick();
    if (hides) {
        try {
            if (clickLink) clickLink->ItemClicked(true);
            if (self && ItemLink() && ItemLink() != clickLink) ItemLink()->ItemClicked(true);
        } catch (...) {
            // The recent-use bookkeeping never stops a click.
        }
    }
    const bool unclickAfterDoing = qobject_cast<TdxBarButton*>(item.data()) ? item->UnclickAfterDoing() : true;
    const bool showPressed = self && unclickAfterDoing && (!hides || InToolbar());
    if (showPressed) SetPressed(true);
    if (hides) {
        if (parent && dxBarIsBarControlAlive(parent)) parent->HideAll();
    } else if (!clickLink && self) {
        clickLink = ItemLink();
    }
    if (canClick && item) {
        item->SetClickItemLink(clickLink);
        TScopeExit clear([&item] {
            if (item) item->SetClickItemLink(nullptr);
        });
        item->DoClick();
    }
    if (showPressed && self && parent && dxBarIsBarControlAlive(parent)) {
        try {
            SetPressed(false);
        } catch (...) {}
    }
}

int TdxBarItemControl::GetCaptionOffset() const
{
    TCustomdxBarControl* parent = Parent();
    if (!parent || !parent->IsMenu()) return 0;
    return parent->MenuItemHeight() + (IsFlatStyle() ? 3 : 1);
}

bool TdxBarItemControl::HasHint() const
{
    return !GetHint().isEmpty() && Parent() && Parent()->IsToolbar();
}

void TdxBarItemControl::Repaint()
{
    TCustomdxBarControl* parent = Parent();
    if (!parent || parent->IsDestroying() || parent->DestroyingControls()) return;
    parent->InvalidateRect(parent->GetItemRect(this));
}

void TdxBarItemControl::RepaintBar()
{
    if (TCustomdxBarControl* parent = Parent()) parent->RepaintBar();
}

// ---------------------------------------------------------------- drawing

namespace {

QBrush BarBrush(const TdxBarItemControl* c)
{
    return c->Parent() ? c->Parent()->GetToolbarBrush() : SysBrush(COLOR_BTNFACE);
}

}  // namespace

void TdxBarItemControl::DrawLoweredFrame(TCanvas& p, TRect& r) const
{
    if (IsFlatStyle())
        FrameRect(p, r, SysBrush(COLOR_BTNSHADOW));
    else
        DrawEdge(p, r, BDR_SUNKENOUTER, BF_RECT);
    r = r.Inflated(-1, -1);
}

void TdxBarItemControl::DrawFrameAndFill(TCanvas& p, TRect& r, bool sunken, bool framed) const
{
    QBrush fill = BarBrush(this);
    if (!framed) {
        FrameRect(p, r, fill);
    } else if (IsFlatStyle()) {
        dxBarFrameHighlight(p, r);
        fill = Parent() ? Parent()->GetSelectedBrush() : fill;
    } else {
        DrawEdge(p, r, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    r = r.Inflated(-1, -1);
    FillRect(p, r, fill);
}

void TdxBarItemControl::DrawItemText(TCanvas& p, const QString& text, TRect r, bool flat, bool clip, bool rotated,
                                     bool selected, bool enabled, int alignment) const
{
    p.save();
    unsigned flags = DT_SINGLELINE | (clip ? 0u : unsigned(DT_NOCLIP));
    if (clip && rotated) p.setClipRect(r.ToQRect(), Qt::IntersectClip);
    if (!rotated) flags |= DT_VCENTER | (alignment == 1 ? DT_CENTER : alignment == 2 ? DT_RIGHT : DT_LEFT);
    // Draws the text (and, rotated, its hand-drawn underline) at an offset in one colour.
    auto drawAt = [&](int dx, int dy, const QColor& color) {
        p.setPen(color);
        if (!rotated) {
            TRect moved = r.Offset(dx, dy);
            DrawText(p, text, moved, flags);
            return;
        }
        int accel = -1;
        const QString shown = StripMnemonic(text, &accel);
        const QFontMetrics fm(p.font());
        const int textWidth = fm.horizontalAdvance(shown), textHeight = fm.height();
        const int along = alignment == 1 ? (r.Height() - textWidth) / 2 : alignment == 2 ? r.Height() - textWidth : 0;
        const int x = r.Left + (r.Width() + textHeight) / 2 + dx, y = r.Top + along + dy;
        DrawRotatedText(p, shown, {x, y});
        if (accel >= 0 && accel < shown.size()) {
            const int start = y + fm.horizontalAdvance(shown.left(accel));
            const int length = fm.horizontalAdvance(shown.at(accel));
            const int across = (r.Left + r.Right - textHeight) / 2 + fm.ascent() - 2 + dx;
            // The text's baseline runs down the bar; the underline lies just below it.
            const int column = x - (across - ((r.Left + r.Right - textHeight) / 2 + dx)) - 1;
            DrawLine(p, {column, start}, {column, start + length}, color);
        }
    };
    if (enabled) {
        drawAt(0, 0, SysColor(selected && !flat ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    } else if (selected || flat) {
        drawAt(0, 0, SysColor(COLOR_GRAYTEXT));
    } else {
        drawAt(1, 1, SysColor(COLOR_BTNHIGHLIGHT));
        drawAt(0, 0, SysColor(COLOR_BTNSHADOW));
    }
    p.restore();
}

void TdxBarItemControl::GetArrowColorAndBrush(bool selected, bool pressed, int& colorIndex, QBrush& brush) const
{
    TCustomdxBarControl* parent = Parent();
    if (!selected || !IsFlatStyle() || !parent) {
        colorIndex = COLOR_BTNTEXT;
        brush = BarBrush(this);
    } else if (pressed) {
        colorIndex = COLOR_HIGHLIGHTTEXT;
        brush = parent->GetFlatMenuBrush();
    } else {
        colorIndex = COLOR_BTNTEXT;
        brush = parent->GetSelectedBrush();
    }
}

void TdxBarItemControl::DrawButtonInBar(TCanvas& p, const TRect& r, int paintType, bool plainBackground, bool pressed,
                                        bool down, bool selected, bool noGlyph) const
{
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    if (!parent || r.IsEmpty()) return;
    const bool flat = IsFlatStyle();
    const bool menuSquare = paintType == dxBarPaintMenu;
    const bool enabled = GetEnabled();
    // The glyph box: a toolbar button takes the manager's button size across the bar.
    TRect box = r;
    if (!menuSquare && manager) {
        if (paintType == dxBarPaintHorizontal && !parent->IsVertical())
            box.Right = std::min(r.Right, r.Left + manager->DefaultButtonWidth());
        else if (parent->IsVertical())
            box.Bottom = std::min(r.Bottom, r.Top + manager->DefaultButtonHeight());
    }
    const bool drawGlyph = HasGlyph() && !noGlyph;
    const QBrush fill = ButtonFaceBrush(paintType, plainBackground, down, selected, drawGlyph);

    if (menuSquare && !drawGlyph && down) {
        FillRect(p, r, fill);
        DrawCheckMark(p, r);
    } else {
        const bool framedFlat = flat && (down || selected);
        TRect dest = framedFlat ? r.Inflated(-1, -1) : r;
        TRect glyphRect;
        TBitmap* bitmap = GetGlyph();
        const bool fromBitmap = bitmap && !bitmap->Empty();
        if (drawGlyph) {
            int gw = fromBitmap ? bitmap->Width() : GetImages()->Width();
            int gh = fromBitmap ? bitmap->Height() : GetImages()->Height();
            if (!menuSquare && manager && manager->LargeIcons()) {
                gw *= 2;
                gh *= 2;
            }
            int gx = box.Left + (box.Width() - gw) / 2, gy = box.Top + (box.Height() - gh) / 2;
            if (!flat) {
                if (down) gx += 1, gy += 1;
                if (pressed) gx += 1, gy += 1;
            }
            glyphRect = TRect::Bounds(gx, gy, gw, gh);
        }
        unsigned flags = enabled ? unsigned(dgEnabled) : 0u;
        if (flat) flags |= dgFlat;
        if (selected) flags |= dgHot;
        if (pressed) flags |= dgPressed;
        dxBarDrawGlyph(p, fill, dest, manager ? manager->ImageListBkColor() : clFuchsia, flags,
                       drawGlyph && !fromBitmap ? GetImages() : nullptr, GetImageIndex(),
                       drawGlyph && fromBitmap ? bitmap->Image() : QImage(), glyphRect,
                       fromBitmap ? bitmap->TransparentColor() : clDefault);
    }
    DrawButtonFrame(p, r, paintType, pressed, down, selected, drawGlyph, fill);
}

QBrush TdxBarItemControl::ButtonFaceBrush(int paintType, bool plainBackground, bool down, bool selected,
                                          bool glyphDrawn) const
{
    TCustomdxBarControl* parent = Parent();
    if (!parent) return SysBrush(COLOR_BTNFACE);
    const bool flat = IsFlatStyle();
    const bool menuSquare = paintType == dxBarPaintMenu;
    if (down && GetEnabled()) return selected ? parent->GetFlatMenuBrush() : parent->GetFlatBackgroundBrush();
    if (selected && (flat || (menuSquare && !glyphDrawn))) return parent->GetSelectedBrush();
    if (menuSquare && flat && !plainBackground) return QBrush(ColorToQColor(dxBarFlatColors().Toolbar));
    return BarBrush(this);
}

void TdxBarItemControl::DrawButtonFrame(TCanvas& p, const TRect& r, int paintType, bool pressed, bool down,
                                        bool selected, bool glyphDrawn, const QBrush& fill) const
{
    const bool flat = IsFlatStyle();
    const bool frame = down || (selected && (paintType != dxBarPaintMenu || (glyphDrawn && !flat)));
    if (frame) {
        if (flat)
            dxBarFrameHighlight(p, r);
        else
            DrawEdge(p, r, down || pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    } else if (flat) {
        FrameRect(p, r, fill);
    }
}

void TdxBarItemControl::DrawCheckMark(TCanvas& p, const TRect& r) const
{
    const int s = Parent() && Parent()->Font().pixelSize() >= 16 ? 2 : 1;
    const int x = (r.Left + r.Right - 9 * s) / 2, y = (r.Top + r.Bottom - 7 * s) / 2;
    const bool flat = IsFlatStyle();
    int row = 0;
    auto stroke = [&](const QColor& c) {
        DrawLine(p, {x + s, y + 2 * s + row}, {x + 3 * s, y + 4 * s + row}, c);
        DrawLine(p, {x + 3 * s, y + 4 * s + row}, {x + 8 * s, y - s + row}, c);
        ++row;
    };
    const bool blackFace = ColorToRGB(clBtnFace) == clBlack;
    const QColor ink = blackFace ? Qt::white : Qt::black;
    if (!GetEnabled()) {
        for (int i = 0; i < 2 * s; ++i) stroke(SysColor(COLOR_BTNSHADOW));
        return;
    }
    if (flat) {
        for (int i = 0; i < 2 * s; ++i) stroke(ink);
        return;
    }
    for (int i = 0; i < s; ++i) stroke(QColor(0xC0, 0xC0, 0xC0));
    for (int i = 0; i < 2 * s; ++i) stroke(ink);
}

void TdxBarItemControl::DrawMenuGlyphAndCaption(TCanvas& p, TRect r, bool down, bool glyphAllowed, bool selected) const
{
    TCustomdxBarControl* parent = Parent();
    if (!parent) return;
    const bool flat = IsFlatStyle();
    const QBrush bar = BarBrush(this), selectedBrush = parent->GetSelectedBrush();
    const QBrush side(ColorToQColor(dxBarFlatColors().Toolbar));
    if (flat) {
        if (selected) {
            dxBarFrameHighlight(p, r);
        } else {
            FrameRect(p, {r.Left, r.Top, r.Left + r.Height() + 1, r.Bottom}, side);
            FrameRect(p, {r.Left + r.Height() + 1, r.Top, r.Right, r.Bottom}, bar);
        }
        r = r.Inflated(-1, -1);
    }
    const TRect square(r.Left, r.Top, r.Left + r.Height(), r.Bottom);
    const bool hasGlyph = glyphAllowed && HasGlyph();
    DrawButtonInBar(p, square, dxBarPaintMenu, false, false, down, selected, !glyphAllowed);
    const int strip = flat ? 2 : 1;
    const QBrush stripBrush = selected && (flat || (!hasGlyph && !down)) ? selectedBrush : flat ? side : bar;
    FillRect(p, {square.Right, r.Top, square.Right + strip, r.Bottom}, stripBrush);
    const TRect caption(square.Right + strip, r.Top, r.Right, r.Bottom);
    FillRect(p, caption, selected ? selectedBrush : bar);
    DrawItemText(p, GetCaption(), {caption.Left + (flat ? 8 : 2), caption.Top, caption.Right, caption.Bottom}, flat,
                 false, false, selected, GetEnabled(), 0);
}
