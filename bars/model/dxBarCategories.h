#pragma once
// TdxBarManagerCategories: the manager's category names. An item's Category is an index
// into this list (negative: an item the library keeps for itself). Each category may carry
// a record: whether its items are shown (ItemsVisible) and whether it is listed (Visible).
// Editing the list renumbers the items' categories so every item stays in its category.
#include "Strings.h"
#include "dxBarTypes.h"

#include <QList>
#include <optional>

class TFiler;
class TReader;
class TdxBarManager;

// A category's values; a category without a record has the defaults.
struct TdxBarCategoryRecord {
    TdxBarItemVisible itemsVisible = ivAlways;
    // The ItemsVisible read from the form resource, applied once the manager has loaded.
    // Every new record starts with the default, so a record made for another value (its
    // Visible) never hides the category's items when the manager applies it.
    TdxBarItemVisible loadedItemsVisible = ivAlways;
    bool visible = true;
};

class TdxBarManagerCategories : public TStringList {
    Q_OBJECT
public:
    explicit TdxBarManagerCategories(TdxBarManager* manager);

    TdxBarManager* BarManager() const { return manager_; }
    // The record of a category; none without one or out of range.
    const TdxBarCategoryRecord* Record(int index) const;
    // The record of a category in range, made with the defaults when missing.
    TdxBarCategoryRecord& EnsureRecord(int index);
    // True while the list moves one of its strings (its own Delete and Insert then only
    // shift the strings).
    bool Moving() const { return moving_; }

    // Inserting before the end moves the items of that category and all later ones up.
    void Insert(int index, const QString& s) override;
    // Frees the category's items, moves later categories' items down, and keeps one
    // "Default" category when the list becomes empty. Out of range: nothing.
    void Delete(int index) override;
    // Drops the strings and records only (reading a form resource replaces the names).
    void Clear() override;
    // The items of the two categories swap categories. Out of range: nothing.
    void Exchange(int index1, int index2) override;
    // The moved category's items follow it; the categories in between shift by one.
    void Move(int curIndex, int newIndex) override;
    // Strings, and the records when the source is a category list too.
    void Assign(TPersistent* source) override;
    // "ItemsVisibles" and "Visibles": one value per category, always written.
    void DefineProperties(TFiler* filer) override;

protected:
    void Changed() override;

private:
    // Adds delta to the category of every item whose category lies in [first, last].
    void ShiftItems(int first, int last, int delta);
    void ReadItemsVisibles(TReader* reader);
    void ReadVisibles(TReader* reader);

    TdxBarManager* manager_;
    // One entry per string, kept in step with the list.
    QList<std::optional<TdxBarCategoryRecord>> records_;
    bool moving_ = false;
};
