#include "dxBarSubItemControl.h"
#include "dxBarSystemMenuControl.h"

#include "ExceptionBarrier.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarDrawing.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarSubMenuControl.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTimer>

// ---------------------------------------------------------------- the pending delay

namespace {

QPointer<TdxBarSubItemControl> pending;
bool pendingOpens = false;
QPointer<QTimer> delayTimer;

void CancelPending(const TdxBarSubItemControl* control)
{
    if (control && pending != control) return;
    pending = nullptr;
    if (delayTimer) delayTimer->stop();
}

void StartPending(TdxBarSubItemControl* control, bool opens)
{
    if (!delayTimer) {
        delayTimer = new QTimer(QCoreApplication::instance());
        delayTimer->setSingleShot(true);
        QObject::connect(delayTimer, &QTimer::timeout, [] { RunGuarded(nullptr, [] { dxBarFirePendingSubItem(); }); });
    }
    pending = control;
    pendingOpens = opens;
    delayTimer->start(TdxBarSubItemControl::HoverDelay);
}

}  // namespace

TdxBarSubItemControl* dxBarPendingSubItem()
{
    return pending;
}

bool dxBarPendingSubItemOpens()
{
    return pending && pendingOpens;
}

void dxBarFirePendingSubItem()
{
    QPointer<TdxBarSubItemControl> control = pending;
    const bool opens = pendingOpens;
    CancelPending(nullptr);
    if (!control) return;
    try {
        opens ? control->ControlActivate(true) : control->ControlInactivate(true);
    } catch (...) {
        // A delayed open or close never stops the program.
    }
}

void dxBarRegisterSubItemControls()
{
    TdxBarSubItemControlClass.factory = [](TdxBarItemLink* link) -> TdxBarItemControl* {
        return new TdxBarSubItemControl(link);
    };
    TdxBarContainerItemControlClass.factory = [](TdxBarItemLink* link) -> TdxBarItemControl* {
        return new TdxBarContainerItemControl(link);
    };
    dxBarRegisterSystemMenuControl();
}

void dxBarUnregisterSubItemControls()
{
    CancelPending(nullptr);
    TdxBarSubItemControlClass.factory = nullptr;
    TdxBarContainerItemControlClass.factory = nullptr;
    dxBarUnregisterSystemMenuControl();
}

// ---------------------------------------------------------------- TdxBarSubItemControl

TdxBarSubItemControl::TdxBarSubItemControl(TdxBarItemLink* link) : TdxBarItemControl(link) {}

TdxBarSubItemControl::~TdxBarSubItemControl()
{
    CancelPending(this);
    CloseMenu();
}

TCustomdxBarSubItem* TdxBarSubItemControl::SubItem() const
{
    return qobject_cast<TCustomdxBarSubItem*>(Item());
}

bool TdxBarSubItemControl::InMenuWindow() const
{
    return Parent() && Parent()->IsMenu();
}

TdxBarSubMenuControl* TdxBarSubItemControl::SubMenuControl() const
{
    TCustomdxBarSubItem* item = SubItem();
    TdxBarItemLinks* links = item ? item->ItemLinks() : nullptr;
    auto* menu = links ? qobject_cast<TdxBarSubMenuControl*>(links->BarControl()) : nullptr;
    return dxBarIsBarControlAlive(menu) && !menu->Closing() ? menu : nullptr;
}

void TdxBarSubItemControl::CreateSubMenuControl()
{
    TCustomdxBarSubItem* item = SubItem();
    TdxBarItemLinks* links = item ? item->ItemLinks() : nullptr;
    if (!links || !BarManager() || SubMenuControl()) return;
    auto* menu = new TdxBarSubMenuControl(BarManager());
    menu->SetParentBar(Parent());
    menu->SetItemLinks(links);
    menu->SetSideStrip(item->BarSize());
}

void TdxBarSubItemControl::CloseMenu()
{
    QPointer<TdxBarSubMenuControl> menu = SubMenuControl();
    if (!menu || (menu->OwnerSubItemControl() && menu->OwnerSubItemControl() != this)) return;
    menu->SetOwnerSubItemControl(nullptr);
    menu->Close();
}

void TdxBarSubItemControl::GlyphChanged()
{
    RepaintBar();
}

void TdxBarSubItemControl::ControlActivate(bool byMouse)
{
    if (!OpensSubMenu()) return;
    QPointer<TdxBarSubItemControl> self(this);
    if (TdxBarSubMenuControl* menu = SubMenuControl()) {
        TdxBarSubItemControl* owner = menu->OwnerSubItemControl();
        if (!owner || owner == this) {
            // The menu is this control's own: a pending close is called off.
            CancelPending(this);
            return;
        }
        owner->ControlInactivate(true);
        if (!self) return;
    }
    TdxBarItemControl::ControlActivate(byMouse);
    TdxBarManager* manager = BarManager();
    TCustomdxBarControl* parent = Parent();
    if (!parent || (!GetEnabled() && !(manager && manager->IsDesigning()))) return;
    if (!InMenuWindow()) {
        if (parent->IsCustomizing() || parent->DropDownMode()) Open();
        return;
    }
    if (byMouse) {
        CancelPending(this);
        Open();
        return;
    }
    if (manager && manager->IsCustomizing()) return;
    // A hover: the menu opens after the delay, and a pending control of this menu goes now.
    if (TdxBarSubItemControl* other = pending; other && other != this) {
        CancelPending(nullptr);
        if (other->Parent() != SubMenuControl()) {
            try {
                other->ControlInactivate(true);
            } catch (...) {}
        }
        if (!self) return;
    }
    StartPending(this, true);
}

void TdxBarSubItemControl::ControlInactivate(bool byMouse)
{
    if (!OpensSubMenu()) return;
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    if (InMenuWindow() && !byMouse && !pending && parent && !parent->IsDestroying() && SubMenuControl() &&
        !(manager && manager->IsCustomizing())) {
        StartPending(this, false);
        return;
    }
    QPointer<TdxBarSubItemControl> self(this);
    TdxBarItemControl::ControlInactivate(byMouse);
    CancelPending(this);
    CloseMenu();
    if (!self) return;
    if (!InMenuWindow()) Repaint();
    if (TCustomdxBarSubItem* item = SubItem()) item->CloseUp();
}

void TdxBarSubItemControl::Open()
{
    QPointer<TdxBarSubItemControl> self(this);
    QPointer<TCustomdxBarControl> parent = Parent();
    TCustomdxBarSubItem* item = SubItem();
    if (!item || !parent) return;
    CancelPending(this);
    item->Popup();
    if (!self) return;
    item->DoClick();
    if (!self || !parent) return;
    CreateSubMenuControl();
    QPointer<TdxBarSubMenuControl> menu = SubMenuControl();
    if (!menu) return;
    const TRect r = parent->GetItemRect(this);
    TPoint at;
    int ownerWidth = 0, ownerHeight = 0;
    if (InMenuWindow()) {
        at = parent->ClientToScreen({r.Right, r.Top - (IsFlatStyle() ? 2 : 3)});
        ownerWidth = r.Width();
    } else if (parent->IsVertical()) {
        at = parent->ClientToScreen({r.Right, r.Top});
        ownerWidth = r.Width();
    } else {
        at = parent->ClientToScreen({r.Left, r.Bottom});
        ownerHeight = r.Height();
    }
    menu->SetOwnerSubItemControl(this);
    menu->SetParentBar(parent);
    parent->SetChildMenu(menu);
    menu->SetPosition(at.x(), at.y());
    menu->SetOwnerSize(ownerWidth, ownerHeight);
    menu->SetAnimate(true);
    if (!InMenuWindow()) Repaint();
    OneShotFlag = false;
    menu->Show();
}

void TdxBarSubItemControl::ControlClick(bool byMouse)
{
    QPointer<TdxBarSubItemControl> self(this);
    if (SubMenuControl()) {
        TdxBarManager* manager = BarManager();
        if ((Parent() && Parent()->IsCustomizing()) || (manager && manager->Style() == bmsStandard))
            ControlInactivate(true);
        return;
    }
    ControlActivate(true);
    if (!self || byMouse) return;
    if (TdxBarSubMenuControl* menu = SubMenuControl()) {
        TdxBarItemLink* first = menu->ItemLinks() ? menu->ItemLinks()->First() : nullptr;
        if (first && first->Control()) menu->SetKeySelectedItem(first->Control());
    }
}

void TdxBarSubItemControl::DropDown()
{
    QPointer<TdxBarSubItemControl> self(this);
    TCustomdxBarControl* parent = Parent();
    if (!parent) return;
    if (!parent->IsMenu()) {
        parent->SetActive(true);
        parent->SetDropDownMode(true);
        if (!self) return;
    }
    if (parent->SelectedControl() != this) {
        parent->SetKeySelectedItem(this);
        if (!self) return;
    }
    if (TdxBarSubMenuControl* menu = SubMenuControl()) {
        TdxBarItemLink* first = menu->ItemLinks() ? menu->ItemLinks()->First() : nullptr;
        if (first && first->Control()) menu->SetKeySelectedItem(first->Control());
        return;
    }
    ControlClick(false);
}

void TdxBarSubItemControl::KeyDown(int key)
{
    if (key == VK_RIGHT) Click(false);
}

bool TdxBarSubItemControl::WantsKey(int key) const
{
    return TdxBarItemControl::WantsKey(key) || (InMenuWindow() && key == VK_RIGHT);
}

bool TdxBarSubItemControl::HandlesDblClick() const
{
    return TdxBarItemControl::HandlesDblClick() && !(BarManager() && BarManager()->IsDesigning());
}

namespace {

bool RotatedToolbar(const TdxBarItemControl* c)
{
    return c->Parent() && c->Parent()->IsToolbar() && c->Parent()->IsRotated();
}

bool OnMainMenu(const TdxBarItemControl* c)
{
    auto* toolbar = qobject_cast<TdxBarControl*>(c->Parent());
    return toolbar && toolbar->Bar() && toolbar->Bar()->IsMainMenu();
}

}  // namespace

int TdxBarSubItemControl::GetHeight()
{
    return RotatedToolbar(this) ? GetDefaultWidth() : GetDefaultHeight();
}

int TdxBarSubItemControl::GetWidth()
{
    return RotatedToolbar(this) ? GetDefaultHeight() : GetDefaultWidth();
}

int TdxBarSubItemControl::GetDefaultHeight()
{
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    if (!parent || !manager) return 0;
    if (InMenuWindow()) return parent->ItemHeight() + (IsFlatStyle() ? 2 : 0);
    const bool showCaption = !SubItem() || SubItem()->ShowCaption();
    int h = parent->ItemHeight();
    if (HasGlyph() || !showCaption) {
        const int button = RotatedToolbar(this) ? manager->DefaultButtonWidth() : manager->DefaultButtonHeight();
        if (button != 0 && !(showCaption && button < parent->ItemHeight())) h = button;
    }
    return h;
}

int TdxBarSubItemControl::GetDefaultWidth()
{
    TCustomdxBarControl* parent = Parent();
    TdxBarManager* manager = BarManager();
    if (!parent || !manager) return 0;
    const QFontMetrics fm(parent->Font());
    const int caption = fm.horizontalAdvance(dxBarRemoveAmpersands(GetCaption()));
    if (InMenuWindow()) return caption + 2 * parent->ItemHeight() + 3 + (IsFlatStyle() ? 9 : 0);
    const bool showCaption = !SubItem() || SubItem()->ShowCaption();
    int w = showCaption ? caption : 0;
    if (HasGlyph() || !showCaption) {
        w += RotatedToolbar(this) ? manager->DefaultButtonHeight() : manager->DefaultButtonWidth();
        if (showCaption) w += 4;
    } else {
        // A caption alone gets room of its font's pixel size, rounded down to even.
        const QFont& font = parent->Font();
        const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height() - 2;
        w += pixels - (pixels & 1);
    }
    if (!OnMainMenu(this)) w += parent->ItemHeight() / 2;
    return w;
}

void TdxBarSubItemControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    TCustomdxBarControl* parent = Parent();
    if (!parent || r.Width() <= 0) return;
    const bool open = IsActive() && SubMenuControl();
    const bool selected = IsDrawnSelected();
    const bool flat = IsFlatStyle();
    if (paintType == dxBarPaintMenu) {
        DrawMenuGlyphAndCaption(p, r, false, true, selected);
        const int arrow = std::max(3, parent->MenuItemHeight() / 4 * 3 + 1) / 2;
        const TRect at(r.Right - r.Height() + 2, r.Top, r.Right - 2, r.Bottom);
        dxBarDrawArrow(p, at, false, GetEnabled(), selected && !flat, flat, std::max(3, arrow));
        return;
    }
    TdxBarManager* manager = BarManager();
    const bool showCaption = !SubItem() || SubItem()->ShowCaption();
    DrawButtonInBar(p, r, paintType, false, false, open && !flat, selected || open, !HasGlyph());
    if (showCaption) {
        const bool rotated = paintType == dxBarPaintVertical;
        const QFont& font = parent->Font();
        const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height() - 2;
        int offset = pixels / 2;
        if (HasGlyph() && manager) offset = rotated ? manager->DefaultButtonHeight() : manager->DefaultButtonWidth();
        TRect text = rotated ? TRect(r.Left, r.Top + offset, r.Right, r.Bottom)
                             : TRect(r.Left + offset, r.Top, r.Right, r.Bottom);
        if (open && !flat) text = text.Offset(1, 1);
        p.save();
        p.setFont(font);
        DrawItemText(p, GetCaption(), text, flat, false, rotated, false, GetEnabled(), 0);
        p.restore();
    }
    if (!OnMainMenu(this)) {
        const int h = parent->ItemHeight();
        const QFont& font = parent->Font();
        const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height() - 2;
        // The arrow is sized by its own corner of the item, not by the whole item.
        const bool down = paintType == dxBarPaintHorizontal;
        const TRect at = down ? TRect(r.Right - pixels / 2 - h / 2, r.Top, r.Right - pixels / 2, r.Bottom)
                              : TRect(r.Left, r.Bottom - pixels / 2 - h / 2, r.Right, r.Bottom - pixels / 2);
        dxBarDrawArrow(p, at, down, GetEnabled(), false, flat, std::max(2, dxBarArrowSize(at, down) - 1));
    }
}

// ---------------------------------------------------------------- TdxBarContainerItemControl

void TdxBarContainerItemControl::CreateSubMenuControl()
{
    TdxBarManager* manager = BarManager();
    auto* item = qobject_cast<TCustomdxBarContainerItem*>(Item());
    if (!manager || manager->IsCustomizing() || !item || !item->ItemLinks() || SubMenuControl()) return;
    if (item->ClearPending()) item->ClearItems();
    auto* menu = new TdxBarSubMenuControl(manager);
    menu->SetParentBar(Parent());
    menu->SetItemLinks(item->ItemLinks());
    QPointer<TCustomdxBarContainerItem> guarded(item);
    TdxBarItemLinks* links = item->ItemLinks();
    menu->OnCloseUp = [guarded, links] {
        if (!guarded) return;
        guarded->DeleteListedItemLinks(links, 0);
        guarded->SetClearPending();
    };
    item->AddListedItemLinks(item->ItemLinks(), 0, ItemLink(), true);
}

QString TdxBarContainerItemControl::GetCaption() const
{
    const QString caption = TdxBarSubItemControl::GetCaption();
    auto* item = qobject_cast<TCustomdxBarContainerItem*>(Item());
    if (Parent() && Parent()->IsMenu() && item && item->ReplaceOwnLink()) return "(" + caption + ")";
    return caption;
}

bool TdxBarContainerItemControl::IsExpandable() const
{
    return !(BarManager() && BarManager()->IsCustomizing());
}

void TdxBarContainerItemControl::Draw(TCanvas& p, const TRect& r, int paintType)
{
    if (paintType != dxBarPaintMenu) {
        TdxBarSubItemControl::Draw(p, r, paintType);
        return;
    }
    DrawMenuGlyphAndCaption(p, r, false, true, false);
}
