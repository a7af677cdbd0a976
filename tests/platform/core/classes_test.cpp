#include "Classes.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Records notifications and its own destruction into a shared log.
class LogComponent : public TComponent {
    Q_OBJECT
public:
    LogComponent(TComponent* owner, const QString& name, QStringList* log) : TComponent(owner), log_(log)
    {
        SetName(name);
    }
    ~LogComponent() override
    {
        // "*": marked destroying by an owner before this destructor ran.
        if (log_) log_->append(QStringLiteral("free %1%2").arg(Name(), IsDestroying() ? "*" : ""));
    }
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        // Only the pointer is used: c may be half-destroyed.
        if (log_ && c != this)
            log_->append(QStringLiteral("%1 %2 %3").arg(Name(), op == opInsert ? "insert" : "remove").arg(quintptr(c)));
        if (op == opRemove && c == peer) peer = nullptr;
    }
    TComponent* peer = nullptr;

private:
    QStringList* log_;
};

class FailingComponent : public TComponent {
    Q_OBJECT
public:
    using TComponent::TComponent;
    void AfterConstruction() override { throw EComponentError(QStringLiteral("second phase failed")); }
};

QString Id(TComponent* c)
{
    return QString::number(quintptr(c));
}

}  // namespace

TEST(Classes, OwnerFreesChildrenLastFirstAfterMarkingAllDestroying)
{
    QStringList log;
    auto* root = new LogComponent(nullptr, "Root", &log);
    auto* a = new LogComponent(root, "A", &log);
    new LogComponent(a, "A1", &log);
    new LogComponent(root, "B", &log);
    new LogComponent(root, "C", &log);
    ASSERT_EQ(root->ComponentCount(), 3);
    EXPECT_EQ(a->Owner(), root);
    EXPECT_EQ(a->ComponentIndex(), 0);
    log.clear();
    delete root;
    QStringList frees = log.filter("free");
    // The root's own destructor body runs before its base marks the tree destroying; an
    // owned component's body runs before it frees what it owns in turn.
    EXPECT_EQ(frees, (QStringList{"free Root", "free C*", "free B*", "free A*", "free A1*"}));
}

TEST(Classes, InsertAndRemoveNotifyOwnerAndSiblings)
{
    QStringList log;
    LogComponent root(nullptr, "Root", &log);
    auto* a = new LogComponent(&root, "A", &log);
    log.clear();
    auto* b = new LogComponent(&root, "", &log);
    // The owner and every owned component hear of the insertion.
    EXPECT_TRUE(log.contains("Root insert " + Id(b)));
    EXPECT_TRUE(log.contains("A insert " + Id(b)));
    log.clear();
    root.RemoveComponent(a);
    EXPECT_EQ(a->Owner(), nullptr);
    EXPECT_EQ(root.ComponentCount(), 1);
    EXPECT_TRUE(log.contains("Root remove " + Id(a)));
    log.clear();
    delete a;  // no owner any more: nobody is told
    EXPECT_EQ(log, QStringList{"free A"});
}

TEST(Classes, FreeNotificationWorksBothWaysAndIsDroppedWhenAPeerGoes)
{
    QStringList log;
    auto* x = new LogComponent(nullptr, "X", &log);
    auto* y = new LogComponent(nullptr, "Y", &log);
    auto* z = new LogComponent(nullptr, "Z", &log);
    x->peer = y;
    y->peer = x;
    x->FreeNotification(y);  // registered once, in both directions
    x->FreeNotification(y);
    z->FreeNotification(x);
    // The ids are taken while the components live: a freed pointer is not used again.
    const QString yId = Id(y), xId = Id(x);
    delete y;
    EXPECT_EQ(x->peer, nullptr);
    EXPECT_TRUE(log.contains("X remove " + yId));
    log.clear();
    // y left x's list: freeing x must not touch y (ASan would catch it), only z.
    delete x;
    EXPECT_TRUE(log.contains("Z remove " + xId));
    EXPECT_EQ(log.filter(" remove ").size(), 1);
    log.clear();
    z->RemoveFreeNotification(nullptr);
    delete z;
    EXPECT_EQ(log, QStringList{"free Z"});
}

TEST(Classes, RemoveFreeNotificationStopsBothDirections)
{
    QStringList log;
    auto* x = new LogComponent(nullptr, "X", &log);
    auto* y = new LogComponent(nullptr, "Y", &log);
    x->FreeNotification(y);
    y->RemoveFreeNotification(x);
    delete x;
    EXPECT_TRUE(log.filter(" remove ").isEmpty());
    delete y;
}

TEST(Classes, NamesMustBeIdentifiersAndUniqueInTheirOwner)
{
    TComponent root(nullptr);
    auto* a = new TComponent(&root);
    auto* b = new TComponent(&root);
    a->SetName("Button1");
    EXPECT_THROW(b->SetName("button1"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    try {
        b->SetName("1Button");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "'1Button' is not a valid component name");
    }
    for (const char* bad : {"a b", "a-b", "\u00e4x", "a.b"}) EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
    b->SetName("_x9");
    a->SetName("BUTTON1");  // a case change of its own name is allowed
    EXPECT_EQ(a->Name(), "BUTTON1");
    b->SetName("");  // empty names may repeat
    a->SetName("");
    EXPECT_EQ(root.FindComponent(""), nullptr);
    a->SetName("Edit");
    EXPECT_EQ(root.FindComponent("EDIT"), a);
    // A component of the same name elsewhere is no clash.
    TComponent other(nullptr);
    auto* c = new TComponent(&other);
    c->SetName("Edit");
    try {
        root.InsertComponent(c);
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named Edit already exists");
    }
    EXPECT_EQ(c->Owner(), &other);
}

TEST(Classes, InsertComponentMovesBetweenOwnersAndRefusesCycles)
{
    TComponent first(nullptr);
    TComponent second(nullptr);
    auto* c = new TComponent(&first);
    auto* child = new TComponent(c);
    second.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_THROW(child->InsertComponent(c), EComponentError);
    EXPECT_THROW(c->InsertComponent(c), EComponentError);
    EXPECT_EQ(child->Owner(), c);
    EXPECT_THROW(first.Components(0), EListError);
    auto* d = new TComponent(&second);
    d->SetComponentIndex(0);
    EXPECT_EQ(second.Components(0), d);
    EXPECT_EQ(c->ComponentIndex(), 1);
}

TEST(Classes, DesigningSpreadsToOwnedAndInsertedComponents)
{
    TComponent root(nullptr);
    auto* a = new TComponent(&root);
    root.SetDesigning(true);
    EXPECT_TRUE(a->Designing());
    auto* b = new TComponent(&root);
    EXPECT_TRUE(b->Designing());
    root.SetDesigning(false);
    EXPECT_FALSE(a->Designing());
}

TEST(Classes, CreateFreesTheComponentWhenTheSecondPhaseFails)
{
    TComponent owner(nullptr);
    EXPECT_THROW(Create<FailingComponent>(&owner), EComponentError);
    EXPECT_EQ(owner.ComponentCount(), 0);
    auto* ok = Create<TComponent>(&owner);
    EXPECT_EQ(ok->Owner(), &owner);
}

TEST(Classes, AssignWithoutAConversionNamesBothClasses)
{
    TComponent a(nullptr);
    TComponent b(nullptr);
    try {
        a.Assign(&b);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TComponent");
    }
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
}

#include "classes_test.moc"
