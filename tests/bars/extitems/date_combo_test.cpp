// The date combo: its text is a date or empty, "+" and "-" step the date in its editor, and its
// calendar drops down on the date or today, takes the editor's keys and chooses.
#include "DatesFixture.h"
#include "dxBarDateCombo.h"
#include "dxBarDateNavigator.h"

#include <QCursor>
#include <QLineEdit>
#include <QTest>

namespace {

class DateComboTest : public DatesTest {
protected:
    void SetUp() override
    {
        DatesTest::SetUp();
        combo = Create<TdxBarDateCombo>(form.get());
        combo->SetCaption("Due");
        combo->SetWidth(160);
    }
    void TearDown() override
    {
        DatesTest::TearDown();
        QCursor::setPos(700, 700);
    }
    // The combo on a painted row bar, its text box clicked: its control.
    TdxBarDateComboControl* Edit()
    {
        if (!window) {
            bar->ItemLinks()->Add()->SetItem(combo);
            Open();
            window->Snapshot();
        }
        auto* c = dynamic_cast<TdxBarDateComboControl*>(Link(0)->Control());
        const TPoint at = c->ButtonRect.TopLeft() + TPoint(-20, 4);
        QCursor::setPos(window->ClientToScreen(at));
        window->LButtonDown(at, {});
        window->LButtonUp(at, {});
        return c;
    }

    TdxBarDateCombo* combo = nullptr;
};

TEST_F(DateComboTest, TheTextIsTheWeekdayAndTheDateOrEmpty)
{
    EXPECT_EQ(combo->Text(), "Tue 9/10/2024");  // today
    const struct {
        const char* locale;
        const char* set;
        const char* text;
    } cases[] = {
        {"en_US", "9/3/24", "Tue 9/3/2024"},
        {"en_US", "Fri 9/3/2024", "Tue 9/3/2024"},  // the weekday follows the date
        {"en_US", "2024-12-31", "Tue 12/31/2024"},
        {"en_US", "next week", ""},
        {"en_US", "2/30/2024", ""},
        {"de_DE", "Mon 01.07.2024", "Mo. 01.07.2024"},
        {"de_DE", "1 7 24", "Mo. 01.07.2024"},
        {"de_DE", "", ""},
    };
    for (const auto& c : cases) {
        SetLocale(c.locale);
        combo->SetText(c.set);
        EXPECT_EQ(combo->Text(), c.text) << c.locale << " " << c.set;
        EXPECT_EQ(combo->Date() == dxBarNullDate, QString(c.text).isEmpty());
    }
    combo->SetDate(Day(2024, 2, 29));
    EXPECT_EQ(combo->Text(), "Do. 29.02.2024");
    combo->SetDate(dxBarNullDate);
    EXPECT_EQ(combo->Text(), "");
}

TEST_F(DateComboTest, PlusAndMinusStepADateInTheEditorAndAreOtherwiseTypedOrSwallowed)
{
    const struct {
        const char* locale;
        const char* text;
        const char* keys;
        const char* after;
    } cases[] = {
        {"en_US", "Tue 9/10/2024", "+", "Wed 9/11/2024"},
        {"en_US", "Tue 9/10/2024", "--", "Sun 9/8/2024"},
        {"en_US", "Tue 12/31/2024", "+", "Wed 1/1/2025"},
        {"en_US", "", "+", ""},                     // swallowed
        {"en_US", "", "9-", "9-"},                  // no date yet: typed
        {"nl_NL", "", "03-09-2024", "03-09-2024"},  // the locale's separator
        {"nl_NL", "di 03-09-2024", "+", "wo 04-09-2024"},
    };
    for (const auto& c : cases) {
        SetLocale(c.locale);
        combo->SetText(c.text);
        TdxBarDateComboControl* control = Edit();
        ASSERT_TRUE(control->Focused());
        QLineEdit* editor = control->Editor();
        editor->setText(c.text);
        editor->end(false);
        QTest::keyClicks(editor, c.keys);
        EXPECT_EQ(editor->text(), c.after) << c.locale << " " << c.text << " " << c.keys;
        QTest::keyClick(editor, Qt::Key_Escape);
    }
}

TEST_F(DateComboTest, TheCalendarDropsOnTheDateOrTodayTakesTheEditorsKeysAndAChoiceCountsAUse)
{
    combo->SetText("");
    TdxBarDateComboControl* control = Edit();
    QLineEdit* editor = control->Editor();
    QTest::keyClick(editor, Qt::Key_F4);
    TdxBarDateNavigator* navigator = combo->Navigator();
    ASSERT_NE(navigator, nullptr);
    EXPECT_TRUE(navigator->Visible());
    EXPECT_TRUE(navigator->IsPopupRole());
    EXPECT_EQ(Iso(navigator->FirstDate()), "2024-09-01");
    EXPECT_EQ(Iso(navigator->GetSelStart()), "2024-09-10");
    // Placed below the text box.
    EXPECT_GE(navigator->WindowRect().Top, window->ClientToScreen(Link(0)->ItemRect().bottomLeft()).y());
    const int uses = Link(0)->UseCount();
    // A click on the calendar is no click outside it: the bar stays active, the calendar open.
    const TPoint frame(navigator->Layout().NonClient, navigator->Layout().NonClient);
    const QPoint arrow = navigator->Layout().LeftArrow().ToQRect().center() + frame;
    QTest::mouseClick(navigator->Handle(), Qt::LeftButton, {}, arrow);
    EXPECT_TRUE(navigator->Visible());
    EXPECT_TRUE(window->IsActive());
    EXPECT_EQ(Iso(navigator->FirstDate()), "2024-08-01");

    QTest::keyClick(editor, Qt::Key_Right);
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(Iso(navigator->GetSelStart()), "2024-09-18");
    EXPECT_EQ(combo->Text(), "");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(combo->Text(), "Wed 9/18/2024");
    EXPECT_FALSE(navigator->Visible());
    EXPECT_EQ(Link(0)->UseCount(), uses + 1);

    // A typed date is where it opens; a click on a date chooses it.
    control = Edit();
    editor = control->Editor();
    editor->setText("12/25/2023");
    QTest::keyClick(editor, Qt::Key_F4);
    EXPECT_EQ(Iso(navigator->FirstDate()), "2023-12-01");
    const TPoint cell = navigator->Layout().Cell(0, 1).ToQRect().center();  // Sunday of the first whole week
    navigator->LButtonDown(cell, {});
    navigator->LButtonUp(cell, {});
    EXPECT_EQ(combo->Text(), "Sun 12/3/2023");
    EXPECT_FALSE(navigator->Visible());
    EXPECT_EQ(Link(0)->UseCount(), uses + 2);

    // Closing without a choice keeps the text; Clear empties it.
    control = Edit();
    editor = control->Editor();
    QTest::keyClick(editor, Qt::Key_F4);
    QTest::keyClick(editor, Qt::Key_F4);
    EXPECT_FALSE(navigator->Visible());
    EXPECT_EQ(combo->Text(), "Sun 12/3/2023");
    QTest::keyClick(editor, Qt::Key_F4);
    const TPoint clear = navigator->Layout().ClearButton().ToQRect().center();
    navigator->LButtonDown(clear, {});
    navigator->LButtonUp(clear, {});
    EXPECT_EQ(combo->Text(), "");
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
}

}  // namespace
