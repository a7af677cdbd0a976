#include "dxBarItemLink.h"

#include "ExceptionBarrier.h"
#include "Graphics.h"
#include "dxBarBar.h"
#include "dxBarItem.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarServices.h"
#include "dxBarStrs.h"

#include <algorithm>
#include <functional>

namespace {

bool assignByName = false;

}  // namespace

bool dxBarAssignLinksByName()
{
    return assignByName;
}

TdxBarAssignLinksByNameScope::TdxBarAssignLinksByNameScope() : previous_(assignByName)
{
    assignByName = true;
}

TdxBarAssignLinksByNameScope::~TdxBarAssignLinksByNameScope()
{
    assignByName = previous_;
}

// ---------------------------------------------------------------- TdxBarItemLink

TdxBarItemLink::TdxBarItemLink(TCollection* collection) : TCollectionItem(collection)
{
    userGlyph_ = new TBitmap;
    TdxBarItemLinks* links = Links();
    if (!links) return;
    links->recent_.append(this);
    links->whole_.insert(this);
    TdxBarManager* manager = links->BarManager();
    if (!manager) return;
    useCount_ = manager->InitialUseCount();
    if (!manager->IsLoading() && manager->OnItemLinkAdd)
        RunGuarded(nullptr, [manager, this] { manager->OnItemLinkAdd(manager, this); });
}

TdxBarItemLink::~TdxBarItemLink()
{
    TdxBarItemLinks* links = Links();
    QPointer<TdxBarManager> manager = BarManager();
    if (manager && !manager->IsDestroying() && manager->OnItemLinkDelete)
        RunGuarded(nullptr, [&manager, this] { manager->OnItemLinkDelete(manager, this); });

    // A dragged link leaves its group start behind, so the group layout survives the move.
    QPointer<TdxBarItemLink> handOverTo;
    bool handOverValue = false;
    if (manager && manager->DraggedLink() == this) {
        manager->SetDraggedLink(nullptr);
        const int pos = links ? int(links->canVisible_.indexOf(this)) : -1;
        if (pos >= 0 && pos + 1 < links->canVisible_.size()) {
            TdxBarItemLink* next = links->canVisible_[pos + 1];
            if (pos == 0 && next->beginGroup_) {
                handOverTo = next;
            } else if (beginGroup_ && !next->beginGroup_) {
                handOverTo = next;
                handOverValue = true;
            }
        }
    }

    TCustomdxBarControl* window = BarControl();
    TdxBarWindowServices& services = dxBarWindowServices();
    if (control_) {
        if (window && services.IsBarWindowLive(window) && services.BarWindowSelectedControl(window) == control_)
            services.DeselectBarWindowControl(window);
        if (manager && manager->SelectedControl() == control_) manager->SetSelectedControl(nullptr);
    }
    DestroyControl();
    if (item_) item_->RemoveLink(this);
    if (links) {
        links->recent_.removeAll(this);
        links->whole_.remove(this);
        links->available_.removeAll(this);
        links->canVisible_.removeAll(this);
        links->visible_.removeAll(this);
    }
    FreeAndNil(userGlyph_);
    if (!links) return;
    const bool collectionAlive = !links->destroying_;
    RunGuarded(nullptr, [this] { SetCollection(nullptr); });
    if (!collectionAlive) return;
    if (handOverTo) RunGuarded(nullptr, [&handOverTo, handOverValue] { handOverTo->SetBeginGroup(handOverValue); });
    if (window && services.IsBarWindowLive(window))
        RunGuarded(nullptr, [&services, window] { services.RelayoutBarWindow(window); });
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
    if ((beginGroup_ || groupStartWhileExpanded_) && shown != 0) return true;
    if (shown <= 0) return false;
    // A group start hidden by the recent filter carries over to the next shown link.
    const TdxBarItemLink* previous = links->visible_[shown - 1];
    const int from = int(links->available_.indexOf(previous));
    const int to = int(links->available_.indexOf(this));
    for (int i = from + 1; i < to; ++i)
        if (links->available_[i]->beginGroup_) return true;
    return false;
}

void TdxBarItemLink::SetGroupStartWhileExpanded(bool value)
{
    if (value == groupStartWhileExpanded_) return;
    groupStartWhileExpanded_ = value;
    if (control_) control_->RepaintBar();
}

void TdxBarItemLink::SetBeginGroup(bool value)
{
    if (value == beginGroup_) return;
    beginGroup_ = value;
    if (control_) control_->RepaintBar();
    LinkChanged();
}

TdxBarItem* TdxBarItemLink::Item() const
{
    return item_;
}

void TdxBarItemLink::SetItem(TdxBarItem* value)
{
    if (TdxBarItemLinks* links = Links())
        links->SetLinkItem(this, value);
    else
        AttachItem(value);
}

bool TdxBarItemLink::AttachItem(TdxBarItem* value)
{
    if (value == item_) return true;
    if (item_) item_->RemoveLink(this);
    item_ = nullptr;
    if (!value) return true;
    TdxBarItemLinks* links = Links();
    auto* ownerItem = links ? qobject_cast<TdxBarItem*>(links->OwnerObject()) : nullptr;
    if (ownerItem && !dxBarCanInsertItem(ownerItem, value)) {
        LinkChanged();
        return false;
    }
    item_ = value;
    value->AddLink(this);
    if (links) links->RebuildLists();
    auto* ownerComponent = links ? qobject_cast<TComponent*>(links->OwnerObject()) : nullptr;
    if (ownerComponent && !ownerComponent->Loading()) ApplyMostRecentlyUsed();
    LinkChanged();
    return true;
}

void TdxBarItemLink::SetMostRecentlyUsed(bool value)
{
    if (value == mostRecentlyUsed_) return;
    mostRecentlyUsed_ = value;
    ApplyMostRecentlyUsed();
    if (control_) control_->RepaintBar();
    LinkChanged();
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
    value = std::clamp(value, dxBarMinLinkWidth, dxBarMaxLinkWidth);
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

void TdxBarItemLink::SetReplacedInMenu(bool value)
{
    if (replacedInMenu_ == value) return;
    replacedInMenu_ = value;
    if (TdxBarItemLinks* links = Links()) links->RebuildLists();
}

void TdxBarItemLink::SetStoredRecentState(int recentIndex, int useCount)
{
    storedRecentIndex_ = recentIndex;
    storedUseCount_ = useCount;
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
    auto* bar = qobject_cast<TdxBar*>(Links()->OwnerObject());
    const bool vertical = bar && (bar->DockingStyle() == dsLeft || bar->DockingStyle() == dsRight);
    // A rotated vertical toolbar cannot host an editor: the item shows as a button there.
    if (vertical && bar->RotateWhenVertical() && qobject_cast<TdxBarWindowItem*>(item_.data()))
        controlClass = &TdxBarButtonControlClass;
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
    if (!link)
        TCollectionItem::Assign(source);
    else if (TdxBarItemLinks* links = Links())
        links->AssignLink(this, link);
    else if (TdxBarItem* item = AssignedItem(link))
        CopyFrom(link, item);
}

TdxBarItem* TdxBarItemLink::AssignedItem(const TdxBarItemLink* source) const
{
    TdxBarItem* item = source->Item();
    if (!item || !dxBarAssignLinksByName()) return item;
    TdxBarManager* manager = BarManager();
    TComponent* form = manager ? manager->OwnerForm() : nullptr;
    return form ? qobject_cast<TdxBarItem*>(form->FindComponent(item->Name())) : nullptr;
}

bool TdxBarItemLink::CopyFrom(const TdxBarItemLink* source, TdxBarItem* item)
{
    data_ = source->data_;
    userCaption_ = source->userCaption_;
    userGlyph_->Assign(source->userGlyph_);
    userPaintStyle_ = source->userPaintStyle_;
    userWidth_ = source->userWidth_;
    if (!AttachItem(item)) return false;
    SetUserDefine(source->UserDefine());
    SetBeginGroup(source->BeginGroup());
    SetVisible(source->Visible());
    return true;
}

void TdxBarItemLink::LinkChanged()
{
    TdxBarItemLinks* links = Links();
    TdxBarManager* manager = BarManager();
    TCustomdxBarControl* window = BarControl();
    if (links && window && dxBarWindowServices().IsBarWindowCustomizing(window)) {
        if (!dxBarWindowServices().HandleLinksChanged(links) && manager) manager->Changed();
    }
    if (manager && !manager->IsLoading() && manager->OnItemLinkChange) manager->OnItemLinkChange(manager, this);
}
