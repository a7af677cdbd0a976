// Edit and combo controls on a bar: the in-place editor, its keys, the drop-down list.
#include "BarWindowFixture.h"
#include "Strings.h"
#include "dxBarDrawing.h"
#include "dxBarDropDownListBox.h"
#include "dxBarEditControls.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace {

class EditControlTest : public BarWindowTest {
protected:
    void TearDown() override
    {
        dxBarSetMouseButtonsFunction({});
        BarWindowTest::TearDown();
        QCursor::setPos(700, 700);  // away from where the next test's windows appear
    }

    TdxBarEdit* AddEdit(const QString& text)
    {
        auto* edit = Create<TdxBarEdit>(form.get());
        edit->SetCaption("Path");
        edit->SetText(text);
        edit->OnChange = TNotifyEvent(&changes, &TChangeCounter::Changed);
        bar->ItemLinks()->Add()->SetItem(edit);
        return edit;
    }
    TdxBarCombo* AddCombo(const QStringList& entries, int index)
    {
        auto* combo = Create<TdxBarCombo>(form.get());
        combo->SetCaption("Size");
        for (const QString& e : entries) combo->Items()->Add(e);
        combo->SetItemIndex(index);
        bar->ItemLinks()->Add()->SetItem(combo);
        return combo;
    }
    // Clicks the link's text box; answers its control.
    template <class T>
    T* ClickEdit(int index)
    {
        TRowBar* w = window;
        const TPoint at = w->CentreOf(Link(index)) - TPoint(8, 0);
        QCursor::setPos(w->ClientToScreen(at));
        w->LButtonDown(at, {});
        w->LButtonUp(at, {});
        return dynamic_cast<T*>(Link(index)->Control());
    }
    // Presses the combo's drop-down button with the left button held; answers the control.
    TdxBarComboControl* PressComboButton(int index)
    {
        auto* c = dynamic_cast<TdxBarComboControl*>(Link(index)->Control());
        const TPoint button = c->ButtonRect.TopLeft() + TPoint(2, 2);
        leftDown = true;
        dxBarSetMouseButtonsFunction([this] { return leftDown ? Qt::LeftButton : Qt::NoButton; });
        QCursor::setPos(window->ClientToScreen(button));
        window->LButtonDown(button, {});
        return c;
    }
    TPoint ButtonPoint(TdxBarComboControl* c) const { return c->ButtonRect.TopLeft() + TPoint(2, 2); }
    void Draw()
    {
        window->Snapshot();  // paints, so the controls know where their editors go
    }

    struct TChangeCounter : QObject {
        void Changed(TObject*) { ++count; }
        int count = 0;
    } changes;
    bool leftDown = false;
};

}  // namespace

TEST_F(EditControlTest, EditingSelectsTheTextEnterAppliesItEscGivesTheOldTextBack)
{
    TdxBarEdit* edit = AddEdit("abc");
    Open();
    Draw();
    auto* c = ClickEdit<TdxBarEditControl>(0);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(c->Focused());
    QLineEdit* editor = c->Editor();
    EXPECT_FALSE(editor->isHidden());
    EXPECT_EQ(editor->selectedText(), "abc");
    EXPECT_EQ(edit->CurText(), "abc");

    QTest::keyClicks(editor, "xyz");
    EXPECT_EQ(edit->CurText(), "xyz");
    EXPECT_EQ(edit->Text(), "abc");  // nothing applied yet
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(edit->Text(), "xyz");
    EXPECT_EQ(changes.count, 1);
    EXPECT_FALSE(c->Focused());
    EXPECT_TRUE(editor->isHidden());
    EXPECT_FALSE(window->IsActive());  // Enter closes the menus

    c = ClickEdit<TdxBarEditControl>(0);
    editor = c->Editor();
    QTest::keyClicks(editor, "discarded");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(edit->Text(), "xyz");
    EXPECT_EQ(changes.count, 1);
    EXPECT_FALSE(c->Focused());
    EXPECT_EQ(window->SelectedControl(), c);  // Esc keeps the control selected
}

TEST_F(EditControlTest, TheTextIsReadWholeAndOnlyMaxLengthLimitsIt)
{
    TdxBarEdit* edit = AddEdit("");
    TdxBarEdit* limited = AddEdit("");
    limited->SetMaxLength(5);
    Open();
    Draw();
    auto* c = ClickEdit<TdxBarEditControl>(0);
    // A long folder, with characters outside the basic plane near the end.
    const QString folder = "/home/" + QString(290, u'd') + QString::fromUtf8("/\xF0\x9F\x93\x81x");
    QTest::keyClicks(c->Editor(), folder.left(297));
    for (const QString& typed : {folder.mid(297, 2), folder.mid(299)}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(c->Editor(), &press);
    }
    QTest::keyClick(c->Editor(), Qt::Key_Return);
    EXPECT_EQ(edit->Text(), folder);
    EXPECT_EQ(edit->Text().size(), 300);

    c = ClickEdit<TdxBarEditControl>(1);
    QTest::keyClicks(c->Editor(), "abcdefgh");
    QTest::keyClick(c->Editor(), Qt::Key_Tab);  // Tab applies as well
    EXPECT_EQ(limited->Text(), "abcde");
}

TEST_F(EditControlTest, ItemKeyEventsSeeTheKeysFirstAndMaySwallowThem)
{
    TdxBarEdit* edit = AddEdit("");
    struct TKeys : QObject {
        void KeyDown(TObject*, int& key, TShiftState)
        {
            if (key == VK_RETURN) key = 0;
        }
        void KeyPress(TObject*, QChar& ch)
        {
            if (ch == u'x') ch = QChar();
        }
    } keys;
    edit->OnKeyDown = TdxBarKeyEvent(&keys, &TKeys::KeyDown);
    edit->OnKeyPress = TdxBarKeyPressEvent(&keys, &TKeys::KeyPress);
    Open();
    Draw();
    auto* c = ClickEdit<TdxBarEditControl>(0);
    QTest::keyClicks(c->Editor(), "axb");
    EXPECT_EQ(c->Editor()->text(), "ab");
    QTest::keyClick(c->Editor(), Qt::Key_Return);
    // The text is applied before the item's key event, which then keeps the editor open.
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_TRUE(c->Focused());
}

TEST_F(EditControlTest, ListComboStepsWithUpAndDownAndTellsTheItemOnlyOnEnter)
{
    TdxBarCombo* combo = AddCombo({"8", "10", "12"}, 0);
    Open();
    Draw();
    auto* c = ClickEdit<TdxBarComboControl>(0);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(c->Focused());
    QTest::keyClick(c->Editor(), Qt::Key_Down);
    QTest::keyClick(c->Editor(), Qt::Key_Down);
    EXPECT_EQ(c->Editor()->text(), "12");
    EXPECT_EQ(combo->ItemIndex(), 0);
    QTest::keyClick(c->Editor(), Qt::Key_Down);  // stays at the last entry
    QTest::keyClick(c->Editor(), Qt::Key_Up);
    EXPECT_EQ(c->Editor()->text(), "10");
    QTest::keyClick(c->Editor(), Qt::Key_Return);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "10");
}

TEST_F(EditControlTest, F4AndAltDownToggleTheListAndKeysGoToTheOpenList)
{
    TdxBarCombo* combo = AddCombo({"8", "10", "12"}, 0);
    Open();
    Draw();
    auto* c = ClickEdit<TdxBarComboControl>(0);
    QTest::keyClick(c->Editor(), Qt::Key_F4);
    ASSERT_TRUE(c->DroppedDown());
    auto* list = dynamic_cast<TdxBarDropDownListBox*>(combo->DropDownList());
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->Visible());
    EXPECT_EQ(list->Entries(), QStringList({"8", "10", "12"}));
    EXPECT_EQ(list->ItemIndex(), 0);
    // Down goes to the list, which moves its selection and shows the entry in the editor.
    QTest::keyClick(c->Editor(), Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(c->Editor()->text(), "10");
    EXPECT_EQ(combo->ItemIndex(), 0);
    QTest::keyClick(c->Editor(), Qt::Key_F4);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_FALSE(list->Visible());

    QTest::keyClick(c->Editor(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(c->DroppedDown());
    EXPECT_TRUE(c->Focused());  // Alt+Down did not reach the bar's keyboard handling
    QTest::keyClick(c->Editor(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(c->DroppedDown());
    // A read-only combo never drops down.
    combo->SetReadOnly(true);
    QTest::keyClick(c->Editor(), Qt::Key_F4);
    EXPECT_FALSE(c->DroppedDown());
}

TEST_F(EditControlTest, ADragFromTheButtonIntoTheListChoosesTheEntryOnRelease)
{
    TdxBarCombo* combo = AddCombo({"8", "10", "12", "14"}, 0);
    Open();
    Draw();
    TdxBarComboControl* c = PressComboButton(0);
    ASSERT_TRUE(c->DroppedDown());
    auto* list = dynamic_cast<TdxBarDropDownListBox*>(combo->DropDownList());
    ASSERT_TRUE(list && list->Visible());
    EXPECT_TRUE(list->DropPending());
    // The list opens below the text box, left-aligned with it.
    EXPECT_EQ(list->BoundsRect().Top, window->ClientToScreen(Link(0)->ItemRect().bottomLeft()).y() + 1);

    const TPoint entry = list->ItemRect(2).TopLeft() + TPoint(3, 1);
    list->MouseMove(entry, {});
    EXPECT_FALSE(list->DropPending());
    EXPECT_EQ(list->ItemIndex(), 2);
    leftDown = false;
    list->LButtonUp(entry, {});
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "12");
    EXPECT_FALSE(list->Visible());
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(TWindow::GetCapture(), nullptr);
}

TEST_F(EditControlTest, AReleaseBeforeTheListIsReachedLeavesItOpenAndTheButtonClosesItOnRelease)
{
    TdxBarCombo* combo = AddCombo({"8", "10"}, 1);
    Open();
    Draw();
    TdxBarComboControl* c = PressComboButton(0);
    const TPoint button = ButtonPoint(c);
    auto* list = dynamic_cast<TdxBarDropDownListBox*>(combo->DropDownList());
    leftDown = false;
    list->LButtonUp(list->ScreenToClient(window->ClientToScreen(button)), {});
    EXPECT_TRUE(list->Visible());
    EXPECT_EQ(combo->ItemIndex(), 1);
    // A second press on the button keeps the list; its release closes it.
    leftDown = true;
    window->LButtonDown(button, {});
    EXPECT_TRUE(c->DroppedDown());
    leftDown = false;
    window->LButtonUp(button, {});
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_FALSE(list->Visible());
}

TEST_F(EditControlTest, AKeyInAListWithoutSelectionSelectsTheTopEntryFirst)
{
    TdxBarCombo* combo = AddCombo({"a", "b", "c"}, -1);
    combo->SetText("free");
    Open();
    Draw();
    auto* c = ClickEdit<TdxBarComboControl>(0);
    QTest::keyClick(c->Editor(), Qt::Key_F4);
    auto* list = dynamic_cast<TdxBarDropDownListBox*>(combo->DropDownList());
    ASSERT_EQ(list->ItemIndex(), -1);
    QTest::keyClick(c->Editor(), Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(c->Editor()->text(), "a");
}

TEST_F(EditControlTest, AListThatShrankWhileEditingAppliesTheTypedText)
{
    TdxBarCombo* combo = AddCombo({"8", "10", "12"}, 2);
    Open();
    Draw();
    auto* c = ClickEdit<TdxBarComboControl>(0);
    ASSERT_EQ(c->ItemIndex(), 2);
    combo->Items()->Delete(2);
    combo->Items()->Delete(1);
    QTest::keyClicks(c->Editor(), "zeta");
    QTest::keyClick(c->Editor(), Qt::Key_Return);
    EXPECT_EQ(combo->Text(), "zeta");
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(EditControlTest, AHandlerThatReLaysTheBarOutOnEnterFinishesCleanly)
{
    TdxBarEdit* edit = AddEdit("abc");
    struct TRelabel : QObject {
        void Changed(TObject* sender) { static_cast<TdxBarEdit*>(sender)->SetCaption("Changed"); }
    } relabel;
    edit->SetShowCaption(true);
    edit->OnChange = TNotifyEvent(&relabel, &TRelabel::Changed);
    Open();
    Draw();
    auto* c = ClickEdit<TdxBarEditControl>(0);
    QPointer<QLineEdit> editor = c->Editor();
    QTest::keyClicks(editor, "new");
    const int before = window->layouts;
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(edit->Text(), "new");
    EXPECT_GT(window->layouts, before);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());  // the old control's editor went with it
}

TEST_F(EditControlTest, ControlSizesFollowTheCaptionAndTheLinkWidth)
{
    TdxBarEdit* edit = AddEdit("");
    Open();
    auto* c = dynamic_cast<TdxBarEditControl*>(Link(0)->Control());
    EXPECT_EQ(c->GetWidth(), 100);
    Link(0)->SetUserWidth(357);  // re-lays the bar out
    c = dynamic_cast<TdxBarEditControl*>(Link(0)->Control());
    EXPECT_EQ(c->GetWidth(), 357);
    edit->SetShowCaption(true);
    c = dynamic_cast<TdxBarEditControl*>(Link(0)->Control());
    EXPECT_GT(c->GetCaptionWidth(), 11);
    EXPECT_EQ(c->GetWidth(), c->GetCaptionWidth() + 357);
    EXPECT_EQ(c->GetMinWidth(), c->GetCaptionWidth() + 20);
    EXPECT_GE(c->GetHeight(), window->ItemHeight());
}

TEST_F(EditControlTest, ADisabledEditDrawsNoEditorAndKeepsAnEmptyEditRect)
{
    TdxBarEdit* edit = AddEdit("abc");
    edit->SetEnabled(false);
    Open();
    Draw();
    auto* c = dynamic_cast<TdxBarEditControl*>(Link(0)->Control());
    EXPECT_TRUE(c->GetEditRect().IsEmpty());
    const TPoint at = window->CentreOf(Link(0));
    window->LButtonDown(at, {});
    EXPECT_FALSE(c->Focused());
}

namespace {

// Owner drawing of a combo: records what it was asked and paints each entry in one colour.
struct TOwnerDraw : QObject {
    void Measure(TObject*, int index, int& height) { height = 10 + 5 * index; }
    void Draw(TObject* sender, int index, const TRect& rect, unsigned state)
    {
        auto* combo = static_cast<TdxBarCustomCombo*>(sender);
        drawn << QString("%1%2").arg(index).arg(state & odSelected ? "*" : "");
        if (QPainter* canvas = combo->Canvas()) canvas->fillRect(rect.ToQRect(), Qt::red);
    }
    QStringList drawn;
};

}  // namespace

TEST_F(EditControlTest, AnOwnerDrawnComboMeasuresAndDrawsItsEntriesThroughItsEvents)
{
    TdxBarCombo* combo = AddCombo({"8", "10", "12", "14"}, 1);
    TOwnerDraw owner;
    combo->OnMeasureItem = TdxBarMeasureItemEvent(&owner, &TOwnerDraw::Measure);
    combo->OnDrawItem = TdxBarDrawItemEvent(&owner, &TOwnerDraw::Draw);
    Open();
    Draw();
    // The text box shows the chosen entry, drawn by the handler.
    EXPECT_EQ(owner.drawn, QStringList{"1"});
    EXPECT_EQ(combo->Canvas(), nullptr);

    auto* c = ClickEdit<TdxBarComboControl>(0);
    QTest::keyClick(c->Editor(), Qt::Key_F4);
    auto* list = dynamic_cast<TdxBarDropDownListBox*>(combo->DropDownList());
    ASSERT_TRUE(list && list->Visible());
    // Rows of 10, 15, 20 and 25 px; the list is 4 px taller than its rows.
    EXPECT_EQ(list->ItemRect(2), TRect(0, 25, list->ItemRect(2).Right, 45));
    EXPECT_EQ(list->Height(), 4 + 10 + 15 + 20 + 25);
    list->MouseMove({5, 30}, {});
    EXPECT_EQ(list->ItemIndex(), 2);

    owner.drawn.clear();
    const QImage image = list->Snapshot();
    EXPECT_EQ(owner.drawn, (QStringList{"0", "1", "2*", "3"}));
    EXPECT_EQ(image.pixelColor(list->ClientToScreen({5, 30}) - list->BoundsRect().TopLeft()), QColor(Qt::red));
}

TEST_F(EditControlTest, EscInAClickedEditOnAToolbarLeavesTheBarWhileFromTheKeyboardItStepsBack)
{
    TdxBarEdit* edit = AddEdit("abc");
    AddButton("Go");
    TdxBarControl* toolbar = Dock(600);
    ASSERT_NE(toolbar, nullptr);
    auto* c = dynamic_cast<TdxBarEditControl*>(Link(0)->Control());
    ASSERT_NE(c, nullptr);
    auto escInEditor = [&] {
        ASSERT_TRUE(c->Focused());
        QTest::keyClicks(c->Editor(), "typed");
        QTest::keyClick(c->Editor(), Qt::Key_Escape);
    };

    // Clicked: one Esc gives the old text back and leaves the bar, so no key is held there.
    const TPoint at = c->GetEditRect().ToQRect().center();
    toolbar->LButtonDown(at, {});
    toolbar->LButtonUp(at, {});
    escInEditor();
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_FALSE(c->Focused());
    EXPECT_FALSE(toolbar->IsActive());
    EXPECT_EQ(dxBarActiveBarControl(), nullptr);

    // From the keyboard: Esc selects the edit again in keyboard mode; the next Esc leaves.
    toolbar->BarGetFocus(c);
    int tab = VK_TAB;
    toolbar->KeyDown(tab, {});
    toolbar->KeyDown(tab = VK_TAB, {});
    escInEditor();
    EXPECT_TRUE(toolbar->InKeyboardMode());
    EXPECT_EQ(toolbar->SelectedControl(), c);
    int esc = VK_ESCAPE;
    toolbar->KeyDown(esc, {});
    EXPECT_FALSE(toolbar->InKeyboardMode());
    EXPECT_EQ(dxBarActiveBarControl(), nullptr);

    // Active from a press but not in keyboard mode: Esc leaves all the same.
    toolbar->SetActive(true);
    toolbar->KeyDown(esc = VK_ESCAPE, {});
    EXPECT_FALSE(toolbar->IsActive());
}

TEST_F(EditControlTest, ComboDropDownShowsTheSuppliedWindow)
{
    struct Supplier : QObject {
        QWidget* window = nullptr;
        int dropped = 0;
        void Get(TObject*, QWidget*& w) { w = window; }
        void Dropped(TObject*) { ++dropped; }
    } supplier;
    auto* combo = Create<TCustomdxBarCombo>(form.get());
    combo->OnDropDown = TNotifyEvent(&supplier, &Supplier::Dropped);
    combo->DropDown({10, 10}, {80, 20}, false);  // no window: nothing else happens
    EXPECT_EQ(supplier.dropped, 1);

    QWidget popup;
    popup.resize(50, 40);
    supplier.window = &popup;
    combo->OnGetDropDownWindow = TdxBarGetDropDownWindowEvent(&supplier, &Supplier::Get);
    combo->DropDown({10, 10}, {80, 20}, false);
    EXPECT_TRUE(popup.isVisible());
    combo->CloseUp();
    EXPECT_FALSE(popup.isVisible());
}
