// The customizing window in design mode: its extra pages and buttons, the category and
// command editing of the Commands page, the add-item dialog, the All commands and Groups
// pages, the add-group-items dialog and the sub-menu editor.
#include "CustomizeFixture.h"
#include "ComCtrls.h"
#include "ListBoxes.h"
#include "TextMetrics.h"
#include "dxBarAddGroupItems.h"
#include "dxBarAllCommandsPage.h"
#include "dxBarCategories.h"
#include "dxBarCheckableButton.h"
#include "dxBarCommandsListBox.h"
#include "dxBarCommandsPage.h"
#include "dxBarDesignCommands.h"
#include "dxBarDesigner.h"
#include "dxBarExtItems.h"
#include "dxBarGroups.h"
#include "dxBarGroupsPage.h"
#include "dxBarItemAddEditor.h"
#include "dxBarItemDrag.h"
#include "dxBarItemLink.h"
#include "dxBarNameEd.h"
#include "dxBarCustomControl.h"
#include "dxBarItems.h"
#include "dxBarPopupMenu.h"
#include "dxBarStrs.h"
#include "dxBarSubMenuControl.h"
#include "dxBarSubMenuEditor.h"

#include <QListWidget>
#include <QTest>

namespace {

// A designer that records what it is told and frees what it is asked to.
struct TRecordingDesigner : TdxBarDefaultDesigner {
    void SelectComponent(TComponent* component) override { log << "select " + (component ? component->Name() : ""); }
    void Modified() override { ++modified; }
    void DeleteComponent(TComponent* component) override
    {
        log << "delete " + component->Name();
        TdxBarDefaultDesigner::DeleteComponent(component);
    }
    QStringList log;
    int modified = 0;
};

class DesignModeTest : public CustomizeTest {
protected:
    void SetUp() override
    {
        CustomizeTest::SetUp();
        dxBarSetDesigner(&designer);
        manager->SetDesigningFlag(true);
        manager->Categories()->Add("File");
        manager->Categories()->Add("Edit");
        open = Add<TdxBarButton>("Open", 1);
        save = Add<TdxBarButton>("Save", 1);
        copy = Add<TdxBarButton>("Copy", 2);
    }
    void TearDown() override
    {
        customizing.reset();
        dxBarSetDesigner(nullptr);
        CustomizeTest::TearDown();
    }
    template <class T>
    T* Add(const QString& name, int category)
    {
        auto* item = Create<T>(form);
        item->SetName(name);
        item->SetCaption(name);
        item->SetCategory(category);
        return item;
    }
    void Open()
    {
        dxBarShowDesignCustomizing(manager);
        ASSERT_NE(Window(), nullptr);
    }
    TdxBarCommandsPage* Commands() const { return Window()->CommandsPage(); }
    TdxBarDesignCommands* Design() const { return Window()->DesignCommands(); }
    template <class P>
    P* PageOf() const
    {
        for (const auto& page : Window()->Pages())
            if (auto* p = dynamic_cast<P*>(page.get())) return p;
        return nullptr;
    }
    QStringList Lines(TListBox* list) const
    {
        QStringList lines;
        for (int i = 0; i < list->Items()->Count(); ++i) lines << list->Items()->Strings(i);
        return lines;
    }
    QStringList ItemNames() const
    {
        QStringList names;
        for (int i = 0; i < manager->ItemCount(); ++i) names << manager->GetItem(i)->Name();
        return names;
    }
    void SelectCategory(int line)
    {
        Window()->LCategories->SetItemIndex(line);
        Commands()->LCategoriesClick(nullptr);
    }
    static std::function<void(TCustomForm&)> Name(const QString& name, QStringList* seen = nullptr)
    {
        return [name, seen](TCustomForm& form) {
            auto& dialog = static_cast<TdxBarNameEd&>(form);
            if (seen) *seen << dialog.Caption() << dialog.LName->Caption();
            dialog.EName->SetText(name);
            dialog.BOK->Click();
        };
    }

    TRecordingDesigner designer;
    TdxBarButton* open = nullptr;
    TdxBarButton* save = nullptr;
    TdxBarButton* copy = nullptr;
};

TEST_F(DesignModeTest, DesignPagesAndModifyButtonsShowOnlyInDesignMode)
{
    manager->SetDesigningFlag(false);
    manager->Customizing(true);
    EXPECT_FALSE(Window()->TabSheet4->TabVisible());
    EXPECT_FALSE(Window()->TabSheet5->TabVisible());
    EXPECT_EQ(Window()->BarManager1, nullptr);
    EXPECT_EQ(Window()->CategoriesModifyButton, nullptr);
    EXPECT_EQ(Window()->CategoriesModifyPlace, nullptr) << "the placeholders go at run time too";
    manager->Customizing(false);
    Flush();

    manager->SetDesigningFlag(true);
    manager->SetStyle(bmsFlat);
    Open();
    EXPECT_TRUE(Window()->TabSheet4->TabVisible());
    EXPECT_TRUE(Window()->TabSheet5->TabVisible());
    EXPECT_FALSE(Window()->BBarReset->Visible());
    for (TCheckableButton* button : {Window()->CategoriesModifyButton, Window()->CommandsModifyButton}) {
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Caption(), "... modify");
        EXPECT_TRUE(button->PopupMenu() == Window()->CategoriesPopupMenu ||
                    button->PopupMenu() == Window()->CommandsPopupMenu);
    }
    ASSERT_NE(Window()->BarManager1, nullptr);
    EXPECT_EQ(Window()->BarManager1->Style(), bmsFlat);
    manager->SetStyle(bmsStandard);
    EXPECT_EQ(Window()->BarManager1->Style(), bmsStandard);
    EXPECT_EQ(Window()->BarManager1->Font()->Name(), manager->Font()->Name());
    // Every category is listed, the hidden ones too.
    EXPECT_EQ(Lines(Window()->LCategories), QStringList({"Default", "File", "Edit"}));
}

TEST_F(DesignModeTest, CategoriesAreAddedInsertedRenamedAndDeleted)
{
    Open();
    QStringList seen;
    SelectCategory(1);
    script.AnswerForm(Name("Tools", &seen));
    Design()->CategoryAdd(nullptr);
    EXPECT_EQ(Lines(Window()->LCategories), QStringList({"Default", "File", "Edit", "Tools"}));
    EXPECT_EQ(Window()->LCategories->ItemIndex(), 3);

    // Insert goes before the selected category; the later categories' items follow.
    SelectCategory(1);
    script.AnswerForm(Name("View", &seen));
    Design()->CategoryInsert(nullptr);
    EXPECT_EQ(Lines(Window()->LCategories), QStringList({"Default", "View", "File", "Edit", "Tools"}));
    EXPECT_EQ(QList<int>({open->Category(), save->Category(), copy->Category()}), QList<int>({2, 2, 3}));
    EXPECT_EQ(Window()->LCategories->ItemIndex(), 1);

    SelectCategory(2);
    script.AnswerForm(Name("Files", &seen));
    Design()->CategoryRename(nullptr);
    EXPECT_EQ(manager->Categories()->Strings(2), "Files");
    EXPECT_EQ(Lines(Commands()->CommandsList()), QStringList({"Open", "Save"}));
    EXPECT_EQ(seen, QStringList({"Add Category", "&Category name:", "Insert Category",
                                 "&Category name:", "Rename Category", "&Category name:"}));

    // Delete asks first; Cancel keeps the category, OK frees it with its items.
    script.AnswerMessage(IDCANCEL);
    Design()->CategoryDelete(nullptr);
    EXPECT_EQ(manager->CategoryCount(), 5);
    script.AnswerMessage(IDOK);
    QPointer<TdxBarButton> guard(open);
    Design()->CategoryDelete(nullptr);
    EXPECT_EQ(Lines(Window()->LCategories), QStringList({"Default", "View", "Edit", "Tools"}));
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(copy->Category(), 2);
    EXPECT_EQ(Window()->LCategories->ItemIndex(), 2);
    const QList<TDialogRecord> boxes = script.Log("MessageBox");
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[1].text, "Are you sure you want to delete the 'Files' category?");

    // With one category left Delete is offered no more.
    while (manager->CategoryCount() > 1) manager->Categories()->Delete(1);
    SelectCategory(0);
    Design()->CategoriesPopup(nullptr);
    EXPECT_FALSE(Design()->CategoryEntry(TdxBarDesignCommands::ceDelete)->Enabled());
    Design()->CategoryDelete(nullptr);
    EXPECT_EQ(script.Log("MessageBox").size(), 2);
}

TEST_F(DesignModeTest, CategoriesMoveByADragInTheirListAndShowTheirVisibility)
{
    Open();
    Window()->PageControl->SetActivePage(Window()->TabSheet2);
    TListBox* categories = Window()->LCategories;
    QWidget* viewport = categories->ListWidget()->viewport();
    // File (line 1) dragged onto Edit (line 2): its items follow it.
    QTest::mousePress(viewport, Qt::LeftButton, {}, categories->ItemRect(1).center());
    QTest::mouseMove(viewport, categories->ItemRect(2).center());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, categories->ItemRect(2).center());
    EXPECT_EQ(Lines(categories), QStringList({"Default", "Edit", "File"}));
    EXPECT_EQ(QList<int>({open->Category(), save->Category(), copy->Category()}), QList<int>({2, 2, 1}));
    EXPECT_EQ(categories->ItemIndex(), 2);
    EXPECT_EQ(Lines(Commands()->CommandsList()), QStringList({"Open", "Save"}));

    // The popup shows the category's visibility; its entries change it.
    manager->SetCategoryVisible(2, false);
    Design()->CategoriesPopup(nullptr);
    EXPECT_FALSE(Design()->CategoryEntry(TdxBarDesignCommands::ceVisible)->Down());
    Design()->CategoryVisible(nullptr);
    EXPECT_TRUE(manager->GetCategoryVisible(2));
    Design()->ItemsVisibleEntry()->SetItemIndex(int(ivNever));
    Design()->CategoryItemsVisible(nullptr);
    EXPECT_EQ(manager->GetCategoryItemsVisible(2), ivNever);
    EXPECT_EQ(open->Visible(), ivNever);
}

TEST_F(DesignModeTest, AddItemProposesAFreeNameAndOffersOnlyPublicClasses)
{
    TdxBarExtItemsScope extended;
    Open();
    SelectCategory(2);
    QStringList proposed;
    int offered = 0;
    auto add = [&](const QString& caption) {
        return [&, caption](TCustomForm& f) {
            auto& dialog = static_cast<TdxBarItemAddEditor&>(f);
            offered = dialog.CBType->Items()->Count();
            dialog.CBType->SetItemIndex(dialog.Classes().indexOf(&TdxBarButton::staticMetaObject));
            dialog.CBTypeChange(nullptr);
            proposed << dialog.EName->Text();
            EXPECT_EQ(dialog.CBCategory->ItemIndex(), 2);
            dialog.ECaption->SetText(caption);
            dialog.BOK->Click();
        };
    };
    script.AnswerForm(add("First"));
    Design()->CommandAdd(nullptr);
    // The registry's public classes only: the library's own kinds are not offered.
    EXPECT_EQ(offered, dxBarGetVisibleItemClassCount());
    EXPECT_LT(offered, dxBarRegisteredItemCount());
    TdxBarItem* first = manager->ItemByName("dxBarButton1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Caption(), "First");
    EXPECT_EQ(first->Category(), 2);
    EXPECT_EQ(first->Owner(), form);
    // The new item is selected on the Commands page.
    EXPECT_EQ(Commands()->CommandsList()->SelectedItem(), first);

    // A component that is no item holding the next name moves the proposal on.
    delete first;
    Create<TEdit>(form)->SetName("dxBarButton1");
    script.AnswerForm(add("Second"));
    Design()->CommandAdd(nullptr);
    EXPECT_EQ(proposed, QStringList({"dxBarButton1", "dxBarButton2"}));
    ASSERT_NE(manager->ItemByName("dxBarButton2"), nullptr);

    // A name that cannot be taken keeps the dialog open with a fresh proposal.
    script.AnswerForm([](TCustomForm& f) {
        auto& dialog = static_cast<TdxBarItemAddEditor&>(f);
        dialog.EName->SetText("Open");
        dialog.BOK->Click();
    });
    QString second;
    script.AnswerForm([&second](TCustomForm& f) {
        second = static_cast<TdxBarItemAddEditor&>(f).EName->Text();
        f.SetModalResult(mrCancel);
    });
    const int items = manager->ItemCount();
    Design()->CommandAdd(nullptr);
    EXPECT_EQ(manager->ItemCount(), items);
    EXPECT_EQ(second, "dxBarButton3");
    EXPECT_EQ(script.Log("MessageBox").size(), 1);
}

TEST_F(DesignModeTest, CommandsAreClearedAndMovedInTheManagersOrder)
{
    Open();
    SelectCategory(1);
    TCommandsListBox* list = Commands()->CommandsList();
    list->SetItemIndex(1);
    Design()->CommandMoveUp(nullptr);
    EXPECT_EQ(ItemNames(), QStringList({"Save", "Open", "Copy"}));
    EXPECT_EQ(Lines(list), QStringList({"Save", "Open"}));
    EXPECT_EQ(list->SelectedItem(), save);

    // Ctrl+Down and Ctrl+Up in the list move it too.
    QTest::keyClick(list->ListWidget(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(ItemNames(), QStringList({"Open", "Save", "Copy"}));
    EXPECT_EQ(list->SelectedItem(), save);
    QTest::keyClick(list->ListWidget(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(ItemNames(), QStringList({"Save", "Open", "Copy"}));

    Design()->CommandsPopup(nullptr);
    EXPECT_FALSE(Design()->CommandEntry(TdxBarDesignCommands::cmMoveUp)->Enabled());
    EXPECT_TRUE(Design()->CommandEntry(TdxBarDesignCommands::cmMoveDown)->Enabled());
    EXPECT_FALSE(Design()->CommandEntry(TdxBarDesignCommands::cmSubMenuEditor)->Enabled());

    // Delete goes through the designer; the list keeps the line.
    Design()->CommandDelete(nullptr);
    EXPECT_EQ(designer.log.last(), "delete Save");
    EXPECT_EQ(list->SelectedItem(), open);

    script.AnswerMessage(IDOK);
    Design()->CommandClear(nullptr);
    EXPECT_EQ(ItemNames(), QStringList({"Copy"}));
    ASSERT_EQ(script.Log("MessageBox").size(), 1);
    EXPECT_EQ(script.Log("MessageBox")[0].text, "Are you sure you want to delete all commands in the 'File' category?");
    EXPECT_EQ(list->Items()->Count(), 0);
}

TEST_F(DesignModeTest, AllCommandsListsTheCategorizedItemsInColumns)
{
    open->SetShortCut(ShortCut('O', {ssCtrl}));
    Add<TdxBarSubItem>("Recent", 1);
    Open();
    Window()->PageControl->SetActivePage(Window()->TabSheet4);
    Window()->PageControlChange(nullptr);
    auto* page = PageOf<TdxBarAllCommandsPage>();
    TListBox* list = page->List();
    EXPECT_EQ(Lines(list), QStringList({"Open", "Save", "Copy", "Recent"}));
    const QFont font = list->Font()->ToQFont();
    const TdxBarAllCommandsColumns& columns = page->Columns();
    EXPECT_EQ(columns.Name, TextExtent(font, "Recent").width());
    EXPECT_EQ(columns.ShortCut, TextExtent(font, "Ctrl+O").width());
    EXPECT_EQ(list->ScrollWidth(), columns.Name + columns.Caption + columns.ShortCut + 30);

    // Choosing a line selects the item in the designer; the box keeps items with shortcuts.
    list->SetItemIndex(2);
    QTest::mouseClick(list->ListWidget()->viewport(), Qt::LeftButton, {}, list->ItemRect(2).center());
    EXPECT_EQ(designer.log.last(), "select Copy");
    Window()->CBShowCommandsWithShortCut->SetChecked(true);
    EXPECT_EQ(Lines(list), QStringList({"Open", "Save", "Copy"}));
    EXPECT_EQ(list->ItemIndex(), 2) << "the selected line stays";
    delete save;
    EXPECT_EQ(Lines(list), QStringList({"Open", "Copy"}));
}

TEST_F(DesignModeTest, GroupsAreMadeFilledAndOrdered)
{
    Open();
    auto* page = PageOf<TdxBarGroupsPage>();
    page->btnGroupAddClick(nullptr);
    EXPECT_EQ(Lines(Window()->lbGroups), QStringList({"dxBarGroup1"}));
    TdxBarGroup* first = manager->GetGroup(0);
    EXPECT_EQ(designer.log.last(), "select dxBarGroup1");

    // With one group the dialog offers no groups.
    QStringList dialogLines;
    auto choose = [&dialogLines](QStringList names) {
        return [&dialogLines, names](TCustomForm& f) {
            auto& dialog = static_cast<TfrmAddGroupItems&>(f);
            dialogLines = QStringList();
            for (int i = 0; i < dialog.lbGroupItems->Items()->Count(); ++i) {
                const QString line = dialog.lbGroupItems->Items()->Strings(i);
                dialogLines << line;
                if (names.contains(line)) dialog.lbGroupItems->SetSelected(i, true);
            }
            dialog.BOK->Click();
        };
    };
    script.AnswerForm(choose({"Open", "Save", "Copy"}));
    page->btnGroupItemAddClick(nullptr);
    EXPECT_EQ(dialogLines, QStringList({"~File", "Open", "Save", "~Edit", "Copy"}));
    EXPECT_EQ(Lines(Window()->lbGroupItems), QStringList({"Open", "Save", "Copy"}));

    // Moving a scattered selection up packs it one place above its first member.
    Window()->lbGroupItems->SetItemIndex(-1);
    Window()->lbGroupItems->SetSelected(1, true);
    Window()->lbGroupItems->SetSelected(2, true);
    page->SetMembersFocused(true);
    EXPECT_TRUE(Window()->btnMoveUp->Enabled());
    page->btnMoveUpClick(nullptr);
    EXPECT_EQ(Lines(Window()->lbGroupItems), QStringList({"Save", "Copy", "Open"}));
    EXPECT_TRUE(Window()->lbGroupItems->Selected(0) && Window()->lbGroupItems->Selected(1));
    EXPECT_FALSE(Window()->btnMoveUp->Enabled()) << "packed at the top";

    // A second group holding the first may not join it: nothing of the choice is added.
    page->btnGroupAddClick(nullptr);
    TdxBarGroup* second = manager->GetGroup(1);
    EXPECT_EQ(second->Name(), "dxBarGroup2");
    second->Add(first);
    Window()->lbGroups->SetItemIndex(0);
    page->Refresh();
    script.AnswerForm(choose({"dxBarGroup2"}));
    page->btnGroupItemAddClick(nullptr);
    EXPECT_EQ(dialogLines.mid(0, 2), QStringList({"~< Groups >", "dxBarGroup2"}));
    EXPECT_EQ(first->Count(), 3);
    ASSERT_EQ(script.Log("MessageBox").size(), 1);
    EXPECT_EQ(script.Log("MessageBox")[0].text, "You cannot create recursive groups");

    // Delete frees the group and selects the one now on its line.
    page->btnGroupDeleteClick(nullptr);
    EXPECT_EQ(Lines(Window()->lbGroups), QStringList({"dxBarGroup2"}));
    EXPECT_EQ(Window()->lbGroups->ItemIndex(), 0);
}

TEST_F(DesignModeTest, SubMenuEditorGoesWithItsSubItemAndWithCustomizing)
{
    auto* sub = Add<TdxBarSubItem>("Recent", 1);
    sub->ItemLinks()->Add()->SetItem(open);
    Open();
    QPointer<TdxBarSubMenuEditor> editor = dxBarShowSubMenuEditor(sub->ItemLinks());
    ASSERT_FALSE(editor.isNull());
    EXPECT_EQ(Window()->PageControl->ActivePage(), Window()->TabSheet2);
    ASSERT_NE(editor->Menu(), nullptr);
    QPointer<QWidget> menu = editor->Menu()->Handle();
    EXPECT_EQ(editor->Handle()->width(), menu->width());
    EXPECT_EQ(menu->geometry().top(), editor->Handle()->frameGeometry().bottom() + 1);
    // Closed, the menu shows again when an item is dragged over the editor.
    qobject_cast<TdxBarSubMenuControl*>(editor->Menu())->Close();
    ASSERT_EQ(editor->Menu(), nullptr);
    {
        TdxBarItemDrag drag(manager, copy, nullptr, QPoint(0, 0), false);
        drag.Move(editor->Handle()->frameGeometry().center());
        EXPECT_NE(editor->Menu(), nullptr);
        drag.Cancel();
    }
    menu = editor->Menu()->Handle();
    delete sub;
    EXPECT_TRUE(editor.isNull());
    Flush();
    EXPECT_TRUE(menu.isNull() || !menu->isVisible());

    auto* other = Add<TdxBarSubItem>("Other", 1);
    editor = dxBarShowSubMenuEditor(other->ItemLinks());
    manager->Customizing(false);
    EXPECT_TRUE(editor.isNull());
}

TEST_F(DesignModeTest, ANewItemDraggedOntoTheCategoriesListTakesTheCategoryUnderIt)
{
    Open();
    Window()->PageControl->SetActivePage(Window()->TabSheet2);
    SelectCategory(1);
    TListBox* categories = Window()->LCategories;
    QWidget* viewport = categories->ListWidget()->viewport();
    auto line = [&](int index) { return viewport->mapToGlobal(categories->ItemRect(index).center()); };
    {
        TdxBarItemDrag drag(manager, open, nullptr, line(1), false);
        drag.Move(line(2));
        EXPECT_EQ(categories->ItemIndex(), 2);
        EXPECT_EQ(drag.Cursor(), crdxBarDrag);
        // Below the lines the item's own category shows; leaving the list keeps it.
        drag.Move(viewport->mapToGlobal(QPoint(5, viewport->height() - 3)));
        EXPECT_EQ(categories->ItemIndex(), 1);
        EXPECT_EQ(drag.Cursor(), crdxBarDragNoDrop);
        drag.Move(line(0));
        drag.Move(viewport->mapToGlobal(QPoint(-300, -300)));
        EXPECT_EQ(categories->ItemIndex(), 1);
        // A cancelled drag changes nothing.
        drag.Move(line(2));
        drag.Cancel();
        EXPECT_EQ(open->Category(), 1);
        EXPECT_EQ(categories->ItemIndex(), 1);
    }
    TdxBarItemDrag drag(manager, open, nullptr, line(1), false);
    drag.Move(line(2));
    drag.Drop();
    EXPECT_EQ(open->Category(), 2);
    EXPECT_EQ(ItemNames(), QStringList({"Save", "Copy", "Open"}));
    EXPECT_EQ(Commands()->CommandsList()->SelectedItem(), open);
}

}  // namespace
