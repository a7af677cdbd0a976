#include "FormResources.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

bool IsFixedTo(const QWidget* w, QSize size)
{
    return w->minimumSize() == size && w->maximumSize() == size;
}

// A dialog with an edit, a memo, a Default (OK), a Cancel (Abort) and a plain button.
struct KeyForm : ::testing::Test, QObject {
    KeyForm()
    {
        edit->SetParent(&form);
        memo->SetParent(&form);
        int left = 0;
        for (TButton* b : {ok, cancel, apply}) {
            b->SetParent(&form);
            b->SetLeft(left += 80);
            b->SetOnClick(TNotifyEvent(this, &KeyForm::Clicked));
        }
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        cancel->SetCancel(true);
        cancel->SetModalResult(mrAbort);
        form.Show();
    }
    void Clicked(TObject* sender) { clicks << sender; }
    // Focuses control and presses key there, as the user does; the buttons clicked.
    QList<TObject*> Press(TWinControl* control, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        clicks.clear();
        control->SetFocus();
        QTest::keyClick(control->Handle(), Qt::Key(key), mods);
        return clicks;
    }
    TForm form{nullptr};
    TEdit* edit = new TEdit(&form);
    TMemo* memo = new TMemo(&form);
    TButton *ok = new TButton(&form), *cancel = new TButton(&form), *apply = new TButton(&form);
    QList<TObject*> clicks;
    using Clicks = QList<TObject*>;
};

}  // namespace

TEST(FormBorderStyle, EachStyleGivesItsWindowKindAndSizing)
{
    const Qt::WindowFlags caption = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    const Qt::WindowFlags decoration = caption | Qt::FramelessWindowHint | Qt::WindowMinMaxButtonsHint;
    struct Case {
        TFormBorderStyle style;
        Qt::WindowType type;
        bool fixed;
        Qt::WindowFlags buttons;
    } const cases[] = {
        {bsNone, Qt::Window, false, Qt::FramelessWindowHint},
        {bsSingle, Qt::Window, true, caption | Qt::WindowMinimizeButtonHint},
        {bsSizeable, Qt::Window, false, Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint},
        {bsDialog, Qt::Dialog, true, caption},
        {bsToolWindow, Qt::Tool, true, caption},
        {bsSizeToolWin, Qt::Tool, false, caption},
    };
    TForm form(nullptr);
    EXPECT_EQ(form.BorderStyle(), bsSizeable);
    EXPECT_FALSE(WriteComponentToText(&form).contains("BorderStyle"));
    form.SetBounds(10, 10, 312, 209);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.style));
        form.SetBorderStyle(c.style);
        const QWidget* w = form.Handle();
        EXPECT_EQ(w->windowFlags() & Qt::WindowType_Mask, c.type);
        EXPECT_EQ(w->windowFlags() & decoration, c.buttons);
        EXPECT_EQ(IsFixedTo(w, QSize(312, 209)), c.fixed);
        EXPECT_EQ(w->maximumSize() == QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), !c.fixed);
    }

    // A fixed form follows its own size changes, not the user's.
    form.SetBorderStyle(bsDialog);
    EXPECT_TRUE(WriteComponentToText(&form).contains("BorderStyle = bsDialog"));
    form.Show();
    form.SetClientWidth(400);
    QCoreApplication::processEvents();
    EXPECT_TRUE(IsFixedTo(form.Handle(), QSize(400, 209)));
    form.Handle()->resize(500, 300);  // as the user drags the frame
    QCoreApplication::processEvents();
    EXPECT_EQ(form.Handle()->size(), QSize(400, 209));
    EXPECT_EQ(form.Width(), 400);
}

TEST(FormBorderStyle, BorderIconsDropTheirButtonsAndStream)
{
    const Qt::WindowFlags buttons = Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                    Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    struct Case {
        TBorderIcons icons;
        Qt::WindowFlags shown;
    } const cases[] = {
        {TBorderIcons(biSystemMenu | biMinimize | biMaximize), buttons},
        {TBorderIcons(biSystemMenu | biMinimize), buttons & ~Qt::WindowMaximizeButtonHint},
        // Without the system menu there are no buttons at all.
        {TBorderIcons(biMinimize | biMaximize), {}},
        {TBorderIcons(), {}},
    };
    TForm form(nullptr);
    form.SetBounds(10, 10, 300, 200);
    for (const Case& c : cases) {
        form.SetBorderIcons(c.icons);
        const QWidget* w = form.Handle();
        EXPECT_EQ(w->windowFlags() & buttons, c.shown) << int(c.icons);
        EXPECT_TRUE(w->windowFlags() & Qt::WindowTitleHint);
        EXPECT_FALSE(IsFixedTo(w, QSize(300, 200)));
    }
    EXPECT_TRUE(WriteComponentToText(&form).contains("BorderIcons = []"));
}

TEST(FormBorderStyle, ChangingTheStyleKeepsAShownWindowShownAndFocused)
{
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    form.SetBounds(20, 30, 240, 120);
    form.Show();
    edit->SetFocus();
    for (TFormBorderStyle style : {bsToolWindow, bsNone, bsDialog, bsSizeToolWin}) {
        SCOPED_TRACE(int(style));
        form.SetBorderStyle(style);
        EXPECT_TRUE(form.Handle()->isVisible());
        EXPECT_EQ(form.Handle()->size(), QSize(240, 120));
        EXPECT_EQ(form.Handle()->focusWidget(), edit->Handle());
    }
    form.Handle()->resize(300, 150);  // sizeable again
    EXPECT_TRUE(testsupport::WaitFor([&] { return form.Width() == 300; }, 2000));
}

TEST_F(KeyForm, EnterAndEscapeClickTheDefaultCancelOrFocusedButton)
{
    EXPECT_EQ(Press(edit, Qt::Key_Return), Clicks{ok});
    EXPECT_EQ(form.ModalResult(), mrOk);
    EXPECT_EQ(Press(edit, Qt::Key_Enter, Qt::KeypadModifier), Clicks{ok});
    EXPECT_EQ(Press(edit, Qt::Key_Escape), Clicks{cancel});
    EXPECT_EQ(form.ModalResult(), mrAbort);
    EXPECT_EQ(Press(memo, Qt::Key_Escape), Clicks{cancel});
    EXPECT_TRUE(Press(edit, Qt::Key_Return, Qt::ShiftModifier).isEmpty());
    EXPECT_TRUE(Press(edit, Qt::Key_Escape, Qt::ControlModifier).isEmpty());
    // A focused button takes Enter itself, once.
    EXPECT_EQ(Press(apply, Qt::Key_Return), Clicks{apply});
    EXPECT_EQ(Press(ok, Qt::Key_Return), Clicks{ok});
}

TEST_F(KeyForm, EnterInAMemoIsALineBreak)
{
    memo->SetText("ab");
    memo->SetSelStart(1);
    EXPECT_TRUE(Press(memo, Qt::Key_Return).isEmpty());
    EXPECT_EQ(memo->Text(), "a\nb");
    memo->SetReadOnly(true);
    EXPECT_TRUE(Press(memo, Qt::Key_Return).isEmpty());
}

TEST_F(KeyForm, DisabledOrHiddenButtonsAreNotClicked)
{
    ok->SetEnabled(false);
    cancel->SetVisible(false);
    EXPECT_TRUE(Press(edit, Qt::Key_Return).isEmpty());
    EXPECT_TRUE(Press(edit, Qt::Key_Escape).isEmpty());
    ok->SetEnabled(true);
    ok->SetVisible(false);
    EXPECT_TRUE(Press(edit, Qt::Key_Return).isEmpty());
    ok->SetVisible(true);
    ok->SetDefault(false);
    apply->SetDefault(true);  // the default can move
    EXPECT_EQ(Press(edit, Qt::Key_Return), Clicks{apply});
    EXPECT_EQ(form.ModalResult(), mrNone);
}

TEST_F(KeyForm, EnterEndsShowModalThroughTheDefaultButton)
{
    form.Hide();
    QTimer::singleShot(0, [this] { Press(edit, Qt::Key_Return); });
    QTimer fallback;  // should the key go astray, the dialog still ends (with another result)
    QObject::connect(&fallback, &QTimer::timeout, [this] { form.SetModalResult(mrNo); });
    fallback.start(5000);
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(clicks, Clicks{ok});
}
