// Customizing mode's item drag: links dragged onto bars, into menus and off the bars, the
// group-start gesture, refused places and things freed during the drag; the press-drag that
// starts the loop.
#include "Desktop.h"
#include "MenuWindowFixture.h"
#include "InputHooks.h"
#include "dxBarItemDrag.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

class ItemDragTest : public MenuWindowTest {
protected:
    void SetUp() override
    {
        MenuWindowTest::SetUp();
        SetCursorPosFunction([this] { return cursor; });
        SetCtrlDownFunction([this] { return ctrl; });
        // No window lies under any point: the drag finds the bar windows by their rectangles.
        TWindow::SetWindowFromPointFunction([](const TPoint&) -> QWidget* { return nullptr; });
        for (const char* caption : {"A", "B", "C"}) AddButton(caption);
        file = AddSubItem("File", {"Open", "Save"});
        DockMenuBar(400);
        other = manager->Bars()->Add();
        auto* d = Create<TdxBarButton>(form.get());
        d->SetCaption("D");
        other->ItemLinks()->Add()->SetItem(d);
        other->SetDockingStyle(dsBottom);
        other->SetVisible(true);
        QWidget* w = form->Handle();
        w->setGeometry(100, 100, 500, 300);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        manager->Customizing(true);
    }
    void TearDown() override
    {
        drag.reset();
        manager->Customizing(false);
        TWindow::SetWindowFromPointFunction({});
        SetCursorPosFunction({});
        SetCtrlDownFunction({});
        MenuWindowTest::TearDown();
    }

    static TCustomdxBarControl* WindowOf(TdxBarItemLinks* links) { return links->BarControl(); }
    // A point of a link's item on the screen: its left or right end, or its centre.
    static TPoint Left(TdxBarItemLink* link) { return At(link, link->ItemRect().left() + 2); }
    static TPoint Right(TdxBarItemLink* link) { return At(link, link->ItemRect().right() - 2); }
    static TPoint Middle(TdxBarItemLink* link) { return At(link, link->ItemRect().center().x()); }
    static TPoint At(TdxBarItemLink* link, int x)
    {
        return WindowOf(link->Links())->ClientToScreen(TPoint(x, link->ItemRect().center().y()));
    }
    TPoint Nowhere() const { return form->Handle()->mapToGlobal(QPoint(250, 150)); }
    // The items of a link list by caption, "|" before a group start.
    static QStringList Captions(TdxBarItemLinks* links)
    {
        QStringList out;
        for (int i = 0; i < links->Count(); ++i)
            out << (links->Items(i)->StoredBeginGroup() ? "|" : "") + links->Items(i)->Item()->Caption();
        return out;
    }
    TdxBarItemDrag* Begin(TdxBarItemLink* link)
    {
        drag.reset();
        drag = std::make_unique<TdxBarItemDrag>(manager, link->Item(), link, Middle(link), ctrl);
        return drag.get();
    }
    TdxBarItemLink* LinkOf(TdxBarItemLinks* links, const QString& caption)
    {
        for (int i = 0; i < links->Count(); ++i)
            if (links->Items(i)->Item()->Caption() == caption) return links->Items(i);
        return nullptr;
    }

    TdxBarSubItem* file = nullptr;
    TdxBar* other = nullptr;
    TPoint cursor;
    bool ctrl = false;
    std::unique_ptr<TdxBarItemDrag> drag;
};

}  // namespace

TEST_F(ItemDragTest, LinksMoveAndCopyBetweenBarsAndOffTheBarsAMoveDeletes)
{
    // B after D on the other bar: moved.
    Begin(Link(1))->Move(Right(other->ItemLinks()->Items(0)));
    EXPECT_EQ(drag->Cursor(), crdxBarDrag);
    EXPECT_EQ(drag->Target(), WindowOf(other->ItemLinks()));
    EXPECT_FALSE(drag->MarkRect().IsEmpty());
    drag->Drop();
    EXPECT_EQ(Captions(other->ItemLinks()), QStringList({"D", "B"}));
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"A", "C", "File"}));
    EXPECT_TRUE(manager->Modified());
    drag.reset();
    EXPECT_EQ(manager->DraggedLink(), nullptr);
    EXPECT_FALSE(manager->Dragging());

    // With Ctrl, D before A: copied, with the copy's own link properties.
    other->ItemLinks()->Items(0)->SetUserCaption("Dee");
    ctrl = true;
    Begin(other->ItemLinks()->Items(0))->Move(Left(Link(0)));
    EXPECT_EQ(drag->Cursor(), crdxBarDragCopy);
    drag->Drop();
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"D", "A", "C", "File"}));
    EXPECT_EQ(Link(0)->Caption(), "Dee");
    EXPECT_EQ(Captions(other->ItemLinks()), QStringList({"D", "B"}));

    // Off the bars a copy leaves the link where it is; a move deletes it.
    Begin(Link(2))->Move(Nowhere());
    EXPECT_EQ(drag->Cursor(), crdxBarDragNoDrop);
    EXPECT_TRUE(drag->MarkRect().IsEmpty());
    drag->Drop();
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"D", "A", "C", "File"}));
    ctrl = false;
    Begin(Link(2))->Move(Nowhere());
    drag->Drop();
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"D", "A", "File"}));

    // A move that ends where it began changes nothing, nor does Esc.
    Begin(Link(1))->Move(Right(Link(0)));
    EXPECT_TRUE(drag->MarkRect().IsEmpty());
    drag->Drop();
    Begin(Link(1))->Move(Right(other->ItemLinks()->Items(0)));
    drag->Cancel();
    drag->Drop();
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"D", "A", "File"}));
    EXPECT_EQ(Captions(other->ItemLinks()), QStringList({"D", "B"}));
}

TEST_F(ItemDragTest, DroppingBeforeAGroupStartTakesItOverAndAShortDragInPlaceSetsOrClearsOne)
{
    Link(2)->SetBeginGroup(true);
    Begin(other->ItemLinks()->Items(0))->Move(Left(Link(2)));
    drag->Drop();
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"A", "B", "|D", "C", "File"}));

    // Along the bar from the press: 5 pixels right sets the group start, 5 left clears it,
    // 2 pixels do nothing.
    const auto dragBy = [this](int dx) {
        TdxBarItemLink* b = Link(1);
        Begin(b)->Move(Middle(b) + TPoint(dx, 0));
        drag->Drop();
        drag.reset();
    };
    dragBy(5);
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"A", "|B", "|D", "C", "File"}));
    dragBy(2);
    dragBy(-2);
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"A", "|B", "|D", "C", "File"}));
    dragBy(-5);
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"A", "B", "|D", "C", "File"}));
}

TEST_F(ItemDragTest, ASubItemOpensOnHoverTakesItemsAndNeverGoesIntoItsOwnMenu)
{
    TdxBarItemLink* fileLink = LinkOf(bar->ItemLinks(), "File");
    // Over the sub item its menu opens; B goes into it.
    Begin(Link(1))->Move(Middle(fileLink));
    TdxBarSubMenuControl* menu = MenuOf(file);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->Visible());
    drag->Move(At(file->ItemLinks()->Items(1), 10));
    EXPECT_EQ(drag->Target(), menu);
    drag->Drop();
    EXPECT_EQ(Captions(file->ItemLinks()), QStringList({"Open", "Save", "B"}));
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"A", "C", "File"}));
    drag.reset();

    // The sub item itself over its own menu (opened by a press): no drop, and nothing changes.
    fileLink = LinkOf(bar->ItemLinks(), "File");
    menuBar->LButtonDown(fileLink->ItemRect().center(), {});
    menuBar->LButtonUp(fileLink->ItemRect().center(), {});
    menu = MenuOf(file);
    ASSERT_NE(menu, nullptr);
    Begin(fileLink)->Move(At(file->ItemLinks()->Items(0), 10));
    EXPECT_EQ(drag->Cursor(), crdxBarDragNoDrop);
    drag->Drop();
    EXPECT_EQ(Captions(file->ItemLinks()), QStringList({"Open", "Save", "B"}));
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"A", "C", "File"}));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ItemDragTest, AnItemOrLinkFreedDuringTheDragCancelsTheDrop)
{
    Begin(Link(1))->Move(Right(other->ItemLinks()->Items(0)));
    delete Link(1)->Item();
    drag->Drop();
    EXPECT_EQ(Captions(other->ItemLinks()), QStringList({"D"}));
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"A", "C", "File"}));
    drag.reset();

    // Only the link goes: the item stays, and the drop adds nothing.
    TdxBarItem* c = Link(1)->Item();
    Begin(Link(1))->Move(Nowhere());
    delete Link(1);
    drag->Drop();
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"A", "File"}));
    EXPECT_EQ(c->LinkCount(), 0);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ItemDragTest, APressDragOnAControlRunsTheLoopOnTheMessageWindowAndEscCancels)
{
    auto* window = qobject_cast<TdxBarControl*>(WindowOf(bar->ItemLinks()));
    TWindow* messages = library->MessageWindow(manager);
    ASSERT_TRUE(messages);
    auto mouse = [messages](QEvent::Type type, const TPoint& global) { SendLeftMouse(messages, type, global); };
    const TPoint press = Link(0)->ItemRect().center();
    const TPoint target = Right(other->ItemLinks()->Items(0));
    // Within the drag rectangle nothing starts; the release ends the pending press.
    window->LButtonDown(press, {});
    EXPECT_EQ(manager->DraggedLink(), Link(0));
    window->MouseMove(press + TPoint(1, 0), {});
    EXPECT_EQ(dxBarCurrentItemDrag(), nullptr);
    window->LButtonUp(press, {});
    EXPECT_EQ(manager->DraggedLink(), nullptr);

    bool inLoop = false;
    QTimer::singleShot(0, [&] {
        inLoop = dxBarCurrentItemDrag() && InModalLoop() && manager->Dragging();
        mouse(QEvent::MouseMove, target);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(form->Handle()->windowHandle(), &esc);
    });
    window->LButtonDown(press, {});
    window->MouseMove(press + TPoint(0, 10), {});
    EXPECT_TRUE(inLoop);
    EXPECT_EQ(dxBarCurrentItemDrag(), nullptr);
    EXPECT_EQ(Captions(bar->ItemLinks()), QStringList({"A", "B", "C", "File"}));
    EXPECT_EQ(TWindow::GetCapture(), nullptr);

    QTimer::singleShot(0, [&] {
        mouse(QEvent::MouseMove, target);
        mouse(QEvent::MouseButtonRelease, target);
    });
    window = qobject_cast<TdxBarControl*>(WindowOf(bar->ItemLinks()));
    window->LButtonDown(press, {});
    window->MouseMove(press + TPoint(0, 10), {});
    EXPECT_EQ(Captions(other->ItemLinks()), QStringList({"D", "A"}));
    EXPECT_FALSE(InModalLoop());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ItemDragTest, ALinkDroppedFromAnOpenMenuOntoAToolbarClosesTheMenuAndTheToolbarTakesTheKeys)
{
    TdxBarItemLink* fileLink = LinkOf(bar->ItemLinks(), "File");
    menuBar->LButtonDown(fileLink->ItemRect().center(), {});
    menuBar->LButtonUp(fileLink->ItemRect().center(), {});
    QPointer<TdxBarSubMenuControl> menu = MenuOf(file);
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(dxBarActiveBarControl(), nullptr);

    Begin(file->ItemLinks()->Items(0))->Move(Right(other->ItemLinks()->Items(0)));
    drag->Drop();
    EXPECT_EQ(Captions(other->ItemLinks()), QStringList({"D", "Open"}));
    EXPECT_TRUE(menu.isNull());
    auto* toolbar = qobject_cast<TdxBarControl*>(WindowOf(other->ItemLinks()));
    ASSERT_NE(toolbar, nullptr);
    EXPECT_TRUE(toolbar->InKeyboardMode());
    EXPECT_EQ(toolbar->SelectedControl(), LinkOf(other->ItemLinks(), "Open")->Control());
    EXPECT_EQ(manager->SelectedControl(), toolbar->SelectedControl());
    EXPECT_FALSE(menuBar->IsActive());
    toolbar->HideAll();
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ItemDragTest, AMenuUnderThePointerScrollsByItsArrowAndTheDropLandsAtTheRowShownThere)
{
    QStringList many;
    for (int i = 0; i < 200; ++i) many << QString("Item %1").arg(i);
    TdxBarSubItem* big = AddSubItem("Big", many);
    menuBar->RepaintBar();
    TdxBarItemLink* bigLink = LinkOf(bar->ItemLinks(), "Big");
    menuBar->LButtonDown(bigLink->ItemRect().center(), {});
    menuBar->LButtonUp(bigLink->ItemRect().center(), {});
    QPointer<TdxBarSubMenuControl> menu = MenuOf(big);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->CanScrollDown());

    const TRect down = menu->DownArrowRect();
    const TPoint onArrow = menu->ClientToScreen({(down.Left + down.Right) / 2, (down.Top + down.Bottom) / 2});
    QCursor::setPos(onArrow);
    Begin(Link(0))->Move(onArrow);
    EXPECT_EQ(drag->Cursor(), crdxBarDragNoDrop);
    ASSERT_TRUE(menu->TimerActive(TdxBarSubMenuControl::ScrollTimer));
    menu->Timer(TdxBarSubMenuControl::ScrollTimer);
    menu->Timer(TdxBarSubMenuControl::ScrollTimer);
    EXPECT_EQ(menu->TopIndex(), 2);

    // The upper half of the row now showing Item 3: the link goes before it.
    TdxBarItemLink* row = big->ItemLinks()->Items(3);
    const TPoint upper = menu->ClientToScreen(TPoint(10, row->ItemRect().top() + 2));
    QCursor::setPos(upper);
    drag->Move(upper);
    EXPECT_EQ(drag->Target(), menu);
    drag->Drop();
    EXPECT_EQ(big->ItemLinks()->Items(3)->Item()->Caption(), "A");
    EXPECT_EQ(big->ItemLinks()->Items(4)->Item()->Caption(), "Item 3");
    EXPECT_EQ(big->ItemLinks()->Count(), 201);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ItemDragTest, MenusOpenedByHoveringCloseWhenTheSelectionLeavesTheirWindow)
{
    TdxBarSubItem* more = AddSubItem("More", {"X"}, file->ItemLinks());
    // A drag of B that rests on the File title: its menu opens.
    const auto overFile = [this] {
        Begin(Link(1))->Move(Middle(LinkOf(bar->ItemLinks(), "File")));
        return QPointer<TdxBarSubMenuControl>(MenuOf(file));
    };
    // Over the title and on into its menu: the menu stays open.
    QPointer<TdxBarSubMenuControl> fileMenu = overFile();
    ASSERT_NE(fileMenu, nullptr);
    drag->Move(At(file->ItemLinks()->Items(0), 10));
    EXPECT_FALSE(fileMenu.isNull());
    // A sub menu opened from a row closes when the pointer goes to another bar; the menu
    // the row lies in stays.
    drag->Move(At(LinkOf(file->ItemLinks(), "More"), 10));
    QPointer<TdxBarSubMenuControl> moreMenu = MenuOf(more);
    ASSERT_NE(moreMenu, nullptr);
    drag->Move(Middle(other->ItemLinks()->Items(0)));
    EXPECT_TRUE(moreMenu.isNull());
    EXPECT_FALSE(fileMenu.isNull());
    drag->Cancel();
    drag.reset();

    // Straight from the title to another bar: the title's menu closes.
    fileMenu = overFile();
    ASSERT_NE(fileMenu, nullptr);
    drag->Move(Middle(other->ItemLinks()->Items(0)));
    EXPECT_TRUE(fileMenu.isNull());
    drag->Cancel();
    drag.reset();

    // A selection cleared closes them too.
    fileMenu = overFile();
    ASSERT_NE(fileMenu, nullptr);
    manager->SetSelectedControl(nullptr);
    EXPECT_TRUE(fileMenu.isNull());
    EXPECT_TRUE(errors.isEmpty());
}
