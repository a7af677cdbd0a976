// The date routines (month arithmetic, the locale's date text read back leniently) and the
// month list that opens over the navigator's header.
#include "DatesFixture.h"
#include "dxBarMonthList.h"

#include <QImage>
#include <memory>

namespace {

TEST_F(DatesTest, MonthsMoveAcrossYearsAndFebruaryFollowsTheLeapYears)
{
    const struct {
        int year, month, delta, toYear, toMonth;
    } moves[] = {
        {2024, 1, -1, 2023, 12}, {2024, 1, -13, 2022, 12}, {2024, 12, 1, 2025, 1},
        {2024, 5, 24, 2026, 5},  {2024, 5, -17, 2022, 12}, {2024, 12, -12, 2023, 12},
    };
    for (const auto& m : moves) {
        int year = m.year, month = m.month;
        dxBarChangeMonth(year, month, m.delta);
        EXPECT_EQ(QPoint(year, month), QPoint(m.toYear, m.toMonth)) << m.year << "-" << m.month << " by " << m.delta;
    }
    int year = 2024, month = 1;
    DecMonth(year, month);
    EXPECT_EQ(QPoint(year, month), QPoint(2023, 12));
    IncMonth(year, month);
    EXPECT_EQ(QPoint(year, month), QPoint(2024, 1));

    const struct {
        int year, february;
    } years[] = {{1900, 28}, {2000, 29}, {2023, 28}, {2024, 29}, {2100, 28}};
    for (const auto& y : years) EXPECT_EQ(dxBarDaysPerMonth(y.year, 2), y.february) << y.year;

    // A month step keeps the day where the month has it and clamps it where not.
    EXPECT_EQ(Iso(dxBarAddMonths(Day(2024, 3, 31), -1)), "2024-02-29");
    EXPECT_EQ(Iso(dxBarAddMonths(Day(2023, 3, 31), -1)), "2023-02-28");
    EXPECT_EQ(Iso(dxBarAddMonths(Day(2024, 1, 15), 1)), "2024-02-15");
    EXPECT_EQ(dxBarCheckDay(2024, 4, 31), 30);
    EXPECT_EQ(dxBarCheckDay(2024, 4, 0), 1);
    EXPECT_EQ(dxBarDatePart(Day(2024, 9, 10), 2), 9);
    EXPECT_EQ(dxBarDatePart(Day(2024, 9, 10), 4), -1);
    // Day numbers count from 30 December 1899; the time of day does not move the day.
    EXPECT_EQ(Day(1899, 12, 30), 0.0);
    EXPECT_EQ(Iso(45545.75), "2024-09-10");
    EXPECT_EQ(dxBarToday(), Day(2024, 9, 10));
}

TEST_F(DatesTest, DatesHaveFourDigitYearsAndAreReadBackFromAnySeparators)
{
    const struct {
        const char* locale;
        int year, month, day;
        const char* written;
        const char* text;  // with the weekday
        std::vector<const char*> alsoRead;
    } cases[] = {
        {"en_US",
         2024,
         9,
         3,
         "9/3/2024",
         "Tue 9/3/2024",
         {"09/03/2024", "9.3.24", "9 3 2024", "2024-09-03", "Tue, 9-3-24"}},
        {"en_US", 1944, 1, 1, "1/1/1944", "Sat 1/1/1944", {"1/1/44", "01 01 1944"}},
        {"en_US", 2043, 12, 31, "12/31/2043", "Thu 12/31/2043", {"12/31/43"}},
        {"de_DE",
         2024,
         9,
         3,
         "03.09.2024",
         "Di. 03.09.2024",
         {"3.9.24", "3 9 2024", "3/9/2024", "2024.9.3", "Di 3-9-2024"}},
        // A first word with a digit is no weekday.
        {"de_DE", 2024, 5, 3, "03.05.2024", "Fr. 03.05.2024", {"3 5 2024"}},
    };
    for (const auto& c : cases) {
        SetLocale(c.locale);
        const double date = Day(c.year, c.month, c.day);
        EXPECT_EQ(dxBarDateToStr(date), c.written) << c.locale;
        EXPECT_EQ(dxBarDateToText(date), c.text) << c.locale;
        EXPECT_EQ(Iso(dxBarTextToDate(c.text)), Iso(date)) << c.locale << " " << c.text;
        for (const char* text : c.alsoRead) {
            EXPECT_EQ(Iso(dxBarStrToDate(text)), Iso(date)) << c.locale << " " << text;
            EXPECT_EQ(Iso(dxBarTextToDate(text)), Iso(date)) << c.locale << " " << text;
        }
    }
}

TEST_F(DatesTest, TextWithoutAValidDateIsTheNullDateAndTheNullDateIsEmpty)
{
    const char* texts[] = {"",        "today",     "9/3",        "9/3/2024/1", "2/30/2024", "13/1/2024",
                           "9/3/202", "9/3/20245", "123/3/2024", "0/1/2024",   "Tue"};
    for (const char* text : texts) EXPECT_EQ(dxBarStrToDate(text), dxBarNullDate) << text;
    EXPECT_EQ(dxBarDateToStr(dxBarNullDate), "");
    EXPECT_EQ(dxBarDateToText(dxBarNullDate), "");
    EXPECT_EQ(dxBarTextToDate(""), dxBarNullDate);
}

TEST_F(DatesTest, EveryDayFrom1900To2100ReadsBackFromItsTextInEachLocale)
{
    // The C locale's short format names the month.
    for (const char* locale : {"en_US", "de_DE", "C"}) {
        SetLocale(locale);
        int failures = 0;
        for (double date = Day(1900, 1, 1), last = Day(2100, 12, 31); date <= last && failures < 5; ++date) {
            const QString text = dxBarDateToText(date);
            if (dxBarTextToDate(text) != date) {
                ADD_FAILURE() << locale << ": " << text.toStdString() << " is not " << Iso(date).toStdString();
                ++failures;
            }
        }
    }
}

class MonthListTest : public DatesTest {
protected:
    void SetUp() override
    {
        DatesTest::SetUp();
        list = std::make_unique<TAMonthListBox>(nullptr, form->Handle());
        list->FontChanged(TestFont(), kHeader, kColumn);
        list->SetTopDate(Day(2024, 6, 1));
    }
    void TearDown() override
    {
        list.reset();
        DatesTest::TearDown();
    }
    static constexpr int kHeader = 17, kColumn = 21;
    std::unique_ptr<TAMonthListBox> list;
};

TEST_F(MonthListTest, SevenRowsOfTheHeadersHeightShowMonthsFromTheTopAndTheHoveredOneIsChosen)
{
    EXPECT_EQ(list->ItemHeight(), kHeader - 2);
    EXPECT_EQ(QSize(list->Width(), list->Height()), QSize(2 + 6 * kColumn, 2 + 7 * (kHeader - 2)));
    EXPECT_EQ(list->ChosenDate(), dxBarNullDate);
    const int h = list->ItemHeight();
    const struct {
        int y;
        const char* chosen;
    } rows[] = {{0, "2024-06-01"}, {h - 1, "2024-06-01"}, {h, "2024-07-01"}, {7 * h - 1, "2024-12-01"}};
    for (const auto& r : rows) {
        list->MouseMove({10, r.y}, {});
        EXPECT_EQ(Iso(list->ChosenDate()), r.chosen) << r.y;
    }
    // The hovered row is drawn inverted, the others in the window's colours.
    list->MouseMove({10, 3 * h + 1}, {});
    const QImage image = list->Snapshot();
    const QPoint inRow(1 + 2, 1 + 3 * h + 1), otherRow(1 + 2, 1 + 2 * h + 1);
    EXPECT_EQ(QColor(image.pixel(inRow)), SysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(QColor(image.pixel(otherRow)), SysColor(COLOR_WINDOW));
    // Leaving the rows sideways chooses nothing.
    list->MouseMove({-5, 3 * h + 1}, {});
    EXPECT_EQ(list->ChosenDate(), dxBarNullDate);
}

TEST_F(MonthListTest, ACursorAboveOrBelowScrollsFasterWithTheDistanceAndBesideItNot)
{
    const int height = list->ClientRect().Height();
    const struct {
        int x, y;
        int id, interval;
    } cases[] = {
        {10, -1, 4, 500},          {10, -11, 4, 500},        {10, -12, 3, 250},       {10, -24, 2, 100},
        {10, -40, 1, 50},          {10, -400, 1, 50},        {10, height, 6, 500},    {10, height + 11, 7, 250},
        {10, height + 23, 8, 100}, {10, height + 99, 9, 50}, {-20, height / 2, 0, 0}, {500, 5, 0, 0},
    };
    for (const auto& c : cases) {
        list->MouseMove({10, 5}, {});  // inside: no timer
        ASSERT_EQ(list->ScrollTimer(), 0);
        list->MouseMove({c.x, c.y}, {});
        EXPECT_EQ(list->ScrollTimer(), c.id) << c.y;
        EXPECT_EQ(list->TimerInterval(c.id), c.interval) << c.y;
        EXPECT_EQ(list->Hovered(), -1);
    }

    // Each tick moves a month: back above, forward below; a move at the same speed keeps the timer.
    list->MouseMove({10, -5}, {});
    list->Timer(4);
    list->Timer(4);
    EXPECT_EQ(Iso(list->TopDate()), "2024-04-01");
    list->MouseMove({10, height + 2}, {});
    list->Timer(6);
    EXPECT_EQ(Iso(list->TopDate()), "2024-05-01");
    list->MouseMove({10, height + 5}, {});
    EXPECT_EQ(list->ScrollTimer(), 6);
    EXPECT_TRUE(list->TimerActive(6));
    list->Timer(4);  // a stale tick of the timer before
    EXPECT_EQ(Iso(list->TopDate()), "2024-05-01");
}

}  // namespace
