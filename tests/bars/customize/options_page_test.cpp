// The Options page: the panel of the manager's style, the boxes and combos writing the
// manager's options with the boxes that are enabled only while another is checked, changes
// made outside the page showing on it, the usage reset's question, and the Help button.
#include "CustomizeFixture.h"
#include "Painting.h"
#include "TextMetrics.h"
#include "dxBarStrs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace {

class OptionsPageTest : public CustomizeTest {
protected:
    void SetUp() override
    {
        CustomizeTest::SetUp();
        manager->Customizing(true);
        w = Window();
        ASSERT_NE(w, nullptr);
        w->PageControl->SetActivePage(w->TabSheet3);
    }
    // A click of the user on the box.
    static void Click(TCheckBox* box) { box->CheckBox()->click(); }
    // The user picks the combo's next item by the keyboard.
    static void PickNext(TComboBox* combo) { QTest::keyClick(combo->ComboBox(), Qt::Key_Down); }
    // The label's right edge as the user reads it: the text, without its mnemonic mark.
    int LabelRight(TLabel* label) const
    {
        return label->Left() + TextExtent(w->Font()->ToQFont(), StripMnemonic(label->Caption())).width();
    }

    TdxBarCustomizingForm* w = nullptr;
};

}  // namespace

TEST_F(OptionsPageTest, TheStylesPanelShowsAndFollowsAStyleChange)
{
    struct TCase {
        TdxBarManagerStyle style;
        bool standard;
    };
    const TCase cases[] = {{bmsStandard, true}, {bmsEnhanced, false}, {bmsFlat, false}, {bmsStandard, true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.style));
        manager->SetStyle(c.style);
        EXPECT_EQ(w->StandardOptionsPanel->Visible(), c.standard);
        EXPECT_EQ(w->EnhancedOptionsPanel->Visible(), !c.standard);
    }

    // Each panel's combo stands clear of its label and is wide enough for its longest item,
    // and the reset button for its caption.
    const QFont font = w->Font()->ToQFont();
    for (auto [label, combo] : {std::pair{w->LabelMenuAnimations, w->ComboBoxMenuAnimations},
                                std::pair{w->Label1, w->ComboBoxMenuAnimationsEx}}) {
        EXPECT_EQ(label->Caption(), "&Menu animations:");
        EXPECT_EQ(label->FocusControl(), combo);
        EXPECT_GE(combo->Left(), LabelRight(label) + 10);
        ASSERT_EQ(combo->Items()->Count(), 4);
        for (int i = 0; i < combo->Items()->Count(); ++i)
            EXPECT_GT(combo->Width(), TextExtent(font, combo->Items()->Strings(i)).width() + 40);
    }
    EXPECT_GT(w->BResetUsageData->Width(), TextExtent(font, "Reset my usage data").width());
    EXPECT_EQ(w->CBHint2Ex->Caption(), "Show s&hortcut keys in ToolTips");
}

TEST_F(OptionsPageTest, EachControlWritesItsOptionAndTheDependentBoxesFollow)
{
    // Each case clicks one box (or picks the next animation) on the panel of its style and
    // reads the option back; the twin on the other panel shows the same value.
    struct TCase {
        const char* what;
        TdxBarManagerStyle style;
        std::function<void(TdxBarCustomizingForm*)> act;
        std::function<int(TdxBarManager*)> option;
        std::function<int(TdxBarCustomizingForm*)> shown;  // what the other panel shows
    };
    auto checked = [](TCheckBox* TdxBarCustomizingForm::*box) {
        return [box](TdxBarCustomizingForm* f) { return int((f->*box)->Checked()); };
    };
    auto click = [](TCheckBox* TdxBarCustomizingForm::*box) {
        return [box](TdxBarCustomizingForm* f) { Click(f->*box); };
    };
    const TCase cases[] = {
        {"large icons", bmsStandard, click(&TdxBarCustomizingForm::CBLargeIcons),
         [](TdxBarManager* m) { return int(m->LargeIcons()); }, checked(&TdxBarCustomizingForm::CBLargeIconsEx)},
        {"large icons, enhanced", bmsFlat, click(&TdxBarCustomizingForm::CBLargeIconsEx),
         [](TdxBarManager* m) { return int(m->LargeIcons()); }, checked(&TdxBarCustomizingForm::CBLargeIcons)},
        {"shortcut keys", bmsStandard, click(&TdxBarCustomizingForm::CBHint2),
         [](TdxBarManager* m) { return int(m->ShowShortCutInHint()); }, checked(&TdxBarCustomizingForm::CBHint2Ex)},
        {"shortcut keys, enhanced", bmsEnhanced, click(&TdxBarCustomizingForm::CBHint2Ex),
         [](TdxBarManager* m) { return int(m->ShowShortCutInHint()); }, checked(&TdxBarCustomizingForm::CBHint2)},
        {"full menus after a delay", bmsEnhanced, click(&TdxBarCustomizingForm::CBShowFullMenusAfterDelay),
         [](TdxBarManager* m) { return int(m->ShowFullMenusAfterDelay()); },
         checked(&TdxBarCustomizingForm::CBShowFullMenusAfterDelay)},
        {"recent first", bmsEnhanced, click(&TdxBarCustomizingForm::CBMenusShowRecentItemsFirst),
         [](TdxBarManager* m) { return int(m->MenusShowRecentItemsFirst()); },
         checked(&TdxBarCustomizingForm::CBMenusShowRecentItemsFirst)},
        {"tooltips", bmsStandard, click(&TdxBarCustomizingForm::CBHint1),
         [](TdxBarManager* m) { return int(m->ShowHint()); }, checked(&TdxBarCustomizingForm::CBHint1Ex)},
        {"animations", bmsStandard, [](TdxBarCustomizingForm* f) { PickNext(f->ComboBoxMenuAnimations); },
         [](TdxBarManager* m) { return int(m->MenuAnimations()); },
         [](TdxBarCustomizingForm* f) { return f->ComboBoxMenuAnimationsEx->ItemIndex(); }},
        {"animations, enhanced", bmsFlat, [](TdxBarCustomizingForm* f) { PickNext(f->ComboBoxMenuAnimationsEx); },
         [](TdxBarManager* m) { return int(m->MenuAnimations()); },
         [](TdxBarCustomizingForm* f) { return f->ComboBoxMenuAnimations->ItemIndex(); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        manager->SetStyle(c.style);
        const int before = c.option(manager);
        c.act(w);
        const int after = c.option(manager);
        EXPECT_NE(after, before);
        EXPECT_EQ(c.shown(w), after);
    }
    EXPECT_EQ(manager->MenuAnimations(), maUnfold);  // picked twice from (None)

    // Unchecking tooltips disables the shortcut box of the enhanced panel without unchecking
    // it or changing the option; checking brings it back. Recent-first rules the delay box.
    manager->SetStyle(bmsEnhanced);
    manager->SetShowShortCutInHint(true);
    manager->SetShowHint(true);
    ASSERT_TRUE(w->CBHint2Ex->Enabled());
    Click(w->CBHint1Ex);
    EXPECT_FALSE(manager->ShowHint());
    EXPECT_FALSE(w->CBHint2Ex->Enabled());
    EXPECT_TRUE(w->CBHint2Ex->Checked());
    EXPECT_TRUE(manager->ShowShortCutInHint());
    EXPECT_TRUE(w->CBHint2->Enabled());  // the standard panel's box has no such rule
    Click(w->CBHint1Ex);
    EXPECT_TRUE(w->CBHint2Ex->Enabled());

    manager->SetMenusShowRecentItemsFirst(true);
    ASSERT_TRUE(w->CBShowFullMenusAfterDelay->Enabled());
    const bool delay = manager->ShowFullMenusAfterDelay();
    Click(w->CBMenusShowRecentItemsFirst);
    EXPECT_FALSE(manager->MenusShowRecentItemsFirst());
    EXPECT_FALSE(w->CBShowFullMenusAfterDelay->Enabled());
    EXPECT_EQ(manager->ShowFullMenusAfterDelay(), delay);
}

TEST_F(OptionsPageTest, ChangesMadeOutsideThePageShowOnIt)
{
    manager->SetStyle(bmsEnhanced);
    struct TCase {
        const char* what;
        std::function<void(TdxBarManager*)> change;
        std::function<bool(TdxBarCustomizingForm*)> shown;
    };
    const TCase cases[] = {
        {"large icons", [](TdxBarManager* m) { m->SetLargeIcons(true); },
         [](TdxBarCustomizingForm* f) { return f->CBLargeIcons->Checked() && f->CBLargeIconsEx->Checked(); }},
        {"no tooltips", [](TdxBarManager* m) { m->SetShowHint(false); },
         [](TdxBarCustomizingForm* f) {
             return !f->CBHint1->Checked() && !f->CBHint1Ex->Checked() && !f->CBHint2Ex->Enabled();
         }},
        {"slide", [](TdxBarManager* m) { m->SetMenuAnimations(maSlide); },
         [](TdxBarCustomizingForm* f) {
             return f->ComboBoxMenuAnimations->Text() == "Slide" && f->ComboBoxMenuAnimationsEx->Text() == "Slide";
         }},
        {"no recent first", [](TdxBarManager* m) { m->SetMenusShowRecentItemsFirst(false); },
         [](TdxBarCustomizingForm* f) {
             return !f->CBMenusShowRecentItemsFirst->Checked() && !f->CBShowFullMenusAfterDelay->Enabled();
         }},
        {"no full menus", [](TdxBarManager* m) { m->SetShowFullMenusAfterDelay(false); },
         [](TdxBarCustomizingForm* f) { return !f->CBShowFullMenusAfterDelay->Checked(); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.shown(w));
        c.change(manager);
        EXPECT_TRUE(c.shown(w));
    }
}

TEST_F(OptionsPageTest, ResettingTheUsageDataAsksFirstWithNoAsTheDefault)
{
    manager->SetStyle(bmsEnhanced);
    for (int answer : {IDNO, IDYES}) {
        script.ClearLog();
        script.AnswerMessage(answer);
        w->BResetUsageData->Click();
        const QList<TDialogRecord> boxes = script.Log("MessageBox");
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0].text, dxBarStr(dxSBAR_CONFIRMRESETUSAGEDATA));
        EXPECT_EQ(boxes[0].flags & MB_DEFMASK, MB_DEFBUTTON2);
    }
}

TEST_F(OptionsPageTest, HelpFiresTheManagersEventAndAsksForHelpOnlyWithAContext)
{
    struct TRecorder : QObject {
        void Button(TObject* sender) { senders << sender; }
        void Help(int, int context, bool& handled)
        {
            contexts << context;
            handled = true;
        }
        QList<TObject*> senders;
        QList<int> contexts;
    } seen;
    manager->OnHelpButtonClick = TNotifyEvent(&seen, &TRecorder::Button);
    Application->SetOnHelp(THelpEvent(&seen, &TRecorder::Help));
    manager->SetShowHelpButton(true);
    struct TCase {
        int context;
        QList<int> help;
    };
    for (const TCase& c : {TCase{0, {}}, TCase{7, {7}}}) {
        SCOPED_TRACE(c.context);
        seen.senders.clear();
        seen.contexts.clear();
        manager->SetHelpContext(c.context);
        w->BHelp->Button()->click();
        EXPECT_EQ(seen.senders, QList<TObject*>{w->BHelp});
        EXPECT_EQ(seen.contexts, c.help);
    }
    Application->SetOnHelp({});
}
