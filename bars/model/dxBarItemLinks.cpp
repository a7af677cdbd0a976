// TdxBarItemLinks: the ordered links of one owner and their derived lists.
#include "dxBarItemLink.h"

#include "Scope.h"
#include "dxBarInternalItems.h"
#include "dxBarItem.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarServices.h"
#include "dxBarStrs.h"

#include <QPointer>
#include <QSet>
#include <algorithm>

TdxBarItemLinks::TdxBarItemLinks(TdxBarManager* manager, TPersistent* owner)
    : TCollection(ItemClass<TdxBarItemLink>(), owner), manager_(manager)
{}

TdxBarItemLinks::~TdxBarItemLinks()
{
    // Free the links while this class's lists still exist; they leave them as they go.
    destroying_ = true;
    while (Count() > 0) delete Items(Count() - 1);
}

TdxBarItemLink* TdxBarItemLinks::Add()
{
    return static_cast<TdxBarItemLink*>(TCollection::Add());
}

TdxBarItemLink* TdxBarItemLinks::Insert(int index)
{
    return static_cast<TdxBarItemLink*>(TCollection::Insert(std::clamp(index, 0, Count())));
}

TdxBarItemLink* TdxBarItemLinks::Items(int index) const
{
    return static_cast<TdxBarItemLink*>(TCollection::Items(index));
}

TdxBarManager* TdxBarItemLinks::BarManager() const
{
    return manager_;
}

void TdxBarItemLinks::SetBarManager(TdxBarManager* manager)
{
    manager_ = manager;
}

TdxBarItemLink* TdxBarItemLinks::WholeLink(TCollectionItem* item) const
{
    // A link joins the recent order at the end of its construction and leaves it at the
    // start of its destruction: an item outside it is not (or no longer) a whole link.
    return whole_.contains(item) ? static_cast<TdxBarItemLink*>(item) : nullptr;
}

void TdxBarItemLinks::RebuildLists()
{
    available_.clear();
    canVisible_.clear();
    visible_.clear();
    const bool designing = manager_ && manager_->IsDesigning();
    for (TCollectionItem* ci : ItemList()) {
        TdxBarItemLink* link = WholeLink(ci);
        if (!link || !link->Item()) continue;
        if (designing) {
            available_.append(link);
            canVisible_.append(link);
            visible_.append(link);
            continue;
        }
        if (!link->Item()->IsVisibleNow()) continue;
        available_.append(link);
        if (!link->Visible() || link->ReplacedInMenu()) continue;
        canVisible_.append(link);
        // No limit, or a limit of 0 (no link reached the recent threshold): show them all.
        if (recentLimit_ < 1) visible_.append(link);
    }
    if (designing || recentLimit_ < 1) return;
    // The first recentLimit_ links of the recent order that can show, shown in list order.
    QSet<const TdxBarItemLink*> shown;
    const QSet<const TdxBarItemLink*> canShow(canVisible_.cbegin(), canVisible_.cend());
    for (TdxBarItemLink* link : recent_) {
        if (shown.size() >= recentLimit_) break;
        if (canShow.contains(link)) shown.insert(link);
    }
    for (TdxBarItemLink* link : canVisible_)
        if (shown.contains(link)) visible_.append(link);
}

void TdxBarItemLinks::SetRecentItemLimit(int limit)
{
    prevRecentLimit_ = recentLimit_;
    recentLimit_ = UsesRecentItems() ? limit : -1;
    RebuildLists();
}

void TdxBarItemLinks::RestoreRecentItemLimit()
{
    recentLimit_ = prevRecentLimit_;
    RebuildLists();
}

bool TdxBarItemLinks::ContainsItem(TdxBarItem* item) const
{
    QList<const TdxBarItemLinks*> visited;
    return ContainsItem(item, visited);
}

bool TdxBarItemLinks::ContainsItem(TdxBarItem* item, QList<const TdxBarItemLinks*>& visited) const
{
    // Visited collections are skipped, so links streamed into a cycle cannot loop forever.
    if (visited.contains(this)) return false;
    visited.append(this);
    for (TCollectionItem* ci : ItemList()) {
        TdxBarItemLink* link = WholeLink(ci);
        TdxBarItem* shown = link ? link->Item() : nullptr;
        if (!shown) continue;
        if (shown == item) return true;
        auto* sub = qobject_cast<TCustomdxBarSubItem*>(shown);
        if (sub && sub->ItemLinks() && sub->ItemLinks()->ContainsItem(item, visited)) return true;
    }
    return false;
}

void TdxBarItemLinks::UpdateActions()
{
    for (TCollectionItem* ci : ItemList())
        if (TdxBarItemLink* link = WholeLink(ci)) link->UpdateAction();
}

void TdxBarItemLinks::EmptyItemRects()
{
    for (TCollectionItem* ci : ItemList())
        if (TdxBarItemLink* link = WholeLink(ci)) link->SetItemRect(QRect());
}

void TdxBarItemLinks::Update(TCollectionItem*)
{
    if (destroying_) return;
    if (!dxBarWindowServices().HandleLinksChanged(this) && manager_) manager_->Changed();
    RebuildLists();
    if (OnChange) OnChange();
}

void TdxBarItemLinks::Assign(TPersistent* source)
{
    if (!qobject_cast<TdxBarItemLinks*>(source)) {
        TCollection::Assign(source);
        return;
    }
    // The system menu of a maximized MDI child is the manager's, not the source's: keep it.
    TdxBarItem* first = Count() > 0 ? Items(0)->Item() : nullptr;
    QPointer<TdxBarItem> systemMenu = qobject_cast<TSystemMenuSubItem*>(first);
    assigning_ = true;
    TScopeExit finish([this, &systemMenu] { FinishAssign(systemMenu); });
    TCollection::Assign(source);
}

namespace {

// A link left without an item would linger in every walk over the links: it goes, and an
// item it was refused (a sub item that would hold itself) is reported.
void FreeItemless(TdxBarItemLink* link, bool taken)
{
    if (!link->Item()) delete link;
    if (!taken) throw Exception(dxBarStr(dxSBAR_RECURSIVESUBITEMS));
}

}  // namespace

void TdxBarItemLinks::SetLinkItem(TdxBarItemLink* link, TdxBarItem* item)
{
    if (item == link->Item()) return;
    FreeItemless(link, link->AttachItem(item));
}

void TdxBarItemLinks::AssignLink(TdxBarItemLink* link, const TdxBarItemLink* source)
{
    TdxBarItem* item = link->AssignedItem(source);
    // Without an item this placement cannot exist; it is skipped rather than kept empty.
    if (!item) {
        delete link;
        return;
    }
    FreeItemless(link, link->CopyFrom(source, item));
}

void TdxBarItemLinks::FinishAssign(TdxBarItem* systemMenuItem)
{
    assigning_ = false;
    const QList<TCollectionItem*> items = ItemList();
    for (TCollectionItem* ci : items)
        if (TdxBarItemLink* link = WholeLink(ci)) link->SetVisible(link->PendingVisible());
    if (!systemMenuItem) return;
    TdxBarItemLink* link = Add();
    link->SetItem(systemMenuItem);
    link->SetIndex(0);
}
