// Docked toolbar windows: the dock takes their rows' thickness, items stand after the grip,
// a click on a button clicks it, and an edit item's width is dragged while customizing.
#include "BarWindowFixture.h"
#include "dxBarControl.h"
#include "dxBarDockControls.h"

using ToolbarWindowTest = BarWindowTest;

TEST_F(ToolbarWindowTest, ADockIsAsThickAsItsRowAndItemsFollowTheGrip)
{
    AddButton("One");
    AddButton("Two");
    bar->ItemLinks()->Items(1)->SetBeginGroup(true);
    TdxBarControl* window = Dock(400);
    ASSERT_NE(window, nullptr);
    const int itemHeight = window->LayoutItems().at(0).Height;
    // The single border takes 2 px round the client and the grip area at its left.
    EXPECT_EQ(window->Height(), itemHeight + 4);
    EXPECT_EQ(dock->Height(), window->Height());
    EXPECT_EQ(window->ClientBounds().Left, 2 + manager->GripAreaSize());
    const QRect first = Link(0)->ItemRect();
    const QRect second = Link(1)->ItemRect();
    EXPECT_EQ(first.left(), 0);
    EXPECT_EQ(second.left(), first.right() + 1 + window->BeginGroupSize());
    // The window is as long as its items, the group gap, the mark and its non-client room.
    EXPECT_TRUE(window->MarkExists());
    EXPECT_EQ(window->Width(), second.right() + 1 + toolbarlayout::MarkRoom + window->NCAlong());

    // Hiding the bar empties the dock.
    bar->SetVisible(false);
    EXPECT_EQ(dock->Height(), 0);
}

TEST_F(ToolbarWindowTest, TheManagersFontIsTheFixedSystemMenuFont)
{
    EXPECT_EQ(manager->Font()->Height(), -11);

    // A menu of the bar is as high as a line of the font.
    auto* menu = Create<TdxBarSubItem>(form.get());
    menu->SetCaption("File");
    bar->ItemLinks()->Add()->SetItem(menu);
    Dock(400);
    EXPECT_EQ(Link(0)->ItemRect().height(), 19);

    // While scaled, the height follows the system's; unscaled, the user's height holds, and
    // taking the system font again brings the system height back.
    manager->Font()->SetHeight(-20);
    EXPECT_EQ(manager->Font()->Height(), -11);
    manager->SetScaled(false);
    manager->Font()->SetHeight(-20);
    EXPECT_EQ(manager->Font()->Height(), -20);
    EXPECT_GT(Link(0)->ItemRect().height(), 19);
    manager->SetUseSystemFont(true);
    EXPECT_EQ(manager->Font()->Height(), -11);
    EXPECT_EQ(Link(0)->ItemRect().height(), 19);
}

TEST_F(ToolbarWindowTest, AShortDockTruncatesTheBarAndAClickReachesTheButton)
{
    for (const char* caption : {"A", "B", "C", "D"}) AddButton(caption);
    TdxBarControl* window = Dock(60);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Truncated());
    EXPECT_TRUE(window->MarkExists());
    EXPECT_TRUE(Link(3)->ItemRect().isEmpty());

    QPointer<TdxBarControl> guard(window);
    const TPoint centre = Link(0)->ItemRect().center();
    window->MouseMove(centre, {});
    EXPECT_EQ(window->SelectedControl(), Link(0)->Control());
    window->LButtonDown(centre, {});
    if (guard) window->LButtonUp(centre, {});
    EXPECT_EQ(clicks, QStringList{"A"});
}

TEST_F(ToolbarWindowTest, WhileCustomizingTheEdgeOfTheSelectedEditItemDragsItsLinkWidth)
{
    auto* edit = Create<TdxBarEdit>(form.get());
    edit->SetCaption("Path");
    edit->SetWidth(100);
    bar->ItemLinks()->Add()->SetItem(edit);
    AddButton("Go");
    TdxBarControl* window = Dock(600);
    ASSERT_NE(window, nullptr);
    manager->SetIsCustomizing(true);
    QPointer<TdxBarItemLink> link = Link(0);
    window->SetMouseSelectedItem(link->Control());
    const QRect before = link->ItemRect();
    const TPoint edge(before.right() + 1, before.center().y());

    // Dragged 50 px out and back 20: the frame follows; the release sets the link's width
    // and the next item moves along.
    const QPoint frameTop = window->ClientBounds().TopLeft() + TPoint(before.right() + 25, before.top());
    const QRgb plain = window->Handle()->grab().toImage().pixel(frameTop);
    window->LButtonDown(edge, {});
    EXPECT_EQ(window->EditWidthDragWidth(), 100);
    window->MouseMove(edge + TPoint(50, 0), {});
    window->MouseMove(edge + TPoint(30, 0), {});
    EXPECT_EQ(window->EditWidthDragWidth(), 130);
    // The frame inverts what is under it, out to the new edge.
    EXPECT_EQ(window->Handle()->grab().toImage().pixel(frameTop) & 0xffffff, ~plain & 0xffffff);
    const int buttonBefore = Link(1)->ItemRect().left();
    window->LButtonUp(edge + TPoint(30, 0), {});
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
    EXPECT_EQ(link->Width(), 130);
    EXPECT_EQ(edit->Width(), 100);
    EXPECT_EQ(link->ItemRect().width(), before.width() + 30);
    EXPECT_EQ(Link(1)->ItemRect().left(), buttonBefore + 30);

    // A drag far to the left stops at the narrowest link; a lost capture changes nothing.
    window = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    window->SetMouseSelectedItem(link->Control());
    const TPoint right(link->ItemRect().right() + 1, link->ItemRect().center().y());
    window->LButtonDown(right, {});
    window->MouseMove(right - TPoint(400, 0), {});
    EXPECT_EQ(window->EditWidthDragWidth(), 20);
    TWindow::ReleaseCapture();
    EXPECT_EQ(window->EditWidthDragWidth(), 0);
    EXPECT_EQ(link->Width(), 130);

    // Outside customizing a press there is an ordinary press.
    manager->SetIsCustomizing(false);
    window->LButtonDown(right, {});
    EXPECT_EQ(window->EditWidthDragWidth(), 0);
    window->LButtonUp(right, {});
}

TEST_F(ToolbarWindowTest, AFloatingBarWrappedAtAGroupStartDrawsItsSeparatorAcrossTheGapBetweenItsRows)
{
    for (const char* caption : {"A", "B", "C", "D"}) AddButton(caption);
    Link(2)->SetBeginGroup(true);
    for (TdxBarManagerStyle style : {bmsFlat, bmsStandard}) {
        SCOPED_TRACE(style == bmsFlat ? "flat" : "standard");
        manager->SetStyle(style);
        bar->SetFloatLeft(200);
        bar->SetFloatTop(200);
        bar->SetDockingStyle(dsNone);
        // Room for one button a row.
        bar->SetFloatClientWidth(1);
        bar->SetVisible(true);
        auto* window = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
        ASSERT_NE(window, nullptr);
        const QRect above = Link(1)->ItemRect(), below = Link(2)->ItemRect();
        ASSERT_EQ(below.left(), 0);
        ASSERT_GT(below.top(), above.bottom() + 1);

        const QImage image = window->Handle()->grab().toImage();
        const QPoint client = window->ClientBounds().TopLeft();
        const QRgb shadow = SysColor(COLOR_BTNSHADOW).rgb();
        // A shadow line runs across the gap's middle part, in both halves of the bar.
        int lines = 0;
        for (int x : {window->ClientRect().Width() / 4, window->ClientRect().Width() * 3 / 4}) {
            for (int y = above.bottom() + 1; y < below.top(); ++y)
                if (image.pixel(client + QPoint(x, y)) == shadow) {
                    ++lines;
                    break;
                }
        }
        EXPECT_EQ(lines, 2);
        bar->SetVisible(false);
    }
}

TEST_F(ToolbarWindowTest, APointOnAGroupSeparatorNamesTheItemAfterItWithBeforeSet)
{
    for (const char* caption : {"A", "B", "C", "D"}) AddButton(caption);
    Link(2)->SetBeginGroup(true);
    struct Case {
        const char* name;
        bool floating;
    };
    // Docked in one row the separator stands between B and C; floating one button a row, it
    // spans the gap above C's row.
    for (const Case& c : {Case{"in a row", false}, Case{"between rows", true}}) {
        SCOPED_TRACE(c.name);
        TdxBarControl* window = nullptr;
        if (c.floating) {
            bar->SetFloatLeft(200);
            bar->SetFloatTop(200);
            bar->SetDockingStyle(dsNone);
            bar->SetFloatClientWidth(1);
            bar->SetVisible(true);
            window = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
        } else {
            window = Dock(400);
        }
        ASSERT_NE(window, nullptr);
        const QRect b = Link(1)->ItemRect(), start = Link(2)->ItemRect();
        const TPoint gap =
            c.floating ? TPoint(start.center().x(), start.top() - 2) : TPoint(start.left() - 2, start.center().y());
        ASSERT_FALSE(b.contains(gap));
        bool outside = false, before = false, vertical = false;
        EXPECT_EQ(window->ItemAtPosEx(gap, outside, before, vertical), Link(2)->Control());
        EXPECT_TRUE(outside);
        EXPECT_TRUE(before);
        EXPECT_EQ(vertical, c.floating);
        bar->SetVisible(false);
    }
}
