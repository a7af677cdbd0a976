#pragma once
// Item links: one placement of an item on a bar, sub menu or popup menu, and the ordered
// collection of them. A collection keeps three derived lists (available, can-visible,
// visible) and a recent order of all its links, from which menus show recently used
// commands first.
#include "Collections.h"
#include "Keys.h"
#include "dxBarTypes.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <QString>
#include <functional>

Q_MOC_INCLUDE("Graphics.h")
Q_MOC_INCLUDE("dxBarItem.h")

class TBitmap;
class TCustomdxBarControl;
class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLinks;
class TdxBarManager;

// The widths a link's own width may take.
constexpr int dxBarMinLinkWidth = 20;
constexpr int dxBarMaxLinkWidth = 600;

class TdxBarItemLink : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(bool BeginGroup READ BeginGroup WRITE SetBeginGroup)
    Q_PROPERTY(TdxBarItem* Item READ Item WRITE SetItem)
    Q_PROPERTY(bool MostRecentlyUsed READ MostRecentlyUsed WRITE SetMostRecentlyUsed)
    Q_PROPERTY(QString UserCaption READ UserCaption WRITE SetUserCaption)
    Q_PROPERTY(dxBarTypes::TdxBarUserDefines UserDefine READ UserDefine WRITE SetUserDefine)
    Q_PROPERTY(TBitmap* UserGlyph READ UserGlyph WRITE SetUserGlyph)
    Q_PROPERTY(dxBarTypes::TdxBarPaintStyle UserPaintStyle READ UserPaintStyle WRITE SetUserPaintStyle)
    Q_PROPERTY(int UserWidth READ UserWidth WRITE SetUserWidth)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_CLASSINFO("Default.BeginGroup", "False")
    Q_CLASSINFO("Default.MostRecentlyUsed", "True")
    Q_CLASSINFO("Default.UserDefine", "[]")
    Q_CLASSINFO("Default.UserPaintStyle", "psStandard")
    Q_CLASSINFO("Default.UserWidth", "0")
    Q_CLASSINFO("Default.Visible", "True")
public:
    // Joins the recent order and fires the manager's OnItemLinkAdd (unless it is loading).
    explicit TdxBarItemLink(TCollection* collection = nullptr);
    // Fires OnItemLinkDelete, hands a dragged link's group start over, deselects and frees
    // the control, leaves the item's link list, the recent order and the collection.
    ~TdxBarItemLink() override;

    TdxBarItemLinks* Links() const;
    TdxBarManager* BarManager() const;
    TCustomdxBarControl* BarControl() const;
    TdxBarItemControl* Control() const { return control_; }

    // Effective group start: see the getter rule (a start hidden by the recent filter
    // carries over to the next shown link).
    bool BeginGroup() const;
    void SetBeginGroup(bool value);
    // The group start as set, whatever is shown.
    bool StoredBeginGroup() const { return beginGroup_; }
    // A group start shown on top of the stored one while an in-place block of entries just
    // before this link is expanded; never stored, so the stored one is back when it ends.
    bool GroupStartWhileExpanded() const { return groupStartWhileExpanded_; }
    void SetGroupStartWhileExpanded(bool value);
    TdxBarItem* Item() const;
    // A link lives only with an item. Its links free it once it is left without one: set
    // to none, or refused a sub item that would hold itself (an exception then says so).
    void SetItem(TdxBarItem* value);
    bool MostRecentlyUsed() const { return mostRecentlyUsed_; }
    void SetMostRecentlyUsed(bool value);
    const QString& UserCaption() const { return userCaption_; }
    void SetUserCaption(const QString& value);
    TdxBarUserDefines UserDefine() const { return userDefine_; }
    void SetUserDefine(TdxBarUserDefines value);
    TBitmap* UserGlyph() const { return userGlyph_; }
    void SetUserGlyph(TBitmap* value);
    TdxBarPaintStyle UserPaintStyle() const { return userPaintStyle_; }
    void SetUserPaintStyle(TdxBarPaintStyle value);
    int UserWidth() const { return userWidth_; }
    void SetUserWidth(int value);
    bool Visible() const { return visible_; }
    // While the manager loads or the collection is being assigned, only the pending
    // visibility is stored.
    void SetVisible(bool value);

    // Effective values: the user override where UserDefine holds it, else the item's.
    QString Caption() const;
    TBitmap* Glyph() const;
    TdxBarPaintStyle PaintStyle() const;
    int Width() const;

    // While an open menu shows the listed links of this link's container item in its place,
    // the can-visible and visible lists leave this link out.
    bool ReplacedInMenu() const { return replacedInMenu_; }
    void SetReplacedInMenu(bool value);

    int Data() const { return data_; }
    void SetData(int value) { data_ = value; }
    QRect ItemRect() const { return itemRect_; }
    void SetItemRect(const QRect& r) { itemRect_ = r; }
    // The link a generated link was made from.
    // The link this one stands in for (a copy in a drop-down); none once that link is freed.
    TdxBarItemLink* OriginalItemLink() const { return sourceLink_.data(); }
    void SetOriginalItemLink(TdxBarItemLink* link) { sourceLink_ = link; }
    bool PendingVisible() const { return pendingVisible_; }
    int UseCount() const { return useCount_; }
    void SetUseCount(int value) { useCount_ = value; }
    // The recent position and use count the layout store read; AfterLoad applies them.
    int StoredRecentIndex() const { return storedRecentIndex_; }
    int StoredUseCount() const { return storedUseCount_; }
    void SetStoredRecentState(int recentIndex, int useCount);

    int AvailableIndex() const;
    int CanVisibleIndex() const;
    int VisibleIndex() const;
    int RecentIndex() const;

    // Creates the control through the item/control class registry (no entry: no control);
    // a window item on a vertical toolbar that rotates gets a button control.
    void CreateControl();
    void DestroyControl();
    void UpdateAction();
    // From a link: its data and overrides, then its item (in by-name mode the item of the
    // manager's form with the source item's name), UserDefine, BeginGroup and Visible. A
    // source whose item cannot be had (none, or no such item by name) leaves this link
    // without one, and its links free it.
    void Assign(TPersistent* source) override;

    // Recent order. ItemClicked moves the link to the front (counting one use with count)
    // and passes the use on to the link of the sub item or drop-down button that opened it.
    void ItemClicked(bool count);
    void MoveToRecentTop(bool count);
    void MoveToRecentEnd();
    void CopyRecentState(TdxBarItemLink* link);
    // Keep and restore the recent position around a temporary change.
    void SaveRecentIndex();
    void RestoreRecentIndex();

protected:
    friend class TdxBarItemLinks;
    void LinkChanged();
    void ApplyMostRecentlyUsed();
    void MoveToRecentPosition(int position);

private:
    // The setters' work, which never frees the link. AttachItem answers false when value is
    // refused (a sub item that would hold itself); the link then has no item.
    bool AttachItem(TdxBarItem* value);
    // The item Assign takes from source; none when it cannot be had.
    TdxBarItem* AssignedItem(const TdxBarItemLink* source) const;
    // Assign's copy with the item it takes; false when the item is refused.
    bool CopyFrom(const TdxBarItemLink* source, TdxBarItem* item);
    void ItemClicked(bool count, QList<const TdxBarItemLinks*>& visited);
    TdxBarItem* ParentItem() const;
    bool IsOnToolbarWindow() const;
    bool beginGroup_ = false;
    TdxBarItemControl* control_ = nullptr;
    int data_ = 0;
    QPointer<TdxBarItem> item_;
    QRect itemRect_;
    int storedRecentIndex_ = -1;
    int storedUseCount_ = 0;
    bool pendingVisible_ = true;
    bool mostRecentlyUsed_ = true;
    QPointer<TdxBarItemLink> sourceLink_;
    int savedRecentIndex_ = -1;
    int useCount_ = 0;
    QString userCaption_;
    TdxBarUserDefines userDefine_;
    TBitmap* userGlyph_ = nullptr;
    TdxBarPaintStyle userPaintStyle_ = psStandard;
    int userWidth_ = 0;
    bool visible_ = true;
    bool replacedInMenu_ = false;
    bool groupStartWhileExpanded_ = false;
};

class TdxBarItemLinks : public TCollection {
    Q_OBJECT
public:
    // owner: the bar, sub item, popup menu or library popup the links belong to.
    TdxBarItemLinks(TdxBarManager* manager, TPersistent* owner);
    ~TdxBarItemLinks() override;

    TdxBarItemLink* Add();
    // A new link at index (clamped).
    TdxBarItemLink* Insert(int index);
    TdxBarItemLink* Items(int index) const;
    TdxBarManager* BarManager() const;
    void SetBarManager(TdxBarManager* manager);
    TPersistent* OwnerObject() const { return Owner(); }

    // The bar window showing these links, while one exists.
    TCustomdxBarControl* BarControl() const { return barControl_; }
    void SetBarControl(TCustomdxBarControl* control) { barControl_ = control; }

    const QList<TdxBarItemLink*>& AvailableItems() const { return available_; }
    int AvailableItemCount() const { return int(available_.size()); }
    const QList<TdxBarItemLink*>& CanVisibleItems() const { return canVisible_; }
    int CanVisibleItemCount() const { return int(canVisible_.size()); }
    const QList<TdxBarItemLink*>& VisibleItems() const { return visible_; }
    int VisibleItemCount() const { return int(visible_.size()); }
    const QList<TdxBarItemLink*>& RecentOrder() const { return recent_; }

    // Available: links whose item is visible now; can-visible: those whose Visible is set;
    // visible: the can-visible links, or under a recent limit the leading can-visible links
    // of the recent order, in collection order. At design time every link with an item.
    void RebuildLists();
    void SetRecentItemLimit(int limit);
    void RestoreRecentItemLimit();
    int RecentItemLimit() const { return recentLimit_; }
    bool UseRecentItems() const { return useRecentItems_; }
    void SetUseRecentItems(bool value) { useRecentItems_ = value; }
    bool Assigning() const { return assigning_; }

    // The manager shows recent items first and the collection at the root of this menu
    // chain (a bar, a popup menu, or a menu without a parent window) uses them.
    bool UsesRecentItems() const;
    // How many links a shortened menu shows: -1 for all.
    int RecentItemCount() const;
    // Moves the can-visible links to the front of the recent order, keeping their order.
    void PackRecentOrder();
    // After the layout store read: applies MostRecentlyUsed, with applyVisibility the
    // pending visibility, then the stored recent positions and use counts.
    void AfterLoad(bool applyVisibility);
    // Takes MostRecentlyUsed by index from links, then AfterLoad(false) and PackRecentOrder.
    void AssignRecentState(TdxBarItemLinks* links);

    // Keyboard navigation over the leading visible links that fit the window: the first,
    // last, next or previous link whose control can be selected (Next and Prev wrap; none
    // when no link qualifies).
    int FittingVisibleCount() const;
    TdxBarItemLink* First() const;
    TdxBarItemLink* Last() const;
    TdxBarItemLink* Next(TdxBarItemLink* link) const;
    TdxBarItemLink* Prev(TdxBarItemLink* link) const;
    // The first link after start (wrapping once) whose item accepts accelerators there and
    // whose caption's accelerator is key with shift.
    TdxBarItemLink* FindByAccelerator(int key, TShiftState shift, TdxBarItemLink* start) const;
    void EmptyItemRects();

    // Copies the links of another TdxBarItemLinks; visibility is applied once all are in,
    // and a leading MDI system-menu link survives.
    void Assign(TPersistent* source) override;

    // Some link shows item, directly or through a sub item's links.
    bool ContainsItem(TdxBarItem* item) const;
    void UpdateActions();

    // Runs after changes (the bar's links call manager Changed).
    std::function<void()> OnChange;

protected:
    void Update(TCollectionItem* item) override;

private:
    friend class TdxBarItemLink;
    // A link's SetItem and Assign. The link does the work; a link it left without an item
    // is freed here, after it returned, and a refused item is reported by an exception.
    void SetLinkItem(TdxBarItemLink* link, TdxBarItem* item);
    void AssignLink(TdxBarItemLink* link, const TdxBarItemLink* source);
    bool ContainsItem(TdxBarItem* item, QList<const TdxBarItemLinks*>& visited) const;
    TdxBarItemLink* WholeLink(TCollectionItem* item) const;
    TdxBarItemLink* Step(TdxBarItemLink* link, int direction) const;
    void FinishAssign(TdxBarItem* systemMenuItem);

    bool assigning_ = false;
    bool destroying_ = false;
    QList<TdxBarItemLink*> available_;
    QList<TdxBarItemLink*> canVisible_;
    QList<TdxBarItemLink*> visible_;
    TCustomdxBarControl* barControl_ = nullptr;
    QPointer<TdxBarManager> manager_;
    int prevRecentLimit_ = -1;
    QList<TdxBarItemLink*> recent_;
    // The links of recent_, for lookups by collection item.
    QSet<const TCollectionItem*> whole_;
    int recentLimit_ = -1;
    bool useRecentItems_ = true;
};

// By-name mode of link assignment (a bar's reset from a fresh copy of its form): an
// assigned link takes the item of the live form with the source item's name. The scope
// switches it on and restores the previous mode when it ends.
bool dxBarAssignLinksByName();
class TdxBarAssignLinksByNameScope {
public:
    TdxBarAssignLinksByNameScope();
    ~TdxBarAssignLinksByNameScope();
    TdxBarAssignLinksByNameScope(const TdxBarAssignLinksByNameScope&) = delete;
    TdxBarAssignLinksByNameScope& operator=(const TdxBarAssignLinksByNameScope&) = delete;

private:
    bool previous_;
};

// Does the caption's accelerator answer key with shift? Alt is ignored, and Shift too when
// the accelerator is written in upper case; Shift and Ctrl must otherwise match the key.
bool dxBarIsAccel(const QString& caption, int key, TShiftState shift);
