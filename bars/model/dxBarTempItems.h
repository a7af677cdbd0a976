#pragma once
// Items the library makes on the fly for its own popups (the toolbars list, the bar
// customizing popup): one library-wide list. An item leaves it when it is freed; every popup
// construction first frees the items no link uses any more, and the library's end frees all.
class TdxBarItem;
class TdxBarManager;

// Lists item (which has no owner) as temporary.
void dxBarAddTempItem(TdxBarItem* item);
// Frees the listed items that no link uses.
void dxBarFreeUnusedTempItems();
// Frees every listed item.
void dxBarFreeTempItems();
int dxBarTempItemCount();

// A new temporary item of class T for manager: no owner, internal (no category).
template <class T>
T* dxBarCreateTempItem(TdxBarManager* manager)
{
    auto* item = new T(nullptr);
    item->SetBarManager(manager);
    dxBarAddTempItem(item);
    return item;
}
