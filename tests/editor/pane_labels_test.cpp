// The pane labels "Code:" and "Browser:" on the editor's bars: each leads its pane's bar and
// follows it when the bar is hidden, shown, floated and docked; a layout stored before the
// labels were on the bars still loads.
#include "CommandsFixture.h"
#include "Desktop.h"
#include "Registry.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarControlContainer.h"
#include "dxBarDockControls.h"
#include "dxBarDrag.h"
#include "dxBarItemLink.h"

#include <QPointer>

namespace {

class PaneLabelsTest : public BarWindowsCommandsTest {
protected:
    void SetUp() override
    {
        BarWindowsCommandsTest::SetUp();
        TdxBarManager* m = form->BarManager;
        m->SetUseSystemFont(false);
        m->Font()->SetName("DejaVu Sans");
        m->Font()->SetHeight(-11);
    }
    void TearDown() override
    {
        drag.reset();
        SetMonitorsFunction({});
        SetCursorPosFunction({});
        BarWindowsCommandsTest::TearDown();
    }

    TdxBar* Bar(const QString& name) const { return form->BarManager->BarByName(name); }
    TdxBarControl* WindowOf(const QString& bar) const
    {
        return qobject_cast<TdxBarControl*>(Bar(bar)->ItemLinks()->BarControl());
    }
    TdxBarControlContainerItem* Container(const QString& name) const
    {
        return qobject_cast<TdxBarControlContainerItem*>(form->FindComponent(name));
    }
    // The label stands in its bar's window at its link, as wide as the link, and shows.
    void ExpectPlaced(const QString& bar, const QString& item, TControl* label, const char* step)
    {
        SCOPED_TRACE(step);
        TdxBarControl* window = WindowOf(bar);
        TdxBarControlContainerItem* container = Container(item);
        ASSERT_TRUE(window && container);
        TdxBarItemLink* link = container->LinkList().value(0);
        ASSERT_TRUE(link && link->Links() == Bar(bar)->ItemLinks());
        const QRect rect = link->ItemRect();
        ASSERT_FALSE(rect.isEmpty());
        EXPECT_EQ(rect.width(), label->Width());
        EXPECT_EQ(container->Host()->ParentWindow(), window->Handle());
        const TRect frame = window->ClientBounds();
        EXPECT_EQ(container->Host()->BoundsRect(), rect.translated(frame.Left, frame.Top));
        EXPECT_EQ(label->Parent(), container->Host());
        ASSERT_NE(label->Handle(), nullptr);
        EXPECT_TRUE(label->Handle()->isVisible());
        // Before the bar's first button.
        EXPECT_LE(rect.right(), Bar(bar)->ItemLinks()->Items(1)->ItemRect().left());
    }
    // A drag of the toolbar's window from its grip to a screen point, dropped there.
    void DragTo(TdxBarControl* window, const TPoint& to)
    {
        cursor = window->WindowRect().TopLeft() + TPoint(4, window->Height() / 2);
        window->SetGrab(cursor - window->WindowRect().TopLeft(), window->Width(), window->Height());
        drag = std::make_unique<TdxBarDrag>(*library, window, cursor);
        cursor = to;  // where the docking wait finds the pointer
        drag->Move(to);
        drag->DockingWaitElapsed();  // a floating bar docks after the wait
        drag->Drop();
        drag.reset();
    }

    TPoint cursor;
    std::unique_ptr<TdxBarDrag> drag;
};

}  // namespace

TEST_F(PaneLabelsTest, EachLabelLeadsItsPanesBarAtItsLink)
{
    ExpectPlaced("Toolbar", "ContainLab1", form->txCode, "code");
    ExpectPlaced("Navigator", "ContainLab2", form->txBrowser, "browser");
    EXPECT_EQ(form->txCode->Caption(), "Code:    ");
    EXPECT_EQ(form->txBrowser->Caption(), "Browser:");
}

TEST_F(PaneLabelsTest, TheCodeLabelLivesThroughHidingShowingFloatingAndDocking)
{
    SetMonitorsFunction([] { return std::vector<TMonitorInfo>{{{0, 0, 1280, 1024}, {0, 0, 1280, 1000}}}; });
    SetCursorPosFunction([this] { return cursor; });
    QPointer<QWidget> label = form->txCode->Handle();
    QWidget* host = Container("ContainLab1")->Host()->Handle();
    TdxBar* toolbar = Bar("Toolbar");
    const TPoint belowForm = form->Handle()->mapToGlobal(QPoint(200, form->Height() + 150));
    // Above the form's own top dock: a floating bar docks there.
    const TPoint inTopDock = form->Handle()->mapToGlobal(QPoint(form->Width() / 2, 2));
    TdxDockControl* const topDock = nullptr;  // the form's built-in one
    const struct {
        const char* step;
        std::function<void()> act;
        bool shown;
        TdxBarDockingStyle style;
        TdxDockControl* dock;
    } steps[] = {
        {"hidden by Code Bar", [&] { Click("btCodeTB"); }, false, dsTop, form->DockControl1},
        {"shown by Code Bar", [&] { Click("btCodeTB"); }, true, dsTop, form->DockControl1},
        {"floated by a drag", [&] { DragTo(WindowOf("Toolbar"), belowForm); }, true, dsNone, nullptr},
        {"docked back by a double click", [&] { WindowOf("Toolbar")->ToggleDocking(); }, true, dsTop,
         form->DockControl1},
        {"floated by a double click", [&] { WindowOf("Toolbar")->ToggleDocking(); }, true, dsNone, nullptr},
        {"hidden while floating", [&] { Click("btCodeTB"); }, false, dsNone, nullptr},
        {"shown floating", [&] { Click("btCodeTB"); }, true, dsNone, nullptr},
        {"docked by a drag", [&] { DragTo(WindowOf("Toolbar"), inTopDock); }, true, dsTop, topDock},
    };
    for (const auto& s : steps) {
        s.act();
        ASSERT_EQ(label.data(), form->txCode->Handle()) << s.step;
        ASSERT_EQ(toolbar->Visible(), s.shown) << s.step;
        EXPECT_EQ(toolbar->DockingStyle(), s.style) << s.step;
        EXPECT_EQ(toolbar->DockControl(), s.dock) << s.step;
        if (s.shown) {
            if (s.style == dsNone) WindowOf("Toolbar")->Show();
            ExpectPlaced("Toolbar", "ContainLab1", form->txCode, s.step);
        } else {
            // Parked hidden under the form, never a window of its own.
            EXPECT_FALSE(host->isVisible()) << s.step;
            EXPECT_EQ(host->parentWidget(), form->Handle()) << s.step;
        }
    }
    for (int i = 0; i < 100; ++i) Click("btCodeTB");
    ExpectPlaced("Toolbar", "ContainLab1", form->txCode, "after a hundred hides and shows");
    EXPECT_TRUE(CloseWindow());
}

TEST_F(PaneLabelsTest, ALayoutStoredWithoutTheLabelsLoadsAndShowsNoLabelsUntilItGoes)
{
    // A layout as an earlier build stored it: the bars without the label links.
    for (const char* bar : {"Toolbar", "Navigator"}) delete Bar(bar)->ItemLinks()->Items(0);
    ASSERT_TRUE(CloseWindow());

    Start();
    for (const char* bar : {"Toolbar", "Navigator"}) {
        TdxBarItemLinks* links = Bar(bar)->ItemLinks();
        ASSERT_GT(links->Count(), 0) << bar;
        EXPECT_FALSE(qobject_cast<TdxBarControlContainerItem*>(links->Items(0)->Item())) << bar;
    }
    for (const char* item : {"ContainLab1", "ContainLab2"}) {
        TdxBarControlContainerItem* container = Container(item);
        ASSERT_NE(container, nullptr) << item;
        EXPECT_EQ(container->LinkCount(), 0) << item;
        EXPECT_NE(container->Control(), nullptr) << item;
        EXPECT_FALSE(container->Host()->Visible()) << item;
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
    EXPECT_TRUE(CloseWindow());

    TRegistry registry;
    ASSERT_TRUE(registry.DeleteKey("\\Software\\Morvath\\Toolbars"));
    Start();
    ExpectPlaced("Toolbar", "ContainLab1", form->txCode, "without a stored layout");
    ExpectPlaced("Navigator", "ContainLab2", form->txBrowser, "without a stored layout");
}

TEST_F(PaneLabelsTest, TheCodeLabelBelongsToItsContainerAndResizesItsBarOnlyWhenItsSizeChanges)
{
    TdxBarManager* m = form->BarManager;
    TdxBarControlContainerItem* code = Container("ContainLab1");
    TdxBarControlContainerItem* browser = Container("ContainLab2");
    TdxBarItemLink* link = code->LinkList().value(0);
    ASSERT_TRUE(code && browser && link);

    // Another container may not take it: the browser's keeps its own and the code label
    // stays where it is.
    try {
        browser->SetControl(form->txCode);
        ADD_FAILURE() << "the browser's container took the code label";
    } catch (const Exception& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  "You cannot assign the same control to more than one TdxBarControlContainerItem.");
    }
    EXPECT_EQ(browser->Control(), form->txBrowser);
    EXPECT_EQ(code->Control(), form->txCode);
    ExpectPlaced("Toolbar", "ContainLab1", form->txCode, "after the refusal");

    // The bar follows the label's width, and re-lays out only when it changes (a layout
    // makes the link's control anew).
    const QString caption = form->txCode->Caption();
    const struct {
        const char* change;
        std::function<void()> act;
        bool relaid;
    } cases[] = {
        {"a longer caption", [&] { form->txCode->SetCaption("Code (changed):"); }, true},
        {"the same caption again", [&] { form->txCode->SetCaption("Code (changed):"); }, false},
        {"a move", [&] { form->txCode->SetTop(form->txCode->Top() + 2); }, false},
        {"the caption back", [&] { form->txCode->SetCaption(caption); }, true},
    };
    for (const auto& c : cases) {
        QPointer<TdxBarItemControl> before = link->Control();
        c.act();
        EXPECT_EQ(before.isNull(), c.relaid) << c.change;
        ExpectPlaced("Toolbar", "ContainLab1", form->txCode, c.change);
    }

    // Never offered among the commands at run time.
    for (TdxBarControlContainerItem* item : {code, browser}) {
        QList<TdxBarItem*> listed;
        m->GetItemsByCategory(item->Category(), listed);
        EXPECT_FALSE(listed.contains(item)) << item->Name().toStdString();
    }
}
