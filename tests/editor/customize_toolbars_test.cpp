// The customizing window's Toolbars page over the editor's bars: the listed bars and the
// selection, the buttons' enabling, the check column, New, Rename, Delete and Reset.
#include "CommandsFixture.h"
#include "Desktop.h"
#include "dxBarBar.h"
#include "dxBarCheckListBox.h"
#include "dxBarCustomizing.h"
#include "dxBarCustomizingForm.h"
#include "dxBarItemLink.h"
#include "dxBarNameEd.h"
#include "dxBarToolbarsPage.h"

#include <QListWidget>
#include <QMouseEvent>
#include <functional>

class CustomizeToolbarsTest : public BarWindowsCommandsTest {
protected:
    void SetUp() override
    {
        BarWindowsCommandsTest::SetUp();
        SetMonitorsFunction([] {
            return std::vector<TMonitorInfo>{{TRect(0, 0, 1280, 1024), TRect(0, 0, 1280, 1000)}};
        });
        customizing = std::make_unique<TdxBarCustomizing>();
    }
    void TearDown() override
    {
        customizing.reset();
        SetMonitorsFunction({});
        BarWindowsCommandsTest::TearDown();
    }
    // Opens the window through the menu's Customise.
    TdxBarCustomizingForm* Open()
    {
        Click("btCustomise");
        window = customizing->Window();
        EXPECT_NE(window, nullptr);
        return window;
    }
    TCheckListBox* List() const { return window->BarsListBox; }
    QStringList Lines() const { return List()->Items()->ToStringList(); }
    QString Selected() const
    {
        const int i = List()->ItemIndex();
        return i >= 0 ? List()->Items()->Strings(i) : QString();
    }
    TdxBar* Bar(const QString& caption) const { return form->BarManager->BarByCaption(caption); }
    void Select(const QString& caption)
    {
        List()->SetItemIndex(List()->Items()->IndexOf(caption));
        window->ToolbarsPage()->ListClick(List());
    }
    // Mouse input on a line of the list, x pixels from its left edge, as the window system
    // sends a click or a double click.
    void Mouse(const QString& caption, int x, bool doubleClick)
    {
        QWidget* viewport = List()->ListWidget()->viewport();
        const QRect line = List()->ItemRect(List()->Items()->IndexOf(caption));
        const QPoint p(line.left() + x, line.center().y());
        auto send = [&](QEvent::Type type) {
            QMouseEvent e(type, p, viewport->mapToGlobal(p), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &e);
        };
        send(QEvent::MouseButtonPress);
        send(QEvent::MouseButtonRelease);
        if (!doubleClick) return;
        send(QEvent::MouseButtonDblClick);
        send(QEvent::MouseButtonRelease);
    }
    QString ButtonsEnabled() const
    {
        QString s;
        for (TButton* b : {window->BBarRename, window->BBarDelete, window->BBarReset}) s += b->Enabled() ? '1' : '0';
        return s;
    }
    // Answers the next name dialog with name, recording the name it offered.
    void AnswerName(const QString& name, QString* offered = nullptr)
    {
        script.AnswerForm([name, offered](TCustomForm& f) {
            auto& dialog = static_cast<TdxBarNameEd&>(f);
            if (offered) *offered = dialog.EName->Text();
            dialog.EName->SetText(name);
            dialog.BOK->Click();
        });
    }

    std::unique_ptr<TdxBarCustomizing> customizing;
    TdxBarCustomizingForm* window = nullptr;
};

TEST_F(CustomizeToolbarsTest, TheListHoldsTheBarsNotHiddenAndSelectsTheFirstVisible)
{
    struct TCase {
        const char* what;
        std::function<void(TdxBarManager*)> before;
        QStringList lines;
        QString selected;
    };
    const TCase cases[] = {
        {"as read", [](TdxBarManager*) {}, {"Menu", "Toolbar", "ControlBar", "Navigator", "InsertBar"}, "Menu"},
        {"hidden and invisible bars first",
         [](TdxBarManager* m) {
             m->BarByCaption("Menu")->SetHidden(true);
             m->BarByCaption("Toolbar")->SetVisible(false);
         },
         {"Toolbar", "ControlBar", "Navigator", "InsertBar"},
         "ControlBar"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        c.before(form->BarManager);
        Open();
        EXPECT_EQ(Lines(), c.lines);
        EXPECT_EQ(Selected(), c.selected);
        form->BarManager->Customizing(false);
    }
}

TEST_F(CustomizeToolbarsTest, RenameDeleteAndResetFollowTheSelectedBar)
{
    form->BarManager->setProperty("AllowReset", true);
    TdxBar* fixed = form->BarManager->Bars()->Add();  // made by the user, but not closable
    fixed->SetCaption("Fixed");
    fixed->SetAllowClose(false);
    TdxBar* made = form->BarManager->Bars()->Add();
    made->SetCaption("Made");
    Bar("Navigator")->SetAllowReset(false);
    Open();
    EXPECT_TRUE(window->BBarReset->Visible());
    struct TCase {
        QString line;
        QString enabled;  // Rename, Delete, Reset
    };
    const TCase cases[] = {
        {"Menu", "001"}, {"Toolbar", "001"}, {"Navigator", "000"}, {"Made", "110"}, {"Fixed", "100"}, {"", "000"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        Select(c.line);
        EXPECT_EQ(ButtonsEnabled(), c.enabled);
    }
    form->BarManager->Customizing(false);

    // The editor's manager allows no reset: the button is not shown.
    form->BarManager->setProperty("AllowReset", false);
    Open();
    EXPECT_FALSE(window->BBarReset->Visible());
}

TEST_F(CustomizeToolbarsTest, TheCheckColumnShowsAndHidesBarsByClickDoubleClickAndSpace)
{
    Open();
    TdxBar* toolbar = Bar("Toolbar");
    const int column = List()->CheckWidth();
    struct TCase {
        const char* what;
        std::function<void()> input;
        int toggles;
    };
    const TCase cases[] = {
        {"a click in the column", [&] { Mouse("Toolbar", column / 2, false); }, 1},
        {"a click beside it", [&] { Mouse("Toolbar", column + 10, false); }, 0},
        {"a double click beside it", [&] { Mouse("Toolbar", column + 10, true); }, 1},
        {"a double click in the column", [&] { Mouse("Toolbar", column / 2, true); }, 2},
        {"Space",
         [&] {
             Select("Toolbar");
             QTest::keyClick(List()->ListWidget(), Qt::Key_Space);
         },
         1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        const bool before = toolbar->Visible();
        c.input();
        EXPECT_EQ(toolbar->Visible(), c.toggles % 2 ? !before : before);
    }
    EXPECT_TRUE(script.Log("Beep").isEmpty());

    // The main menu cannot be closed: each toggle only beeps.
    TdxBar* menu = Bar("Menu");
    Mouse("Menu", column / 2, false);
    Mouse("Menu", column + 10, true);
    EXPECT_TRUE(menu->Visible());
    const QList<TDialogRecord> beeps = script.Log("Beep");
    ASSERT_EQ(beeps.size(), 2);
    EXPECT_EQ(beeps[0].flags, 0);
}

TEST_F(CustomizeToolbarsTest, NewOffersTheNextCustomNameAndFloatsTheBarBesideTheWindow)
{
    Open();
    struct TCase {
        TRect window;
        QString offered;
        TPoint place;
    };
    const TCase cases[] = {
        {TRect::Bounds(400, 300, 366, 310), "Custom 1", TPoint(350, 300)},
        {TRect::Bounds(30, 300, 366, 310), "Custom 2", TPoint(406, 300)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.offered.toStdString());
        window->SetBounds(c.window.Left, c.window.Top, c.window.Width(), c.window.Height());
        QString offered;
        AnswerName(c.offered, &offered);
        window->BBarNew->Click();
        EXPECT_EQ(offered, c.offered);
        TdxBar* bar = Bar(c.offered);
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(bar->Visible());
        EXPECT_EQ(bar->DockingStyle(), dsNone);
        EXPECT_EQ(TPoint(bar->FloatLeft(), bar->FloatTop()), c.place);
        EXPECT_EQ(Lines().last(), c.offered);
        EXPECT_EQ(Selected(), c.offered);
        EXPECT_EQ(ButtonsEnabled(), "110");
    }

    // Cancelled: no bar.
    const int bars = form->BarManager->Bars()->Count();
    window->BBarNew->Click();  // no answer: the dialog is cancelled
    EXPECT_EQ(form->BarManager->Bars()->Count(), bars);
}

TEST_F(CustomizeToolbarsTest, RenameGivesTheBarAndItsLineTheNewName)
{
    Open();
    AnswerName("Mine");
    window->BBarNew->Click();
    QString offered;
    AnswerName("Yours", &offered);
    window->BBarRename->Click();
    EXPECT_EQ(offered, "Mine");
    EXPECT_EQ(Bar("Yours"), form->BarManager->Bars()->Items(form->BarManager->Bars()->Count() - 1));
    EXPECT_EQ(Lines().last(), "Yours");
    EXPECT_EQ(Selected(), "Yours");
}

TEST_F(CustomizeToolbarsTest, DeleteAsksFirstAndSelectsTheNextLine)
{
    Open();
    for (const char* name : {"One", "Two", "Three"}) {
        AnswerName(name);
        window->BBarNew->Click();
    }
    struct TCase {
        QString line;
        int answer;
        QStringList after;  // the lines from "One" on
        QString selected;
    };
    const TCase cases[] = {
        {"Two", IDCANCEL, {"One", "Two", "Three"}, "Two"},
        {"Two", IDOK, {"One", "Three"}, "Three"},
        {"Three", IDOK, {"One"}, "One"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        script.ClearLog();
        Select(c.line);
        script.AnswerMessage(c.answer);
        window->BBarDelete->Click();
        const QList<TDialogRecord> boxes = script.Log("MessageBox");
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0].text, QString("Are you sure you want to delete the '%1' toolbar?").arg(c.line));
        EXPECT_EQ(boxes[0].caption, Application->Title());
        EXPECT_EQ(boxes[0].flags, MB_OKCANCEL | MB_ICONEXCLAMATION);
        EXPECT_EQ(Lines().mid(5), c.after);
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(Bar(c.line) != nullptr, c.after.contains(c.line));
    }
}

TEST_F(CustomizeToolbarsTest, ResetAsksAndPutsTheBarBackAsTheFormHasIt)
{
    form->BarManager->setProperty("AllowReset", true);
    TdxBarItemLinks* links = Bar("Toolbar")->ItemLinks();
    const int count = links->Count();
    delete links->Items(0);
    Open();
    Select("Toolbar");
    for (int answer : {IDCANCEL, IDOK}) {
        script.ClearLog();
        script.AnswerMessage(answer);
        window->BBarReset->Click();
        ASSERT_EQ(script.Log("MessageBox").size(), 1);
        EXPECT_EQ(script.Log("MessageBox")[0].text,
                  "Are you sure you want to reset the changes made to the 'Toolbar' toolbar?");
        EXPECT_EQ(links->Count(), answer == IDOK ? count : count - 1);
    }
}
