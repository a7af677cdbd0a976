// The editor's bars and commands as its form resource builds them, and the two preview
// commands driven through their bar items.
#include "Application.h"
#include "DialogScript.h"
#include "TestSupport.h"
#include "WebBrowser.h"
#include "ImgList.h"
#include "dxBarBar.h"
#include "dxBarCategories.h"
#include "dxBarControl.h"
#include "dxBarControlContainer.h"
#include "dxBarItemLink.h"
#include "dxBarExtItems.h"
#include "dxBarRegistry.h"
#include "dxBarWindowsLibrary.h"
#include "frmHTML.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QWebEnginePage>
#include <optional>

using testsupport::WaitFor;

namespace {
constexpr int kWaitMs = 30000;
enum { catDefault, catAction, catMenu, catNavigator, catInsert, catCustom };

class EditorBarsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterWebClasses();
        dxBarInitialize();
        dxBarRegisterManagerClasses();
        dxBarExtItemsInitialize();  // the form holds extended items
    }

    void TearDown() override { delete form; }

    void Start()
    {
        form = Create<TfrmMain>(Application);
        frmMain = form;
        form->Show();
    }

    TdxBarItem* Item(const QString& name)
    {
        auto* item = qobject_cast<TdxBarItem*>(form->FindComponent(name));
        EXPECT_NE(item, nullptr) << name.toStdString();
        return item;
    }
    TdxBarButton* Button(const QString& name) { return qobject_cast<TdxBarButton*>(Item(name)); }

    QString BodyText()
    {
        std::optional<QVariant> result;
        form->WebBrowser->Page()->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                                                [&](const QVariant& v) { result = v; });
        EXPECT_TRUE(WaitFor([&] { return result.has_value(); }, kWaitMs));
        return result.value_or(QVariant()).toString();
    }
    bool WaitForBody(const QString& text)
    {
        return WaitFor([&] { return BodyText().contains(text); }, kWaitMs);
    }

    TfrmMain* form = nullptr;
    TDialogScript script;
};

TEST_F(EditorBarsTest, TheFormResourceBuildsTheManagerItsBarsAndCategories)
{
    Start();
    TdxBarManager* m = form->BarManager;
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Style(), bmsFlat);
    EXPECT_FALSE(m->AllowReset());
    EXPECT_TRUE(m->StoreInRegistry());
    EXPECT_EQ(m->RegistryPath(), "\\Software\\Morvath\\Toolbars");
    EXPECT_TRUE(m->UseSystemFont());
    ASSERT_NE(m->Images(), nullptr);
    EXPECT_EQ(m->Images()->Name(), "ImageList");
    // Every button on a toolbar shows a glyph of its own from the image list.
    QSet<int> glyphs;
    for (int b = 1; b < m->Bars()->Count(); ++b) {
        TdxBarItemLinks* links = m->Bars()->Items(b)->ItemLinks();
        for (int i = 0; i < links->Count(); ++i) {
            auto* button = qobject_cast<TdxBarButton*>(links->Items(i)->Item());
            if (!button) continue;
            const int index = button->ImageIndex();
            EXPECT_TRUE(index >= 0 && index < m->Images()->Count()) << button->Name().toStdString();
            EXPECT_FALSE(glyphs.contains(index)) << button->Name().toStdString();
            glyphs.insert(index);
            EXPECT_EQ(m->Images()->Image(index).size(), QSize(16, 16));
        }
    }
    EXPECT_EQ(glyphs.size(), 5 + 7 + 14);

    EXPECT_EQ(m->Categories()->ToStringList(),
              QStringList({"Default", "Action", "Menu", "Navigator", "Insert", "Custom"}));
    for (int i = 0; i < m->CategoryCount(); ++i) {
        EXPECT_TRUE(m->GetCategoryVisible(i)) << i;
        EXPECT_EQ(m->GetCategoryItemsVisible(i), ivAlways) << i;
    }

    struct BarRow {
        const char* name;
        int links;
    };
    const BarRow rows[] = {{"Menu", 6}, {"Toolbar", 6}, {"ControlBar", 1}, {"Navigator", 8}, {"InsertBar", 14}};
    ASSERT_EQ(m->Bars()->Count(), 5);
    for (int i = 0; i < 5; ++i) {
        TdxBar* bar = m->Bars()->Items(i);
        EXPECT_EQ(bar->Name(), rows[i].name);
        EXPECT_EQ(bar->Caption(), rows[i].name);
        EXPECT_EQ(bar->ItemLinks()->Count(), rows[i].links) << rows[i].name;
        EXPECT_TRUE(bar->Visible()) << rows[i].name;
    }
    TdxBar* menu = m->Bars()->Items(0);
    EXPECT_TRUE(menu->IsMainMenu());
    EXPECT_EQ(m->MainMenuBar(), menu);
    EXPECT_FALSE(menu->AllowClose());
    EXPECT_EQ(menu->BorderStyle(), bbsNone);
    EXPECT_EQ(menu->ItemLinks()->Items(3)->Item(), Item("miInsert"));
    EXPECT_EQ(m->Bars()->Items(1)->DockControl(), form->DockControl1);
    EXPECT_EQ(m->Bars()->Items(3)->DockControl(), form->DockControl2);
    EXPECT_EQ(form->DockControl1->BarManager(), m);
    EXPECT_EQ(form->DockControl1->Parent(), form->Panel1);
    EXPECT_EQ(form->DockControl2->Parent(), form->Panel4);
    TdxBar* controlBar = m->Bars()->Items(2);
    EXPECT_EQ(controlBar->DockingStyle(), dsBottom);
    EXPECT_TRUE(controlBar->WholeRow());
    TdxBarItemLink* pathLink = controlBar->ItemLinks()->Items(0);
    EXPECT_EQ(pathLink->Item(), form->edPathEdit);
    EXPECT_EQ(pathLink->UserWidth(), 357);
    EXPECT_EQ(form->edPathEdit->Width(), 100);
    EXPECT_EQ(form->edPathEdit->Category(), catAction);
    TdxBar* insertBar = m->Bars()->Items(4);
    EXPECT_EQ(insertBar->DockingStyle(), dsLeft);
    EXPECT_FALSE(insertBar->RotateWhenVertical());
    EXPECT_TRUE(insertBar->ItemLinks()->Items(2)->BeginGroup());  // "| btLineBreak"
    EXPECT_FALSE(insertBar->ItemLinks()->Items(1)->BeginGroup());

    // 41 commands, the path bar, 46 inserts, 6 custom commands, 18 menus and the two pane labels.
    EXPECT_EQ(m->ItemCount(), 114);
    auto* insertMenu = qobject_cast<TdxBarSubItem*>(Item("miInsert"));
    ASSERT_NE(insertMenu, nullptr);
    EXPECT_EQ(insertMenu->ItemLinks()->Count(), 10);
    EXPECT_EQ(insertMenu->Category(), catInsert);
    auto* headTags = qobject_cast<TdxBarSubItem*>(Item("btHeadTags"));
    ASSERT_NE(headTags, nullptr);
    EXPECT_EQ(headTags->ItemLinks()->Count(), 9);
    EXPECT_EQ(Item("miCustom")->Category(), catCustom);
    // Each pane's label leads its pane's bar, before the group of the bar's first button.
    const struct {
        const char* bar;
        const char* item;
        TControl* label;
        const char* firstButton;
    } labels[] = {{"Toolbar", "ContainLab1", form->txCode, "btNew"},
                  {"Navigator", "ContainLab2", form->txBrowser, "btBack"}};
    for (const auto& l : labels) {
        TdxBarItemLinks* links = m->BarByName(l.bar)->ItemLinks();
        auto* container = qobject_cast<TdxBarControlContainerItem*>(links->Items(0)->Item());
        ASSERT_NE(container, nullptr) << l.bar;
        EXPECT_EQ(container->Name(), l.item);
        EXPECT_EQ(container->Control(), l.label) << l.item;
        EXPECT_EQ(links->Items(1)->Item(), Item(l.firstButton)) << l.bar;
        EXPECT_TRUE(links->Items(1)->BeginGroup()) << l.bar;
    }
}

TEST_F(EditorBarsTest, CommandsCarryTheirCaptionsHintsShortcutsAndCategories)
{
    Start();
    struct Row {
        const char* name;
        const char* caption;
        const char* hint;
        int category;
        TShortCut shortCut;
    };
    const Row rows[] = {
        {"btOpen", "&Open...", "Open", catMenu, ShortCut('O', ssCtrl)},
        {"btSaveAs", "Save &As...", "Save As", catMenu, 0},
        {"btVisitWeb", "VESK Website...", "VESK Website", catMenu, 0},
        {"btSwap", "&Swap Layout", "Swap Layout", catAction, 0},
        {"btRefresh", "&Refresh", "Refresh", catNavigator, ShortCut(VK_F5, {})},
        {"btFindNext", "Find Next", "Find Next", catMenu, ShortCut(VK_F3, {})},
        {"btTableTemp", "&Table Template", "Table Template", catInsert, ShortCut('T', ssCtrl)},
        {"btCSSLink", "Sty&le Sheet (Link)", "Style Sheet (Link)", catInsert, 0},
        {"btCustom3", "Custom &3", "Custom 3", catCustom, 0},
    };
    for (const Row& r : rows) {
        TdxBarItem* item = Item(r.name);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Caption(), r.caption) << r.name;
        EXPECT_EQ(item->Hint(), r.hint) << r.name;
        EXPECT_EQ(item->Category(), r.category) << r.name;
        EXPECT_EQ(item->ShortCut(), r.shortCut) << r.name;
    }
    // Two shortcuts are given twice.
    EXPECT_EQ(Item("btNew")->ShortCut(), ShortCut('N', ssCtrl));
    EXPECT_EQ(Item("btS_NBSpace")->ShortCut(), ShortCut('N', ssCtrl));
    EXPECT_EQ(Item("btPrint")->ShortCut(), ShortCut('P', ssCtrl));
    EXPECT_EQ(Item("btImage")->ShortCut(), ShortCut('P', ssCtrl));
    // Redo: disabled, with Ctrl+Shift+Z from the create handler.
    EXPECT_EQ(form->btRedo->ShortCut(), 0x605A);
    EXPECT_FALSE(form->btRedo->Enabled());

    for (const char* name : {"btDynamic", "btCode", "btBrowser", "btWordWrap", "btPathTB", "btCodeTB", "btNavigationTB",
                             "btViewInsertBar"}) {
        TdxBarButton* toggle = Button(name);
        ASSERT_NE(toggle, nullptr);
        EXPECT_EQ(toggle->ButtonStyle(), bsChecked) << name;
        EXPECT_TRUE(toggle->Down()) << name;
    }
    EXPECT_EQ(Button("btSave")->ButtonStyle(), bsDefault);
    EXPECT_EQ(form->btView->OnClick().MethodName(), "btViewClick");
    EXPECT_EQ(form->btDynamic->OnClick().MethodName(), "btDynamicClick");
    EXPECT_EQ(Button("btSave")->OnClick().MethodName(), "btSaveClick");
}

TEST_F(EditorBarsTest, DynamicAndViewCodeWorkThroughTheirItems)
{
    Start();
    ASSERT_TRUE(WaitForBody("HTML"));
    form->mmHTMLCode->SetText("<p>first</p>");
    ASSERT_TRUE(WaitForBody("first"));

    form->btDynamic->DirectClick();
    EXPECT_FALSE(form->btDynamic->Down());
    EXPECT_FALSE(form->DynamicDown());
    form->mmHTMLCode->SetText("<p>second</p>");
    EXPECT_FALSE(form->Unchanged);
    // View Code re-renders on demand; the preview kept the first text until then.
    EXPECT_TRUE(BodyText().contains("first"));
    form->btView->DirectClick();
    EXPECT_TRUE(WaitForBody("second"));

    form->btDynamic->DirectClick();
    EXPECT_TRUE(form->DynamicDown());
    form->mmHTMLCode->SetText("<p>third</p>");
    EXPECT_TRUE(WaitForBody("third"));

    EXPECT_TRUE(script.Log("MessageBox").isEmpty());
}

TEST_F(EditorBarsTest, BackAndForwardFollowTheBrowserHistory)
{
    Start();
    ASSERT_TRUE(WaitForBody("HTML"));
    ASSERT_TRUE(WaitFor([&] { return !form->WebBrowser->Busy(); }, kWaitMs));
    EXPECT_FALSE(form->btForward->Enabled());
    form->WebBrowser->Navigate("about:<p>second page</p>");
    ASSERT_TRUE(WaitForBody("second page"));
    EXPECT_TRUE(WaitFor([&] { return form->btBack->Enabled(); }, kWaitMs));
    EXPECT_FALSE(form->btForward->Enabled());
    form->WebBrowser->GoBack();
    EXPECT_TRUE(WaitFor([&] { return form->btForward->Enabled(); }, kWaitMs));
    // Other commands change nothing.
    form->WebBrowserCommandStateChange(form, 5, false);
    EXPECT_TRUE(form->btForward->Enabled());
}

TEST_F(EditorBarsTest, ANarrowWindowCutsTheNavigatorAtItsDockWithTheMarkToItsHiddenButtons)
{
    TdxBarWindowsLibrary bars;
    Start();
    TdxBar* navigator = form->BarManager->BarByName("Navigator");
    // At 330 px the navigator's dock is narrower than its grip, first button and mark.
    for (int width : {400, 330, 634}) {
        SCOPED_TRACE(width);
        form->SetWidth(width);
        auto* window = qobject_cast<TdxBarControl*>(navigator->ItemLinks()->BarControl());
        ASSERT_NE(window, nullptr);
        EXPECT_LE(window->BoundsRect().Right, form->DockControl2->ClientWidth());
        // Each button shows whole before the mark or waits behind it, and then the mark shows.
        const QRect client = window->ClientRect().ToQRect();
        const TRect mark = window->GetMarkRect();
        int hidden = 0;
        for (TdxBarItemLink* link : navigator->ItemLinks()->CanVisibleItems()) {
            const QRect r = link->ItemRect();
            if (r.isEmpty()) {
                ++hidden;
                continue;
            }
            EXPECT_TRUE(client.contains(r)) << link->Item()->Name().toStdString();
            if (!mark.IsEmpty()) {
                EXPECT_LE(r.right(), mark.Left - 1) << link->Item()->Name().toStdString();
            }
        }
        EXPECT_EQ(window->Truncated(), hidden > 0);
        EXPECT_EQ(!mark.IsEmpty() && mark.Right <= client.width(), hidden > 0);
    }
    delete form;  // before the bar windows' library goes
    form = nullptr;
}

}  // namespace
