// Hints of toolbar buttons: when they show and hide, what they say and where they go,
// on a manual clock.
#include "BarWindowFixture.h"
#include "ThreadTimers.h"
#include "dxBarDrawing.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {

class HintTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        UseManualTimerClock(true);
        manager->SetShowShortCutInHint(true);
        TdxBarButton* save = AddButton("Save");
        save->SetHint("Save|Saves the document");
        save->SetShortCut(ShortCut('S', ssCtrl));
        AddButton("Open")->SetHint("Open");
        Open();
        TRowBar* w = window;
        TWindow::SetWindowFromPointFunction([w](const TPoint&) { return w->Handle(); });
    }
    void TearDown() override
    {
        TWindow::SetWindowFromPointFunction({});
        if (window) dxBarEndMouseTracking(window);
        BarWindowTest::TearDown();
        UseManualTimerClock(false);
        QCursor::setPos(700, 700);  // away from where the next test's windows appear
    }
    void HoverAt(const TPoint& client)
    {
        QCursor::setPos(window->ClientToScreen(client));
        window->MouseMove(client, {});
    }
    void Hover(int link) { HoverAt(window->CentreOf(Link(link))); }
    void Leave() { window->MouseLeave(); }
    TdxBarHintWindow* Hint() const { return library->HintWindow(); }
    bool Shown() const { return library->HintVisible(); }
};

}  // namespace

TEST_F(HintTest, AHoveredButtonShowsItsHintWithItsShortcutAfterTheDelayAndHidesItLater)
{
    Hover(0);
    AdvanceTimerClock(999);
    EXPECT_FALSE(Shown());
    AdvanceTimerClock(1);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Hint()->Text(), "Save (Ctrl+S)");
    // 20 px below the cursor.
    EXPECT_EQ(Hint()->BoundsRect().TopLeft(), QCursor::pos() + TPoint(0, 20));
    EXPECT_EQ(dxBarHintManager(), manager);
    AdvanceTimerClock(9999);
    EXPECT_TRUE(Shown());
    AdvanceTimerClock(1);
    EXPECT_FALSE(Shown());
}

TEST_F(HintTest, WhileAHintShowsOrJustAfterTheNextButtonShowsItsHintAtOnce)
{
    Hover(0);
    AdvanceTimerClock(1000);
    ASSERT_TRUE(Shown());
    Hover(1);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Hint()->Text(), "Open");
    // Off the bar and back within 400 ms: at once again.
    Leave();
    EXPECT_FALSE(Shown());
    AdvanceTimerClock(300);
    Hover(0);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Hint()->Text(), "Save (Ctrl+S)");
    // After 400 ms the delay applies again.
    Leave();
    AdvanceTimerClock(400);
    EXPECT_FALSE(dxBarQuickReshow());
    Hover(1);
    EXPECT_FALSE(Shown());
    AdvanceTimerClock(1000);
    EXPECT_TRUE(Shown());
}

TEST_F(HintTest, NoHintInMenuModeWithShowHintOffWhileCustomizingOrAfterAPress)
{
    window->SetActive(true);
    Hover(0);
    AdvanceTimerClock(2000);
    EXPECT_FALSE(Shown());
    window->SetActive(false);
    Leave();

    manager->SetShowHint(false);
    Hover(1);
    AdvanceTimerClock(2000);
    EXPECT_FALSE(Shown());
    manager->SetShowHint(true);
    Leave();

    Hover(0);
    AdvanceTimerClock(1000);
    ASSERT_TRUE(Shown());
    window->LButtonDown(window->CentreOf(Link(0)), {});
    EXPECT_FALSE(Shown());
}

TEST_F(HintTest, ADisabledButtonShowsItsHintOnlyWhenAllowedAndTheCursorMustBeOnTheButton)
{
    manager->setProperty("ShowHintForDisabledItems", false);
    qobject_cast<TdxBarButton*>(Link(1)->Item())->SetEnabled(false);
    window->SetSelectedItem(Link(1)->Control());
    QCursor::setPos(window->ClientToScreen(window->CentreOf(Link(1))));
    manager->UpdateHint(true, {});
    AdvanceTimerClock(1000);
    EXPECT_FALSE(Shown());
    // The cursor elsewhere than on the selected button: no hint.
    window->SetSelectedItem(Link(0)->Control());
    QCursor::setPos(window->ClientToScreen(window->CentreOf(Link(1))));
    manager->UpdateHint(true, {});
    AdvanceTimerClock(1000);
    EXPECT_FALSE(Shown());
}

TEST_F(HintTest, AnExplicitTextNearTheScreensCornerIsKeptOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCursor::setPos(screen.right() - 2, screen.bottom() - 2);
    manager->UpdateHint(true, "More Buttons");
    AdvanceTimerClock(1000);
    ASSERT_TRUE(Shown());
    const TRect r = Hint()->BoundsRect();
    EXPECT_EQ(r.Right, screen.x() + screen.width());
    EXPECT_EQ(r.Top, QCursor::pos().y() + 20 - 50);
    EXPECT_LE(r.Bottom, screen.y() + screen.height());
}

TEST_F(HintTest, AManagerGoingAwayStopsOnlyItsOwnHint)
{
    auto otherForm = std::make_unique<TForm>(nullptr);
    auto* other = new TdxBarManager(otherForm.get());
    Hover(0);
    AdvanceTimerClock(1000);
    ASSERT_TRUE(Shown());
    otherForm.reset();  // frees the other manager
    (void)other;
    EXPECT_TRUE(Shown());
    AdvanceTimerClock(10000);
    EXPECT_FALSE(Shown());  // its hide timer still ran

    // The hint's own manager freed while its show timer waits: nothing fires.
    Leave();
    AdvanceTimerClock(500);
    Hover(1);
    delete window.data();
    form.reset();
    EXPECT_EQ(dxBarHintManager(), nullptr);
    AdvanceTimerClock(20000);
    EXPECT_FALSE(Shown());
}

TEST_F(HintTest, TheHintTakesTheSystemStatusFontOrTheManagersOwnFont)
{
    // The fixture's manager uses the system font: the hint uses the status bars' font.
    ASSERT_TRUE(manager->UseSystemFont());
    manager->UpdateHint(true, "More Buttons");
    AdvanceTimerClock(1000);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Hint()->Font(), QApplication::font("QStatusBar"));
    manager->UpdateHint(false, {});

    // A font of the manager's own (which drops the system font) is the hint's font.
    manager->SetScaled(false);
    manager->Font()->SetHeight(-20);
    ASSERT_FALSE(manager->UseSystemFont());
    manager->UpdateHint(true, "More Buttons");
    AdvanceTimerClock(1000);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Hint()->Font().pixelSize(), 20);
    const int width = Hint()->Width();
    manager->UpdateHint(false, {});
    manager->Font()->SetHeight(-10);
    manager->UpdateHint(true, "More Buttons");
    AdvanceTimerClock(1000);
    EXPECT_LT(Hint()->Width(), width);
}

TEST_F(HintTest, AHintNeverGrowsWiderThanTheWorkAreaAndBreaksAWordOnlyWhenItMust)
{
    QCursor::setPos(0, 0);
    const TRect area = dxBarGetWorkArea(TPoint(0, 0));
    const QString word = QString(600, u'W');
    struct Case {
        const char* name;
        QString text;
    };
    const Case cases[] = {
        {"one long word", word},
        {"a long word between short ones", "Look " + word + " here"},
        {"many short words", QStringList(200, QStringLiteral("word")).join(u' ')},
        {"lines of long words", word + "\n" + word},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        manager->UpdateHint(true, c.text);
        AdvanceTimerClock(1000);
        ASSERT_TRUE(Shown());
        EXPECT_LE(Hint()->Width(), area.Width());
        EXPECT_GE(Hint()->BoundsRect().Left, area.Left);
        EXPECT_GT(Hint()->Height(), 3 * QFontMetrics(Hint()->Font()).height());
        manager->UpdateHint(false, {});
    }

    // Words that fit are never broken: two short words on a wide area stay on one line.
    manager->UpdateHint(true, "Short hint");
    AdvanceTimerClock(1000);
    ASSERT_TRUE(Shown());
    EXPECT_LT(Hint()->Height(), 2 * QFontMetrics(Hint()->Font()).height());
}
