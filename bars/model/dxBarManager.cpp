#include "dxBarServices.h"
#include "dxBarManager.h"

#include "dxBarBar.h"
#include "dxBarCategories.h"
#include "dxBarItem.h"
#include "dxBarStrs.h"

#include <algorithm>

// ---------------------------------------------------------------- TdxBarManagerList

TdxBarManagerList* TdxBarManagerList::Instance()
{
    static TdxBarManagerList list;
    return &list;
}

TdxBarManager* TdxBarManagerList::Items(int index) const
{
    return index >= 0 && index < managers_.size() ? managers_[index] : nullptr;
}

TdxBarManager* TdxBarManagerList::FindByForm(const TComponent* form) const
{
    if (!form) return nullptr;
    for (TdxBarManager* manager : managers_)
        if (manager->OwnerForm() == form) return manager;
    return nullptr;
}

TdxBarManager* dxBarManagerForOwner(const TComponent* owner)
{
    TdxBarManagerList* list = TdxBarManagerList::Instance();
    if (TdxBarManager* manager = list->FindByForm(owner)) return manager;
    return list->Items(0);
}

// ---------------------------------------------------------------- TdxBarManager

TdxBarManager::TdxBarManager(TComponent* owner) : TComponent(owner)
{
    // A failed check leaves constructionFailed_ set: the destructor then touches nothing.
    CheckOwner(owner);
    constructionFailed_ = false;
    TdxBarManagerList::Instance()->Add(this);
    customizing_.SetDesigning(Designing());
    SetDefaults();
}

TdxBarManager::~TdxBarManager()
{
    if (constructionFailed_) return;
    // Only the hint's own manager stops the hint timers: another manager's hint goes on.
    if (dxBarHintManager() == this) {
        dxBarKillHintTimer();
        dxBarWindowServices().HideHint();
        dxBarKillQuickTimer();
    }
    EndCustomizingQuietly();
    FreeOwned();
}

TdxBarItem* TdxBarManager::GetItem(int index) const
{
    return index >= 0 && index < items_.size() ? items_[index] : nullptr;
}

TdxBarItem* TdxBarManager::ItemByName(const QString& name) const
{
    for (TdxBarItem* item : items_)
        if (item->Name().compare(name, Qt::CaseInsensitive) == 0) return item;
    return nullptr;
}

int TdxBarManager::CategoryCount() const
{
    return categories_ ? categories_->Count() : 0;
}

void TdxBarManager::AddItem(TdxBarItem* item)
{
    if (!items_.contains(item)) items_.append(item);
}

void TdxBarManager::RemoveItem(TdxBarItem* item)
{
    items_.removeAll(item);
    internalItems_.removeAll(item);
}

void TdxBarManager::Changed()
{
    if (Loading() || IsDestroying()) return;
    modified_ = true;
}

void TdxBarManager::SetMenusShowRecentItemsFirst(bool value)
{
    if (value == menusShowRecentItemsFirst_) return;
    menusShowRecentItemsFirst_ = value;
    Changed();
    dxBarCustomizingForm().OptionsChanged();
}

void TdxBarManager::SetMostRecentItemsPercents(int value)
{
    value = std::clamp(value, 0, 100);
    mostRecentItemsPercents_ = value;
    initialUseCount_ = 0;
    if (value < 100)
        for (int n = 1;; ++n)
            if (n * (100 - value) / 100 > 0) {
                initialUseCount_ = n;
                break;
            }
}

void TdxBarManager::DoClickItem(TdxBarItem* item)
{
    if (onClickItem_) onClickItem_(this, item);
}

void TdxBarManager::ItemChanged(TdxBarItem* item)
{
    if (Loading() || IsDestroying() || !item || item->Category() < 0) return;
    if (dxBarCustomizingForm().Exists()) dxBarCustomizingForm().ItemsChanged();
}

void TdxBarManager::ItemCategoryChanged(TdxBarItem* item)
{
    if (item->Category() >= 0 && IsDesigning() && IsCustomizing() && !Loading() && !IsDestroying())
        dxBarCustomizingForm().ItemsChanged();
}
