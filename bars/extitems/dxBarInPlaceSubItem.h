#pragma once
// TdxBarInPlaceSubItem: a container item whose links open inside the menu that shows it. Its
// own link stays as a header row; while Expanded, the menu lists copies of the item's links
// right below that row. A click on the header, or Right and Left on it, expands and collapses
// the block, and the header keeps the selection across the menu's re-layout. Anywhere but in
// a menu window (on a toolbar) the link opens a sub-menu like any container item.
//
// With KeepBeginGroupWhileExpanded, the link that follows the block starts a group while the
// block is expanded. That group start is shown, never stored: collapsing brings back the
// link's own setting, and a layout saved meanwhile keeps it.
#include "dxBarItems.h"
#include "dxBarSubItemControl.h"

#include <QList>
#include <QPointer>

class TdxBarItemLink;

// (sender, the item's link).
using TdxBarInPlaceSubItemEvent = TEvent<TObject*, TdxBarItemLink*>;
Q_DECLARE_METATYPE(TdxBarInPlaceSubItemEvent)

class TdxBarInPlaceSubItem : public TdxBarContainerItem {
    Q_OBJECT
    Q_PROPERTY(bool Expanded READ Expanded WRITE SetExpanded)
    Q_PROPERTY(bool KeepBeginGroupWhileExpanded MEMBER keepBeginGroupWhileExpanded_)
    Q_PROPERTY(TdxBarInPlaceSubItemEvent OnAfterExpand MEMBER OnAfterExpand)
    Q_PROPERTY(TdxBarInPlaceSubItemEvent OnBeforeCollapse MEMBER OnBeforeCollapse)
    Q_CLASSINFO("Default.Expanded", "False")
    Q_CLASSINFO("Default.KeepBeginGroupWhileExpanded", "False")
public:
    Q_INVOKABLE explicit TdxBarInPlaceSubItem(TComponent* owner);
    // A group start the item shows on a following link goes with it.
    ~TdxBarInPlaceSubItem() override;

    bool Expanded() const { return expanded_; }
    // Collapsing tells each link first (OnBeforeCollapse); then every menu window showing a
    // link re-lays out once; expanding tells each link after that (OnAfterExpand). While
    // loading only the value is kept.
    void SetExpanded(bool value);
    bool KeepBeginGroupWhileExpanded() const { return keepBeginGroupWhileExpanded_; }
    void SetKeepBeginGroupWhileExpanded(bool value) { keepBeginGroupWhileExpanded_ = value; }
    // True while a change of Expanded is being applied.
    bool Changing() const { return changing_; }

    // The link after link's expanded block (after link itself while the manager designs);
    // none at the end of the links.
    TdxBarItemLink* LinkAfterBlock(TdxBarItemLink* link) const;

    // --- container
    void AddListedItemLinks(TdxBarItemLinks* links, int index, TdxBarItemLink* ownLink, bool firstUse) override;
    void DeleteListedItemLinks(TdxBarItemLinks* links, int index) override;
    bool ReplaceOwnLink() const override { return false; }

    TdxBarInPlaceSubItemEvent OnAfterExpand;
    TdxBarInPlaceSubItemEvent OnBeforeCollapse;

protected:
    virtual void DoAfterExpand(TdxBarItemLink* link);
    virtual void DoBeforeCollapse(TdxBarItemLink* link);

private:
    // Shows or ends the group start after link's block; only off toolbars.
    void ApplyGroupRule(TdxBarItemLink* link, bool value);
    void EndGroupStarts();
    // The menu windows that show a link of the item, each once.
    QList<QPointer<TCustomdxBarControl>> MenusShowingLinks() const;

    bool expanded_ = false;
    bool keepBeginGroupWhileExpanded_ = false;
    bool changing_ = false;
    // The links the item shows a group start on.
    QList<QPointer<TdxBarItemLink>> groupStarts_;
};

// Its header row in a menu window; elsewhere a container item's control.
class TdxBarInPlaceSubItemControl : public TdxBarContainerItemControl {
public:
    using TdxBarContainerItemControl::TdxBarContainerItemControl;

    TdxBarInPlaceSubItem* InPlaceItem() const;

    void ControlClick(bool byMouse) override;
    void DblClick() override;
    void KeyDown(int key) override;
    bool WantsKey(int key) const override;
    bool IsExpandable() const override;
    bool OpensSubMenu() const override;
    int GetDefaultHeight() override;
    int GetDefaultWidth() override;
    void Draw(TCanvas& p, const TRect& r, int paintType) override;

private:
    bool InMenu() const;
    // Expands or collapses the item and selects the header again in the re-laid-out menu.
    void Toggle();
};

extern TdxBarItemControlClass TdxBarInPlaceSubItemControlClass;
