#include "Painting.h"
#include "TestSupport.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace {

// A window with a 2-pixel frame that records the messages it gets.
class TFramedWindow : public TWindow {
public:
    explicit TFramedWindow(const TCreateParams& params) : TWindow(nullptr, params)
    {
        FrameChanged();
        log.clear();
    }

    void NCCalcSize(TRect& r) override { r = r.Inflated(-2, -2); }
    void NCPaint(QPainter& p) override { FillRect(p, {0, 0, Width(), Height()}, Qt::red); }
    void Paint(QPainter& p) override { FillRect(p, ClientRect(), Qt::blue); }
    void LButtonDown(const TPoint& c, TShiftState) override
    {
        log << QStringLiteral("down %1,%2").arg(c.x()).arg(c.y());
        if (onDown) onDown();
    }
    void LButtonUp(const TPoint& c, TShiftState) override { log << QStringLiteral("up %1,%2").arg(c.x()).arg(c.y()); }
    void NCLButtonDown(int hit, const TPoint&) override { log << QStringLiteral("ncdown %1").arg(hit); }
    void MouseLeave() override { log << "leave"; }
    void Size(int w, int h) override { log << QStringLiteral("size %1x%2").arg(w).arg(h); }
    void WindowPosChanging(TRect& r) override
    {
        if (r.Width() > 100) r.Right = r.Left + 100;  // no wider than 100
    }
    void Timer(int id) override { log << QStringLiteral("timer %1").arg(id); }
    void CaptureChanged() override { log << "capture lost"; }

    QStringList log;
    std::function<void()> onDown;
};

TCreateParams Params(int w = 20, int h = 10)
{
    TCreateParams p;
    p.Bounds = TRect::Bounds(5, 5, w, h);
    return p;
}

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

}  // namespace

TEST(TRect, RightAndBottomEdgesAreOutside)
{
    const TRect r(0, 0, 10, 5);
    EXPECT_EQ(r.Width(), 10);
    EXPECT_TRUE(r.Contains(TPoint(9, 4)));
    EXPECT_FALSE(r.Contains(TPoint(10, 4)));
    EXPECT_FALSE(r.Contains(TPoint(9, 5)));
    EXPECT_EQ(r.ToQRect(), QRect(0, 0, 10, 5));
    EXPECT_EQ(TRect::FromQRect(QRect(3, 4, 5, 6)), TRect(3, 4, 8, 10));
    EXPECT_TRUE(TRect(5, 5, 5, 9).IsEmpty());
}

TEST(Window, NonClientAreaIsPaintedFirstAndTheClientAreaClipped)
{
    TFramedWindow w(Params());
    EXPECT_EQ(w.ClientBounds(), TRect(2, 2, 18, 8));
    EXPECT_EQ(w.ClientRect(), TRect(0, 0, 16, 6));
    const QImage image = w.Snapshot();
    EXPECT_EQ(At(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(At(image, 1, 5), 0xFF0000u);
    EXPECT_EQ(At(image, 2, 2), 0x0000FFu);
    EXPECT_EQ(At(image, 17, 7), 0x0000FFu);
    EXPECT_EQ(At(image, 18, 7), 0xFF0000u);
}

TEST(Window, MouseEventsAreHitTestedAndGivenInClientCoordinates)
{
    TFramedWindow w(Params());
    w.Show();
    QTest::mousePress(w.Handle(), Qt::LeftButton, {}, QPoint(5, 4));
    QTest::mouseRelease(w.Handle(), Qt::LeftButton, {}, QPoint(6, 4));
    QTest::mousePress(w.Handle(), Qt::LeftButton, {}, QPoint(1, 1));  // (0, 0) means the centre to QTest
    EXPECT_EQ(w.log, QStringList({"down 3,2", "up 4,2", QStringLiteral("ncdown %1").arg(HTBORDER)}));
}

TEST(Window, EveryPlacementGoesThroughWindowPosChanging)
{
    TFramedWindow w(Params());
    w.log.clear();
    w.SetWindowPos(TRect::Bounds(0, 0, 150, 30));
    EXPECT_EQ(w.BoundsRect(), TRect(0, 0, 100, 30));
    EXPECT_EQ(w.log, QStringList({"size 96x26"}));
    w.SetBounds(7, 8, 100, 30);  // moved only: no size message
    EXPECT_EQ(w.log.size(), 1);
    EXPECT_EQ(w.Handle()->geometry(), QRect(7, 8, 100, 30));
}

TEST(Window, CaptureHasOneOwnerAndTheLoserIsTold)
{
    TFramedWindow a(Params()), b(Params());
    a.SetCapture();
    EXPECT_EQ(TWindow::GetCapture(), &a);
    b.SetCapture();
    EXPECT_EQ(TWindow::GetCapture(), &b);
    EXPECT_EQ(a.log, QStringList({"capture lost"}));
    TWindow::ReleaseCapture();
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
    EXPECT_EQ(b.log, QStringList({"capture lost"}));
    {
        TFramedWindow gone(Params());
        gone.SetCapture();
    }
    EXPECT_EQ(TWindow::GetCapture(), nullptr);  // a freed owner leaves no capture behind
}

TEST(Window, TimersHaveWindowIdsAndPostedCallsNeedALiveWindow)
{
    TFramedWindow w(Params());
    w.SetTimer(7, 5);
    ASSERT_TRUE(testsupport::WaitFor([&] { return w.log.contains("timer 7"); }, 2000));
    w.KillTimer(7);
    EXPECT_FALSE(w.TimerActive(7));

    bool ran = false;
    auto* gone = new TFramedWindow(Params());
    gone->PostCall([&] { ran = true; });
    delete gone;
    w.PostCall([&] { w.log << "posted"; });
    ASSERT_TRUE(testsupport::WaitFor([&] { return w.log.contains("posted"); }, 2000));
    EXPECT_FALSE(ran);
}

TEST(Window, MouseLeaveComesFromThePollWhenAnotherWindowIsUnderTheCursor)
{
    TFramedWindow a(Params()), b(Params());
    QWidget* under = a.Handle();
    TWindow::SetWindowFromPointFunction([&](const TPoint&) { return under; });
    a.TrackMouseLeave();
    QTest::qWait(120);
    EXPECT_TRUE(a.IsMouseLeaveTracked());
    EXPECT_TRUE(a.log.isEmpty());
    under = b.Handle();
    EXPECT_TRUE(testsupport::WaitFor([&] { return a.log.contains("leave"); }, 2000));
    EXPECT_FALSE(a.IsMouseLeaveTracked());

    // Tracking another window ends the first one's tracking.
    under = a.Handle();
    a.log.clear();
    a.TrackMouseLeave();
    b.TrackMouseLeave();
    EXPECT_EQ(a.log, QStringList({"leave"}));
    EXPECT_TRUE(b.IsMouseLeaveTracked());
    b.EndMouseLeaveTracking();
    TWindow::SetWindowFromPointFunction({});
}

TEST(Window, AWindowFreedByItsOwnClickHandlerFinishesCleanly)
{
    QPointer<QWidget> widget;
    auto* w = new TFramedWindow(Params());
    w->Show();
    widget = w->Handle();
    w->onDown = [w] { delete w; };
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(5, 4));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(widget.isNull());
}

TEST(Window, RegionsMaskTheWindowAndPopupsNeverTakeFocus)
{
    TCreateParams params = Params();
    params.Popup = true;
    TFramedWindow w(params);
    w.SetWindowRgn(QRegion(0, 0, 20, 10) - QRegion(18, 0, 2, 2));
    const QImage image = w.Snapshot();
    EXPECT_EQ(qAlpha(image.pixel(19, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(17, 0)), 255);
    EXPECT_FALSE(w.Handle()->mask().isEmpty());
    EXPECT_TRUE(w.Handle()->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(w.Handle()->isWindow());
    EXPECT_EQ(w.Handle()->focusPolicy(), Qt::NoFocus);
}

TEST(Painting, LinesLeaveTheirEndOutAndEdgesTakeTheClassicColours)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        DrawLine(p, {0, 0}, {4, 0}, Qt::black);
        DrawLine(p, {0, 2}, {3, 5}, Qt::black);
    }
    EXPECT_EQ(At(image, 3, 0), 0u);
    EXPECT_EQ(At(image, 4, 0), 0xFFFFFFu);
    EXPECT_EQ(At(image, 2, 4), 0u);
    EXPECT_EQ(At(image, 3, 5), 0xFFFFFFu);

    image.fill(Qt::white);
    {
        QPainter p(&image);
        DrawEdge(p, {0, 0, 10, 10}, BDR_RAISEDINNER, BF_RECT);
        DrawEdge(p, {2, 2, 8, 8}, EDGE_SUNKEN, BF_RECT);
    }
    const QRgb light = SysColor(COLOR_BTNHIGHLIGHT).rgb() & 0xFFFFFF,
               shadow = SysColor(COLOR_BTNSHADOW).rgb() & 0xFFFFFF;
    const QRgb dark = SysColor(COLOR_3DDKSHADOW).rgb() & 0xFFFFFF;
    EXPECT_EQ(At(image, 0, 0), light);
    EXPECT_EQ(At(image, 9, 0), shadow);  // the far corner belongs to the bottom-right line
    EXPECT_EQ(At(image, 0, 9), shadow);
    EXPECT_EQ(At(image, 2, 2), shadow);  // sunken: outer shadow, inner dark shadow
    EXPECT_EQ(At(image, 3, 3), dark);
    EXPECT_EQ(At(image, 7, 7), light);
}

TEST(Painting, MnemonicsUnderlineTheMarkedCharacter)
{
    int accel = 0;
    EXPECT_EQ(StripMnemonic("Save &As", &accel), "Save As");
    EXPECT_EQ(accel, 5);
    EXPECT_EQ(StripMnemonic("Fish && &Chips", &accel), "Fish & Chips");
    EXPECT_EQ(accel, 7);
    EXPECT_EQ(StripMnemonic("A&&B", &accel), "A&B");
    EXPECT_EQ(accel, -1);

    // The underline lies under the marked character only.
    auto underlineColumns = [](const QString& text) {
        QImage image(60, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setFont(QFont("DejaVu Sans", 9));
        p.setPen(Qt::black);
        TRect r(0, 0, 60, 20);
        DrawText(p, text, r, DT_SINGLELINE);
        p.end();
        const QFontMetrics fm(QFont("DejaVu Sans", 9));
        const int row = fm.ascent() + std::max(1, fm.underlinePos());
        QList<int> cols;
        for (int x = 0; x < 60; ++x)
            if (At(image, x, row) == 0) cols << x;
        return cols;
    };
    const QList<int> plain = underlineColumns("ab");
    const QList<int> marked = underlineColumns("a&b");
    const int aWidth = QFontMetrics(QFont("DejaVu Sans", 9)).horizontalAdvance("a");
    ASSERT_FALSE(marked.isEmpty());
    EXPECT_GT(marked.size(), plain.size());
    EXPECT_GE(marked.last(), aWidth);
    EXPECT_TRUE(std::ranges::any_of(marked, [&](int x) { return x >= aWidth && !plain.contains(x); }));
}

TEST(Window, SwappedHandlesAreKeptHiddenAndTakenBackWithoutReParenting)
{
    QWidget parent, other;
    TCreateParams child = Params(40, 20);
    child.Parent = &parent;
    TFramedWindow w(child);
    w.Show();
    QPointer<QWidget> docked = w.Handle();

    TCreateParams popup = Params(60, 30);
    popup.Popup = true;
    popup.Bounds = TRect::Bounds(300, 200, 60, 30);
    w.SwapHandle(popup);
    QPointer<QWidget> floating = w.Handle();
    EXPECT_NE(floating, docked);
    EXPECT_TRUE(w.IsPopup());
    EXPECT_TRUE(w.HasKeptHandle());
    EXPECT_TRUE(docked->isHidden());
    EXPECT_EQ(docked->parentWidget(), &parent);  // never moved
    EXPECT_EQ(w.WindowRect(), TRect::Bounds(300, 200, 60, 30));
    EXPECT_EQ(w.ClientRect().Width(), 56);  // the frame is computed for the new size

    // Back to a child of the same widget: the kept handle returns.
    w.SwapHandle(child);
    EXPECT_EQ(w.Handle(), docked.data());
    EXPECT_FALSE(w.IsPopup());
    // A child of another widget needs a new handle; the kept popup goes.
    child.Parent = &other;
    w.SwapHandle(child);
    EXPECT_EQ(w.Handle()->parentWidget(), &other);
    EXPECT_EQ(floating, nullptr);  // the kept popup was of another kind and went
    EXPECT_TRUE(docked);
    w.DestroyKeptHandle();
    EXPECT_EQ(docked, nullptr);
    EXPECT_FALSE(w.HasKeptHandle());
}

TEST(Window, AFreedWindowFreesItsKeptHandleToo)
{
    TCreateParams popup = Params();
    popup.Popup = true;
    auto* w = new TFramedWindow(popup);
    QPointer<QWidget> first = w->Handle();
    w->SwapHandle(Params());
    QPointer<QWidget> second = w->Handle();
    delete w;
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
}
