#include "dxBarButtonControl.h"

#include "dxBarCustomControl.h"
#include "dxBarDrawing.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarPopupMenu.h"

#include <QCursor>
#include <QFontMetrics>
#include <QPainter>

TdxBarButtonControl::TdxBarButtonControl(TdxBarItemLink* link) : TdxBarItemControl(link) {}

void dxBarRegisterButtonControl()
{
    TdxBarButtonControlClass.factory = [](TdxBarItemLink* link) -> TdxBarItemControl* {
        return new TdxBarButtonControl(link);
    };
}

TdxBarButton* TdxBarButtonControl::Button() const
{
    return qobject_cast<TdxBarButton*>(Item());
}

bool TdxBarButtonControl::IsDropDownStyle() const
{
    return Button() && Button()->ButtonStyle() == bsDropDown;
}

bool TdxBarButtonControl::Down() const
{
    return Button() && Button()->Down();
}

bool TdxBarButtonControl::Lowered() const
{
    return Button() && Button()->Lowered();
}

bool TdxBarButtonControl::ShowsCaption() const
{
    const TdxBarPaintStyle ps = RealPaintStyle();
    return ps == psCaption || ps == psCaptionGlyph;
}

bool TdxBarButtonControl::RotatedToolbar() const
{
    return Parent() && Parent()->IsToolbar() && Parent()->IsRotated();
}

TdxBarPaintStyle TdxBarButtonControl::RealPaintStyle() const
{
    const TdxBarPaintStyle ps = TdxBarItemControl::RealPaintStyle();
    if (ps == psStandard && InToolbar() && !HasGlyph()) return psCaption;
    return ps;
}

void TdxBarButtonControl::GlyphChanged()
{
    if (ItemLink() && ItemLink()->PaintStyle() == psStandard)
        RepaintBar();
    else
        Repaint();
}

void TdxBarButtonControl::ControlInactivate(bool byMouse)
{
    TdxBarItemControl::ControlInactivate(byMouse);
    // An open drop-down menu closes with the button.
    if (droppedDown_ && Button() && Button()->DropDownMenu())
        dxBarWindowServices().ClosePopupMenu(Button()->DropDownMenu());
}

void TdxBarButtonControl::ControlClick(bool /*byMouse*/)
{
    if (IsDropDownStyle() && IsArrowPressed())
        DropDown(true);
    else if (InToolbar() || IsDropDownStyle())
        Repaint();
}

void TdxBarButtonControl::ControlUnclick(bool byMouse)
{
    if (droppedDown_) return;
    QPointer<TdxBarButtonControl> self(this);
    if (TdxBarButton* button = Button(); button && button->ButtonStyle() == bsChecked) button->SetDown(!button->Down());
    if (!self) return;
    ControlInactivate(true);
    if (Parent() && Parent()->IsMenu()) dxBarPlaySound(1);
    TdxBarItemControl::ControlUnclick(byMouse);
}

bool TdxBarButtonControl::IsDrawnSelected() const
{
    return (IsSelected() && !(Parent() && Parent()->IsCustomizing())) || Pressed();
}

void TdxBarButtonControl::KeyDown(int key)
{
    if (key == VK_UP || key == VK_RIGHT || key == VK_DOWN) DropDown(false);
}

bool TdxBarButtonControl::WantsKey(int key) const
{
    if (TdxBarItemControl::WantsKey(key)) return true;
    if (!IsDropDownStyle()) return false;
    if (InToolbar()) return key == VK_UP || key == VK_DOWN;
    return key == VK_RIGHT;
}

int TdxBarButtonControl::GetHeight()
{
    return RotatedToolbar() && ShowsCaption() ? GetDefaultWidth() : GetDefaultHeight();
}

int TdxBarButtonControl::GetWidth()
{
    int w = RotatedToolbar() && ShowsCaption() ? GetDefaultHeight() : GetDefaultWidth();
    if (IsDropDownStyle() && InToolbar() && BarManager()) w += BarManager()->ArrowWidth();
    return w;
}

bool TdxBarButtonControl::HidesMenusOnClick() const
{
    if (InToolbar()) return true;
    return !Button() || Button()->CloseSubMenuOnClick();
}

int TdxBarButtonControl::GetArrowWidth() const
{
    // A menu window's own arrow width is the menus' business; until then the manager's.
    return BarManager() ? BarManager()->ArrowWidth() : 0;
}

void TdxBarButtonControl::ButtonStyleChanged()
{
    RepaintBar();
}

void TdxBarButtonControl::DownChanged()
{
    Repaint();
}

void TdxBarButtonControl::DropDownEnabledChanged()
{
    Repaint();
}

void TdxBarButtonControl::PaintStyleChanged()
{
    RepaintBar();
}

int TdxBarButtonControl::GetDefaultHeight()
{
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    if (!parent || !manager) return 0;
    int h = parent->ItemHeight();
    if (InToolbar()) {
        if (ShowsCaption())
            h = std::max(h, RotatedToolbar() ? manager->DefaultButtonWidth() : manager->DefaultButtonHeight());
        else
            h = manager->DefaultButtonHeight();
    } else if (IsFlatStyle()) {
        h += 2;
    }
    return h + (Lowered() ? 2 : 0);
}

int TdxBarButtonControl::GetDefaultWidth()
{
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    if (!parent || !manager) return 0;
    const QFontMetrics fm(parent->Font());
    const int caption = fm.horizontalAdvance(dxBarRemoveAmpersands(GetCaption()));
    int w;
    if (!InToolbar()) {
        const int itemHeight = parent->ItemHeight();
        w = caption + 2 * itemHeight + 6;
        if (GetShortCut()) w += fm.horizontalAdvance(ShortCutToText(GetShortCut())) + itemHeight - 6;
        if (IsFlatStyle()) w += 9;
    } else if (RealPaintStyle() == psCaption) {
        w = caption + dxBarFontPoints(parent->Font());
    } else if (RealPaintStyle() == psCaptionGlyph) {
        w = caption + (RotatedToolbar() ? manager->DefaultButtonHeight() : manager->DefaultButtonWidth()) + 4;
    } else {
        w = manager->DefaultButtonWidth();
    }
    return w + (Lowered() ? 2 : 0);
}

void TdxBarButtonControl::DropDown(bool /*byMouse*/)
{
    TdxBarButton* button = Button();
    if (droppedDown_ || !GetEnabled() || !button || !button->DropDownEnabled() || !button->DropDownMenu()) return;
    droppedDown_ = true;
    QPointer<TdxBarButtonControl> self(this);
    if (!IsActive()) ControlActivate(true);
    if (!self) return;
    Repaint();
    TCustomdxBarControl* parent = Parent();
    if (!parent) return;
    // Below the button in a horizontal toolbar, beside it in a menu or a vertical toolbar; the
    // menu returns at once and tells the button when it closes.
    const TRect r = parent->GetItemRect(this);
    const bool beside = parent->IsMenu() || parent->IsVertical();
    const TPoint at = beside
                          ? parent->ClientToScreen({r.Right, r.Top - (parent->IsMenu() ? (IsFlatStyle() ? 2 : 3) : 0)})
                          : parent->ClientToScreen({r.Left, r.Bottom});
    TdxBarPopupMenu* menu = button->DropDownMenu();
    menu->SetExcludedSize(beside ? r.Width() : 0, beside ? 0 : r.Height());
    const bool shown = dxBarWindowServices().ShowPopupMenu(menu, at.x(), at.y(), [self] {
        if (self) self->CloseUp();
    });
    menu->SetExcludedSize(0, 0);
    if (!shown && self) CloseUp();
}

void TdxBarButtonControl::CloseUp()
{
    if (!droppedDown_) return;
    droppedDown_ = false;
    Repaint();
}

bool TdxBarButtonControl::IsArrowPressed() const
{
    TCustomdxBarControl* parent = Parent();
    if (!IsDropDownStyle() || !parent || !IsMousePressedOver()) return false;
    const TRect r = parent->GetItemRect(const_cast<TdxBarButtonControl*>(this));
    return TRect(r.Right - GetArrowWidth(), r.Top, r.Right, r.Bottom).Contains(parent->ScreenToClient(QCursor::pos()));
}

void TdxBarButtonControl::Draw(TCanvas& p, const TRect& rect, int paintType)
{
    TCustomdxBarControl* parent = Parent();
    if (rect.Width() <= 0 || !parent) return;
    TRect r = rect;
    if (Lowered()) DrawLoweredFrame(p, r);
    const TdxBarPaintStyle ps = RealPaintStyle();
    const bool selected = IsDrawnSelected();
    if (paintType == dxBarPaintMenu) {
        TRect row = r;
        if (IsDropDownStyle()) row.Right -= GetArrowWidth();
        DrawMenuGlyphAndCaption(p, row, Down(), ps != psCaption && ps != psCaptionInMenu, selected);
        if (GetShortCut()) {
            TRect text = row;
            text.Right -= row.Height() + 5;
            DrawItemText(p, ShortCutToText(GetShortCut()), text, IsFlatStyle(), false, false, selected, GetEnabled(),
                         2);
        }
    } else {
        TRect face = r;
        if (IsDropDownStyle()) face.Right -= GetArrowWidth();
        const bool pressedLook = PressedLook(selected);
        DrawButtonInBar(p, face, paintType, false, pressedLook, Down(), selected, ps == psCaption);
        if (ps == psCaption || ps == psCaptionGlyph) {
            const QFont& font = parent->Font();
            const int points = dxBarFontPoints(font);
            const bool rotated = paintType == dxBarPaintVertical;
            TdxBarManager* manager = BarManager();
            int offset = ps == psCaption ? points / 2
                                         : (rotated ? (manager ? manager->DefaultButtonHeight() : 0)
                                                    : (manager ? manager->DefaultButtonWidth() : 0));
            TRect text = rotated ? TRect(face.Left, face.Top + offset, face.Right, face.Bottom)
                                 : TRect(face.Left + offset, face.Top, face.Right, face.Bottom);
            if (!IsFlatStyle()) {
                const int shift = (Down() ? 1 : 0) + (pressedLook ? 1 : 0);
                text = text.Offset(shift, shift);
            }
            p.save();
            p.setFont(font);
            DrawItemText(p, GetCaption(), text, IsFlatStyle(), false, rotated, false, GetEnabled(), 0);
            p.restore();
        }
    }
    if (IsDropDownStyle()) DrawArrowButton(p, r, selected, paintType);
}

bool TdxBarButtonControl::PressedLook(bool selected) const
{
    TCustomdxBarControl* parent = Parent();
    const bool styleChecked = Button() && Button()->ButtonStyle() == bsChecked;
    return (selected && parent && parent->MouseIsDown() && parent->PressedInside() && !IsArrowPressed() &&
            !droppedDown_) ||
           (Pressed() && !styleChecked);
}

void TdxBarButtonControl::DrawArrowButton(QPainter& p, const TRect& r, bool selected, int paintType)
{
    const bool menu = paintType == dxBarPaintMenu;
    TRect part(r.Right - GetArrowWidth(), r.Top, r.Right, r.Bottom);
    int colorIndex = COLOR_BTNTEXT;
    QBrush brush;
    GetArrowColorAndBrush(selected, droppedDown_, colorIndex, brush);
    const bool flat = IsFlatStyle();
    if (flat) {
        if (!menu) part.Left -= 1;
        if (selected)
            dxBarFrameHighlight(p, part);
        else
            FrameRect(p, part, menu ? SysBrush(COLOR_BTNSHADOW) : (Parent() ? Parent()->GetToolbarBrush() : brush));
        FillRect(p, part.Inflated(-1, -1), brush);
    } else {
        FillRect(p, part, brush);
        if (selected)
            DrawEdge(p, part, droppedDown_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        else if (menu)
            DrawEdge(p, {part.Left, part.Top, part.Left + 2, part.Bottom}, EDGE_ETCHED, BF_LEFT);
    }
    const bool enabled = GetEnabled() && Button() && Button()->DropDownEnabled();
    const bool highlighted = colorIndex == COLOR_HIGHLIGHTTEXT;
    if (menu) {
        TRect at = part;
        if (droppedDown_ && !flat) at = at.Offset(1, 1);
        dxBarDrawArrowInRect(p, at, false, enabled, highlighted, flat);
        return;
    }
    TRect at = part.Inflated(2, 0);
    if (droppedDown_ && !flat && part.Width() > 9) at = at.Offset(1, 1);
    dxBarDrawArrowInRect(p, at, true, enabled, highlighted, flat);
}
