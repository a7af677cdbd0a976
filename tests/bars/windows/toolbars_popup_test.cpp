// The toolbars popup: the closable toolbars with check marks and "&Customize...", toggling
// bars by their own reference, starting customizing mode; right presses on a dock and on a
// toolbar open it.
#include "MenuWindowFixture.h"
#include "dxBarTempItems.h"
#include "dxBarToolbarsPopup.h"

#include <QTest>

namespace {

// A customizing window that only records being opened and closed.
class TFakeCustomizingForm : public TdxBarCustomizingNotifications {
public:
    bool Exists() const override { return open; }
    void Open(TdxBarManager*) override
    {
        log << "open";
        open = true;
    }
    void Close(TdxBarManager*) override
    {
        log << "close";
        open = false;
    }
    bool open = false;
    QStringList log;
};

}  // namespace

class ToolbarsPopupTest : public MenuWindowTest {
protected:
    void SetUp() override
    {
        MenuWindowTest::SetUp();
        bar->SetCaption("Menu");
        standard = AddBar("Standard");
        format = AddBar("Format");
        AddBar("Fixed")->SetAllowClose(false);
        AddBar("Secret")->SetHidden(true);
        dxBarSetCustomizingForm(&customizingForm);
    }
    void TearDown() override
    {
        delete popup.data();
        dxBarSetCustomizingForm(nullptr);
        MenuWindowTest::TearDown();
    }
    TdxBar* AddBar(const QString& caption)
    {
        TdxBar* b = manager->Bars()->Add();
        b->SetCaption(caption);
        return b;
    }
    TdxBarToolbarsPopup* ShowPopup()
    {
        popup = dxBarShowToolbarsPopup(manager, TPoint(50, 60));
        return popup;
    }
    QStringList Rows() const { return MenuRows(popup); }

    TdxBar* standard = nullptr;
    TdxBar* format = nullptr;
    TFakeCustomizingForm customizingForm;
    QPointer<TdxBarToolbarsPopup> popup;
};

TEST_F(ToolbarsPopupTest, ListsClosableShownToolbarsCheckedWhenVisibleAndTogglesThem)
{
    standard->SetVisible(true);
    manager->SetModified(false);
    ASSERT_NE(ShowPopup(), nullptr);
    EXPECT_EQ(Rows(), (QStringList{"Standard[x]", "Format", "|&Customize..."}));
    EXPECT_EQ(dxBarActiveMenu(), popup.data());
    EXPECT_FALSE(manager->Modified());

    ClickRow(popup, 1);
    EXPECT_TRUE(format->Visible());
    EXPECT_EQ(popup, nullptr);
    ShowPopup();
    EXPECT_EQ(Rows(), (QStringList{"Standard[x]", "Format[x]", "|&Customize..."}));
    ClickRow(popup, 0);
    EXPECT_FALSE(standard->Visible());
    EXPECT_TRUE(format->Visible());

    // The popups' buttons are temporary: building the next popup frees the unused ones.
    ShowPopup();
    EXPECT_EQ(dxBarTempItemCount(), 3);
    popup->Close();
    ShowPopup();
    EXPECT_EQ(dxBarTempItemCount(), 3);
}

TEST_F(ToolbarsPopupTest, AButtonTogglesItsOwnBarEvenAfterTheBarsMoved)
{
    ShowPopup();
    // Standard goes while the popup is open: Format moves to index 1, which the first
    // button's Tag still names.
    delete standard;
    ClickRow(popup, 0);
    EXPECT_FALSE(format->Visible());
    ShowPopup();
    EXPECT_EQ(Rows(), (QStringList{"Format", "|&Customize..."}));
    ClickRow(popup, 0);
    EXPECT_TRUE(format->Visible());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ToolbarsPopupTest, CustomizeStartsCustomizingModeAndIsDisabledWhileTheWindowIsOpen)
{
    ShowPopup();
    ClickRow(popup, 2);
    EXPECT_TRUE(manager->IsCustomizing());
    EXPECT_EQ(customizingForm.log, QStringList{"open"});
    // A second start (of any manager) while the window is open does nothing.
    manager->Customizing(true);
    EXPECT_EQ(customizingForm.log, QStringList{"open"});

    ShowPopup();
    EXPECT_EQ(Rows().last(), "|&Customize...-");
    popup->Close();
    manager->Customizing(false);
    EXPECT_FALSE(manager->IsCustomizing());
    EXPECT_EQ(customizingForm.log, (QStringList{"open", "close"}));
}

TEST_F(ToolbarsPopupTest, WithoutACustomizingWindowNothingOffersToStartCustomizing)
{
    dxBarSetCustomizingForm(nullptr);
    ShowPopup();
    EXPECT_EQ(Rows(), (QStringList{"Standard", "Format"}));
    popup->Close();

    // Nothing closable either: no popup at all, and the mode never began.
    standard->SetAllowClose(false);
    format->SetAllowClose(false);
    EXPECT_EQ(ShowPopup(), nullptr);
    EXPECT_FALSE(manager->IsCustomizing());
}

TEST_F(ToolbarsPopupTest, TheShowEventMayChangeTheListAndAnEmptyListShowsNothing)
{
    class TEdit : public QObject {
    public:
        void Show(TdxBarManager*, TdxBarItemLinks* links) { links->Delete(0); }
    } edit;
    manager->OnShowToolbarsPopup = TdxBarShowPopupEvent(&edit, &TEdit::Show);
    ShowPopup();
    EXPECT_EQ(Rows(), (QStringList{"Format", "|&Customize..."}));
    popup->Close();
    manager->OnShowToolbarsPopup = {};

    // Nothing closable and no customizing: no popup.
    manager->setProperty("CanCustomize", false);
    standard->SetAllowClose(false);
    format->SetHidden(true);
    EXPECT_EQ(ShowPopup(), nullptr);
    EXPECT_EQ(dxBarActiveMenu(), nullptr);
}

TEST_F(ToolbarsPopupTest, RightPressesOnADockAndOnAToolbarOpenIt)
{
    TdxBarControl* toolbar = DockMenuBar(300);
    QWidget* w = form->Handle();
    w->setGeometry(100, 100, 400, 300);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QTest::mousePress(dock->Handle(), Qt::RightButton, {}, QPoint(dock->Width() - 5, 5));
    auto* shown = qobject_cast<TdxBarSubMenuControl*>(dxBarActiveMenu());
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(dynamic_cast<TdxBarToolbarsPopup*>(shown), nullptr);
    shown->Close();

    toolbar->RButtonDown(TPoint(2, 2), {});
    shown = dxBarActiveMenu();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->WindowRect().TopLeft(), toolbar->ClientToScreen(TPoint(2, 2)));
    shown->Close();

    // Not while customizing.
    manager->Customizing(true);
    QTest::mousePress(dock->Handle(), Qt::RightButton, {}, QPoint(dock->Width() - 5, 5));
    toolbar = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    if (toolbar) toolbar->RButtonDown(TPoint(2, 2), {});
    EXPECT_EQ(dxBarActiveMenu(), nullptr);
    manager->Customizing(false);
}
