// Tree views: node order, deletion, streaming, sorting, hit testing and the refusable events.
#include "Forms.h"
#include "TestSupport.h"
#include "TreeView.h"

#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Recorder : QObject {
    QStringList events;
    TTreeNode* refuse = nullptr;

    void Deletion(TObject*, TTreeNode* node) { events << "delete " + node->Text(); }
    void Change(TObject*, TTreeNode* node) { events << "change " + (node ? node->Text() : QStringLiteral("-")); }
    void Changing(TObject*, TTreeNode* node, bool& allow)
    {
        events << "changing " + node->Text();
        allow = node != refuse;
    }
    void Expanding(TObject*, TTreeNode* node, bool& allow)
    {
        events << "expanding " + node->Text();
        allow = node != refuse;
    }
    void ExpandedNode(TObject*, TTreeNode* node) { events << "expanded " + node->Text(); }
    QStringList Take() { return std::exchange(events, {}); }
};

struct TreeViewTest : ::testing::Test {
    TreeViewTest()
    {
        form->SetBounds(0, 0, 300, 300);
        tree->SetParent(form.get());
        tree->SetBounds(10, 10, 200, 250);
        // a (a1 (a1x), a2), b (b1), c
        TTreeNodes* n = tree->Items();
        a = n->Add(nullptr, "a");
        a1 = n->AddChild(a, "a1");
        n->AddChild(a1, "a1x");
        n->AddChild(a, "a2");
        b = n->Add(nullptr, "b");
        n->AddChild(b, "b1");
        n->Add(nullptr, "c");
    }
    QStringList Order() const
    {
        QStringList texts;
        for (TTreeNode* node = tree->Items()->GetFirstNode(); node; node = node->GetNext()) texts << node->Text();
        return texts;
    }

    Recorder recorder;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TTreeView* tree = new TTreeView(form.get());
    TTreeNode* a = nullptr;
    TTreeNode* a1 = nullptr;
    TTreeNode* b = nullptr;
};

}  // namespace

TEST_F(TreeViewTest, NodesKeepTheirDepthFirstOrderWhereverTheyAreAdded)
{
    TTreeNodes* n = tree->Items();
    n->AddChildFirst(b, "b0");
    n->Insert(b, "ab");
    n->AddFirst(a1, "a0");
    EXPECT_EQ(Order(), QStringList({"a", "a0", "a1", "a1x", "a2", "ab", "b", "b0", "b1", "c"}));
    ASSERT_EQ(n->Count(), 10);
    for (int i = 0; i < n->Count(); ++i) EXPECT_EQ(n->Item(i)->Text(), Order()[i]) << i;
    EXPECT_EQ(n->Item(10), nullptr);
    EXPECT_EQ(n->Item(3)->Level(), 2);
    EXPECT_EQ(n->Item(3)->Parent(), a1);
    EXPECT_EQ(a1->Index(), 1);
}

TEST_F(TreeViewTest, FreeingASubtreeTellsOfEveryNodeAndSelectsNoNeighbour)
{
    tree->OnDeletion = TTVExpandedEvent(&recorder, &Recorder::Deletion);
    tree->OnChange = TTVChangedEvent(&recorder, &Recorder::Change);
    TTreeNode* deep = a1->Item(0);
    tree->SetSelected(deep);
    recorder.Take();

    a->Delete();
    EXPECT_EQ(recorder.Take(), QStringList({"delete a2", "delete a1x", "delete a1", "delete a", "change -"}));
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Items()->Count(), 3);
    EXPECT_EQ(Order(), QStringList({"b", "b1", "c"}));

    // Freeing the view tells of the rest, the last root first.
    tree->OnChange = {};
    delete tree;
    EXPECT_EQ(recorder.Take(), QStringList({"delete c", "delete b1", "delete b"}));
}

TEST_F(TreeViewTest, NodesSurviveTheirStreamedFormAndDamagedDataLeavesNoNodes)
{
    a1->SetImageIndex(3);
    a1->SetSelectedIndex(4);
    a1->SetStateIndex(1);
    b->SetData(-77);
    b->SetText(QStringLiteral("bé ☃"));
    const QByteArray bytes = tree->Items()->WriteData();

    TTreeView copy(nullptr);
    ASSERT_TRUE(copy.Items()->ReadData(bytes));
    ASSERT_EQ(copy.Items()->Count(), 7);
    for (int i = 0; i < 7; ++i) {
        const TTreeNode* x = tree->Items()->Item(i);
        const TTreeNode* y = copy.Items()->Item(i);
        EXPECT_EQ(y->Text(), x->Text()) << i;
        EXPECT_EQ(y->Level(), x->Level()) << i;
        EXPECT_EQ(y->Count(), x->Count()) << i;
        EXPECT_EQ(std::tuple(y->ImageIndex(), y->SelectedIndex(), y->StateIndex(), y->Data()),
                  std::tuple(x->ImageIndex(), x->SelectedIndex(), x->StateIndex(), x->Data()))
            << i;
    }
    // Assign copies the same way.
    TTreeView assigned(nullptr);
    assigned.Items()->Assign(*copy.Items());
    EXPECT_EQ(assigned.Items()->WriteData(), bytes);

    QByteArray huge = bytes;
    huge[23] = char(0x7f);  // the top byte of the first node's child count
    for (const QByteArray& damaged : {bytes.left(bytes.size() - 3), huge, QByteArray("\x01\x02\x03")}) {
        EXPECT_FALSE(copy.Items()->ReadData(damaged));
        EXPECT_EQ(copy.Items()->Count(), 0);
        EXPECT_EQ(copy.Items()->GetFirstNode(), nullptr);
    }
}

TEST_F(TreeViewTest, SortedTreesOrderByTextIgnoringCaseOrByTheCompareEvent)
{
    TTreeNodes* n = tree->Items();
    n->Clear();
    for (const char* s : {"pear", "Apple", "fig"}) n->Add(nullptr, s);
    tree->SetSortType(stText);
    EXPECT_EQ(Order(), QStringList({"Apple", "fig", "pear"}));
    n->Add(nullptr, "banana");
    EXPECT_EQ(Order(), QStringList({"Apple", "banana", "fig", "pear"}));
    n->Item(0)->SetText("zucchini");
    EXPECT_EQ(Order(), QStringList({"banana", "fig", "pear", "zucchini"}));

    struct ByLength : QObject {
        void Compare(TObject*, TTreeNode* x, TTreeNode* y, int, int& result)
        {
            result = int(x->Text().size() - y->Text().size());
        }
    } byLength;
    tree->OnCompare = TTVCompareEvent(&byLength, &ByLength::Compare);
    tree->AlphaSort();
    EXPECT_EQ(Order(), QStringList({"fig", "pear", "banana", "zucchini"}));
}

TEST_F(TreeViewTest, OnlyAPointOnANodesDrawnRowHitsIt)
{
    form->Show();
    a->Expand(false);
    const QRect child = tree->NodeRect(a1);
    ASSERT_FALSE(child.isEmpty());
    struct Case {
        QPoint at;
        bool onItem;
    };
    const Case cases[] = {
        {child.center(), true},
        {QPoint(child.left() + 1, child.center().y()), true},
        // The indentation before the child's row: its lines and button.
        {QPoint(child.left() - 3, child.center().y()), false},
        {QPoint(child.center().x(), tree->TreeWidget()->viewport()->height() - 2), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tree->GetHitTestInfoAt(c.at.x(), c.at.y()) != htNowhere, c.onItem) << c.at.x() << "," << c.at.y();
        EXPECT_EQ(tree->GetHitTestInfoAt(c.at.x(), c.at.y()) & htOnItem ? true : false, c.onItem);
    }
}

TEST_F(TreeViewTest, KeysSentToAViewWithoutFocusMoveTheSelectionUnlessRefused)
{
    tree->TreeWidget()->setFocusPolicy(Qt::NoFocus);
    form->Show();
    tree->OnChange = TTVChangedEvent(&recorder, &Recorder::Change);
    tree->OnChanging = TTVChangingEvent(&recorder, &Recorder::Changing);
    tree->SetSelected(a);
    recorder.Take();

    tree->SendKey(VK_DOWN, {});
    EXPECT_EQ(recorder.Take(), QStringList({"changing b", "change b"}));
    EXPECT_EQ(tree->Selected(), b);

    recorder.refuse = tree->Items()->Item(6);  // c
    tree->SendKey(VK_DOWN, {});
    EXPECT_EQ(recorder.Take(), QStringList({"changing c"}));
    EXPECT_EQ(tree->Selected(), b);

    // A press on the refused node keeps the selection too.
    QTest::mouseClick(tree->TreeWidget()->viewport(), Qt::LeftButton, {}, tree->NodeRect(recorder.refuse).center());
    EXPECT_EQ(tree->Selected(), b);
}

TEST_F(TreeViewTest, ARefusedExpansionLeavesTheNodeClosed)
{
    tree->OnExpanding = TTVChangingEvent(&recorder, &Recorder::Expanding);
    tree->OnExpanded = TTVExpandedEvent(&recorder, &Recorder::ExpandedNode);
    recorder.refuse = b;
    b->Expand(false);
    a->Expand(false);
    EXPECT_EQ(recorder.Take(), QStringList({"expanding b", "expanding a", "expanded a"}));
    EXPECT_FALSE(b->Expanded());
    EXPECT_TRUE(a->Expanded());

    tree->FullExpand();
    EXPECT_FALSE(b->Expanded());
    EXPECT_TRUE(a1->Expanded());
}
