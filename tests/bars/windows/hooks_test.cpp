// The keyboard and mouse hooks: keys typed into a form reach bar items by shortcut and
// accelerator, Alt and F10 put the main menu bar into menu mode, presses elsewhere end it,
// and a drag with the button held ends in the window under the pointer.
#include "BarWindowFixture.h"
#include "InputHooks.h"
#include "TestSupport.h"
#include "dxBarControl.h"
#include "dxBarDockControls.h"
#include "dxBarHooks.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QWindow>

namespace {

// A menu-bar title as the sub item control will be: it opens (here: logs) its menu when
// activated while its toolbar is in drop-down mode.
class TTitleControl : public TdxBarItemControl {
public:
    using TdxBarItemControl::TdxBarItemControl;
    bool IsExpandable() const override { return true; }
    bool HidesMenusOnClick() const override { return false; }
    int GetWidth() override { return 40; }
    int GetHeight() override { return 20; }
    void ControlActivate(bool byMouse) override
    {
        TdxBarItemControl::ControlActivate(byMouse);
        auto* bar = qobject_cast<TdxBarControl*>(Parent());
        if (!open_ && bar && bar->DropDownMode()) {
            open_ = true;
            if (log) *log << "open " + GetCaption();
        }
    }
    void ControlInactivate(bool byMouse) override
    {
        if (open_ && log) *log << "close " + GetCaption();
        open_ = false;
        TdxBarItemControl::ControlInactivate(byMouse);
    }
    void ControlClick(bool /*byMouse*/) override
    {
        if (!open_) ControlActivate(true);
    }
    void ControlUnclick(bool /*byMouse*/) override {}
    bool open_ = false;
    static inline QStringList* log = nullptr;
};

class HooksTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        TTitleControl::log = &menuLog;
        TdxBarSubItemControlClass.factory = [](TdxBarItemLink* link) -> TdxBarItemControl* {
            return new TTitleControl(link);
        };
        QWidget* w = form->Handle();
        w->setGeometry(100, 100, 500, 300);
        edit = new QLineEdit(w);
        edit->setGeometry(10, 150, 200, 24);
        bar->SetIsMainMenu(true);
        toolbar = manager->Bars()->Add();
        // Docked: a floating tool window takes activation on the offscreen platform.
        toolbar->SetDockingStyle(dsTop);
    }
    void TearDown() override
    {
        TdxBarSubItemControlClass.factory = nullptr;
        TTitleControl::log = nullptr;
        BarWindowTest::TearDown();
    }

    TdxBarButton* Button(const QString& caption, TShortCut shortCut, TdxBarItemLinks* links)
    {
        auto* button = Create<TdxBarButton>(form.get());
        button->SetCaption(caption);
        button->SetShortCut(shortCut);
        button->SetOnClick(TNotifyEvent(&recorder, &TClickRecorder::Click));
        links->Add()->SetItem(button);
        return button;
    }
    TdxBarSubItem* Title(const QString& caption)
    {
        auto* sub = Create<TdxBarSubItem>(form.get());
        sub->SetCaption(caption);
        bar->ItemLinks()->Add()->SetItem(sub);
        return sub;
    }
    // Docks the main menu bar on the form and shows the form with the focus in the edit.
    TdxBarControl* ShowForm()
    {
        TdxBarControl* menuBar = Dock(500);
        QWidget* w = form->Handle();
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        edit->setFocus();
        return menuBar;
    }
    QWindow* FormWindow() const { return form->Handle()->windowHandle(); }
    void Key(int qtKey, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(FormWindow(), Qt::Key(qtKey), mods); }
    // Alt pressed and released alone.
    void AltAlone()
    {
        QTest::keyPress(FormWindow(), Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(FormWindow(), Qt::Key_Alt, Qt::AltModifier);
    }
    QString Selected(TdxBarControl* w) const
    {
        return w && w->SelectedControl() ? w->SelectedControl()->GetCaption() : QString();
    }

    QLineEdit* edit = nullptr;
    TdxBar* toolbar = nullptr;
    QStringList menuLog;
};

}  // namespace

TEST_F(HooksTest, TheHooksLiveFromTheFirstManagerToTheLast)
{
    EXPECT_NE(InputHook(), nullptr);
    TForm other(nullptr);
    auto* second = new TdxBarManager(&other);
    delete manager;
    manager = nullptr;
    EXPECT_NE(InputHook(), nullptr);
    delete second;
    EXPECT_EQ(InputHook(), nullptr);
}

TEST_F(HooksTest, ShortcutsGoToTheMainMenuFirstAndTheKeyNeverReachesTheEditor)
{
    TdxBarSubItem* file = Title("&File");
    Button("New", ShortCut('N', ssCtrl), file->ItemLinks());
    Button("Undo all", ShortCut('Z', ssCtrl | ssShift), file->ItemLinks());
    Button("Nbsp", ShortCut('N', ssCtrl), toolbar->ItemLinks());
    Button("Print", ShortCut('P', ssCtrl), toolbar->ItemLinks());
    toolbar->SetVisible(true);
    ShowForm();

    Key(Qt::Key_N, Qt::ControlModifier);
    Key(Qt::Key_P, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    // With Alt held as well the shortcut is another one.
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(clicks, (QStringList{"New", "Print", "Undo all"}));
    EXPECT_TRUE(edit->hasFocus());

    // Keys without an item reach the editor as usual.
    edit->clear();
    Key(Qt::Key_A);
    EXPECT_EQ(edit->text(), "a");

    // A hidden bar's shortcuts do not fire.
    toolbar->SetVisible(false);
    Key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(clicks.size(), 3);
}

namespace {

// A modal loop's hook: logs the keys it is offered under its name, swallows what it is told to.
class TLoopKeys : public TInputHook {
public:
    TLoopKeys(QString name, QStringList& log, bool swallow) : name_(std::move(name)), log_(log), swallow_(swallow) {}
    bool KeyboardHook(const TKeyHookMessage& m) override
    {
        if (!m.KeyUp) log_ << name_ + " " + QString::number(m.Key, 16);
        return swallow_;
    }

private:
    QString name_;
    QStringList& log_;
    bool swallow_;
};

}  // namespace

TEST_F(HooksTest, AModalLoopsHookTakesTheInputFirstAndTheInnermostLoopWins)
{
    Button("New", ShortCut('N', ssCtrl), toolbar->ItemLinks());
    toolbar->SetVisible(true);
    ShowForm();
    QStringList log;
    TLoopKeys outer("outer", log, true), inner("inner", log, false);
    {
        TModalLoopHook loop(outer);
        EXPECT_TRUE(InModalLoop());
        Key(Qt::Key_N, Qt::ControlModifier);
        Key(Qt::Key_A);
        EXPECT_TRUE(clicks.isEmpty());
        EXPECT_TRUE(edit->text().isEmpty());
        {
            // What the innermost loop lets pass goes to the bars, not to the outer loop.
            TModalLoopHook nested(inner);
            Key(Qt::Key_N, Qt::ControlModifier);
        }
        EXPECT_EQ(clicks, QStringList{"New"});
        // The keyboard state follows keys a loop swallows.
        QTest::keyPress(FormWindow(), Qt::Key_Control);
        EXPECT_TRUE(IsKeyDown(VK_CONTROL));
        QTest::keyRelease(FormWindow(), Qt::Key_Control);
        EXPECT_FALSE(IsKeyDown(VK_CONTROL));
    }
    // Ctrl (11) goes down before each N (4e).
    EXPECT_EQ(log, (QStringList{"outer 11", "outer 4e", "outer 41", "inner 11", "inner 4e", "outer 11"}));

    // Out of order: leaving the outer bracket first keeps the inner loop's hook.
    log.clear();
    auto first = std::make_unique<TModalLoopHook>(outer);
    TModalLoopHook second(inner);
    first.reset();
    Key(Qt::Key_B);
    EXPECT_EQ(log, QStringList{"inner 42"});

    // Without an installed hook the loop still gets its keys.
    TInputHook* installed = InputHook();
    SetInputHook(nullptr);
    Key(Qt::Key_C);
    SetInputHook(installed);
    EXPECT_EQ(log, (QStringList{"inner 42", "inner 43"}));
}

TEST_F(HooksTest, WhileCustomizingShortcutsRestAndKeysReachTheFormsControls)
{
    Title("&File");
    Button("New", ShortCut('N', ssCtrl), toolbar->ItemLinks());
    toolbar->SetVisible(true);
    TdxBarControl* menuBar = ShowForm();
    manager->SetIsCustomizing(true);
    menuBar->SetActive(true);  // a bar window selected for customizing
    Key(Qt::Key_N, Qt::ControlModifier);
    Key(Qt::Key_A);
    AltAlone();
    EXPECT_TRUE(clicks.isEmpty());
    EXPECT_EQ(edit->text(), "a");
    EXPECT_FALSE(menuBar->InKeyboardMode());
    menuBar->SetActive(false);
    manager->SetIsCustomizing(false);
}

TEST_F(HooksTest, KeysOfWindowsThatAreNotFormsPass)
{
    Button("New", ShortCut('N', ssCtrl), toolbar->ItemLinks());
    toolbar->SetVisible(true);
    ShowForm();
    QWidget dialog;
    auto* field = new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    field->setFocus();
    QTest::keyClick(dialog.windowHandle(), Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(dialog.windowHandle(), Qt::Key_N);
    EXPECT_TRUE(clicks.isEmpty());
    EXPECT_EQ(field->text(), "n");
    EXPECT_EQ(dxBarKeyboardManager(&dialog), nullptr);
    EXPECT_EQ(dxBarKeyboardManager(form->Handle()), manager);
    dialog.hide();

    // A Qt popup menu open over the form gets its keys too.
    form->Handle()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    QMenu popup(form->Handle());
    popup.addAction("Item");
    popup.popup(form->Handle()->mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(testsupport::WaitFor([&] { return QApplication::activePopupWidget() == &popup; }, 2000));
    QTest::keyClick(popup.windowHandle(), Qt::Key_N, Qt::ControlModifier);
    popup.close();
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(clicks, QStringList{"New"});
}

TEST_F(HooksTest, AltAloneEntersMenuModeArrowsMoveAndEscLeavesWithTheFocusWhereItWas)
{
    Title("&File");
    Title("&Edit");
    Title("&View");
    TdxBarControl* menuBar = ShowForm();
    ASSERT_NE(menuBar, nullptr);

    AltAlone();
    EXPECT_TRUE(menuBar->InKeyboardMode());
    EXPECT_EQ(dxBarActiveBarControl(), menuBar);
    EXPECT_EQ(Selected(menuBar), "&File");
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(Selected(menuBar), "&View");
    Key(Qt::Key_Right);
    EXPECT_EQ(Selected(menuBar), "&File");
    Key(Qt::Key_Left);
    EXPECT_EQ(Selected(menuBar), "&View");
    EXPECT_TRUE(menuLog.isEmpty());  // selecting a title opens nothing
    EXPECT_TRUE(edit->text().isEmpty());

    Key(Qt::Key_Escape);
    EXPECT_FALSE(menuBar->InKeyboardMode());
    EXPECT_EQ(dxBarActiveBarControl(), nullptr);
    EXPECT_EQ(menuBar->SelectedControl(), nullptr);
    EXPECT_TRUE(edit->hasFocus());

    // Alt used with another key is no menu mode.
    QTest::keyPress(FormWindow(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(FormWindow(), Qt::Key_Q, Qt::AltModifier);
    QTest::keyRelease(FormWindow(), Qt::Key_Alt, Qt::AltModifier);
    EXPECT_FALSE(menuBar->InKeyboardMode());
}

TEST_F(HooksTest, AnAltHeldWhileAnotherProgramTookTheActivationDoesNotEnterMenuModeOnRelease)
{
    Title("&File");
    TdxBarControl* menuBar = ShowForm();
    ASSERT_NE(menuBar, nullptr);
    // Alt+Tab: the press is ours, the release comes after switching back.
    QTest::keyPress(FormWindow(), Qt::Key_Alt, Qt::AltModifier);
    InputActivationChanged(false);
    InputActivationChanged(true);
    QTest::keyRelease(FormWindow(), Qt::Key_Alt, Qt::AltModifier);
    EXPECT_FALSE(menuBar->InKeyboardMode());
    AltAlone();
    EXPECT_TRUE(menuBar->InKeyboardMode());
}

TEST_F(HooksTest, F10EntersMenuModeOnlyWhenTheManagerUsesIt)
{
    Title("&File");
    TdxBarControl* menuBar = ShowForm();
    Key(Qt::Key_F10);
    EXPECT_TRUE(menuBar->InKeyboardMode());
    Key(Qt::Key_F10);  // F10 again leaves
    EXPECT_FALSE(menuBar->InKeyboardMode());

    manager->setProperty("UseF10ForMenu", false);
    Key(Qt::Key_F10);
    EXPECT_FALSE(menuBar->InKeyboardMode());
}

TEST_F(HooksTest, EnterOrDownOpensTheSelectedTitleAndArrowsThenSwitchMenus)
{
    Title("&File");
    Title("&Edit");
    TdxBarControl* menuBar = ShowForm();
    AltAlone();
    Key(Qt::Key_Down);
    EXPECT_TRUE(menuBar->DropDownMode());
    Key(Qt::Key_Right);
    EXPECT_EQ(menuLog, (QStringList{"open &File", "close &File", "open &Edit"}));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(menuBar->DropDownMode());
    EXPECT_FALSE(menuBar->InKeyboardMode());
    EXPECT_EQ(menuLog.last(), "close &Edit");
}

TEST_F(HooksTest, AltWithAnAcceleratorOpensAUniqueTitleAndOnlySelectsASharedOne)
{
    Title("&File");
    Title("F&ormat");
    Title("&Fonts");
    TdxBarControl* menuBar = ShowForm();

    Key(Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(menuLog, QStringList{"open F&ormat"});
    EXPECT_TRUE(menuBar->InKeyboardMode());
    Key(Qt::Key_Escape);
    menuLog.clear();

    // Two titles share F: the first is selected, nothing opens.
    Key(Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(menuLog.isEmpty());
    EXPECT_EQ(Selected(menuBar), "&File");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(menuBar->InKeyboardMode());
}

TEST_F(HooksTest, AKeyAnOpenMenuTookHasItsReleaseSwallowedToo)
{
    Title("&File");
    TdxBarControl* menuBar = ShowForm();
    AltAlone();
    ASSERT_TRUE(menuBar->InKeyboardMode());
    // The active chain gets the press; the release must not reach the editor alone.
    struct Probe : QObject {
        int releases = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyRelease) ++releases;
            return false;
        }
    } probe;
    edit->installEventFilter(&probe);
    QTest::keyPress(FormWindow(), Qt::Key_Right);
    QTest::keyRelease(FormWindow(), Qt::Key_Right);
    EXPECT_EQ(probe.releases, 0);
    edit->removeEventFilter(&probe);
}

TEST_F(HooksTest, APressOutsideTheActiveChainEndsMenuMode)
{
    Title("&File");
    TdxBarControl* menuBar = ShowForm();
    AltAlone();
    ASSERT_TRUE(menuBar->InKeyboardMode());
    TWindow::SetWindowFromPointFunction([this](const TPoint&) -> QWidget* { return edit; });
    QTest::mouseClick(FormWindow(), Qt::LeftButton, {}, QPoint(50, 160));
    TWindow::SetWindowFromPointFunction({});
    EXPECT_FALSE(menuBar->InKeyboardMode());
    EXPECT_EQ(dxBarActiveBarControl(), nullptr);
    EXPECT_TRUE(edit->hasFocus());
}

TEST_F(HooksTest, ARightButtonReleaseAsksForThePopupMenuLinkOfTheWindowUnderIt)
{
    ShowForm();
    QList<QWidget*> asked;
    dxBarSetPopupMenuLinkHandler([&](TdxBarManager* m, QWidget* w, const TPoint&) {
        EXPECT_EQ(m, manager);
        asked << w;
        return true;
    });
    QWidget* formWidget = form->Handle();
    TWindow::SetWindowFromPointFunction([formWidget](const TPoint&) -> QWidget* { return formWidget; });
    QTest::mouseClick(FormWindow(), Qt::RightButton, {}, QPoint(400, 250));
    TWindow::SetWindowFromPointFunction({});
    dxBarSetPopupMenuLinkHandler({});
    EXPECT_EQ(asked, QList<QWidget*>{formWidget});
}

TEST_F(HooksTest, ADragWithTheButtonHeldEndsInTheMenuWindowUnderThePointer)
{
    // Two floating windows: the press in the first, the release over the second, which is
    // in the active chain and so takes dragged input.
    auto [first, second] = OpenTwoFloating(100, 100);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second->Handle()));
    TWindow::SetWindowFromPointFunction([&](const TPoint& p) -> QWidget* {
        if (second->WindowRect().Contains(p)) return second->Handle();
        if (first->WindowRect().Contains(p)) return first->Handle();
        return nullptr;
    });
    QWindow* from = first->Handle()->windowHandle();
    const QPoint overTwo = second->Handle()->mapToGlobal(QPoint(5, 5)) - first->Handle()->mapToGlobal(QPoint(0, 0));
    QTest::mousePress(from, Qt::LeftButton, {}, QPoint(150, 15));  // beside first's only item
    second->SetActive(true);                                       // as a menu opened by the press
    QTest::mouseMove(from, overTwo);
    EXPECT_EQ(second->SelectedControl(), second->ItemLinks()->Items(0)->Control());
    QTest::mouseRelease(from, Qt::LeftButton, {}, overTwo);
    TWindow::SetWindowFromPointFunction({});
    EXPECT_EQ(clicks, QStringList{"Two"});
    delete second;
}
