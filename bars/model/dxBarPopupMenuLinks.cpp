#include "dxBarPopupMenuLinks.h"

#include "Forms.h"
#include "dxBarManager.h"
#include "dxBarPopupMenu.h"

#include <QInputMethodQueryEvent>
#include <QWidget>

namespace {

TCustomForm* ParentFormOf(TControl* control)
{
    TControl* top = control;
    int guard = 0;
    while (top && top->Parent() && ++guard < 10000) top = top->Parent();
    return qobject_cast<TCustomForm*>(top);
}

// Where the window's caret is, in its client coordinates; (0, 0) without one.
QPoint CaretPosition(QWidget* wnd)
{
    if (!wnd->testAttribute(Qt::WA_InputMethodEnabled)) return {};
    const QRect caret = wnd->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return caret.isValid() ? caret.topLeft() : QPoint();
}

}  // namespace

// ---------------------------------------------------------------- TdxBarPopupMenuLink

TdxBarPopupMenuLink::TdxBarPopupMenuLink(TCollection* collection) : TCollectionItem(collection) {}

TdxBarManager* TdxBarPopupMenuLink::BarManager() const
{
    auto* links = qobject_cast<TdxBarPopupMenuLinks*>(Collection());
    return links ? links->BarManager() : nullptr;
}

void TdxBarPopupMenuLink::SetControl(TWinControl* value)
{
    TdxBarManager* manager = BarManager();
    if (value && (!manager || !manager->OwnerForm() || ParentFormOf(value) != manager->OwnerForm())) value = nullptr;
    control_ = value;
}

void TdxBarPopupMenuLink::SetPopupMenu(TdxBarPopupMenu* value)
{
    popupMenu_ = value;
}

void TdxBarPopupMenuLink::Assign(TPersistent* source)
{
    if (auto* other = qobject_cast<TdxBarPopupMenuLink*>(source)) {
        SetControl(other->Control());
        SetPopupMenu(other->PopupMenu());
        return;
    }
    TCollectionItem::Assign(source);
}

bool TdxBarPopupMenuLink::ShowPopup(QWidget* wnd, const TPoint& screen)
{
    QPointer<TWinControl> control = control_;
    QWidget* target = control ? control->Handle() : nullptr;
    if (!wnd || !target) return false;
    const bool byMouse = !(screen.x() == -1 && screen.y() == -1);
    const QPoint inWnd = byMouse ? wnd->mapFromGlobal(QPoint(screen.x(), screen.y())) : CaretPosition(wnd);
    QPoint at = wnd == target || target->isAncestorOf(wnd) ? wnd->mapTo(target, inWnd) : inWnd;
    bool allow = popupMenu_ != nullptr;
    if (OnAction) {
        QPointer<TdxBarPopupMenuLink> self(this);
        int x = at.x(), y = at.y();
        OnAction(this, x, y, byMouse, allow);
        if (!self) return allow;
        at = QPoint(x, y);
    }
    // The handler may have freed the control or the menu.
    QPointer<TdxBarPopupMenu> menu = popupMenu_;
    target = control ? control->Handle() : nullptr;
    if (!allow || !menu || !target) return allow;
    QPointer<QWidget> focus = wnd;
    if (focus && focus->isEnabled()) focus->setFocus(Qt::PopupFocusReason);
    const QPoint global = target->mapToGlobal(at);
    menu->Popup(global.x(), global.y());
    return allow;
}

// ---------------------------------------------------------------- TdxBarPopupMenuLinks

TdxBarPopupMenuLinks::TdxBarPopupMenuLinks(TdxBarManager* manager)
    : TCollection(ItemClass<TdxBarPopupMenuLink>(), manager), manager_(manager)
{
}

TdxBarPopupMenuLinks::~TdxBarPopupMenuLinks()
{
    Clear();
}

TdxBarPopupMenuLink* TdxBarPopupMenuLinks::Add()
{
    return static_cast<TdxBarPopupMenuLink*>(TCollection::Add());
}

TdxBarPopupMenuLink* TdxBarPopupMenuLinks::Items(int index) const
{
    return static_cast<TdxBarPopupMenuLink*>(TCollection::Items(index));
}

TWinControl* TdxBarPopupMenuLinks::LinkedControlOf(QWidget* window) const
{
    int guard = 0;
    for (QWidget* w = window; w && ++guard < 10000; w = w->isWindow() ? nullptr : w->parentWidget())
        for (TCollectionItem* item : ItemList()) {
            TWinControl* control = static_cast<TdxBarPopupMenuLink*>(item)->Control();
            if (control && control->Handle() == w) return control;
        }
    return nullptr;
}

bool TdxBarPopupMenuLinks::ShowPopup(TWinControl* control, QWidget* wnd, const TPoint& screen)
{
    if (!control || !manager_ || manager_->IsDesigning()) return false;
    // A handler may change the list while a menu is open: walk a guarded copy.
    QList<QPointer<TdxBarPopupMenuLink>> links;
    for (TCollectionItem* item : ItemList()) links << static_cast<TdxBarPopupMenuLink*>(item);
    QPointer<TWinControl> guard(control);
    for (const QPointer<TdxBarPopupMenuLink>& link : links) {
        if (!guard) break;
        if (link && link->Control() == control && link->ShowPopup(wnd, screen)) return true;
    }
    return false;
}

bool TdxBarPopupMenuLinks::ShowPopupFor(QWidget* wnd, const TPoint& screen)
{
    return ShowPopup(LinkedControlOf(wnd), wnd, screen);
}
