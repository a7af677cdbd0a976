#pragma once
// Items the library makes for its own popups: the quick-customization entries and the MDI
// child's system menu. Declared here so start-up can pair them with their control classes;
// their behaviour belongs to the quick customization and the MDI handling.
#include "dxBarItemLink.h"
#include "dxBarItems.h"

#include <QHash>
#include <QPointer>

// An extra entry of the quick-customization menu ("Reset Toolbar").
class TdxBarQuickCustExtButton : public TdxBarButton {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TdxBarQuickCustExtButton(TComponent* owner) : TdxBarButton(owner) {}
};

// The check entry shared by all links of the quick-customization menu. Each of its links
// stands for one link of a toolbar (its target); a click shows or hides the target.
class TdxBarQuickCustItem : public TdxBarButton {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TdxBarQuickCustItem(TComponent* owner) : TdxBarButton(owner) {}

    // None once the target is gone.
    TdxBarItemLink* TargetLink(const TdxBarItemLink* link) const { return targets_.value(link); }
    void SetTargetLink(const TdxBarItemLink* link, TdxBarItemLink* target) { targets_.insert(link, target); }
    // After the usual click, the clicked link's target toggles its visibility.
    void Click() override;

private:
    QHash<const TdxBarItemLink*, QPointer<TdxBarItemLink>> targets_;
};

// The sub item standing for an MDI child's system menu.
class TSystemMenuSubItem : public TCustomdxBarSubItem {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TSystemMenuSubItem(TComponent* owner) : TCustomdxBarSubItem(owner) {}
};
