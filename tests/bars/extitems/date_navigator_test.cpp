// The date navigator: its layout in both locales, the dates under points, its keys, the shown
// month following the selection, and the arrows, buttons and month list under press and release.
#include "DatesFixture.h"
#include "dxBarDateNavigator.h"
#include "dxBarDrawing.h"
#include "dxBarMonthList.h"

#include <QImage>
#include <memory>

namespace {

class NavigatorTest : public DatesTest {
protected:
    void SetUp() override
    {
        DatesTest::SetUp();
        combo = Create<TdxBarCombo>(form.get());
        MakeNavigator(true);
    }
    void TearDown() override
    {
        navigator.reset();
        DatesTest::TearDown();
    }
    void MakeNavigator(bool popup)
    {
        navigator.reset();
        navigator = std::make_unique<TdxBarDateNavigator>(combo, popup, popup ? nullptr : form->Handle());
        navigator->SetShowButtons(true, true);
        navigator->OnDateSelected = TNotifyEvent(&recorder, &TSelected::Selected);
    }
    // Shows the month of a date with that date selected.
    void Select(double date)
    {
        navigator->SetFirstDate(date);
        navigator->SetSelStart(date);
    }
    TPoint CellPoint(int column, int row) const { return navigator->Layout().Cell(column, row).ToQRect().center(); }
    TPoint Centre(const TRect& r) const { return r.ToQRect().center(); }
    void Click(const TPoint& down, const TPoint& up)
    {
        navigator->LButtonDown(down, {});
        navigator->MouseMove(up, {});
        navigator->LButtonUp(up, {});
    }

    struct TSelected : QObject {
        void Selected(TObject*) { ++count; }
        int count = 0;
    } recorder;
    TdxBarCombo* combo = nullptr;
    std::unique_ptr<TdxBarDateNavigator> navigator;
};

TEST_F(NavigatorTest, TheDropDownAddsTheButtonsBelowTheGridSplittingOrCentringThem)
{
    const TDateNavigatorLayout& layout = navigator->Layout();
    const TDateNavigatorMetrics m = layout.M;  // a copy: the navigator is made anew below
    // The flat drop-down: a 1-pixel frame round seven columns between two sides.
    EXPECT_EQ(navigator->GetDrawStyle(), 2);
    EXPECT_EQ(navigator->Width(), 2 + 2 * m.SideWidth + 7 * m.ColumnWidth);
    const int withBoth = navigator->Height();
    const TRect today = layout.TodayButton(), clear = layout.ClearButton();
    const int width = layout.ClientSize().width();
    // Three equal gaps round the two buttons, which stand in the region below the grid.
    EXPECT_NEAR(today.Left, clear.Left - today.Right, 1);
    EXPECT_NEAR(today.Left, width - clear.Right, 2);
    EXPECT_GE(today.Top, layout.Cells().Bottom);
    EXPECT_LE(today.Bottom, layout.ClientSize().height());
    EXPECT_EQ(today.Top, clear.Top);
    EXPECT_GT(today.Width(), TextExtent(navigator->Font(), dxBarTodayText()).width());

    navigator->SetShowButtons(false, true);
    EXPECT_EQ(navigator->Height(), withBoth);
    EXPECT_TRUE(layout.TodayButton().IsEmpty());
    EXPECT_NEAR(layout.ClearButton().Left, width - layout.ClearButton().Right, 1);
    navigator->SetShowButtons(false, false);
    EXPECT_EQ(navigator->Height(), withBoth - m.ButtonsRegionHeight);
    // The dialog's calendar never has the buttons, and in the standard look a drop-down
    // has its dialog frame round the sunken edge.
    MakeNavigator(false);
    EXPECT_EQ(navigator->Height(), withBoth - m.ButtonsRegionHeight);
    EXPECT_TRUE(navigator->Layout().TodayButton().IsEmpty());
    manager->SetStyle(bmsStandard);
    MakeNavigator(true);
    EXPECT_EQ(navigator->GetDrawStyle(), 1);
    EXPECT_EQ(navigator->Width(), 2 * (1 + GetSystemMetrics(SM_CXDLGFRAME)) + 2 * m.SideWidth + 7 * m.ColumnWidth);

    // The figures for DejaVu Sans -11.
    manager->SetStyle(bmsFlat);
    MakeNavigator(true);
    EXPECT_EQ(QSize(navigator->Width(), navigator->Height()),
              QSize(2 + 2 * 14 + 7 * 21, 2 + 18 + 16 + 6 * 15 + 1 + 30));
}

TEST_F(NavigatorTest, TheGridStartsOnTheLocalesFirstWeekDayWithAWholeWeekBeforeAMonthStartingThere)
{
    const struct {
        const char* locale;
        int year, month;
        const char* first;
        const char* last;
        const char* letters;
    } cases[] = {
        {"en_US", 2024, 9, "2024-08-25", "2024-10-05", "SMTWTFS"},  // starts on Sunday, the first day
        {"en_US", 2024, 10, "2024-09-29", "2024-11-09", "SMTWTFS"},
        {"en_US", 2026, 2, "2026-01-25", "2026-03-07", "SMTWTFS"},  // 28 days from Sunday: still six rows
        {"de_DE", 2024, 9, "2024-08-26", "2024-10-06", "MDMDFSS"},
        {"de_DE", 2024, 4, "2024-03-25", "2024-05-05", "MDMDFSS"},  // starts on Monday, the first day
    };
    for (const auto& c : cases) {
        SetLocale(c.locale);
        MakeNavigator(true);
        navigator->SetFirstDate(Day(c.year, c.month, 17));
        EXPECT_EQ(Iso(navigator->FirstDate()), Iso(Day(c.year, c.month, 1)));
        EXPECT_EQ(Iso(navigator->GetFirstDate()), c.first) << c.locale;
        EXPECT_EQ(Iso(navigator->GetLastDate()), c.last) << c.locale;
        QString letters;
        for (int column = 0; column < 7; ++column) letters += dxBarDayLetter(column, dxBarFirstWeekDay());
        EXPECT_EQ(letters, c.letters) << c.locale;
        EXPECT_EQ(Iso(navigator->PosToDate(CellPoint(0, 0))), c.first);
        EXPECT_EQ(Iso(navigator->PosToDate(CellPoint(6, 5))), c.last);
    }
}

TEST_F(NavigatorTest, PointsGiveTheDateOfTheirCellAndNoneOutsideTheCells)
{
    navigator->SetFirstDate(Day(2024, 9, 1));
    const TDateNavigatorLayout& layout = navigator->Layout();
    const TRect cells = layout.Cells();
    const struct {
        TPoint at;
        const char* date;  // "" for none
    } cases[] = {
        {cells.TopLeft(), "2024-08-25"},
        {{cells.Right - 1, cells.Bottom - 1}, "2024-10-05"},
        {{cells.Left + layout.M.ColumnWidth, cells.Top + layout.M.RowHeight}, "2024-09-02"},
        {{cells.Left + layout.M.ColumnWidth - 1, cells.Top + layout.M.RowHeight - 1}, "2024-08-25"},
        {{cells.Left - 1, cells.Top + 5}, ""},
        {{cells.Right, cells.Top + 5}, ""},
        {{cells.Left + 5, cells.Top - 1}, ""},
        {{cells.Left + 5, cells.Bottom}, ""},
        {Centre(layout.HeaderText()), ""},
        {Centre(layout.TodayButton()), ""},
        {{-3, cells.Top + 5}, ""},
    };
    for (const auto& c : cases) {
        const double date = navigator->PosToDate(c.at);
        EXPECT_EQ(date == dxBarNullDate ? QString() : Iso(date), c.date) << c.at.x() << "," << c.at.y();
    }
}

TEST_F(NavigatorTest, KeysMoveTheSelectionFromItOrFromTodayAndTheMonthFollows)
{
    const struct {
        const char* locale;
        double from;
        int key;
        TShiftState shift;
        const char* to;
    } cases[] = {
        {"en_US", Day(2024, 9, 10), VK_LEFT, {}, "2024-09-09"},
        {"en_US", Day(2024, 9, 10), VK_RIGHT, {}, "2024-09-11"},
        {"en_US", Day(2024, 9, 10), VK_UP, {}, "2024-09-03"},
        {"en_US", Day(2024, 9, 30), VK_DOWN, {}, "2024-10-07"},
        {"en_US", Day(2024, 3, 31), VK_PRIOR, {}, "2024-02-29"},
        {"en_US", Day(2023, 1, 31), VK_NEXT, {}, "2023-02-28"},
        {"en_US", Day(2024, 9, 10), VK_HOME, {}, "2024-09-08"},
        {"de_DE", Day(2024, 9, 10), VK_HOME, {}, "2024-09-09"},
        {"en_US", Day(2024, 9, 10), VK_END, {}, "2024-09-14"},
        {"de_DE", Day(2024, 9, 10), VK_END, {}, "2024-09-15"},
        {"en_US", Day(2024, 9, 10), VK_HOME, ssCtrl, "2024-09-01"},
        {"en_US", Day(2024, 2, 10), VK_END, ssCtrl, "2024-02-29"},
        {"en_US", Day(2024, 9, 10), VK_HOME, TShiftState(ssCtrl) | ssShift, "2024-09-08"},
        {"en_US", Day(2024, 9, 10), VK_END, TShiftState(ssCtrl) | ssAlt, "2024-09-14"},
        {"en_US", dxBarNullDate, VK_RIGHT, {}, "2024-09-11"},  // no selection: from today
        {"en_US", dxBarNullDate, VK_PRIOR, {}, "2024-08-10"},
    };
    for (const auto& c : cases) {
        SetLocale(c.locale);
        MakeNavigator(true);
        navigator->SetFirstDate(Day(2024, 9, 1));
        navigator->SetSelStart(c.from);
        EXPECT_TRUE(navigator->NavigatorKeyDown(c.key, c.shift));
        EXPECT_EQ(Iso(navigator->GetSelStart()), c.to) << c.locale << " key " << c.key;
        EXPECT_EQ(navigator->GetSelFinish(), navigator->GetSelStart());
        // The selection stays in the grid.
        EXPECT_LE(navigator->GetFirstDate(), navigator->GetSelStart()) << c.to;
        EXPECT_GE(navigator->GetLastDate(), navigator->GetSelStart()) << c.to;
    }
    EXPECT_EQ(recorder.count, 0);
    EXPECT_FALSE(navigator->NavigatorKeyDown('A', {}));
    EXPECT_TRUE(navigator->NavigatorKeyDown(VK_RETURN, {}));
    EXPECT_EQ(recorder.count, 1);
    // The dialog's calendar takes no keys of its own.
    MakeNavigator(false);
    EXPECT_FALSE(navigator->NavigatorKeyDown(VK_RIGHT, {}));
}

TEST_F(NavigatorTest, TheShownMonthMovesOnlyAsFarAsTheSelectionNeeds)
{
    const struct {
        double selected;
        const char* shown;  // the first of the shown month
    } cases[] = {
        {Day(2024, 9, 20), "2024-09-01"},  {Day(2024, 10, 5), "2024-09-01"},  // the grid's last cell
        {Day(2024, 8, 25), "2024-09-01"},                                     // its first
        {Day(2024, 8, 24), "2024-08-01"},                                     // one before
        {Day(2024, 8, 3), "2024-07-01"},  // the month before the selection's reaches it
        {Day(2024, 10, 6), "2024-10-01"},  {Day(2020, 3, 15), "2020-03-01"},  // the month before does not reach it
        {Day(2025, 12, 20), "2025-12-01"}, {dxBarNullDate, "2024-09-01"},     // no selection keeps the month
    };
    for (const auto& c : cases) {
        Select(Day(2024, 9, 10));
        navigator->SetSelStart(c.selected);
        EXPECT_EQ(Iso(navigator->FirstDate()), c.shown) << Iso(c.selected).toStdString();
    }
}

TEST_F(NavigatorTest, TodayAndClearChooseOnAReleaseOverThemAndTheMonthListShowsTheHoveredMonth)
{
    const TDateNavigatorLayout& layout = navigator->Layout();
    Select(Day(2024, 5, 20));

    // A press on Clear takes it down; leaving it lets it up, and a release there chooses nothing.
    navigator->LButtonDown(Centre(layout.ClearButton()), {});
    EXPECT_TRUE(navigator->ClearActive());
    EXPECT_TRUE(navigator->ClearPressed());
    navigator->MouseMove(CellPoint(3, 3), {});
    EXPECT_FALSE(navigator->ClearPressed());
    navigator->LButtonUp(CellPoint(3, 3), {});
    EXPECT_FALSE(navigator->ClearActive());
    EXPECT_EQ(Iso(navigator->GetSelStart()), "2024-05-20");
    EXPECT_EQ(recorder.count, 0);

    // Clear: no date, none drawn selected, the month stays, and the choice is told.
    Click(Centre(layout.ClearButton()), Centre(layout.ClearButton()));
    EXPECT_EQ(navigator->GetSelStart(), dxBarNullDate);
    EXPECT_EQ(Iso(navigator->FirstDate()), "2024-05-01");
    EXPECT_EQ(recorder.count, 1);
    const QColor selection = ColorToQColor(dxBarFlatColors().Selected);
    const QImage cleared = navigator->Snapshot();
    const TPoint frame(layout.NonClient, layout.NonClient);
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 7; ++column)
            ASSERT_NE(QColor(cleared.pixel(layout.Cell(column, row).TopLeft() + frame + TPoint(2, 2))), selection);
    const QImage selected = (Select(Day(2024, 5, 20)), navigator->Snapshot());
    EXPECT_EQ(QColor(selected.pixel(layout.Cell(1, 3).TopLeft() + frame + TPoint(2, 2))), selection);
    navigator->SetSelStart(dxBarNullDate);

    // Today: today's month and date.
    Click(Centre(layout.TodayButton()), Centre(layout.TodayButton()));
    EXPECT_EQ(Iso(navigator->GetSelStart()), "2024-09-10");
    EXPECT_EQ(Iso(navigator->FirstDate()), "2024-09-01");
    EXPECT_EQ(recorder.count, 2);

    // A click on a date chooses it; a drag off the client area goes back to the old date.
    Click(CellPoint(2, 2), CellPoint(2, 2));
    EXPECT_EQ(Iso(navigator->GetSelStart()), "2024-09-10");
    EXPECT_EQ(recorder.count, 3);
    Click(CellPoint(4, 3), {-10, -10});
    EXPECT_EQ(Iso(navigator->GetSelStart()), "2024-09-10");
    EXPECT_EQ(recorder.count, 3);

    // The month list opens over the header text with the shown month in its fourth row; the
    // navigator keeps the mouse and a release on a row shows that month, choosing no date.
    navigator->LButtonDown(Centre(layout.HeaderText()), {});
    TAMonthListBox* list = navigator->MonthList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->Visible());
    EXPECT_EQ(TWindow::GetCapture(), navigator.get());
    EXPECT_EQ(Iso(list->TopDate()), "2024-06-01");
    const TRect header = layout.HeaderText();
    const TPoint headerCentre = navigator->ClientToScreen(header.ToQRect().center());
    EXPECT_NEAR(list->WindowRect().ToQRect().center().x(), headerCentre.x(), 1);
    EXPECT_NEAR(list->WindowRect().ToQRect().center().y(), headerCentre.y(), 1);
    const TPoint sixthRow =
        navigator->ScreenToClient(list->ClientToScreen({10, 5 * list->ItemHeight() + list->ItemHeight() / 2}));
    navigator->MouseMove(sixthRow, {});
    EXPECT_EQ(list->Hovered(), 5);
    navigator->LButtonUp(sixthRow, {});
    EXPECT_EQ(navigator->MonthList(), nullptr);
    EXPECT_EQ(Iso(navigator->FirstDate()), "2024-11-01");
    EXPECT_EQ(Iso(navigator->GetSelStart()), "2024-09-10");
    EXPECT_EQ(recorder.count, 3);
    EXPECT_EQ(TWindow::GetCapture(), nullptr);

    // Released beside the list: no month.
    navigator->LButtonDown(Centre(header), {});
    navigator->MouseMove({-40, header.Top}, {});
    navigator->LButtonUp({-40, header.Top}, {});
    EXPECT_EQ(Iso(navigator->FirstDate()), "2024-11-01");

    // Losing the capture closes the list and lets the buttons up.
    navigator->LButtonDown(Centre(header), {});
    TWindow other(nullptr, {});
    other.SetCapture();
    EXPECT_EQ(navigator->MonthList(), nullptr);
    navigator->LButtonDown(Centre(layout.TodayButton()), {});
    other.SetCapture();
    EXPECT_FALSE(navigator->TodayActive());
    TWindow::ReleaseCapture();
    EXPECT_EQ(recorder.count, 3);
}

TEST_F(NavigatorTest, AHeldArrowStepsAMonthAtOnceAndEvery170MillisecondsWhileOverIt)
{
    const TDateNavigatorLayout& layout = navigator->Layout();
    const struct {
        TRect arrow;
        int id;
        const char* steps[3];  // after the press, one tick, a tick off the arrow
    } cases[] = {
        {layout.LeftArrow(), 1, {"2024-08-01", "2024-07-01", "2024-07-01"}},
        {layout.RightArrow(), 2, {"2024-10-01", "2024-11-01", "2024-11-01"}},
    };
    for (const auto& c : cases) {
        Select(Day(2024, 9, 10));
        navigator->LButtonDown(Centre(c.arrow), {});
        EXPECT_EQ(navigator->ArrowTimer(), c.id);
        EXPECT_EQ(navigator->TimerInterval(c.id), 170);
        EXPECT_EQ(Iso(navigator->FirstDate()), c.steps[0]);
        navigator->Timer(c.id);
        EXPECT_EQ(Iso(navigator->FirstDate()), c.steps[1]);
        navigator->MouseMove(CellPoint(3, 3), {});
        navigator->Timer(c.id);
        EXPECT_EQ(Iso(navigator->FirstDate()), c.steps[2]);
        navigator->LButtonUp(CellPoint(3, 3), {});
        EXPECT_EQ(navigator->ArrowTimer(), 0);
        EXPECT_FALSE(navigator->TimerActive(c.id));
        // The selection stays where it was, and nothing was chosen.
        EXPECT_EQ(Iso(navigator->GetSelStart()), "2024-09-10");
    }
    EXPECT_EQ(recorder.count, 0);
}

}  // namespace
