#pragma once
// Item links: one placement of an item on a bar, sub menu or popup menu, and the ordered
// collection of them. A collection keeps three derived lists (available, can-visible,
// visible) and a recent order of all its links, from which menus show recently used
// commands first.
#include "Collections.h"
#include "dxBarTypes.h"

#include <QList>
#include <QPointer>
#include <QRect>
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
    explicit TdxBarItemLink(TCollection* collection = nullptr);
    // Frees the control, leaves the item's link list and the recent order.
    ~TdxBarItemLink() override;

    TdxBarItemLinks* Links() const;
    TdxBarManager* BarManager() const;
    TCustomdxBarControl* BarControl() const;
    TdxBarItemControl* Control() const { return control_; }

    // Effective group start: see the getter rule (a start hidden by the recent filter
    // carries over to the next shown link).
    bool BeginGroup() const;
    void SetBeginGroup(bool value);
    TdxBarItem* Item() const;
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
    void SetVisible(bool value);

    // Effective values: the user override where UserDefine holds it, else the item's.
    QString Caption() const;
    TBitmap* Glyph() const;
    TdxBarPaintStyle PaintStyle() const;
    int Width() const;

    int Data() const { return data_; }
    void SetData(int value) { data_ = value; }
    QRect ItemRect() const { return itemRect_; }
    void SetItemRect(const QRect& r) { itemRect_ = r; }
    // The link a generated link was made from.
    TdxBarItemLink* OriginalItemLink() const { return sourceLink_; }
    void SetOriginalItemLink(TdxBarItemLink* link) { sourceLink_ = link; }
    bool PendingVisible() const { return pendingVisible_; }
    int UseCount() const { return useCount_; }
    void SetUseCount(int value) { useCount_ = value; }

    int AvailableIndex() const;
    int CanVisibleIndex() const;
    int VisibleIndex() const;
    int RecentIndex() const;

    // Creates the control through the item/control class registry (no entry: no control).
    void CreateControl();
    void DestroyControl();
    void UpdateAction();
    void Assign(TPersistent* source) override;

    // Recent order.
    void ItemClicked(bool count);
    void MoveToRecentTop(bool count);
    void MoveToRecentEnd();
    void CopyRecentState(TdxBarItemLink* link);

protected:
    friend class TdxBarItemLinks;
    void LinkChanged();
    void ApplyMostRecentlyUsed();
    void MoveToRecentPosition(int position);

private:
    bool beginGroup_ = false;
    TdxBarItemControl* control_ = nullptr;
    int data_ = 0;
    QPointer<TdxBarItem> item_;
    QRect itemRect_;
    int storedRecentIndex_ = -1;
    int storedUseCount_ = 0;
    bool pendingVisible_ = true;
    bool mostRecentlyUsed_ = true;
    TdxBarItemLink* sourceLink_ = nullptr;
    int savedRecentIndex_ = -1;
    int useCount_ = 0;
    QString userCaption_;
    TdxBarUserDefines userDefine_;
    TBitmap* userGlyph_ = nullptr;
    TdxBarPaintStyle userPaintStyle_ = psStandard;
    int userWidth_ = 0;
    bool visible_ = true;
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

    void RebuildLists();
    void SetRecentItemLimit(int limit);
    void RestoreRecentItemLimit();
    int RecentItemLimit() const { return recentLimit_; }
    bool UseRecentItems() const { return useRecentItems_; }
    void SetUseRecentItems(bool value) { useRecentItems_ = value; }
    bool Assigning() const { return assigning_; }

    // Some link shows item, directly or through a sub item's links.
    bool ContainsItem(TdxBarItem* item) const;
    void UpdateActions();

    // Runs after changes (the bar's links call manager Changed).
    std::function<void()> OnChange;

protected:
    void Update(TCollectionItem* item) override;

private:
    friend class TdxBarItemLink;
    bool ContainsItem(TdxBarItem* item, QList<const TdxBarItemLinks*>& visited) const;
    TdxBarItemLink* WholeLink(TCollectionItem* item) const;

    bool assigning_ = false;
    bool destroying_ = false;
    QList<TdxBarItemLink*> available_;
    QList<TdxBarItemLink*> canVisible_;
    QList<TdxBarItemLink*> visible_;
    TCustomdxBarControl* barControl_ = nullptr;
    QPointer<TdxBarManager> manager_;
    int prevRecentLimit_ = -1;
    QList<TdxBarItemLink*> recent_;
    int recentLimit_ = -1;
    bool useRecentItems_ = true;
};
