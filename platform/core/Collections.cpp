#include "Collections.h"

#include "Scope.h"

#include <QMetaProperty>

// ---- TCollectionItem ----

TCollectionItem::TCollectionItem(TCollection* collection)
{
    if (collection) collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem()
{
    if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* value)
{
    if (value == collection_) return;
    if (collection_) collection_->RemoveItem(this);
    if (value) value->InsertItem(this);
}

int TCollectionItem::Index() const
{
    return collection_ ? int(collection_->items_.indexOf(const_cast<TCollectionItem*>(this))) : -1;
}

void TCollectionItem::SetIndex(int value)
{
    if (collection_) collection_->MoveItem(this, value);
}

QString TCollectionItem::DisplayName() const
{
    return ClassName();
}

void TCollectionItem::SetDisplayName(const QString& /*value*/)
{
    Changed(false);
}

QString TCollectionItem::GetNamePath() const
{
    if (!collection_) return ClassName();
    return QStringLiteral("%1[%2]").arg(collection_->GetNamePath()).arg(Index());
}

void TCollectionItem::Changed(bool allItems)
{
    if (collection_) collection_->ItemChanged(allItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() const
{
    return collection_;
}

// ---- TCollection ----

TCollection::TCollection(TCollectionItemFactory itemFactory, TPersistent* owner)
    : itemFactory_(std::move(itemFactory)), owner_(owner)
{}

TCollection::~TCollection()
{
    destroying_ = true;
    // Each item leaves the list from its own destructor, so it can still reach its
    // collection (and the collection's owner) while it is freed.
    while (!items_.isEmpty()) delete items_.last();
}

TCollectionItem* TCollection::Add()
{
    if (!itemFactory_) throw EListError(QStringLiteral("%1 has no item class").arg(ClassName()));
    TCollectionItem* item = itemFactory_(this);
    // A factory may build the item without the collection; it still belongs here.
    if (item && item->collection_ != this) item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int index)
{
    TUpdateScope update(this);
    TCollectionItem* item = Add();
    if (item) item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    CheckIndex(index);
    delete items_.at(index);
}

void TCollection::Clear()
{
    if (items_.isEmpty()) return;
    BeginUpdate();
    while (!items_.isEmpty()) delete items_.last();
    EndUpdate();
}

TCollectionItem* TCollection::Items(int index) const
{
    CheckIndex(index);
    return items_.at(index);
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (TCollectionItem* item : items_)
        if (item->id_ == id) return item;
    return nullptr;
}

void TCollection::BeginUpdate()
{
    ++updateCount_;
}

void TCollection::EndUpdate()
{
    if (updateCount_ <= 0) return;
    if (--updateCount_ == 0) Changed();
}

void TCollection::Assign(TPersistent* source)
{
    auto* other = qobject_cast<TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    TUpdateScope update(this);
    Clear();
    for (TCollectionItem* item : other->items_) {
        TCollectionItem* copy = Add();
        if (copy) copy->Assign(item);
    }
}

// "Owner.Property" when the owner publishes this collection, else the class name.
QString TCollection::GetNamePath() const
{
    if (!owner_) return ClassName();
    const QString ownerPath = owner_->GetNamePath();
    const QMetaObject* mo = owner_->metaObject();
    for (int i = 0; i < mo->propertyCount(); ++i) {
        const QMetaProperty p = mo->property(i);
        if (!(p.metaType().flags() & QMetaType::PointerToQObject)) continue;
        if (p.read(owner_).value<QObject*>() == this)
            return ownerPath.isEmpty() ? QString::fromLatin1(p.name())
                                       : ownerPath + QLatin1Char('.') + QString::fromLatin1(p.name());
    }
    return ClassName();
}

void TCollection::Changed()
{
    if (updateCount_ == 0 && !destroying_) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item)
{
    items_.append(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    items_.removeOne(item);
    item->collection_ = nullptr;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* item, int newIndex)
{
    const int current = int(items_.indexOf(item));
    if (current < 0) return;
    newIndex = qBound(0, newIndex, int(items_.size()) - 1);
    if (newIndex == current) return;
    items_.move(current, newIndex);
    Changed();
}

void TCollection::ItemChanged(TCollectionItem* item)
{
    if (updateCount_ == 0 && !destroying_) Update(item);
}

void TCollection::CheckIndex(int index) const
{
    if (index < 0 || index >= items_.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}
