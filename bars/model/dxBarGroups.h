#pragma once
// TdxBarGroup: a component that switches Enabled and Visible of many items, and of nested
// groups, at once. Groups are owned by the form and listed by its bar manager, as whose
// children they are streamed; the members stream as the extra property "Items", a list of
// the members' names.
#include "Classes.h"
#include "dxBarTypes.h"

#include <QList>
#include <QPointer>
#include <QStringList>

Q_MOC_INCLUDE("dxBarManager.h")

class TFiler;
class TdxBarManager;

class TdxBarGroup : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(dxBarTypes::TdxBarItemVisible Visible READ Visible WRITE SetVisible)
    Q_CLASSINFO("Default.Enabled", "True")
    Q_CLASSINFO("Default.Visible", "ivAlways")
public:
    Q_INVOKABLE explicit TdxBarGroup(TComponent* owner);
    // Leaves the manager's group list.
    ~TdxBarGroup() override;

    TdxBarManager* BarManager() const { return manager_; }

    bool Enabled() const { return enabled_; }
    // Every member takes the value (nested groups pass it on); not while loading.
    void SetEnabled(bool value);
    TdxBarItemVisible Visible() const { return visible_; }
    void SetVisible(TdxBarItemVisible value);

    int Count() const { return int(members_.size()); }
    // None out of range.
    TComponent* Items(int index) const { return members_.value(index); }
    int IndexOf(TComponent* component) const { return int(members_.indexOf(component)); }
    // Adds an item or a group; nil, a member and other components are ignored. Raises 39012
    // "You cannot create recursive groups" for this group or a group that contains it.
    void Add(TComponent* component);
    void Remove(TComponent* component);
    void Move(int curIndex, int newIndex);
    // Whether group is a member of this group or of a nested one, at any depth.
    bool ContainsGroup(const TdxBarGroup* group) const;

    // The position in the manager's group list; -1 without a manager.
    int IndexInManager() const;
    void SetIndexInManager(int value);

    void SetName(const QString& name) override;
    bool HasParent() const override { return manager_ != nullptr; }
    TComponent* GetParentComponent() const override;
    // A manager lists the group.
    void SetParentComponent(TComponent* value) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Adds the members named in the resource that the manager's form knows.
    void Loaded() override;
    void DefineProperties(TFiler* filer) override;

private:
    friend class TdxBarManager;
    void SetManager(TdxBarManager* manager);
    void ApplyToMembers(bool enabled, bool visible);

    QPointer<TdxBarManager> manager_;
    QList<TComponent*> members_;
    QStringList loadedNames_;
    bool enabled_ = true;
    TdxBarItemVisible visible_ = ivAlways;
};
