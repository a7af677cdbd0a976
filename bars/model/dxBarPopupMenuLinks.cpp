#include "dxBarPopupMenuLinks.h"

#include "Forms.h"
#include "dxBarManager.h"
#include "dxBarPopupMenu.h"
#include "dxBarServices.h"

namespace {

TCustomForm* ParentFormOf(TControl* control)
{
    TControl* top = control;
    int guard = 0;
    while (top && top->Parent() && ++guard < 10000) top = top->Parent();
    return qobject_cast<TCustomForm*>(top);
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

// ---------------------------------------------------------------- TdxBarPopupMenuLinks

TdxBarPopupMenuLinks::TdxBarPopupMenuLinks(TdxBarManager* manager)
    : TCollection(ItemClass<TdxBarPopupMenuLink>(), manager), manager_(manager)
{}

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

bool TdxBarPopupMenuLinks::ShowPopupFor(TNativeWindow* wnd, const TPoint& screen)
{
    return dxBarWindowServices().ShowLinkedPopupMenu(this, wnd, screen);
}
