// A combo's sizable drop-down on a docked bar of an active form, under real input: its grip
// drag sizes it from the grip's corner down to no less than 100 x 100, and its close button or
// a click outside closes it, with the form active throughout.
#include "../bars/extitems/SizableComboFixture.h"
#include "ActiveFormFixture.h"
#include "RealInput.h"
#include "dxBarEditControls.h"

#include <QApplication>
#include <QTest>

namespace {

class SizableDropDownInputTest : public ActiveFormTest {
protected:
    TCustomdxBarComboControl* Control() const { return dynamic_cast<TCustomdxBarComboControl*>(Link(0)->Control()); }
    // A held left button moved from one point to another in steps.
    static bool Drag(const QPoint& from, const QPoint& to)
    {
        if (!MoveTo(from) || !XDoTool({"mousedown", "1"})) return false;
        for (int step = 1; step <= 4; ++step)
            if (!MoveTo(from + (to - from) * step / 4)) return false;
        QTest::qWait(50);
        return XDoTool({"mouseup", "1"});
    }
    static QPoint Centre(TWindow* w, const TRect& local)
    {
        return (w->WindowRect().TopLeft() + TPoint((local.Left + local.Right) / 2, (local.Top + local.Bottom) / 2));
    }
    // The combo on a docked bar at barTop in the form, shown; its button's screen point.
    QPoint ShowCombo(int barTop)
    {
        combo = Create<TSizableTestCombo>(form.get());
        combo->SetWidth(150);
        bar->ItemLinks()->Add()->SetItem(combo);
        TRowBar* w = Open(false);
        w->SetParentWidget(form->Handle());
        w->SetWindowPos(TRect::Bounds(0, barTop, 400, 26));
        w->Show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form->Handle()));
        EXPECT_TRUE(testsupport::WaitFor([&] { return Control() && !Control()->ButtonRect.IsEmpty(); }, 5000));
        const TRect button = Control() ? Control()->ButtonRect : TRect();
        return w->ClientToScreen(TPoint(button.Left + 3, button.Top + button.Height() / 2));
    }
    // Its drop-down, dropped by a click on the point and shown.
    TdxBarSizableDropDown* Drop(const QPoint& at)
    {
        if (!ClickAt(at) || !testsupport::WaitFor([&] { return combo->DropDownWindow()->Visible(); }, 5000))
            return nullptr;
        return QTest::qWaitForWindowExposed(combo->DropDownWindow()->Handle()) ? combo->DropDownWindow() : nullptr;
    }

    // With VESK_SHOT set to a folder: the screen round the drop-down, zoomed 4x.
    static void Shoot(TWindow* w, const char* name) { ShootAround(w->WindowRect().ToQRect(), name, 4); }

    TSizableTestCombo* combo = nullptr;
};

}  // namespace

TEST_F(SizableDropDownInputTest, TheGripDragSizesTheDropDownAndItsCloseButtonOrAnOutsideClickClosesIt)
{
    const QPoint onButton = ShowCombo(0);
    TdxBarSizableDropDown* d = Drop(onButton);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->GripCorner(), dxcBottomRight);
    Shoot(d, "sizable-drop-down");

    // The grip drag follows the pointer from the top-left corner held in place.
    const TRect before = d->BoundsRect();
    const QPoint grip = Centre(d, d->GripRect());
    ASSERT_TRUE(Drag(grip, grip + QPoint(60, 40)));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !d->Sizing(); }, 5000));
    EXPECT_EQ(d->BoundsRect(), TRect::Bounds(before.Left, before.Top, 210, 240));
    EXPECT_TRUE(d->Visible());
    // (xdotool waits for a move, so no step starts where the pointer already is.)
    const QPoint grown = Centre(d, d->GripRect()) + QPoint(1, 1);
    ASSERT_TRUE(Drag(grown, grown - QPoint(150, 170)));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !d->Sizing(); }, 5000));
    EXPECT_EQ(d->BoundsRect(), TRect::Bounds(before.Left, before.Top, 100, 100));
    EXPECT_TRUE(FormStaysActive());
    Shoot(d, "sizable-drop-down-small");

    // The close button: hot under the pointer, and a click closes the drop-down.
    const QPoint close = Centre(d, d->CloseButtonRect());
    ASSERT_TRUE(MoveTo(close + QPoint(0, -30)));
    ASSERT_TRUE(MoveTo(close));
    ASSERT_TRUE(testsupport::WaitFor([&] { return d->MouseAboveClose(); }, 5000));
    Shoot(d, "sizable-drop-down-hot");
    ASSERT_TRUE(ClickAt(close + QPoint(1, 0)));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !d->Visible(); }, 5000));
    EXPECT_FALSE(Control()->DroppedDown());
    EXPECT_TRUE(FormStaysActive());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

    // Dropped again at the size it was left at, a click on the form outside closes it.
    ASSERT_EQ(Drop(onButton + QPoint(1, 0)), d);
    EXPECT_EQ(d->BoundsRect().Size(), QSize(100, 100));
    ASSERT_TRUE(ClickAt(form->Handle()->mapToGlobal(QPoint(350, 250))));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !d->Visible(); }, 5000));
    EXPECT_TRUE(FormStaysActive());
}

// Near the screen's bottom the drop-down opens above its edit box: the grip goes top-right and
// its drag moves the window's top with the pointer while the bottom stays.
TEST_F(SizableDropDownInputTest, AboveTheEditBoxTheGripDragMovesTheTop)
{
    form->Handle()->move(100, 700);
    QTest::qWait(200);
    TdxBarSizableDropDown* d = Drop(ShowCombo(200));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->GripCorner(), dxcTopRight);
    const TRect before = d->BoundsRect();
    const QPoint grip = Centre(d, d->GripRect());
    ASSERT_TRUE(Drag(grip, grip + QPoint(60, -40)));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !d->Sizing(); }, 5000));
    EXPECT_EQ(d->BoundsRect(), TRect(before.Left, before.Top - 40, before.Right + 60, before.Bottom));
    Shoot(d, "sizable-drop-down-above");
}
