#include "dxBarItemLink.h"

#include "Graphics.h"
#include "dxBarItem.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarStrs.h"
#include "dxBarWindowsInterface.h"

#include <algorithm>

// ---------------------------------------------------------------- TdxBarItemLink

TdxBarItemLink::TdxBarItemLink(TCollection* collection) : TCollectionItem(collection)
{
    userGlyph_ = new TBitmap;
    if (TdxBarItemLinks* links = Links()) {
        if (TdxBarManager* manager = links->BarManager()) useCount_ = manager->InitialUseCount();
        links->recent_.append(this);
    }
}

TdxBarItemLink::~TdxBarItemLink()
{
    DestroyControl();
    if (item_) item_->RemoveLink(this);
    if (TdxBarItemLinks* links = Links()) {
        links->recent_.removeAll(this);
        links->available_.removeAll(this);
        links->canVisible_.removeAll(this);
        links->visible_.removeAll(this);
    }
    FreeAndNil(userGlyph_);
}

TdxBarItemLinks* TdxBarItemLink::Links() const
{
    return static_cast<TdxBarItemLinks*>(Collection());
}

TdxBarManager* TdxBarItemLink::BarManager() const
{
    return Links() ? Links()->BarManager() : nullptr;
}

TCustomdxBarControl* TdxBarItemLink::BarControl() const
{
    return Links() ? Links()->BarControl() : nullptr;
}

bool TdxBarItemLink::BeginGroup() const
{
    TdxBarItemLinks* links = Links();
    if (!links) return beginGroup_;
    const int shown = VisibleIndex();
    if (beginGroup_ && shown != 0) return true;
    if (shown <= 0) return false;
    // A group start hidden by the recent filter carries over to the next shown link.
    const TdxBarItemLink* previous = links->visible_[shown - 1];
    const int from = links->AvailableItems().indexOf(previous);
    const int to = links->AvailableItems().indexOf(this);
    for (int i = from + 1; i < to; ++i)
        if (links->AvailableItems()[i]->beginGroup_) return true;
    return false;
}

void TdxBarItemLink::SetBeginGroup(bool value)
{
    if (value == beginGroup_) return;
    beginGroup_ = value;
    if (control_) control_->RepaintBar();
    LinkChanged();
}

void TdxBarItemLink::SetItem(TdxBarItem* value)
{
    if (value == item_) return;
    if (item_) item_->RemoveLink(this);
    item_ = nullptr;
    if (!value) {
        delete this;
        return;
    }
    TdxBarItemLinks* links = Links();
    auto* ownerItem = links ? qobject_cast<TdxBarItem*>(links->OwnerObject()) : nullptr;
    if (ownerItem && !dxBarCanInsertItem(ownerItem, value)) {
        LinkChanged();
        throw Exception(dxBarStr(dxSBAR_RECURSIVESUBITEMS));
    }
    item_ = value;
    value->AddLink(this);
    if (links) links->RebuildLists();
    auto* ownerComponent = links ? qobject_cast<TComponent*>(links->OwnerObject()) : nullptr;
    if (ownerComponent && !ownerComponent->Loading()) ApplyMostRecentlyUsed();
    LinkChanged();
}

void TdxBarItemLink::SetMostRecentlyUsed(bool value)
{
    if (value == mostRecentlyUsed_) return;
    mostRecentlyUsed_ = value;
    ApplyMostRecentlyUsed();
    if (control_) control_->RepaintBar();
    LinkChanged();
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

void TdxBarItemLink::SetUserCaption(const QString& value)
{
    if (value == userCaption_ && userDefine_.testFlag(udCaption)) return;
    userCaption_ = value;
    userDefine_ |= udCaption;
    if (control_) control_->CaptionChanged();
    LinkChanged();
}

void TdxBarItemLink::SetUserDefine(TdxBarUserDefines value)
{
    if (value == userDefine_) return;
    userDefine_ = value;
    if (!value.testFlag(udCaption)) userCaption_.clear();
    if (!value.testFlag(udGlyph)) {
        TBitmap empty;
        userGlyph_->Assign(&empty);
    }
    if (!value.testFlag(udPaintStyle)) userPaintStyle_ = psStandard;
    if (!value.testFlag(udWidth)) userWidth_ = 0;
    if (control_) {
        control_->CaptionChanged();
        control_->GlyphChanged();
    }
    LinkChanged();
}

void TdxBarItemLink::SetUserGlyph(TBitmap* value)
{
    if (value) {
        userGlyph_->Assign(value);
    } else {
        TBitmap empty;
        userGlyph_->Assign(&empty);
    }
    userDefine_ |= udGlyph;
    if (control_) control_->GlyphChanged();
    LinkChanged();
}

void TdxBarItemLink::SetUserPaintStyle(TdxBarPaintStyle value)
{
    if (value == PaintStyle()) return;
    userPaintStyle_ = value;
    userDefine_ |= udPaintStyle;
    if (control_) control_->PaintStyleChanged();
    LinkChanged();
}

void TdxBarItemLink::SetUserWidth(int value)
{
    value = std::clamp(value, 20, 600);
    if (value == Width()) return;
    userWidth_ = value;
    userDefine_ |= udWidth;
    if (control_) control_->WidthChanged();
    LinkChanged();
}

void TdxBarItemLink::SetVisible(bool value)
{
    TdxBarItemLinks* links = Links();
    TdxBarManager* manager = BarManager();
    if ((manager && manager->IsLoading()) || (links && links->Assigning())) {
        pendingVisible_ = value;
        return;
    }
    if (value == visible_) return;
    visible_ = value;
    if (links && !(manager && manager->IsDesigning())) links->RebuildLists();
    if (value) {
        ItemClicked(false);
        if (links && links->BarControl()) {
            if (!control_) CreateControl();
            if (control_) control_->RepaintBar();
        }
    } else {
        MoveToRecentEnd();
        if (control_) {
            control_->RepaintBar();
            DestroyControl();
        }
    }
    LinkChanged();
}

QString TdxBarItemLink::Caption() const
{
    return userDefine_.testFlag(udCaption) || !item_ ? userCaption_ : item_->Caption();
}

TBitmap* TdxBarItemLink::Glyph() const
{
    return userDefine_.testFlag(udGlyph) || !item_ ? userGlyph_ : item_->Glyph();
}

TdxBarPaintStyle TdxBarItemLink::PaintStyle() const
{
    if (userDefine_.testFlag(udPaintStyle) || !item_) return userPaintStyle_;
    if (auto* button = qobject_cast<TdxBarButton*>(item_.data())) return button->PaintStyle();
    return psStandard;
}

int TdxBarItemLink::Width() const
{
    if (userDefine_.testFlag(udWidth)) return userWidth_;
    if (auto* edit = qobject_cast<TdxBarEdit*>(item_.data())) return edit->Width();
    return 0;
}

int TdxBarItemLink::AvailableIndex() const
{
    return Links() ? int(Links()->available_.indexOf(const_cast<TdxBarItemLink*>(this))) : -1;
}

int TdxBarItemLink::CanVisibleIndex() const
{
    return Links() ? int(Links()->canVisible_.indexOf(const_cast<TdxBarItemLink*>(this))) : -1;
}

int TdxBarItemLink::VisibleIndex() const
{
    return Links() ? int(Links()->visible_.indexOf(const_cast<TdxBarItemLink*>(this))) : -1;
}

int TdxBarItemLink::RecentIndex() const
{
    return Links() ? int(Links()->recent_.indexOf(const_cast<TdxBarItemLink*>(this))) : storedRecentIndex_;
}

void TdxBarItemLink::CreateControl()
{
    if (control_ || !item_ || !BarControl()) return;
    TdxBarItemControlClass* controlClass = dxBarGetItemControlClass(item_->metaObject());
    if (controlClass && controlClass->factory) control_ = controlClass->factory(this);
}

void TdxBarItemLink::DestroyControl()
{
    FreeAndNil(control_);
}

void TdxBarItemLink::UpdateAction()
{
    if (item_ && item_->ActionLink()) item_->ActionLink()->Update();
}

void TdxBarItemLink::Assign(TPersistent* source)
{
    auto* link = qobject_cast<TdxBarItemLink*>(source);
    if (!link) {
        TCollectionItem::Assign(source);
        return;
    }
    data_ = link->data_;
    userCaption_ = link->userCaption_;
    userGlyph_->Assign(link->userGlyph_);
    userPaintStyle_ = link->userPaintStyle_;
    userWidth_ = link->userWidth_;
    SetItem(link->Item());
    SetUserDefine(link->UserDefine());
    SetBeginGroup(link->BeginGroup());
    SetVisible(link->Visible());
}

void TdxBarItemLink::LinkChanged()
{
    TdxBarManager* manager = BarManager();
    if (manager && !manager->IsLoading() && BarControl()) manager->Changed();
}

// ---------------------------------------------------------------- recent order

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
    MoveToRecentPosition(Links() ? int(Links()->recent_.size()) - 1 : -1);
}

void TdxBarItemLink::CopyRecentState(TdxBarItemLink* link)
{
    if (!link) return;
    useCount_ = link->useCount_;
    MoveToRecentPosition(link->RecentIndex());
}

void TdxBarItemLink::ItemClicked(bool count)
{
    if (!item_ || !item_->IsVisibleNow() || !visible_) return;
    MoveToRecentTop(count);
    TdxBarItemLinks* links = Links();
    if (!links || CanVisibleIndex() < 0) return;
    // A use inside a sub menu also counts for the sub item that opened it.
    auto* parent = qobject_cast<TdxBarItem*>(links->OwnerObject());
    if (!parent) return;
    TdxBarItemLink* parentLink = parent->FindLiveLink();
    if (parentLink && parentLink->OriginalItemLink()) parentLink = parentLink->OriginalItemLink();
    if (parentLink && parentLink != this) parentLink->ItemClicked(count);
}

// ---------------------------------------------------------------- TdxBarItemLinks

TdxBarItemLinks::TdxBarItemLinks(TdxBarManager* manager, TPersistent* owner)
    : TCollection(ItemClass<TdxBarItemLink>(), owner), manager_(manager)
{
}

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

TdxBarItemLink* TdxBarItemLinks::WholeLink(TCollectionItem* item) const
{
    // A link joins the recent order at the end of its construction and leaves it at the
    // start of its destruction: an item outside it is not (or no longer) a whole link.
    for (TdxBarItemLink* link : recent_)
        if (static_cast<TCollectionItem*>(link) == item) return link;
    return nullptr;
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
        if (!link->Visible()) continue;
        canVisible_.append(link);
        if (recentLimit_ == -1) visible_.append(link);
    }
    if (designing || recentLimit_ < 1) return;
    for (TdxBarItemLink* link : recent_) {
        if (visible_.size() >= recentLimit_) break;
        if (canVisible_.contains(link)) visible_.append(link);
    }
    std::sort(visible_.begin(), visible_.end(), [this](TdxBarItemLink* a, TdxBarItemLink* b) {
        return canVisible_.indexOf(a) < canVisible_.indexOf(b);
    });
}

void TdxBarItemLinks::SetRecentItemLimit(int limit)
{
    prevRecentLimit_ = recentLimit_;
    recentLimit_ = useRecentItems_ ? limit : -1;
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
        if (sub && sub->ItemLinks() && sub->ItemLinks()->ContainsItem(item, visited))
            return true;
    }
    return false;
}

void TdxBarItemLinks::UpdateActions()
{
    for (TCollectionItem* ci : ItemList())
        if (TdxBarItemLink* link = WholeLink(ci)) link->UpdateAction();
}

void TdxBarItemLinks::Update(TCollectionItem*)
{
    if (destroying_) return;
    RebuildLists();
    if (OnChange) OnChange();
}

TdxBarItem* TdxBarItemLink::Item() const
{
    return item_;
}

TdxBarManager* TdxBarItemLinks::BarManager() const
{
    return manager_;
}

void TdxBarItemLinks::SetBarManager(TdxBarManager* manager)
{
    manager_ = manager;
}
