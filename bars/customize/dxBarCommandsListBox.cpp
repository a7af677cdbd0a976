#include "dxBarCommandsListBox.h"

#include "ImgList.h"
#include "Painting.h"
#include "SysParams.h"
#include "dxBarCustomControl.h"
#include "dxBarDrawing.h"
#include "dxBarItem.h"
#include "dxBarItemDrag.h"
#include "dxBarItems.h"
#include "dxBarManager.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QPainter>

TdxBarCommandLook dxBarCommandLookOf(const TdxBarManager& manager, const QFont& font)
{
    return {manager.IsFlat(), font, manager.Images(), manager.ImageListBkColor()};
}

TdxBarCommandKind dxBarCommandKindOf(const TdxBarItem& item)
{
    if (qobject_cast<const TCustomdxBarCombo*>(&item)) return TdxBarCommandKind::Combo;
    if (qobject_cast<const TdxBarEdit*>(&item)) return TdxBarCommandKind::Edit;
    if (auto* container = qobject_cast<const TCustomdxBarContainerItem*>(&item))
        return container->ReplaceOwnLink() ? TdxBarCommandKind::Container : TdxBarCommandKind::Button;
    if (qobject_cast<const TCustomdxBarSubItem*>(&item)) return TdxBarCommandKind::SubItem;
    if (auto* button = qobject_cast<const TdxBarButton*>(&item); button && button->ButtonStyle() == bsDropDown)
        return TdxBarCommandKind::DropDownButton;
    return TdxBarCommandKind::Button;
}

QColor dxBarCommandBackColor(bool flat, bool selected)
{
    if (selected) return flat ? ColorToQColor(dxBarFlatColors().Selected) : SysColor(COLOR_HIGHLIGHT);
    return SysColor(flat ? COLOR_WINDOW : COLOR_BTNFACE);
}

QColor dxBarCommandTextColor(bool flat, bool selected)
{
    return SysColor(selected && !flat ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
}

namespace {

// The caption's text, left in rect, single line, centred vertically, no mnemonic marks.
void DrawCaption(QPainter& p, const QString& caption, TRect rect, const QColor& color)
{
    p.setPen(color);
    DrawText(p, caption, rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

// The flat look frames a part in the highlight colour when selected, else in the button
// shadow; the standard look draws its own edge (false).
bool FrameFlatPart(QPainter& p, const TRect& r, bool flat, bool selected)
{
    if (!flat) return false;
    if (selected)
        dxBarFrameHighlight(p, r);
    else
        FrameRect(p, r, SysBrush(COLOR_BTNSHADOW));
    return true;
}

void DrawEditLine(QPainter& p, const TdxBarCommandLineParts& parts, const QString& caption, TdxBarCommandKind kind,
                  const TdxBarCommandLook& look, bool selected)
{
    const bool flat = look.Flat;
    const QBrush back = dxBarCommandBackColor(flat, selected);
    const QBrush plain = dxBarCommandBackColor(flat, false);
    FillRect(p, parts.Caption, back);
    if (flat && selected) dxBarFrameHighlight(p, parts.Caption);
    DrawCaption(p, caption, parts.Text, dxBarCommandTextColor(flat, selected));
    FillRect(p, parts.Gap, plain);

    TRect frame = parts.Field;
    if (!FrameFlatPart(p, frame, flat, selected)) {
        if (selected)
            DrawEdge(p, frame, BDR_SUNKENOUTER, BF_RECT);
        else
            FrameRect(p, frame, plain);
    }
    frame = frame.Inflated(-1, -1);
    if (!flat) FrameRect(p, frame, plain);
    FillRect(p, parts.Interior, SysBrush(COLOR_WINDOW));
    if (kind != TdxBarCommandKind::Combo) return;

    // The drop-down button, with a line left of it.
    const TRect button = parts.DropButton;
    const TRect separator(button.Left - 1, button.Top, button.Left, button.Bottom);
    if (!selected) {
        FrameRect(p, button, SysBrush(COLOR_BTNHIGHLIGHT));
        FillRect(p, separator, SysBrush(COLOR_BTNHIGHLIGHT));
    } else if (flat) {
        dxBarFrameHighlight(p, button);
    } else {
        DrawEdge(p, button, BDR_RAISEDINNER, BF_RECT);
        FillRect(p, separator, plain);
    }
    const TRect face = button.Inflated(-1, -1);
    FillRect(p, face, flat && selected ? back : plain);
    dxBarDrawArrowInRect(p, face, true, true, false, flat);
}

void DrawButtonLine(QPainter& p, const TdxBarCommandLineParts& parts, const TRect& line, QString caption,
                    const TdxBarItem& item, TdxBarCommandKind kind, const TdxBarCommandLook& look, bool selected)
{
    const bool flat = look.Flat;
    const QColor back = dxBarCommandBackColor(flat, selected);
    const QColor text = dxBarCommandTextColor(flat, selected);
    TBitmap* bitmap = item.Glyph();
    const bool fromBitmap = bitmap && !bitmap->Empty();
    const bool hasGlyph = !parts.Glyph.IsEmpty();

    // The glyph column and the text area.
    QColor column = SysColor(COLOR_BTNFACE);
    if (flat) {
        FillRect(p, line, back);
        if (selected) column = back;
        FillRect(p, parts.Column, column);
    } else {
        if (selected && !hasGlyph) column = back;
        FillRect(p, parts.Column, column);
        FillRect(p, parts.ColumnEdge, column);
        FillRect(p, parts.TextArea, back);
    }
    if (hasGlyph) {
        unsigned flags = dgEnabled;
        if (flat) flags |= dgFlat;
        dxBarDrawGlyph(p, column, parts.GlyphBack, look.ImageListBkColor, flags, fromBitmap ? nullptr : look.Images,
                       item.ImageIndex(), fromBitmap ? bitmap->Image() : QImage(), parts.Glyph,
                       fromBitmap ? bitmap->TransparentColor() : clDefault);
    }
    if (!flat && selected && hasGlyph) DrawEdge(p, parts.Column, BDR_RAISEDINNER, BF_RECT);

    if (kind == TdxBarCommandKind::Container) caption = QLatin1Char('(') + caption + QLatin1Char(')');
    DrawCaption(p, caption, parts.Text, text);

    if (kind == TdxBarCommandKind::DropDownButton) {
        const TRect part = parts.Arrow;
        if (!FrameFlatPart(p, part, flat, selected))
            DrawEdge(p, part, selected ? BDR_RAISEDINNER : EDGE_ETCHED, selected ? BF_RECT : BF_LEFT);
        FillRect(p, flat ? part.Inflated(-1, -1) : TRect(part.Left + 2, part.Top + 1, part.Right - 1, part.Bottom - 1),
                 back);
    }
    if (!parts.Arrow.IsEmpty()) {
        const TPoint t = parts.Triangle;
        FillPolygon(p, {t, TPoint(t.x(), t.y() + 6), TPoint(t.x() + 3, t.y() + 3)}, text);
    }
    if (flat && selected) dxBarFrameHighlight(p, line);
}

QSize GlyphSize(const TdxBarItem& item, const TdxBarCommandLook& look)
{
    if (TBitmap* bitmap = item.Glyph(); bitmap && !bitmap->Empty()) return {bitmap->Width(), bitmap->Height()};
    if (look.Images && item.IsImageIndexValid()) return {look.Images->Width(), look.Images->Height()};
    return {};
}

}  // namespace

void dxBarDrawCommandLine(QPainter& p, const TRect& line, const TdxBarItem& item, const TdxBarCommandLook& look,
                          bool selected)
{
    const TdxBarCommandKind kind = dxBarCommandKindOf(item);
    const QString caption = StripMnemonic(item.Caption());
    p.save();
    p.setFont(look.Font);
    const int captionWidth = QFontMetrics(look.Font).horizontalAdvance(caption);
    const TdxBarCommandLineParts parts =
        dxBarCommandLineParts(kind, line, look.Flat, captionWidth, GlyphSize(item, look));
    if (kind == TdxBarCommandKind::Edit || kind == TdxBarCommandKind::Combo)
        DrawEditLine(p, parts, caption, kind, look, selected);
    else
        DrawButtonLine(p, parts, line, caption, item, kind, look, selected);
    p.restore();
}

// ---------------------------------------------------------------- TCommandsListBox

TCommandsListBox::TCommandsListBox(TComponent* owner) : TListBox(owner)
{
    SetStyle(lbOwnerDrawVariable);
    SetItemHeight(dxBarCommandLineHeight);
    // A press held near an edge must not scroll the list under a drag that leaves it.
    ListWidget()->setAutoScroll(false);
    StyleChanged();
}

void TCommandsListBox::SetBarManager(TdxBarManager* manager)
{
    manager_ = manager;
    StyleChanged();
}

TdxBarItem* TCommandsListBox::Item(int index) const
{
    if (index < 0 || index >= Items()->Count() || !manager_) return nullptr;
    auto* item = static_cast<TdxBarItem*>(Items()->Objects(index));
    return manager_->ItemList().contains(item) ? item : nullptr;
}

int TCommandsListBox::IndexOfItem(const TdxBarItem* item) const
{
    for (int i = 0; item && i < Items()->Count(); ++i)
        if (Items()->Objects(i) == item) return i;
    return -1;
}

void TCommandsListBox::StyleChanged()
{
    SetColor(manager_ && manager_->IsFlat() ? clWindow : clBtnFace);
    if (ListWidget()) ListWidget()->viewport()->update();
}

void TCommandsListBox::MeasureItem(int, int& height)
{
    height = dxBarCommandLineHeight;
}

void TCommandsListBox::DrawItem(int index, const QRect& rect, TOwnerDrawState state)
{
    QPainter& p = *Canvas();
    const TdxBarItem* item = Item(index);
    const bool flat = manager_ && manager_->IsFlat();
    const TRect line = TRect::FromQRect(rect);
    if (item && manager_)
        dxBarDrawCommandLine(p, line, *item, dxBarCommandLookOf(*manager_, Font()->ToQFont()), state & odSelected);
    else
        FillRect(p, line, dxBarCommandBackColor(flat, false));
    if (!(state & odFocused)) return;
    // The list inverts its focus frame after this: inverted now, it is cancelled.
    DrawFocusFrame(p, rect);
    if (!flat) DrawFocusRect(p, line.Inflated(-2, -2));
}

void TCommandsListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    dragPending_ = false;
    const int index = ItemAtPos(QPoint(x, y), true);
    if (button == mbRight) {
        SetFocus();
        if (index >= 0) SetItemIndex(index);
        Click();
    } else if (button == mbLeft && !(shift & ssDouble) && index >= 0 && Selected(index)) {
        QPointer<TCommandsListBox> self(this);
        Click();
        if (!self) return;
        dragPending_ = true;
        dragStart_ = TPoint(x, y);
    }
    TListBox::MouseDown(button, shift, x, y);
}

void TCommandsListBox::MouseMove(TShiftState shift, int x, int y)
{
    if (dragPending_ && !(shift & ssLeft)) dragPending_ = false;
    if (dragPending_ && dxBarDragDistancePassed(dragStart_, TPoint(x, y))) {
        StartDrag();
        return;
    }
    TListBox::MouseMove(shift, x, y);
}

void TCommandsListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) dragPending_ = false;
    TListBox::MouseUp(button, shift, x, y);
}

void TCommandsListBox::DoEnter()
{
    if (ItemIndex() < 0 && Items()->Count() > 0) {
        SetItemIndex(0);
        QPointer<TCommandsListBox> self(this);
        Click();
        if (!self) return;
    }
    TListBox::DoEnter();
}

void TCommandsListBox::StartDrag()
{
    dragPending_ = false;
    TdxBarItem* item = SelectedItem();
    TdxBarManager* manager = manager_;
    if (!item || !manager || !ListWidget()) return;
    dxBarSetItemDragStart(ListWidget()->viewport()->mapToGlobal(dragStart_));
    manager->DragItem(item, nullptr);
}
