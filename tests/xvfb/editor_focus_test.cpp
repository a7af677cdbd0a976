// The editor under real input: clicks on its toolbar buttons run their commands and
// shortcuts typed in the code pane reach theirs, while the code pane keeps the focus; the
// paste keys and the middle button with nothing on the X clipboard keep the text; the code
// pane's label shows on the toolbar in its focus colour and goes with the toolbar when it is
// dragged, and neither takes the focus from the pane.
#include "EditorWindowFixture.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarEditControls.h"
#include "dxBarItemLink.h"
#include "dxBarItems.h"
#include "frm_Custom.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QTest>
#include <QWebEnginePage>
#include <functional>
#include <memory>
#include <optional>

using testsupport::WaitFor;

namespace {

constexpr int kWaitMs = 30000;

class EditorFocusTest : public EditorWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ShowFormActive(QStringLiteral("editor focus"), 5000));
        ASSERT_TRUE(WaitForBody("HTML"));
    }

    // A real click on the centre of the item's button in its toolbar.
    bool ClickButton(TdxBarItem* item)
    {
        for (TdxBarItemLink* link : item->LinkList()) {
            auto* window = qobject_cast<TdxBarControl*>(link->Links()->BarControl());
            if (!window || !window->Visible() || !link->Control() || link->ItemRect().isEmpty()) continue;
            return ClickAt(window->ClientToScreen(TPoint(link->ItemRect().center())));
        }
        ADD_FAILURE() << "no shown button of " << item->Name().toStdString();
        return false;
    }
    QString BodyText()
    {
        std::optional<QVariant> result;
        form->WebBrowser->Page()->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                                                [&](const QVariant& v) { result = v; });
        EXPECT_TRUE(WaitFor([&] { return result.has_value(); }, kWaitMs));
        return result.value_or(QVariant()).toString();
    }
    bool WaitForBody(const QString& text)
    {
        return WaitFor([&] { return BodyText().contains(text); }, kWaitMs);
    }
};

}  // namespace

TEST_F(EditorFocusTest, DynamicAndViewClickedOnTheToolbarLeaveTheFocusInTheCodePane)
{
    form->mmHTMLCode->SetText("<p>first</p>");
    ASSERT_TRUE(WaitForBody("first"));

    ASSERT_TRUE(ClickButton(form->btDynamic));
    ASSERT_TRUE(WaitFor([&] { return !form->btDynamic->Down(); }, 5000));
    EXPECT_TRUE(CodeHasFocus());
    form->mmHTMLCode->SetText("<p>second</p>");
    QTest::qWait(300);
    EXPECT_TRUE(BodyText().contains("first"));  // the live preview is off

    ASSERT_TRUE(ClickButton(form->btView));
    EXPECT_TRUE(WaitForBody("second"));
    EXPECT_TRUE(CodeHasFocus());

    ASSERT_TRUE(ClickButton(form->btDynamic));
    ASSERT_TRUE(WaitFor([&] { return form->btDynamic->Down(); }, 5000));
    form->mmHTMLCode->SetText("<p>third</p>");
    EXPECT_TRUE(WaitForBody("third"));
    EXPECT_TRUE(CodeHasFocus());
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
}

TEST_F(EditorFocusTest, ShortcutsTypedInTheCodePaneReachTheirCommands)
{
    const bool wasDown = form->btDynamic->Down();
    ASSERT_TRUE(XDoTool({"key", "--delay", "50", "ctrl+d"}));
    ASSERT_TRUE(WaitFor([&] { return form->btDynamic->Down() != wasDown; }, 5000));
    ASSERT_TRUE(XDoTool({"key", "--delay", "50", "ctrl+b"}));
    ASSERT_TRUE(WaitFor([&] { return form->mmHTMLCode->Text().contains("<B>"); }, 5000));
    EXPECT_TRUE(CodeHasFocus());

    // Alt then Esc: menu mode on the menu bar and back, the focus never leaving the pane.
    auto* menuBar = qobject_cast<TdxBarControl*>(form->BarManager->MainMenuBar()->ItemLinks()->BarControl());
    ASSERT_NE(menuBar, nullptr);
    ASSERT_TRUE(XDoTool({"key", "alt"}));
    ASSERT_TRUE(WaitFor([&] { return menuBar->InKeyboardMode(); }, 5000));
    ASSERT_TRUE(XDoTool({"key", "Escape"}));
    ASSERT_TRUE(WaitFor([&] { return !menuBar->InKeyboardMode(); }, 5000));
    EXPECT_TRUE(CodeHasFocus());
}

namespace {

// The shown link of item in the links of a window (none while it is not laid out).
TdxBarItemLink* ShownLink(TdxBarItemLinks* links, TdxBarItem* item)
{
    for (TdxBarItemLink* link : links->VisibleItems())
        if (link->Item() == item && link->Control() && !link->ItemRect().isEmpty()) return link;
    return nullptr;
}

}  // namespace

TEST_F(EditorFocusTest, AMenuCommandByMouseOrByKeysLeavesTheFocusInTheCodePane)
{
    form->mmHTMLCode->SetText("<p>menus</p>");
    QPlainTextEdit* code = form->mmHTMLCode->Editor();
    code->moveCursor(QTextCursor::Start);
    const int length = code->toPlainText().size();
    auto selected = [&] { return code->textCursor().selectedText().size(); };
    auto* edit = qobject_cast<TdxBarSubItem*>(form->FindComponent("miEdit"));
    auto* selectAllItem = qobject_cast<TdxBarItem*>(form->FindComponent("btSelectAll"));
    ASSERT_TRUE(edit && selectAllItem);
    TdxBarItemLinks* editLinks = edit->ItemLinks();

    // Edit, then Select All, by mouse.
    ASSERT_TRUE(ClickButton(edit));
    TdxBarItemLink* selectAll = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (selectAll = ShownLink(editLinks, selectAllItem)) != nullptr; }, 5000));
    QTest::qWait(300);  // the opening animation
    TCustomdxBarControl* menu = editLinks->BarControl();
    ASSERT_NE(menu, nullptr);
    const TPoint p = menu->ClientToScreen(TPoint(selectAll->ItemRect().center()));
    ASSERT_TRUE(XDoTool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y()), "click", "1"}));
    ASSERT_TRUE(WaitFor([&] { return selected() == length; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return dxBarActiveBarControl() == nullptr; }, 5000));
    EXPECT_TRUE(CodeHasFocus());
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());

    // Alt+E opens Edit, A clicks Select All.
    code->moveCursor(QTextCursor::Start);
    ASSERT_EQ(selected(), 0);
    ASSERT_TRUE(XDoTool({"key", "--delay", "80", "alt+e"}));
    ASSERT_TRUE(WaitFor([&] { return editLinks->BarControl() && editLinks->BarControl()->Visible(); }, 5000));
    QTest::qWait(300);
    ASSERT_TRUE(XDoTool({"key", "--delay", "80", "a"}));
    ASSERT_TRUE(WaitFor([&] { return selected() == length; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return dxBarActiveBarControl() == nullptr; }, 5000));
    EXPECT_TRUE(CodeHasFocus());
    EXPECT_EQ(code->toPlainText().size(), length);
}

TEST_F(EditorFocusTest, PressOnATitleDragIntoItsMenuAndReleaseOnACommand)
{
    form->mmHTMLCode->SetText("<p>drag</p>");
    QPlainTextEdit* code = form->mmHTMLCode->Editor();
    code->moveCursor(QTextCursor::Start);
    auto* edit = qobject_cast<TdxBarSubItem*>(form->FindComponent("miEdit"));
    auto* selectAllItem = qobject_cast<TdxBarItem*>(form->FindComponent("btSelectAll"));
    ASSERT_TRUE(edit && selectAllItem);
    TdxBarItemLink* title = edit->LinkList().value(0);
    auto* menuBar = qobject_cast<TdxBarControl*>(title->Links()->BarControl());
    ASSERT_NE(menuBar, nullptr);
    const TPoint onTitle = menuBar->ClientToScreen(TPoint(title->ItemRect().center()));
    ASSERT_TRUE(
        XDoTool({"mousemove", "--sync", QString::number(onTitle.x()), QString::number(onTitle.y()), "mousedown", "1"}));
    TdxBarItemLink* selectAll = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (selectAll = ShownLink(edit->ItemLinks(), selectAllItem)) != nullptr; }, 5000));
    QTest::qWait(300);  // the opening animation
    const TPoint onCommand = edit->ItemLinks()->BarControl()->ClientToScreen(TPoint(selectAll->ItemRect().center()));
    ASSERT_TRUE(XDoTool({"mousemove", "--sync", QString::number(onCommand.x()), QString::number(onCommand.y() - 3)}));
    ASSERT_TRUE(XDoTool({"mousemove", "--sync", QString::number(onCommand.x()), QString::number(onCommand.y())}));
    ASSERT_TRUE(XDoTool({"mouseup", "1"}));
    EXPECT_TRUE(WaitFor([&] { return code->textCursor().selectedText().size() == code->toPlainText().size(); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return dxBarActiveBarControl() == nullptr; }, 5000));
    EXPECT_TRUE(CodeHasFocus());
}

namespace {

// A click of the given button on the centre of widget.
bool ClickOn(QWidget* widget, int button)
{
    const QPoint p = widget->mapToGlobal(widget->rect().center());
    return XDoTool(
        {"mousemove", "--sync", QString::number(p.x()), QString::number(p.y()), "click", QString::number(button)});
}

}  // namespace

// With nothing owning the clipboard or the selection (as on a fresh X session, or once the
// program that copied has gone), the paste keys and the middle button leave the text as it
// was; with text on the clipboard Ctrl+V pastes it.
TEST_F(EditorFocusTest, PastingWithNothingOnTheClipboardKeepsTheText)
{
    std::unique_ptr<TfrmCustom> custom(Create<TfrmCustom>(nullptr));
    struct Box {
        const char* name;
        TForm* form;
        TWinControl* control;
        std::function<QString()> text;
        std::function<void()> prepare;  // "keep" in the box with the caret after it
    };
    const Box boxes[] = {
        {"code pane", form, form->mmHTMLCode, [&] { return form->mmHTMLCode->Text(); },
         [&] {
             form->mmHTMLCode->SetText("keep");
             form->mmHTMLCode->SetSelStart(4);
         }},
        {"custom insert text", custom.get(), custom->mmText, [&] { return custom->mmText->Text(); },
         [&] {
             custom->mmText->SetText("keep");
             custom->mmText->SetSelStart(4);
         }},
        {"custom insert name", custom.get(), custom->edName, [&] { return custom->edName->Text(); },
         [&] {
             custom->edName->SetText("keep");
             custom->edName->Editor()->end(false);
         }},
    };
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.name);
        box.form->Show();
        box.form->Handle()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(box.form->Handle()));
        box.prepare();
        box.control->SetFocus();
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == box.control->Handle(); }, 5000));

        // The keys reach the box's paste: text on the clipboard is pasted.
        clipboard->setText("pasted");
        ASSERT_TRUE(XDoTool({"key", "--delay", "50", "ctrl+v"}));
        ASSERT_TRUE(WaitFor([&] { return box.text() == "keeppasted"; }, 5000)) << box.text().toStdString();

        // Nobody owns the clipboard or the selection now.
        clipboard->clear(QClipboard::Clipboard);
        clipboard->clear(QClipboard::Selection);
        ASSERT_TRUE(WaitFor(
            [&] {
                const QMimeData* data = clipboard->mimeData();
                return !clipboard->ownsClipboard() && (!data || data->formats().isEmpty());
            },
            5000));
        ASSERT_TRUE(XDoTool({"key", "--delay", "50", "ctrl+v", "shift+Insert"}));
        ASSERT_TRUE(ClickOn(box.control->Handle(), 2));
        QTest::qWait(300);
        EXPECT_EQ(box.text(), "keeppasted");
        EXPECT_EQ(QApplication::focusWidget(), box.control->Handle());
    }
}

TEST_F(EditorFocusTest, EscEscInThePathBarLeavesTheKeysToTheCodePane)
{
    form->mmHTMLCode->SetText(QString());
    const QString path = form->edPathEdit->Text();
    TdxBarItemLink* link = form->edPathEdit->LinkList().value(0);
    ASSERT_NE(link, nullptr);
    auto* control = dynamic_cast<TdxBarEditControl*>(link->Control());
    ASSERT_NE(control, nullptr);
    const TPoint p = control->Parent()->ClientToScreen(control->GetEditRect().ToQRect().center());
    ASSERT_TRUE(XDoTool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y()), "click", "1"}));
    ASSERT_TRUE(WaitFor([&] { return control->Focused(); }, 5000));
    ASSERT_TRUE(XDoTool({"type", "--delay", "50", "zz"}));
    ASSERT_TRUE(WaitFor([&] { return form->edPathEdit->CurText() != path; }, 5000));
    // The first Esc gives the old text back, the second is the user making sure.
    ASSERT_TRUE(XDoTool({"key", "--delay", "80", "Escape", "Escape"}));
    EXPECT_TRUE(WaitFor([&] { return CodeHasFocus(); }, 5000));
    EXPECT_EQ(form->edPathEdit->Text(), path);
    EXPECT_EQ(dxBarActiveBarControl(), nullptr);

    // What is typed next reaches the code pane.
    ASSERT_TRUE(XDoTool({"type", "--delay", "50", "<b>"}));
    EXPECT_TRUE(WaitFor([&] { return form->mmHTMLCode->Text() == "<b>"; }, 5000))
        << form->mmHTMLCode->Text().toStdString();
    EXPECT_TRUE(CodeHasFocus());
}

namespace {

// The Toolbar's window, and the link of the code pane's label on it.
TdxBarControl* ToolbarWindow(TfrmMain* form)
{
    return qobject_cast<TdxBarControl*>(form->BarManager->BarByName("Toolbar")->ItemLinks()->BarControl());
}

TdxBarItemLink* CodeLabelLink(TfrmMain* form)
{
    auto* container = qobject_cast<TdxBarItem*>(form->FindComponent("ContainLab1"));
    return container ? container->LinkList().value(0) : nullptr;
}

// How many pixels of the screen inside rect (screen coordinates) are near colour.
int PixelsNear(const QRect& rect, const QColor& colour)
{
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                60)
                ++count;
        }
    return count;
}

// Runs xdotool with arguments in the background, sampling every 20 ms until it has ended
// and the drag it made is over.
void DuringRealDrag(const QStringList& arguments, const std::function<void()>& sample)
{
    QProcess xdotool;
    xdotool.start("xdotool", arguments);
    ASSERT_TRUE(xdotool.waitForStarted());
    QTimer sampler;
    sampler.setInterval(20);
    QObject::connect(&sampler, &QTimer::timeout, sample);
    sampler.start();
    EXPECT_TRUE(WaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 15000));
    EXPECT_TRUE(WaitFor([] { return !TdxBarWindowsLibrary::Instance()->CurrentDrag(); }, 5000));
    sampler.stop();
}

QString Arg(int v)
{
    return QString::number(v);
}

}  // namespace

TEST_F(EditorFocusTest, TheCodeLabelShowsInItsFocusColourOnTheToolbarAndAClickOnItKeepsTheFocus)
{
    TdxBarControl* window = ToolbarWindow(form);
    TdxBarItemLink* link = CodeLabelLink(form);
    ASSERT_TRUE(window && link && !link->ItemRect().isEmpty());
    const QRect onScreen(window->ClientToScreen(TPoint(link->ItemRect().topLeft())), link->ItemRect().size());
    ASSERT_TRUE(window->WindowRect().ToQRect().contains(onScreen));
    QTest::qWait(300);  // painted
    // The code pane has the focus: the label's text is maroon, not grey.
    EXPECT_TRUE(WaitFor([&] { return PixelsNear(onScreen, QColor(0x80, 0, 0)) > 20; }, 5000));
    EXPECT_EQ(PixelsNear(onScreen, QColor(0x80, 0x80, 0x80)), 0);

    const QPoint centre = onScreen.center();
    ASSERT_TRUE(XDoTool({"mousemove", "--sync", Arg(centre.x()), Arg(centre.y()), "click", "1"}));
    QTest::qWait(300);
    EXPECT_TRUE(CodeHasFocus());
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
    EXPECT_EQ(dxBarActiveBarControl(), nullptr);
}

TEST_F(EditorFocusTest, ARealDragFloatsTheToolbarWithItsLabelAndDocksItWhileTheCodePaneKeepsTheFocus)
{
    TdxBar* toolbar = form->BarManager->BarByName("Toolbar");
    TdxBarControl* window = ToolbarWindow(form);
    ASSERT_TRUE(window);
    QWidget* label = form->txCode->Handle();
    // The label stands in the toolbar's current window and shows.
    auto labelOnToolbar = [&] {
        TdxBarControl* w = ToolbarWindow(form);
        TdxBarItemLink* link = CodeLabelLink(form);
        return w && link && !link->ItemRect().isEmpty() && label == form->txCode->Handle() && label->isVisible() &&
               label->window() == w->Handle()->window();
    };
    bool codeKeptFocus = true;
    auto sample = [&] {
        if (!CodeHasFocus()) codeKeptFocus = false;
    };

    // From the grip to well below the form: the toolbar floats.
    const QPoint grip = window->WindowRect().TopLeft() + QPoint(4, window->Height() / 2);
    const QPoint away = form->Handle()->mapToGlobal(QPoint(form->Width() / 2, form->Height() + 120));
    DuringRealDrag({"mousemove",
                    "--sync",
                    Arg(grip.x()),
                    Arg(grip.y()),
                    "mousedown",
                    "1",
                    "sleep",
                    "0.3",
                    "mousemove",
                    Arg(grip.x() + 40),
                    Arg(grip.y() + 120),
                    "sleep",
                    "0.3",
                    "mousemove",
                    Arg(away.x()),
                    Arg(away.y()),
                    "sleep",
                    "0.5",
                    "mouseup",
                    "1"},
                   sample);
    ASSERT_EQ(toolbar->DockingStyle(), dsNone);
    EXPECT_TRUE(WaitFor(labelOnToolbar, 5000));

    // By its caption onto the form's top dock: it docks again.
    window = ToolbarWindow(form);
    ASSERT_TRUE(window && window->Floating());
    const TRect text = window->FloatFrame().TextRect(window->Width());
    const QPoint caption = window->WindowRect().TopLeft() + QPoint(text.Left + 1, text.Top + 5);
    const QPoint top = form->Handle()->mapToGlobal(QPoint(form->Width() / 2, 2));
    DuringRealDrag({"mousemove",
                    "--sync",
                    Arg(caption.x()),
                    Arg(caption.y()),
                    "mousedown",
                    "1",
                    "sleep",
                    "0.3",
                    "mousemove",
                    Arg(caption.x() + 20),
                    Arg(caption.y() - 60),
                    "sleep",
                    "0.3",
                    "mousemove",
                    Arg(top.x()),
                    Arg(top.y()),
                    "sleep",
                    "0.3",
                    "mousemove",
                    Arg(top.x() + 2),
                    Arg(top.y()),
                    "sleep",
                    "0.5",
                    "mouseup",
                    "1"},
                   sample);
    EXPECT_EQ(toolbar->DockingStyle(), dsTop);
    EXPECT_TRUE(WaitFor(labelOnToolbar, 5000));
    EXPECT_TRUE(codeKeptFocus);
    QTest::qWait(200);
    EXPECT_TRUE(CodeHasFocus());
    EXPECT_EQ(QApplication::activeWindow(), form->Handle());
}
