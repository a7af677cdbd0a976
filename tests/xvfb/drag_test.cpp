// Dragging a toolbar with the real pointer: the drag follows the pointer beyond the form's
// windows, and the form keeps activation and the editor the focus throughout.
#include "ActiveFormFixture.h"
#include "dxBarControl.h"
#include "dxBarDockControls.h"
#include "dxBarDrag.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace {

QString Arg(int v)
{
    return QString::number(v);
}

class DragTest : public ActiveFormTest {
protected:
    void SetUp() override
    {
        ActiveFormTest::SetUp();
        form->SetBounds(100, 100, 500, 300);
    }
};

}  // namespace

TEST_F(DragTest, ADragLeavingTheFormKeepsTrackingAndTheFormKeepsActivationAndFocus)
{
    AddButton("Bold");
    AddButton("Italic");
    bar->SetDockingStyle(dsTop);
    bar->SetVisible(true);
    auto* w = qobject_cast<TdxBarControl*>(bar->ItemLinks()->BarControl());
    ASSERT_TRUE(w);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Handle()));
    QTest::qWait(200);
    const QPoint grip = w->WindowRect().TopLeft() + QPoint(4, w->Height() / 2);
    // Far outside the form (below and to the right of it), where no window of ours is.
    const QPoint away(900, 800);

    // While the drag runs: where the window stands, and who is active and focused.
    bool sawDrag = false, sawFloatingAway = false, formStayedActive = true, editKeptFocus = true;
    QTimer sampler;
    sampler.setInterval(20);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (!library->CurrentDrag()) return;
        sawDrag = true;
        if (QApplication::activeWindow() != form->Handle()) formStayedActive = false;
        if (!edit->hasFocus()) editKeptFocus = false;
        if (w->Floating() && w->WindowRect().Contains(away)) sawFloatingAway = true;
    });
    sampler.start();
    ASSERT_TRUE(QProcess::startDetached("xdotool", {"mousemove",
                                                    "--sync",
                                                    Arg(grip.x()),
                                                    Arg(grip.y()),
                                                    "mousedown",
                                                    "1",
                                                    "sleep",
                                                    "0.3",
                                                    "mousemove",
                                                    Arg(grip.x() + 100),
                                                    Arg(grip.y() + 250),
                                                    "sleep",
                                                    "0.3",
                                                    "mousemove",
                                                    Arg(700),
                                                    Arg(600),
                                                    "sleep",
                                                    "0.3",
                                                    "mousemove",
                                                    Arg(away.x()),
                                                    Arg(away.y()),
                                                    "sleep",
                                                    "0.8",
                                                    "mouseup",
                                                    "1"}));
    EXPECT_TRUE(testsupport::WaitFor([&] { return sawDrag; }, 10000));
    EXPECT_TRUE(testsupport::WaitFor([&] { return sawDrag && !library->CurrentDrag(); }, 15000));
    sampler.stop();

    EXPECT_TRUE(sawFloatingAway);
    EXPECT_TRUE(w->Floating());
    EXPECT_TRUE(w->WindowRect().Contains(away));
    EXPECT_EQ(bar->DockingStyle(), dsNone);
    EXPECT_EQ(bar->FloatLeft(), w->BoundsRect().Left);
    EXPECT_TRUE(formStayedActive);
    EXPECT_TRUE(editKeptFocus);
    QTest::qWait(200);
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
}
