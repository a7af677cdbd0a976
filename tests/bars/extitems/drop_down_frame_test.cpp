// The frame of a sizable drop-down: where its grip goes beside the combo's edit box, what it
// paints, the grip drag and the close button.
#include "../windows/BarWindowFixture.h"
#include "SizableComboFixture.h"
#include "dxBarDropDownFrame.h"
#include "dxBarEditControls.h"

#include <QCursor>
#include <QImage>

namespace {

QColor Sys(int index)
{
    return SysColor(index);
}

// The frame of a window of size w x h painted over a magenta background.
QImage PaintFrame(const TdxDropDownFrameLayout& frame, bool flat, bool hot, bool pressed, TRect& close, TRect& grip)
{
    QImage image(frame.Width, frame.Height, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    PaintDropDownNC(p, frame, flat, hot, pressed, close, grip);
    return image;
}

// Every pixel of the area is of the colour.
bool AllOf(const QImage& image, const TRect& area, const QColor& colour)
{
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (image.pixelColor(x, y) != colour) return false;
    return true;
}

// The bounds of the pixels of the colour inside area (null when none).
QRect Find(const QImage& image, const TRect& area, const QColor& colour)
{
    QRect found;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (image.pixelColor(x, y) == colour) found |= QRect(x, y, 1, 1);
    return found;
}

constexpr TdxCorner kCorners[] = {dxcTopLeft, dxcTopRight, dxcBottomLeft, dxcBottomRight};

}  // namespace

TEST(DropDownFrame, TheGripTakesTheCornerAwayFromTheEditBox)
{
    const TRect edit(100, 100, 200, 120);
    const struct {
        TRect dropDown;
        int corner;
        int hit;
    } cases[] = {
        {{100, 120, 250, 300}, 3, HTBOTTOMRIGHT},  // below, reaching right
        {{100, -80, 250, 100}, 1, HTTOPRIGHT},     // above
        {{0, 120, 100, 300}, 2, HTBOTTOMLEFT},     // below, ending at the edit's left edge
        {{-50, -80, 100, 100}, 0, HTTOPLEFT},      // above and left
    };
    for (const auto& c : cases) {
        const TdxCorner corner = GetCornerForRects(edit, c.dropDown);
        EXPECT_EQ(corner, c.corner);
        EXPECT_EQ(GetHitTestByCorner(corner), c.hit);
    }
}

TEST(DropDownFrame, TheStripLiesAwayFromTheClientWithTheGripOutsideAndTheButtonAtTheOtherEnd)
{
    EXPECT_EQ(dxDropDownNCHeight(), 19);
    for (TdxCorner corner : kCorners) {
        SCOPED_TRACE(int(corner));
        const TdxDropDownFrameLayout frame(150, 200, corner, true);
        const TRect client = frame.Client(), strip = frame.Strip(), face = frame.StripFace();
        // The border, then the strip and the client area sharing the inside.
        EXPECT_EQ(strip.Height() + client.Height(), 198);
        EXPECT_EQ(client.Width(), 148);
        EXPECT_EQ(dxIsTopCorner(corner) ? strip.Bottom : strip.Top, dxIsTopCorner(corner) ? client.Top : client.Bottom);
        EXPECT_TRUE(strip.Contains(frame.StripLine()) && strip.Contains(face));
        EXPECT_FALSE(face.Intersects(frame.StripLine()));
        // The grip in the strip's outer corner, the button at its other end, apart.
        const TRect grip = frame.GripBox(), button = frame.CloseButton();
        EXPECT_TRUE(face.Contains(grip) && face.Contains(button));
        EXPECT_FALSE(grip.Intersects(button));
        EXPECT_EQ(dxIsRightCorner(corner) ? grip.Right : grip.Left, dxIsRightCorner(corner) ? face.Right : face.Left);
        EXPECT_EQ(dxIsTopCorner(corner) ? grip.Top : grip.Bottom, dxIsTopCorner(corner) ? face.Top : face.Bottom);
        EXPECT_EQ(dxIsRightCorner(corner), button.Right < grip.Left);
    }
    const TdxDropDownFrameLayout hidden(150, 200, dxcTopLeft, false);
    EXPECT_EQ(hidden.Client(), TRect(1, 1, 149, 199));
    EXPECT_TRUE(hidden.GripBox().IsEmpty() && hidden.CloseButton().IsEmpty());
}

TEST(DropDownFrame, AHiddenStripPaintsTheBorderAloneAndAnswersEmptyRectangles)
{
    for (bool flat : {false, true}) {
        TRect close(1, 1, 5, 5), grip(1, 1, 5, 5);
        const QImage image =
            PaintFrame(TdxDropDownFrameLayout(120, 110, dxcBottomRight, false), flat, true, true, close, grip);
        const QColor border = Sys(flat ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME);
        EXPECT_TRUE(close.IsEmpty() && grip.IsEmpty());
        EXPECT_TRUE(AllOf(image, {0, 0, 120, 1}, border) && AllOf(image, {0, 109, 120, 110}, border));
        EXPECT_TRUE(AllOf(image, {0, 0, 1, 110}, border) && AllOf(image, {119, 0, 120, 110}, border));
        EXPECT_TRUE(AllOf(image, {1, 1, 119, 109}, Qt::magenta)) << flat;
    }
}

TEST(DropDownFrame, TheStripPaintsItsLineAndAGripTurnedToItsCorner)
{
    for (TdxCorner corner : kCorners) {
        SCOPED_TRACE(int(corner));
        const TdxDropDownFrameLayout frame(150, 200, corner, true);
        TRect close, grip;
        const QImage image = PaintFrame(frame, false, false, false, close, grip);
        EXPECT_EQ(close, frame.CloseButton());
        EXPECT_EQ(grip, frame.GripBox());
        EXPECT_TRUE(AllOf(image, frame.StripLine(), Sys(COLOR_WINDOWFRAME)));
        EXPECT_TRUE(AllOf(image, frame.Client(), Qt::magenta));
        EXPECT_TRUE(Find(image, frame.StripFace(), Qt::magenta).isNull());
        // The ridges end in the corner of the grip's face, never in its two bands.
        const TRect face = frame.GripFace();
        const QRect ridges = Find(image, grip, Sys(COLOR_BTNSHADOW));
        ASSERT_FALSE(ridges.isNull());
        EXPECT_TRUE(face.Contains(TRect::FromQRect(ridges)));
        const int left = ridges.left() - face.Left, right = face.Right - 1 - ridges.right();
        const int top = ridges.top() - face.Top, bottom = face.Bottom - 1 - ridges.bottom();
        EXPECT_LE(dxIsRightCorner(corner) ? right : left, 1);
        EXPECT_LE(dxIsTopCorner(corner) ? top : bottom, 1);
        EXPECT_GE(dxIsRightCorner(corner) ? left : right, 2);
        EXPECT_GE(dxIsTopCorner(corner) ? bottom : top, 2);
    }
}

TEST(DropDownFrame, TheCloseButtonRaisesWhenHotSinksWhenPressedAndStaysFlatInTheFlatLook)
{
    const struct {
        bool flat, hot, pressed;
        int left, bottom;  // the colours of the button's left and bottom lines
    } cases[] = {
        {false, false, false, COLOR_BTNFACE, COLOR_BTNFACE},
        {false, true, false, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
        {false, true, true, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
        {false, false, true, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},  // held, the pointer off it
        {true, true, false, COLOR_BTNFACE, COLOR_BTNFACE},
        {true, true, true, COLOR_BTNFACE, COLOR_BTNFACE},
    };
    for (const auto& c : cases) {
        const TdxDropDownFrameLayout frame(150, 200, dxcBottomRight, true);
        TRect close, grip;
        const QImage image = PaintFrame(frame, c.flat, c.hot, c.pressed, close, grip);
        const TRect b = frame.CloseButton();
        const auto name = QString("flat %1 hot %2 pressed %3").arg(c.flat).arg(c.hot).arg(c.pressed).toStdString();
        EXPECT_EQ(image.pixelColor(b.Left, b.Top + 3), Sys(c.left)) << name;
        EXPECT_EQ(image.pixelColor(b.Left + 3, b.Bottom - 1), Sys(c.bottom)) << name;
        // The cross stays inside the button.
        const QRect cross = Find(image, frame.StripFace(), Sys(COLOR_BTNTEXT));
        EXPECT_FALSE(cross.isNull()) << name;
        EXPECT_TRUE(b.Inflated(-2, -2).Contains(TRect::FromQRect(cross))) << name;
    }
}

TEST(DropDownFrame, AGripDragMovesTheGripsCornerAndKeepsTheOppositeOneAndTheMinimum)
{
    const TRect start(300, 300, 450, 500);
    for (TdxCorner corner : kCorners) {
        SCOPED_TRACE(int(corner));
        const int sx = dxIsRightCorner(corner) ? 1 : -1, sy = dxIsTopCorner(corner) ? -1 : 1;
        const TRect grown = dxDropDownSizingRect(start, corner, 30 * sx, 40 * sy);
        EXPECT_EQ(grown.Size(), QSize(180, 240));
        const TRect shrunk = dxDropDownSizingRect(start, corner, -500 * sx, -500 * sy);
        EXPECT_EQ(shrunk.Size(), QSize(100, 100));
        for (const TRect& r : {grown, shrunk}) {
            // The corner opposite the grip stays.
            EXPECT_EQ(dxIsRightCorner(corner) ? r.Left : r.Right, dxIsRightCorner(corner) ? start.Left : start.Right);
            EXPECT_EQ(dxIsTopCorner(corner) ? r.Bottom : r.Top, dxIsTopCorner(corner) ? start.Bottom : start.Top);
        }
    }
}

TEST(DropDownFrame, FittingAClientSizeEndsAfterThreeTriesAndNeverGoesBelowTheMinimum)
{
    // frameGrowth: how much more frame each pixel of window adds (0: a fixed frame).
    const struct {
        const char* name;
        QSize wanted;
        double frameGrowth;
        bool fits;
        int resizes;
        QSize window;
    } cases[] = {
        {"fixed frame", {200, 150}, 0, true, 1, {210, 160}},
        {"below the minimum", {50, 50}, 0, false, 1, {100, 100}},
        {"a frame that grows with the window", {200, 150}, 0.5, false, 3, {0, 0}},
    };
    for (const auto& c : cases) {
        QSize window(120, 120);
        int resizes = 0;
        auto client = [&] {
            const int fx = 10 + int(c.frameGrowth * window.width()), fy = 10 + int(c.frameGrowth * window.height());
            return QSize(window.width() - fx, window.height() - fy);
        };
        const bool fits = dxSizeClientTo(
            c.wanted, {100, 100}, [&] { return window; }, client,
            [&](QSize w) {
                ++resizes;
                window = w;
            });
        EXPECT_EQ(fits, c.fits) << c.name;
        EXPECT_EQ(resizes, c.resizes) << c.name;
        if (!c.window.isEmpty()) {
            EXPECT_EQ(window, c.window) << c.name;
        }
        EXPECT_TRUE(window.width() >= 100 && window.height() >= 100) << c.name;
    }
}

// ---------------------------------------------------------------- the drop-down window

namespace {

class SizableDropDownTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        combo = Create<TSizableTestCombo>(form.get());
        combo->SetWidth(160);
    }
    void TearDown() override
    {
        TWindow::SetWindowFromPointFunction({});
        QCursor::setPos(700, 700);
        BarWindowTest::TearDown();
    }
    // The combo on a row bar, its text box clicked (its link is the live one): its control.
    TCustomdxBarComboControl* Edit()
    {
        bar->ItemLinks()->Add()->SetItem(combo);
        Open();
        window->Snapshot();
        auto* c = dynamic_cast<TCustomdxBarComboControl*>(Link(0)->Control());
        const TPoint at = c->ButtonRect.TopLeft() + TPoint(-20, 4);
        QCursor::setPos(window->ClientToScreen(at));
        window->LButtonDown(at, {});
        window->LButtonUp(at, {});
        return c;
    }
    // An unlinked combo's drop-down, shown at a place of its own.
    TdxBarSizableDropDown* Loose(const TRect& bounds)
    {
        TdxBarSizableDropDown* d = combo->DropDownWindow();
        d->SetWindowPos(bounds, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
        TWindow::SetWindowFromPointFunction([d](const TPoint&) { return d->Handle(); });
        return d;
    }
    static TPoint OnScreen(TdxBarSizableDropDown* d, const TRect& local)
    {
        return d->WindowRect().TopLeft() + TPoint((local.Left + local.Right) / 2, (local.Top + local.Bottom) / 2);
    }

    TSizableTestCombo* combo = nullptr;
};

}  // namespace

TEST_F(SizableDropDownTest, TheLiveLinksEditBoxPlacesTheGripAndWithoutOneItGoesBottomRight)
{
    TCustomdxBarComboControl* control = Edit();
    ASSERT_EQ(combo->FindLiveLink(), Link(0));
    control->SetDroppedDown(true);
    TdxBarSizableDropDown* d = combo->DropDownWindow();
    ASSERT_TRUE(d->Visible());
    EXPECT_EQ(d->GripCorner(), dxcBottomRight);  // dropped below the edit box
    ASSERT_FALSE(control->EditRect.IsEmpty());
    const TRect edit = control->EditRect.Offset(window->ClientToScreen({0, 0}));
    const struct {
        TRect bounds;
        TdxCorner corner;
    } cases[] = {
        {TRect::Bounds(edit.Left, edit.Top - 200, 150, 200), dxcTopRight},
        {TRect::Bounds(edit.Left - 150, edit.Top - 200, 150, 200), dxcTopLeft},
        {TRect::Bounds(edit.Left - 150, edit.Bottom, 150, 200), dxcBottomLeft},
    };
    for (const auto& c : cases) {
        d->SetWindowPos(c.bounds, SWP_FRAMECHANGED);
        EXPECT_EQ(d->GripCorner(), c.corner);
        EXPECT_EQ(d->ClientBounds(), TdxDropDownFrameLayout(150, 200, c.corner, true).Client());
    }
    // Above the edit box with no live link (the control left): the corner is not kept from
    // before, nor left unset.
    control->ControlInactivate(false);
    ASSERT_EQ(combo->FindLiveLink(), nullptr);
    d->SetWindowPos(cases[0].bounds, SWP_FRAMECHANGED);
    EXPECT_EQ(d->GripCorner(), dxcBottomRight);
    EXPECT_EQ(d->ClientBounds().Top, 1);
}

TEST_F(SizableDropDownTest, TheGripDragSizesTheWindowFromItsCornerUntilTheRelease)
{
    TdxBarSizableDropDown* d = Loose(TRect::Bounds(300, 300, 150, 200));
    const TPoint grip = OnScreen(d, d->GripRect());
    ASSERT_EQ(d->NCHitTest(grip), HTBOTTOMRIGHT);
    d->NCLButtonDown(HTBOTTOMRIGHT, grip);
    EXPECT_TRUE(d->Sizing());
    EXPECT_EQ(TWindow::GetCapture(), d);
    d->MouseMove(d->ScreenToClient(grip + TPoint(40, 30)), {});
    EXPECT_EQ(d->BoundsRect(), TRect::Bounds(300, 300, 190, 230));
    EXPECT_EQ(d->ClientBounds(), TdxDropDownFrameLayout(190, 230, dxcBottomRight, true).Client());
    d->LButtonUp(d->ScreenToClient(grip + TPoint(-500, -500)), {});
    EXPECT_EQ(d->BoundsRect(), TRect::Bounds(300, 300, 100, 100));
    EXPECT_FALSE(d->Sizing());
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
    // Without the strip there is no grip to take.
    d->SetAllowResizing(false);
    EXPECT_EQ(d->ClientBounds(), TRect(1, 1, 99, 99));
    EXPECT_NE(d->NCHitTest(grip), HTBOTTOMRIGHT);
}

TEST_F(SizableDropDownTest, TheCloseButtonClosesOnlyOnAReleaseOverIt)
{
    TdxBarSizableDropDown* d = Loose(TRect::Bounds(300, 300, 150, 200));
    const TRect button = d->CloseButtonRect();
    const TPoint on = OnScreen(d, button);
    EXPECT_EQ(d->NCHitTest(on), HTBORDER);
    EXPECT_TRUE(d->MouseAboveClose());
    d->NCLButtonDown(HTBORDER, on);
    EXPECT_TRUE(d->CloseTracking());
    EXPECT_EQ(TWindow::GetCapture(), d);
    const TPoint off = d->ScreenToClient(on + TPoint(0, -60));
    d->MouseMove(off, {});
    EXPECT_FALSE(d->MouseAboveClose());
    d->LButtonUp(off, {});
    EXPECT_FALSE(d->CloseTracking());
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
    EXPECT_TRUE(d->Visible());
    EXPECT_EQ(combo->closeUps, 0);

    d->NCLButtonDown(HTBORDER, on);
    d->LButtonUp(d->ScreenToClient(on), {});
    EXPECT_FALSE(d->Visible());
    EXPECT_EQ(combo->closeUps, 1);
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
}
