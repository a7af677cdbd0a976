#include "Strings.h"

#include "Scope.h"

#include <algorithm>
#include <typeinfo>
#include <utility>

// ---- TStrings ----

void TStrings::Put(int index, const QString& s)
{
    void* object = Objects(index);
    Delete(index);
    InsertObject(index, s, object);
}

void TStrings::PutObject(int /*index*/, void* /*object*/) {}

int TStrings::AddObject(const QString& s, void* object)
{
    const int index = Count();
    InsertObject(index, s, object);
    return index;
}

void TStrings::AddStrings(const TStrings* strings)
{
    if (!strings || strings == this) return;
    TUpdateScope update(this);
    for (int i = 0; i < strings->Count(); ++i) AddObject(strings->Strings(i), strings->Objects(i));
}

void TStrings::AddStrings(const QStringList& strings)
{
    TUpdateScope update(this);
    for (const QString& s : strings) Add(s);
}

void TStrings::InsertObject(int index, const QString& s, void* object)
{
    Insert(index, s);
    if (object) PutObject(index, object);
}

void TStrings::Exchange(int index1, int index2)
{
    if (index1 == index2) return;
    TUpdateScope update(this);
    const QString s1 = Strings(index1);
    void* o1 = Objects(index1);
    Put(index1, Strings(index2));
    PutObject(index1, Objects(index2));
    Put(index2, s1);
    PutObject(index2, o1);
}

void TStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex) return;
    TUpdateScope update(this);
    const QString s = Strings(curIndex);
    void* object = Objects(curIndex);
    if (newIndex < 0 || newIndex >= Count()) IndexError(newIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, object);
}

int TStrings::IndexOf(const QString& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Strings(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfObject(const void* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == object) return i;
    return -1;
}

QString TStrings::Text() const
{
    QString result;
    for (int i = 0; i < Count(); ++i) {
        result += Strings(i);
        result += QLatin1String("\r\n");
    }
    return result;
}

void TStrings::SetText(const QString& text)
{
    TUpdateScope update(this);
    Clear();
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n')) ++end;
        Add(text.mid(start, end - start));
        if (end < n && text.at(end) == QLatin1Char('\r')) ++end;
        if (end < n && text.at(end) == QLatin1Char('\n')) ++end;
        start = end;
    }
}

QStringList TStrings::ToStringList() const
{
    QStringList result;
    result.reserve(Count());
    for (int i = 0; i < Count(); ++i) result.append(Strings(i));
    return result;
}

void TStrings::BeginUpdate()
{
    // The subclass hears of the outermost begin while the count is still zero.
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate()
{
    if (updateCount_ <= 0) return;
    if (--updateCount_ == 0) SetUpdateState(false);
}

bool TStrings::Equals(const TStrings* other) const
{
    if (!other) return false;
    if (other->Count() != Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Strings(i) != other->Strings(i)) return false;
    return true;
}

void TStrings::Assign(TPersistent* source)
{
    auto* other = qobject_cast<TStrings*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    TUpdateScope update(this);
    Clear();
    AddStrings(other);
}

int TStrings::CompareStrings(const QString& a, const QString& b) const
{
    return a.compare(b, Qt::CaseInsensitive);
}

void TStrings::Error(const QString& format, int index)
{
    throw EStringListError(format.arg(index));
}

void TStrings::IndexError(int index)
{
    Error(QStringLiteral("List index out of bounds (%1)"), index);
}

// ---- TStringList ----

namespace {
[[noreturn]] void SortedListError()
{
    throw EStringListError(QStringLiteral("Operation not allowed on sorted list"));
}
}  // namespace

TStringList::~TStringList()
{
    // A subclass's handlers must not run on a half-destroyed list.
    onChange_ = TNotifyEvent();
    onChanging_ = TNotifyEvent();
}

QString TStringList::Strings(int index) const
{
    CheckIndex(index);
    return items_[std::size_t(index)].string;
}

void* TStringList::Objects(int index) const
{
    CheckIndex(index);
    return items_[std::size_t(index)].object;
}

void TStringList::Put(int index, const QString& s)
{
    if (sorted_) SortedListError();
    CheckIndex(index);
    Changing();
    items_[std::size_t(index)].string = s;
    Changed();
}

void TStringList::PutObject(int index, void* object)
{
    CheckIndex(index);
    Changing();
    items_[std::size_t(index)].object = object;
    Changed();
}

int TStringList::AddObject(const QString& s, void* object)
{
    // Appending to a plain list nobody listens to needs none of the virtual insertion steps;
    // a subclass may mirror them, so it always takes the full path.
    if (!sorted_ && !onChange_ && !onChanging_ && typeid(*this) == typeid(TStringList)) {
        items_.push_back({s, object});
        return Size() - 1;
    }
    return AddObjectFully(s, object);
}

// Kept apart so that the plain append above needs no stack frame of its own.
int TStringList::AddObjectFully(const QString& s, void* object)
{
    if (!sorted_) return TStrings::AddObject(s, object);
    int index = 0;
    if (Find(s, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) throw EStringListError(QStringLiteral("Duplicates not allowed"));
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Insert(int index, const QString& s)
{
    if (sorted_) SortedListError();
    if (index < 0 || index > Size()) IndexError(index);
    InsertItem(index, s, nullptr);
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[std::size_t(index1)], items_[std::size_t(index2)]);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex)
{
    // Checked before anything moves: the base would delete and then fail to re-insert.
    if (sorted_ && curIndex != newIndex) SortedListError();
    TStrings::Move(curIndex, newIndex);
}

int TStringList::IndexOf(const QString& s) const
{
    if (!sorted_) return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const QString& s, int& index) const
{
    // Lower bound: with duplicates accepted the first equal string is found.
    int lo = 0;
    int hi = Size();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (CompareStrings(items_[std::size_t(mid)].string, s) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    index = lo;
    return lo < Size() && CompareStrings(items_[std::size_t(lo)].string, s) == 0;
}

void TStringList::Sort()
{
    if (items_.size() < 2) return;
    Changing();
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.string, b.string) < 0; });
    Changed();
}

void TStringList::SetSorted(bool value)
{
    if (sorted_ == value) return;
    if (value) Sort();
    sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value)
{
    if (caseSensitive_ == value) return;
    caseSensitive_ = value;
    if (sorted_) Sort();
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && onChange_) onChange_(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && onChanging_) onChanging_(this);
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const QString& a, const QString& b) const
{
    return a.compare(b, caseSensitive_ ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

void TStringList::InsertItem(int index, const QString& s, void* object)
{
    Changing();
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Size()) IndexError(index);
}
