// A date combo on a docked bar of an active form, under real input: its calendar drops down
// with the form still active and the editor focused, takes the editor's keys, and a press on
// its header held onto a row of the month list shows that month.
#include "ActiveFormFixture.h"
#include "RealInput.h"
#include "dxBarDateCombo.h"
#include "dxBarDateNavigator.h"
#include "dxBarDates.h"
#include "dxBarExtItems.h"
#include "dxBarMonthList.h"

#include <QApplication>
#include <QLocale>
#include <QTest>

namespace {

class DateComboFocusTest : public ExtItemsFormTest {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        dxBarSetToday(QDate(2024, 9, 10));
        ExtItemsFormTest::SetUp();
    }
    void TearDown() override
    {
        ExtItemsFormTest::TearDown();
        dxBarSetToday({});
        QLocale::setDefault(QLocale::c());
    }
    TCustomdxBarComboControl* Control() const { return dynamic_cast<TCustomdxBarComboControl*>(Link(0)->Control()); }
    bool EditorHasFocus() const
    {
        TCustomdxBarComboControl* c = Control();
        return c && c->Focused() && c->Editor() && QApplication::focusWidget() == c->Editor();
    }
    static QString Iso(double date) { return dxBarDateToQDate(date).toString(Qt::ISODate); }
};

}  // namespace

TEST_F(DateComboFocusTest, TheCalendarDropsWithTheFormActiveTakesKeysAndItsMonthListPicksAMonth)
{
    auto* combo = Create<TdxBarDateCombo>(form.get());
    combo->SetWidth(150);
    bar->ItemLinks()->Add()->SetItem(combo);
    TRowBar* w = Open(false);
    w->SetParentWidget(form->Handle());
    w->SetWindowPos(TRect::Bounds(0, 0, 400, 26));
    w->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Handle()));
    ASSERT_TRUE(testsupport::WaitFor([&] { return Control() && !Control()->ButtonRect.IsEmpty(); }, 5000));

    // A click on the button drops the calendar on today; the editor keeps the keys.
    const TRect button = Control()->ButtonRect;
    const QPoint onButton = w->ClientToScreen(TPoint(button.Left + 3, button.Top + button.Height() / 2));
    ASSERT_TRUE(ClickAt(onButton));
    ASSERT_TRUE(testsupport::WaitFor([&] { return combo->Navigator() && combo->Navigator()->Visible(); }, 5000));
    TdxBarDateNavigator* navigator = combo->Navigator();
    ASSERT_TRUE(testsupport::WaitFor([&] { return EditorHasFocus(); }, 5000));
    QTest::qWait(100);
    EXPECT_TRUE(FormStaysActive());
    EXPECT_TRUE(EditorHasFocus());
    EXPECT_EQ(Iso(navigator->GetSelStart()), "2024-09-10");

    ASSERT_TRUE(XDoTool({"key", "Right"}));
    ASSERT_TRUE(
        testsupport::WaitFor([&] { return dxBarDateToQDate(navigator->GetSelStart()) == QDate(2024, 9, 11); }, 5000));
    ASSERT_TRUE(XDoTool({"key", "Return"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return combo->Text() == "Wed 9/11/2024"; }, 5000));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !navigator->Visible(); }, 5000));
    EXPECT_TRUE(FormStaysActive());

    // Dropped again (a pointer already in place would keep xdotool waiting for its move): a
    // press on the month's name held onto the month list's sixth row.
    ASSERT_TRUE(ClickAt(onButton + QPoint(1, 0)));
    ASSERT_TRUE(testsupport::WaitFor([&] { return navigator->Visible(); }, 5000));
    ShootAround(navigator->WindowRect().ToQRect(), "navigator");
    const QPoint header = navigator->ClientToScreen(navigator->Layout().HeaderText().ToQRect().center());
    ASSERT_TRUE(MoveTo(header));
    ASSERT_TRUE(XDoTool({"mousedown", "1"}));
    ASSERT_TRUE(
        testsupport::WaitFor([&] { return navigator->MonthList() && navigator->MonthList()->Visible(); }, 5000));
    TAMonthListBox* list = navigator->MonthList();
    const QPoint row = list->ClientToScreen({20, 5 * list->ItemHeight() + list->ItemHeight() / 2});
    ASSERT_TRUE(MoveTo(row + QPoint(0, -3)));
    ASSERT_TRUE(MoveTo(row));
    ASSERT_TRUE(testsupport::WaitFor([&] { return list->Hovered() == 5; }, 5000));
    ShootAround(navigator->WindowRect().ToQRect(), "month-list");
    ASSERT_TRUE(XDoTool({"mouseup", "1"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return navigator->MonthList() == nullptr; }, 5000));
    EXPECT_EQ(Iso(navigator->FirstDate()), "2024-11-01");  // the list starts three months before September
    EXPECT_TRUE(navigator->Visible());
    EXPECT_EQ(combo->Text(), "Wed 9/11/2024");
    EXPECT_TRUE(FormStaysActive());
    EXPECT_TRUE(EditorHasFocus());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}
