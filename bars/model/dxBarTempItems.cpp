#include "dxBarTempItems.h"

#include "dxBarItem.h"

#include <QList>
#include <QPointer>

namespace {

QList<QPointer<TdxBarItem>>& TempItems()
{
    static QList<QPointer<TdxBarItem>> items;
    return items;
}

void FreeTempItems(bool unusedOnly)
{
    // Freeing an item may free others (their links go): take one at a time.
    QList<QPointer<TdxBarItem>>& items = TempItems();
    items.removeAll(nullptr);
    for (int i = items.size() - 1; i >= 0; --i) {
        if (i >= items.size()) continue;
        QPointer<TdxBarItem> item = items[i];
        if (!item || (unusedOnly && item->LinkCount() > 0)) continue;
        items.removeAt(i);
        delete item.data();
    }
    items.removeAll(nullptr);
}

}  // namespace

void dxBarAddTempItem(TdxBarItem* item)
{
    if (item && !TempItems().contains(item)) TempItems() << item;
}

void dxBarFreeUnusedTempItems()
{
    FreeTempItems(true);
}

void dxBarFreeTempItems()
{
    FreeTempItems(false);
}

int dxBarTempItemCount()
{
    TempItems().removeAll(nullptr);
    return int(TempItems().size());
}
