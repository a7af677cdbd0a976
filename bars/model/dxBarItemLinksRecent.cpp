// The recent order of item links: use counts, the recent-items rule of shortened menus,
// and the bookkeeping of clicks up the chain of menus that opened a command.
#include "dxBarItemLink.h"

#include "dxBarBar.h"
#include "dxBarItem.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarServices.h"
#include "SysParams.h"

#include <algorithm>

// ---------------------------------------------------------------- TdxBarItemLink

void TdxBarItemLink::MoveToRecentPosition(int position)
{
    TdxBarItemLinks* links = Links();
    if (!links) {
        storedRecentIndex_ = position;
        return;
    }
    const int from = int(links->recent_.indexOf(this));
    if (from < 0) return;
    position = std::clamp(position, 0, int(links->recent_.size()) - 1);
    links->recent_.move(from, position);
    links->RebuildLists();
}

void TdxBarItemLink::MoveToRecentTop(bool count)
{
    MoveToRecentPosition(0);
    if (count) ++useCount_;
}

void TdxBarItemLink::MoveToRecentEnd()
{
    const bool wasShown = VisibleIndex() >= 0;
    MoveToRecentPosition(Links() ? int(Links()->recent_.size()) - 1 : -1);
    TdxBarManager* manager = BarManager();
    // The toolbar may now show another link where this one was.
    if (wasShown && manager && manager->Style() != bmsStandard && IsOnToolbarWindow())
        dxBarWindowServices().PostBarWindowRelayout(BarControl());
}

void TdxBarItemLink::CopyRecentState(TdxBarItemLink* link)
{
    if (!link) return;
    useCount_ = link->useCount_;
    MoveToRecentPosition(link->RecentIndex());
}

void TdxBarItemLink::SaveRecentIndex()
{
    savedRecentIndex_ = RecentIndex();
}

void TdxBarItemLink::RestoreRecentIndex()
{
    MoveToRecentPosition(savedRecentIndex_);
}

void TdxBarItemLink::ApplyMostRecentlyUsed()
{
    if (mostRecentlyUsed_) {
        useCount_ = BarManager() ? BarManager()->InitialUseCount() : 0;
        ItemClicked(false);
    } else {
        useCount_ = 0;
        MoveToRecentEnd();
    }
}

bool TdxBarItemLink::IsOnToolbarWindow() const
{
    return BarControl() && qobject_cast<TdxBar*>(Links()->OwnerObject());
}

TdxBarItem* TdxBarItemLink::ParentItem() const
{
    TPersistent* owner = Links() ? Links()->OwnerObject() : nullptr;
    if (!owner) return nullptr;
    if (auto* sub = qobject_cast<TdxBarItem*>(owner)) return sub;
    if (owner->inherits("TdxBarPopupMenu")) return dxBarWindowServices().PopupMenuDropDownItem(owner);
    return nullptr;
}

void TdxBarItemLink::ItemClicked(bool count)
{
    QList<const TdxBarItemLinks*> visited;
    ItemClicked(count, visited);
}

void TdxBarItemLink::ItemClicked(bool count, QList<const TdxBarItemLinks*>& visited)
{
    if (!item_ || !item_->IsVisibleNow() || !visible_) return;
    TdxBarItemLinks* links = Links();
    // A drop-down menu may hold the button that opens it: each collection counts once.
    if (links) {
        if (visited.contains(links)) return;
        visited.append(links);
    }
    const bool wasShown = VisibleIndex() >= 0;
    MoveToRecentTop(count);
    if (!links || CanVisibleIndex() < 0) return;
    TdxBarManager* manager = BarManager();
    auto* bar = qobject_cast<TdxBar*>(links->OwnerObject());
    // A docked toolbar that hid this link for lack of recent use shows it again.
    if (!wasShown && manager && manager->Style() != bmsStandard && bar && links->BarControl() &&
        bar->DockingStyle() != dsNone)
        dxBarWindowServices().PostBarWindowRelayout(links->BarControl());
    TdxBarItem* parent = ParentItem();
    TdxBarItemLink* parentLink = parent ? parent->FindLiveLink() : nullptr;
    if (parentLink && parentLink->OriginalItemLink()) parentLink = parentLink->OriginalItemLink();
    if (parentLink) parentLink->ItemClicked(count, visited);
}

// ---------------------------------------------------------------- TdxBarItemLinks

bool TdxBarItemLinks::UsesRecentItems() const
{
    if (!manager_ || !manager_->MenusShowRecentItemsFirst()) return false;
    QList<const TdxBarItemLinks*> visited;
    const TdxBarItemLinks* links = this;
    for (;;) {
        visited.append(links);
        const TPersistent* owner = links->Owner();
        if (owner && (qobject_cast<const TdxBar*>(owner) || owner->inherits("TdxBarPopupMenu")))
            return links->useRecentItems_;
        const TdxBarItemLinks* parent =
            links->barControl_ ? dxBarWindowServices().ParentBarWindowLinks(links->barControl_) : nullptr;
        if (!parent || visited.contains(parent)) return links->useRecentItems_;
        links = parent;
    }
}

int TdxBarItemLinks::RecentItemCount() const
{
    if (!UsesRecentItems() || canVisible_.isEmpty()) return -1;
    int low = canVisible_.first()->UseCount();
    int high = low;
    for (const TdxBarItemLink* link : canVisible_) {
        low = std::min(low, link->UseCount());
        high = std::max(high, link->UseCount());
    }
    const int percents = manager_ ? manager_->MostRecentItemsPercents() : 0;
    const int threshold = low + MulDiv(high - low, 100 - percents, 100);
    int answer = 0;
    const int last = std::min(CanVisibleItemCount(), int(recent_.size())) - 1;
    for (int pos = last; pos >= 0; --pos) {
        const TdxBarItemLink* link = recent_[pos];
        if (link->Item() && link->UseCount() >= threshold && link->Links() == this) {
            answer = pos + 1;
            break;
        }
    }
    return answer == CanVisibleItemCount() ? -1 : answer;
}

void TdxBarItemLinks::PackRecentOrder()
{
    std::stable_partition(recent_.begin(), recent_.end(),
                          [this](TdxBarItemLink* link) { return canVisible_.contains(link); });
    RebuildLists();
}

void TdxBarItemLinks::AfterLoad(bool applyVisibility)
{
    // Copies: applying a state may free nothing, but rebuilds the derived lists.
    const QList<TCollectionItem*> items = ItemList();
    for (int i = int(items.size()) - 1; i >= 0; --i)
        if (TdxBarItemLink* link = WholeLink(items[i]); link && link->Item()) link->ApplyMostRecentlyUsed();
    if (applyVisibility)
        for (int i = int(items.size()) - 1; i >= 0; --i)
            if (TdxBarItemLink* link = WholeLink(items[i])) link->SetVisible(link->PendingVisible());
    for (int pos = 0; pos < Count(); ++pos) {
        for (TCollectionItem* ci : ItemList()) {
            TdxBarItemLink* link = WholeLink(ci);
            if (!link || link->storedRecentIndex_ != pos) continue;
            link->useCount_ = link->storedUseCount_;
            link->MoveToRecentPosition(pos);
            link->storedRecentIndex_ = -1;
        }
    }
}

void TdxBarItemLinks::AssignRecentState(TdxBarItemLinks* links)
{
    if (!links) return;
    const int n = std::min(Count(), links->Count());
    for (int i = 0; i < n; ++i) Items(i)->SetMostRecentlyUsed(links->Items(i)->MostRecentlyUsed());
    AfterLoad(false);
    PackRecentOrder();
}
