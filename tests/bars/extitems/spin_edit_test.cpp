// The spin edit: its value rules, its text in two locales, its keys and its buttons on a bar.
#include "../windows/BarWindowFixture.h"
#include "FormResources.h"
#include "ThreadTimers.h"
#include "dxBarExtItems.h"
#include "dxBarSpinEditControl.h"

#include <QCursor>
#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

namespace {

class SpinEditTest : public BarWindowTest {
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        dxBarExtItemsInitialize();
        UseManualTimerClock(true);
        SetLocale("en_US");
        manager->SetUseSystemFont(false);
        manager->Font()->SetName("DejaVu Sans");
        manager->Font()->SetHeight(-11);
        spin = Create<TdxBarSpinEdit>(form.get());
        spin->SetName("seSize");
        spin->OnButtonClick = TdxBarSpinEditButtonClickEvent(&recorder, &TButtonRecorder::Clicked);
    }
    void TearDown() override
    {
        BarWindowTest::TearDown();
        dxBarExtItemsFinalize();
        UseManualTimerClock(false);
        QLocale::setDefault(QLocale::c());
    }
    static void SetLocale(const char* name) { QLocale::setDefault(QLocale(QString::fromLatin1(name))); }

    // The spin edit on a painted row bar; its control.
    TdxBarSpinEditControl* Show()
    {
        bar->ItemLinks()->Add()->SetItem(spin);
        Open();
        window->Snapshot();
        return Control();
    }
    TdxBarSpinEditControl* Control() const { return dynamic_cast<TdxBarSpinEditControl*>(Link(0)->Control()); }
    // A left press through the bar window, the cursor there too.
    void PressAt(const TPoint& client)
    {
        QCursor::setPos(window->ClientToScreen(client));
        window->LButtonDown(client, {});
    }
    TPoint ButtonPoint(TdxBarSpinEditButton button) const
    {
        const TRect r = Control()->ButtonRect;
        return {r.Left + 3, button == sbUp ? r.Top + 2 : r.Bottom - 3};
    }
    // A click on the text box; the editor it opens.
    QLineEdit* OpenEditor()
    {
        const TPoint at = Control()->ButtonRect.TopLeft() + TPoint(-10, 4);
        PressAt(at);
        window->LButtonUp(at, {});
        return Control()->Editor();
    }
    // Mouse input as the held button's capture hands it to the editor.
    void MouseToEditor(QEvent::Type type, const TPoint& client)
    {
        QLineEdit* editor = Control()->Editor();
        const QPoint global = window->ClientToScreen(client);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, editor->mapFromGlobal(global), global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(editor, &e);
    }

    struct TButtonRecorder : QObject {
        void Clicked(TObject*, int button) { buttons << button; }
        QList<int> buttons;
    } recorder;
    TdxBarSpinEdit* spin = nullptr;
};

}  // namespace

TEST_F(SpinEditTest, ValuesIncrementsAndLimitsFollowTheTypeAndTheRange)
{
    const struct {
        TdxBarSpinEditValueType type;
        double min, max, increment, assigned;
        double minAfter, incrementAfter;
        const char* text;
    } cases[] = {
        {svtInteger, 0, 0, 0.5, 2.7, 0, 1, "2"},
        {svtInteger, -1.9, 0, 3.9, -1e9, -1, 3, "-1"},
        {svtInteger, 0, 0, -4, -1e9, 0, 1, "-1000000000"},  // 0 and 0 is no range
        {svtInteger, 5, 5, 1, 1234, 5, 1, "5"},
        {svtFloat, 0, 0, 0, 2.75, 0, 1, "2.75"},
        {svtFloat, 0.5, 1.5, 0.25, 0.25, 0.5, 0.25, "0.5"},
        {svtFloat, 0, 0, -0.5, 1234567.5, 0, 1, "1234567.5"},  // no group separator
    };
    for (const auto& c : cases) {
        auto* item = Create<TdxBarSpinEdit>(form.get());
        item->SetValueType(c.type);
        item->SetMaxValue(c.max);
        item->SetMinValue(c.min);
        item->SetIncrement(c.increment);
        item->SetValue(c.assigned);
        EXPECT_EQ(item->MinValue(), c.minAfter) << c.text;
        EXPECT_EQ(item->Increment(), c.incrementAfter) << c.text;
        EXPECT_EQ(item->Text(), c.text);
        delete item;
    }

    // A limit past the other drags it along, and the value into the new range.
    spin->SetMaxValue(20);
    spin->SetValue(15);
    spin->SetMaxValue(-3);
    EXPECT_EQ(spin->MinValue(), -3);
    EXPECT_EQ(spin->Value(), -3);
    spin->SetMinValue(7);
    EXPECT_EQ(spin->MaxValue(), 7);
    EXPECT_EQ(spin->Text(), "7");

    // Back from floats, everything is truncated again.
    spin->SetValueType(svtFloat);
    spin->SetIncrement(0.25);
    spin->SetMinValue(-1.5);
    spin->SetValue(2.5);
    spin->SetValueType(svtInteger);
    EXPECT_EQ(spin->Increment(), 1);
    EXPECT_EQ(spin->MinValue(), -1);
    EXPECT_EQ(spin->Text(), "2");
}

TEST_F(SpinEditTest, IntegersStepAsSixtyFourBitNumbersWithinTwoToTheFiftyThree)
{
    const struct {
        const char* text;
        TdxBarSpinEditButton button;
        const char* stepped;
    } cases[] = {
        {"2147483647", sbUp, "2147483648"},  // a step past 32 bits is no MinValue
        {"-2147483648", sbDown, "-2147483649"},
        {"9007199254740992", sbUp, "9007199254740992"},  // the limit holds
        {"99999999999999999", sbDown, "9007199254740991"},
    };
    for (const auto& c : cases) {
        spin->SetText(QString::fromLatin1(c.text));
        spin->ButtonClick(c.button);
        EXPECT_EQ(spin->Text(), c.stepped) << c.text;
    }
    spin->SetText("123456789012345678901234");  // past 64 bits: no number
    EXPECT_EQ(spin->Text(), "9007199254740991");
}

TEST_F(SpinEditTest, ThePrefixIsTakenOnlyFromItsOwnPlaceAndNonNumbersAreLeftAlone)
{
    const struct {
        const char* prefix;
        TdxBarSpinEditPrefixPlace place;
        double value;
        const char* text;
    } cases[] = {
        {" px", ppEnd, 12, "12 px"},
        {"$", ppStart, 12, "$12"},
        {"1", ppEnd, 10, "101"},  // a prefix of digits stays out of the number
        {"0", ppStart, -20, "0-20"},
    };
    for (const auto& c : cases) {
        spin->SetPrefix(QString::fromLatin1(c.prefix));
        spin->SetPrefixPlace(c.place);
        spin->SetValue(c.value);
        EXPECT_EQ(spin->Text(), c.text);
        EXPECT_EQ(spin->Value(), c.value) << c.text;
        spin->SetText("7");  // assigned without the prefix, shown with it
        EXPECT_EQ(spin->Text(), spin->ValueToText(7)) << c.text;
    }
    // A new prefix or place rewrites the text from the value.
    spin->SetPrefix(" pt");
    spin->SetPrefixPlace(ppEnd);
    EXPECT_EQ(spin->Text(), "7 pt");
    for (const char* text : {"abc", "", "pt 7", "1,000", "1.5", "0x10"}) {
        spin->SetText(QString::fromLatin1(text));
        EXPECT_EQ(spin->Text(), "7 pt") << text;
    }
    EXPECT_EQ(spin->TextToValue("abc"), spin->MinValue());
}

TEST_F(SpinEditTest, FloatTextUsesTheLocalesDecimalPointAndNoGroupSeparator)
{
    const struct {
        const char* locale;
        double value;
        const char* text;
        const char* rejected;
    } cases[] = {
        {"en_US", 1234567.25, "1234567.25", "1,234,567.25"},
        {"de_DE", 1234567.25, "1234567,25", "1.234.567,25"},
        {"de_DE", -0.125, "-0,125", "inf"},
        {"sv_SE", 1e15, "1e+15", "1\u00a0000"},
    };
    spin->SetValueType(svtFloat);
    for (const auto& c : cases) {
        SetLocale(c.locale);
        spin->SetValue(c.value);
        EXPECT_EQ(spin->Text(), QString::fromUtf8(c.text)) << c.locale;
        spin->SetText(QString::fromUtf8(c.rejected));
        EXPECT_EQ(spin->Value(), c.value) << c.locale << " " << c.rejected;
    }
    spin->SetValueType(svtInteger);
    spin->SetValue(1234567);
    EXPECT_EQ(spin->Text(), "1234567");
}

TEST_F(SpinEditTest, TheEditorTakesOnlyNumberKeysAndUpAndDownStepTheTypedValue)
{
    const struct {
        const char* locale;
        TdxBarSpinEditValueType type;
        double min;
        const char* typed;
        const char* text;
    } typing[] = {
        {"en_US", svtInteger, 0, "-1a2.3", "123"},
        {"en_US", svtFloat, -5, "-1.5,x", "-1.5"},
        {"de_DE", svtFloat, 0, "1.5,2", "15,2"},
        {"de_DE", svtInteger, -1, "-3,5", "-35"},
    };
    TdxBarSpinEditControl* c = Show();
    QLineEdit* editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    for (const auto& t : typing) {
        SetLocale(t.locale);
        spin->SetValueType(t.type);
        spin->SetMinValue(t.min);
        editor->clear();
        QTest::keyClicks(editor, QString::fromLatin1(t.typed));
        EXPECT_EQ(editor->text(), t.text) << t.locale << " " << t.typed;
    }

    // Up and Down step what is typed within the range (-1 to 0 now), the button shown
    // pressed while the key is down.
    QTest::keyPress(editor, Qt::Key_Down);
    EXPECT_EQ(editor->text(), "-1");
    EXPECT_EQ(c->PressedButton(), sbDown);
    EXPECT_TRUE(c->PressedLook());
    QTest::keyRelease(editor, Qt::Key_Down);
    EXPECT_EQ(c->PressedButton(), sbNone);
    QTest::keyClick(editor, Qt::Key_Up);
    QTest::keyClick(editor, Qt::Key_Up);
    EXPECT_EQ(editor->text(), "0");
    EXPECT_EQ(recorder.buttons, (QList<int>{2, 1, 1}));
    spin->SetReadOnly(true);
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(editor->text(), "0");
    EXPECT_EQ(spin->Text(), "0");  // typed, not applied
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(recorder.buttons.size(), 3);
}

TEST_F(SpinEditTest, TheButtonStripNarrowsTheTextBoxAndGoesWhenTooNarrowOrTooLow)
{
    const struct {
        int width, height, strip, arrow;
    } cases[] = {
        {100, 19, 15, 5}, {100, 8, 7, 1}, {100, 7, 0, 0},  // under a pixel of arrow
        {100, 1, 0, 0},                                    // never a negative strip
        {31, 19, 0, 0},                                    // not less than half the width
    };
    for (const auto& c : cases) {
        const spinedit::TSpinLayout layout = spinedit::SpinLayout(TRect::Bounds(10, 20, c.width, c.height));
        EXPECT_EQ(layout.StripWidth, c.strip) << c.width << "x" << c.height;
        EXPECT_EQ(layout.ArrowWidth, c.arrow) << c.width << "x" << c.height;
        EXPECT_EQ(layout.Field.Right, 10 + c.width - c.strip);
    }

    // On a bar the editor stops left of the buttons, whose arrows are drawn in the button
    // text colour.
    TdxBarSpinEditControl* c = Show();
    const TRect item = TRect::FromQRect(Link(0)->ItemRect());
    const spinedit::TSpinLayout layout = spinedit::SpinLayout(item);
    EXPECT_EQ(c->ButtonRect, layout.Buttons);
    OpenEditor();
    EXPECT_LE(c->EditRect.Right, c->ButtonRect.Left);
    const QImage image = window->Snapshot();
    const TPoint origin = window->ClientBounds().TopLeft();
    for (const TRect& half : {layout.Up, layout.Down})
        for (const TRect& row : spinedit::SpinArrowRows(half.Inflated(-1, -1), layout.ArrowWidth, half == layout.Up))
            EXPECT_EQ(image.pixelColor(row.Left + origin.x(), row.Top + origin.y()), SysColor(COLOR_BTNTEXT));
}

TEST_F(SpinEditTest, AHeldButtonStepsAtOnceThenAfterTheDoubleClickTimeThenEvery100Ms)
{
    TdxBarSpinEditControl* c = Show();
    PressAt(ButtonPoint(sbUp));
    QLineEdit* editor = c->Editor();
    ASSERT_TRUE(c->Focused());
    EXPECT_EQ(QWidget::mouseGrabber(), editor);
    const struct {
        int at;  // ms since the press
        const char* text;
    } held[] = {{0, "1"}, {499, "1"}, {500, "2"}, {599, "2"}, {600, "3"}, {1000, "7"}};
    int now = 0;
    for (const auto& h : held) {
        AdvanceTimerClock(h.at - now);
        now = h.at;
        EXPECT_EQ(editor->text(), h.text) << h.at;
    }

    // Off the button the repeat pauses; back on it, it goes on.
    MouseToEditor(QEvent::MouseMove, ButtonPoint(sbDown));
    EXPECT_FALSE(c->PressedLook());
    AdvanceTimerClock(500);
    MouseToEditor(QEvent::MouseMove, ButtonPoint(sbUp));
    AdvanceTimerClock(100);
    EXPECT_EQ(editor->text(), "8");

    // The release ends it with the editor focused; so do the loss of the focus, and another
    // window taking the capture (at the next tick).
    MouseToEditor(QEvent::MouseButtonRelease, ButtonPoint(sbUp));
    EXPECT_TRUE(c->Focused());
    EXPECT_NE(QWidget::mouseGrabber(), editor);
    PressAt(ButtonPoint(sbDown));
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(editor, &out);
    EXPECT_FALSE(c->Repeating());
    PressAt(ButtonPoint(sbDown));
    QWidget other;
    other.grabMouse();
    AdvanceTimerClock(400);
    EXPECT_FALSE(c->Repeating());
    other.releaseMouse();
    AdvanceTimerClock(1000);
    EXPECT_EQ(c->PressedButton(), sbNone);
    EXPECT_EQ(recorder.buttons, (QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 2, 2}));
    EXPECT_EQ(spin->Text(), "0");
}

TEST_F(SpinEditTest, AStoredSpinEditKeepsItsTypeRangeAndValue)
{
    spin->SetValueType(svtFloat);
    spin->SetMaxValue(9.5);
    spin->SetPrefix(" %");
    spin->SetValue(2.75);
    Create<TdxBarSpinEdit>(form.get())->SetName("sePlain");
    const QString text = WriteComponentToText(form.get());
    EXPECT_FALSE(text.contains("Text =")) << text.toStdString();
    // Defaults are not written.
    const QString plain = text.mid(text.indexOf("sePlain")).section("end", 0, 0);
    for (const char* name : {"Value", "Increment", "Prefix"}) EXPECT_FALSE(plain.contains(name)) << name;

    dxBarRegisterManagerClasses();
    auto copy = std::make_unique<TForm>(nullptr);
    ReadComponentFromText(text, copy.get());
    auto* read = qobject_cast<TdxBarSpinEdit*>(copy->FindComponent("seSize"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->MaxValue(), 9.5);
    EXPECT_EQ(read->Text(), "2.75 %");
}
