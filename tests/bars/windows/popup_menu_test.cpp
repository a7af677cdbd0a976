// Popup menus: Popup waits for its menu to close, also when the click frees the popup menu.
#include "MenuWindowFixture.h"
#include "dxBarPopupMenu.h"

#include <QTimer>

class TPopupCounter : public QObject {
public:
    void Popped(TObject*) { ++popups; }
    void ClosedUp(TObject*) { ++closeUps; }
    int popups = 0, closeUps = 0;
};

class PopupMenuTest : public MenuWindowTest {
protected:
    TdxBarPopupMenu* MakePopup(const QStringList& captions)
    {
        auto* popup = Create<TdxBarPopupMenu>(form.get());
        for (const QString& text : captions) {
            auto* button = Create<TdxBarButton>(form.get());
            button->SetCaption(text);
            button->SetOnClick(TNotifyEvent(&recorder, &TClickRecorder::Click));
            popup->ItemLinks()->Add()->SetItem(button);
        }
        return popup;
    }
    // Clicks a row of the open popup menu once the waiting loop runs.
    void ClickLater(int row)
    {
        QTimer::singleShot(0, [row] {
            TdxBarSubMenuControl* menu = dxBarActiveMenu();
            if (menu) ClickRow(menu, row);
        });
    }
};

TEST_F(PopupMenuTest, PopupReturnsAfterItsMenuClosedAndIgnoresASecondCall)
{
    TdxBarPopupMenu* popup = MakePopup({"Cut", "Copy"});
    EXPECT_FALSE(popup->UseRecentItems());
    EXPECT_EQ(popup->BarManager(), manager);
    TPopupCounter events;
    popup->OnPopup = TNotifyEvent(&events, &TPopupCounter::Popped);
    popup->OnCloseUp = TNotifyEvent(&events, &TPopupCounter::ClosedUp);
    bool shownWhileWaiting = false;
    QTimer::singleShot(0, [&] {
        shownWhileWaiting = popup->IsShown();
        popup->Popup(0, 0);  // already shown: nothing happens
        TdxBarSubMenuControl* menu = dxBarActiveMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->WindowRect().TopLeft(), TPoint(120, 140));
        ClickRow(menu, 1);
    });
    popup->Popup(120, 140);
    EXPECT_TRUE(shownWhileWaiting);
    EXPECT_EQ(clicks, QStringList{"Copy"});
    EXPECT_FALSE(popup->IsShown());
    EXPECT_EQ(events.popups, 1);
    EXPECT_EQ(events.closeUps, 1);
    EXPECT_FALSE(dxBarMenuChainActive());
}

TEST_F(PopupMenuTest, AClickHandlerThatFreesThePopupMenuEndsTheWaitCleanly)
{
    QPointer<TdxBarPopupMenu> popup = MakePopup({"Exit"});
    recorder.onClick = [&](TdxBarButton*) { delete popup.data(); };
    ClickLater(0);
    popup->Popup(50, 50);
    EXPECT_TRUE(popup.isNull());
    EXPECT_EQ(clicks, QStringList{"Exit"});
    EXPECT_FALSE(dxBarMenuChainActive());

    // Freed while its menu is open (from outside the menu): the wait ends too.
    QPointer<TdxBarPopupMenu> other = MakePopup({"One"});
    QTimer::singleShot(0, [&] { delete other.data(); });
    other->Popup(50, 50);
    EXPECT_TRUE(other.isNull());
    EXPECT_EQ(dxBarActiveMenu(), nullptr);
}

TEST_F(PopupMenuTest, WithoutAnyManagerAPopupMenuCannotBeMade)
{
    delete manager;
    manager = nullptr;
    EXPECT_THROW(Create<TdxBarPopupMenu>(form.get()), Exception);
}

TEST_F(PopupMenuTest, ADropDownButtonOpensItsMenuBelowItAndForgetsItWhenItCloses)
{
    TdxBarPopupMenu* popup = MakePopup({"Red", "Green"});
    TdxBarButton* colour = AddButton("Colour");
    colour->SetButtonStyle(bsDropDown);
    colour->SetDropDownMenu(popup);
    ASSERT_NE(DockMenuBar(), nullptr);
    auto* control = dynamic_cast<TdxBarButtonControl*>(Link(0)->Control());
    ASSERT_NE(control, nullptr);
    control->DropDown(true);
    EXPECT_TRUE(control->DroppedDown());
    ASSERT_TRUE(popup->IsShown());
    TdxBarSubMenuControl* menu = dxBarActiveMenu();
    ASSERT_NE(menu, nullptr);
    const QRect button = Link(0)->ItemRect();
    EXPECT_EQ(menu->WindowRect().TopLeft(), menuBar->ClientToScreen({button.left(), button.bottom() + 1}));
    ClickRow(menu, 1);
    EXPECT_EQ(clicks, QStringList{"Green"});
    EXPECT_FALSE(popup->IsShown());
    EXPECT_FALSE(control->DroppedDown());
}
