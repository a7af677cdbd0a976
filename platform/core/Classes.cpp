#include "Classes.h"

#include <QMetaObject>

// TComponent::ReadState and TComponent::WriteState live in Streaming.cpp beside the
// reader and writer they drive.

namespace {

// Letters, digits and underscores, not starting with a digit (ASCII, as identifiers of
// the form resources are).
bool IsValidIdent(const QString& s)
{
    if (s.isEmpty()) return false;
    for (int i = 0; i < s.size(); ++i) {
        const char16_t ch = s.at(i).unicode();
        const bool alpha = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_';
        const bool digit = ch >= '0' && ch <= '9';
        if (!alpha && !(digit && i > 0)) return false;
    }
    return true;
}

[[noreturn]] void ListIndexError(int index)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

}  // namespace

QString ClassNameOf(const QObject* object)
{
    if (!object) return QStringLiteral("nil");
    QString name = QString::fromLatin1(object->metaObject()->className());
    const int colons = name.lastIndexOf(QLatin1String("::"));
    return colons < 0 ? name : name.mid(colons + 2);
}

// ---- TPersistent ----

void TPersistent::Assign(TPersistent* source)
{
    if (source) {
        source->AssignTo(this);
        return;
    }
    throw EConvertError(QStringLiteral("Cannot assign a nil to a %1").arg(ClassName()));
}

void TPersistent::AssignTo(TPersistent* dest)
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(ClassName(), dest ? dest->ClassName() : QStringLiteral("nil")));
}

QString TPersistent::GetNamePath() const
{
    QString result = ClassName();
    if (TPersistent* owner = GetOwner()) {
        const QString ownerPath = owner->GetNamePath();
        if (!ownerPath.isEmpty()) result = ownerPath + QLatin1Char('.') + result;
    }
    return result;
}

void TPersistent::DefineProperties(TFiler* /*filer*/) {}

// ---- TComponent: ownership ----

TComponent::TComponent(TComponent* owner)
{
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Each peer is detached before it hears of the removal, so a peer that frees or
    // re-registers from its Notification cannot disturb this loop.
    while (!freeNotifies_.isEmpty()) {
        TComponent* peer = freeNotifies_.takeLast();
        peer->RemoveNotification(this);
        peer->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= components_.size()) ListIndexError(index);
    return components_.at(index);
}

int TComponent::ComponentIndex() const
{
    return owner_ ? int(owner_->components_.indexOf(const_cast<TComponent*>(this))) : -1;
}

void TComponent::SetComponentIndex(int index)
{
    if (!owner_) return;
    QList<TComponent*>& list = owner_->components_;
    const int current = int(list.indexOf(this));
    if (current < 0) return;
    index = qBound(0, index, int(list.size()) - 1);
    if (index != current) list.move(current, index);
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    if (name.isEmpty()) return nullptr;
    for (TComponent* c : components_)
        if (c->name_.compare(name, Qt::CaseInsensitive) == 0) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component || component->owner_ == this) return;
    // An owner cycle would free a component twice.
    for (const TComponent* o = this; o; o = o->owner_)
        if (o == component)
            throw EComponentError(QStringLiteral("A component cannot own itself or an owner of its own"));
    // The component is not in this list yet, so ValidateRename would not look at it.
    CheckNameFree(component, component->name_);
    ValidateRename(component, QString(), component->name_);
    ValidateInsert(component);
    // Leaving the previous owner first keeps a component in one owner's list only.
    if (component->owner_) component->owner_->RemoveComponent(component);
    Insert(component);
    if (Designing()) component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    if (!component || component->owner_ != this) return;
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::DestroyComponents()
{
    while (!components_.isEmpty()) {
        TComponent* c = components_.last();
        RemoveComponent(c);
        delete c;
    }
}

void TComponent::Insert(TComponent* c)
{
    components_.append(c);
    c->owner_ = this;
}

void TComponent::Remove(TComponent* c)
{
    components_.removeOne(c);
    c->owner_ = nullptr;
}

// ---- TComponent: names ----

void TComponent::SetName(const QString& name)
{
    if (name_ == name) return;
    if (!name.isEmpty() && !IsValidIdent(name))
        throw EComponentError(QStringLiteral("'%1' is not a valid component name").arg(name));
    if (owner_)
        owner_->ValidateRename(this, name_, name);
    else
        ValidateRename(nullptr, name_, name);
    name_ = name;
}

void TComponent::ValidateRename(TComponent* component, const QString& curName, const QString& newName)
{
    if (component && component->owner_ == this && curName.compare(newName, Qt::CaseInsensitive) != 0)
        CheckNameFree(component, newName);
    if (Designing() && owner_) owner_->ValidateRename(component, curName, newName);
}

void TComponent::CheckNameFree(const TComponent* component, const QString& name) const
{
    const TComponent* existing = FindComponent(name);
    if (existing && existing != component)
        throw EComponentError(QStringLiteral("A component named %1 already exists").arg(name));
}

// ---- TComponent: state ----

void TComponent::SetDesigning(bool value, bool setChildren)
{
    if (value)
        IncludeState(csDesigning);
    else
        ExcludeState(csDesigning);
    if (setChildren)
        for (TComponent* c : components_) c->SetDesigning(value, true);
}

void TComponent::Destroying()
{
    if (state_ & csDestroying) return;
    IncludeState(csDestroying);
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::SetLoadingState(bool loading)
{
    if (loading)
        IncludeState(csLoading);
    else
        ExcludeState(csLoading);
}

void TComponent::Loaded()
{
    ExcludeState(csLoading);
}

// ---- TComponent: notifications ----

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this) return;
    IncludeState(csFreeNotification);
    if (freeNotifies_.contains(component)) return;
    freeNotifies_.append(component);
    component->FreeNotification(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component) return;
    RemoveNotification(component);
    component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* c)
{
    freeNotifies_.removeAll(c);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component) RemoveFreeNotification(component);
    // An owned component may free others from its Notification; re-check the bound.
    for (int i = int(components_.size()) - 1; i >= 0; --i) {
        if (i >= components_.size()) continue;
        components_.at(i)->Notification(component, operation);
    }
}

void TComponent::GetChildren(const TGetChildProc& /*proc*/, TComponent* /*root*/) {}
