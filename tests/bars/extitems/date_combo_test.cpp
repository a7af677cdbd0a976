// The date combo: its text is a date or empty, "+" and "-" step the date in its editor, and its
// calendar drops down on the date or today, takes the editor's keys and chooses.
#include "DatesFixture.h"
#include "DialogScript.h"
#include "StdCtrls.h"
#include "dxBarDateChooser.h"
#include "dxBarDateCombo.h"
#include "dxBarDateNavigator.h"

#include <QCursor>
#include <QLineEdit>
#include <QTest>
#include <functional>

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

TEST_F(DateComboTest, TheChooserTakesItsDateOnOkKeepsItForATypoAndOpensOnlyForAnItemWithoutOnClick)
{
    TDialogScript script;
    // A calendar cell of the open dialog: September 2024 starts on a Sunday, so its first day
    // begins the second row.
    auto cell = [](TdxBarDateChooser& d) { return d.Calendar()->Layout().Cell(0, 1).ToQRect().center(); };
    const struct {
        const char* what;
        std::function<void(TdxBarDateChooser&)> act;
        QString text;  // the combo's text afterwards
    } cases[] = {
        {"a typed date",
         [](TdxBarDateChooser& d) {
             d.Edit->SetText("12/25/2024");
             EXPECT_EQ(Iso(d.Calendar()->GetSelStart()), "2024-12-25");
             EXPECT_EQ(Iso(d.Calendar()->FirstDate()), "2024-12-01");
             d.BOK->Click();
         },
         "Wed 12/25/2024"},
        {"a typo",
         [](TdxBarDateChooser& d) {
             d.Edit->SetText("12/3x");
             EXPECT_EQ(Iso(d.Calendar()->GetSelStart()), "2024-09-03");
             d.BOK->Click();
         },
         "Tue 9/3/2024"},
        {"Clear",
         [](TdxBarDateChooser& d) {
             d.BClear->Click();
             EXPECT_EQ(d.Edit->Text(), "");
             d.BOK->Click();
         },
         ""},
        {"a double click on a date",
         [&](TdxBarDateChooser& d) {
             d.Calendar()->LButtonDown(cell(d), {});
             d.Calendar()->LButtonUp(cell(d), {});
             d.Calendar()->LButtonDblClk(cell(d), {});
             d.Calendar()->LButtonUp(cell(d), {});
         },
         "Sun 9/1/2024"},
        {"the month list, above the dialog",
         [](TdxBarDateChooser& d) {
             d.Calendar()->LButtonDown(d.Calendar()->Layout().HeaderText().ToQRect().center(), {});
             ASSERT_NE(d.Calendar()->MonthList(), nullptr);
             EXPECT_EQ(d.Calendar()->MonthList()->Handle()->parentWidget(), d.Handle());
             d.Calendar()->LButtonUp({-1, -1}, {});
             d.BOK->Click();
         },
         "Tue 9/3/2024"},
        {"Cancel",
         [](TdxBarDateChooser& d) {
             d.Edit->SetText("12/25/2024");
             d.BCancel->Click();
         },
         "Tue 9/3/2024"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        combo->SetText("9/3/2024");
        script.ClearLog();
        script.AnswerForm([&](TCustomForm& form) {
            auto& dialog = static_cast<TdxBarDateChooser&>(form);
            EXPECT_EQ(dialog.Edit->Text(), "Tue 9/3/2024");
            EXPECT_EQ(Iso(dialog.Calendar()->GetSelStart()), "2024-09-03");
            c.act(dialog);
        });
        combo->DoClick();
        EXPECT_EQ(script.Log("Form").size(), 1);
        EXPECT_EQ(combo->Text(), c.text);
    }

    // With its own OnClick, or read-only, the item opens nothing.
    struct TCounter : QObject {
        void Click(TObject*) { ++clicks; }
        int clicks = 0;
    } counter;
    const std::function<void()> setups[] = {
        [&] { combo->SetOnClick(TNotifyEvent(&counter, &TCounter::Click)); },
        [&] {
            combo->SetOnClick({});
            combo->SetReadOnly(true);
        },
    };
    for (const auto& setup : setups) {
        setup();
        script.ClearLog();
        combo->DoClick();
        EXPECT_TRUE(script.Log("Form").isEmpty());
    }
    EXPECT_EQ(counter.clicks, 1);
    combo->SetReadOnly(false);

    // On a rotated toolbar, where it cannot be edited in place, a click on the item opens it.
    combo->SetText("");
    bar->ItemLinks()->Add()->SetItem(combo);
    bar->SetRotateWhenVertical(true);
    TdxBarControl* toolbar = Dock(30);
    dock->SetBounds(0, 0, 30, 400);
    dock->SetAlign(alLeft);
    ASSERT_TRUE(toolbar && toolbar->IsRotated());
    script.ClearLog();
    script.AnswerForm([](TCustomForm& form) {
        auto& dialog = static_cast<TdxBarDateChooser&>(form);
        EXPECT_EQ(dialog.Calendar()->GetSelStart(), dxBarNullDate);
        EXPECT_EQ(Iso(dialog.Calendar()->FirstDate()), "2024-09-01");  // today's month
        dialog.BToday->Click();
        dialog.BOK->Click();
    });
    const TPoint at = Link(0)->ItemRect().center();
    toolbar->LButtonDown(at, {});
    toolbar->LButtonUp(at, {});
    ASSERT_EQ(script.Log("Form").size(), 1);
    EXPECT_EQ(script.Log("Form")[0].caption, "Select the date");
    EXPECT_EQ(combo->Text(), "Tue 9/10/2024");
}

TEST_F(DateComboTest, TheChooserStacksItsButtonsBesideTheEditAndCalendarLeavingOutHiddenOnes)
{
    TDialogScript script;
    for (bool shown : {true, false}) {
        SCOPED_TRACE(shown);
        combo->SetShowTodayButton(shown);
        combo->SetShowClearButton(shown);
        script.AnswerForm([&](TCustomForm& form) {
            auto& d = static_cast<TdxBarDateChooser&>(form);
            EXPECT_EQ(d.Font()->Name(), "DejaVu Sans");
            ASSERT_EQ(d.BToday != nullptr, shown);
            ASSERT_EQ(d.BClear != nullptr, shown);
            // One gap all round and between the parts: the edit above the calendar, as wide;
            // the buttons in a column to their right, OK and Cancel at the top, Today and
            // Clear at the bottom.
            const int g = d.Edit->Left();
            EXPECT_GT(g, 0);
            const QRect edit = d.Edit->BoundsRect();
            const QRect calendar = d.Calendar()->BoundsRect().ToQRect();
            EXPECT_EQ(calendar,
                      QRect(g, edit.bottom() + 1 + g, edit.width(), d.ClientHeight() - edit.bottom() - 1 - 2 * g));
            QList<TButton*> column{d.BOK, d.BCancel};
            if (shown) column << d.BToday << d.BClear;
            int top = g;
            for (TButton* b : column) {
                const QRect r = b->BoundsRect();
                EXPECT_EQ(QList<int>({r.left(), r.right() + 1 + g}),
                          QList<int>({calendar.right() + 1 + g, d.ClientWidth()}));
                EXPECT_GE(r.top(), top);
                top = r.bottom() + 1 + g;
            }
            if (shown) {
                EXPECT_EQ(d.BClear->BoundsRect().bottom() + 1 + g, d.ClientHeight());
            }
            EXPECT_FALSE(d.Calendar()->Layout().HasButtons());
            d.BCancel->Click();
        });
        combo->DoClick();
    }
}

}  // namespace
