#include "BarWindowFixture.h"
#include "dxBarDrawing.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

TEST_F(BarWindowTest, PressAndReleaseOnOneButtonClicksOnceAndLeavingFirstClicksNothing)
{
    AddButton("&Open");
    AddButton("Save");
    TRowBar* w = Open();
    w->ClickAt(w->CentreOf(Link(0)), w->CentreOf(Link(0)));
    EXPECT_EQ(clicks, QStringList({"&Open"}));
    EXPECT_FALSE(w->IsActive());  // the click ends keyboard mode
    EXPECT_EQ(TWindow::GetCapture(), nullptr);

    clicks.clear();
    w->ClickAt(w->CentreOf(Link(0)), w->CentreOf(Link(1)));  // pressed, moved to the other button
    w->ClickAt(w->CentreOf(Link(1)), TPoint(290, 5));        // pressed, released on empty bar
    EXPECT_TRUE(clicks.isEmpty());
}

TEST_F(BarWindowTest, DisabledButtonsNeverClickNorTakeThePress)
{
    TdxBarButton* open = AddButton("Open");
    open->SetEnabled(false);
    TRowBar* w = Open();
    w->ClickAt(w->CentreOf(Link(0)), w->CentreOf(Link(0)));
    EXPECT_TRUE(clicks.isEmpty());
    EXPECT_EQ(w->PressedControl(), nullptr);
    Link(0)->Control()->Click(false);  // the keyboard path too
    EXPECT_TRUE(clicks.isEmpty());
}

TEST_F(BarWindowTest, AHandlerMayFreeItsOwnBarWindow)
{
    AddButton("Close");
    TRowBar* w = Open();
    recorder.onClick = [this](TdxBarButton*) { delete window.data(); };
    w->ClickAt(w->CentreOf(Link(0)), w->CentreOf(Link(0)));
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(clicks, QStringList({"Close"}));
    EXPECT_EQ(dxBarActiveBarControl(), nullptr);
    EXPECT_EQ(Link(0)->Control(), nullptr);  // the window freed its controls
}

TEST_F(BarWindowTest, AHandlerThatChangesTheCaptionReLaysOutAndFreesTheClickedControl)
{
    TdxBarButton* toggle = AddButton("Show");
    toggle->SetPaintStyle(psCaption);
    TRowBar* w = Open();
    QPointer<TdxBarItemControl> clicked = Link(0)->Control();
    const int layouts = w->layouts;
    const int oldWidth = Link(0)->ItemRect().width();
    recorder.onClick = [](TdxBarButton* b) { b->SetCaption("Hide everything"); };
    w->ClickAt(w->CentreOf(Link(0)), w->CentreOf(Link(0)));
    EXPECT_EQ(clicks, QStringList({"Show"}));
    EXPECT_TRUE(clicked.isNull());
    EXPECT_GT(w->layouts, layouts);
    EXPECT_GT(Link(0)->ItemRect().width(), oldWidth);
    ASSERT_NE(Link(0)->Control(), nullptr);
    EXPECT_FALSE(Link(0)->Control()->Pressed());
}

TEST_F(BarWindowTest, CheckedButtonsToggleAndPlainButtonsKeepTheirState)
{
    TdxBarButton* bold = AddButton("Bold");
    bold->SetButtonStyle(bsChecked);
    TdxBarButton* plain = AddButton("Plain");
    TRowBar* w = Open();
    w->ClickAt(w->CentreOf(Link(0)), w->CentreOf(Link(0)));
    EXPECT_TRUE(bold->Down());
    w->ClickAt(w->CentreOf(Link(0)), w->CentreOf(Link(0)));
    EXPECT_FALSE(bold->Down());
    w->ClickAt(w->CentreOf(Link(1)), w->CentreOf(Link(1)));
    EXPECT_FALSE(plain->Down());
    EXPECT_EQ(clicks, QStringList({"Bold", "Bold", "Plain"}));
}

TEST_F(BarWindowTest, TheFlatFloatingWindowHasARegionWithoutTwoCornersAndAShadow)
{
    AddButton("Open");
    TRowBar* w = Open(true);
    ASSERT_TRUE(w->HasShadow());
    EXPECT_EQ(w->ClientRect(), TRect(0, 0, 298, 28));
    const QRegion region = w->WindowRgn();
    EXPECT_FALSE(region.contains(QPoint(299, 0)));
    EXPECT_FALSE(region.contains(QPoint(298, 1)));
    EXPECT_TRUE(region.contains(QPoint(297, 0)));
    EXPECT_FALSE(region.contains(QPoint(0, 29)));
    EXPECT_FALSE(region.contains(QPoint(1, 28)));
    EXPECT_TRUE(region.contains(QPoint(2, 29)));
    EXPECT_TRUE(region.contains(QPoint(299, 29)));
    const QImage image = w->Snapshot();
    EXPECT_EQ(image.pixel(299, 2) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(image.pixel(2, 29) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(qAlpha(image.pixel(299, 0)), 0);

    // Docked: no shadow, no region.
    w->SetDockingStyle(dsTop);
    w->FrameChanged();
    w->SetWindowPos(TRect::Bounds(10, 10, 300, 31));
    EXPECT_FALSE(w->HasShadow());
    EXPECT_EQ(w->ClientRect(), TRect(0, 0, 300, 31));
    EXPECT_TRUE(w->WindowRgn().isEmpty());
}

TEST_F(BarWindowTest, AnEmptyBarErasesWithTheToolbarBrushAndIgnoresPresses)
{
    TRowBar* w = Open();
    const QImage image = w->Snapshot();
    EXPECT_EQ(image.pixel(5, 5) & 0xFFFFFF, ColorToQColor(dxBarFlatColors().Toolbar).rgb() & 0xFFFFFF);
    w->LButtonDown({5, 5}, {});
    EXPECT_FALSE(w->IsActive());
}

TEST_F(BarWindowTest, HotTrackingSelectsUnderTheMouseAndASecondMoveAtTheSamePointChangesNothing)
{
    AddButton("Open");
    AddButton("Save");
    TRowBar* w = Open();
    TWindow::SetWindowFromPointFunction([w](const TPoint&) { return w->Handle(); });
    // The selection remembers where the cursor is; keep it with the moves.
    auto moveTo = [w](const TPoint& client) {
        QCursor::setPos(w->ClientToScreen(client));
        w->MouseMove(client, {});
    };
    moveTo(w->CentreOf(Link(0)));
    EXPECT_EQ(w->SelectedControl(), Link(0)->Control());
    EXPECT_TRUE(Link(0)->Control()->IsDrawnSelected());
    w->ClearSelectedControl();
    moveTo(w->CentreOf(Link(0)));  // the pointer has not moved
    EXPECT_EQ(w->SelectedControl(), nullptr);
    moveTo(w->CentreOf(Link(1)));
    EXPECT_EQ(w->SelectedControl(), Link(1)->Control());
    w->MouseLeave();
    EXPECT_EQ(w->SelectedControl(), nullptr);
    TWindow::SetWindowFromPointFunction({});
    dxBarEndMouseTracking(w);
}

TEST_F(BarWindowTest, KeysWalkTheSelectableButtonsAndAcceleratorsClickOnlyWhenUnique)
{
    AddButton("&Open");
    AddButton("&Save");
    AddButton("&Search");
    TRowBar* w = Open();
    w->SetActive(true);
    int key = VK_RIGHT;
    w->KeyDown(key, {});
    EXPECT_EQ(w->SelectedControl(), Link(0)->Control());
    key = VK_LEFT;
    w->KeyDown(key, {});
    EXPECT_EQ(w->SelectedControl(), Link(2)->Control());  // wraps
    key = VK_HOME;
    w->KeyDown(key, {});
    EXPECT_EQ(w->SelectedControl(), Link(0)->Control());
    key = 'S';
    w->KeyDown(key, {});  // two share S: select without clicking
    EXPECT_EQ(w->SelectedControl(), Link(1)->Control());
    EXPECT_TRUE(clicks.isEmpty());
    w->KeyDown(key, {});
    EXPECT_EQ(w->SelectedControl(), Link(2)->Control());
    key = 'O';
    w->KeyDown(key, {});
    EXPECT_EQ(clicks, QStringList({"&Open"}));
}

namespace {

// A control that cannot be selected from the keyboard.
class TUnselectableControl : public TdxBarButtonControl {
public:
    using TdxBarButtonControl::TdxBarButtonControl;
    bool CanSelect() const override { return false; }
};

}  // namespace

TEST_F(BarWindowTest, KeyWalkEndsWhenNothingCanBeSelected)
{
    AddButton("One");
    AddButton("Two");
    const auto saved = TdxBarButtonControlClass.factory;
    TdxBarButtonControlClass.factory = [](TdxBarItemLink* l) -> TdxBarItemControl* {
        return new TUnselectableControl(l);
    };
    TRowBar* w = Open();
    w->SetActive(true);
    for (int key : {VK_RIGHT, VK_LEFT, VK_TAB, VK_END}) {
        w->KeyDown(key, {});
        EXPECT_EQ(w->SelectedControl(), nullptr);
    }
    delete window.data();
    TdxBarButtonControlClass.factory = saved;
}

TEST_F(BarWindowTest, DestroyControlsFreesEveryControlOfTheWindow)
{
    AddButton("Shown");
    AddButton("Hidden");
    TRowBar* w = Open();
    Link(1)->SetVisible(false);
    Link(1)->CreateControl();  // a control for a link that is not in the can-visible list
    ASSERT_NE(Link(1)->Control(), nullptr);
    w->DestroyControls();
    EXPECT_EQ(Link(0)->Control(), nullptr);
    EXPECT_EQ(Link(1)->Control(), nullptr);
}

TEST_F(BarWindowTest, ButtonsAreSizedFromTheManagerAndTheirPaintStyle)
{
    TdxBarButton* glyph = AddButton("Glyph");
    TBitmap bitmap;
    bitmap.SetImage(QImage(16, 16, QImage::Format_RGB32));
    glyph->SetGlyph(&bitmap);
    AddButton("Caption");
    TdxBarButton* drop = AddButton("Drop");
    drop->SetGlyph(&bitmap);
    drop->SetButtonStyle(bsDropDown);
    TRowBar* w = Open();
    EXPECT_EQ(Link(0)->ItemRect().size(), QSize(23, 22));
    auto* captionControl = static_cast<TdxBarButtonControl*>(Link(1)->Control());
    EXPECT_EQ(captionControl->RealPaintStyle(), psCaption);  // no glyph: its caption shows
    const int points = MulDiv(w->Font().pixelSize(), 72, 96);
    EXPECT_EQ(Link(1)->ItemRect().width(), QFontMetrics(w->Font()).horizontalAdvance("Caption") + points);
    EXPECT_EQ(Link(2)->ItemRect().width(), 23 + manager->ArrowWidth());
    EXPECT_EQ(manager->ArrowWidth(), 8);  // 9, made odd, minus 1 in the flat look
}

TEST_F(BarWindowTest, AHotFlatButtonIsFramedInTheHighlightOverTheSelectedColour)
{
    AddButton("Open");
    TRowBar* w = Open();
    w->SetActive(true);
    w->SetKeySelectedItem(Link(0)->Control());
    const QImage image = w->Snapshot();
    const QRect r = Link(0)->ItemRect();
    EXPECT_EQ(image.pixel(r.left(), r.top()) & 0xFFFFFF, SysColor(COLOR_HIGHLIGHT).rgb() & 0xFFFFFF);
    EXPECT_EQ(image.pixel(r.left() + 1, r.top() + 1) & 0xFFFFFF,
              ColorToQColor(dxBarFlatColors().Selected).rgb() & 0xFFFFFF);
    EXPECT_EQ(image.pixel(r.right() + 2, r.top()) & 0xFFFFFF,
              ColorToQColor(dxBarFlatColors().Toolbar).rgb() & 0xFFFFFF);
}

TEST_F(BarWindowTest, PumpsDeliverQueuedMovesAndPaintPendingRepaintsNow)
{
    AddButton("One");
    AddButton("Two");
    TRowBar* w = Open(true);
    w->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w->Handle()));
    QTest::qWait(20);
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    w->Handle()->installEventFilter(&counter);
    w->InvalidateRect(TRect::FromQRect(Link(0)->ItemRect()));
    EXPECT_EQ(counter.paints, 0);
    dxBarProcessPaintMessages();
    EXPECT_EQ(counter.paints, 1);

    w->SetMouseSelectedItem(Link(0)->Control());
    const QPointF at = w->CentreOf(Link(1)) + QPoint(w->ClientBounds().Left, w->ClientBounds().Top);
    QCoreApplication::postEvent(w->Handle(), new QMouseEvent(QEvent::MouseMove, at, w->Handle()->mapToGlobal(at),
                                                             Qt::NoButton, Qt::NoButton, Qt::NoModifier));
    EXPECT_EQ(w->SelectedControl(), Link(0)->Control());
    dxBarPumpMouseMessages();
    EXPECT_EQ(w->SelectedControl(), Link(1)->Control());
    w->Handle()->removeEventFilter(&counter);
}
