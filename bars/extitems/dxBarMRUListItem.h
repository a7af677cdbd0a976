#pragma once
// TdxBarMRUListItem: a list item for recently used strings such as file names. Its entries
// are the list item's Items, which a menu lists in place of the item's own row.
// MaxItemCount caps the list (0: no cap) by dropping entries from the end when it is set;
// the program adds entries through Items. With RemoveItemOnClick, choosing an entry from a
// menu removes that entry, unless the manager is customizing or designing.
#include "dxBarItems.h"

class TdxBarMRUListItem : public TdxBarListItem {
    Q_OBJECT
    Q_PROPERTY(int MaxItemCount READ MaxItemCount WRITE SetMaxItemCount)
    Q_PROPERTY(bool RemoveItemOnClick MEMBER removeItemOnClick_)
    Q_CLASSINFO("Default.MaxItemCount", "5")
    Q_CLASSINFO("Default.RemoveItemOnClick", "False")
public:
    Q_INVOKABLE explicit TdxBarMRUListItem(TComponent* owner);

    int MaxItemCount() const { return maxItemCount_; }
    // Below 0 stores 0. A new cap drops the entries past it; a chosen entry among them
    // leaves ItemIndex at -1.
    void SetMaxItemCount(int value);
    bool RemoveItemOnClick() const { return removeItemOnClick_; }
    void SetRemoveItemOnClick(bool value) { removeItemOnClick_ = value; }

    // Removes the entry with text, or without a text the entry holding object; the first
    // such entry, when there is one.
    void RemoveItem(const QString& text, TObject* object);

    // The list item's click, then the chosen entry (ItemIndex) goes when it is to be removed:
    // that entry by its place, not the first with its text.
    void DoClick() override;

private:
    void Trim();

    int maxItemCount_ = 5;
    bool removeItemOnClick_ = false;
};
