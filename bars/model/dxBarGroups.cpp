// Groups of items, and the manager's group list.
#include "dxBarServices.h"
#include "dxBarGroups.h"

#include "Streaming.h"
#include "dxBarItem.h"
#include "dxBarManager.h"
#include "dxBarStrs.h"

namespace {

// The members take the value; nested groups pass it on to theirs. Groups never contain
// themselves (Add refuses it), so the walk ends.
void PropagateEnabled(const QList<TComponent*>& members, bool value)
{
    for (TComponent* member : QList<TComponent*>(members)) {
        if (auto* item = qobject_cast<TdxBarItem*>(member)) {
            item->SetEnabled(value);
        } else if (auto* group = qobject_cast<TdxBarGroup*>(member)) {
            group->SetEnabled(value);
        }
    }
}

void PropagateVisible(const QList<TComponent*>& members, TdxBarItemVisible value)
{
    for (TComponent* member : QList<TComponent*>(members)) {
        if (auto* item = qobject_cast<TdxBarItem*>(member)) {
            item->SetVisible(value);
        } else if (auto* group = qobject_cast<TdxBarGroup*>(member)) {
            group->SetVisible(value);
        }
    }
}

}  // namespace

// ---------------------------------------------------------------- TdxBarGroup

TdxBarGroup::TdxBarGroup(TComponent* owner) : TComponent(owner) {}

TdxBarGroup::~TdxBarGroup()
{
    Destroying();
    SetManager(nullptr);
    for (TComponent* member : std::exchange(members_, {})) RemoveFreeNotification(member);
}

void TdxBarGroup::SetEnabled(bool value)
{
    if (value == enabled_) return;
    enabled_ = value;
    if (Loading() || IsDestroying()) return;
    TdxBarUpdateLockScope lock(manager_);
    PropagateEnabled(members_, value);
}

void TdxBarGroup::SetVisible(TdxBarItemVisible value)
{
    if (value == visible_) return;
    visible_ = value;
    if (Loading() || IsDestroying()) return;
    TdxBarUpdateLockScope lock(manager_);
    PropagateVisible(members_, value);
}

bool TdxBarGroup::ContainsGroup(const TdxBarGroup* group) const
{
    for (TComponent* member : members_) {
        auto* nested = qobject_cast<TdxBarGroup*>(member);
        if (nested && (nested == group || nested->ContainsGroup(group))) return true;
    }
    return false;
}

void TdxBarGroup::Add(TComponent* component)
{
    if (!component || members_.contains(component)) return;
    auto* group = qobject_cast<TdxBarGroup*>(component);
    if (!group && !qobject_cast<TdxBarItem*>(component)) return;
    if (group && (group == this || group->ContainsGroup(this))) throw Exception(dxBarStr(dxSBAR_RECURSIVEGROUPS));
    members_.append(component);
    component->FreeNotification(this);
}

void TdxBarGroup::Remove(TComponent* component)
{
    if (!members_.removeOne(component)) return;
    // A component may be in several groups: only this group's notification link goes.
    RemoveFreeNotification(component);
}

void TdxBarGroup::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex || curIndex < 0 || curIndex >= Count() || newIndex < 0 || newIndex >= Count()) return;
    members_.move(curIndex, newIndex);
}

int TdxBarGroup::IndexInManager() const
{
    return manager_ ? int(manager_->groups_.indexOf(const_cast<TdxBarGroup*>(this))) : -1;
}

void TdxBarGroup::SetIndexInManager(int value)
{
    if (manager_) manager_->MoveGroup(this, value);
}

void TdxBarGroup::SetManager(TdxBarManager* manager)
{
    if (manager == manager_) return;
    if (manager_) manager_->RemoveGroup(this);
    manager_ = manager;
    if (manager_) manager_->AddGroup(this);
}

// ---------------------------------------------------------------- component

void TdxBarGroup::SetName(const QString& name)
{
    const bool changes = name != Name();
    TComponent::SetName(name);
    if (changes) dxBarCustomizingForm().GroupRenamed(this);
}

TComponent* TdxBarGroup::GetParentComponent() const
{
    return manager_.data();
}

void TdxBarGroup::SetParentComponent(TComponent* value)
{
    if (auto* manager = qobject_cast<TdxBarManager*>(value)) SetManager(manager);
}

void TdxBarGroup::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component) members_.removeAll(component);
    TComponent::Notification(component, operation);
}

void TdxBarGroup::Loaded()
{
    TComponent::Loaded();
    const QStringList names = std::exchange(loadedNames_, {});
    TComponent* form = manager_ ? manager_->OwnerForm() : Owner();
    if (!form) return;
    for (const QString& name : names) {
        // A member that would make the groups recursive is left out: a damaged resource
        // must not stop the form from loading.
        try {
            Add(form->FindComponent(name));
        } catch (const Exception&) {}
    }
}

void TdxBarGroup::DefineProperties(TFiler* filer)
{
    TComponent::DefineProperties(filer);
    filer->DefineProperty(
        QStringLiteral("Items"),
        [this](TReader* reader) {
            reader->ReadListBegin();
            while (!reader->EndOfList())
                loadedNames_ << (reader->NextValue() == TValueType::vaIdent ? reader->ReadIdent()
                                                                            : reader->ReadString());
            reader->ReadListEnd();
        },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (TComponent* member : members_) writer->WriteString(member->Name());
            writer->WriteListEnd();
        },
        !members_.isEmpty());
}

// ---------------------------------------------------------------- the manager's group list

TdxBarGroup* TdxBarManager::CreateGroup()
{
    auto* group = Create<TdxBarGroup>(ownerForm_);
    group->SetManager(this);
    return group;
}

void TdxBarManager::AddGroup(TdxBarGroup* group)
{
    if (!groups_.contains(group)) groups_.append(group);
}

void TdxBarManager::RemoveGroup(TdxBarGroup* group)
{
    groups_.removeAll(group);
}

void TdxBarManager::MoveGroup(TdxBarGroup* group, int newIndex)
{
    const int curIndex = int(groups_.indexOf(group));
    if (curIndex < 0 || newIndex < 0 || newIndex >= groups_.size() || newIndex == curIndex) return;
    groups_.move(curIndex, newIndex);
}
