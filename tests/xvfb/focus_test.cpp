// Bar windows never take activation or focus: real clicks through the X server.
#include "ActiveFormFixture.h"
#include "RealInput.h"
#include "dxBarControl.h"
#include "dxBarEditControls.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

namespace {

class FocusTest : public ActiveFormTest {
protected:
    // Shows the bar as a child of the form along its top and clicks its first item for real.
    void ClickFirstItemOfADockedBar()
    {
        TRowBar* w = Open(false);
        w->SetParentWidget(form->Handle());
        w->SetWindowPos(TRect::Bounds(0, 0, 400, 26));
        w->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Handle()));
        QTest::qWait(100);
        ASSERT_TRUE(ClickAt(w->ClientToScreen(w->CentreOf(Link(0)))));
    }
};

}  // namespace

TEST_F(FocusTest, AClickOnAFloatingBarClicksTheButtonAndTheFormKeepsActivationAndFocus)
{
    AddButton("Bold");
    TRowBar* w = Open(true);
    w->SetWindowPos(TRect::Bounds(600, 100, 200, 30));
    w->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w->Handle()));
    QTest::qWait(100);
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());  // showing does not activate

    ASSERT_TRUE(ClickAt(w->ClientToScreen(w->CentreOf(Link(0)))));
    ASSERT_TRUE(testsupport::WaitFor([this] { return clicks.size() == 1; }, 5000));
    QTest::qWait(200);
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
}

TEST_F(FocusTest, AClickOnADockedBarLeavesTheFocusInTheEditor)
{
    AddButton("Italic");
    ASSERT_NO_FATAL_FAILURE(ClickFirstItemOfADockedBar());
    ASSERT_TRUE(testsupport::WaitFor([this] { return clicks.size() == 1; }, 5000));
    QTest::qWait(200);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
}

namespace {

// Real key strokes through the X server.
bool TypeKeys(const QStringList& keys)
{
    return QProcess::execute("xdotool", QStringList{"key", "--delay", "50"} + keys) == 0;
}

}  // namespace

TEST_F(FocusTest, AltThenEscEntersAndLeavesMenuModeWithTheFocusKeptInTheEditor)
{
    AddButton("&File");
    AddButton("&Edit");
    bar->SetIsMainMenu(true);
    TdxBarControl* menuBar = Dock(400);
    ASSERT_NE(menuBar, nullptr);
    QTest::qWait(100);

    ASSERT_TRUE(TypeKeys({"alt"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return menuBar->InKeyboardMode(); }, 5000));
    ASSERT_TRUE(TypeKeys({"Right"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return menuBar->SelectedControl() == Link(1)->Control(); }, 5000));
    EXPECT_TRUE(edit->hasFocus());
    ASSERT_TRUE(TypeKeys({"Escape"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !menuBar->InKeyboardMode(); }, 5000));
    QTest::qWait(100);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
    EXPECT_TRUE(clicks.isEmpty());
    // The keys went to the bar, not into the editor.
    EXPECT_TRUE(edit->text().isEmpty());
}

TEST_F(FocusTest, APressDragReleaseAcrossWindowsClicksWhereTheButtonIsReleased)
{
    // The press lands beside the first window's only button; the second window, in the active
    // chain as a menu opened by that press would be, gets the drag and the release.
    auto [first, second] = OpenTwoFloating(600, 100);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second->Handle()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first->Handle()));
    QTest::qWait(100);

    const TPoint beside = first->ClientToScreen(TPoint(180, 10));
    const TPoint onTwo = second->ClientToScreen(second->CentreOf(second->ItemLinks()->Items(0)));
    auto xdo = [](const QStringList& args) { return QProcess::execute("xdotool", args) == 0; };
    ASSERT_TRUE(
        xdo({"mousemove", "--sync", QString::number(beside.x()), QString::number(beside.y()), "mousedown", "1"}));
    QTest::qWait(100);
    second->SetActive(true);
    ASSERT_TRUE(xdo({"mousemove", "--sync", QString::number(onTwo.x()), QString::number(onTwo.y())}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return second->SelectedControl() != nullptr; }, 5000));
    ASSERT_TRUE(xdo({"mouseup", "1"}));
    ASSERT_TRUE(testsupport::WaitFor([this] { return clicks.size() == 1; }, 5000));
    EXPECT_EQ(clicks, QStringList{"Two"});

    // With the button up, moves go to the window under the pointer again.
    const TPoint onOne = first->ClientToScreen(first->CentreOf(Link(0)));
    ASSERT_TRUE(xdo({"mousemove", "--sync", QString::number(onOne.x()), QString::number(onOne.y())}));
    EXPECT_TRUE(testsupport::WaitFor([&] { return first->SelectedControl() == Link(0)->Control(); }, 5000));
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
    delete second;
}

TEST_F(FocusTest, AMenuOpensWithoutActivationAndItsCommandLeavesTheFocusInTheEditor)
{
    auto* file = Create<TdxBarSubItem>(form.get());
    file->SetCaption("&File");
    auto* save = Create<TdxBarButton>(form.get());
    save->SetCaption("Save");
    save->SetOnClick(TNotifyEvent(&recorder, &TClickRecorder::Click));
    file->ItemLinks()->Add()->SetItem(save);
    bar->ItemLinks()->Add()->SetItem(file);
    bar->SetIsMainMenu(true);
    TdxBarControl* menuBar = Dock(400);
    ASSERT_NE(menuBar, nullptr);
    QTest::qWait(100);

    ASSERT_TRUE(ClickAt(menuBar->ClientToScreen(TPoint(Link(0)->ItemRect().center()))));
    TCustomdxBarControl* menu = nullptr;
    ASSERT_TRUE(testsupport::WaitFor([&] { return (menu = file->ItemLinks()->BarControl()) != nullptr; }, 5000));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu->Handle()));
    QTest::qWait(100);
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
    EXPECT_TRUE(edit->hasFocus());

    ASSERT_TRUE(ClickAt(menu->ClientToScreen(TPoint(file->ItemLinks()->Items(0)->ItemRect().center()))));
    ASSERT_TRUE(testsupport::WaitFor([this] { return clicks.size() == 1; }, 5000));
    QTest::qWait(200);
    EXPECT_EQ(file->ItemLinks()->BarControl(), nullptr);
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
    EXPECT_TRUE(edit->hasFocus());
}

TEST_F(FocusTest, TypingIntoABarEditAndEnterAppliesTheTextAndGivesTheFocusBack)
{
    auto* path = Create<TdxBarEdit>(form.get());
    path->SetText("old");
    QStringList applied;
    struct TRecord : QObject {
        QStringList* applied;
        void Changed(TObject* sender) { *applied << static_cast<TdxBarEdit*>(sender)->Text(); }
    } record;
    record.applied = &applied;
    path->OnChange = TNotifyEvent(&record, &TRecord::Changed);
    bar->ItemLinks()->Add()->SetItem(path);
    ASSERT_NO_FATAL_FAILURE(ClickFirstItemOfADockedBar());
    auto focusedEditor = [&] {
        auto* c = dynamic_cast<TdxBarWinControl*>(Link(0)->Control());
        return c && c->Focused() && c->Editor()->hasFocus();
    };
    ASSERT_TRUE(testsupport::WaitFor(focusedEditor, 5000));
    ASSERT_EQ(QProcess::execute("xdotool", {"type", "--delay", "20", "/tmp/site"}), 0);
    ASSERT_EQ(QProcess::execute("xdotool", {"key", "Return"}), 0);
    ASSERT_TRUE(testsupport::WaitFor([&] { return !applied.isEmpty(); }, 5000));
    EXPECT_EQ(applied, QStringList({"/tmp/site"}));
    EXPECT_EQ(path->Text(), "/tmp/site");
    ASSERT_TRUE(testsupport::WaitFor([this] { return edit->hasFocus(); }, 5000));
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
}

TEST_F(FocusTest, AnotherProgramTakingTheFocusHidesAFloatingToolbarAndComingBackShowsIt)
{
    AddButton("Bold");
    bar->SetFloatLeft(600);
    bar->SetFloatTop(100);
    bar->SetDockingStyle(dsNone);
    bar->SetVisible(true);
    QPointer<TdxBarControl> toolbar = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    ASSERT_TRUE(toolbar && toolbar->Visible());

    QProcess other;  // its destructor ends it
    other.start(QCoreApplication::applicationFilePath(), {"--other-client"});
    ASSERT_TRUE(other.waitForReadyRead(10000));
    const QString otherId = QString::fromLatin1(other.readLine()).trimmed();
    auto focus = [](const QString& id) { return QProcess::execute("xdotool", {"windowfocus", "--sync", id}) == 0; };

    ASSERT_TRUE(focus(otherId));
    EXPECT_TRUE(testsupport::WaitFor([&] { return !toolbar->Visible(); }, 5000));
    ASSERT_TRUE(focus(QString::number(form->Handle()->winId())));
    EXPECT_TRUE(testsupport::WaitFor([&] { return toolbar->Visible(); }, 5000));
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
}

TEST_F(FocusTest, ADockedBarHotTracksOnlyWhileItsFormIsActive)
{
    AddButton("Bold");
    AddButton("Italic");
    TdxBarControl* docked = Dock(200);
    ASSERT_NE(docked, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(docked->Handle()));
    auto pointAt = [&](int i) { return MoveTo(docked->ClientToScreen(Link(i)->ItemRect().center())); };

    // Another window of the program is active: pointing at the buttons tracks none.
    QWidget other;
    other.setGeometry(700, 500, 200, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_TRUE(pointAt(0));
    ASSERT_TRUE(pointAt(1));
    QTest::qWait(200);
    EXPECT_EQ(docked->SelectedControl(), nullptr);

    // The form active again: the same moves track the button under the pointer.
    form->Handle()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    ASSERT_TRUE(pointAt(0));
    EXPECT_TRUE(testsupport::WaitFor([&] { return docked->SelectedControl() == Link(0)->Control(); }, 5000));
}
