// The customizing popup of a link: its entries follow the link's state, and each command
// changes that link.
#include "DialogScript.h"
#include "Dialogs.h"
#include "MenuWindowFixture.h"
#include "dxBarStrs.h"
#include "dxBarToolbarsPopup.h"

namespace {

class CustomizingPopupTest : public MenuWindowTest {
protected:
    void SetUp() override
    {
        MenuWindowTest::SetUp();
        for (const char* caption : {"Open", "Save"}) AddButton(caption);
        sub = AddSubItem("File", {"New"});
        DockMenuBar(400);
        manager->Customizing(true);
    }
    void TearDown() override
    {
        if (popup) popup->Close();
        manager->Customizing(false);
        MenuWindowTest::TearDown();
    }
    TdxBarCustomizingPopup* Open(TdxBarItemLink* link)
    {
        TCustomdxBarControl* window = link->BarControl();
        window->RButtonDown(link->ItemRect().center(), {});
        popup = dxBarCustomizingPopup();
        return popup;
    }
    QStringList Rows() const { return MenuRows(popup); }
    void Click(int tag) { ClickRow(popup, tag); }
    TdxBarEdit* NameEdit() const { return qobject_cast<TdxBarEdit*>(popup->ItemLinks()->Items(2)->Item()); }

    TdxBarSubItem* sub = nullptr;
    QPointer<TdxBarCustomizingPopup> popup;
};

}  // namespace

TEST_F(CustomizingPopupTest, ARightPressOpensTheEntriesOfTheLinkUnderIt)
{
    ASSERT_NE(Open(Link(1)), nullptr);
    EXPECT_EQ(popup->ItemLink(), Link(1));
    EXPECT_EQ(Rows(), QStringList({"&Reset", "&Delete", "|&Name:", "|Defa&ult style[x]", "&Text Only (Always)",
                                   "Text &Only (in Menus)", "Image &and Text", "|Begin a &Group"}));
    EXPECT_EQ(NameEdit()->Text(), "Save");

    // The first link cannot begin a group; a sub item has no paint styles.
    popup->Close();
    Link(2)->SetBeginGroup(true);
    Open(Link(0));
    EXPECT_EQ(Rows().last(), "|Begin a &Group-");
    popup->Close();
    Open(Link(2));
    EXPECT_EQ(Rows().mid(3, 5), QStringList({"|Defa&ult style[x]-", "&Text Only (Always)-", "Text &Only (in Menus)-",
                                             "Image &and Text-", "|Begin a &Group[x]"}));

    // Design time adds the visibility, and recent use outside the standard style.
    popup->Close();
    manager->SetDesigningFlag(true);
    Open(Link(1));
    EXPECT_EQ(Rows().mid(8), QStringList({"&Visible[x]", "&Most recently used[x]"}));
    popup->Close();
    manager->SetStyle(bmsStandard);
    Open(Link(1));
    EXPECT_EQ(Rows().size(), 9);
    manager->SetDesigningFlag(false);
}

TEST_F(CustomizingPopupTest, CommandsChangeTheLink)
{
    Open(Link(1));
    Click(TdxBarCustomizingPopup::TextOnlyAlways);
    EXPECT_EQ(Link(1)->UserPaintStyle(), psCaption);
    EXPECT_TRUE(Link(1)->UserDefine().testFlag(udPaintStyle));
    Open(Link(1));
    EXPECT_EQ(Rows()[TdxBarCustomizingPopup::TextOnlyAlways], "&Text Only (Always)[x]");
    Click(TdxBarCustomizingPopup::BeginGroup);
    EXPECT_TRUE(Link(1)->BeginGroup());

    Open(Link(1));
    NameEdit()->SetText("Store");
    EXPECT_EQ(Link(1)->Caption(), "Store");
    popup->Close();
    Open(Link(1));
    EXPECT_EQ(NameEdit()->Text(), "Store");
    Click(TdxBarCustomizingPopup::Reset);
    EXPECT_EQ(Link(1)->UserDefine(), TdxBarUserDefines());
    EXPECT_EQ(Link(1)->Caption(), "Save");

    Open(Link(0));
    Click(TdxBarCustomizingPopup::Delete);
    ASSERT_EQ(bar->ItemLinks()->Count(), 2);
    EXPECT_EQ(Link(0)->Item()->Caption(), "Save");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(CustomizingPopupTest, AnEmptyNameKeepsTheCaptionAndSaysWhy)
{
    TDialogScript script;
    Open(Link(0));
    Link(0)->SetUserCaption("Mine");
    NameEdit()->SetText("");
    EXPECT_EQ(popup, nullptr);
    EXPECT_EQ(Link(0)->Caption(), "Mine");
    ASSERT_EQ(script.Log("MessageBox").size(), 1);
    EXPECT_EQ(script.Log("MessageBox").first().text, dxBarStr(dxSBAR_COMMANDNAMEBLANK));
    EXPECT_EQ(script.Log("MessageBox").first().flags, MB_ICONERROR);

    // A link freed while its popup is open is left alone.
    Open(Link(1));
    delete Link(1);
    Click(TdxBarCustomizingPopup::BeginGroup);
    EXPECT_EQ(bar->ItemLinks()->Count(), 2);
    EXPECT_TRUE(errors.isEmpty());
}
