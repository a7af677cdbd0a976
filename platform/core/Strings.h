#pragma once
// String lists: strings each paired with an object pointer. TStrings is the abstract
// list; TStringList stores the strings and can keep them sorted. The editing operations
// are virtual so a subclass can mirror every change into a list of its own: on an
// unsorted TStringList every insertion (Add, AddObject, Insert, InsertObject, Move) ends
// in Insert(index, s), every removal (Delete, Move) in Delete(index), and Move runs as
// Delete followed by InsertObject at the new place.
#include "Classes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
    Q_OBJECT
public:
    TStrings() = default;

    virtual int Count() const = 0;
    // EStringListError "List index out of bounds (%d)" when index is out of range.
    virtual QString Strings(int index) const = 0;
    virtual void* Objects(int index) const = 0;
    virtual void Put(int index, const QString& s);
    virtual void PutObject(int index, void* object);

    int Add(const QString& s) { return AddObject(s, nullptr); }
    virtual int AddObject(const QString& s, void* object);
    void AddStrings(const TStrings* strings);
    void AddStrings(const QStringList& strings);
    void Append(const QString& s) { Add(s); }
    virtual void Insert(int index, const QString& s) = 0;
    // Insert, then PutObject when object is set.
    virtual void InsertObject(int index, const QString& s, void* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    // Moves the string (and its object) from curIndex to newIndex.
    virtual void Move(int curIndex, int newIndex);

    // Case-insensitive unless a subclass says otherwise; -1 when absent.
    virtual int IndexOf(const QString& s) const;
    int IndexOfObject(const void* object) const;
    QString operator[](int index) const { return Strings(index); }

    // Every line followed by CR LF.
    virtual QString Text() const;
    // Splits on CR LF, CR or LF; a final line break does not add an empty line.
    virtual void SetText(const QString& text);
    QStringList ToStringList() const;

    // Nested; a subclass learns of the outermost begin and end through SetUpdateState.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Same count and the same strings in the same order (case-sensitive; objects ignored).
    bool Equals(const TStrings* other) const;
    // Replaces the contents with a source TStrings' strings and objects.
    void Assign(TPersistent* source) override;

protected:
    virtual void SetUpdateState(bool /*updating*/) {}
    virtual int CompareStrings(const QString& a, const QString& b) const;
    [[noreturn]] static void Error(const QString& format, int index);
    [[noreturn]] static void IndexError(int index);

private:
    int updateCount_ = 0;
};

class TStringList : public TStrings {
    Q_OBJECT
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_PROPERTY(TNotifyEvent OnChanging READ OnChanging WRITE SetOnChanging)
public:
    TStringList() = default;
    // Frees nothing but its own storage (objects are not owned); OnChange does not fire.
    ~TStringList() override;

    int Count() const override { return int(items_.size()); }
    QString Strings(int index) const override;
    // The string at index without a copy, for readers that visit every line; valid until the
    // list changes.
    const QString& StringRef(int index) const
    {
        if (index < 0 || index >= Size()) IndexError(index);
        return items_[std::size_t(index)].string;
    }
    void* Objects(int index) const override;
    // EStringListError "Operation not allowed on sorted list" when Sorted.
    void Put(int index, const QString& s) override;
    void PutObject(int index, void* object) override;
    // Unsorted: InsertObject at the end. Sorted: inserted at its sorted place; Duplicates decides about an equal string
    // (dupIgnore: returns the existing index, dupError: EStringListError
    // "Duplicates not allowed").
    int AddObject(const QString& s, void* object) override;
    // EStringListError "Operation not allowed on sorted list" when Sorted.
    void Insert(int index, const QString& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    // EStringListError "Operation not allowed on sorted list" when Sorted.
    void Move(int curIndex, int newIndex) override;
    int IndexOf(const QString& s) const override;

    // Binary search of a sorted list: true when found; index is the match or the place
    // the string would go.
    bool Find(const QString& s, int& index) const;
    virtual void Sort();
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates value) { duplicates_ = value; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }
    TNotifyEvent OnChanging() const { return onChanging_; }
    void SetOnChanging(const TNotifyEvent& e) { onChanging_ = e; }

protected:
    // Fire OnChange / OnChanging unless an update is in progress.
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool updating) override;
    int CompareStrings(const QString& a, const QString& b) const override;

private:
    struct Item {
        QString string;
        void* object = nullptr;
    };
    // Count() without the virtual call.
    int Size() const { return int(items_.size()); }
    // AddObject for a sorted list, a list with listeners or a subclass.
    int AddObjectFully(const QString& s, void* object);
    void InsertItem(int index, const QString& s, void* object);
    void CheckIndex(int index) const;

    // A plain vector: appending is the common case and costs a few instructions.
    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
    TNotifyEvent onChange_;
    TNotifyEvent onChanging_;
};
