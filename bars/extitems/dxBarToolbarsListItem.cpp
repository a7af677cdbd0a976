#include "dxBarToolbarsListItem.h"

#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarTempItems.h"

TdxBarItemControlClass TdxBarToolbarsListItemControlClass{
    "TdxBarToolbarsListItemControl",
    [](TdxBarItemLink* link) -> TdxBarItemControl* { return new TdxBarToolbarsListItemControl(link); }};

void TdxBarToolbarsListItemControl::CreateSubMenuControl()
{
    TdxBarManager* manager = BarManager();
    TCustomdxBarSubItem* item = SubItem();
    TdxBarItemLinks* links = item ? item->ItemLinks() : nullptr;
    if (manager && links && !manager->IsCustomizing() && !SubMenuControl()) {
        // The list of the moment replaces the last one, whose items go once unlinked.
        links->Clear();
        dxBarFreeUnusedTempItems();
        manager->CreateToolbarsListItems(links);
    }
    TdxBarSubItemControl::CreateSubMenuControl();
}
