// Tearing a menu off as a floating toolbar: the drag ends dropped (floating) or in anything
// else (the toolbar back docked and visible, the menu open again).
#include "MenuWindowFixture.h"
#include "SysParams.h"
#include "dxBarControl.h"
#include "dxBarDetachDrag.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

class DetachDragTest : public MenuWindowTest {
protected:
    void SetUp() override
    {
        MenuWindowTest::SetUp();
        insert = AddSubItem("&Insert", {"Table", "Image"});
        insert->setProperty("Detachable", true);
        toolbar = manager->Bars()->Add();
        auto* button = Create<TdxBarButton>(form.get());
        button->SetCaption("Bold");
        toolbar->ItemLinks()->Add()->SetItem(button);
        toolbar->SetDockControl(nullptr);
        toolbar->SetDockingStyle(dsTop);
        toolbar->SetVisible(true);
        insert->SetDetachingBar(1);
        ASSERT_NE(DockMenuBar(), nullptr);
    }
    // Opens the menu and presses its detach bar; the steps run inside the drag's loop.
    void DragWith(std::function<void(const TRect& zone)> steps)
    {
        PressTitle(0);
        TdxBarSubMenuControl* menu = MenuOf(insert);
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(menu->HasDetachBar());
        const TRect bar = menu->DetachBarRect();
        const TRect zone = bar.Offset(menu->ClientToScreen({0, 0}));
        QTimer::singleShot(0, [steps, zone] { steps(zone); });
        menu->LButtonDown({(bar.Left + bar.Right) / 2, (bar.Top + bar.Bottom) / 2}, {});
        EXPECT_FALSE(dxBarDetachDragging());
    }
    void MoveTo(const TPoint& screen)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(0, 0), QPointF(screen), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(form->Handle()->windowHandle(), &move);
    }
    void Send(QEvent::Type type, int key = 0)
    {
        if (type == QEvent::MouseButtonRelease) {
            QMouseEvent up(type, QPointF(0, 0), QPointF(0, 0), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(form->Handle()->windowHandle(), &up);
            return;
        }
        QKeyEvent press(type, key, Qt::NoModifier);
        QCoreApplication::sendEvent(form->Handle()->windowHandle(), &press);
    }
    TdxBarSubItem* insert = nullptr;
    TdxBar* toolbar = nullptr;
};

TEST_F(DetachDragTest, DroppedAwayFromTheMenuTheToolbarFloatsAtThePointer)
{
    DragWith([this](const TRect& zone) {
        EXPECT_TRUE(dxBarDetachDragging());
        MoveTo({zone.Left + 5, zone.Top + 2});  // inside: nothing yet
        EXPECT_NE(MenuOf(insert), nullptr);
        MoveTo({400, 500});
        EXPECT_EQ(MenuOf(insert), nullptr);
        EXPECT_EQ(toolbar->DockingStyle(), dsNone);
        // The window follows the pointer, centred on it with its caption under it, and the
        // bar's stored place is the window's.
        auto* window = qobject_cast<TdxBarControl*>(toolbar->ItemLinks()->BarControl());
        ASSERT_NE(window, nullptr);
        const int captionTop = GetSystemMetrics(SM_CYSMCAPTION) / 2;
        for (const TPoint& p : {TPoint(420, 520), TPoint(300, 240)}) {
            MoveTo(p);
            EXPECT_EQ(window->WindowRect().TopLeft(), TPoint(p.x() - window->Width() / 2, p.y() - captionTop));
            EXPECT_EQ(TPoint(toolbar->FloatLeft(), toolbar->FloatTop()), window->WindowRect().TopLeft());
        }
        Send(QEvent::MouseButtonRelease);
    });
    EXPECT_EQ(toolbar->DockingStyle(), dsNone);
    EXPECT_TRUE(toolbar->Visible());
    auto* window = qobject_cast<TdxBarControl*>(toolbar->ItemLinks()->BarControl());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TPoint(toolbar->FloatLeft(), toolbar->FloatTop()), window->WindowRect().TopLeft());
    EXPECT_EQ(window->WindowRect().TopLeft(),
              TPoint(300 - window->Width() / 2, 240 - GetSystemMetrics(SM_CYSMCAPTION) / 2));
}

TEST_F(DetachDragTest, EscOrComingBackLeavesTheToolbarDockedAndVisibleAndReopensTheMenu)
{
    DragWith([this](const TRect& /*zone*/) {
        MoveTo({400, 500});
        Send(QEvent::KeyPress, Qt::Key_Escape);
    });
    EXPECT_EQ(toolbar->DockingStyle(), dsTop);
    EXPECT_TRUE(toolbar->Visible());
    EXPECT_NE(MenuOf(insert), nullptr);
    menuBar->HideAll();

    DragWith([this](const TRect& zone) {
        MoveTo({400, 500});
        MoveTo({zone.Left + 3, zone.Top + 1});
    });
    EXPECT_EQ(toolbar->DockingStyle(), dsTop);
    EXPECT_TRUE(toolbar->Visible());
    EXPECT_NE(MenuOf(insert), nullptr);
    menuBar->HideAll();

    // Released over the detach bar without leaving it: nothing changes.
    DragWith([this](const TRect&) { Send(QEvent::MouseButtonRelease); });
    EXPECT_EQ(toolbar->DockingStyle(), dsTop);
    EXPECT_TRUE(toolbar->Visible());
}
