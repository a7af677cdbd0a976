// The customizing window of the editor under real input: Customise from the Tools menu opens
// it active; while it is open the editor takes no keys and a click on the editor brings the
// window back; after Close the code pane takes the keys again.
#include "EditorWindowFixture.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarCustomizing.h"
#include "dxBarCustomizingForm.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"

#include <gtest/gtest.h>

#include <QApplication>
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
    auto* tools = qobject_cast<TdxBarSubItem*>(form->FindComponent("miTools"));
    auto* customise = qobject_cast<TdxBarItem*>(form->FindComponent("btCustomiseTool"));
    ASSERT_TRUE(tools && customise);
    form->mmHTMLCode->SetText("<p>kept</p>");
    const QString text = form->mmHTMLCode->Text();

    // Tools, then Customise Toolbars, by mouse.
    const std::optional<TPoint> menu = LinkCentre(form->BarManager->MainMenuBar()->ItemLinks(), tools);
    ASSERT_TRUE(menu);
    ASSERT_TRUE(ClickAt(*menu));
    std::optional<TPoint> entry;
    ASSERT_TRUE(WaitFor([&] { return (entry = LinkCentre(tools->ItemLinks(), customise)).has_value(); }, kWait));
    QTest::qWait(300);  // the opening animation
    ASSERT_TRUE(ClickAt(*entry));
    ASSERT_TRUE(WaitFor([&] { return WindowActive(); }, kWait));
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
    EXPECT_TRUE(WaitFor([&] { return form->mmHTMLCode->Text() != text && form->mmHTMLCode->Text().contains('q'); },
                        kWait));
}
