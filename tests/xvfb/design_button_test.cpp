// The design-mode customizing window under a real X server: the "... modify" button's
// closing click closes its menu and does not open it again.
#include "RealInput.h"
#include "TestSupport.h"
#include "dxBarCheckableButton.h"
#include "dxBarCustomizing.h"
#include "dxBarCustomizingForm.h"
#include "dxBarManager.h"
#include "dxBarPopupMenu.h"
#include "dxBarRegistry.h"
#include "dxBarWindowsLibrary.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

struct TCloseCounter : QObject {
    void Closed(TObject*) { ++closes; }
    int closes = 0;
};

TEST(DesignButtonTest, TheClickThatClosesTheMenuDoesNotOpenItAgain)
{
    dxBarInitialize();
    {
        auto library = std::make_unique<TdxBarWindowsLibrary>();
        TdxBarCustomizing customizing;
        auto form = std::make_unique<TForm>(nullptr);
        form->SetBounds(100, 100, 400, 300);
        auto* manager = new TdxBarManager(form.get());
        manager->SetDesigningFlag(true);
        form->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Handle()));
        dxBarShowDesignCustomizing(manager);
        TdxBarCustomizingForm* window = customizing.Window();
        ASSERT_NE(window, nullptr);
        window->PageControl->SetActivePage(window->TabSheet2);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window->Handle()));
        TCheckableButton* button = window->CategoriesModifyButton;
        TdxBarPopupMenu* menu = window->CategoriesPopupMenu;
        ASSERT_TRUE(button && menu);
        TCloseCounter counter;
        menu->OnCloseUp = TNotifyEvent(&counter, &TCloseCounter::Closed);
        const QPoint centre = button->Handle()->mapToGlobal(button->Handle()->rect().center());

        bool opened = false, reopened = false;
        QTimer::singleShot(1000, [&] {
            opened = menu->IsShown() && button->Down();
            // The pointer rests on the button: the click runs beside the open menu's loop.
            QProcess::startDetached("xdotool", {"click", "1"});
        });
        QTimer::singleShot(3000, [&] {
            reopened = menu->IsShown();
            if (reopened) QProcess::startDetached("xdotool", {"key", "Escape"});
        });
        ASSERT_TRUE(ClickAt(centre));
        QTest::qWait(4000);
        EXPECT_TRUE(opened);
        EXPECT_FALSE(reopened);
        EXPECT_EQ(counter.closes, 1);
        EXPECT_FALSE(button->Down());

        // The next click opens it again (the pointer is still on the button).
        opened = false;
        ASSERT_TRUE(XDoTool({"click", "1"}));
        QTimer::singleShot(1000, [&] {
            opened = menu->IsShown();
            QProcess::startDetached("xdotool", {"key", "Escape"});
        });
        QTest::qWait(2500);
        EXPECT_TRUE(opened);
        EXPECT_EQ(counter.closes, 2);
        manager->Customizing(false);
        form.reset();
    }
    dxBarFinalize();
}

}  // namespace
