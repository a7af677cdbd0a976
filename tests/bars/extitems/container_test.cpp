// A label of the form on a docked toolbar through a control container item: who may host
// it, when the bar re-lays out, and what shows when the label cannot.
#include "../windows/BarWindowFixture.h"
#include "Painting.h"
#include "StdCtrls.h"
#include "SysParams.h"
#include "SysUtils.h"
#include "ThreadTimers.h"
#include "dxBarControlContainer.h"
#include "dxBarExtItems.h"
#include "dxBarQuickControl.h"

#include <QEvent>
#include <QFontMetrics>

namespace {

// Every link control the container class makes: a bar window re-lays out by freeing and
// making all its controls, so this counts the re-layouts of a bar with one container link.
int controlsMade = 0;
TdxBarItemControlClass::Factory madeBefore = nullptr;

class ContainerTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        dxBarExtItemsInitialize();
        UseManualTimerClock(true);
        madeBefore = std::exchange(TdxBarControlContainerControlClass.factory, [](TdxBarItemLink* link) {
            ++controlsMade;
            return madeBefore(link);
        });
        manager->SetUseSystemFont(false);
        manager->Font()->SetName("DejaVu Sans");
        manager->Font()->SetHeight(-11);
        label = new TLabel(form.get());
        label->SetName("lbStatus");
        label->SetParent(form.get());
        label->SetCaption("Ready");
        label->SetVisible(false);
        container = Create<TdxBarControlContainerItem>(form.get());
        container->SetName("ContainStatus");
        container->SetControl(label);
    }
    void TearDown() override
    {
        TdxBarControlContainerControlClass.factory = madeBefore;
        BarWindowTest::TearDown();
        dxBarExtItemsFinalize();
        UseManualTimerClock(false);
    }
    // The bar docked with the container's link (and "More" buttons after it).
    TdxBarControl* Show(int width = 400)
    {
        bar->ItemLinks()->Add()->SetItem(container);
        toolbar = Dock(width);
        return toolbar;
    }
    TdxBarItemLink* ContainerLink() const { return bar->ItemLinks()->Items(0); }
    TdxBarItemControl* ContainerControl() const { return ContainerLink()->Control(); }
    // The host's place in the bar window's client area.
    QRect HostInClient() const
    {
        const TRect frame = toolbar->ClientBounds();
        return container->Host()->BoundsRect().translated(-frame.Left, -frame.Top);
    }

    TLabel* label = nullptr;
    TdxBarControlContainerItem* container = nullptr;
    QPointer<TdxBarControl> toolbar;
};

// Counts the times a widget is hidden or moved to another parent.
class TLeaveCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Hide || e->type() == QEvent::HideToParent || e->type() == QEvent::ParentChange)
            ++leaves;
        return false;
    }
    int leaves = 0;
};

}  // namespace

TEST_F(ContainerTest, AControlHasOneContainerOfTheManager)
{
    Show();
    auto* second = Create<TdxBarControlContainerItem>(form.get());
    try {
        second->SetControl(label);
        ADD_FAILURE() << "a second container took the label";
    } catch (const Exception& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  "You cannot assign the same control to more than one TdxBarControlContainerItem.");
    }
    EXPECT_EQ(second->Control(), nullptr);
    EXPECT_EQ(container->Control(), label);
    EXPECT_EQ(label->Parent(), container->Host());

    // The same control again changes nothing, not even the layout.
    const int made = controlsMade;
    container->SetControl(label);
    EXPECT_EQ(controlsMade, made);
    EXPECT_EQ(label->Parent(), container->Host());

    // Another control takes the place; the first goes back to no parent, alive.
    auto* other = new TLabel(form.get());
    other->SetCaption("Other text");
    second->SetControl(nullptr);
    container->SetControl(other);
    EXPECT_EQ(label->Parent(), nullptr);
    EXPECT_NE(label->Handle(), nullptr);
    EXPECT_EQ(other->Parent(), container->Host());
    EXPECT_EQ(ContainerLink()->ItemRect().width(), other->Width());

    // A freed control is forgotten: the link shows the placeholder, as wide as the item's name
    // plus the font's size in points.
    delete other;
    EXPECT_EQ(container->Control(), nullptr);
    const int nameWidth = QFontMetrics(toolbar->Font()).horizontalAdvance("ContainStatus");
    EXPECT_EQ(ContainerLink()->ItemRect().width(), nameWidth + 8);
    EXPECT_FALSE(container->Host()->Visible());
}

TEST_F(ContainerTest, TheBarReLaysOutOnceForARealSizeChangeOfTheControlOnly)
{
    Show();
    ASSERT_EQ(label->Parent(), container->Host());
    EXPECT_EQ(ContainerLink()->ItemRect().width(), label->Width());
    EXPECT_EQ(HostInClient(), ContainerLink()->ItemRect());
    const struct {
        const char* change;
        std::function<void()> act;
        int layouts;
    } cases[] = {
        {"a longer caption", [&] { label->SetCaption("Ready to go"); }, 1},
        {"a caption of the same width", [&] { label->SetCaption("Ready to og"); }, 0},
        {"a move", [&] { label->SetLeft(label->Left() + 3); }, 0},
        {"a colour", [&] { label->Font()->SetColor(clMaroon); }, 0},
        {"a shorter caption", [&] { label->SetCaption("Go"); }, 1},
    };
    // A re-layout makes the link's control anew, but never takes the label off the bar.
    TLeaveCounter left;
    container->Host()->Handle()->installEventFilter(&left);
    label->Handle()->installEventFilter(&left);
    for (const auto& c : cases) {
        const int made = controlsMade;
        c.act();
        EXPECT_EQ(controlsMade - made, c.layouts) << c.change;
        EXPECT_EQ(left.leaves, 0) << c.change;
        // The link is as wide as the label, and the host stands on the link.
        EXPECT_EQ(ContainerLink()->ItemRect().width(), label->Width()) << c.change;
        EXPECT_EQ(HostInClient().size(), ContainerLink()->ItemRect().size()) << c.change;
        EXPECT_TRUE(label->Handle()->isVisibleTo(toolbar->Handle())) << c.change;
    }
}

TEST_F(ContainerTest, APlaceholderShowsWhileDesigningAndWithoutAControl)
{
    Show();
    ASSERT_TRUE(container->Host()->Visible());
    manager->SetDesigningFlag(true);
    bar->ItemLinks()->BarControl()->RepaintBar();
    // The label stays off the bar; its place is hatched in the shadow colour.
    EXPECT_FALSE(container->Host()->Visible());
    const QImage shot = toolbar->Snapshot();
    const TRect frame = toolbar->ClientBounds();
    const QRect place = ContainerLink()->ItemRect().translated(frame.Left, frame.Top).adjusted(1, 1, -1, -1);
    int shadow = 0;
    for (int x = place.left(); x <= place.right(); ++x)
        for (int y = place.top(); y <= place.bottom(); ++y)
            shadow += shot.pixelColor(x, y) == SysColor(COLOR_BTNSHADOW);
    EXPECT_GT(shadow, place.width() * place.height() / 16);  // one diagonal in eight, less the text
    EXPECT_LT(shadow, place.width() * place.height() / 2);

    manager->SetDesigningFlag(false);
    bar->ItemLinks()->BarControl()->RepaintBar();
    EXPECT_TRUE(container->Host()->Visible());
    EXPECT_EQ(HostInClient(), ContainerLink()->ItemRect());

    // Without a control the placeholder is named after the item, and renaming re-lays it out.
    container->SetControl(nullptr);
    const int before = ContainerLink()->ItemRect().width();
    container->SetName("ContainStatusLine");
    EXPECT_GT(ContainerLink()->ItemRect().width(), before);
}

TEST_F(ContainerTest, InTheQuickCustomizationDropDownTheLinkIsAClickableCaption)
{
    container->SetCaption("&Status");
    for (const char* caption : {"One", "Two", "Three", "Four"}) AddButton(caption);
    // The container last, so that it is the link that does not fit.
    TdxBarItemLink* link = bar->ItemLinks()->Add();
    link->SetItem(container);
    toolbar = Dock(70);
    ASSERT_TRUE(toolbar->Truncated());
    ASSERT_TRUE(link->ItemRect().isEmpty());
    EXPECT_FALSE(container->Host()->Visible());

    const TPoint mark = toolbar->GetMarkRect().ToQRect().center();
    toolbar->LButtonDown(mark, {});
    toolbar->LButtonUp(mark, {});
    QPointer<TdxBarQuickControl> quick = toolbar->QuickControl();
    ASSERT_TRUE(quick);
    TdxBarItemLink* entry = nullptr;
    for (TdxBarItemLink* l : quick->ItemLinks()->VisibleItems())
        if (l->Item() == container) entry = l;
    ASSERT_NE(entry, nullptr);
    TdxBarItemControl* c = entry->Control();
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->CanClicked());
    EXPECT_TRUE(c->CanSelect());
    EXPECT_TRUE(container->IsAccelEnabled(entry));
    const int points = 8;
    EXPECT_EQ(c->GetWidth(), QFontMetrics(quick->Font()).horizontalAdvance("Status") + points);
    // The label stays where it was: the drop-down shows the caption instead.
    EXPECT_FALSE(container->IsHostedIn(quick));
    EXPECT_FALSE(container->Host()->Visible());
    toolbar->SetMarkState(0);

    // On the bar itself the link is never clicked nor selected, and takes no accelerator.
    dock->SetBounds(0, 0, 600, 0);
    library->UpdateDock(dock);
    ASSERT_FALSE(link->ItemRect().isEmpty());
    EXPECT_FALSE(link->Control()->CanClicked());
    EXPECT_FALSE(link->Control()->CanSelect());
    EXPECT_FALSE(container->IsAccelEnabled(link));
    EXPECT_TRUE(container->Host()->Visible());
    QList<TdxBarItem*> listed;
    manager->GetItemsByCategory(container->Category(), listed);
    EXPECT_FALSE(listed.contains(container));
}
