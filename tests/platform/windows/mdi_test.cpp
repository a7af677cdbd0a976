// The MDI stand-in: a frame's client holds its children's sub-windows; the children's states,
// the system menu, the form-message reports and the MDI keys.
#include "ExtCtrls.h"
#include "FormMessages.h"
#include "Forms.h"
#include "InputHooks.h"
#include "SystemMenu.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <memory>

namespace {

class TMDIRecorder : public TFormMessageListener {
public:
    void MDIChildActivated(TCustomForm* frame) override
    {
        TCustomForm* child = frame->ActiveMDIChild();
        log << QStringLiteral("activated %1").arg(child ? child->Name() : QStringLiteral("-"));
    }
    void MDIChildStateChanged(TCustomForm*, TCustomForm* child) override
    {
        static const char* const names[] = {"normal", "minimized", "maximized"};
        log << child->Name() + " " + names[child->WindowState()];
    }
    QStringList Take() { return std::exchange(log, {}); }
    QStringList log;
};

class MDITest : public ::testing::Test, public QObject {
public:
    void FreeOnClose(TObject*, TCloseAction& action) { action = caFree; }

protected:
    void SetUp() override
    {
        frame = std::make_unique<TForm>(nullptr);
        frame->SetName("Frame");
        frame->SetFormStyle(fsMDIForm);
        frame->SetBounds(40, 40, 600, 400);
        SetFormMessageListener(&recorder);
        ManageForm(frame.get());
        frame->Show();
    }
    void TearDown() override
    {
        SetFormMessageListener(nullptr);
        SetInputHook(nullptr);
    }
    TForm* AddChild(const QString& name)
    {
        auto* child = new TForm(frame.get());
        child->SetName(name);
        child->SetCaption(name);
        child->SetFormStyle(fsMDIChild);
        child->SetBounds(10, 10, 200, 120);
        child->Show();
        QApplication::processEvents();
        return child;
    }
    static QStringList Texts(const std::vector<TSystemMenuEntry>& entries)
    {
        QStringList texts;
        for (const TSystemMenuEntry& e : entries)
            texts << (e.Separator ? QStringLiteral("|")
                                  : e.Text + (e.Grayed ? QStringLiteral(" (grayed)") : QString()));
        return texts;
    }

    TMDIRecorder recorder;
    std::unique_ptr<TForm> frame;
};

TEST_F(MDITest, ChildrenLiveInTheClientRemainderAndFollowActivation)
{
    auto* top = new TPanel(frame.get());
    top->SetParent(frame.get());
    top->SetHeight(30);
    top->SetAlign(alTop);
    ASSERT_TRUE(frame->MDIClient());
    EXPECT_EQ(frame->MDIClient()->geometry(), QRect(0, 30, 600, 370));

    TForm* a = AddChild("A");
    TForm* b = AddChild("B");
    ASSERT_EQ(frame->MDIChildCount(), 2);
    EXPECT_EQ(frame->MDIChildren(0), a);
    EXPECT_EQ(frame->MDIChildren(1), b);
    EXPECT_EQ(a->MDIFrame(), frame.get());
    EXPECT_FALSE(a->Handle()->isWindow());
    EXPECT_EQ(frame->ActiveMDIChild(), b);

    recorder.Take();
    frame->MDIClient()->setActiveSubWindow(a->MDISubWindow());
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_EQ(recorder.Take(), QStringList{"activated A"});

    // A freed child leaves the client; the other becomes active.
    delete a;
    QApplication::processEvents();
    EXPECT_EQ(frame->MDIChildCount(), 1);
    EXPECT_EQ(frame->ActiveMDIChild(), b);
    EXPECT_TRUE(recorder.Take().contains("activated B"));

    // A child with no MDI frame to go to is a normal window.
    TForm lone(nullptr);
    lone.SetFormStyle(fsMDIChild);
    EXPECT_TRUE(lone.Handle()->isWindow());
    EXPECT_FALSE(lone.MDIFrame());
}

TEST_F(MDITest, MaximizedChildIsFramelessAndItsSystemMenuFollowsItsState)
{
    TForm* a = AddChild("A");
    const QStringList normal{"&Restore (grayed)", "&Move", "&Size",         "Mi&nimize", "Ma&ximize", "|",
                             "&Close\tCtrl+F4",   "|",     "Nex&t\tCtrl+F6"};
    ASSERT_TRUE(a->SystemMenu());
    EXPECT_EQ(Texts(a->SystemMenu()->Entries()), normal);
    EXPECT_EQ(a->SystemMenu()->DefaultCommand(), SC_CLOSE);
    EXPECT_EQ(a->MDISubWindow()->systemMenu(), a->SystemMenu()->Menu());

    recorder.Take();
    a->SysCommand(SC_MAXIMIZE);
    EXPECT_TRUE(a->IsZoomed());
    EXPECT_TRUE(a->MDISubWindow()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(recorder.Take().contains("A maximized"));
    const QStringList maximized{
        "&Restore", "&Move (grayed)", "&Size (grayed)", "Mi&nimize", "Ma&ximize (grayed)", "|", "&Close\tCtrl+F4",
        "|",        "Nex&t\tCtrl+F6"};
    EXPECT_EQ(Texts(a->SystemMenu()->Entries()), maximized);
    // The Qt menu mirrors the entries and carries no shortcut at all.
    QMenu* menu = a->SystemMenu()->Menu();
    Q_EMIT menu->aboutToShow();
    for (QAction* action : menu->actions()) EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
    EXPECT_FALSE(menu->actions().at(1)->isEnabled());

    a->SysCommand(SC_RESTORE);
    EXPECT_EQ(a->WindowState(), wsNormal);
    EXPECT_FALSE(a->MDISubWindow()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(recorder.Take().contains("A normal"));
    // Its client size is the one it was given.
    QApplication::processEvents();
    EXPECT_EQ(a->Handle()->size(), QSize(200, 120));

    // No system-menu icon: no system menu.
    TForm* plain = AddChild("Plain");
    plain->SetBorderIcons(TBorderIcons(biMinimize));
    EXPECT_EQ(plain->SystemMenu(), nullptr);
}

TEST_F(MDITest, CloseAndNextRunFromCommandsAndFromTheMDIKeys)
{
    class TPassHook : public TInputHook {
    } pass;
    SetInputHook(&pass);
    TForm* a = AddChild("A");
    TForm* b = AddChild("B");
    TForm* c = AddChild("C");
    c->SetOnClose(TCloseEvent(static_cast<MDITest*>(this), &MDITest::FreeOnClose));
    (void)a;
    ASSERT_EQ(frame->ActiveMDIChild(), c);
    frame->SysCommand(SC_NEXTWINDOW);
    EXPECT_EQ(frame->ActiveMDIChild(), a);

    frame->Handle()->activateWindow();
    QApplication::setActiveWindow(frame->Handle());
    QTest::keyClick(frame->Handle()->windowHandle(), Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(frame->ActiveMDIChild(), b);
    QTest::keyClick(frame->Handle()->windowHandle(), Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(frame->ActiveMDIChild(), c);

    QPointer<TForm> freed(c);
    QTest::keyClick(frame->Handle()->windowHandle(), Qt::Key_F4, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_FALSE(freed);
    EXPECT_EQ(frame->MDIChildCount(), 2);
    // Ctrl+F4 without Ctrl, or with Shift too, is no MDI key.
    QTest::keyClick(frame->Handle()->windowHandle(), Qt::Key_F4, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(frame->MDIChildCount(), 2);
}

}  // namespace
