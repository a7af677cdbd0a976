// A spin edit on a docked bar of an active form, under real input: stepping keeps the focus in
// its editor, and Enter gives it back.
#include "ActiveFormFixture.h"
#include "RealInput.h"
#include "dxBarExtItems.h"
#include "dxBarSpinEditControl.h"

#include <QApplication>
#include <QTest>

namespace {

class SpinEditFocusTest : public ExtItemsFormTest {
protected:
    TdxBarSpinEditControl* Control() const { return dynamic_cast<TdxBarSpinEditControl*>(Link(0)->Control()); }
    bool EditorHasFocus() const
    {
        TdxBarSpinEditControl* c = Control();
        return c && c->Focused() && c->Editor() && QApplication::focusWidget() == c->Editor();
    }
};

}  // namespace

TEST_F(SpinEditFocusTest, UpStepsWithTheFocusKeptInTheEditorAndEnterGivesItBack)
{
    auto* spin = Create<TdxBarSpinEdit>(form.get());
    spin->SetMaxValue(10);
    bar->ItemLinks()->Add()->SetItem(spin);
    TRowBar* w = Open(false);
    w->SetParentWidget(form->Handle());
    w->SetWindowPos(TRect::Bounds(0, 0, 400, 26));
    w->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Handle()));
    ASSERT_TRUE(testsupport::WaitFor([&] { return Control() && !Control()->ButtonRect.IsEmpty(); }, 5000));

    // Into the text box.
    const TRect buttons = Control()->ButtonRect;
    ASSERT_TRUE(ClickAt(w->ClientToScreen(TPoint(buttons.Left - 20, buttons.Top + buttons.Height() / 2))));
    ASSERT_TRUE(testsupport::WaitFor([&] { return EditorHasFocus(); }, 5000));

    // The Up key, then the up button.
    ASSERT_TRUE(XDoTool({"key", "Up"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return Control()->Editor()->text() == "1"; }, 5000));
    EXPECT_TRUE(EditorHasFocus());
    ASSERT_TRUE(ClickAt(w->ClientToScreen(TPoint(buttons.Left + 3, buttons.Top + 2))));
    ASSERT_TRUE(testsupport::WaitFor([&] { return Control()->Editor()->text() == "2"; }, 5000));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !Control()->Repeating(); }, 5000));
    QTest::qWait(100);
    EXPECT_TRUE(EditorHasFocus());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
    EXPECT_EQ(spin->Text(), "0");

    ASSERT_TRUE(XDoTool({"key", "Return"}));
    ASSERT_TRUE(testsupport::WaitFor([this] { return edit->hasFocus(); }, 5000));
    EXPECT_EQ(spin->Text(), "2");
    EXPECT_FALSE(Control()->Focused());
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
}
