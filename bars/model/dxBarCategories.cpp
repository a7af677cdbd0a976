// The manager's categories: the list with its records and renumbering, its streamed values,
// and the manager's per-category values.
#include "dxBarCategories.h"

#include "Scope.h"
#include "Streaming.h"
#include "dxBarBar.h"
#include "dxBarItem.h"
#include "dxBarItemLink.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

#include <algorithm>

namespace {

// The manager's Loaded runs before its items': an item still marked loading would only
// remember the value, so it is set as on a loaded item.
void SetItemVisible(TdxBarItem* item, TdxBarItemVisible value)
{
    dxBarRunAsLoaded(item, [item, value] { item->SetVisible(value); });
}

}  // namespace

// ---------------------------------------------------------------- TdxBarManagerCategories

TdxBarManagerCategories::TdxBarManagerCategories(TdxBarManager* manager) : manager_(manager) {}

const TdxBarCategoryRecord* TdxBarManagerCategories::Record(int index) const
{
    if (index < 0 || index >= records_.size() || !records_[index]) return nullptr;
    return &*records_[index];
}

TdxBarCategoryRecord& TdxBarManagerCategories::EnsureRecord(int index)
{
    // Strings added by a sorted insertion bypass Insert: catch up before indexing.
    while (records_.size() < Count()) records_.append(std::nullopt);
    std::optional<TdxBarCategoryRecord>& record = records_[index];
    if (!record) record.emplace();
    return *record;
}

void TdxBarManagerCategories::ShiftItems(int first, int last, int delta)
{
    if (!manager_) return;
    for (TdxBarItem* item : manager_->ItemList())
        if (item->Category() >= first && item->Category() <= last)
            manager_->SetItemCategoryDirect(item, item->Category() + delta);
}

void TdxBarManagerCategories::Insert(int index, const QString& s)
{
    const bool renumber = !moving_ && !Sorted() && index >= 0 && index < Count();
    TStringList::Insert(index, s);
    if (renumber) ShiftItems(index, Count() - 2, 1);
    if (index >= 0 && index <= records_.size()) records_.insert(index, std::nullopt);
}

void TdxBarManagerCategories::Delete(int index)
{
    if (moving_) {
        TStringList::Delete(index);
        if (index >= 0 && index < records_.size()) records_.removeAt(index);
        return;
    }
    if (index < 0 || index >= Count()) return;
    if (manager_) {
        QList<TdxBarItem*> items;
        manager_->GetAllItemsByCategory(index, items);
        for (TdxBarItem* item : items)
            if (manager_->ItemList().contains(item)) delete item;
    }
    ShiftItems(index + 1, Count() - 1, -1);
    if (index < records_.size()) records_.removeAt(index);
    TStringList::Delete(index);
    if (Count() == 0) Add(dxBarStr(dxSBAR_DEFAULTCATEGORYNAME));
}

void TdxBarManagerCategories::Clear()
{
    records_.clear();
    TStringList::Clear();
}

void TdxBarManagerCategories::Exchange(int index1, int index2)
{
    if (index1 < 0 || index1 >= Count() || index2 < 0 || index2 >= Count()) return;
    if (manager_ && index1 != index2) {
        for (TdxBarItem* item : manager_->ItemList()) {
            if (item->Category() == index1)
                manager_->SetItemCategoryDirect(item, index2);
            else if (item->Category() == index2)
                manager_->SetItemCategoryDirect(item, index1);
        }
    }
    TStringList::Exchange(index1, index2);
    while (records_.size() < Count()) records_.append(std::nullopt);
    records_.swapItemsAt(index1, index2);
}

void TdxBarManagerCategories::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex || curIndex < 0 || curIndex >= Count() || newIndex < 0 || newIndex >= Count()) return;
    constexpr int kParked = -1000;
    if (manager_) {
        for (TdxBarItem* item : manager_->ItemList())
            if (item->Category() == curIndex) manager_->SetItemCategoryDirect(item, kParked);
        if (curIndex < newIndex)
            ShiftItems(curIndex + 1, newIndex, -1);
        else
            ShiftItems(newIndex, curIndex - 1, 1);
        for (TdxBarItem* item : manager_->ItemList())
            if (item->Category() == kParked) manager_->SetItemCategoryDirect(item, newIndex);
    }
    std::optional<TdxBarCategoryRecord> record = curIndex < records_.size() ? records_[curIndex] : std::nullopt;
    {
        TRestore moving(moving_, true);
        TStringList::Move(curIndex, newIndex);
    }
    if (newIndex < records_.size()) records_[newIndex] = record;
}

void TdxBarManagerCategories::Assign(TPersistent* source)
{
    TStringList::Assign(source);
    auto* other = qobject_cast<TdxBarManagerCategories*>(source);
    if (!other || other == this) return;
    records_ = other->records_;
    records_.resize(Count());
}

void TdxBarManagerCategories::Changed()
{
    TStringList::Changed();
    if (manager_) manager_->Changed();
}

// ---------------------------------------------------------------- streaming

void TdxBarManagerCategories::DefineProperties(TFiler* filer)
{
    TStringList::DefineProperties(filer);
    filer->DefineProperty(
        QStringLiteral("ItemsVisibles"), [this](TReader* reader) { ReadItemsVisibles(reader); },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (int i = 0; i < Count(); ++i)
                writer->WriteInteger(manager_ ? manager_->GetCategoryItemsVisible(i) : ivAlways);
            writer->WriteListEnd();
        },
        true);
    filer->DefineProperty(
        QStringLiteral("Visibles"), [this](TReader* reader) { ReadVisibles(reader); },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (int i = 0; i < Count(); ++i) writer->WriteBoolean(!manager_ || manager_->GetCategoryVisible(i));
            writer->WriteListEnd();
        },
        true);
}

void TdxBarManagerCategories::ReadItemsVisibles(TReader* reader)
{
    reader->ReadListBegin();
    // Values past the category count are read and dropped; a value that names no
    // visibility leaves its category as it is.
    for (int i = 0; !reader->EndOfList(); ++i) {
        const int value = reader->ReadInteger();
        if (manager_ && i < Count() && value >= ivNever && value <= ivAlways)
            manager_->SetCategoryItemsVisible(i, TdxBarItemVisible(value));
    }
    reader->ReadListEnd();
}

void TdxBarManagerCategories::ReadVisibles(TReader* reader)
{
    reader->ReadListBegin();
    for (int i = 0; !reader->EndOfList(); ++i) {
        const bool value = reader->ReadBoolean();
        if (manager_ && i < Count()) manager_->SetCategoryVisible(i, value);
    }
    reader->ReadListEnd();
}

// ---------------------------------------------------------------- the manager's category values

TdxBarManagerCategories* TdxBarManager::Categories() const
{
    return categories_;
}

void TdxBarManager::SetItemCategoryDirect(TdxBarItem* item, int category)
{
    item->category_ = category;
}

TdxBarItemVisible TdxBarManager::GetCategoryItemsVisible(int index) const
{
    if (index < 0 || index >= CategoryCount()) return ivNever;
    const TdxBarCategoryRecord* record = categories_->Record(index);
    return record ? record->itemsVisible : ivAlways;
}

bool TdxBarManager::GetCategoryVisible(int index) const
{
    if (index < 0 || index >= CategoryCount()) return false;
    const TdxBarCategoryRecord* record = categories_->Record(index);
    return record ? record->visible : true;
}

void TdxBarManager::SetCategoryVisible(int index, bool value)
{
    if (index < 0 || index >= CategoryCount() || value == GetCategoryVisible(index)) return;
    categories_->EnsureRecord(index).visible = value;
    Changed();
}

void TdxBarManager::SetCategoryItemsVisible(int index, TdxBarItemVisible value)
{
    if (index < 0 || index >= CategoryCount()) return;
    TdxBarCategoryRecord& record = categories_->EnsureRecord(index);
    record.loadedItemsVisible = value;
    if (Loading()) return;
    const TdxBarItemVisible old = record.itemsVisible;
    record.itemsVisible = value;

    const bool autoHide = !IsDesigning() && autoHideEmptyBars_ && bars_;
    QList<bool> hadVisibleLinks;
    if (autoHide)
        for (int i = 0; i < bars_->Count(); ++i)
            hadVisibleLinks << (bars_->Items(i)->ItemLinks()->VisibleItemCount() > 0);
    {
        // Bars hidden for want of shown links go in one update.
        TdxBarUpdateLockScope lock(autoHide ? this : nullptr);
        QList<TdxBarItem*> items;
        GetAllItemsByCategory(index, items);
        if (value == ivAlways) std::reverse(items.begin(), items.end());
        for (TdxBarItem* item : items)
            if (items_.contains(item) && item->Visible() == old) SetItemVisible(item, value);
        if (autoHide) AutoHideBars(hadVisibleLinks, value);
    }
    if (value != old) Changed();
}

void TdxBarManager::AutoHideBars(const QList<bool>& hadVisibleLinks, TdxBarItemVisible value)
{
    for (int i = 0; i < bars_->Count() && i < hadVisibleLinks.size(); ++i) {
        TdxBar* bar = bars_->Items(i);
        const bool hasVisibleLinks = bar->ItemLinks()->VisibleItemCount() > 0;
        if (!hasVisibleLinks && hadVisibleLinks[i] && value == ivNever) {
            bar->SetVisible(false);
            bar->SetAutoHidden(true);
        } else if (bar->AutoHidden() && hasVisibleLinks && value == ivAlways) {
            bar->SetVisible(true);
            bar->SetAutoHidden(false);
        }
    }
}

void TdxBarManager::ApplyLoadedCategories()
{
    for (int i = 0; i < CategoryCount(); ++i)
        if (const TdxBarCategoryRecord* record = categories_->Record(i))
            SetCategoryItemsVisible(i, record->loadedItemsVisible);
}

int TdxBarManager::GetCategoryRealIndex(int index) const
{
    if (IsDesigning()) return index;
    if (index < 0) return -1;
    for (int i = 0; i < CategoryCount(); ++i)
        if (GetCategoryVisible(i) && index-- == 0) return i;
    return -1;
}
