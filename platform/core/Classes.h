#pragma once
// The component model: persistent objects, and components in an ownership tree.
// Published properties are Q_PROPERTY entries (see README: published properties).
#include "Events.h"
#include "Scope.h"
#include "SysUtils.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <utility>

class TFiler;
class TReader;
class TWriter;
class TComponent;

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
    csAncestor = 1u << 5,
    csUpdating = 1u << 6,
    csFixups = 1u << 7,
    csFreeNotification = 1u << 8,
    csInline = 1u << 9,
};
using TComponentState = unsigned;

// Class name of an object as the component library reports it.
QString ClassNameOf(const QObject* object);

class TPersistent : public QObject {
    Q_OBJECT
public:
    TPersistent() = default;
    ~TPersistent() override = default;

    // Copies source into this; falls back to source->AssignTo(this); raises
    // EConvertError "Cannot assign a X to a Y" when neither side knows how.
    virtual void Assign(TPersistent* source);
    QString ClassName() const { return ClassNameOf(this); }
    // Name used in error messages and by the writer for nested persistents.
    virtual QString GetNamePath() const;

    // Extra properties a class streams beyond its Q_PROPERTYs ("DockControlHeights").
    virtual void DefineProperties(TFiler* filer);

protected:
    virtual void AssignTo(TPersistent* dest);
    virtual TPersistent* GetOwner() const { return nullptr; }
};

using TGetChildProc = std::function<void(TComponent*)>;

class TComponent : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_CLASSINFO("Default.Tag", "0")
public:
    explicit TComponent(TComponent* owner);
    // Frees: Destroying(), tells every free-notification peer (opRemove), frees owned
    // components last-first, then leaves the owner. This runs after the subclass's own
    // destructor: a subclass whose owned components call back into it while they are freed
    // calls Destroying() and DestroyComponents() in its destructor first.
    ~TComponent() override;

    // Second construction phase, run by whoever created the component once the most-derived
    // constructor has finished (forms stream their resource here). new T(owner) followed by
    // AfterConstruction() is what Create<T>(owner) does.
    virtual void AfterConstruction() {}
    // Called by a form on every component it owns (depth-first, owners first) while all of
    // them still exist, before any is freed: the moment to save state that spans components.
    virtual void BeforeFormDestroy() {}

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    void SetComponentIndex(int index);
    TComponent* FindComponent(const QString& name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();

    const QString& Name() const { return name_; }
    // Raises EComponentError for an invalid identifier or a name the owner already has
    // ("A component named X already exists", "'X' is not a valid component name").
    virtual void SetName(const QString& name);
    int Tag() const { return tag_; }
    void SetTag(int t) { tag_ = t; }

    TComponentState ComponentState() const { return state_; }
    bool Designing() const { return state_ & csDesigning; }
    bool Loading() const { return state_ & csLoading; }
    bool IsDestroying() const { return state_ & csDestroying; }
    // Sets or clears csDesigning on this component and everything it owns (there is no
    // form designer; tests and the design-time branches use this).
    void SetDesigning(bool value, bool setChildren = true);

    // Marks this component and everything it owns csDestroying.
    void Destroying();
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    virtual void Notification(TComponent* component, TOperation operation);
    virtual void Loaded();
    virtual void ReadState(TReader* reader);
    virtual void WriteState(TWriter* writer);
    virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* /*value*/) {}
    // Called on a component being read with the owner of the stream's root.
    virtual void SetChildOrder(TComponent* /*child*/, int /*order*/) {}

    QString GetNamePath() const override { return name_; }

    // Set by the reader and writer around streaming.
    void SetLoadingState(bool loading);
    void IncludeState(TComponentState s) { state_ |= s; }
    void ExcludeState(TComponentState s) { state_ &= ~s; }

protected:
    virtual void ValidateRename(TComponent* component, const QString& curName, const QString& newName);
    virtual void ValidateInsert(TComponent* /*component*/) {}
    bool IsNameStored() const { return true; }
    TPersistent* GetOwner() const override { return owner_; }

private:
    void Insert(TComponent* c);
    void Remove(TComponent* c);
    void RemoveNotification(TComponent* c);
    // EComponentError when another owned component already has the name.
    void CheckNameFree(const TComponent* component, const QString& name) const;

    TComponent* owner_ = nullptr;
    QList<TComponent*> components_;
    QList<TComponent*> freeNotifies_;
    QString name_;
    int tag_ = 0;
    TComponentState state_ = 0;
};

// Creates a component in both phases. When the second phase fails, the half-made object
// is freed (leaving its owner) and the exception goes on.
template <class T, class... A>
T* Create(A&&... args)
{
    T* c = new T(std::forward<A>(args)...);
    TScopeExit freeOnFailure([c] { delete c; });
    c->AfterConstruction();
    freeOnFailure.Dismiss();
    return c;
}

// Deletes a component or persistent if set and clears the pointer.
template <class T>
void FreeAndNil(T*& p)
{
    T* q = p;
    p = nullptr;
    delete q;
}
