#include "dxBarInPlaceSubItem.h"

#include "Painting.h"
#include "Scope.h"
#include "TypInfo.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarDrawing.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarSubMenuControl.h"

#include <QFontMetrics>
#include <QPainter>

TdxBarItemControlClass TdxBarInPlaceSubItemControlClass{
    "TdxBarInPlaceSubItemControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarInPlaceSubItemControl(link); }};

// ---------------------------------------------------------------- TdxBarInPlaceSubItem

TdxBarInPlaceSubItem::TdxBarInPlaceSubItem(TComponent* owner) : TdxBarContainerItem(owner)
{
    static const bool registered = (RegisterEventType<TdxBarInPlaceSubItemEvent>(), true);
    (void)registered;
}

TdxBarInPlaceSubItem::~TdxBarInPlaceSubItem()
{
    EndGroupStarts();
}

void TdxBarInPlaceSubItem::SetExpanded(bool value)
{
    if (value == expanded_) return;
    QPointer<TdxBarInPlaceSubItem> self(this);
    // The handlers may free links: each is asked while it lives.
    const QList<QPointer<TdxBarItemLink>> links(LinkList().cbegin(), LinkList().cend());
    if (!value)
        for (const QPointer<TdxBarItemLink>& link : links) {
            if (link) DoBeforeCollapse(link);
            if (!self) return;
        }
    expanded_ = value;
    if (!value) EndGroupStarts();
    if (Loading()) return;
    {
        TRestore changing(changing_, true);
        for (const QPointer<TCustomdxBarControl>& menu : MenusShowingLinks())
            if (menu) menu->RepaintBar();
        if (!self) return;
    }
    if (value)
        for (const QPointer<TdxBarItemLink>& link : links) {
            if (link) DoAfterExpand(link);
            if (!self) return;
        }
}

QList<QPointer<TCustomdxBarControl>> TdxBarInPlaceSubItem::MenusShowingLinks() const
{
    QList<QPointer<TCustomdxBarControl>> menus;
    for (TdxBarItemLink* link : LinkList()) {
        TdxBarItemControl* control = link->Control();
        auto* menu = control ? qobject_cast<TdxBarSubMenuControl*>(control->Parent()) : nullptr;
        if (menu && !menus.contains(menu)) menus << menu;
    }
    return menus;
}

void TdxBarInPlaceSubItem::DoAfterExpand(TdxBarItemLink* link)
{
    QPointer<TdxBarInPlaceSubItem> self(this);
    QPointer<TdxBarItemLink> guarded(link);
    if (OnAfterExpand) OnAfterExpand(this, link);
    if (self && guarded) ApplyGroupRule(guarded, true);
}

void TdxBarInPlaceSubItem::DoBeforeCollapse(TdxBarItemLink* link)
{
    QPointer<TdxBarInPlaceSubItem> self(this);
    QPointer<TdxBarItemLink> guarded(link);
    if (OnBeforeCollapse) OnBeforeCollapse(this, link);
    if (self && guarded) ApplyGroupRule(guarded, false);
}

TdxBarItemLink* TdxBarInPlaceSubItem::LinkAfterBlock(TdxBarItemLink* link) const
{
    TdxBarItemLinks* links = link ? link->Links() : nullptr;
    if (!links) return nullptr;
    const bool designing = BarManager() && BarManager()->IsDesigning();
    int index = link->Index() + 1;
    // The copies a menu window lists for this link; a closed menu lists none.
    while (!designing && index < links->Count() && links->Items(index)->OriginalItemLink() == link) ++index;
    return index < links->Count() ? links->Items(index) : nullptr;
}

void TdxBarInPlaceSubItem::ApplyGroupRule(TdxBarItemLink* link, bool value)
{
    if (!keepBeginGroupWhileExpanded_ || qobject_cast<TdxBarControl*>(link->BarControl())) return;
    TdxBarItemLink* next = LinkAfterBlock(link);
    if (!next) return;
    if (value) {
        groupStarts_ << next;
        next->SetGroupStartWhileExpanded(true);
        return;
    }
    groupStarts_.removeAll(next);
    next->SetGroupStartWhileExpanded(false);
}

void TdxBarInPlaceSubItem::EndGroupStarts()
{
    // Also those whose link moved since, or whose rule was switched off meanwhile.
    while (!groupStarts_.isEmpty())
        if (QPointer<TdxBarItemLink> link = groupStarts_.takeLast()) link->SetGroupStartWhileExpanded(false);
}

void TdxBarInPlaceSubItem::AddListedItemLinks(TdxBarItemLinks* links, int index, TdxBarItemLink* ownLink, bool firstUse)
{
    if (expanded_) TdxBarContainerItem::AddListedItemLinks(links, index, ownLink, firstUse);
}

void TdxBarInPlaceSubItem::DeleteListedItemLinks(TdxBarItemLinks* links, int index)
{
    // Listed while expanded, or until a collapse in progress has re-laid the menus out.
    if (expanded_ != changing_) TdxBarContainerItem::DeleteListedItemLinks(links, index);
}

// ---------------------------------------------------------------- TdxBarInPlaceSubItemControl

TdxBarInPlaceSubItem* TdxBarInPlaceSubItemControl::InPlaceItem() const
{
    return qobject_cast<TdxBarInPlaceSubItem*>(Item());
}

bool TdxBarInPlaceSubItemControl::InMenu() const
{
    return Parent() && Parent()->IsMenu();
}

void TdxBarInPlaceSubItemControl::ControlClick(bool byMouse)
{
    if (!InMenu()) {
        TdxBarContainerItemControl::ControlClick(byMouse);
        return;
    }
    QPointer<TdxBarInPlaceSubItemControl> self(this);
    TdxBarContainerItemControl::ControlClick(byMouse);
    if (!self) return;
    Toggle();
}

void TdxBarInPlaceSubItemControl::Toggle()
{
    QPointer<TdxBarInPlaceSubItem> item = InPlaceItem();
    QPointer<TdxBarItemLink> link = ItemLink();
    QPointer<TCustomdxBarControl> menu = Parent();
    if (!item || !link || !menu) return;
    const bool selected = menu->SelectedControl() == this;
    {
        item->SetClickItemLink(link);
        TScopeExit clear([&item] {
            if (item) item->SetClickItemLink(nullptr);
        });
        item->DoClick();
    }
    // The re-layout frees this control: only the guarded values are read from here on.
    if (item) item->SetExpanded(!item->Expanded());
    if (selected && link && menu && dxBarIsBarControlAlive(menu) && link->Control() &&
        link->Control()->Parent() == menu)
        menu->SetKeySelectedItem(link->Control());
}

void TdxBarInPlaceSubItemControl::DblClick()
{
    if (GetEnabled()) ControlClick(true);
}

void TdxBarInPlaceSubItemControl::KeyDown(int key)
{
    if (!InMenu())
        TdxBarContainerItemControl::KeyDown(key);
    else if (key == VK_LEFT || key == VK_RIGHT)
        Click(false);
}

bool TdxBarInPlaceSubItemControl::WantsKey(int key) const
{
    if (!InMenu()) return TdxBarContainerItemControl::WantsKey(key);
    TdxBarInPlaceSubItem* item = InPlaceItem();
    const bool expanded = item && item->Expanded();
    return (key == VK_LEFT && expanded) || (key == VK_RIGHT && !expanded);
}

bool TdxBarInPlaceSubItemControl::IsExpandable() const
{
    return !InMenu() && TdxBarContainerItemControl::IsExpandable();
}

bool TdxBarInPlaceSubItemControl::OpensSubMenu() const
{
    return !InMenu();
}

int TdxBarInPlaceSubItemControl::GetDefaultHeight()
{
    const int height = TdxBarContainerItemControl::GetDefaultHeight();
    return InMenu() ? height + 1 : height;
}

int TdxBarInPlaceSubItemControl::GetDefaultWidth()
{
    if (!InMenu()) return TdxBarContainerItemControl::GetDefaultWidth();
    const QFontMetrics fm(Parent()->Font());
    return fm.horizontalAdvance(dxBarRemoveAmpersands(GetCaption())) + GetCaptionOffset() + 5;
}

void TdxBarInPlaceSubItemControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    TCustomdxBarControl* parent = Parent();
    if (paintType != dxBarPaintMenu || !parent) {
        TdxBarContainerItemControl::Draw(p, r, paintType);
        return;
    }
    if (r.Width() <= 0 || r.Height() <= 1) return;
    // The bottom row is the menu's own: it keeps two headers one above the other apart.
    FillRect(p, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, parent->GetToolbarBrush());
    TRect row(r.Left, r.Top, r.Right, r.Bottom - 1);
    const bool selected = IsDrawnSelected();
    const bool flat = IsFlatStyle();
    if (flat) {
        if (selected)
            dxBarFrameHighlight(p, row);
        else
            FrameRect(p, row, SysBrush(COLOR_BTNSHADOW));
        row = row.Inflated(-1, -1);
    }
    FillRect(p, row, selected ? parent->GetSelectedBrush() : SysBrush(COLOR_BTNSHADOW));
    p.save();
    p.setFont(parent->Font());
    DrawItemText(p, GetCaption(), {r.Left + 5, row.Top, row.Right, row.Bottom}, flat, true, false, selected,
                 GetEnabled(), 0);
    p.restore();
    if (!GetEnabled()) return;
    TdxBarInPlaceSubItem* item = InPlaceItem();
    const bool expanded = item && item->Expanded();
    // A right arrow while collapsed, a down arrow one arrow width further left while expanded.
    const int size = std::max(3, std::max(3, parent->MenuItemHeight() / 4 * 3 + 1) / 2);
    const int right = row.Right - 2 - (expanded ? size : 0);
    dxBarDrawArrow(p, {right - row.Height(), row.Top, right, row.Bottom}, expanded, true, selected, flat, size);
}
