// Dock areas with their bar windows: the manager's update lock, the sunken border, and the
// settings of a placed dock control.
#include "BarWindowFixture.h"
#include "dxBarControl.h"
#include "dxBarDockControls.h"

namespace {

// Counts the moves of a widget.
class TMoveCounter : public QObject {
public:
    explicit TMoveCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Move) ++moves;
        return false;
    }
    int moves = 0;
};

class DockControlTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        form->SetBounds(100, 100, 600, 400);
    }
    // A bar of three buttons docked at the top at a row and a place along it; its window.
    TdxBarControl* DockTop(TdxBar* b, int row, int left)
    {
        for (int i = 0; i < 3; ++i) {
            auto* button = Create<TdxBarButton>(form.get());
            button->SetCaption(QString(QChar('A' + i)));
            b->ItemLinks()->Add()->SetItem(button);
        }
        b->SetRow(row);
        b->SetDockedLeft(left);
        b->SetDockingStyle(dsTop);
        b->SetVisible(true);
        return qobject_cast<TdxBarControl*>(b->ItemLinks()->BarControl());
    }
    TdxDockControl* Top() const { return manager->Bars()->BuiltInDock(dsTop); }
};

}  // namespace

TEST_F(DockControlTest, UnderTheUpdateLockDocksWaitAndLayOutOnceWhenItEnds)
{
    DockTop(bar, 0, 0);
    TdxBar* neighbour = manager->Bars()->Add();
    TdxBarControl* window = DockTop(neighbour, 0, 100);
    ASSERT_NE(window, nullptr);
    const TRect before = window->BoundsRect();
    ASSERT_EQ(before.Left, 100);
    const int thickness = Top()->Height();
    form->Handle()->show();  // a hidden widget's moves are told only when it shows
    TMoveCounter counter(window->Handle());
    {
        TdxBarUpdateLockScope lock(manager);
        // Two more bars at the row's start push the neighbour along once the lock ends, and
        // one on a row of its own makes the dock thicker.
        DockTop(manager->Bars()->Add(), 0, 0);
        DockTop(manager->Bars()->Add(), 0, 0);
        DockTop(manager->Bars()->Add(), 1, 0);
        EXPECT_EQ(window->BoundsRect(), before);
        EXPECT_EQ(neighbour->DockedLeft(), 100);
        EXPECT_EQ(Top()->Height(), thickness);
        EXPECT_EQ(counter.moves, 0);
        EXPECT_FALSE(Top()->Handle()->updatesEnabled());
    }
    EXPECT_TRUE(Top()->Handle()->updatesEnabled());
    EXPECT_GT(window->BoundsRect().Left, 100);
    EXPECT_EQ(neighbour->DockedLeft(), window->BoundsRect().Left);
    EXPECT_EQ(Top()->Height(), 2 * thickness);
    EXPECT_EQ(counter.moves, 1);
}
