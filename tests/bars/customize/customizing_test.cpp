// Opening and closing the customizing window: its figures, its events, the forms it disables,
// the failed opening, the focus coming back, presses on a disabled form, and the drag target.
#include "CustomizeFixture.h"
#include "Painting.h"
#include "Window.h"
#include "dxBarCustomControl.h"
#include "dxBarItemDrag.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "dxBarStrs.h"
#include "FormMessages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QWindow>
#include <functional>

namespace {

QWidget* BarWindowOf(TdxBar* bar)
{
    TCustomdxBarControl* window = bar->ItemLinks()->BarControl();
    return window ? window->Handle() : nullptr;
}

}  // namespace

TEST_F(CustomizeTest, TheWindowHasItsFiguresCaptionsAndHelpButton)
{
    manager->Customizing(true);
    TdxBarCustomizingForm* w = Window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Visible());
    EXPECT_EQ(w->Handle()->size(), QSize(366, 310));
    EXPECT_EQ(w->Caption(), "Customize");
    EXPECT_EQ(w->Font()->Name(), "DejaVu Sans");
    EXPECT_EQ(w->PageControl->BoundsRect(), QRect(6, 8, 354, 266));
    QStringList tabs;
    // The design pages' tabs are hidden at run time.
    for (int i = 0; i < w->PageControl->TabWidget()->count(); ++i)
        if (w->PageControl->TabWidget()->isTabVisible(i)) tabs << w->PageControl->TabWidget()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{" Toolbars ", " Commands ", " Options "}));
    EXPECT_EQ(w->PageControl->ActivePage(), w->TabSheet1);

    // Close: its caption's width and 49 more, ending at the right margin.
    EXPECT_EQ(w->BClose->Caption(), "Close");
    EXPECT_EQ(w->BClose->Width(), TextExtent(w->Font()->ToQFont(), "Close").width() + 49);
    EXPECT_EQ(w->BClose->Left() + w->BClose->Width(), 360);
    EXPECT_EQ(w->BottomPanel->BoundsRect(), QRect(0, 274, 366, 36));
    EXPECT_EQ(w->BClose->Top(), 8);

    // The Toolbars page.
    EXPECT_EQ(w->LabelToobars->Caption(), "Toolb&ars:");
    EXPECT_EQ(w->LabelToobars->FocusControl(), w->BarsListBox);
    EXPECT_EQ(w->BarsListBox->BoundsRect(), QRect(4, 20, 227, 213));
    QStringList buttons;
    for (TButton* b : {w->BBarNew, w->BBarRename, w->BBarDelete, w->BBarReset})
        buttons << QString("%1 %2,%3 %4x%5")
                       .arg(b->Caption())
                       .arg(b->Left())
                       .arg(b->Top())
                       .arg(b->Width())
                       .arg(b->Height());
    EXPECT_EQ(buttons, (QStringList{"&New... 239,21 104x22", "R&ename... 239,50 104x22", "&Delete 239,79 104x22",
                                    "&Reset... 239,108 104x22"}));

    // The help button follows the manager.
    EXPECT_FALSE(w->BHelp->Visible());
    manager->SetShowHelpButton(true);
    EXPECT_TRUE(w->BHelp->Visible());
    EXPECT_EQ(w->BHelp->BoundsRect(), QRect(6, 8, 24, 23));
    EXPECT_TRUE(w->BHelp->Button()->icon().isNull());
    TBitmap glyph;
    glyph.SetImage(QImage(16, 16, QImage::Format_RGB32));
    manager->SetHelpButtonGlyph(&glyph);
    EXPECT_FALSE(w->BHelp->Button()->icon().isNull());

    // It belongs to the form's window without being its child.
    EXPECT_EQ(w->Handle()->parentWidget(), nullptr);
    EXPECT_EQ(w->Handle()->windowHandle()->transientParent(), form->Handle()->windowHandle());
}

TEST_F(CustomizeTest, ShowAndHideFireOnceHoweverTheWindowCloses)
{
    struct TCase {
        const char* way;
        std::function<void(TdxBarManager*, TdxBarCustomizingForm*)> close;
    };
    const TCase cases[] = {
        {"its Close button", [](TdxBarManager*, TdxBarCustomizingForm* w) { w->BClose->Click(); }},
        {"its window's close button",
         [](TdxBarManager*, TdxBarCustomizingForm* w) {
             QCloseEvent e;
             QApplication::sendEvent(w->Handle(), &e);
         }},
        {"Customizing(false)", [](TdxBarManager* m, TdxBarCustomizingForm*) { m->Customizing(false); }},
        {"the manager freed", [](TdxBarManager* m, TdxBarCustomizingForm*) { delete m; }},
        {"the window freed", [](TdxBarManager*, TdxBarCustomizingForm* w) { delete w; }},
    };
    int n = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.way);
        TForm* f = MakeForm(QString("Form %1").arg(++n), 120, 120);
        QPointer<TdxBarManager> m = ManagerOf(f);
        TEvents seen;
        m->OnShowCustomizingForm = TNotifyEvent(&seen, &TEvents::Show);
        m->OnHideCustomizingForm = TNotifyEvent(&seen, &TEvents::Hide);
        m->Customizing(true);
        QPointer<TdxBarCustomizingForm> w = Window();
        ASSERT_TRUE(w);
        EXPECT_FALSE(f->Handle()->isEnabled());
        c.close(m, w);
        EXPECT_FALSE(customizing->Exists());
        EXPECT_TRUE(!w || !w->Visible());
        Flush();
        EXPECT_FALSE(w);  // freed
        EXPECT_EQ(seen.log, (QStringList{"show", "hide"}));
        EXPECT_TRUE(f->Handle()->isEnabled());
        if (m) {
            EXPECT_FALSE(m->IsCustomizing());
        }
    }
}

TEST_F(CustomizeTest, TheFormsEnabledAtOpeningAreDisabledUntilItClosesAndNoOthers)
{
    TForm* second = MakeForm("Second", 150, 150);
    TForm* already = MakeForm("Already disabled", 200, 200);
    TForm* goes = MakeForm("Goes", 250, 250);
    TForm* plain = forms.emplace_back(std::make_unique<TForm>(nullptr)).get();  // no manager
    plain->Show();
    already->Handle()->setEnabled(false);
    QWidget* floating = BarWindowOf(ManagerOf(form)->Bars()->Items(0));
    ASSERT_NE(floating, nullptr);

    manager->Customizing(true);
    ASSERT_NE(Window(), nullptr);
    EXPECT_FALSE(form->Handle()->isEnabled());
    EXPECT_FALSE(second->Handle()->isEnabled());
    EXPECT_TRUE(plain->Handle()->isEnabled());
    EXPECT_TRUE(floating->isEnabled());  // the form's floating bars stay usable
    EXPECT_TRUE(Window()->Handle()->isEnabled());
    std::erase_if(forms, [goes](const auto& f) { return f.get() == goes; });  // freed while open

    manager->Customizing(false);
    EXPECT_TRUE(form->Handle()->isEnabled());
    EXPECT_TRUE(second->Handle()->isEnabled());
    EXPECT_FALSE(already->Handle()->isEnabled());
    EXPECT_TRUE(plain->Handle()->isEnabled());
}

TEST_F(CustomizeTest, ASecondOpeningDoesNothing)
{
    TdxBarManager* other = ManagerOf(MakeForm("Other", 150, 150));
    manager->Customizing(true);
    TdxBarCustomizingForm* first = Window();
    customizing->Open(manager);
    other->Customizing(true);
    customizing->Open(other);
    EXPECT_EQ(Window(), first);
    EXPECT_EQ(Window()->BarManager(), manager);
    EXPECT_FALSE(other->IsCustomizing());
    EXPECT_EQ(events.log, QStringList{"show"});
}

namespace {

class TFailingCustomizing : public TdxBarCustomizing {
protected:
    TdxBarCustomizingForm* CreateWindow(TdxBarManager*) override { throw Exception("no window"); }
};

}  // namespace

TEST_F(CustomizeTest, AFailedOpeningEndsCustomizingAndReportsTheFailure)
{
    struct TShowFails : QObject {
        void Show(TObject*) { throw Exception("no show"); }
    } showFails;
    struct TCase {
        const char* what;
        bool buildFails;
        QStringList events;  // the hide comes only after a show that went through
    };
    const TCase cases[] = {
        {"no show", false, {}},
        {"no window", true, {"show", "hide"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        customizing.reset();
        customizing = c.buildFails ? std::make_unique<TFailingCustomizing>() : std::make_unique<TdxBarCustomizing>();
        events.log.clear();
        manager->OnShowCustomizingForm =
            c.buildFails ? TNotifyEvent(&events, &TEvents::Show) : TNotifyEvent(&showFails, &TShowFails::Show);
        script.ClearLog();
        manager->Customizing(true);
        EXPECT_FALSE(manager->IsCustomizing());
        EXPECT_FALSE(customizing->Exists());
        EXPECT_TRUE(form->Handle()->isEnabled());
        EXPECT_EQ(events.log, c.events);
        const QList<TDialogRecord> boxes = script.Log("MessageBox");
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_TRUE(boxes[0].text.startsWith(c.what)) << boxes[0].text.toStdString();
        // Nothing is left half open: customizing starts again.
        manager->OnShowCustomizingForm = {};
        manager->Customizing(true);
        EXPECT_EQ(customizing->Exists(), !c.buildFails);
        manager->Customizing(false);
    }
}

TEST_F(CustomizeTest, ClosingActivatesTheFormAndGivesTheFocusBack)
{
    auto* first = qobject_cast<TEdit*>(form->Components(0));
    ASSERT_NE(first, nullptr);
    auto* second = Create<TEdit>(form);
    second->SetParent(form);
    second->SetBounds(10, 150, 200, 24);
    struct TCase {
        const char* what;
        TWinControl* active;    // the form's ActiveControl
        TWinControl* expected;  // where the focus goes back
    };
    const TCase cases[] = {
        {"the focused control", nullptr, first},
        {"the active control", second, second},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        form->Handle()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
        first->SetFocus();
        ASSERT_TRUE(testsupport::WaitFor([&] { return first->Focused(); }, 5000));
        form->SetActiveControl(nullptr);
        manager->Customizing(true);
        ASSERT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == Window()->Handle(); }, 5000));
        if (c.active) form->SetActiveControl(c.active);
        manager->Customizing(false);
        EXPECT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == form->Handle(); }, 5000));
        EXPECT_TRUE(testsupport::WaitFor([&] { return c.expected->Focused(); }, 5000));
    }
}

TEST_F(CustomizeTest, APressOnADisabledFormBringsTheWindowBack)
{
    TForm* plain = forms.emplace_back(std::make_unique<TForm>(nullptr)).get();  // no manager: never disabled
    plain->SetBounds(600, 100, 200, 100);
    plain->Show();
    manager->Customizing(true);
    QWidget* window = Window()->Handle();
    ASSERT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == window; }, 5000));

    struct TCase {
        const char* where;
        QWidget* target;
        bool brought;
    };
    const TCase cases[] = {{"another window", plain->Handle(), false}, {"the disabled form", form->Handle(), true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.where);
        // The other window is active: the press alone must bring the window back.
        plain->Handle()->activateWindow();
        ASSERT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == plain->Handle(); }, 5000));
        // Beside the window, which lies centred over the form.
        QTest::mousePress(c.target->windowHandle(), Qt::LeftButton, {}, QPoint(5, 150));
        QTest::mouseRelease(c.target->windowHandle(), Qt::LeftButton, {}, QPoint(5, 150));
        EXPECT_EQ(testsupport::WaitFor([&] { return QApplication::activeWindow() == window; }, 500), c.brought);
    }
}

TEST_F(CustomizeTest, WhatLiesUnderTheWindowIsNoDropTarget)
{
    TdxBar* bar = manager->Bars()->Items(0);
    auto* item = Create<TdxBarButton>(form);
    item->SetCaption("Item");
    bar->ItemLinks()->Add()->SetItem(item);
    manager->Customizing(true);
    TCustomdxBarControl* barWindow = bar->ItemLinks()->BarControl();
    ASSERT_NE(barWindow, nullptr);
    const TPoint point = barWindow->WindowRect().TopLeft() + TPoint(3, 3);
    struct TCase {
        const char* under;
        QWidget* widget;
        TCustomdxBarControl* target;
    };
    const TCase cases[] = {
        {"nothing of the program", nullptr, barWindow},
        {"the customizing window", Window()->BClose->Handle(), nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.under);
        TWindow::SetWindowFromPointFunction([&](const TPoint&) { return c.widget; });
        TdxBarItemDrag drag(manager, item, nullptr, point, false);
        drag.Move(point);
        EXPECT_EQ(drag.Target(), c.target);
        drag.Cancel();
    }
    TWindow::SetWindowFromPointFunction({});
}

TEST_F(CustomizeTest, PressesOnTheDisabledFormReachItsBarsAndBringTheWindowBack)
{
    TdxBar* docked = manager->Bars()->Add();
    docked->SetCaption("Docked");
    auto* item = Create<TdxBarButton>(form);
    item->SetCaption("Item");
    docked->ItemLinks()->Add()->SetItem(item);
    docked->SetDockingStyle(dsTop);
    docked->SetVisible(true);
    manager->Customizing(true);
    QWidget* window = Window()->Handle();
    ASSERT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == window; }, 5000));
    TCustomdxBarControl* bar = docked->ItemLinks()->BarControl();
    ASSERT_NE(bar, nullptr);
    ASSERT_FALSE(bar->Handle()->isEnabled());  // disabled with its form
    // The window is no other form to the bars' form: its floating bar stays.
    QWidget* floating = BarWindowOf(manager->Bars()->Items(0));
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->isVisible());
    Window()->SetBounds(700, 500, Window()->Width(), Window()->Height());  // off the bar

    // A press on the item, as the window system sends it to the form's window.
    TdxBarItemLink* link = docked->ItemLinks()->Items(0);
    const QPoint at = form->Handle()->mapFromGlobal(bar->ClientToScreen(link->ItemRect().center()));
    QTest::mousePress(form->Handle()->windowHandle(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(form->Handle()->windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_EQ(bar->SelectedControl(), link->Control());
    EXPECT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == window; }, 5000));
}

TEST_F(CustomizeTest, TheWindowFollowsTheFormsItDisabledAndItsActivationUpdatesTheFloatingBars)
{
    TForm* second = MakeForm("Second", 150, 150);
    TForm* plain = forms.emplace_back(std::make_unique<TForm>(nullptr)).get();  // no manager: never disabled
    plain->SetBounds(600, 100, 200, 100);
    plain->Show();
    manager->Customizing(true);
    TdxBarCustomizingForm* w = Window();
    QWidget* window = w->Handle();
    ASSERT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == window; }, 5000));

    // Activating a form it disabled activates the window instead.
    for (TForm* f : {form, second}) {
        SCOPED_TRACE(f->Caption().toStdString());
        plain->Handle()->activateWindow();
        ASSERT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == plain->Handle(); }, 5000));
        f->Handle()->activateWindow();
        EXPECT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == window; }, 5000));
    }

    // Its own activation: losing it to another program hides its form's floating bars,
    // getting it back shows them; losing it within the program leaves them.
    QWidget* floating = BarWindowOf(manager->Bars()->Items(0));
    ASSERT_TRUE(floating && floating->isVisible());
    QWidget messageBox;
    struct TActivationCase {
        const char* what;
        bool active;
        QWidget* other;
        bool shown;
    };
    const TActivationCase cases[] = {
        {"another program", false, nullptr, false},         {"back from it", true, nullptr, true},
        {"a message box", false, &messageBox, true},        {"another program again", false, nullptr, false},
        {"back from the form", true, form->Handle(), true}, {"another form", false, second->Handle(), true},
    };
    for (const TActivationCase& c : cases) {
        SCOPED_TRACE(c.what);
        FormMessageListener()->FormActivate(w, c.active, c.other);
        EXPECT_EQ(floating->isVisible(), c.shown);
    }

    // Getting the activation refreshes the page shown.
    w->BBarRename->SetEnabled(false);
    FormMessageListener()->FormActivate(w, true, nullptr);
    EXPECT_TRUE(w->BBarRename->Enabled());

    // It hides and shows with the form of its manager, and customizing goes on.
    struct TShowCase {
        const char* hidden;
        TForm* form;
        bool follows;
    };
    for (const TShowCase& c : {TShowCase{"another form", second, false}, TShowCase{"its manager's form", form, true}}) {
        SCOPED_TRACE(c.hidden);
        c.form->Handle()->hide();
        EXPECT_EQ(window->isVisible(), !c.follows);
        c.form->Handle()->show();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(Window(), w);
    }
}
