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

TEST_F(DockControlTest, ASunkenBorderInsetsTheRowsByItsEdgeAndDrawsIt)
{
    TdxBarControl* first = DockTop(bar, 0, 0);
    TdxBar* neighbour = manager->Bars()->Add();
    TdxBarControl* second = DockTop(neighbour, 0, 150);
    ASSERT_TRUE(first && second);
    const int thickness = Top()->Height();

    manager->SetSunkenBorder(true);
    EXPECT_EQ(Top()->Height(), thickness + 2);
    EXPECT_EQ(first->BoundsRect().TopLeft(), TPoint(1, 1));
    EXPECT_EQ(second->BoundsRect().TopLeft(), TPoint(151, 1));
    // Stored places count from inside the edge: laying out again moves nothing.
    EXPECT_EQ(neighbour->DockedLeft(), 150);
    library->StoreBarPositions(Top());
    Top()->UpdateDock();
    EXPECT_EQ(second->BoundsRect().TopLeft(), TPoint(151, 1));
    // A sunken outer edge: shadow above and left, highlight below and right.
    const QImage image = Top()->Handle()->grab().toImage();
    const int right = image.width() - 1, bottom = image.height() - 1;
    EXPECT_EQ(image.pixelColor(0, bottom / 2), SysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(right / 2, 0), SysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(right, bottom / 2), SysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(image.pixelColor(right / 2, bottom), SysColor(COLOR_BTNHIGHLIGHT));

    manager->SetSunkenBorder(false);
    EXPECT_EQ(Top()->Height(), thickness);
    EXPECT_EQ(second->BoundsRect().TopLeft(), TPoint(150, 0));
}

namespace {

// A placed dock along the top of the form, with the bar docked in it.
class PlacedDockTest : public DockControlTest {
protected:
    TdxBarControl* DockPlaced()
    {
        dock = Create<TdxBarDockControl>(form.get());
        dock->SetParent(form.get());
        dock->SetBarManager(manager);
        for (const char* caption : {"A", "B", "C"}) AddButton(caption);
        bar->SetDockControl(dock);
        bar->SetVisible(true);
        return qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    }
};

}  // namespace

TEST_F(PlacedDockTest, TurningTheDockToASideTurnsItsBars)
{
    TdxBarControl* window = DockPlaced();
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(window->IsVertical());
    dock->SetAlign(alLeft);
    EXPECT_FALSE(manager->UpdateLocked());
    EXPECT_EQ(bar->DockingStyle(), dsLeft);
    EXPECT_TRUE(window->IsVertical());
    EXPECT_GT(window->Height(), window->Width());
    EXPECT_EQ(dock->Width(), window->Width());
    EXPECT_EQ(window->BoundsRect().TopLeft(), TPoint(0, 0));

    // The bar knows where it stands: sent to the form's top dock it lies along it.
    bar->SetDockingStyle(dsTop);
    window = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->DockControl(), Top());
    EXPECT_FALSE(window->IsVertical());
    EXPECT_EQ(dock->Width(), 0);
}

TEST_F(PlacedDockTest, ItsOwnColourAndSunkenBorderOutweighTheManagers)
{
    DockPlaced();
    manager->SetDockColor(clRed);
    EXPECT_EQ(dock->Color(), clRed);
    EXPECT_FALSE(dock->UseOwnColor());
    dock->SetColor(clBlue);
    EXPECT_TRUE(dock->UseOwnColor());
    manager->SetDockColor(clLime);
    EXPECT_EQ(dock->Color(), clBlue);
    dock->SetUseOwnColor(false);
    EXPECT_EQ(dock->Color(), clLime);

    const int thickness = dock->Height();
    manager->SetSunkenBorder(true);
    EXPECT_EQ(dock->Height(), thickness + 2);
    // Taking a border of its own keeps the look; the manager's changes no longer reach it.
    dock->SetUseOwnSunkenBorder(true);
    EXPECT_TRUE(dock->GetSunkenBorder());
    manager->SetSunkenBorder(false);
    EXPECT_TRUE(dock->GetSunkenBorder());
    EXPECT_EQ(dock->Height(), thickness + 2);
    // Returning to the manager's border takes its look.
    dock->SetUseOwnSunkenBorder(false);
    EXPECT_EQ(dock->Height(), thickness);
    // Setting a border makes it the dock's own.
    dock->SetSunkenBorder(true);
    EXPECT_TRUE(dock->UseOwnSunkenBorder());
    EXPECT_EQ(dock->Height(), thickness + 2);
    EXPECT_TRUE(dock->IsSunkenBorderStored());
}

TEST_F(PlacedDockTest, ARefusingDockTakesNoBarsAndAnEmptyOneShowsAtDesignTimeOnly)
{
    TdxBarControl* window = DockPlaced();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(manager->CanDock(bar, dsTop, dock));
    dock->SetAllowDocking(false);
    EXPECT_FALSE(manager->CanDock(bar, dsTop, dock));

    // A dock inside the bar's own window cannot take that bar.
    auto* inner = Create<TdxBarDockControl>(form.get());
    inner->SetBarManager(manager);
    inner->Handle()->setParent(window->Handle());
    EXPECT_FALSE(manager->CanDock(bar, dsTop, inner));
    EXPECT_TRUE(manager->CanDock(manager->Bars()->Add(), dsTop, inner));
    inner->Handle()->setParent(form->Handle());

    // Empty: nothing at run time; 3 px at design time unless allowed to shrink to nothing,
    // and a sunken border round that.
    bar->SetVisible(false);
    EXPECT_EQ(dock->Height(), 0);
    dock->SetHeight(20);
    EXPECT_EQ(dock->Height(), 0);
    struct {
        bool designing, zeroAllowed, sunken;
        int height;
    } const cases[] = {
        {false, false, false, 0}, {true, false, false, 3}, {true, true, false, 0},
        {true, false, true, 5},   {true, true, true, 0},
    };
    for (const auto& c : cases) {
        dock->SetDesigning(c.designing);
        dock->SetAllowZeroSizeInDesignTime(c.zeroAllowed);
        dock->SetSunkenBorder(c.sunken);
        dock->UpdateDock();
        EXPECT_EQ(dock->Height(), c.height) << c.designing << c.zeroAllowed << c.sunken;
    }
}
