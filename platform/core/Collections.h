#pragma once
// Collections: ordered lists of persistent items that a component publishes as one
// property (streamed as "< item ... end >"). A collection creates its items through an
// item factory, so the reader can add items of the right class.
#include "Classes.h"

#include <QList>
#include <QString>
#include <functional>

class TCollection;

class TCollectionItem : public TPersistent {
    Q_OBJECT
public:
    // With a collection, the item appends itself to it at once (the derived constructor
    // can rely on Collection() and Index()); the collection's Update(nullptr) runs then.
    explicit TCollectionItem(TCollection* collection = nullptr);
    // Leaves the collection (which then runs Update(nullptr)).
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    // Moves the item from its collection into another (nullptr: into none).
    virtual void SetCollection(TCollection* value);
    // Position in the collection, -1 without one.
    int Index() const;
    // Moves the item to position value (clamped to the list); the collection updates.
    virtual void SetIndex(int value);
    // Unique within its collection for the collection's lifetime; never reused.
    int ID() const { return id_; }

    // Text shown for the item in lists; the class name unless a subclass says otherwise.
    virtual QString DisplayName() const;
    virtual void SetDisplayName(const QString& value);
    QString GetNamePath() const override;

protected:
    // Tells the collection that this item (or, with allItems, every item) changed.
    void Changed(bool allItems);
    TPersistent* GetOwner() const override;

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

// Makes one item of a collection's item class and inserts it into the collection.
using TCollectionItemFactory = std::function<TCollectionItem*(TCollection*)>;

// The factory of an item class T whose constructor takes the collection.
template <class T>
TCollectionItemFactory ItemClass()
{
    return [](TCollection* c) -> TCollectionItem* { return new T(c); };
}

class TCollection : public TPersistent {
    Q_OBJECT
public:
    explicit TCollection(TCollectionItemFactory itemFactory, TPersistent* owner = nullptr);
    // Frees every item, last first; no Update runs. An item still sees Collection() in its
    // destructor. A subclass whose items call back into it should Clear() in its own
    // destructor, while it is whole.
    ~TCollection() override;

    // Appends a new item made by the factory.
    TCollectionItem* Add();
    // Inserts a new item at index (clamped).
    TCollectionItem* Insert(int index);
    // Frees the item at index; EListError "List index out of bounds (%d)" when out of range.
    void Delete(int index);
    // Frees every item, last first, as one update.
    void Clear();

    int Count() const { return int(items_.size()); }
    // EListError "List index out of bounds (%d)" when out of range.
    TCollectionItem* Items(int index) const;
    template <class T>
    T* ItemAs(int index) const
    {
        return qobject_cast<T*>(Items(index));
    }
    const QList<TCollectionItem*>& ItemList() const { return items_; }
    TCollectionItem* FindItemID(int id) const;

    // Nested; Update(nullptr) runs when the outermost EndUpdate ends.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Replaces the items with copies of a source collection's items (item Assign).
    void Assign(TPersistent* source) override;
    QString GetNamePath() const override;
    TPersistent* Owner() const { return owner_; }
    const TCollectionItemFactory& ItemFactory() const { return itemFactory_; }

protected:
    // Called after changes outside BeginUpdate/EndUpdate: item is the one item that
    // changed, or nullptr when the list itself or every item changed.
    virtual void Update(TCollectionItem* /*item*/) {}
    // Runs Update(nullptr) unless an update is in progress.
    void Changed();
    TPersistent* GetOwner() const override { return owner_; }

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void MoveItem(TCollectionItem* item, int newIndex);
    void ItemChanged(TCollectionItem* item);
    void CheckIndex(int index) const;

    TCollectionItemFactory itemFactory_;
    TPersistent* owner_ = nullptr;
    QList<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
    bool destroying_ = false;
};
