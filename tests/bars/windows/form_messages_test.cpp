// What the bars do with their forms' messages: floating bars follow the form's state, its
// close requests and where its activation goes, come back into a shrunken work area on the
// monitor nearest to each, and F1 asks for the help of the bar item concerned.
#include "Application.h"
#include "Desktop.h"
#include "FormMessages.h"
#include "InputHooks.h"
#include "SysParams.h"
#include "MenuWindowFixture.h"
#include "dxBarControl.h"
#include "dxBarFormMessages.h"

#include <QTest>
#include <QWindow>
#include <functional>
#include <vector>

namespace {

// The help requests that reach the application.
class THelpRecorder : public QObject {
public:
    void Help(int command, int context, bool& handled)
    {
        if (command == HELP_CONTEXT) contexts << context;
        handled = true;
    }
    QList<int> contexts;
};

class FormMessagesTest : public MenuWindowTest {
protected:
    void SetUp() override
    {
        MenuWindowTest::SetUp();
        form->SetBounds(100, 100, 500, 300);
        form->Handle()->show();
        toolbar = manager->Bars()->Add();
        AddButton(toolbar, "Print");
    }
    void TearDown() override
    {
        dxBarSetCustomizingWindowFormFunction({});
        SetMonitorsFunction({});
        SetCursorPosFunction({});
        TWindow::SetWindowFromPointFunction({});
        if (Application) Application->SetOnHelp({});
        MenuWindowTest::TearDown();
    }

    TdxBarButton* AddButton(TdxBar* to, const QString& caption)
    {
        auto* button = Create<TdxBarButton>(form.get());
        button->SetCaption(caption);
        button->SetOnClick(TNotifyEvent(&recorder, &TClickRecorder::Click));
        to->ItemLinks()->Add()->SetItem(button);
        return button;
    }
    static TdxBarControl* WindowOf(TdxBar* b) { return qobject_cast<TdxBarControl*>(b->ItemLinks()->BarControl()); }
    static TdxBarControl* Float(TdxBar* b, int x, int y)
    {
        b->SetFloatLeft(x);
        b->SetFloatTop(y);
        b->SetDockingStyle(dsNone);
        b->SetVisible(true);
        return WindowOf(b);
    }
    TFormMessageListener& Messages() const { return *FormMessageListener(); }

    TdxBar* toolbar = nullptr;
    THelpRecorder help;
    QList<int>& contexts = help.contexts;
};

}  // namespace

TEST_F(FormMessagesTest, FloatingBarsFollowTheFormsStateAndItsCloseRequests)
{
    QPointer<TdxBarControl> w = Float(toolbar, 700, 100);
    ASSERT_TRUE(w && w->Visible());
    QWidget* window = form->Handle();
    // What the form's own window does reaches the bars through the hook.
    window->setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(w->Visible());
    Messages().FormActivate(form.get(), true, nullptr);  // an activation of a minimized form
    EXPECT_FALSE(w->Visible());
    window->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(w->Visible());
    window->setWindowState(Qt::WindowMinimized);
    window->setWindowState(Qt::WindowMaximized);
    EXPECT_TRUE(w->Visible());

    // A close request hides them while the form decides; a refused close brings them back.
    QList<bool> shownWhileAsked;
    bool allow = false;
    struct TAsk : QObject {
        std::function<void(bool&)> ask;
        void CloseQuery(TObject*, bool& canClose) { ask(canClose); }
    } asker;
    asker.ask = [&](bool& canClose) {
        shownWhileAsked << w->Visible();
        canClose = allow;
    };
    form->SetOnCloseQuery(TCloseQueryEvent(&asker, &TAsk::CloseQuery));
    window->close();
    EXPECT_EQ(shownWhileAsked, QList<bool>{false});
    EXPECT_TRUE(w->Visible());
    EXPECT_TRUE(window->isVisible());
    // The program hiding the form hides them.
    window->hide();
    EXPECT_FALSE(w->Visible());
    form->SetOnCloseQuery({});
}

TEST_F(FormMessagesTest, WhereTheActivationGoesDecidesWhetherFloatingBarsStay)
{
    AddSubItem("File", {"New"});
    DockMenuBar();
    QPointer<TdxBarControl> w = Float(toolbar, 700, 100);
    TForm other(nullptr);
    TForm customizingForm(nullptr);
    QWidget messageBox;
    dxBarSetCustomizingWindowFormFunction([&] { return static_cast<TCustomForm*>(&customizingForm); });

    struct Case {
        const char* what;
        QWidget* to;
        bool customizing;
        bool stays;
    };
    const Case cases[] = {
        {"another program", nullptr, false, false},
        {"another form", other.Handle(), false, false},
        {"a window of the program that is no form", &messageBox, false, true},
        {"the customizing window while customizing", customizingForm.Handle(), true, true},
        {"that form while not customizing", customizingForm.Handle(), false, false},
        {"another form while customizing", other.Handle(), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Messages().FormActivate(form.get(), true, nullptr);
        ASSERT_TRUE(w->Visible());
        manager->SetIsCustomizing(c.customizing);
        Messages().FormActivate(form.get(), false, c.to);
        manager->SetIsCustomizing(false);
        EXPECT_EQ(w->Visible(), c.stays);
    }
    // Coming back shows them.
    Messages().FormActivate(form.get(), true, other.Handle());
    EXPECT_TRUE(w->Visible());

    // An open menu closes, though the bars stay.
    PressTitle(0);
    ASSERT_NE(dxBarActiveBarControl(), nullptr);
    Messages().FormActivate(form.get(), false, &messageBox);
    EXPECT_EQ(dxBarActiveBarControl(), nullptr);
    EXPECT_TRUE(w->Visible());
}

TEST_F(FormMessagesTest, AShrunkenWorkAreaTakesEachFloatingBarBackOnTheMonitorNearestToIt)
{
    // The form on the first monitor; the second's panel has grown to 68 px.
    std::vector<TMonitorInfo> monitors{{{0, 0, 1024, 768}, {0, 0, 1024, 740}},
                                       {{1024, 0, 2048, 768}, {1024, 0, 2048, 700}}};
    SetMonitorsFunction([&] { return monitors; });

    struct Case {
        const char* what;
        TPoint at;
        TPoint expected;  // the window's top-left after the step; y: -1 ends it at the area's bottom
        int bottom;
    };
    const Case cases[] = {
        {"inside the second monitor", {1500, 300}, {1500, 300}, 0},
        {"over the second monitor's panel", {1500, 690}, {1500, -1}, 700},
        {"beyond the right edge of all", {2040, 200}, {-1, 200}, 0},
        {"above the first monitor", {200, -5}, {200, 0}, 0},
    };
    QList<TdxBar*> bars;
    for (const Case& c : cases) {
        TdxBar* b = manager->Bars()->Add();
        AddButton(b, c.what);
        ASSERT_NE(Float(b, c.at.x(), c.at.y()), nullptr);
        bars << b;
    }
    // A bar without a window: floated once, then hidden and left below the first work area.
    TdxBar* hidden = manager->Bars()->Add();
    AddButton(hidden, "Hidden");
    Float(hidden, 300, 300);
    hidden->SetVisible(false);
    hidden->SetFloatTop(735);
    ASSERT_EQ(WindowOf(hidden), nullptr);

    Messages().WorkAreaChanged();
    for (int i = 0; i < bars.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        const TRect r = WindowOf(bars[i])->WindowRect();
        const TRect work = NearestWorkArea(monitors, r);
        EXPECT_EQ(r.Top, cases[i].expected.y() >= 0 ? cases[i].expected.y() : work.Bottom - r.Height());
        EXPECT_EQ(r.Left, cases[i].expected.x() >= 0 ? cases[i].expected.x() : work.Right - r.Width());
        // The bar holds its window's new place.
        EXPECT_EQ(bars[i]->FloatTop(), r.Top);
    }
    // Shown again, the windowless bar's window ends at the first work area's bottom.
    EXPECT_LT(hidden->FloatTop(), 735);
    hidden->SetVisible(true);
    ASSERT_NE(WindowOf(hidden), nullptr);
    EXPECT_EQ(WindowOf(hidden)->WindowRect().Bottom, 740);
}

TEST_F(FormMessagesTest, F1AsksForTheHelpOfTheSelectedItemItsMenusOwnerOrTheItemUnderThePointer)
{
    TdxBarSubItem* file = AddSubItem("File", {"New", "Open"});
    file->SetHelpContext(5);
    file->ItemLinks()->Items(0)->Item()->SetHelpContext(7);
    TdxBarButton* print = AddButton(bar, "Print");
    print->SetHelpContext(9);
    DockMenuBar();
    form->Handle()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    Application->SetOnHelp(THelpEvent(&help, &THelpRecorder::Help));
    TPoint cursor;
    SetCursorPosFunction([&] { return cursor; });
    TWindow::SetWindowFromPointFunction(
        [&](const TPoint& p) { return menuBar && menuBar->WindowRect().Contains(p) ? menuBar->Handle() : nullptr; });
    auto f1 = [this] { QTest::keyClick(form->Handle()->windowHandle(), Qt::Key_F1); };
    auto selectInFile = [&](int row) {
        PressTitle(0);
        TdxBarSubMenuControl* menu = MenuOf(file);
        ASSERT_NE(menu, nullptr);
        menu->MouseMove(Centre(file->ItemLinks()->Items(row)), {});
    };

    struct Case {
        const char* what;
        std::function<void()> prepare;
        QList<int> contexts;
    };
    const Case cases[] = {
        {"the selected command's own", [&] { selectInFile(0); }, {7}},
        {"a command without one: its menu's owner's", [&] { selectInFile(1); }, {5}},
        {"no menu: the item under the pointer", [&] { cursor = menuBar->ClientToScreen(Centre(Link(1))); }, {9}},
        {"no menu, no item under the pointer", [&] { cursor = TPoint(5, 5); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        contexts.clear();
        c.prepare();
        f1();
        // As vectors: Qt compares two empty lists by handing memcmp null pointers.
        EXPECT_EQ(std::vector<int>(contexts.cbegin(), contexts.cend()),
                  std::vector<int>(c.contexts.cbegin(), c.contexts.cend()));
        EXPECT_EQ(dxBarActiveBarControl(), nullptr);
    }

    // A shortcut on F1 takes the key first.
    print->SetShortCut(ShortCut(VK_F1, {}));
    cursor = menuBar->ClientToScreen(Centre(Link(1)));
    contexts.clear();
    f1();
    EXPECT_EQ(clicks, QStringList{"Print"});
    EXPECT_TRUE(contexts.isEmpty());
}

TEST_F(FormMessagesTest, AnApplicationFontChangeGivesTheManagersThatFollowTheSystemFontItBack)
{
    QPointer<TdxBarControl> w = Float(toolbar, 700, 100);
    ASSERT_TRUE(w);
    // The manager's font drifted from the system's without the handler seeing it, and the
    // bars were measured in it.
    auto drift = [this] {
        TFont* font = manager->Font();
        const TNotifyEvent handler = font->OnChange();
        font->SetOnChange({});
        font->SetHeight(-20);
        font->SetOnChange(handler);
        for (int i = 0; i < manager->Bars()->Count(); ++i) manager->Bars()->Items(i)->ManagerFontChanged();
    };
    struct Case {
        const char* what;
        bool useSystemFont;
        bool scaled;
        bool follows;
    };
    const Case cases[] = {
        {"the system font", true, false, true},
        {"a scaled font", false, true, true},
        {"a font of its own", false, false, false},
    };
    const QFont appFont = QApplication::font();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        manager->SetUseSystemFont(c.useSystemFont);
        manager->SetScaled(c.scaled);
        const QSize measured = w->WindowRect().Size();
        drift();
        ASSERT_NE(w->WindowRect().Size(), measured);
        QFont changed = appFont;
        changed.setPixelSize(appFont.pixelSize() > 0 ? appFont.pixelSize() + 3 : 17);
        QApplication::setFont(changed);
        QApplication::setFont(appFont);
        QCoreApplication::sendPostedEvents();  // the change reaches the windows posted
        EXPECT_EQ(manager->Font()->Height() == SystemMenuFontHeight(), c.follows);
        EXPECT_EQ(w->WindowRect().Size() == measured, c.follows);
        EXPECT_EQ(manager->UseSystemFont(), c.useSystemFont);
    }
}
