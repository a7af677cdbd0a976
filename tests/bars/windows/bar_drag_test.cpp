// Moving toolbars: floating windows' hit tests, sizing, closing and double clicks, and the
// drag between the form's docks and the floating state.
#include "BarWindowFixture.h"
#include "Desktop.h"
#include "TestSupport.h"
#include "dxBarControl.h"
#include "dxBarDockControls.h"
#include "dxBarDrag.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

class BarDragTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        form->SetBounds(100, 100, 600, 400);
        SetMonitorsFunction([this] { return monitors; });
        SetCursorPosFunction([this] { return cursor; });
        SetCtrlDownFunction([this] { return ctrl; });
        bar->SetCaption("Tools");
    }
    void TearDown() override
    {
        drag.reset();
        SetMonitorsFunction({});
        SetCursorPosFunction({});
        SetCtrlDownFunction({});
        BarWindowTest::TearDown();
    }

    TdxBarControl* WindowOf(TdxBar* b) const { return qobject_cast<TdxBarControl*>(b->ItemLinks()->BarControl()); }
    TdxBarControl* Window() const { return WindowOf(bar); }
    TdxDockControl* Top() const { return manager->Bars()->BuiltInDock(dsTop); }
    void AddButtons(int count)
    {
        for (int i = 0; i < count; ++i) AddButton(QString(QChar('A' + i)));
    }
    TdxBarControl* DockTop(TdxBar* b)
    {
        b->SetDockingStyle(dsTop);
        b->SetVisible(true);
        return WindowOf(b);
    }
    TdxBarControl* Float(TdxBar* b, int x, int y)
    {
        b->SetFloatLeft(x);
        b->SetFloatTop(y);
        b->SetDockingStyle(dsNone);
        b->SetVisible(true);
        return WindowOf(b);
    }
    // A point of the window (window coordinates) on the screen.
    static TPoint At(TdxBarControl* w, int x, int y) { return w->WindowRect().TopLeft() + TPoint(x, y); }
    static TPoint Grip(TdxBarControl* w) { return At(w, 4, w->Height() / 2); }
    // A point on the caption's text, clear of the close button and the mark.
    TPoint Caption(TdxBarControl* w) const
    {
        const TRect text = w->FloatFrame().TextRect(w->Width());
        return At(w, text.Left + 1, text.Top + 5);
    }
    TPoint ItemCentre(TdxBarControl* w, int i) const { return w->ClientToScreen(Link(i)->ItemRect().center()); }
    // A press as the bridge gives it: hit test first, then the client or non-client press.
    static void Press(TdxBarControl* w, const TPoint& screen)
    {
        const int hit = w->NCHitTest(screen);
        if (hit == HTCLIENT)
            w->LButtonDown(w->ScreenToClient(screen), {});
        else
            w->NCLButtonDown(hit, screen);
    }
    // Starts a drag of the window grabbed at a screen point (what a grip press does before
    // the loop runs).
    TdxBarDrag* BeginDrag(TdxBarControl* w, const TPoint& grab)
    {
        cursor = grab;
        w->SetGrab(grab - w->WindowRect().TopLeft(), w->Width(), w->Height());
        drag = std::make_unique<TdxBarDrag>(*library, w, grab);
        return drag.get();
    }
    TPoint FormBottom() const { return form->Handle()->mapToGlobal(QPoint(300, 400)); }
    TPoint InTopDock() const { return form->Handle()->mapToGlobal(QPoint(300, 5)); }

    std::vector<TMonitorInfo> monitors{{{0, 0, 1024, 768}, {0, 0, 1024, 740}}};
    TPoint cursor;
    bool ctrl = false;
    std::unique_ptr<TdxBarDrag> drag;
};

}  // namespace

TEST_F(BarDragTest, HitTestsOfFloatingAndDockedWindows)
{
    AddButtons(3);
    TdxBarControl* w = Float(bar, 200, 200);
    ASSERT_TRUE(w && w->Floating());
    EXPECT_EQ(w->NCHitTest(At(w, 0, 30)), HTLEFT);
    EXPECT_EQ(w->NCHitTest(At(w, w->Width() - 3, 30)), HTRIGHT);  // the flat shadow is 2 px
    EXPECT_EQ(w->NCHitTest(At(w, 1, 1)), HTTOP);                  // a corner sizes one edge
    EXPECT_EQ(w->NCHitTest(At(w, 30, w->Height() - 3)), HTBOTTOM);
    EXPECT_EQ(w->NCHitTest(Caption(w)), HTCLIENT);
    EXPECT_EQ(w->NCHitCode(), HTCAPTION);
    const TRect close = w->FloatFrame().CloseButtonRect(w->Width());
    EXPECT_EQ(w->NCHitTest(At(w, close.Left + 3, close.Top + 3)), HTCLIENT);  // flat: the window's own
    EXPECT_EQ(w->NCHitCode(), HTCLOSE);
    EXPECT_EQ(w->NCHitTest(ItemCentre(w, 1)), HTCLIENT);
    EXPECT_EQ(w->NCHitCode(), HTCLIENT);

    bar->SetVisible(false);
    w = DockTop(bar);
    ASSERT_TRUE(w && !w->Floating());
    EXPECT_EQ(w->NCHitTest(Grip(w)), HTCLIENT);
    EXPECT_EQ(w->NCHitCode(), HTCAPTION);
    EXPECT_EQ(w->NCHitTest(ItemCentre(w, 0)), HTCLIENT);
    EXPECT_EQ(w->NCHitCode(), HTCLIENT);
}

TEST_F(BarDragTest, GripPressesStartTheDragLoopAndItemPressesClick)
{
    AddButtons(2);
    TdxBarControl* w = DockTop(bar);
    bool sawDrag = false;
    QTimer::singleShot(0, [&] {
        sawDrag = library->CurrentDrag() != nullptr;
        if (library->CurrentDrag()) library->CurrentDrag()->Drop();
    });
    cursor = Grip(w);
    Press(w, Grip(w));
    EXPECT_TRUE(sawDrag);
    EXPECT_EQ(library->CurrentDrag(), nullptr);
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
    EXPECT_EQ(WindowOf(bar), w);
    EXPECT_FALSE(w->Floating());

    // An item takes the press and the release clicks it; no drag begins.
    Press(w, ItemCentre(w, 0));
    EXPECT_EQ(library->CurrentDrag(), nullptr);
    w->LButtonUp(w->ScreenToClient(ItemCentre(w, 0)), {});
    EXPECT_EQ(clicks, QStringList{"A"});

    // A bar that may take no docking style at all cannot be dragged.
    bar->SetNotDocking(TdxBarDockingStyles(dxBarDockingStyleSet::dsNone) | dxBarDockingStyleSet::dsLeft |
                       dxBarDockingStyleSet::dsTop | dxBarDockingStyleSet::dsRight | dxBarDockingStyleSet::dsBottom);
    sawDrag = false;
    QTimer::singleShot(0, [&] { sawDrag = library->CurrentDrag() != nullptr; });
    Press(w, Grip(w));
    QCoreApplication::processEvents();
    EXPECT_FALSE(sawDrag);
}

TEST_F(BarDragTest, EdgeSizingReWrapsTheItemsAndStoresTheSize)
{
    AddButtons(6);
    TdxBarControl* w = Float(bar, 200, 200);
    ASSERT_TRUE(w);
    const int oneRow = w->ClientRect().Width();
    EXPECT_EQ(Link(5)->ItemRect().top(), Link(0)->ItemRect().top());
    const int itemWidth = Link(0)->ItemRect().width();

    const TPoint edge = At(w, w->Width() - 3, 30);
    Press(w, edge);
    EXPECT_EQ(w->SizingEdge(), HTRIGHT);
    EXPECT_EQ(TWindow::GetCapture(), w);
    const TPoint to = edge - TPoint(itemWidth * 3 - 4, 0);  // room for three items and a bit
    w->MouseMove(w->ScreenToClient(to), {});
    w->LButtonUp(w->ScreenToClient(to), {});
    EXPECT_EQ(w->SizingEdge(), 0);
    EXPECT_EQ(TWindow::GetCapture(), nullptr);

    // Snapped to a width the items allow, with the items on more than one row.
    const int width = w->ClientRect().Width();
    EXPECT_LT(width, oneRow);
    EXPECT_EQ(w->FloatingClientForWidth(width).X, width);
    EXPECT_EQ(w->ClientRect().Height(), w->FloatingClientForWidth(width).Y);
    EXPECT_GT(Link(5)->ItemRect().top(), Link(0)->ItemRect().top());
    EXPECT_EQ(w->BoundsRect().Left, 200);
    // The bar holds the new size for the layout store.
    EXPECT_EQ(bar->FloatClientWidth(), width);
    EXPECT_EQ(bar->FloatClientHeight(), w->ClientRect().Height());
}

TEST_F(BarDragTest, EscOrALostCaptureDuringEdgeSizingPutsTheWindowBackAsItWas)
{
    AddButtons(6);
    form->Show();
    TdxBarControl* w = Float(bar, 200, 200);
    ASSERT_TRUE(w);
    const TRect before = w->BoundsRect();
    const int clientWidth = bar->FloatClientWidth();
    const int itemWidth = Link(0)->ItemRect().width();
    const TPoint firstRow = Link(5)->ItemRect().topLeft();

    struct Case {
        const char* name;
        std::function<void()> interrupt;
    };
    TWindow other(nullptr, {});
    const Case cases[] = {
        {"Esc", [&] { QTest::keyClick(form->Handle()->windowHandle(), Qt::Key_Escape); }},
        {"capture taken", [&] { other.SetCapture(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TPoint edge = At(w, w->Width() - 3, 30);
        Press(w, edge);
        ASSERT_EQ(w->SizingEdge(), HTRIGHT);
        w->MouseMove(w->ScreenToClient(edge - TPoint(itemWidth * 3, 0)), {});
        ASSERT_LT(w->BoundsRect().Width(), before.Width());
        c.interrupt();
        EXPECT_EQ(w->SizingEdge(), 0);
        EXPECT_EQ(w->BoundsRect(), before);
        EXPECT_EQ(bar->FloatClientWidth(), clientWidth);
        EXPECT_EQ(Link(5)->ItemRect().topLeft(), firstRow);
        TWindow::ReleaseCapture();
    }
}

TEST_F(BarDragTest, DoubleClicksFloatADockedBarAndDockANeverDockedOneOnANewTopRow)
{
    AddButtons(3);  // the floating caption has room for its text beside the mark
    TdxBar* other = manager->Bars()->Add();
    other->SetCaption("Other");
    other->ItemLinks()->Add()->SetItem(Link(0)->Item());
    DockTop(other);

    TdxBarControl* w = Float(bar, 250, 300);
    ASSERT_TRUE(w);
    w->NCHitTest(Caption(w));
    w->LButtonDblClk(w->ScreenToClient(Caption(w)), {});
    w = Window();
    ASSERT_TRUE(w);
    EXPECT_EQ(bar->DockingStyle(), dsTop);
    EXPECT_FALSE(w->Floating());
    EXPECT_TRUE(bar->OneOnRow());
    EXPECT_EQ(bar->Row(), 1);
    EXPECT_EQ(library->DockRows(Top())->RowCount(), 2);
    EXPECT_EQ(library->DockRows(Top())->Find(w).Row, 1);

    // And back: a double click on the grip floats it where it floated before.
    w->NCHitTest(Grip(w));
    w->LButtonDblClk(w->ScreenToClient(Grip(w)), {});
    w = Window();
    ASSERT_TRUE(w);
    EXPECT_EQ(bar->DockingStyle(), dsNone);
    EXPECT_TRUE(w->Floating());
    EXPECT_EQ(w->BoundsRect().TopLeft(), TPoint(250, 300));
    EXPECT_EQ(library->DockRows(Top())->RowCount(), 1);
}

TEST_F(BarDragTest, TheCloseButtonClosesOnAReleaseInsideOnly)
{
    AddButtons(2);
    int closes = 0;
    struct TCounter : QObject {
        int* n;
        void Close(TdxBarManager*, TdxBar*) { ++*n; }
    } counter;
    counter.n = &closes;
    manager->OnBarClose = TdxBarEvent(&counter, &TCounter::Close);

    TdxBarControl* w = Float(bar, 200, 200);
    const TRect close = w->FloatFrame().CloseButtonRect(w->Width());
    const TPoint inside = At(w, close.Left + 3, close.Top + 3);
    const TPoint outside = At(w, close.Left - 30, close.Bottom + 10);
    Press(w, inside);
    EXPECT_EQ(w->CloseButtonState(), 2);
    w->MouseMove(w->ScreenToClient(outside), {});
    EXPECT_EQ(w->CloseButtonState(), 1);
    w->LButtonUp(w->ScreenToClient(outside), {});
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(closes, 0);
    EXPECT_EQ(w->CloseButtonState(), 0);

    Press(w, inside);
    w->MouseMove(w->ScreenToClient(outside), {});
    w->MouseMove(w->ScreenToClient(inside), {});
    w->LButtonUp(w->ScreenToClient(inside), {});
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(WindowOf(bar), nullptr);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
}

TEST_F(BarDragTest, TheSizeGripOfABottomBarWithoutBorderSizesTheFormWhileItReachesTheCorner)
{
    AddButtons(2);
    bar->SetBorderStyle(bbsNone);
    bar->SetWholeRow(true);
    bar->SetDockingStyle(dsBottom);
    bar->SetVisible(true);
    TdxBarControl* w = Window();
    ASSERT_TRUE(w);
    ASSERT_TRUE(w->ShowsSizeGrip());
    const TPoint grip = At(w, w->Width() - 3, w->Height() - 3);
    EXPECT_EQ(w->NCHitTest(grip), HTBOTTOMRIGHT);
    // Its ridges are drawn in the corner.
    const auto cornerPixel = [this] {
        TdxBarControl* shown = Window();
        return QColor(shown->Handle()->grab().toImage().pixel(shown->Width() - 3, shown->Height() - 1));
    };
    EXPECT_EQ(cornerPixel(), SysColor(COLOR_BTNSHADOW));

    // The drag sizes the form; the bar follows to the new corner and keeps its grip.
    Press(w, grip);
    w->MouseMove(w->ScreenToClient(grip + TPoint(40, 30)), {});
    w->LButtonUp(w->ScreenToClient(grip + TPoint(40, 30)), {});
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
    EXPECT_EQ(form->Width(), 640);
    EXPECT_EQ(form->Height(), 430);
    w = Window();
    EXPECT_EQ(w->WindowRect().BottomRight(), TPoint(form->Handle()->mapToGlobal(QPoint(640, 430))));
    EXPECT_TRUE(w->ShowsSizeGrip());

    // Short of the form's right edge, or in a maximized form, the bar has no grip.
    bar->SetWholeRow(false);
    w = Window();
    EXPECT_FALSE(w->ShowsSizeGrip());
    EXPECT_NE(w->NCHitTest(At(w, w->Width() - 3, w->Height() - 3)), HTBOTTOMRIGHT);
    EXPECT_NE(cornerPixel(), SysColor(COLOR_BTNSHADOW));
    bar->SetWholeRow(true);
    form->Handle()->showMaximized();
    EXPECT_TRUE(testsupport::WaitFor([&] { return form->Handle()->isMaximized() && !Window()->ShowsSizeGrip(); }));
    form->Handle()->showNormal();
    EXPECT_TRUE(testsupport::WaitFor([&] { return Window()->ShowsSizeGrip(); }));
}

TEST_F(BarDragTest, ABarDraggedBelowTheFormFloatsAndKeepsItsNewPlace)
{
    AddButtons(3);
    TdxBarControl* w = DockTop(bar);
    QPointer<QWidget> docked = w->Handle();
    TdxBarDrag* d = BeginDrag(w, Grip(w));
    d->Move(FormBottom() + TPoint(0, 100));
    EXPECT_EQ(Window(), w);  // one window object, two handles
    EXPECT_TRUE(w->Floating());
    EXPECT_TRUE(w->HasKeptHandle());
    EXPECT_NE(w->Handle(), docked.data());
    EXPECT_TRUE(docked && docked->isHidden() && docked->parentWidget() == Top()->Handle());
    EXPECT_EQ(Top()->Height(), 0);
    d->Move(FormBottom() + TPoint(40, 120));
    d->Drop();
    EXPECT_FALSE(w->HasKeptHandle());
    EXPECT_EQ(docked, nullptr);
    EXPECT_EQ(bar->DockingStyle(), dsNone);
    EXPECT_EQ(bar->FloatLeft(), w->BoundsRect().Left);
    EXPECT_EQ(bar->FloatTop(), w->BoundsRect().Top);
    EXPECT_EQ(bar->FloatClientWidth(), w->ClientRect().Width());
    // The cursor keeps its place on the bar: the grab scales to the floating shape.
    const TPoint grab = w->GrabOffsetFor(w->Width(), w->Height());
    EXPECT_EQ(w->BoundsRect().TopLeft() + grab, FormBottom() + TPoint(40, 120));
}

TEST_F(BarDragTest, AFloatingBarDocksOnlyAfterTheWaitAndCtrlKeepsItFloating)
{
    AddButtons(3);
    TdxBarControl* w = Float(bar, 300, 500);
    TdxBarDrag* d = BeginDrag(w, Caption(w));
    d->Move(InTopDock());
    EXPECT_TRUE(w->Floating());
    EXPECT_TRUE(d->DockingWaitPending());
    d->Move(InTopDock() + TPoint(3, 0));  // every move waits again
    EXPECT_TRUE(d->DockingWaitPending());
    EXPECT_TRUE(w->Floating());

    // Ctrl held: floating, no wait; released: the place is looked at again at once.
    ctrl = true;
    d->Reevaluate();
    EXPECT_TRUE(w->Floating());
    ctrl = false;
    d->Reevaluate();
    EXPECT_TRUE(d->DockingWaitPending());

    cursor = InTopDock() + TPoint(3, 0);
    d->DockingWaitElapsed();
    EXPECT_FALSE(w->Floating());
    EXPECT_EQ(w->DockControl(), Top());
    d->Drop();
    EXPECT_EQ(bar->DockingStyle(), dsTop);
    EXPECT_EQ(bar->Row(), 0);
    EXPECT_TRUE(bar->OneOnRow());
    EXPECT_EQ(bar->DockedTop(), 0);
    EXPECT_EQ(Top()->Height(), w->Height());
}

TEST_F(BarDragTest, TheDockingWaitRunsOnItsOwnTimer)
{
    AddButtons(2);
    manager->SetWaitForDockingTime(5);
    TdxBarControl* w = Float(bar, 300, 500);
    TdxBarDrag* d = BeginDrag(w, Caption(w));
    cursor = InTopDock();
    d->Move(cursor);
    EXPECT_TRUE(w->Floating());
    EXPECT_TRUE(testsupport::WaitFor([w] { return !w->Floating(); }, 2000));
    EXPECT_EQ(w->DockControl(), Top());
}

TEST_F(BarDragTest, EscAndALostCaptureLeaveTheBarExactlyAsItWas)
{
    AddButtons(3);
    TdxBar* other = manager->Bars()->Add();
    other->SetCaption("Other");
    other->ItemLinks()->Add()->SetItem(Link(0)->Item());
    TdxBarControl* w = DockTop(bar);
    TdxBarControl* o = DockTop(other);
    ASSERT_EQ(library->DockRows(Top())->RowCount(), 1);
    const TRect wBounds = w->BoundsRect(), oBounds = o->BoundsRect();
    const int left = bar->DockedLeft(), row = bar->Row();

    for (int round = 0; round < 2; ++round) {
        TdxBarDrag* d = BeginDrag(w, Grip(w));
        d->Move(FormBottom() + TPoint(0, 100));  // floats
        ASSERT_TRUE(w->Floating());
        cursor = form->Handle()->mapToGlobal(QPoint(2, 200));
        d->Move(cursor);  // over the left dock: waits
        d->DockingWaitElapsed();
        ASSERT_EQ(w->DockingStyle(), dsLeft);
        if (round == 0)
            d->Cancel();
        else
            TWindow::ReleaseCapture(), d->Cancel();
        drag.reset();
        EXPECT_EQ(Window(), w);
        EXPECT_FALSE(w->Floating());
        EXPECT_EQ(w->DockControl(), Top());
        EXPECT_EQ(w->BoundsRect(), wBounds);
        EXPECT_EQ(o->BoundsRect(), oBounds);
        EXPECT_TRUE(w->Visible() || !form->Handle()->isVisible());
        EXPECT_FALSE(w->Handle()->isHidden());
        EXPECT_FALSE(w->HasKeptHandle());
        EXPECT_EQ(bar->DockingStyle(), dsTop);
        EXPECT_EQ(bar->DockedLeft(), left);
        EXPECT_EQ(bar->Row(), row);
        EXPECT_EQ(manager->Bars()->BuiltInDock(dsLeft)->Width(), 0);
        EXPECT_EQ(library->DockRows(Top())->ColCount(0), 2);
    }
}

TEST_F(BarDragTest, TheRealLoopFollowsTheMessageWindowAndEscCancels)
{
    AddButtons(2);
    TdxBarControl* w = DockTop(bar);
    const TRect before = w->BoundsRect();
    TWindow* messages = library->MessageWindow(manager);
    ASSERT_TRUE(messages);
    auto mouse = [messages](QEvent::Type type, const TPoint& global) { SendLeftMouse(messages, type, global); };
    bool floated = false;
    QTimer::singleShot(0, [&] {
        mouse(QEvent::MouseMove, FormBottom() + TPoint(0, 80));
        floated = w->Floating();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(form->Handle()->windowHandle(), &esc);
    });
    cursor = Grip(w);
    Press(w, Grip(w));
    EXPECT_TRUE(floated);
    EXPECT_FALSE(w->Floating());
    EXPECT_EQ(w->BoundsRect(), before);
    EXPECT_EQ(TWindow::GetCapture(), nullptr);

    // A release drops the bar where it is.
    QTimer::singleShot(0, [&] {
        mouse(QEvent::MouseMove, FormBottom() + TPoint(0, 80));
        mouse(QEvent::MouseButtonRelease, FormBottom() + TPoint(0, 80));
    });
    Press(w, Grip(w));
    EXPECT_TRUE(w->Floating());
    EXPECT_EQ(bar->DockingStyle(), dsNone);
}

TEST_F(BarDragTest, ABarFreedDuringItsDragFreesBothWindowsAndEndsTheDrag)
{
    AddButtons(2);
    TdxBarControl* w = DockTop(bar);
    QPointer<QWidget> docked = w->Handle();
    QPointer<TdxBarControl> window = w;
    TdxBarDrag* d = BeginDrag(w, Grip(w));
    d->Move(FormBottom() + TPoint(0, 100));
    QPointer<QWidget> floating = w->Handle();
    ASSERT_NE(docked, floating);
    delete bar;
    bar = nullptr;
    EXPECT_TRUE(d->Finished());
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(docked, nullptr);
    EXPECT_EQ(floating, nullptr);
    d->Move(FormBottom());  // nothing left to move
    EXPECT_EQ(Top()->Height(), 0);
}

TEST_F(BarDragTest, FloatingBarsKeepTheLibrarysZOrderAndStayOnTheirScreen)
{
    monitors = {{{0, 0, 1024, 768}, {0, 0, 1024, 740}}, {{1024, 0, 2304, 1024}, {1024, 0, 2304, 1024}}};
    AddButtons(2);
    TdxBar* other = manager->Bars()->Add();
    other->SetCaption("Other");
    other->ItemLinks()->Add()->SetItem(Link(0)->Item());
    TdxBarControl* a = Float(bar, 1500, 600);  // on the second screen
    TdxBarControl* b = Float(other, 100, 100);
    EXPECT_EQ(library->FloatingZOrder(manager), (QList<TdxBarControl*>{a, b}));
    EXPECT_EQ(a->BoundsRect().TopLeft(), TPoint(1500, 600));
    EXPECT_EQ(bar->FloatLeft(), 1500);

    a->NCHitTest(ItemCentre(a, 0));
    a->LButtonDown(a->ScreenToClient(ItemCentre(a, 0)), {});
    a->LButtonUp(a->ScreenToClient(ItemCentre(a, 0)), {});
    EXPECT_EQ(library->FloatingZOrder(manager), (QList<TdxBarControl*>{b, a}));

    // With one screen left, a bar stored beyond it comes back to its edge.
    monitors.pop_back();
    bar->SetVisible(false);
    a = Float(bar, 3000, 600);
    EXPECT_EQ(a->BoundsRect().Right, 1024);
    EXPECT_EQ(bar->FloatLeft(), a->BoundsRect().Left);
}
