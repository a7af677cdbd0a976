// The customizing window of the editor under real input: Customise from the Tools menu opens
// it active; while it is open the editor takes no keys and a click on the editor brings the
// window back; after Close the code pane takes the keys again. A command dragged from the
// Commands page lands on a docked toolbar.
#include "EditorWindowFixture.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarCustomizing.h"
#include "dxBarCommandsListBox.h"
#include "dxBarCommandsPage.h"
#include "dxBarCustomizingForm.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarManager.h"
#include "ListBoxes.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QProcess>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <memory>
#include <optional>

using testsupport::WaitFor;

namespace {

constexpr int kWait = 10000;

bool Type(const QString& keys)
{
    return XDoTool({"type", "--delay", "60", keys});
}

// The centre of item's shown link in the bar window of links, on the screen (none while the
// window is not shown or the link not laid out).
std::optional<TPoint> LinkCentre(TdxBarItemLinks* links, TdxBarItem* item)
{
    TCustomdxBarControl* window = links->BarControl();
    if (!window || !window->Visible()) return std::nullopt;
    for (TdxBarItemLink* link : links->VisibleItems())
        if (link->Item() == item && link->Control() && !link->ItemRect().isEmpty())
            return window->ClientToScreen(TPoint(link->ItemRect().center()));
    return std::nullopt;
}

class CustomizeWindowTest : public EditorWindowTest {
protected:
    void SetUp() override
    {
        customizing = std::make_unique<TdxBarCustomizing>();
        ShowFormActive(QStringLiteral("customize window"), kWait);
    }
    void TearDown() override
    {
        delete form;
        form = nullptr;
        customizing.reset();
        EditorWindowTest::TearDown();
    }
    bool WindowActive() const
    {
        return customizing->Window() && QApplication::activeWindow() == customizing->Window()->Handle();
    }
    // Tools, then Customise Toolbars, by mouse: the window opens active.
    testing::AssertionResult OpenFromTheMenu()
    {
        auto* tools = qobject_cast<TdxBarSubItem*>(form->FindComponent("miTools"));
        auto* customise = qobject_cast<TdxBarItem*>(form->FindComponent("btCustomiseTool"));
        if (!tools || !customise) return testing::AssertionFailure() << "no Tools menu";
        const std::optional<TPoint> menu = LinkCentre(form->BarManager->MainMenuBar()->ItemLinks(), tools);
        if (!menu || !ClickAt(*menu)) return testing::AssertionFailure() << "Tools not clicked";
        std::optional<TPoint> entry;
        if (!WaitFor([&] { return (entry = LinkCentre(tools->ItemLinks(), customise)).has_value(); }, kWait))
            return testing::AssertionFailure() << "the Tools menu did not open";
        QTest::qWait(300);  // the opening animation
        if (!ClickAt(*entry)) return testing::AssertionFailure() << "Customise not clicked";
        if (!WaitFor([&] { return WindowActive(); }, kWait)) return testing::AssertionFailure() << "no active window";
        return testing::AssertionSuccess();
    }
    // A real click on the centre of a control of the form or of the window.
    static bool Click(TControl* control)
    {
        QWidget* widget = control->Handle();
        return widget && ClickAt(TPoint(widget->mapToGlobal(widget->rect().center())));
    }

    std::unique_ptr<TdxBarCustomizing> customizing;
};

}  // namespace

TEST_F(CustomizeWindowTest, TheWindowTakesTheInputUntilItClosesAndTheCodePaneHasItBack)
{
    form->mmHTMLCode->SetText("<p>kept</p>");
    const QString text = form->mmHTMLCode->Text();

    ASSERT_TRUE(OpenFromTheMenu());
    EXPECT_TRUE(form->BarManager->IsCustomizing());

    // The code pane: the click brings the window back, and the keys change nothing.
    form->Handle()->activateWindow();
    ASSERT_TRUE(Click(form->mmHTMLCode));
    EXPECT_TRUE(WaitFor([&] { return WindowActive(); }, kWait));
    ASSERT_TRUE(Type("xyz"));
    QTest::qWait(300);
    EXPECT_EQ(form->mmHTMLCode->Text(), text);

    // Close: the editor is back, its code pane focused and taking the keys.
    ASSERT_TRUE(Click(customizing->Window()->BClose));
    ASSERT_TRUE(WaitFor([&] { return !customizing->Exists(); }, kWait));
    EXPECT_FALSE(form->BarManager->IsCustomizing());
    EXPECT_TRUE(WaitFor([&] { return QApplication::activeWindow() == form->Handle() && CodeHasFocus(); }, kWait));
    ASSERT_TRUE(Type("q"));
    EXPECT_TRUE(
        WaitFor([&] { return form->mmHTMLCode->Text() != text && form->mmHTMLCode->Text().contains('q'); }, kWait));
}

TEST_F(CustomizeWindowTest, ACommandDraggedFromTheCommandsPageLandsOnTheDockedToolbar)
{
    TdxBarManager* manager = form->BarManager;
    TdxBar* toolbar = manager->BarByCaption("Toolbar");
    auto* refresh = qobject_cast<TdxBarItem*>(form->FindComponent("btRefresh"));
    ASSERT_TRUE(toolbar && refresh);
    auto linksOfRefresh = [&] {
        int count = 0;
        for (int i = 0; i < toolbar->ItemLinks()->Count(); ++i)
            count += toolbar->ItemLinks()->Items(i)->Item() == refresh;
        return count;
    };
    ASSERT_EQ(linksOfRefresh(), 0);
    ASSERT_TRUE(OpenFromTheMenu());
    TdxBarCustomizingForm* window = customizing->Window();

    // The Commands tab, then the Navigator category, by mouse.
    QTabBar* tabs = window->PageControl->TabWidget()->tabBar();
    ASSERT_TRUE(ClickAt(tabs->mapToGlobal(tabs->tabRect(1).center())));
    ASSERT_TRUE(WaitFor([&] { return window->PageControl->ActivePage() == window->TabSheet2; }, kWait));
    TListBox* categories = window->LCategories;
    QWidget* categoryLines = categories->ListWidget()->viewport();
    const int navigator = categories->Items()->IndexOf("Navigator");
    ASSERT_GE(navigator, 0);
    ASSERT_TRUE(ClickAt(categoryLines->mapToGlobal(categories->ItemRect(navigator).center())));
    TCommandsListBox* commands = nullptr;
    for (const auto& page : window->Pages())
        if (auto* p = dynamic_cast<TdxBarCommandsPage*>(page.get())) commands = p->CommandsList();
    ASSERT_NE(commands, nullptr);
    int line = -1;
    ASSERT_TRUE(WaitFor([&] { return (line = commands->IndexOfItem(refresh)) >= 0; }, kWait));
    const QPoint from = commands->ListWidget()->viewport()->mapToGlobal(commands->ItemRect(line).center());

    // Onto the right half of the toolbar's last link that the window leaves free.
    std::optional<TPoint> to;
    const QRect windowRect = window->Handle()->frameGeometry();
    for (TdxBarItemLink* link : toolbar->ItemLinks()->VisibleItems()) {
        const std::optional<TPoint> centre = LinkCentre(toolbar->ItemLinks(), link->Item());
        if (!centre) continue;
        const TPoint right = *centre + TPoint(link->ItemRect().width() / 4, 0);
        if (!windowRect.contains(right)) to = right;
    }
    ASSERT_TRUE(to.has_value());
    auto arg = [](int v) { return QString::number(v); };
    ASSERT_TRUE(QProcess::startDetached("xdotool", {"mousemove",
                                                    "--sync",
                                                    arg(from.x()),
                                                    arg(from.y()),
                                                    "mousedown",
                                                    "1",
                                                    "sleep",
                                                    "0.3",
                                                    "mousemove",
                                                    arg(from.x() + 10),
                                                    arg(from.y()),
                                                    "sleep",
                                                    "0.3",
                                                    "mousemove",
                                                    arg((from.x() + to->x()) / 2),
                                                    arg((from.y() + to->y()) / 2),
                                                    "sleep",
                                                    "0.3",
                                                    "mousemove",
                                                    arg(to->x()),
                                                    arg(to->y()),
                                                    "sleep",
                                                    "0.5",
                                                    "mouseup",
                                                    "1"}));
    EXPECT_TRUE(WaitFor([&] { return linksOfRefresh() == 1; }, kWait));
    EXPECT_TRUE(WaitFor([&] { return !manager->Dragging(); }, kWait));
    EXPECT_EQ(window->DescriptionLabel->Caption(), refresh->Description());
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
}
