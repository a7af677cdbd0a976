// List boxes: line geometry per style, owner drawing, selection, and the user's input.
#include "Forms.h"
#include "ListBoxes.h"
#include "TestSupport.h"

#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A double click as the window system delivers it: press, release, double click, release.
void DoubleClick(QWidget* w, const QPoint& at)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}

struct Recorder : QObject {
    QStringList events;
    QList<std::tuple<int, QRect, TOwnerDrawState, QColor, QColor, bool>> drawn;
    TListBox* list = nullptr;
    int swallow = 0;

    void Click(TObject*) { events << QStringLiteral("click %1").arg(list->ItemIndex()); }
    void DblClick(TObject*) { events << "dblclick"; }
    void MouseDown(TObject*, TMouseButton b, TShiftState s, int x, int y)
    {
        events << QStringLiteral("down %1 %2,%3%4").arg(int(b)).arg(x).arg(y).arg(s & ssDouble ? " double" : "");
    }
    void MouseUp(TObject*, TMouseButton b, TShiftState, int x, int y)
    {
        events << QStringLiteral("up %1 %2,%3").arg(int(b)).arg(x).arg(y);
    }
    void KeyDown(TObject*, int& key, TShiftState)
    {
        events << QStringLiteral("key %1").arg(key);
        if (key == swallow) key = 0;
    }
    void KeyPress(TObject*, QChar& c) { events << QStringLiteral("char %1").arg(c); }
    void Draw(TWinControl*, int index, QRect rect, TOwnerDrawState state)
    {
        QPainter& p = *list->Canvas();
        drawn.append({index, rect, state, p.brush().color(), p.pen().color(), true});
        p.fillRect(rect, Qt::green);
    }
    void Measure(TWinControl*, int index, int& height) { height = 10 + 2 * index; }
    QStringList Take() { return std::exchange(events, {}); }
};

struct ListBoxTest : ::testing::Test {
    ListBoxTest()
    {
        form->SetBounds(0, 0, 300, 300);
        list->SetParent(form.get());
        list->SetBounds(10, 10, 150, 200);
        recorder.list = list;
        for (const char* s : {"zero", "one", "two", "three", "four"}) list->Items()->Add(s);
    }
    QWidget* Viewport() const { return list->ListWidget()->viewport(); }
    QPoint Centre(int index) const { return list->ItemRect(index).center(); }

    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TListBox* list = new TListBox(form.get());
    Recorder recorder;
};

}  // namespace

TEST_F(ListBoxTest, LinesTakeTheirStylesHeightsAndPointsFindThem)
{
    struct Case {
        TListBoxStyle style;
        bool measure;
        std::function<int(int)> height;
    };
    const int fontHeight = QFontMetrics(list->Font()->ToQFont()).height();
    const Case cases[] = {
        {lbStandard, false, [&](int) { return fontHeight; }},
        {lbOwnerDrawFixed, false, [](int) { return 22; }},
        {lbOwnerDrawVariable, true, [](int i) { return 10 + 2 * i; }},
    };
    list->SetItemHeight(22);
    for (const Case& c : cases) {
        list->SetStyle(c.style);
        list->SetOnMeasureItem(c.measure ? TMeasureItemEvent(&recorder, &Recorder::Measure) : TMeasureItemEvent());
        int top = 0;
        for (int i = 0; i < list->Items()->Count(); ++i) {
            const QRect r = list->ItemRect(i);
            EXPECT_EQ(r.height(), c.height(i)) << int(c.style) << " line " << i;
            EXPECT_EQ(r.top(), top) << int(c.style) << " line " << i;
            EXPECT_EQ(r.width(), Viewport()->width());
            EXPECT_EQ(list->ItemAtPos(r.center(), true), i);
            top += r.height();
        }
        EXPECT_EQ(list->ItemAtPos(QPoint(5, top + 3), false), 5) << "below the last line";
        EXPECT_EQ(list->ItemAtPos(QPoint(5, top + 3), true), -1);
        EXPECT_EQ(list->ItemAtPos(QPoint(-1, 2), false), -1) << "outside the client area";
        EXPECT_TRUE(list->ItemRect(5).isEmpty());
    }
    EXPECT_EQ(list->ItemHeight(), 22);
    list->SetStyle(lbStandard);
    EXPECT_EQ(list->ItemHeight(), fontHeight);

    // Lines wider than the list: a horizontal extent.
    list->SetScrollWidth(400);
    EXPECT_EQ(list->ItemRect(0).width(), 400);
    EXPECT_GT(list->ListWidget()->horizontalScrollBar()->maximum(), 0);
    list->SetScrollWidth(0);
    EXPECT_EQ(list->ListWidget()->horizontalScrollBar()->maximum(), 0);

    // Lines enough for a vertical scroll bar: they narrow to the list's new width.
    form->Show();
    for (int i = 0; i < 30; ++i) list->Items()->Add("more");
    EXPECT_TRUE(testsupport::WaitFor([&] { return list->ListWidget()->verticalScrollBar()->isVisible(); }, 2000));
    EXPECT_TRUE(testsupport::WaitFor([&] { return list->ItemRect(0).width() == Viewport()->width(); }, 2000));
    EXPECT_EQ(list->ListWidget()->horizontalScrollBar()->maximum(), 0);
}

TEST_F(ListBoxTest, OwnerDrawingGetsEachLineWithItsStateOnAPainterInItsColours)
{
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    list->SetOnDrawItem(TDrawItemEvent(&recorder, &Recorder::Draw));
    list->SetItemIndex(1);
    EXPECT_EQ(list->Canvas(), nullptr);
    const QImage image = list->ListWidget()->viewport()->grab().toImage();
    ASSERT_EQ(recorder.drawn.size(), 5);
    for (const auto& [index, rect, state, brush, pen, _] : recorder.drawn) {
        const bool selected = index == 1;
        EXPECT_EQ(rect, list->ItemRect(index));
        EXPECT_EQ(bool(state & odSelected), selected) << index;
        EXPECT_EQ(brush, ColorToQColor(selected ? clHighlight : clWindow)) << index;
        EXPECT_EQ(pen, ColorToQColor(selected ? clHighlightText : clWindowText)) << index;
        EXPECT_EQ(image.pixelColor(rect.center()), QColor(Qt::green)) << index;
    }

    // The focused line gets the dotted focus frame over what the handler drew.
    form->Show();
    list->SetFocus();
    ASSERT_TRUE(testsupport::WaitFor([this] { return list->Focused(); }, 5000));
    recorder.drawn.clear();
    const QImage focused = list->ListWidget()->viewport()->grab().toImage();
    const QRect line = list->ItemRect(1);
    EXPECT_TRUE(std::ranges::any_of(recorder.drawn,
                                    [](const auto& d) { return std::get<0>(d) == 1 && (std::get<2>(d) & odFocused); }));
    EXPECT_EQ(focused.pixelColor(line.topLeft()), QColor(Qt::magenta));  // green inverted
    EXPECT_EQ(focused.pixelColor(line.topLeft() + QPoint(1, 0)), QColor(Qt::green));

    // The standard style draws its lines itself: text on the list's colour, highlighted when chosen.
    list->SetStyle(lbStandard);
    recorder.drawn.clear();
    const QImage standard = list->ListWidget()->viewport()->grab().toImage();
    EXPECT_TRUE(recorder.drawn.isEmpty());
    const QRect chosen = list->ItemRect(1), other = list->ItemRect(3);
    EXPECT_EQ(standard.pixelColor(chosen.right() - 1, chosen.center().y()), ColorToQColor(clHighlight));
    EXPECT_EQ(standard.pixelColor(other.right() - 1, other.center().y()), ColorToQColor(clWindow));
    int ink = 0;
    for (int x = other.left(); x < other.left() + 30; ++x)
        for (int y = other.top(); y <= other.bottom(); ++y) ink += standard.pixelColor(x, y) != ColorToQColor(clWindow);
    EXPECT_GT(ink, 10);  // "three" is written
}

TEST_F(ListBoxTest, ItemsSelectionAndScrollingInCodeFireNothing)
{
    list->SetOnClick(TNotifyEvent(&recorder, &Recorder::Click));
    int object = 7;
    list->Items()->PutObject(2, &object);
    EXPECT_EQ(list->Items()->Objects(2), &object);
    EXPECT_EQ(list->Items()->IndexOfObject(&object), 2);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetItemIndex(3);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_TRUE(list->Selected(3));
    list->SetItemIndex(9);  // out of range: none
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetSelected(2, true);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->Items()->Delete(2);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Items()->ToStringList(), QStringList({"zero", "one", "three", "four"}));

    list->SetMultiSelect(true);
    list->SetSelected(0, true);
    list->SetSelected(3, true);
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_FALSE(list->Selected(1));

    list->SetMultiSelect(false);
    for (int i = 0; i < 40; ++i) list->Items()->Add(QStringLiteral("more %1").arg(i));
    EXPECT_EQ(list->TopIndex(), 0);
    list->SetTopIndex(10);
    EXPECT_EQ(list->TopIndex(), 10);
    EXPECT_EQ(list->ItemAtPos(QPoint(3, 1), true), 10);
    list->Clear();
    EXPECT_EQ(list->Items()->Count(), 0);
    EXPECT_EQ(list->TopIndex(), 0);
    EXPECT_TRUE(recorder.events.isEmpty());
}

TEST_F(ListBoxTest, TheUsersClicksAndKeysArriveAfterTheListsOwnHandling)
{
    list->SetOnClick(TNotifyEvent(&recorder, &Recorder::Click));
    list->SetOnDblClick(TNotifyEvent(&recorder, &Recorder::DblClick));
    list->SetOnMouseDown(TMouseEvent(&recorder, &Recorder::MouseDown));
    list->SetOnMouseUp(TMouseEvent(&recorder, &Recorder::MouseUp));
    list->SetOnKeyDown(TKeyEvent(&recorder, &Recorder::KeyDown));
    list->SetOnKeyPress(TKeyPressEvent(&recorder, &Recorder::KeyPress));
    form->Show();
    const QPoint two = Centre(2);
    const QString at = QStringLiteral("%1,%2").arg(two.x()).arg(two.y());
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, two);
    EXPECT_EQ(recorder.Take(), QStringList({"down 0 " + at, "click 2", "up 0 " + at}));
    QTest::mouseClick(Viewport(), Qt::RightButton, {}, Centre(4));  // a right click chooses no line
    EXPECT_EQ(list->ItemIndex(), 2);
    recorder.Take();

    QTest::keyClick(list->ListWidget(), Qt::Key_Down);
    EXPECT_EQ(recorder.Take(), QStringList({QStringLiteral("key %1").arg(VK_DOWN), "click 3"}));
    recorder.swallow = VK_DOWN;
    QTest::keyClick(list->ListWidget(), Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 3);
    QTest::keyClick(list->ListWidget(), Qt::Key_Space);
    EXPECT_EQ(recorder.Take(),
              QStringList({QStringLiteral("key %1").arg(VK_DOWN), QStringLiteral("key %1").arg(VK_SPACE), "char  "}));

    DoubleClick(Viewport(), two);
    EXPECT_EQ(recorder.Take(), QStringList({"down 0 " + at, "click 2", "up 0 " + at, "down 0 " + at + " double",
                                            "dblclick", "click 2", "up 0 " + at}));
}

TEST(ListBoxDoubleClicks, ADoubleClickCanCountAsASecondPress)
{
    struct TTwoPressList : TListBox {
        using TListBox::TListBox;
        QStringList seen;
        void MouseDown(TMouseButton, TShiftState shift, int x, int) override
        {
            seen << QStringLiteral("down%1").arg(shift & ssDouble ? " double" : "");
            (void)x;
        }
        void DblClick() override { seen << "dblclick"; }
        bool DoubleClickIsPress(int x, int) const override { return x < 15; }
    };
    TForm form(nullptr);
    auto* list = new TTwoPressList(&form);
    list->SetParent(&form);
    list->Items()->Add("line");
    form.Show();
    QWidget* viewport = list->ListWidget()->viewport();
    const int y = list->ItemRect(0).center().y();
    DoubleClick(viewport, QPoint(5, y));  // inside the check column
    EXPECT_EQ(list->seen, QStringList({"down", "down"}));
    list->seen.clear();
    DoubleClick(viewport, QPoint(40, y));
    EXPECT_EQ(list->seen, QStringList({"down", "down double", "dblclick"}));
}
