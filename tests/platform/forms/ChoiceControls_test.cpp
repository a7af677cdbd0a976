// Check boxes, combo boxes, labels that lead to a control, and bevels.
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Events : QObject {
    QStringList log;
    TComboBox* combo = nullptr;
    TCheckBox* check = nullptr;
    void Clicked(TObject* sender) { log << QStringLiteral("click %1").arg(Describe(sender)); }
    void Changed(TObject* sender) { log << QStringLiteral("change %1").arg(Describe(sender)); }
    QString Describe(TObject* sender) const
    {
        if (sender == combo) return QStringLiteral("%1 '%2'").arg(combo->ItemIndex()).arg(combo->Text());
        return QString::number(int(check->State()));
    }
    QStringList Take() { return std::exchange(log, {}); }
};

}  // namespace

TEST(CheckBoxes, ClicksAndCodeMoveTheStateOnAndFireOnClick)
{
    TForm form(nullptr);
    auto* check = new TCheckBox(&form);
    check->SetParent(&form);
    check->SetCaption("&Large icons");
    Events events;
    events.check = check;
    check->SetOnClick(TNotifyEvent(&events, &Events::Clicked));
    form.Show();
    struct Case {
        bool allowGrayed;
        QStringList clicks;  // the states after each of three clicks
    };
    const Case cases[] = {
        {false, {"click 1", "click 0", "click 1"}},
        {true, {"click 2", "click 1", "click 0"}},
    };
    for (const Case& c : cases) {
        check->SetState(cbUnchecked);
        check->SetAllowGrayed(c.allowGrayed);
        events.Take();
        for (int i = 0; i < 3; ++i) QTest::mouseClick(check->CheckBox(), Qt::LeftButton);
        EXPECT_EQ(events.Take(), c.clicks) << c.allowGrayed;
    }
    QTest::keyClick(check->CheckBox(), Qt::Key_Space);  // the keyboard clicks too
    EXPECT_EQ(events.Take(), QStringList({"click 2"}));

    // In code: a change fires OnClick, setting the same state does not.
    check->SetChecked(true);
    check->SetChecked(false);
    check->SetState(cbGrayed);  // also without AllowGrayed
    EXPECT_EQ(check->CheckBox()->checkState(), Qt::PartiallyChecked);
    check->SetState(cbGrayed);
    EXPECT_EQ(events.Take(), QStringList({"click 1", "click 0", "click 2"}));
    EXPECT_FALSE(check->Checked());
}

TEST(ComboBoxes, OnlyTheUsersChoiceFiresClickThenChange)
{
    TForm form(nullptr);
    auto* combo = new TComboBox(&form);
    combo->SetParent(&form);
    Events events;
    events.combo = combo;
    combo->SetOnClick(TNotifyEvent(&events, &Events::Clicked));
    combo->SetOnChange(TNotifyEvent(&events, &Events::Changed));
    combo->SetStyle(csDropDownList);
    for (const char* s : {"(None)", "Random", "Unfold"}) combo->Items()->Add(s);
    EXPECT_EQ(combo->ItemIndex(), -1);  // the first items choose nothing
    EXPECT_EQ(combo->Text(), "");
    combo->SetItemIndex(1);
    combo->SetText("unfold");  // a list's text chooses its item
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_TRUE(events.log.isEmpty());

    form.Show();
    combo->SetItemIndex(0);
    QTest::keyClick(combo->ComboBox(), Qt::Key_Down);
    EXPECT_EQ(events.Take(), QStringList({"click 1 'Random'", "change 1 'Random'"}));

    // An edit with a list: typing changes, the chosen item stays.
    combo->SetStyle(csDropDown);
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->SetFocus();
    QTest::keyClicks(combo->ComboBox()->lineEdit(), "x");
    EXPECT_EQ(events.Take(), QStringList({"change 1 'Randomx'"}));
    combo->SetText("typed");
    EXPECT_EQ(combo->Text(), "typed");
    EXPECT_TRUE(events.log.isEmpty());
}

TEST(Labels, TheMnemonicFocusesTheFocusControlAndWrappedTextGrowsDown)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption("&Menu animations:");
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetTop(40);
    auto* other = new TEdit(&form);
    other->SetParent(&form);
    other->SetTop(80);
    label->SetFocusControl(edit);
    form.Show();
    form.Handle()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.Handle()));
    other->SetFocus();
    QTest::keyClick(form.Handle(), Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(testsupport::WaitFor([&] { return edit->Focused(); }, 3000));
    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);

    auto* wrapped = new TLabel(&form);
    wrapped->SetParent(&form);
    wrapped->SetCaption("one");
    const int lineHeight = wrapped->Height();
    wrapped->SetWordWrap(true);
    wrapped->SetWidth(80);
    wrapped->SetCaption("A description long enough to take several lines");
    EXPECT_EQ(wrapped->Width(), 80);
    EXPECT_GE(wrapped->Height(), 3 * lineHeight);
}

TEST(Bevels, LinesAndBoxesInTheShadowAndHighlightColours)
{
    TForm form(nullptr);
    form.SetColor(clRed);  // a bevel paints no background of its own
    auto* bevel = new TBevel(&form);
    bevel->SetParent(&form);
    bevel->SetBounds(0, 0, 20, 10);
    const QColor shadow = ColorToQColor(clBtnShadow), light = ColorToQColor(clBtnHighlight), red(Qt::red);
    struct Case {
        TBevelShape shape;
        TBevelStyle style;
        std::vector<std::pair<QPoint, QColor>> pixels;
    };
    const Case cases[] = {
        {bsTopLine, bsLowered, {{{5, 0}, shadow}, {{5, 1}, light}, {{5, 2}, red}}},
        {bsTopLine, bsRaised, {{{5, 0}, light}, {{5, 1}, shadow}}},
        {bsBottomLine, bsLowered, {{{5, 8}, shadow}, {{5, 9}, light}, {{5, 7}, red}}},
        {bsLeftLine, bsLowered, {{{0, 5}, shadow}, {{1, 5}, light}}},
        {bsRightLine, bsRaised, {{{18, 5}, light}, {{19, 5}, shadow}}},
        {bsBox, bsLowered, {{{0, 0}, shadow}, {{19, 9}, light}, {{19, 0}, light}, {{5, 5}, red}}},
        {bsFrame, bsLowered, {{{0, 0}, shadow}, {{1, 1}, light}, {{18, 8}, shadow}, {{19, 9}, light}, {{5, 5}, red}}},
        {bsSpacer, bsLowered, {{{0, 0}, red}}},
    };
    for (const Case& c : cases) {
        bevel->SetShape(c.shape);
        bevel->SetStyle(c.style);
        const QImage image = form.Handle()->grab(QRect(0, 0, 20, 10)).toImage();
        for (const auto& [at, colour] : c.pixels)
            EXPECT_EQ(image.pixelColor(at), colour)
                << int(c.shape) << "/" << int(c.style) << " at " << at.x() << "," << at.y();
    }
}
