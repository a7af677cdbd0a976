// A disabled form and the windows of this layer on it: what Qt still lets through. A form is
// disabled with setEnabled(false); its popup windows (Qt window children of the form) can be
// enabled again on their own, and a disabled child window still has its presses delivered to
// its widget's event handler, so the bridge sees them.
#include "Forms.h"
#include "TestSupport.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <QWindow>

namespace {

class TPressWindow : public TWindow {
public:
    using TWindow::TWindow;
    void LButtonDown(const TPoint& client, TShiftState) override { presses << client; }
    QList<TPoint> presses;
};

TCreateParams Params(QWidget* form, bool popup)
{
    TCreateParams p;
    p.Bounds = popup ? TRect::Bounds(400, 400, 60, 30) : TRect::Bounds(10, 10, 60, 30);
    p.Popup = popup;
    (popup ? p.Owner : p.Parent) = form;
    return p;
}

}  // namespace

TEST(DisabledForms, PopupsComeBackAloneAndDockedWindowsStillGetPresses)
{
    TForm form(nullptr);
    form.SetBounds(100, 100, 300, 200);
    form.Show();
    TPressWindow docked(nullptr, Params(form.Handle(), false));
    TPressWindow floating(nullptr, Params(form.Handle(), true));
    docked.Show();
    floating.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Handle()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(floating.Handle()));

    form.Handle()->setEnabled(false);
    EXPECT_FALSE(floating.Handle()->isEnabled());  // disabling reaches the window children too
    EXPECT_FALSE(docked.Handle()->isEnabled());
    floating.Handle()->setEnabled(true);
    EXPECT_TRUE(floating.Handle()->isEnabled());  // a window child can be enabled on its own
    EXPECT_FALSE(form.Handle()->isEnabled());
    docked.Handle()->setEnabled(true);
    EXPECT_FALSE(docked.Handle()->isEnabled());  // a plain child cannot

    // Presses as the window system delivers them, to the form's and the popup's windows.
    QTest::mousePress(form.Handle()->windowHandle(), Qt::LeftButton, {}, QPoint(15, 12));
    QTest::mouseRelease(form.Handle()->windowHandle(), Qt::LeftButton, {}, QPoint(15, 12));
    QTest::mousePress(floating.Handle()->windowHandle(), Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseRelease(floating.Handle()->windowHandle(), Qt::LeftButton, {}, QPoint(3, 4));
    EXPECT_EQ(docked.presses, QList<TPoint>({TPoint(5, 2)}));
    EXPECT_EQ(floating.presses, QList<TPoint>({TPoint(3, 4)}));

    // Enabling the form again enables everything.
    form.Handle()->setEnabled(true);
    EXPECT_TRUE(docked.Handle()->isEnabled());
    EXPECT_TRUE(floating.Handle()->isEnabled());
}
