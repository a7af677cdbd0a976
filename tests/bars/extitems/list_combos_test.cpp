// The colour combo (its entries follow the colour, its "..." button and Ctrl+Enter open the
// colour dialog) and the font-name combo (the families, snapping a text to one of them).
#include "DockedItemFixture.h"
#include "Dialogs.h"
#include "FormResources.h"
#include "Painting.h"
#include "Strings.h"
#include "dxBarColorCombo.h"
#include "dxBarFontNameCombo.h"
#include "dxBarManager.h"

#include <QCursor>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPainter>
#include <QSet>
#include <QTest>

#include <optional>
#include <typeinfo>

namespace {

// Counts the item's own clicks.
struct TClickCounter : QObject {
    void Click(TObject*) { ++clicks; }
    int clicks = 0;
};

class ListCombosTest : public DockedItemTest {
protected:
    void TearDown() override
    {
        DockedItemTest::TearDown();
        QCursor::setPos(700, 700);
    }
    // Presses and releases the left button at a point of the toolbar's client area.
    void ClickAt(const TPoint& client)
    {
        QCursor::setPos(toolbar->ClientToScreen(client));
        toolbar->LButtonDown(client, {});
        toolbar->LButtonUp(client, {});
    }
    // Clicks the text box of link i, activating its control.
    TdxBarComboControl* Activate(int i)
    {
        auto* c = dynamic_cast<TdxBarComboControl*>(ControlOf(i));
        EXPECT_NE(c, nullptr);
        ClickAt(c->ButtonRect.TopLeft() + TPoint(-20, 4));
        return c;
    }
};

// ---------------------------------------------------------------- colour combo

class ColorComboTest : public ListCombosTest {
protected:
    void SetUp() override
    {
        ListCombosTest::SetUp();
        combo = AddItem<TdxBarColorCombo>("Colour");
        combo->SetName("ccColour");
    }
    // The swatch the item draws in its text box for its current entry (its fill), or none
    // when the text starts at the left instead.
    std::optional<QColor> DrawnSwatch() const
    {
        QImage image(120, 18, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        combo->DrawItem(p, manager->Font()->ToQFont(), combo->CurItemIndex(), TRect(0, 0, 120, 18), 0);
        p.end();
        const QColor ring(0x80, 0x80, 0x80);
        if (image.pixelColor(1, 1) == ring && image.pixelColor(1, 16) == ring && image.pixelColor(28, 9) == ring)
            return image.pixelColor(15, 9);
        EXPECT_LE(BoundsOfOthers(image, QRect(0, 0, 120, 18), Qt::white).left(), 3);
        return std::nullopt;
    }

    TdxBarColorCombo* combo = nullptr;
};

TEST_F(ColorComboTest, AColourSelectsTheEntryOfItsRgbValueAndAnyOtherShowsTheCustomText)
{
    EXPECT_EQ(combo->Text(), "Black");
    EXPECT_EQ(combo->Color(), clBlack);
    const std::optional<QColor> noSwatch;
    const struct {
        const char* name;
        bool automatic;
        TColor color;
        const char* text;  // empty: the custom text shows
        std::optional<QColor> swatch;
    } cases[] = {
        {"rgb", false, RGB(0xFF, 0, 0), "Red", QColor(Qt::red)},
        {"system colour of a table colour", false, clBtnShadow, "Gray", QColor(0x80, 0x80, 0x80)},
        {"system black", false, clWindowText, "Black", QColor(Qt::black)},
        {"the automatic colour's own value", true, clWindowText, "(automatic)", QColor(Qt::black)},
        {"black beside the automatic window text", true, clBlack, "Black", QColor(Qt::black)},
        {"button face, in no entry", false, clBtnFace, "", QColor(0xD4, 0xD0, 0xC8)},
        {"rgb in no entry", false, MakeColor(0x563412), "", QColor(0x12, 0x34, 0x56)},
        {"unknown system colour", false, MakeColor(qint32(0x80000030)), "", noSwatch},
        {"past every system colour", false, MakeColor(-1), "", noSwatch},
        {"a stray high byte", false, MakeColor(0x01000000), "", QColor(Qt::black)},
        {"no colour", false, clNone, "", QColor(Qt::white)},
    };
    for (const auto& c : cases) {
        combo->SetShowAutoColor(c.automatic);
        combo->SetColor(c.color);
        EXPECT_EQ(combo->Color(), c.color) << c.name;
        EXPECT_EQ(combo->ItemIndex() == -1, QString(c.text).isEmpty()) << c.name;
        EXPECT_EQ(combo->Text(), c.text) << c.name;
        EXPECT_EQ(DrawnSwatch(), c.swatch) << c.name;
    }
    // Choosing an entry sets the colour; the custom text is the item's own.
    combo->SetShowAutoColor(true);
    combo->SetItemIndex(0);
    EXPECT_EQ(combo->Color(), clWindowText);
    combo->SetItemIndex(10);
    EXPECT_EQ(combo->Color(), clRed);
    combo->SetCustomColorText("Other");
    combo->SetColor(clBtnFace);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Color(), clBtnFace);
}

TEST_F(ColorComboTest, TheAutomaticEntryComesAndGoesWithTheCountThatFollowsIt)
{
    combo->SetColor(clWindowText);
    combo->SetShowAutoColor(true);
    EXPECT_EQ(combo->Items()->Count(), 17);
    EXPECT_EQ(combo->DropDownCount(), 17);
    EXPECT_EQ(combo->Text(), "(automatic)");
    combo->SetAutoColorText("Default");
    EXPECT_EQ(combo->Items()->Strings(0), "Default");
    EXPECT_EQ(combo->Text(), "Default");
    combo->SetAutoColor(clRed);
    EXPECT_EQ(combo->Text(), "Black");
    combo->SetAutoColor(clWindowText);
    combo->SetShowAutoColor(false);
    EXPECT_EQ(combo->DropDownCount(), 16);
    EXPECT_EQ(combo->Text(), "Black");
    EXPECT_EQ(combo->Color(), clWindowText);
    // A count of the user's own stays.
    combo->SetDropDownCount(10);
    combo->SetShowAutoColor(true);
    EXPECT_EQ(combo->DropDownCount(), 10);
}

TEST_F(ColorComboTest, AStoredComboKeepsItsCountAndColourButNotItsText)
{
    const struct {
        const char* name;
        bool automatic;
        int count;
        TColor color;
    } cases[] = {
        {"ccPlain", false, 16, clRed},      {"ccAuto", true, 17, clWindowText}, {"ccAutoSixteen", true, 16, clBtnFace},
        {"ccSeventeen", false, 17, clNavy}, {"ccEight", false, 8, clBlack},
    };
    for (const auto& c : cases) {
        auto* item = Create<TdxBarColorCombo>(form.get());
        item->SetName(c.name);
        item->SetShowAutoColor(c.automatic);
        item->SetDropDownCount(c.count);
        item->SetColor(c.color);
    }
    const QString text = WriteComponentToText(form.get());
    EXPECT_FALSE(text.contains("Text =")) << text.toStdString();
    dxBarRegisterManagerClasses();
    auto copy = std::make_unique<TForm>(nullptr);
    ReadComponentFromText(text, copy.get());
    for (const auto& c : cases) {
        auto* read = qobject_cast<TdxBarColorCombo*>(copy->FindComponent(c.name));
        ASSERT_NE(read, nullptr) << c.name;
        auto* made = qobject_cast<TdxBarColorCombo*>(form->FindComponent(c.name));
        EXPECT_EQ(std::tuple(read->ShowAutoColor(), read->DropDownCount(), read->Color()),
                  std::tuple(c.automatic, c.count, c.color))
            << c.name;
        EXPECT_EQ(read->Text(), made->Text()) << c.name;
        EXPECT_EQ(read->Items()->Count(), made->Items()->Count()) << c.name;
    }
}

TEST_F(ColorComboTest, TheDotsButtonIsDrawnOnlyBesideAWideEnoughComboAndOpensTheDialog)
{
    combo->SetShowCustomColorButton(true);
    combo->SetWidth(100);
    auto* narrow = AddItem<TdxBarColorCombo>("Narrow");
    narrow->SetShowCustomColorButton(true);
    narrow->SetWidth(36);
    Show();
    const QImage shot = Shot();
    // A control of 21 pixels: an 18-pixel button, its face inset by 1 and 2, three dots of
    // 2 pixels in button text.
    auto* c = dynamic_cast<TdxBarColorComboControl*>(ControlOf(0));
    const QRect item = Link(0)->ItemRect();
    ASSERT_EQ(item.height(), 21);
    EXPECT_EQ(c->ColorButtonRect.ToQRect(), QRect(item.right() - 16, item.top() + 2, 16, 17));
    const QRect face = InShot(Link(0)).translated(c->ColorButtonRect.TopLeft() - item.topLeft());
    EXPECT_EQ(CountColour(shot, QRect(face.topLeft(), QSize(16, 17)), Qt::black), 3 * 2 * 2);
    // The combo's own drop-down button sits left of it.
    EXPECT_LE(c->ButtonRect.Right, c->ColorButtonRect.Left);
    auto* n = dynamic_cast<TdxBarColorComboControl*>(ControlOf(1));
    EXPECT_TRUE(n->ColorButtonRect.IsEmpty());

    // A press there on the narrow combo is an ordinary combo press: its list drops.
    ClickAt(TPoint(Link(1)->ItemRect().right() - 3, Link(1)->ItemRect().center().y()));
    EXPECT_TRUE(n->IsDroppedDown());

    // On the wide one it opens the dialog on the colour shown, without a drop-down.
    TDialogScript script;
    script.AnswerColor(std::nullopt);
    combo->SetColor(clTeal);
    const int uses = Link(0)->UseCount();
    ClickAt(c->ColorButtonRect.TopLeft() + TPoint(4, 4));
    c = dynamic_cast<TdxBarColorComboControl*>(ControlOf(0));
    ASSERT_EQ(script.Log("ColorDialog").size(), 1);
    EXPECT_EQ(script.Log("ColorDialog")[0].text, "clTeal");
    EXPECT_EQ(combo->Color(), clTeal);
    EXPECT_EQ(Link(0)->UseCount(), uses + 1);
    EXPECT_FALSE(c->IsDroppedDown());
    EXPECT_FALSE(c->Pressed());
}

TEST_F(ColorComboTest, CtrlEnterOpensTheDialogOnTheEntryShownAndItsChoiceStays)
{
    combo->SetWidth(120);
    combo->SetColor(clRed);
    Show();
    Shot();
    TdxBarComboControl* c = Activate(0);
    ASSERT_TRUE(c->Focused());
    QLineEdit* editor = c->Editor();
    if (c->IsDroppedDown()) QTest::keyClick(editor, Qt::Key_F4);
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(combo->Color(), clRed);  // not applied yet

    TDialogScript script;
    script.AnswerColor(QColor(0x12, 0x34, 0x56));
    const int uses = Link(0)->UseCount();
    QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(script.Log("ColorDialog").size(), 1);
    EXPECT_EQ(script.Log("ColorDialog")[0].text, "clLime");
    EXPECT_EQ(combo->Color(), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(Link(0)->UseCount(), uses + 1);
    // Enter applies what the editor shows now: the dialog's colour.
    ASSERT_TRUE(c->Focused());
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(combo->Color(), RGB(0x12, 0x34, 0x56));
}

TEST_F(ColorComboTest, AClickOpensTheDialogOnTheColourOnlyWithoutHandlerAndWhenWritable)
{
    TClickCounter counter;
    const struct {
        const char* name;
        bool handler, readOnly;
        int dialogs;
    } cases[] = {
        {"plain", false, false, 1},
        {"with a handler", true, false, 0},
        {"read-only", false, true, 0},
    };
    for (const auto& c : cases) {
        TDialogScript script;
        script.AnswerColor(QColor(0xFF, 0, 0));
        combo->SetColor(clBtnFace);
        combo->SetOnClick(c.handler ? TNotifyEvent(&counter, &TClickCounter::Click) : TNotifyEvent());
        combo->SetReadOnly(c.readOnly);
        counter.clicks = 0;
        combo->Click();
        EXPECT_EQ(counter.clicks, c.handler ? 1 : 0) << c.name;
        EXPECT_EQ(script.Log("ColorDialog").size(), c.dialogs) << c.name;
        // The dialog starts from the colour's RGB value; its choice is taken.
        if (c.dialogs) {
            EXPECT_EQ(script.Log("ColorDialog")[0].text, ColorToString(RGB(0xD4, 0xD0, 0xC8)));
        }
        EXPECT_EQ(combo->Color(), c.dialogs ? clRed : clBtnFace) << c.name;
    }
}

// ---------------------------------------------------------------- font-name combo

class FontNameComboTest : public ListCombosTest {
protected:
    void SetUp() override
    {
        ListCombosTest::SetUp();
        dxBarSetFontFamilyEnumerator([] {
            return QList<TdxBarFontFamily>{
                {"Times New Roman", true}, {"Courier New", true}, {"Arial Black", false}, {"Arial", true}};
        });
    }
    void TearDown() override
    {
        ListCombosTest::TearDown();
        dxBarSetFontFamilyEnumerator({});
    }
};

TEST_F(FontNameComboTest, WhileActiveATextSnapsToAFamilyOrIsRefusedAndOtherwiseIsStoredAsItIs)
{
    auto* combo = AddItem<TdxBarFontNameCombo>("Font");
    EXPECT_EQ(combo->Items()->ToStringList(), QStringList({"Arial", "Arial Black", "Courier New", "Times New Roman"}));
    EXPECT_FALSE(combo->IsTrueType(1));
    EXPECT_TRUE(combo->IsTrueType(2));

    // Not shown: any text is stored.
    combo->SetText("qqq");
    EXPECT_EQ(combo->Text(), "qqq");

    Show();
    Shot();
    // Shown by the plain combo control.
    EXPECT_EQ(typeid(*ControlOf(0)), typeid(TdxBarComboControl));
    Activate(0);
    ASSERT_NE(combo->FindLiveLink(), nullptr);
    const struct {
        const char* set;
        const char* text;
    } cases[] = {
        {"ari", "Arial"},
        {"qqq", "Arial"},  // refused
        {"COUR", "Courier New"},
        {"Tx", "Times New Roman"},  // the longest shared start
        {"", ""},
        {"Arial Bl", "Arial Black"},
    };
    for (const auto& c : cases) {
        combo->SetText(c.set);
        EXPECT_EQ(combo->Text(), c.text) << c.set;
    }
    EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(FontNameComboTest, AClickOpensTheFontDialogOnTheTextAndTakesTheChosenFamily)
{
    auto* combo = AddItem<TdxBarFontNameCombo>("Font");
    combo->SetText("Arial");
    TDialogScript script;
    script.AnswerFont(true, "Courier New");
    script.AnswerFont(false);
    combo->Click();
    ASSERT_EQ(script.Log("FontDialog").size(), 1);
    EXPECT_EQ(script.Log("FontDialog")[0].text, "Arial");
    EXPECT_EQ(combo->Text(), "Courier New");
    combo->Click();
    EXPECT_EQ(combo->Text(), "Courier New");
    combo->SetReadOnly(true);
    combo->Click();
    EXPECT_EQ(script.Log("FontDialog").size(), 2);
}

TEST(FontFamiliesTest, TheMachinesFamiliesAreSortedEachOnceUnderItsPlainName)
{
    const QList<TdxBarFontFamily> families = dxBarSystemFontFamilies();
    ASSERT_FALSE(families.isEmpty());
    QSet<QString> seen;
    for (int i = 0; i < families.size(); ++i) {
        const QString& name = families[i].name;
        EXPECT_FALSE(name.contains(u'[')) << name.toStdString();
        EXPECT_FALSE(seen.contains(name.toLower())) << name.toStdString();
        seen.insert(name.toLower());
        if (i > 0) {
            EXPECT_LT(families[i - 1].name.compare(name, Qt::CaseInsensitive), 0) << name.toStdString();
        }
    }
    // Every public family of the font database is there, whole, and no private one.
    for (const QString& family : QFontDatabase::families()) {
        const QString plain = family.section(QStringLiteral(" ["), 0, 0);
        EXPECT_EQ(seen.contains(plain.toLower()), !QFontDatabase::isPrivateFamily(family)) << family.toStdString();
    }
    const auto dejaVu = std::find_if(families.begin(), families.end(),
                                     [](const TdxBarFontFamily& f) { return f.name == "DejaVu Sans"; });
    ASSERT_NE(dejaVu, families.end());
    EXPECT_TRUE(dejaVu->trueType);
}

}  // namespace
