// Menu windows opened from the menu bar: opening, switching, clicking, sub menus on hover,
// recent items and expansion, scrolling, keys, animation and the closing paths.
#include "MenuWindowFixture.h"

#include "Strings.h"
#include "ThreadTimers.h"

#include <QCursor>

TEST_F(MenuWindowTest, AClickOnATitleOpensItsMenuBelowItHoverSwitchesAndACommandClosesTheChain)
{
    TdxBarSubItem* file = AddSubItem("&File", {"New", "Open"});
    TdxBarSubItem* edit = AddSubItem("&Edit", {"Undo"});
    ASSERT_NE(DockMenuBar(), nullptr);
    auto* fileControl = dynamic_cast<TdxBarSubItemControl*>(Link(0)->Control());
    ASSERT_NE(fileControl, nullptr);

    // Hovering a title opens nothing until a menu of the bar is open.
    menuBar->MouseMove(Centre(Link(1)), {});
    EXPECT_EQ(MenuOf(edit), nullptr);

    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(file);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->Visible());
    EXPECT_TRUE(menu->IsMenu());
    EXPECT_EQ(menu->ParentBar(), menuBar.data());
    EXPECT_EQ(dxBarActiveMenu(), menu.data());
    EXPECT_TRUE(dxBarMenuChainActive());
    const TPoint below = menuBar->ClientToScreen({Link(0)->ItemRect().left(), Link(0)->ItemRect().bottom() + 1});
    EXPECT_EQ(menu->WindowRect().TopLeft(), below);
    EXPECT_EQ(sounds, QStringList{"MenuPopup"});
    EXPECT_FALSE(menu->Handle()->isActiveWindow());

    // Once a menu is open, hovering the next title switches menus at once.
    menuBar->MouseMove(Centre(Link(1)), {});
    EXPECT_TRUE(menu.isNull());
    QPointer<TdxBarSubMenuControl> editMenu = MenuOf(edit);
    ASSERT_NE(editMenu, nullptr);

    // A click on a row runs the command and closes the whole chain.
    ClickRow(editMenu, 0);
    EXPECT_EQ(clicks, QStringList{"Undo"});
    EXPECT_TRUE(editMenu.isNull());
    EXPECT_FALSE(dxBarMenuChainActive());
    EXPECT_FALSE(menuBar->IsActive());
    EXPECT_FALSE(menuBar->DropDownMode());
    EXPECT_TRUE(sounds.endsWith("MenuCommand"));
}

TEST_F(MenuWindowTest, SubMenusOpenAfterTheHoverDelayAndOnlyTheLastHoveredOneOpens)
{
    TdxBarSubItem* insert = AddSubItem("&Insert", {"Line"});
    TdxBarSubItem* first = AddSubItem("Tables", {"Table"}, insert->ItemLinks());
    TdxBarSubItem* second = AddSubItem("Forms", {"Form"}, insert->ItemLinks());
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(insert);
    ASSERT_NE(menu, nullptr);

    menu->MouseMove(Centre(insert->ItemLinks()->Items(1)), {});
    EXPECT_EQ(MenuOf(first), nullptr);
    EXPECT_TRUE(dxBarPendingSubItemOpens());
    // Moving on within the delay: only the second opens when it runs out.
    menu->MouseMove(Centre(insert->ItemLinks()->Items(2)), {});
    EXPECT_EQ(dxBarPendingSubItem(), insert->ItemLinks()->Items(2)->Control());
    dxBarFirePendingSubItem();
    EXPECT_EQ(MenuOf(first), nullptr);
    QPointer<TdxBarSubMenuControl> child = MenuOf(second);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->ParentBar(), menu.data());
    // It opens at the row's right edge, just above the row.
    const QRect row = insert->ItemLinks()->Items(2)->ItemRect();
    EXPECT_EQ(child->WindowRect().Left, menu->ClientToScreen({row.right() + 1, 0}).x());

    // Leaving the row for another starts a delayed close; coming into the child cancels it.
    menu->MouseMove(Centre(insert->ItemLinks()->Items(0)), {});
    EXPECT_FALSE(child.isNull());
    EXPECT_EQ(dxBarPendingSubItem(), insert->ItemLinks()->Items(2)->Control());
    child->MouseMove(Centre(second->ItemLinks()->Items(0)), {});
    EXPECT_EQ(dxBarPendingSubItem(), nullptr);
    EXPECT_EQ(menu->SelectedControl(), insert->ItemLinks()->Items(2)->Control());

    // Esc in the child closes only the child; Esc again closes the menu.
    int key = VK_ESCAPE;
    child->KeyDown(key, {});
    EXPECT_TRUE(child.isNull());
    ASSERT_FALSE(menu.isNull());
    key = VK_ESCAPE;
    menu->KeyDown(key, {});
    EXPECT_TRUE(menu.isNull());
}

TEST_F(MenuWindowTest, ASubMenuAtTheScreensRightEdgeFlipsLeftOfItsRow)
{
    TdxBarSubItem* file = AddSubItem("&File", {"New"});
    TdxBarSubItem* recent = AddSubItem("Recent files", {"a.htm", "b.htm"}, file->ItemLinks());
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(file);
    ASSERT_NE(menu, nullptr);
    const TRect work = dxBarGetWorkArea(menu->WindowRect().TopLeft());
    // Move the open menu against the right edge and open the sub menu by key.
    menu->SetWindowPos(TRect::Bounds(work.Right - menu->Width(), 100, menu->Width(), menu->Height()));
    auto* row = dynamic_cast<TdxBarSubItemControl*>(file->ItemLinks()->Items(1)->Control());
    ASSERT_NE(row, nullptr);
    menu->SetKeySelectedItem(row);
    int key = VK_RIGHT;
    menu->KeyDown(key, {});
    TdxBarSubMenuControl* child = MenuOf(recent);
    ASSERT_NE(child, nullptr);
    const TRect rowOnScreen =
        TRect::FromQRect(file->ItemLinks()->Items(1)->ItemRect()).Offset(menu->ClientToScreen({0, 0}));
    EXPECT_EQ(child->WindowRect().Right, rowOnScreen.Left);
    // Opened by key: its first row is selected.
    EXPECT_EQ(child->SelectedControl(), recent->ItemLinks()->Items(0)->Control());
    // Left closes it again.
    QPointer<TdxBarSubMenuControl> guard(child);
    key = VK_LEFT;
    child->KeyDown(key, {});
    EXPECT_TRUE(guard.isNull());
}

TEST_F(MenuWindowTest, AcceleratorsClickWhenUniqueAndMoveTheSelectionWhenShared)
{
    TdxBarSubItem* edit = AddSubItem("&Edit", {"&Copy", "&Cut", "&Paste"});
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(edit);
    ASSERT_NE(menu, nullptr);
    int key = 'C';
    menu->KeyDown(key, {});
    EXPECT_TRUE(clicks.isEmpty());
    EXPECT_EQ(menu->SelectedControl(), edit->ItemLinks()->Items(0)->Control());
    key = 'C';
    menu->KeyDown(key, {});
    EXPECT_EQ(menu->SelectedControl(), edit->ItemLinks()->Items(1)->Control());
    key = 'P';
    menu->KeyDown(key, {});
    EXPECT_EQ(clicks, QStringList{"&Paste"});
    EXPECT_TRUE(menu.isNull());
}

TEST_F(MenuWindowTest, RecentItemsShowFirstAndTheMenuExpandsByDelayKeyOrBand)
{
    manager->SetMenusShowRecentItemsFirst(true);
    manager->SetShowFullMenusAfterDelay(true);
    TdxBarSubItem* view = AddSubItem("&View", {"Code", "Preview", "Split", "Ruler"});
    view->ItemLinks()->Items(1)->SetMostRecentlyUsed(false);
    view->ItemLinks()->Items(3)->SetMostRecentlyUsed(false);
    view->ItemLinks()->AfterLoad(false);
    ASSERT_NE(DockMenuBar(), nullptr);

    auto openView = [&] {
        PressTitle(0);
        return QPointer<TdxBarSubMenuControl>(MenuOf(view));
    };
    QPointer<TdxBarSubMenuControl> menu = openView();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(view->ItemLinks()->VisibleItemCount(), 2);
    EXPECT_TRUE(menu->MarkExists());
    EXPECT_FALSE(menu->ExpandButtonRect().IsEmpty());
    // Left open, the menu expands after 4 s.
    EXPECT_TRUE(menu->TimerActive(TdxBarSubMenuControl::DelayTimerExpand));
    EXPECT_EQ(menu->TimerInterval(TdxBarSubMenuControl::DelayTimerExpand), 4000);
    menu->Timer(TdxBarSubMenuControl::DelayTimerExpand);
    EXPECT_EQ(view->ItemLinks()->VisibleItemCount(), 4);
    EXPECT_FALSE(menu->MarkExists());
    EXPECT_TRUE(dxBarMenusExpanded());
    // Expanded, the not-recent links are shaded.
    EXPECT_TRUE(menu->IsNotRecent(view->ItemLinks()->Items(1)->Control()));
    EXPECT_FALSE(menu->IsNotRecent(view->ItemLinks()->Items(2)->Control()));

    // Closing the chain clears the expanded state: the next menu is short again.
    int key = VK_ESCAPE;
    menu->KeyDown(key, {});
    menuBar->HideAll();
    EXPECT_FALSE(dxBarMenusExpanded());
    menu = openView();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(view->ItemLinks()->VisibleItemCount(), 2);

    // Ctrl+Down expands at once.
    key = VK_DOWN;
    menu->KeyDown(key, ssCtrl);
    EXPECT_EQ(view->ItemLinks()->VisibleItemCount(), 4);
    menuBar->HideAll();
    EXPECT_TRUE(menu.isNull());

    // A click on the band makes the button hot, a second one expands.
    menu = openView();
    ASSERT_NE(menu, nullptr);
    const TPoint band = menu->ExpandButtonRect().BottomRight() - TPoint(menu->ExpandButtonRect().Width() / 2, 2);
    menu->LButtonDown(band, {});
    EXPECT_EQ(menu->MarkState(), 1);
    EXPECT_EQ(view->ItemLinks()->VisibleItemCount(), 2);
    menu->LButtonDown(band, {});
    EXPECT_EQ(view->ItemLinks()->VisibleItemCount(), 4);
    menuBar->HideAll();
}

TEST_F(MenuWindowTest, DownOnTheLastRecentRowExpandsAndSelectsTheFirstHiddenLink)
{
    manager->SetMenusShowRecentItemsFirst(true);
    TdxBarSubItem* view = AddSubItem("&View", {"Code", "Preview", "Split", "Ruler"});
    view->ItemLinks()->Items(1)->SetMostRecentlyUsed(false);
    view->ItemLinks()->Items(3)->SetMostRecentlyUsed(false);
    view->ItemLinks()->AfterLoad(false);
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(view);
    ASSERT_NE(menu, nullptr);
    menu->SetKeySelectedItem(view->ItemLinks()->Items(2)->Control());  // "Split", the last shown
    int key = VK_DOWN;
    menu->KeyDown(key, {});
    ASSERT_FALSE(menu.isNull());
    EXPECT_EQ(view->ItemLinks()->VisibleItemCount(), 4);
    EXPECT_EQ(menu->SelectedControl(), view->ItemLinks()->Items(1)->Control());
    menuBar->HideAll();
}

TEST_F(MenuWindowTest, ALongMenuIsCutAtTheWorkAreaAndScrollsByItsArrowsAndKeys)
{
    QStringList many;
    for (int i = 0; i < 200; ++i) many << QString("Item %1").arg(i);
    TdxBarSubItem* big = AddSubItem("&Big", many);
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(big);
    ASSERT_NE(menu, nullptr);
    const TRect work = dxBarGetWorkArea(menu->WindowRect().TopLeft());
    EXPECT_LE(menu->WindowRect().Bottom, work.Bottom);
    EXPECT_TRUE(menu->CanScrollDown());
    EXPECT_FALSE(menu->CanScrollUp());
    const int shown = menu->VisibleItemCount();
    EXPECT_GE(shown, 3);
    EXPECT_LT(shown, 200);

    // The pointer on the down arrow scrolls one row per tick; no row counts as hit there.
    const TRect down = menu->DownArrowRect();
    ASSERT_FALSE(down.IsEmpty());
    const TPoint onArrow((down.Left + down.Right) / 2, (down.Top + down.Bottom) / 2);
    QCursor::setPos(menu->ClientToScreen(onArrow));
    menu->MouseMove(onArrow, {});
    EXPECT_TRUE(menu->TimerActive(TdxBarSubMenuControl::ScrollTimer));
    EXPECT_EQ(menu->TimerInterval(TdxBarSubMenuControl::ScrollTimer), 80);
    bool outside = false, before = false, vertical = false;
    EXPECT_EQ(menu->ItemAtPosEx({5, 5}, outside, before, vertical), nullptr);
    menu->Timer(TdxBarSubMenuControl::ScrollTimer);
    menu->Timer(TdxBarSubMenuControl::ScrollTimer);
    EXPECT_EQ(menu->TopIndex(), 2);
    EXPECT_TRUE(menu->CanScrollUp());

    // End selects the last link and scrolls it into view; Home goes back to the top.
    int key = VK_END;
    menu->KeyDown(key, {});
    EXPECT_EQ(menu->SelectedControl(), big->ItemLinks()->Items(199)->Control());
    EXPECT_FALSE(menu->CanScrollDown());
    EXPECT_FALSE(big->ItemLinks()->Items(199)->ItemRect().isEmpty());
    key = VK_HOME;
    menu->KeyDown(key, {});
    EXPECT_EQ(menu->TopIndex(), 0);
    key = VK_UP;  // wraps to the last again
    menu->KeyDown(key, {});
    EXPECT_FALSE(big->ItemLinks()->Items(199)->ItemRect().isEmpty());
    menuBar->HideAll();
    EXPECT_TRUE(menu.isNull());
}

TEST_F(MenuWindowTest, ClosingPathsSurviveADeadParentAndAFreedPopupOwner)
{
    TdxBarSubItem* file = AddSubItem("&File", {"New"});
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(file);
    ASSERT_NE(menu, nullptr);
    // The menu bar goes while its menu is open: the menu's HideAll closes the menu itself.
    bar->SetVisible(false);
    EXPECT_TRUE(menuBar.isNull());
    if (menu) menu->HideAll();
    EXPECT_TRUE(menu.isNull());
    EXPECT_FALSE(dxBarMenuChainActive());

    // A top menu without a parent closes on HideAll and tells its close-up handler.
    auto* top = new TdxBarSubMenuControl(manager);
    top->SetItemLinks(file->ItemLinks());
    bool closedUp = false;
    top->OnCloseUp = [&] { closedUp = true; };
    top->SetPosition(100, 100);
    top->Show();
    QPointer<TdxBarSubMenuControl> guard(top);
    EXPECT_TRUE(top->Visible());
    top->HideAll();
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(closedUp);
}

TEST_F(MenuWindowTest, TheSlideAnimationRevealsTheMenuFrameByFrameAndAKeyCompletesIt)
{
    manager->SetMenuAnimations(maSlide);
    TdxBarSubItem* file = AddSubItem("&File", {"New", "Open", "Save", "Save As", "Close"});
    TdxBarSubItem* edit = AddSubItem("&Edit", {"Undo", "Redo", "Cut", "Copy"});
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(file);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->Animating());
    const int finalHeight = menu->AnimationFrames().ClientHeight;
    ASSERT_GE(menu->AnimationFrames().Count(), 2);
    EXPECT_EQ(menu->ClientRect().Height(), 17);
    EXPECT_EQ(menu->WindowRect().TopLeft(),
              menuBar->ClientToScreen({Link(0)->ItemRect().left(), Link(0)->ItemRect().bottom() + 1}));
    menu->Timer(TdxBarSubMenuControl::AnimationTimer);
    EXPECT_EQ(menu->ClientRect().Height(), 34);
    // A second menu's animation first completes the running one.
    menuBar->MouseMove(Centre(Link(1)), {});
    EXPECT_TRUE(menu.isNull());
    QPointer<TdxBarSubMenuControl> editMenu = MenuOf(edit);
    ASSERT_NE(editMenu, nullptr);
    EXPECT_TRUE(editMenu->Animating());
    // A key during the animation shows the finished menu first, then is handled.
    int key = VK_DOWN;
    editMenu->KeyDown(key, {});
    EXPECT_FALSE(editMenu->Animating());
    EXPECT_EQ(editMenu->ClientRect().Height(), editMenu->AnimationFrames().ClientHeight);
    EXPECT_EQ(editMenu->SelectedControl(), edit->ItemLinks()->Items(0)->Control());
    EXPECT_GT(finalHeight, 34);
    menuBar->HideAll();

    // While customizing, menus never animate.
    manager->SetIsCustomizing(true);
    auto* top = new TdxBarSubMenuControl(manager);
    top->SetItemLinks(file->ItemLinks());
    top->SetAnimate(true);
    top->Show();
    EXPECT_FALSE(top->Animating());
    top->Close();
    manager->SetIsCustomizing(false);
}

TEST_F(MenuWindowTest, EveryFrameOfTheAnimationShowsBeforeTheFinishedMenu)
{
    TdxBarSubItem* file = AddSubItem("&File", {"New", "Open", "Save", "Save As", "Close", "Print", "Exit"});
    ASSERT_NE(DockMenuBar(), nullptr);
    for (TdxBarMenuAnimations kind : {maSlide, maUnfold}) {
        manager->SetMenuAnimations(kind);
        PressTitle(0);
        QPointer<TdxBarSubMenuControl> menu = MenuOf(file);
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(menu->Animating());
        const menulayout::TAnimationFrames frames = menu->AnimationFrames();
        ASSERT_GE(frames.Count(), 2);
        QList<QSize> shown{menu->ClientRect().Size()};
        for (int guard = 0; menu->Animating() && guard < 1000; ++guard) {
            menu->Timer(TdxBarSubMenuControl::AnimationTimer);
            if (menu->Animating()) shown << menu->ClientRect().Size();
        }
        QList<QSize> expected;
        for (int k = 1; k <= frames.Count(); ++k) expected << menulayout::FrameSize(frames, k);
        EXPECT_EQ(shown, expected);
        menuBar->HideAll();
    }
}

TEST_F(MenuWindowTest, RandomAnimationsSlideAndUnfoldAboutEquallyOften)
{
    manager->SetMenuAnimations(maRandom);
    TdxBarSubItem* file = AddSubItem("&File", {"New", "Open", "Save", "Save As", "Close", "Exit"});
    int slides = 0;
    const int runs = 200;
    for (int i = 0; i < runs; ++i) {
        auto* menu = new TdxBarSubMenuControl(manager);
        menu->SetItemLinks(file->ItemLinks());
        menu->SetAnimate(true);
        menu->SetPosition(100, 100);
        menu->Show();
        ASSERT_TRUE(menu->Animating());
        if (menu->AnimationFrames().Kind == menulayout::TAnimation::Slide) ++slides;
        menu->Close();
    }
    EXPECT_GT(slides, runs / 4);
    EXPECT_LT(slides, runs * 3 / 4);
    EXPECT_EQ(dxBarAnimatingMenu(), nullptr);
}

TEST_F(MenuWindowTest, AListItemOnTheBarOpensAMenuOfItsEntriesAndAPickSetsItsIndex)
{
    auto* list = Create<TdxBarListItem>(form.get());
    list->SetCaption("&Zoom");
    list->Items()->Add("50%");
    list->Items()->Add("100%");
    bar->ItemLinks()->Add()->SetItem(list);
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    auto* menu = qobject_cast<TdxBarSubMenuControl*>(list->ItemLinks()->BarControl());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(list->ItemLinks()->VisibleItemCount(), 2);
    ClickRow(menu, 1);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->ItemLinks()->BarControl(), nullptr);
    // The entries leave the links with the menu; opening again lists them once.
    EXPECT_EQ(list->ItemLinks()->Count(), 0);
    PressTitle(0);
    EXPECT_EQ(list->ItemLinks()->VisibleItemCount(), 2);
    menuBar->HideAll();
}

TEST_F(MenuWindowTest, TheExpandButtonTurnsHotAfterASelectionChangeAndExpandsASecondLater)
{
    manager->SetShowFullMenusAfterDelay(true);
    TdxBarSubItem* view = AddShortenedSubItem("&View", {"Code", "Preview", "Split"}, {2});
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(view);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->MarkExists());
    int key = VK_DOWN;
    menu->KeyDown(key, {});
    EXPECT_FALSE(menu->TimerActive(TdxBarSubMenuControl::DelayTimerExpand));
    EXPECT_EQ(menu->TimerInterval(TdxBarSubMenuControl::DelayTimerHot), 4000);
    const TRect band = menu->ExpandButtonRect();
    QCursor::setPos(menu->ClientToScreen({(band.Left + band.Right) / 2, (band.Top + band.Bottom) / 2}));
    menu->Timer(TdxBarSubMenuControl::DelayTimerHot);
    EXPECT_EQ(menu->MarkState(), 1);
    EXPECT_EQ(menu->TimerInterval(TdxBarSubMenuControl::DelayTimerExpand), 1000);
    menu->Timer(TdxBarSubMenuControl::DelayTimerExpand);
    EXPECT_EQ(view->ItemLinks()->VisibleItemCount(), 3);
    menuBar->HideAll();
}

TEST_F(MenuWindowTest, TheExpandButtonAndTheDetachBarTellWhatTheyDoInTheHint)
{
    UseManualTimerClock(true);
    struct RealClock {
        ~RealClock() { UseManualTimerClock(false); }
    } realClock;
    manager->SetShowFullMenusAfterDelay(false);
    TdxBarSubItem* view = AddShortenedSubItem("&View", {"Code", "Preview", "Split"}, {2});
    view->setProperty("Detachable", true);
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(view);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->MarkExists());
    auto hover = [&](const TRect& r) {
        const TPoint at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        QCursor::setPos(menu->ClientToScreen(at));
        menu->MouseMove(at, {});
    };
    auto hint = [&] {
        AdvanceTimerClock(1000);
        return library->HintVisible() ? library->HintWindow()->Text() : QString();
    };

    hover(menu->DetachBarRect());
    EXPECT_EQ(hint(), "Drag to make this menu float");
    menu->MouseLeave();  // cools with nothing selected
    EXPECT_EQ(hint(), "");

    hover(menu->ExpandButtonRect());
    EXPECT_EQ(menu->MarkState(), 1);
    EXPECT_EQ(hint(), "Expand (Ctrl-Down)");
    hover(TRect::FromQRect(view->ItemLinks()->Items(0)->ItemRect()));
    EXPECT_EQ(menu->MarkState(), 0);
    EXPECT_EQ(hint(), "");
    menuBar->HideAll();
}

TEST_F(MenuWindowTest, AnAcceleratorOfAHiddenLinkExpandsTheMenuAndActsOnThatLink)
{
    manager->SetShowFullMenusAfterDelay(false);
    TdxBarSubItem* view = AddShortenedSubItem("&View", {"&Code", "&Preview", "&Split", "&Ruler", "&Status"}, {1, 3, 4});
    ASSERT_NE(DockMenuBar(), nullptr);
    PressTitle(0);
    QPointer<TdxBarSubMenuControl> menu = MenuOf(view);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(view->ItemLinks()->VisibleItemCount(), 2);
    // Shared with a hidden link: the menu opens out and the shown one is selected.
    int key = 'S';
    menu->KeyDown(key, {});
    ASSERT_FALSE(menu.isNull());
    EXPECT_EQ(view->ItemLinks()->VisibleItemCount(), 5);
    EXPECT_EQ(menu->SelectedControl(), view->ItemLinks()->Items(2)->Control());
    EXPECT_TRUE(clicks.isEmpty());
    menuBar->HideAll();

    // Unique and hidden: the menu opens out and the link is clicked.
    PressTitle(0);
    menu = MenuOf(view);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(view->ItemLinks()->VisibleItemCount(), 2);
    key = 'R';
    menu->KeyDown(key, {});
    EXPECT_EQ(clicks, QStringList{"&Ruler"});
    EXPECT_TRUE(menu.isNull());
}

TEST_F(MenuWindowTest, ContainerItemsInAMenuShowTheirLinksAsRowsInPlaceOfTheirOwnRow)
{
    TdxBarSubItem* file = AddSubItem("&File", {"New", "Exit"});
    auto* recent = Create<TdxBarListItem>(form.get());
    recent->SetCaption("Recent");
    recent->Items()->Add("a.htm");
    recent->Items()->Add("b.htm");
    TdxBarItemLink* own = file->ItemLinks()->Insert(1);
    own->SetItem(recent);
    auto* more = Create<TdxBarContainerItem>(form.get());
    auto* print = Create<TdxBarButton>(form.get());
    print->SetCaption("Print");
    more->ItemLinks()->Add()->SetItem(print);
    TdxBarItemLink* moreLink = file->ItemLinks()->Insert(2);
    moreLink->SetItem(more);
    ASSERT_NE(DockMenuBar(), nullptr);
    auto captions = [&] {
        QStringList out;
        for (TdxBarItemLink* link : file->ItemLinks()->VisibleItems()) out << link->Caption();
        return out;
    };
    for (int round = 0; round < 2; ++round) {
        PressTitle(0);
        QPointer<TdxBarSubMenuControl> menu = MenuOf(file);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(captions(), (QStringList{"New", "&1 a.htm", "&2 b.htm", "Print", "Exit"}));
        EXPECT_TRUE(file->ItemLinks()->VisibleItems().at(1)->BeginGroup());
        const TPoint row = Centre(file->ItemLinks()->VisibleItems().at(2));
        menu->MouseMove(row, {});
        menu->LButtonDown(row, {});
        menu->LButtonUp(row, {});
        EXPECT_TRUE(menu.isNull());
        EXPECT_EQ(recent->ItemIndex(), 1);
        // Closed, the menu's links are as they were.
        ASSERT_EQ(file->ItemLinks()->Count(), 4);
        EXPECT_EQ(file->ItemLinks()->Items(1), own);
        EXPECT_EQ(file->ItemLinks()->Items(2), moreLink);
    }
}
