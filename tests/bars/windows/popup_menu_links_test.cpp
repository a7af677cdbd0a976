// Popup-menu links: a right-button release over a linked control opens its popup menu at the
// pointer; the link's handler may move or refuse it; a freed control or menu is forgotten.
#include "MenuWindowFixture.h"
#include "dxBarPopupMenu.h"
#include "dxBarPopupMenuLinks.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

class TActionRecorder : public QObject {
public:
    void Action(TdxBarPopupMenuLink* link, int& x, int& y, bool byMouse, bool& allow)
    {
        calls << QString("%1,%2 %3 %4").arg(x).arg(y).arg(byMouse ? "mouse" : "key").arg(allow ? "allow" : "refuse");
        if (onAction) onAction(link, x, y, allow);
    }
    QStringList calls;
    std::function<void(TdxBarPopupMenuLink*, int&, int&, bool&)> onAction;
};

}  // namespace

class PopupMenuLinkTest : public MenuWindowTest {
protected:
    void SetUp() override
    {
        MenuWindowTest::SetUp();
        QWidget* w = form->Handle();
        w->setGeometry(100, 100, 500, 300);
        panel = new TWinControl(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(20, 40, 200, 100);
        inner = new QLineEdit(panel->Handle());
        inner->setGeometry(10, 10, 100, 24);
        popup = MakePopup("Cut");
    }
    void TearDown() override
    {
        TWindow::SetWindowFromPointFunction({});
        MenuWindowTest::TearDown();
    }

    TdxBarPopupMenu* MakePopup(const QString& caption)
    {
        auto* menu = Create<TdxBarPopupMenu>(form.get());
        auto* button = Create<TdxBarButton>(form.get());
        button->SetCaption(caption);
        button->SetOnClick(TNotifyEvent(&recorder, &TClickRecorder::Click));
        menu->ItemLinks()->Add()->SetItem(button);
        return menu;
    }
    TdxBarPopupMenuLink* AddLink(TWinControl* control, TdxBarPopupMenu* menu)
    {
        TdxBarPopupMenuLink* link = manager->PopupMenuLinks()->Add();
        link->SetControl(control);
        link->SetPopupMenu(menu);
        return link;
    }
    void ShowForm()
    {
        QWidget* w = form->Handle();
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    }
    // A real right click at a point of the form over widget; the open menu's row 0 is
    // clicked, and where it stood (screen) is recorded.
    void RightClick(QWidget* under, const QPoint& formPoint)
    {
        TWindow::SetWindowFromPointFunction([under](const TPoint&) -> QWidget* { return under; });
        QTimer::singleShot(0, [this] {
            if (TdxBarSubMenuControl* menu = dxBarActiveMenu()) {
                menuAt << menu->WindowRect().TopLeft();
                ClickRow(menu, 0);
            }
        });
        QTest::mouseClick(form->Handle()->windowHandle(), Qt::RightButton, {}, formPoint);
    }

    TWinControl* panel = nullptr;
    QLineEdit* inner = nullptr;
    TdxBarPopupMenu* popup = nullptr;
    QList<TPoint> menuAt;
    TActionRecorder actions;
};

TEST_F(PopupMenuLinkTest, ARightClickInsideTheLinkedControlOpensItsMenuAtThePointerEveryTime)
{
    AddLink(panel, popup);
    ShowForm();
    const QPoint formPoint(20 + 10 + 5, 40 + 10 + 5);
    const QPoint screen = form->Handle()->mapToGlobal(formPoint);
    RightClick(inner, formPoint);
    ASSERT_EQ(menuAt.size(), 1);
    EXPECT_EQ(menuAt[0], TPoint(screen.x(), screen.y()));
    EXPECT_EQ(clicks, QStringList{"Cut"});
    EXPECT_FALSE(dxBarMenuChainActive());
    // The link stays for the next click; the window clicked took the focus.
    EXPECT_TRUE(inner->hasFocus());
    RightClick(panel->Handle(), QPoint(200, 120));
    EXPECT_EQ(clicks, (QStringList{"Cut", "Cut"}));

    // Elsewhere on the form there is no link: no menu.
    RightClick(form->Handle(), QPoint(400, 250));
    EXPECT_EQ(menuAt.size(), 2);
}

TEST_F(PopupMenuLinkTest, TheActionHandlerSeesControlPointsAndMayMoveOrRefuseTheMenu)
{
    TdxBarPopupMenuLink* link = AddLink(panel, popup);
    link->OnAction = TdxBarPopupMenuLinkActionEvent(&actions, &TActionRecorder::Action);
    actions.onAction = [](TdxBarPopupMenuLink*, int& x, int& y, bool&) {
        x = 0;
        y = 0;
    };
    ShowForm();
    const QPoint panelOrigin = panel->Handle()->mapToGlobal(QPoint(0, 0));
    RightClick(inner, QPoint(20 + 10 + 5, 40 + 10 + 6));
    EXPECT_EQ(actions.calls, QStringList{"15,16 mouse allow"});
    ASSERT_EQ(menuAt.size(), 1);
    EXPECT_EQ(menuAt[0], TPoint(panelOrigin.x(), panelOrigin.y()));

    // Refused: no menu, and the release is not eaten as a shown popup.
    actions.onAction = [](TdxBarPopupMenuLink*, int&, int&, bool& allow) { allow = false; };
    EXPECT_FALSE(manager->PopupMenuLinks()->ShowPopupFor(panel->Handle(), TPoint(-1, -1)));
    EXPECT_EQ(actions.calls.last(), "0,0 key allow");
    EXPECT_EQ(menuAt.size(), 1);

    // A link without a menu offers refusal first; the handler may allow nothing then.
    link->SetPopupMenu(nullptr);
    actions.onAction = {};
    EXPECT_FALSE(manager->PopupMenuLinks()->ShowPopupFor(panel->Handle(), TPoint(-1, -1)));
    EXPECT_EQ(actions.calls.last(), "0,0 key refuse");
}

TEST_F(PopupMenuLinkTest, LinksOfOneControlAreTriedInOrderUntilOneShowsAMenu)
{
    AddLink(panel, nullptr);
    AddLink(panel, MakePopup("Paste"));
    ShowForm();
    RightClick(panel->Handle(), QPoint(30, 50));
    EXPECT_EQ(clicks, QStringList{"Paste"});
}

TEST_F(PopupMenuLinkTest, ControlsOfOtherFormsAreRefusedAndFreedEndsAreForgotten)
{
    TForm other(nullptr);
    auto* foreign = new TWinControl(&other);
    foreign->SetParent(&other);
    TdxBarPopupMenuLink* link = AddLink(foreign, popup);
    EXPECT_EQ(link->Control(), nullptr);
    // Not yet on any form: refused too.
    auto* loose = new TWinControl(form.get());
    link->SetControl(loose);
    EXPECT_EQ(link->Control(), nullptr);

    link->SetControl(panel);
    TdxBarPopupMenuLink* copy = manager->PopupMenuLinks()->Add();
    copy->Assign(link);
    EXPECT_EQ(copy->Control(), panel);
    EXPECT_EQ(copy->PopupMenu(), popup);

    delete popup;
    EXPECT_EQ(link->PopupMenu(), nullptr);
    EXPECT_EQ(manager->PopupMenuLinks()->Count(), 2);
    EXPECT_FALSE(manager->PopupMenuLinks()->ShowPopupFor(inner, TPoint(-1, -1)));
    delete panel;
    EXPECT_EQ(link->Control(), nullptr);
    EXPECT_EQ(copy->Control(), nullptr);
    ShowForm();
    RightClick(form->Handle(), QPoint(30, 50));
    EXPECT_TRUE(clicks.isEmpty());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(PopupMenuLinkTest, NothingOpensAtDesignTime)
{
    AddLink(panel, popup);
    manager->SetDesigningFlag(true);
    EXPECT_FALSE(manager->PopupMenuLinks()->ShowPopupFor(inner, TPoint(-1, -1)));
    manager->SetDesigningFlag(false);
    EXPECT_TRUE(clicks.isEmpty());
}
