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

TEST(DropDownFrame, TheStripLiesAwayFromTheClientWithItsGripTurnedToTheCornerAndTheButtonAtTheOtherEnd)
{
    EXPECT_EQ(dxDropDownNCHeight(), 19);
    for (TdxCorner corner : kCorners) {
        SCOPED_TRACE(int(corner));
        const bool top = dxIsTopCorner(corner), right = dxIsRightCorner(corner);
        const TdxDropDownFrameLayout frame(150, 200, corner, true);
        TRect close, grip;
        const QImage image = PaintFrame(frame, false, false, false, close, grip);
        // Border, strip and client area share the window; the client area is left unpainted.
        const TRect client = frame.Client(), face = frame.StripFace();
        EXPECT_EQ(client.Width(), 148);
        EXPECT_EQ(client.Height(), 200 - 2 - 19);
        EXPECT_EQ(top ? frame.StripLine().Bottom : frame.StripLine().Top, top ? client.Top : client.Bottom);
        EXPECT_TRUE(AllOf(image, frame.StripLine(), Sys(COLOR_WINDOWFRAME)));
        EXPECT_TRUE(AllOf(image, client, Qt::magenta));
        EXPECT_TRUE(Find(image, face, Qt::magenta).isNull());
        // The grip in the strip's outer corner, its ridges running into that corner; the button
        // at the other end.
        EXPECT_EQ(close, frame.CloseButton());
        EXPECT_EQ(grip, frame.GripBox());
        EXPECT_TRUE(face.Contains(grip) && face.Contains(close));
        EXPECT_EQ(right ? grip.Right : grip.Left, right ? face.Right : face.Left);
        EXPECT_EQ(top ? grip.Top : grip.Bottom, top ? face.Top : face.Bottom);
        EXPECT_EQ(right, close.Right < grip.Left);
        const TRect ridgeFace = frame.GripFace();
        const QRect ridges = Find(image, grip, Sys(COLOR_BTNSHADOW));
        ASSERT_TRUE(!ridges.isNull() && ridgeFace.Contains(TRect::FromQRect(ridges)));
        const int gapLeft = ridges.left() - ridgeFace.Left, gapRight = ridgeFace.Right - 1 - ridges.right();
        const int gapTop = ridges.top() - ridgeFace.Top, gapBottom = ridgeFace.Bottom - 1 - ridges.bottom();
        EXPECT_LE(right ? gapRight : gapLeft, 1);
        EXPECT_LE(top ? gapTop : gapBottom, 1);
        EXPECT_GE(right ? gapLeft : gapRight, 2);
        EXPECT_GE(top ? gapBottom : gapTop, 2);
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
    // growth: how much more frame each pixel of window adds (0: a fixed frame of 10 pixels).
    const struct {
        const char* name;
        QSize wanted;
        double growth;
        bool fits;
        int resizes;
    } cases[] = {
        {"fixed frame", {200, 150}, 0, true, 1},
        {"below the minimum", {50, 50}, 0, false, 1},
        {"a frame that grows with the window", {200, 150}, 0.5, false, 3},
    };
    for (const auto& c : cases) {
        QSize window(120, 120);
        int resizes = 0;
        auto client = [&] { return window - QSize(10, 10) - (window * c.growth); };
        const bool fits = dxSizeClientTo(
            c.wanted, {100, 100}, [&] { return window; }, client,
            [&](QSize w) {
                ++resizes;
                window = w;
            });
        EXPECT_EQ(fits, c.fits) << c.name;
        EXPECT_EQ(resizes, c.resizes) << c.name;
        EXPECT_EQ(fits, client() == c.wanted) << c.name;
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

TEST_F(SizableDropDownTest, TheCloseButtonClosesOnlyOnAReleaseOverIt)
{
    // An unlinked combo's drop-down, shown at a place of its own.
    TdxBarSizableDropDown* d = combo->DropDownWindow();
    d->SetWindowPos(TRect::Bounds(300, 300, 150, 200), SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    TWindow::SetWindowFromPointFunction([d](const TPoint&) { return d->Handle(); });
    const TRect button = d->CloseButtonRect();
    const TPoint on = d->WindowRect().TopLeft() + TPoint(button.Left + 5, button.Top + 5);
    EXPECT_EQ(d->NCHitTest(on), HTBORDER);
    EXPECT_TRUE(d->MouseAboveClose());
    for (const TPoint release : {on + TPoint(0, -60), on}) {
        d->NCLButtonDown(HTBORDER, on);
        EXPECT_TRUE(d->CloseTracking());
        EXPECT_EQ(TWindow::GetCapture(), d);
        d->MouseMove(d->ScreenToClient(release), {});
        EXPECT_EQ(d->MouseAboveClose(), release == on);
        d->LButtonUp(d->ScreenToClient(release), {});
        EXPECT_FALSE(d->CloseTracking());
        EXPECT_EQ(TWindow::GetCapture(), nullptr);
        // Released off the button it stays open.
        EXPECT_EQ(d->Visible(), release != on);
        EXPECT_EQ(combo->closeUps, release == on ? 1 : 0);
    }
}
