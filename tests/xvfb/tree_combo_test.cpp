// A tree-view combo on a docked bar of an active form, under real input: its drop-down's grip
// resizes it (never below 100 x 100), its close button closes it, Down and Enter choose a node,
// and a click outside closes it.
#include "ActiveFormFixture.h"
#include "RealInput.h"
#include "dxBarExtItems.h"
#include "dxBarTreeViewCombo.h"

#include <QApplication>
#include <QTest>

namespace {

class TreeComboFocusTest : public ExtItemsFormTest {
protected:
    TCustomdxBarComboControl* Control() const { return dynamic_cast<TCustomdxBarComboControl*>(Link(0)->Control()); }
};

}  // namespace

TEST_F(TreeComboFocusTest, TheDropDownResizesClosesAndChoosesUnderRealInput)
{
    auto* combo = Create<TdxBarTreeViewCombo>(form.get());
    combo->SetWidth(150);
    combo->SetShowEditor(true);
    TTreeNodes* n = combo->Items();
    for (const char* group : {"Fruit", "Vegetables"}) {
        TTreeNode* root = n->Add(nullptr, group);
        for (int i = 1; i <= 3; ++i) n->AddChild(root, QStringLiteral("%1 %2").arg(group).arg(i));
    }
    combo->SetFullExpand(true);
    bar->ItemLinks()->Add()->SetItem(combo);
    TRowBar* w = Open(false);
    w->SetParentWidget(form->Handle());
    w->SetWindowPos(TRect::Bounds(0, 0, 400, 26));
    w->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Handle()));
    ASSERT_TRUE(testsupport::WaitFor([&] { return Control() && !Control()->ButtonRect.IsEmpty(); }, 5000));
    const TRect button = Control()->ButtonRect;
    const QPoint onButton = w->ClientToScreen(TPoint(button.Left + 3, button.Top + button.Height() / 2));
    auto drop = [&](int nudge) {
        return ClickAt(onButton + QPoint(nudge, 0)) &&
               testsupport::WaitFor([&] { return combo->DropDownWindow() && combo->DropDownWindow()->Visible(); },
                                    5000);
    };

    // The grip: a drag out and then far in; the drop-down grows, then stops at 100 x 100.
    ASSERT_TRUE(drop(0));
    TdxBarTreeViewDropDown* down = combo->DropDownWindow();
    EXPECT_TRUE(FormStaysActive());
    ShootAround(down->WindowRect().ToQRect(), "tree-drop-down");
    const QPoint grip = down->WindowRect().ToQRect().topLeft() + down->GripRect().ToQRect().center();
    ASSERT_TRUE(MoveTo(grip));
    ASSERT_TRUE(XDoTool({"mousedown", "1"}));
    ASSERT_TRUE(MoveTo(grip + QPoint(30, 20)));

    ASSERT_TRUE(testsupport::WaitFor([&] { return down->Width() == 180 && down->Height() == 220; }, 5000));
    // Far up and left, still on the screen.
    ASSERT_TRUE(MoveTo(grip + QPoint(-150, -150)));

    ASSERT_TRUE(testsupport::WaitFor([&] { return down->Width() == 100 && down->Height() == 100; }, 5000));
    ASSERT_TRUE(XDoTool({"mouseup", "1"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !down->Sizing(); }, 5000));
    EXPECT_EQ(std::pair(combo->DropDownWidth(), combo->DropDownHeight()), std::pair(100, 100));
    EXPECT_TRUE(down->Visible());

    // The close button.
    const QPoint close = down->WindowRect().ToQRect().topLeft() + down->CloseButtonRect().ToQRect().center();
    ASSERT_TRUE(MoveTo(close));
    ASSERT_TRUE(testsupport::WaitFor([&] { return down->MouseAboveClose(); }, 5000));
    ASSERT_TRUE(XDoTool({"click", "1"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !down->Visible(); }, 5000));
    EXPECT_EQ(combo->Text(), "");

    // Down and Enter choose, the editor keeping the focus meanwhile.
    ASSERT_TRUE(drop(1));
    ASSERT_TRUE(testsupport::WaitFor([&] { return Control()->Editor() && Control()->Editor()->hasFocus(); }, 5000));
    ASSERT_TRUE(XDoTool({"key", "Down"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return combo->TreeView()->Selected() != nullptr; }, 5000));
    EXPECT_EQ(combo->TreeView()->Selected()->Text(), "Fruit 1");
    ASSERT_TRUE(XDoTool({"key", "Return"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return combo->Text() == "Fruit 1" && !down->Visible(); }, 5000));
    EXPECT_TRUE(FormStaysActive());

    // A click outside, on the form, closes it.
    ASSERT_TRUE(drop(2));
    const QPoint outside =
        form->Handle()->mapToGlobal(QPoint(form->Handle()->width() - 10, form->Handle()->height() - 10));
    ASSERT_FALSE(down->WindowRect().ToQRect().contains(outside));
    ASSERT_TRUE(ClickAt(outside));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !down->Visible(); }, 5000));
    EXPECT_EQ(combo->Text(), "Fruit 1");
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}
