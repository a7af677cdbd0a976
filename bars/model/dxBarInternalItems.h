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

class TCustomForm;

// The sub item standing for an MDI child's system menu, at the start of the frame's main
// menu bar while the child is maximized. It holds the child through a guarded reference:
// once the child is gone the item opens an empty menu and runs nothing.
class TSystemMenuSubItem : public TCustomdxBarSubItem {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TSystemMenuSubItem(TComponent* owner) : TCustomdxBarSubItem(owner) {}

    TCustomForm* Child() const;
    void SetChild(TCustomForm* child);
    // Each opening rebuilds the links from the child's system menu, as temporary items: a
    // button per command (its Tag the command id, its caption and shortcut from the entry's
    // text, disabled when grayed, checked and down when checked, the standard glyphs of close,
    // restore, maximize and minimize), a separator beginning the next entry's group.
    void Popup() override;
    // Runs a command of the child from the event loop, so that a command that frees the
    // child (and with it this item and the open menu) does so after the menus are done.
    void PostCommand(int id) const;
    // The double click on the item: the system menu's default command.
    void RunDefaultCommand() const;

private:
    void EntryClick(TObject* sender);

    // The child (a form; kept as an object so that this header needs no form).
    QPointer<QObject> child_;
};
