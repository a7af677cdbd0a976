// The editor's menu bar: titles open their menus by mouse and by keyboard, a menu command
// runs and the code pane keeps the focus.
#include "CommandsFixture.h"
#include "dxBarBar.h"
#include "dxBarControl.h"
#include "dxBarSubItemControl.h"
#include "dxBarSubMenuControl.h"
#include "dxBarWindowsLibrary.h"

#include <QTest>
#include <QWindow>
#include <memory>

namespace {

class EditorMenusTest : public BarWindowsCommandsTest {
protected:
    void SetUp() override
    {
        BarWindowsCommandsTest::SetUp();
        TdxBar* mainMenu = form->BarManager->MainMenuBar();
        ASSERT_NE(mainMenu, nullptr);
        menuBar = qobject_cast<TdxBarControl*>(mainMenu->ItemLinks()->BarControl());
        ASSERT_NE(menuBar, nullptr);
    }
    void TearDown() override
    {
        if (menuBar) menuBar->HideAll();
        BarWindowsCommandsTest::TearDown();
    }
    TdxBarItemLink* Title(const QString& name)
    {
        TdxBarItemLinks* links = menuBar->ItemLinks();
        for (int i = 0; i < links->Count(); ++i)
            if (links->Items(i)->Item() && links->Items(i)->Item()->Name() == name) return links->Items(i);
        return nullptr;
    }
    static TdxBarItemLink* Row(TdxBarSubMenuControl* menu, const QString& name)
    {
        for (TdxBarItemLink* link : menu->ItemLinks()->VisibleItems())
            if (link->Item() && link->Item()->Name() == name) return link;
        return nullptr;
    }

    // Opens a title's menu by a click, as a person does.
    TdxBarSubMenuControl* OpenTitle(const QString& name)
    {
        TdxBarItemLink* title = Title(name);
        if (!title) return nullptr;
        const TPoint at = title->ItemRect().center();
        menuBar->MouseMove(at, {});
        menuBar->LButtonDown(at, {});
        menuBar->LButtonUp(at, {});
        return dxBarActiveMenu();
    }

    QPointer<TdxBarControl> menuBar;
};

TEST_F(EditorMenusTest, TheFileTitleOpensItsMenuAndNewRunsFromIt)
{
    TdxBarSubMenuControl* menu = OpenTitle("miFile");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->Visible());
    TdxBarItemLink* newRow = Row(menu, "btNew");
    ASSERT_NE(newRow, nullptr);
    const TPoint row = newRow->ItemRect().center();
    menu->MouseMove(row, {});
    menu->LButtonDown(row, {});
    menu->LButtonUp(row, {});
    EXPECT_FALSE(dxBarMenuChainActive());
    EXPECT_TRUE(form->mmHTMLCode->Text().startsWith("<!DOCTYPE HTML"));
    EXPECT_TRUE(form->mmHTMLCode->Focused());
}

TEST_F(EditorMenusTest, AltFOpensTheFileMenuAndEscClosesItWithTheFocusKept)
{
    QTest::keyClick(form->Handle()->windowHandle(), Qt::Key_F, Qt::AltModifier);
    TdxBarSubMenuControl* menu = dxBarActiveMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(menu->SelectedControl(), nullptr);
    QTest::keyClick(form->Handle()->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(dxBarMenuChainActive());
    QTest::keyClick(form->Handle()->windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(form->mmHTMLCode->Focused());
}

}  // namespace

TEST_F(EditorMenusTest, TheWidestFileRowKeepsAGapBetweenItsCaptionAndItsShortcut)
{
    TdxBarSubMenuControl* menu = OpenTitle("miFile");
    ASSERT_NE(menu, nullptr);
    TdxBarItemLink* widest = nullptr;
    for (TdxBarItemLink* link : menu->ItemLinks()->VisibleItems())
        if (!widest || link->Control()->GetWidthForBar() > widest->Control()->GetWidthForBar()) widest = link;
    ASSERT_NE(widest->Item()->ShortCut(), 0);
    // The text columns of the row as painted: from the caption's start to the right edge.
    const QImage image = menu->Snapshot();
    const QRect row = widest->ItemRect().translated(menu->ClientBounds().Left, menu->ClientBounds().Top);
    const int captionLeft = row.left() + widest->Control()->GetCaptionOffset();
    std::vector<bool> ink;
    for (int x = captionLeft; x <= row.right(); ++x) {
        bool any = false;
        for (int y = row.top() + 2; y < row.bottom() - 1 && !any; ++y) any = qGray(image.pixel(x, y)) < 128;
        ink.push_back(any);
    }
    // The widest blank run between the first and the last ink is the caption-to-shortcut gap:
    // blanks between words are narrower.
    const auto first = std::find(ink.begin(), ink.end(), true);
    const auto last = std::find(ink.rbegin(), ink.rend(), true).base();
    int gap = 0, run = 0;
    for (auto it = first; it < last; ++it) {
        run = *it ? 0 : run + 1;
        gap = std::max(gap, run);
    }
    EXPECT_GE(gap, menu->MenuItemHeight() - 10) << widest->Caption().toStdString();
}
