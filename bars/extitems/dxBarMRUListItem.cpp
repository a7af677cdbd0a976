#include "dxBarMRUListItem.h"

#include "Strings.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarServices.h"

#include <QPointer>

TdxBarMRUListItem::TdxBarMRUListItem(TComponent* owner) : TdxBarListItem(owner) {}

void TdxBarMRUListItem::SetMaxItemCount(int value)
{
    value = std::max(value, 0);
    if (value == maxItemCount_) return;
    maxItemCount_ = value;
    Trim();
}

void TdxBarMRUListItem::Trim()
{
    if (maxItemCount_ == 0) return;
    TStrings* items = Items();
    while (items->Count() > maxItemCount_) items->Delete(items->Count() - 1);
    if (ItemIndex() >= items->Count()) SetItemIndex(-1);
}

void TdxBarMRUListItem::RemoveItem(const QString& text, TObject* object)
{
    TStrings* items = Items();
    const int index = text.isEmpty() ? items->IndexOfObject(object) : items->IndexOf(text);
    if (index >= 0) items->Delete(index);
}

void TdxBarMRUListItem::DoClick()
{
    QPointer<TdxBarMRUListItem> self(this);
    TdxBarListItem::DoClick();
    if (!self) return;
    // A click on the item's own link (a toolbar's, opening its menu) chose no entry.
    for (TdxBarItemLink* link : LinkList())
        if (link->Control() && link->Control()->IsActive()) return;
    TdxBarManager* manager = BarManager();
    if (!removeItemOnClick_ || (manager && manager->IsCustomizing())) return;
    const int chosen = ItemIndex();
    if (chosen < 0 || chosen >= Items()->Count()) return;
    Items()->Delete(chosen);
    SetItemIndex(-1);
}
