#include "Strings.h"

#include <gtest/gtest.h>

namespace {

// Mirrors every edit into a log, as a list that renumbers data of its own would.
class MirrorList : public TStringList {
    Q_OBJECT
public:
    QStringList log;
    void Insert(int index, const QString& s) override
    {
        log << QStringLiteral("insert %1 %2").arg(index).arg(s);
        TStringList::Insert(index, s);
    }
    void Delete(int index) override
    {
        log << QStringLiteral("delete %1").arg(index);
        TStringList::Delete(index);
    }
    void Put(int index, const QString& s) override
    {
        log << QStringLiteral("put %1 %2").arg(index).arg(s);
        TStringList::Put(index, s);
    }
    void PutObject(int index, void* object) override
    {
        log << QStringLiteral("object %1").arg(index);
        TStringList::PutObject(index, object);
    }
    void Exchange(int a, int b) override
    {
        log << QStringLiteral("exchange %1 %2").arg(a).arg(b);
        TStringList::Exchange(a, b);
    }
};

class ChangeCounter : public QObject {
    Q_OBJECT
public:
    int changes = 0;
    int changings = 0;
    void Change(QObject*) { ++changes; }
    void Changing(QObject*) { ++changings; }
};

QStringList Of(const TStrings& s)
{
    return s.ToStringList();
}

}  // namespace

TEST(Strings, EditsRunThroughTheOverridableOperations)
{
    MirrorList list;
    int tag = 7;
    list.Add("a");
    list.AddObject("b", &tag);
    list.Insert(0, "z");
    EXPECT_EQ(list.log, (QStringList{"insert 0 a", "insert 1 b", "object 1", "insert 0 z"}));
    list.log.clear();
    list.Move(0, 2);  // moves as delete + insert, keeping the object
    EXPECT_EQ(list.log, (QStringList{"delete 0", "insert 2 z"}));
    EXPECT_EQ(Of(list), (QStringList{"a", "b", "z"}));
    EXPECT_EQ(list.Objects(1), &tag);
    list.log.clear();
    list.Exchange(0, 1);
    EXPECT_EQ(list.log, QStringList{"exchange 0 1"});
    EXPECT_EQ(Of(list), (QStringList{"b", "a", "z"}));
    EXPECT_EQ(list.IndexOfObject(&tag), 0);
    list.Put(2, "y");
    EXPECT_EQ(list.Strings(2), "y");
}

TEST(Strings, OutOfRangeIndexesRaiseListErrors)
{
    TStringList list;
    list.Add("only");
    for (int bad : {-1, 1}) {
        try {
            list.Strings(bad);
            FAIL();
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (%1)").arg(bad));
        }
    }
    EXPECT_THROW(list.Delete(1), EStringListError);
    EXPECT_THROW(list.Insert(2, "x"), EStringListError);
    EXPECT_THROW(list.Exchange(0, 5), EStringListError);
    EXPECT_THROW(list.Move(0, 1), EStringListError);
    EXPECT_THROW(list.PutObject(-1, nullptr), EStringListError);
    EXPECT_EQ(Of(list), QStringList{"only"});  // nothing lost by the failed move
    list.Insert(1, "end");                     // inserting at Count appends
    EXPECT_EQ(list.Count(), 2);
}

TEST(Strings, SortedListsAndDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("pear");
    list.Add("Apple");
    list.Add("fig");
    EXPECT_EQ(Of(list), (QStringList{"Apple", "fig", "pear"}));
    EXPECT_EQ(list.Add("APPLE"), 0);  // dupIgnore: the existing index
    EXPECT_EQ(list.Count(), 3);
    list.SetDuplicates(dupError);
    try {
        list.Add("Fig");
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "Duplicates not allowed");
    }
    list.SetDuplicates(dupAccept);
    list.Add("fig");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.IndexOf("FIG"), 1);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
    EXPECT_THROW(list.Put(0, "x"), EStringListError);
    EXPECT_THROW(list.Move(0, 3), EStringListError);
    EXPECT_EQ(list.Count(), 4);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("apple"), -1);
    int index = -1;
    EXPECT_FALSE(list.Find("banana", index));
    EXPECT_EQ(index, 1);
}

TEST(Strings, TextJoinsWithCrLfAndSplitsOnAnyLineBreak)
{
    TStringList list;
    list.SetText("one\r\ntwo\rthree\nfour\n\nsix");
    EXPECT_EQ(Of(list), (QStringList{"one", "two", "three", "four", "", "six"}));
    list.SetText("a\r\n");
    EXPECT_EQ(Of(list), QStringList{"a"});
    EXPECT_EQ(list.Text(), "a\r\n");
    list.SetText("\r\n\r\n");
    EXPECT_EQ(Of(list), (QStringList{"", ""}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
}

TEST(Strings, ChangeEventsFireOncePerBatch)
{
    TStringList list;
    ChangeCounter counter;
    list.SetOnChange(TNotifyEvent(&counter, &ChangeCounter::Change));
    list.SetOnChanging(TNotifyEvent(&counter, &ChangeCounter::Changing));
    list.Add("a");
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(counter.changings, 1);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("b");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(counter.changes, 1);
    list.EndUpdate();
    EXPECT_EQ(counter.changes, 2);
    EXPECT_EQ(counter.changings, 2);
    list.SetText("x\ny");
    EXPECT_EQ(counter.changes, 3);
}

TEST(Strings, AssignAndEquals)
{
    int tag = 1;
    TStringList a;
    a.AddObject("x", &tag);
    a.Add("y");
    MirrorList b;
    b.Add("old");
    b.Assign(&a);
    EXPECT_TRUE(b.Equals(&a));
    EXPECT_EQ(b.Objects(0), &tag);
    b.Put(1, "Y");
    EXPECT_FALSE(b.Equals(&a));  // case matters for equality
    EXPECT_FALSE(b.Equals(nullptr));
    TComponent notStrings(nullptr);
    EXPECT_THROW(b.Assign(&notStrings), EConvertError);
}

#include "strings_test.moc"
