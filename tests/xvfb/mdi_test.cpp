// An MDI frame under real input: the maximized child's system-menu icon on the frame's menu
// bar, and the MDI keys.
#include "ActiveFormFixture.h"
#include "dxBarControl.h"
#include "dxBarInternalItems.h"

#include <QApplication>
#include <QMdiArea>
#include <QProcess>
#include <QTest>

namespace {

bool XDo(const QStringList& arguments)
{
    return QProcess::execute("xdotool", arguments) == 0;
}

class MDIFrameTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        form->SetFormStyle(fsMDIForm);
        form->SetBounds(100, 100, 600, 400);
        bar->SetIsMainMenu(true);
        AddButton("&File");
        menuBar = Dock(600);
        dock->SetAlign(alTop);
        form->Show();
        form->Handle()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    }
    TForm* AddChild(const QString& name)
    {
        auto* child = new TForm(form.get());
        child->SetName(name);
        child->SetCaption(name);
        child->SetFormStyle(fsMDIChild);
        child->SetBounds(10, 10, 250, 150);
        child->Show();
        QTest::qWait(50);
        return child;
    }

    TdxBarControl* menuBar = nullptr;
};

}  // namespace

TEST_F(MDIFrameTest, ADoubleClickOnTheSystemMenuIconClosesTheMaximizedChild)
{
    TForm* a = AddChild("A");
    a->SetWindowState(wsMaximized);
    ASSERT_TRUE(testsupport::WaitFor([this] { return bar->ItemLinks()->Count() == 2; }, 5000));
    TdxBarItemLink* icon = bar->ItemLinks()->Items(0);
    ASSERT_TRUE(qobject_cast<TSystemMenuSubItem*>(icon->Item()));
    QTest::qWait(200);
    const QPoint at = menuBar->ClientToScreen(TPoint(icon->ItemRect().center()));
    ASSERT_TRUE(XDo({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "--repeat", "2",
                     "--delay", "80", "1"}));
    ASSERT_TRUE(testsupport::WaitFor([a] { return !a->Visible(); }, 5000));
    QTest::qWait(200);
    EXPECT_EQ(bar->ItemLinks()->Count(), 1);
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
}

TEST_F(MDIFrameTest, CtrlF6StepsToTheNextChildAndCtrlF4ClosesTheActiveOne)
{
    TForm* a = AddChild("A");
    TForm* b = AddChild("B");
    ASSERT_EQ(form->ActiveMDIChild(), b);
    ASSERT_TRUE(XDo({"key", "--delay", "50", "ctrl+F6"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return form->ActiveMDIChild() == a; }, 5000));
    ASSERT_TRUE(XDo({"key", "--delay", "50", "ctrl+F4"}));
    ASSERT_TRUE(testsupport::WaitFor([a] { return !a->Visible(); }, 5000));
    EXPECT_EQ(form->ActiveMDIChild(), b);
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
}
