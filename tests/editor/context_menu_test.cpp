// A right click anywhere on the editor's window shows at most one menu: the text fields and
// the preview their own, the docks and bars the list of toolbars.
#include "CommandsFixture.h"
#include "WebBrowser.h"
#include "dxBarCustomControl.h"
#include "dxBarEditControls.h"
#include "dxBarBar.h"
#include "dxBarItemLink.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QWebEngineView>

using testsupport::WaitFor;

namespace {

class ContextMenuTest : public BarWindowsCommandsTest {
protected:
    // The menus showing: Qt's own, and the bar library's menu windows.
    static QStringList Menus()
    {
        QStringList out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* menu = qobject_cast<QMenu*>(w); menu && menu->isVisible()) out << "qt";
        for (TCustomdxBarControl* window : dxBarLiveBarControls())
            if (window->IsMenu() && window->Handle() && window->Handle()->isVisible()) out << "bars";
        return out;
    }
    static void CloseMenus()
    {
        while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMenu*>(w)) w->close();
        if (TCustomdxBarControl* active = dxBarActiveBarControl()) active->HideAll();
        QApplication::processEvents();
    }
    // A right click at a point of a widget, given to the window as the window system would;
    // the menus that show (the preview's comes from its renderer, a little later).
    static QStringList RightClick(QWidget* widget, const QPoint& local)
    {
        QWidget* top = widget->window();
        const QPoint at = widget->mapTo(top, local);
        QTest::mousePress(top->windowHandle(), Qt::RightButton, {}, at);
        QTest::mouseRelease(top->windowHandle(), Qt::RightButton, {}, at);
        WaitFor([] { return !Menus().isEmpty(); }, 15000);
        QTest::qWait(200);
        const QStringList menus = Menus();
        CloseMenus();
        return menus;
    }
};

}  // namespace

TEST_F(ContextMenuTest, ARightClickShowsOneMenuOnTheCodeThePathItemAndItsEditorADockAndThePreview)
{
    QPlainTextEdit* code = qobject_cast<QPlainTextEdit*>(form->mmHTMLCode->Handle());
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(RightClick(code->viewport(), {40, 40}), QStringList({"qt"})) << "code";

    TdxBarItemLinks* pathLinks = form->BarManager->Bars()->Items(2)->ItemLinks();
    TdxBarItemLink* pathLink = pathLinks->Items(0);
    TCustomdxBarControl* pathBar = pathLinks->BarControl();
    ASSERT_NE(pathBar, nullptr);
    EXPECT_EQ(RightClick(pathBar->Handle(), pathLink->ItemRect().center()), QStringList({"bars"})) << "path item";
    // While the path is edited the bar still takes the right button.
    auto* control = dynamic_cast<TdxBarWinControl*>(pathLink->Control());
    ASSERT_NE(control, nullptr);
    control->Click(true);
    ASSERT_TRUE(control->Editor() && control->Editor()->isVisible());
    EXPECT_EQ(RightClick(control->Editor(), {5, 5}), QStringList({"bars"})) << "path editor";

    EXPECT_EQ(RightClick(form->DockControl1->Handle(), {form->DockControl1->Handle()->width() - 3, 3}),
              QStringList({"bars"}))
        << "dock";

    QWebEngineView* view = form->WebBrowser->View();
    ASSERT_NE(view, nullptr);
    QWidget* target = view->focusProxy() ? view->focusProxy() : view;
    // The renderer drops input that comes before it is ready for it, which on a busy machine
    // can be a while after the page has loaded: the click is given again until a menu shows.
    QStringList previewMenus;
    for (int attempt = 0; attempt < 4 && previewMenus.isEmpty(); ++attempt) previewMenus = RightClick(target, {40, 40});
    EXPECT_EQ(previewMenus, QStringList({"qt"})) << "preview";
}
