// The help viewer's window under real input: "&Customize..." at the end of its toolbars
// popup (a right click on a toolbar) opens its customizing window, active.
#include "Application.h"
#include "DialogScript.h"
#include "RealInput.h"
#include "RegistryStore.h"
#include "TestSupport.h"
#include "WebBrowser.h"
#include "WebSchemes.h"
#include "dxBarBar.h"
#include "dxBarCustomControl.h"
#include "dxBarCustomizing.h"
#include "dxBarCustomizingForm.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarRegistry.h"
#include "dxBarWindowsLibrary.h"
#include "frm_HelpMain.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <memory>
#include <optional>

using testsupport::WaitFor;

namespace {

constexpr int kWait = 10000;

// The centre on the screen of the shown link of window whose item's caption is caption.
std::optional<TPoint> LinkCentre(TCustomdxBarControl* window, const QString& caption)
{
    if (!window || !window->Visible()) return std::nullopt;
    for (TdxBarItemLink* link : window->ItemLinks()->VisibleItems())
        if (link->Item() && link->Item()->Caption() == caption && link->Control() && !link->ItemRect().isEmpty())
            return window->ClientToScreen(TPoint(link->ItemRect().center()));
    return std::nullopt;
}

class HelpCustomizeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterWebClasses();
        dxBarInitialize();
        dxBarRegisterManagerClasses();
        SetProgramResourcePrefix(QStringLiteral(":/help"));
    }
    void SetUp() override
    {
        const QString dir = testsupport::TempDir() + QStringLiteral("/help customize");
        QDir().mkpath(dir);
        TRegistryStore::SetDefaultFileForTesting(dir + QStringLiteral("/registry.json"));
        library = std::make_unique<TdxBarWindowsLibrary>();
        customizing = std::make_unique<TdxBarCustomizing>();
        form = Create<TfrmHelpMain>(Application);
        form->Show();
        form->Handle()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    }
    void TearDown() override
    {
        delete form;
        form = nullptr;
        customizing.reset();
        library.reset();
        TRegistryStore::SetDefaultFileForTesting(QString());
    }

    TfrmHelpMain* form = nullptr;
    std::unique_ptr<TdxBarWindowsLibrary> library;
    std::unique_ptr<TdxBarCustomizing> customizing;
    TDialogScript script;
};

}  // namespace

TEST_F(HelpCustomizeTest, CustomizeInTheToolbarsPopupOpensTheWindowActive)
{
    // The toolbar of the Back button, right-clicked on that button.
    TdxBar* toolbar = nullptr;
    for (int i = 0; i < form->BarManager->Bars()->Count(); ++i) {
        TdxBar* bar = form->BarManager->Bars()->Items(i);
        if (!bar->IsMainMenu() && LinkCentre(bar->ItemLinks()->BarControl(), form->btBack->Caption())) toolbar = bar;
    }
    ASSERT_NE(toolbar, nullptr);
    const std::optional<TPoint> back = LinkCentre(toolbar->ItemLinks()->BarControl(), form->btBack->Caption());
    ASSERT_TRUE(back);
    ASSERT_TRUE(XDoTool({"mousemove", "--sync", QString::number(back->x()), QString::number(back->y()), "click", "3"}));

    // "&Customize..." ends the popup.
    std::optional<TPoint> entry;
    ASSERT_TRUE(
        WaitFor([&] { return (entry = LinkCentre(dxBarActiveBarControl(), "&Customize...")).has_value(); }, kWait));
    QTest::qWait(300);  // the opening animation
    ASSERT_TRUE(ClickAt(*entry));
    EXPECT_TRUE(WaitFor(
        [&] { return customizing->Window() && QApplication::activeWindow() == customizing->Window()->Handle(); },
        kWait));
    EXPECT_TRUE(form->BarManager->IsCustomizing());
    EXPECT_FALSE(form->Handle()->isEnabled());
    form->BarManager->Customizing(false);
}
