// Controls placed into a foreign widget and parked back, and the bounds observers that see
// every change of a control's bounds.
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QPointer>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct ForeignWindowTest : ::testing::Test {
    ForeignWindowTest()
    {
        form->SetBounds(0, 0, 300, 200);
        host->SetBounds(5, 6, 70, 20);
        label->SetParent(host);
        label->SetCaption("Code:");
        foreign->setGeometry(10, 10, 200, 40);
        foreign->show();
    }
    ~ForeignWindowTest() override { delete foreign; }

    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TWinControl* host = new TWinControl(form.get());  // owned by the form, no parent control
    TLabel* label = new TLabel(form.get());
    QPointer<QWidget> foreign = new QWidget;  // a bar window's handle
};

}  // namespace

TEST_F(ForeignWindowTest, AControlSitsInAForeignWidgetAndIsParkedUnderItsForm)
{
    host->SetParentWindow(foreign);
    EXPECT_EQ(host->ParentWindow(), foreign.data());
    EXPECT_EQ(host->Handle()->parentWidget(), foreign.data());
    EXPECT_EQ(host->Handle()->geometry(), QRect(5, 6, 70, 20));
    EXPECT_TRUE(host->Handle()->isVisible());
    EXPECT_TRUE(label->Handle()->isVisible());
    host->SetBounds(40, 2, 70, 20);
    EXPECT_EQ(host->Handle()->geometry(), QRect(40, 2, 70, 20));
    host->Hide();
    EXPECT_FALSE(host->Handle()->isVisible());
    host->Show();

    // Parked: hidden under the form, and not shown by Visible until placed again.
    host->SetParentWindow(nullptr);
    EXPECT_EQ(host->ParentWindow(), nullptr);
    EXPECT_EQ(host->Handle()->parentWidget(), form->Handle());
    EXPECT_FALSE(host->Handle()->isWindow());
    host->Hide();
    host->Show();
    EXPECT_TRUE(host->Handle()->isHidden());
    // The foreign widget may go now: the control and its child live on.
    delete foreign;
    ASSERT_NE(host->Handle(), nullptr);
    ASSERT_NE(label->Handle(), nullptr);
    QWidget other;
    other.show();
    host->SetParentWindow(&other);
    EXPECT_TRUE(host->Handle()->isVisible());
    EXPECT_EQ(label->Handle()->parentWidget(), host->Handle());
    host->SetParentWindow(nullptr);

    // A control with a parent control takes no foreign widget; a parent ends the stay in one.
    auto* child = new TPanel(form.get());
    child->SetParent(host);
    EXPECT_THROW(child->SetParentWindow(&other), EInvalidOperation);
    host->SetParentWindow(&other);
    host->SetParent(form.get());
    EXPECT_EQ(host->ParentWindow(), nullptr);
    EXPECT_EQ(host->Handle()->parentWidget(), form->Handle());
}

TEST_F(ForeignWindowTest, ParkedWithoutAFormOwnerItStaysAHiddenWindowlessWidget)
{
    TWinControl loose(nullptr);
    loose.SetBounds(0, 0, 30, 10);
    loose.SetParentWindow(foreign);
    EXPECT_TRUE(loose.Handle()->isVisible());
    loose.SetParentWindow(nullptr);
    EXPECT_EQ(loose.Handle()->parentWidget(), nullptr);
    loose.Show();
    EXPECT_TRUE(loose.Handle()->isHidden());  // never a window of its own on screen
}

TEST_F(ForeignWindowTest, AForeignWidgetFreedUnderTheControlTakesOnlyItsWidgets)
{
    host->SetParentWindow(foreign);
    delete foreign;  // not parked first: Qt deletes the children with it
    EXPECT_EQ(host->Handle(), nullptr);
    EXPECT_EQ(label->Handle(), nullptr);
    host->SetParentWindow(nullptr);  // nothing left to park
    host->SetBounds(0, 0, 10, 10);
    label->SetCaption("still a label");
    EXPECT_EQ(label->Caption(), "still a label");
}

TEST(BoundsObservers, EveryChangeIsSeenInOrderHiddenOrNotUntilRemoved)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetVisible(false);  // a hidden label gets no resize events from Qt
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    QStringList seen;
    auto watch = [&](const QString& who) {
        return [&seen, who](TControl* c, const QRect& old) {
            seen << QStringLiteral("%1 %2x%3->%4x%5")
                        .arg(who)
                        .arg(old.width())
                        .arg(old.height())
                        .arg(c->Width())
                        .arg(c->Height());
        };
    };
    const int first = label->AddBoundsObserver(watch("first"));
    label->AddBoundsObserver(watch("second"));
    label->SetCaption("a longer caption");  // auto-size
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen[0].startsWith("first ")) << seen[0].toStdString();
    EXPECT_TRUE(seen[1].startsWith("second "));
    seen.clear();
    label->SetLeft(20);  // a move alone counts too
    EXPECT_EQ(seen.size(), 2);
    label->RemoveBoundsObserver(first);
    label->RemoveBoundsObserver(first);  // twice is harmless
    seen.clear();
    const QSize before = label->BoundsRect().size();
    label->SetBounds(20, 0, 40, 13);
    EXPECT_EQ(seen, QStringList({QStringLiteral("second %1x%2->40x13").arg(before.width()).arg(before.height())}));

    // The parent's alignment, and an observer that removes itself while the chain runs.
    int id = 0, aligned = 0;
    id = panel->AddBoundsObserver([&](TControl* c, const QRect&) {
        ++aligned;
        c->RemoveBoundsObserver(id);
    });
    panel->SetAlign(alTop);
    form.SetBounds(0, 0, 400, 200);
    EXPECT_EQ(aligned, 1);

    // A window's bounds taken back from the window system reach the observers as well.
    int windowMoves = 0;
    form.AddBoundsObserver([&](TControl*, const QRect&) { ++windowMoves; });
    form.Show();
    const QRect placed = form.BoundsRect();
    form.Handle()->move(placed.topLeft() + QPoint(30, 40));
    EXPECT_TRUE(testsupport::WaitFor([&] { return form.BoundsRect() != placed; }, 5000));
    EXPECT_EQ(form.BoundsRect(), form.Handle()->geometry());
    EXPECT_GE(windowMoves, 1);
}
