// The tree-view combo: its text finds its node, freed nodes are forgotten, the drop-down keeps
// its minimum size, choices can be refused, a stored text waits for the stored nodes, and the
// chooser lays itself out and hands its size back.
#include "../windows/BarWindowFixture.h"
#include "DialogScript.h"
#include "FormResources.h"
#include "StdCtrls.h"
#include "dxBarExtItems.h"
#include "dxBarTreeViewCombo.h"

#include <QCursor>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

namespace {

struct Handlers : QObject {
    bool allow = true;
    QStringList asked;
    void CanSelect(TObject*, TTreeNode* node, bool& can)
    {
        asked << node->Text();
        can = allow;
    }
};

class TreeComboTest : public BarWindowTest {
public:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        dxBarExtItemsInitialize();
        manager->SetUseSystemFont(false);
        manager->Font()->SetName("DejaVu Sans");
        manager->Font()->SetHeight(-11);
        combo = Create<TdxBarTreeViewCombo>(form.get());
        combo->SetName("tcPlace");
        combo->SetCaption("Place");
        combo->SetWidth(160);
        // Europe (France (Paris), Germany), Texas (paris)
        TTreeNodes* n = combo->Items();
        europe = n->Add(nullptr, "Europe");
        TTreeNode* france = n->AddChild(europe, "France");
        paris = n->AddChild(france, "Paris");
        germany = n->AddChild(europe, "Germany");
        texas = n->Add(nullptr, "Texas");
        n->AddChild(texas, "paris");
    }
    void TearDown() override
    {
        BarWindowTest::TearDown();
        while (dxBarExtItemsInitialized()) dxBarExtItemsFinalize();
        QCursor::setPos(700, 700);
    }
    // The combo on a painted row bar with its editor, its text box clicked: its control.
    TdxBarTreeViewComboControl* Edit()
    {
        combo->SetShowEditor(true);
        if (!window) {
            bar->ItemLinks()->Add()->SetItem(combo);
            Open();
            window->Snapshot();
        }
        auto* c = dynamic_cast<TdxBarTreeViewComboControl*>(Link(0)->Control());
        const TPoint at = c->ButtonRect.TopLeft() + TPoint(-20, 4);
        QCursor::setPos(window->ClientToScreen(at));
        window->LButtonDown(at, {});
        window->LButtonUp(at, {});
        return c;
    }
    TdxBarTreeViewDropDown* Dropped(QLineEdit* editor)
    {
        QTest::keyClick(editor, Qt::Key_F4);
        return combo->DropDownWindow();
    }
    QPoint RowOf(TTreeNode* node) const { return combo->TreeView()->NodeRect(node).center(); }

    TdxBarTreeViewCombo* combo = nullptr;
    TTreeNode* europe = nullptr;
    TTreeNode* paris = nullptr;
    TTreeNode* germany = nullptr;
    TTreeNode* texas = nullptr;
};

}  // namespace

TEST_F(TreeComboTest, TheTextSelectsTheFirstNodeOfItDepthFirstIgnoringCase)
{
    const struct {
        const char* text;
        TTreeNode* TreeComboTest::*node;
    } cases[] = {
        {"PARIS", &TreeComboTest::paris},
        {"germany", &TreeComboTest::germany},
        {"Rome", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        combo->SetText(c.text);
        EXPECT_EQ(combo->Text(), c.text);
        EXPECT_EQ(combo->SelectedNode(), c.node ? this->*c.node : nullptr) << c.text;
    }
    // A node chosen gives its text, and the text follows the node's renaming.
    combo->SetSelectedNode(germany);
    EXPECT_EQ(combo->Text(), "Germany");
    germany->SetText("Deutschland");
    EXPECT_EQ(combo->Text(), "Deutschland");
    paris->SetText("Lyon");
    EXPECT_EQ(combo->Text(), "Deutschland");
}

TEST_F(TreeComboTest, FreeingTheSelectedNodeOrAParentOfItForgetsTheNodeAndKeepsTheText)
{
    TImageList images(nullptr);
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    images.Add(red);
    combo->SetImages(&images);
    paris->SetImageIndex(0);
    combo->SetText("Paris");
    ASSERT_EQ(combo->SelectedNode(), paris);
    // The text box shows the node's image, and the taller row makes room for it.
    bar->ItemLinks()->Add()->SetItem(combo);
    Open();
    auto redInTextBox = [&] {
        const QImage shot = window->Snapshot();
        const QRect box = Link(0)->ItemRect().translated(window->ClientBounds().Left, window->ClientBounds().Top);
        int n = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) n += shot.pixelColor(x, y) == QColor(Qt::red);
        return n;
    };
    EXPECT_EQ(redInTextBox(), 16 * 16);
    EXPECT_GE(Link(0)->ItemRect().height(), 16 + 6);

    europe->Delete();
    EXPECT_EQ(combo->SelectedNode(), nullptr);
    EXPECT_EQ(combo->Text(), "Paris");
    EXPECT_EQ(combo->Items()->Count(), 2);
    EXPECT_EQ(redInTextBox(), 0);
    // Drawing and focusing read the node no more: the editor finds the other "paris".
    TdxBarTreeViewComboControl* control = Edit();
    window->Snapshot();
    EXPECT_EQ(combo->TreeView()->Selected(), texas->Item(0));
    QTest::keyClick(control->Editor(), Qt::Key_F4);
    combo->Items()->Clear();
    EXPECT_EQ(combo->SelectedNode(), nullptr);
    window->Snapshot();
    // Freed while dropped down.
    delete combo;
    combo = nullptr;
    window->Snapshot();
}

TEST_F(TreeComboTest, TheDropDownIsNeverSmallerThanAHundredPixels)
{
    const struct {
        int set, width;
    } sizes[] = {{50, 100}, {99, 100}, {100, 100}, {250, 250}};
    for (const auto& s : sizes) {
        combo->SetDropDownWidth(s.set);
        combo->SetDropDownHeight(s.set);
        EXPECT_EQ(std::pair(combo->DropDownWidth(), combo->DropDownHeight()), std::pair(s.width, s.width)) << s.set;
    }
    TdxBarTreeViewDropDown* drop = Dropped(Edit()->Editor());
    ASSERT_NE(drop, nullptr);
    ASSERT_TRUE(drop->Visible());
    EXPECT_EQ(drop->Width(), 250);
    // Below its bar: the grip bottom right, its hit code the corner's.
    EXPECT_EQ(drop->GripCorner(), 3);
    const TRect grip = drop->GripRect();
    const TPoint start = drop->WindowRect().TopLeft() + grip.TopLeft() + TPoint(4, 4);
    EXPECT_EQ(drop->NCHitTest(start), HTBOTTOMRIGHT);
    // A drag far up and left stops at the minimum, and the next drop keeps the size.
    drop->NCLButtonDown(HTBOTTOMRIGHT, start);
    ASSERT_TRUE(drop->Sizing());
    drop->MouseMove(drop->ScreenToClient(start + TPoint(-400, -400)), {});
    EXPECT_EQ(std::pair(drop->Width(), drop->Height()), std::pair(100, 100));
    drop->LButtonUp(drop->ScreenToClient(start + TPoint(-400, -400)), {});
    EXPECT_FALSE(drop->Sizing());
    EXPECT_EQ(std::pair(combo->DropDownWidth(), combo->DropDownHeight()), std::pair(100, 100));
    // Placed by code below the minimum: it keeps the minimum.
    drop->SetWindowPos(TRect::Bounds(drop->BoundsRect().Left, drop->BoundsRect().Top, 30, 40));
    EXPECT_EQ(std::pair(drop->Width(), drop->Height()), std::pair(100, 100));
    // The tree fills the area inside the border and the strip.
    const TRect client = drop->ClientBounds();
    EXPECT_EQ(combo->TreeView()->Handle()->geometry(), client.ToQRect());
    EXPECT_EQ(client.Height(), 100 - 2 - 19);  // the border and the grip strip
}

TEST_F(TreeComboTest, ChoicesGoThroughOnCanSelectNodeAndARefusalKeepsTheDropDownOpen)
{
    Handlers handlers;
    combo->OnCanSelectNode = TTVChangingEvent(&handlers, &Handlers::CanSelect);
    combo->SetFullExpand(true);
    TdxBarTreeViewComboControl* control = Edit();
    QLineEdit* editor = control->Editor();
    TdxBarTreeViewDropDown* drop = Dropped(editor);
    ASSERT_TRUE(drop && drop->Visible());
    QWidget* viewport = combo->TreeView()->TreeWidget()->viewport();
    // Nothing chosen yet: the first node has the caret; Down selects the next, which the
    // editor shows.
    EXPECT_TRUE(europe->Focused());
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(combo->TreeView()->Selected(), europe->Item(0));
    EXPECT_EQ(editor->text(), "France");

    handlers.allow = false;
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, RowOf(germany));
    combo->SetChooseByDblClick(false);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, RowOf(paris));
    EXPECT_EQ(handlers.asked, QStringList({"France", "Germany", "Paris"}));
    EXPECT_TRUE(drop->Visible());
    EXPECT_EQ(combo->SelectedNode(), nullptr);

    handlers.allow = true;
    const int uses = Link(0)->UseCount();
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(drop->Visible());
    EXPECT_EQ(combo->SelectedNode(), paris);
    EXPECT_EQ(combo->Text(), "Paris");
    EXPECT_EQ(Link(0)->UseCount(), uses + 1);
}

TEST_F(TreeComboTest, AStoredTextFindsItsNodeOnceTheStoredNodesAreRead)
{
    combo->SetText("Germany");
    const QString text = WriteComponentToText(form.get());
    EXPECT_TRUE(text.contains("Items = {")) << text.toStdString();

    dxBarRegisterManagerClasses();
    auto copy = std::make_unique<TForm>(nullptr);
    ReadComponentFromText(text, copy.get());
    auto* read = qobject_cast<TdxBarTreeViewCombo*>(copy->FindComponent("tcPlace"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Items()->Count(), 6);
    EXPECT_EQ(read->Text(), "Germany");
    ASSERT_NE(read->SelectedNode(), nullptr);
    EXPECT_EQ(read->SelectedNode()->Parent()->Text(), "Europe");
}

TEST_F(TreeComboTest, TheChooserLaysItselfOutAndHandsItsTreesSizeBack)
{
    struct Seen {
        QString caption;
        TFormBorderStyle border = bsNone;
        TBorderIcons icons;
        QRect tree, ok, cancel;
        QSize client;
    };
    const struct {
        const char* name;
        bool resizing;
        QSize grow;  // the user's resizing of the form
        QSize drop;  // the drop-down's size afterwards
    } cases[] = {
        {"resized larger", true, {40, 30}, {190, 230}},
        // Shrunk far below the tree's minimum: OK still returns, the drop-down keeps 100.
        {"shrunk", true, {-400, -400}, {100, 100}},
        {"fixed", false, {0, 0}, {150, 200}},
    };
    const QFontMetrics metrics(manager->Font()->ToQFont());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        combo->SetDropDownWidth(150);
        combo->SetDropDownHeight(200);
        combo->SetAllowResizing(c.resizing);
        combo->SetText("Texas");
        Seen seen;
        TDialogScript script;
        script.AnswerForm([&](TCustomForm& f) {
            seen.caption = f.Caption();
            seen.border = f.BorderStyle();
            seen.icons = f.BorderIcons();
            seen.client = QSize(f.ClientWidth(), f.ClientHeight());
            for (int i = 0; i < f.ComponentCount(); ++i) {
                if (auto* t = qobject_cast<TdxBarTreeView*>(f.Components(i))) {
                    seen.tree = t->BoundsRect();
                    EXPECT_EQ(t->Selected() ? t->Selected()->Text() : QString(), "Texas");
                    t->SetSelected(t->FindNodeByText("Germany"));
                }
                if (auto* b = qobject_cast<TButton*>(f.Components(i)))
                    (b->Default() ? seen.ok : seen.cancel) = b->BoundsRect();
            }
            f.SetBounds(f.Left(), f.Top(), f.Width() + c.grow.width(), f.Height() + c.grow.height());
            f.SetModalResult(mrOk);
        });
        combo->Click();
        EXPECT_EQ(combo->Text(), "Germany");
        EXPECT_EQ(seen.caption, "Select item");
        EXPECT_EQ(seen.border, c.resizing ? bsSizeable : bsDialog);
        if (c.resizing) {
            EXPECT_EQ(seen.icons, TBorderIcons());
        }
        const int g = seen.tree.left();
        EXPECT_EQ(seen.tree.top(), g);
        EXPECT_EQ(seen.ok.width(), 12 * metrics.horizontalAdvance('0'));
        EXPECT_EQ(seen.ok.topLeft(), QPoint(seen.tree.right() + 1 + g, g));
        EXPECT_EQ(seen.cancel.topLeft(), QPoint(seen.ok.left(), seen.ok.bottom() + 1 + g));
        EXPECT_EQ(seen.client, QSize(seen.ok.right() + 1 + g, seen.tree.bottom() + 1 + g));
        EXPECT_EQ(QSize(combo->DropDownWidth(), combo->DropDownHeight()), c.drop);
    }
}
