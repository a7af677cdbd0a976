// The editor's bar layout survives a restart: the manager stores it under the editor's
// registry key when the main window goes and restores it when the window is read again.
#include "Application.h"
#include "DialogScript.h"
#include "Registry.h"
#include "TestSupport.h"
#include "WebBrowser.h"
#include "dxBarBar.h"
#include "dxBarItemLink.h"
#include "dxBarExtItems.h"
#include "dxBarRegistry.h"
#include "frmHTML.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

class EditorBarLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterWebClasses();
        dxBarInitialize();
        dxBarRegisterManagerClasses();
        dxBarExtItemsInitialize();  // the form holds extended items
    }
    void SetUp() override
    {
        const QString dir = testsupport::TempDir() + "/editor-bar-layout";
        QDir(dir).removeRecursively();
        TRegistryStore::SetDefaultFileForTesting(dir + "/registry.json");
    }
    void TearDown() override
    {
        delete form;
        TRegistryStore::SetDefaultFileForTesting(QString());
    }
    TfrmMain* Start()
    {
        form = Create<TfrmMain>(Application);
        frmMain = form;
        return form;
    }
    void Stop()
    {
        delete form;
        form = nullptr;
    }
    TdxBar* Bar(const QString& name) { return form->BarManager->BarByName(name); }
    // The link of the item on the bar.
    TdxBarItemLink* Link(const QString& bar, const QString& item)
    {
        TdxBarItemLinks* links = Bar(bar)->ItemLinks();
        for (int i = 0; i < links->Count(); ++i)
            if (links->Items(i)->Item() && links->Items(i)->Item()->Name() == item) return links->Items(i);
        ADD_FAILURE() << item.toStdString() << " is not on " << bar.toStdString();
        return links->Items(0);
    }

    TfrmMain* form = nullptr;
    TDialogScript script;
};

}  // namespace

TEST_F(EditorBarLayoutTest, AMovedFloatedAndHiddenToolbarComeBackSo)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Custom", true));
    reg.WriteString("Custom1", "<hr>");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Help", true));
    reg.WriteInteger("Top", 12);

    Start();
    // Moved: the navigator leaves its dock control for the form's top, second row.
    TdxBar* navigator = Bar("Navigator");
    navigator->SetDockingStyle(dsTop);
    navigator->SetRow(1);
    navigator->SetDockedLeft(40);
    // Floated: the insert bar.
    TdxBar* insertBar = Bar("InsertBar");
    insertBar->SetDockingStyle(dsNone);
    insertBar->SetFloatLeft(300);
    insertBar->SetFloatTop(200);
    insertBar->SetFloatClientWidth(180);
    insertBar->SetFloatClientHeight(50);
    // Hidden: the toolbar, with its Save button taken off.
    Bar("Toolbar")->SetVisible(false);
    Link("Toolbar", "btSave")->SetVisible(false);
    Stop();

    Start();
    navigator = Bar("Navigator");
    EXPECT_EQ(navigator->DockControl(), nullptr);
    EXPECT_EQ(navigator->DockingStyle(), dsTop);
    EXPECT_EQ(navigator->Row(), 1);
    EXPECT_EQ(navigator->DockedLeft(), 40);
    EXPECT_TRUE(navigator->Visible());
    insertBar = Bar("InsertBar");
    EXPECT_EQ(insertBar->DockingStyle(), dsNone);
    EXPECT_EQ(insertBar->FloatLeft(), 300);
    EXPECT_EQ(insertBar->FloatTop(), 200);
    EXPECT_EQ(insertBar->FloatClientWidth(), 180);
    EXPECT_EQ(insertBar->FloatClientHeight(), 50);
    EXPECT_TRUE(insertBar->Visible());
    TdxBar* toolbar = Bar("Toolbar");
    EXPECT_FALSE(toolbar->Visible());
    EXPECT_EQ(toolbar->DockControl(), form->DockControl1);
    EXPECT_FALSE(Link("Toolbar", "btSave")->Visible());
    EXPECT_TRUE(Link("Toolbar", "btNew")->StoredBeginGroup());
    EXPECT_TRUE(Bar("Menu")->Visible());
    EXPECT_EQ(form->BarManager->Bars()->Count(), 5);

    // The editor's own keys beside the toolbar layout are untouched.
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Custom", false));
    EXPECT_EQ(reg.ReadString("Custom1"), "<hr>");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Help", false));
    EXPECT_EQ(reg.ReadInteger("Top"), 12);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvath\\Toolbars", false));
    EXPECT_EQ(reg.ReadInteger("BarCount"), 5);
}
