#include "Collections.h"

#include <gtest/gtest.h>

namespace {

class NamedItem : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit NamedItem(TCollection* c = nullptr) : TCollectionItem(c) {}
    QString Caption() const { return caption_; }
    void SetCaption(const QString& v)
    {
        caption_ = v;
        Changed(false);
    }
    QString DisplayName() const override { return caption_.isEmpty() ? TCollectionItem::DisplayName() : caption_; }
    void Assign(TPersistent* source) override
    {
        if (auto* o = qobject_cast<NamedItem*>(source))
            SetCaption(o->caption_);
        else
            TCollectionItem::Assign(source);
    }

private:
    QString caption_;
};

// Counts Update calls: the item passed, or nullptr for the whole list.
class CountingCollection : public TCollection {
    Q_OBJECT
public:
    explicit CountingCollection(TPersistent* owner = nullptr) : TCollection(ItemClass<NamedItem>(), owner) {}
    int wholeUpdates = 0;
    QList<TCollectionItem*> itemUpdates;
    QStringList Captions() const
    {
        QStringList r;
        for (TCollectionItem* i : ItemList()) r << static_cast<NamedItem*>(i)->Caption();
        return r;
    }

protected:
    void Update(TCollectionItem* item) override
    {
        if (item)
            itemUpdates << item;
        else
            ++wholeUpdates;
    }
};

class Holder : public TComponent {
    Q_OBJECT
    Q_PROPERTY(CountingCollection* Links READ Links)
public:
    Holder() : TComponent(nullptr), links_(this) { SetName("Manager"); }
    CountingCollection* Links() { return &links_; }

private:
    CountingCollection links_;
};

// Remembers the collection it saw while being freed.
class WatchingItem : public TCollectionItem {
    Q_OBJECT
public:
    explicit WatchingItem(TCollection* c) : TCollectionItem(c) {}
    ~WatchingItem() override { seen->append(quintptr(Collection())); }
    QList<quintptr>* seen = nullptr;
};

NamedItem* AddNamed(TCollection& c, const QString& caption)
{
    auto* item = static_cast<NamedItem*>(c.Add());
    item->SetCaption(caption);
    return item;
}

}  // namespace

TEST(Collections, AddInsertDeleteKeepIdsAndOrder)
{
    CountingCollection c;
    NamedItem* a = AddNamed(c, "a");
    NamedItem* b = AddNamed(c, "b");
    auto* x = static_cast<NamedItem*>(c.Insert(0));
    x->SetCaption("x");
    EXPECT_EQ(c.Captions(), (QStringList{"x", "a", "b"}));
    EXPECT_EQ(a->ID(), 0);
    EXPECT_EQ(x->ID(), 2);
    EXPECT_EQ(x->Collection(), &c);
    c.Delete(1);
    EXPECT_EQ(c.Captions(), (QStringList{"x", "b"}));
    EXPECT_EQ(c.FindItemID(0), nullptr);
    EXPECT_EQ(c.FindItemID(1), b);
    AddNamed(c, "c");
    EXPECT_EQ(c.Items(2)->ID(), 3);  // IDs are never reused
    EXPECT_THROW(c.Items(3), EListError);
    EXPECT_THROW(c.Delete(-1), EListError);
    delete b;  // an item freed directly leaves its collection
    EXPECT_EQ(c.Captions(), (QStringList{"x", "c"}));
}

TEST(Collections, SetIndexMovesTheItem)
{
    CountingCollection c;
    for (const char* s : {"a", "b", "c", "d"}) AddNamed(c, s);
    c.Items(0)->SetIndex(2);
    EXPECT_EQ(c.Captions(), (QStringList{"b", "c", "a", "d"}));
    c.Items(3)->SetIndex(0);
    EXPECT_EQ(c.Captions(), (QStringList{"d", "b", "c", "a"}));
    c.Items(1)->SetIndex(99);  // clamped to the end
    EXPECT_EQ(c.Captions(), (QStringList{"d", "c", "a", "b"}));
    EXPECT_EQ(c.Items(3)->Index(), 3);
    NamedItem loose;
    EXPECT_EQ(loose.Index(), -1);
    loose.SetIndex(1);  // without a collection: nothing to move
}

TEST(Collections, UpdatesAreBatchedByNestedBeginUpdate)
{
    CountingCollection c;
    NamedItem* a = AddNamed(c, "a");
    c.wholeUpdates = 0;
    c.itemUpdates.clear();
    a->SetCaption("A");
    EXPECT_EQ(c.itemUpdates, QList<TCollectionItem*>{a});
    a->SetIndex(0);  // no move, no update
    EXPECT_EQ(c.wholeUpdates, 0);
    c.BeginUpdate();
    c.BeginUpdate();
    AddNamed(c, "b");
    c.Items(1)->SetIndex(0);
    a->SetCaption("AA");
    c.EndUpdate();
    EXPECT_EQ(c.wholeUpdates, 0);
    c.EndUpdate();
    EXPECT_EQ(c.wholeUpdates, 1);
    EXPECT_EQ(c.itemUpdates.size(), 1);
    c.EndUpdate();  // unbalanced: ignored
    EXPECT_EQ(c.UpdateCount(), 0);
    c.wholeUpdates = 0;
    c.Clear();
    EXPECT_EQ(c.wholeUpdates, 1);
    EXPECT_EQ(c.Count(), 0);
}

TEST(Collections, AssignCopiesItemsAndRefusesOtherKinds)
{
    CountingCollection source;
    AddNamed(source, "one");
    AddNamed(source, "two");
    CountingCollection dest;
    AddNamed(dest, "old");
    dest.wholeUpdates = 0;
    dest.Assign(&source);
    EXPECT_EQ(dest.Captions(), (QStringList{"one", "two"}));
    EXPECT_NE(dest.Items(0), source.Items(0));
    EXPECT_EQ(dest.wholeUpdates, 1);
    dest.Assign(&dest);
    EXPECT_EQ(dest.Count(), 2);
    NamedItem item;
    EXPECT_THROW(dest.Assign(&item), EConvertError);
}

TEST(Collections, NamePathsAndDisplayNames)
{
    Holder h;
    NamedItem* item = AddNamed(*h.Links(), "");
    EXPECT_EQ(h.Links()->GetNamePath(), "Manager.Links");
    EXPECT_EQ(item->GetNamePath(), "Manager.Links[0]");
    EXPECT_EQ(item->DisplayName(), "NamedItem");
    item->SetCaption("Bold");
    EXPECT_EQ(item->DisplayName(), "Bold");
    // Moving an item into another collection.
    CountingCollection other;
    item->SetCollection(&other);
    EXPECT_EQ(h.Links()->Count(), 0);
    EXPECT_EQ(other.Items(0), item);
}

TEST(Collections, ItemsSeeTheirCollectionWhileTheCollectionFreesThem)
{
    QList<quintptr> seen;
    auto* c = new TCollection(ItemClass<WatchingItem>());
    const quintptr id = quintptr(c);
    for (int i = 0; i < 2; ++i) static_cast<WatchingItem*>(c->Add())->seen = &seen;
    delete c;
    EXPECT_EQ(seen, (QList<quintptr>{id, id}));
}

#include "collections_test.moc"
